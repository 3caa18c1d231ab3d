/* A host in C linked through the installed header and import library.
 *   host present   the current directory or velmo.dll's folder holds bitmap/: every
 *                  lookup finds its bitmap
 *   host absent    neither does: every lookup is null, and the library works on
 * Exit status 0 when the library answered as expected. */
#include <velmo.h>

#include <stdio.h>
#include <string.h>

static const char* const themeNames[][2] = {
    {"button", "buttonLeft"}, {"button", "buttonMiddle"}, {"button", "buttonRight"},
    {"button", "buttonLeftPressed"}, {"button", "buttonMiddlePressed"}, {"button", "buttonRightPressed"},
    {"tab", "tabLeft"}, {"tab", "tabMiddle"}, {"tab", "tabRight"},
    {"tab", "tabPressedLeft"}, {"tab", "tabPressedMiddle"}, {"tab", "tabPressedRight"},
    {"link", "link"}, {"frame", "frameLeft"}, {"frame", "frameMiddle"}, {"frame", "frameRight"},
    {"list", "list"},
};

static const int themeCount = sizeof themeNames / sizeof themeNames[0];
static const int buttonWidth = 80;
static const int buttonHeight = 34;
static const char buttonCaption[] = "OK";

static int checkBitmaps(int expectPresent) {
    int failures = 0;
    int i;
    for (i = 0; i < themeCount; i++) {
        HBITMAP bitmap = getControlBitmap(themeNames[i][0], themeNames[i][1]);
        if ((bitmap != NULL) != expectPresent) {
            printf("%s/%s: %s\n", themeNames[i][0], themeNames[i][1], bitmap != NULL ? "found" : "missing");
            failures++;
        }
    }
    return failures;
}

/* The exported data, read through the import library's pointers. */
static int checkData(void) {
    int failures = 0;
    HFONT font;
    if (controlBitmaps == NULL) {
        printf("controlBitmaps is null\n");
        failures++;
    }
    font = getMainFont();
    if (font == NULL || mainFont != font) {
        printf("mainFont doesn't hold the shared font\n");
        failures++;
    }
    return failures;
}

/* A stdcall window procedure called through its decorated import. */
static int checkWindowProcedure(void) {
    int failures = 0;
    HWND button = CreateWindowExA(0, VELMO_BUTTON_CLASS, buttonCaption, WS_POPUP, 0, 0, buttonWidth, buttonHeight,
                                  NULL, NULL, GetModuleHandleA(NULL), NULL);
    if (button == NULL) {
        printf("no window of class %s\n", VELMO_BUTTON_CLASS);
        return 1;
    }
    if (CallWindowProcA(buttonWindowProcedure, button, WM_GETTEXTLENGTH, 0, 0) != (LRESULT)strlen(buttonCaption)) {
        printf("buttonWindowProcedure answered wrongly\n");
        failures++;
    }
    DestroyWindow(button);
    return failures;
}

int main(int argc, char** argv) {
    int failures;
    if (argc != 2 || (strcmp(argv[1], "present") != 0 && strcmp(argv[1], "absent") != 0)) {
        printf("usage: host present|absent\n");
        return 2;
    }
    failures = checkBitmaps(strcmp(argv[1], "present") == 0) + checkData() + checkWindowProcedure();
    printf("%s: %d failure(s)\n", argv[1], failures);
    return failures == 0 ? 0 : 1;
}
