/* A host in C linked through the installed header and import library.
 *   host present   the current directory or velmo.dll's folder holds bitmap/: every
 *                  lookup finds its bitmap
 *   host absent    neither does: every lookup is null, and the library works on
 * It uses no C runtime, so that it also builds the way MSVC-built hosts link
 * (HOST_NO_C_RUNTIME: its own entry point, system import libraries only).
 * Exit status 0 when the library answered as expected, else the sum of the
 * failed checks' values below; 128 for a wrong command line. */
#include <velmo.h>

enum HostCheck {
    classesFailed = 1,         /* the nine classes under the executable's module handle */
    procedureFailed = 2,       /* the imported buttonWindowProcedure is the class's procedure */
    commandFailed = 4,         /* a press and release reach the parent as WM_COMMAND */
    dataFailed = 8,            /* controlBitmaps and mainFont through the data exports */
    bitmapsFailed = 16,        /* getControlBitmap finds the theme, or nothing without it */
    listFailed = 32,           /* newList, addToList, removeFromList, deleteList */
    usageFailed = 128
};

static const char* const classNames[] = {
    VELMO_WINDOW_CLASSA, VELMO_BUTTON_CLASSA, VELMO_TAB_MENU_CLASSA, VELMO_LINK_CLASSA, VELMO_FRAME_CLASSA,
    VELMO_LIST_CLASSA, VELMO_TABLE_CLASSA, VELMO_STATIC_CLASSA, VELMO_EDIT_CLASSA,
};

static const char* const themeNames[][2] = {
    {"button", "buttonLeft"}, {"button", "buttonMiddle"}, {"button", "buttonRight"},
    {"button", "buttonLeftPressed"}, {"button", "buttonMiddlePressed"}, {"button", "buttonRightPressed"},
    {"tab", "tabLeft"}, {"tab", "tabMiddle"}, {"tab", "tabRight"},
    {"tab", "tabPressedLeft"}, {"tab", "tabPressedMiddle"}, {"tab", "tabPressedRight"},
    {"link", "link"}, {"frame", "frameLeft"}, {"frame", "frameMiddle"}, {"frame", "frameRight"},
    {"list", "list"},
};

static const int classCount = sizeof classNames / sizeof classNames[0];
static const int themeCount = sizeof themeNames / sizeof themeNames[0];
static const char hostClass[] = "VelmoHostParent";
static const int parentSize = 200;
static const int buttonWidth = 80;
static const int buttonHeight = 34;
static const int buttonIdentifier = 1234;
static const char buttonCaption[] = "OK";

static int commandCount;
static WPARAM lastCommand;

static void say(const char* text) {
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, (DWORD)lstrlenA(text), &written, NULL);
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "\n", 1, &written, NULL);
}

/* Fails the check with a line that says why. */
static int fail(int check, const char* why) {
    say(why);
    return check;
}

static int checkClasses(void) {
    WNDCLASSEXA record;
    int i;
    for (i = 0; i < classCount; i++) {
        record.cbSize = sizeof record;
        if (!GetClassInfoExA(GetModuleHandleA(NULL), classNames[i], &record)) {
            return fail(classesFailed, classNames[i]);
        }
    }
    return 0;
}

/* A stdcall window procedure taken and called through its decorated import. */
static int checkProcedure(void) {
    WNDCLASSEXA record;
    HWND button;
    LRESULT length;
    record.cbSize = sizeof record;
    if (!GetClassInfoExA(GetModuleHandleA(NULL), VELMO_BUTTON_CLASSA, &record) ||
        record.lpfnWndProc != buttonWindowProcedure) {
        return fail(procedureFailed, "buttonWindowProcedure is not the VelmoButton class's procedure");
    }
    button = CreateWindowExA(0, VELMO_BUTTON_CLASSA, buttonCaption, WS_POPUP, 0, 0, buttonWidth, buttonHeight, NULL,
                             NULL, GetModuleHandleA(NULL), NULL);
    if (button == NULL) {
        return fail(procedureFailed, "no VelmoButton window");
    }
    length = CallWindowProcA(buttonWindowProcedure, button, WM_GETTEXTLENGTH, 0, 0);
    DestroyWindow(button);
    return length == lstrlenA(buttonCaption) ? 0 : fail(procedureFailed, "buttonWindowProcedure answered wrongly");
}

static LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        commandCount++;
        lastCommand = wParam;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static void pumpMessages(void) {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

static int checkCommand(void) {
    WNDCLASSA record;
    HWND parent;
    HWND button;
    int result = 0;
    record.style = 0;
    record.lpfnWndProc = parentProcedure;
    record.cbClsExtra = 0;
    record.cbWndExtra = 0;
    record.hInstance = GetModuleHandleA(NULL);
    record.hIcon = NULL;
    record.hCursor = NULL;
    record.hbrBackground = NULL;
    record.lpszMenuName = NULL;
    record.lpszClassName = hostClass;
    if (!RegisterClassA(&record)) {
        return fail(commandFailed, "the host's parent class was refused");
    }
    parent = CreateWindowExA(0, hostClass, "host", WS_OVERLAPPEDWINDOW, 0, 0, parentSize, parentSize, NULL, NULL,
                             GetModuleHandleA(NULL), NULL);
    /* The class name in the host's own width: wide where it defines UNICODE. */
    button = CreateWindowEx(0, VELMO_BUTTON_CLASS, TEXT("OK"), WS_CHILD | WS_VISIBLE, 0, 0, buttonWidth, buttonHeight,
                            parent, (HMENU)(INT_PTR)buttonIdentifier, GetModuleHandleA(NULL), NULL);
    if (parent == NULL || button == NULL) {
        result = fail(commandFailed, "no parent window holding a VelmoButton");
    } else {
        SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(buttonWidth / 2, buttonHeight / 2));
        SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(buttonWidth / 2, buttonHeight / 2));
        pumpMessages();
        if (commandCount != 1 || lastCommand != (WPARAM)buttonIdentifier) {
            result = fail(commandFailed, "the click didn't reach the parent as one WM_COMMAND with the identifier");
        }
    }
    if (parent != NULL) {
        DestroyWindow(parent);
    }
    return result;
}

/* The exported data, read through the import table. */
static int checkData(void) {
    HFONT font = getMainFont();
    if (controlBitmaps == NULL) {
        return fail(dataFailed, "controlBitmaps is null");
    }
    return font != NULL && mainFont == font ? 0 : fail(dataFailed, "mainFont doesn't hold the shared font");
}

static int checkBitmaps(int expectPresent) {
    int i;
    for (i = 0; i < themeCount; i++) {
        HBITMAP bitmap = getControlBitmap(themeNames[i][0], themeNames[i][1]);
        if ((bitmap != NULL) != expectPresent) {
            return fail(bitmapsFailed, themeNames[i][1]);
        }
    }
    return 0;
}

static int releaseCount;

static void countRelease(void* data) {
    (void)data;
    releaseCount++;
}

/* Three items, the middle one removed: the others stay, in order. */
static int checkList(void) {
    static char items[3];
    ListItem* head = newList();
    ListItem* second;
    int kept;
    int i;
    for (i = 0; head != NULL && i < 3; i++) {
        if (addToList(head, &items[i]) == NULL) {
            deleteList(head);
            head = NULL;
        }
    }
    if (head == NULL) {
        return fail(listFailed, "no list of three items");
    }
    head = removeFromList(head, 1, countRelease);
    second = head->next;
    kept = head->data == &items[0] && second != NULL && second->data == &items[2] && second->next == NULL &&
           releaseCount == 1;
    if (second != NULL) {
        deleteList(second);
    }
    deleteList(head);
    return kept ? 0 : fail(listFailed, "removeFromList didn't take the middle item out");
}

/* The last word of the command line. */
static const char* modeArgument(void) {
    const char* line = GetCommandLineA();
    const char* word = line;
    for (; *line != '\0'; line++) {
        if (*line == ' ') {
            word = line + 1;
        }
    }
    return word;
}

static int runHost(void) {
    const char* mode = modeArgument();
    int present = lstrcmpA(mode, "present") == 0;
    if (!present && lstrcmpA(mode, "absent") != 0) {
        return fail(usageFailed, "usage: host present|absent");
    }
    return checkClasses() | checkProcedure() | checkCommand() | checkData() | checkBitmaps(present) | checkList();
}

#ifdef HOST_NO_C_RUNTIME
void __cdecl hostStart(void) {
    ExitProcess((UINT)runHost());
}
#else
int main(void) {
    return runHost();
}
#endif
