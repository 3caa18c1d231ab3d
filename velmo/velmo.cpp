// The library's entry: the theme is built while the host loads the library,
// then the nine window classes are registered under the host's executable.
#include "velmo.h"

// One row of the class table; a row without a new brush keeps the one before.
struct ClassEntry {
    const char* name;
    WNDPROC procedure;
    int extraBytes;
    bool newBrush;
    COLORREF background;
};

static const COLORREF white = RGB(255, 255, 255);
static const COLORREF black = RGB(0, 0, 0);
static const COLORREF lightGrey = RGB(200, 200, 200);

// Four brushes in all: the button's serves the tab menu, the link's the four
// classes after it.
static const ClassEntry classTable[] = {
    {VELMO_WINDOW_CLASS, dialogWindowProcedure, 0, true, white},
    {VELMO_BUTTON_CLASS, buttonWindowProcedure, 4, true, black},
    {VELMO_TAB_MENU_CLASS, tabWindowProcedure, 4, false, black},
    {VELMO_LINK_CLASS, linkWindowProcedure, 0, true, white},
    {VELMO_FRAME_CLASS, frameWindowProcedure, 0, false, white},
    {VELMO_LIST_CLASS, listWindowProcedure, 4, false, white},
    {VELMO_TABLE_CLASS, frameWindowProcedure, 0, false, white},
    {VELMO_STATIC_CLASS, staticWindowProcedure, 0, false, white},
    {VELMO_EDIT_CLASS, editWindowProcedure, 0, true, lightGrey},
};

// Stops at the first class that can't be registered; those before it stay,
// and so do the brushes, which the classes use for the life of the process.
int registerClasses(void) {
    WNDCLASSEXA record = {};
    record.cbSize = sizeof record;
    record.style = CS_DBLCLKS;
    record.hInstance = GetModuleHandleA(nullptr);
    record.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    for (const ClassEntry& entry : classTable) {
        record.lpszClassName = entry.name;
        record.lpfnWndProc = entry.procedure;
        record.cbWndExtra = entry.extraBytes;
        if (entry.newBrush) {
            record.hbrBackground = CreateSolidBrush(entry.background);
        }
        if (RegisterClassExA(&record) == 0) {
            return 0;
        }
    }
    return 1;
}

// The load never fails on the library's account: missing bitmaps only leave
// null lookups behind, and a class that can't be registered only can't be made.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        getBitmaps();
        registerClasses();
    }
    return TRUE;
}
