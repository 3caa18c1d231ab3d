// The window classes that the library registers, in its order of
// registration, with what the tests expect of each.
#ifndef VELMO_TEST_VELMOCLASSES_H
#define VELMO_TEST_VELMOCLASSES_H

#include <windows.h>

#include <oleacc.h>

#include <ostream>

#include "velmo.h"

struct VelmoClass {
    const char* name;
    // The exported name of its window procedure.
    const char* procedure;
    int extraBytes;
    COLORREF background;
    // Classes with the same letter share one brush.
    char brush;
    // A size that shows all that the control draws.
    int width;
    int height;
    // What readers see of a control whose window text is "&Save && go": its
    // role (0: the system's own description), its states besides FOCUSABLE,
    // which WS_TABSTOP gives each, its name and its default action, which
    // clicks it; null for none.
    LONG role;
    DWORD states;
    const wchar_t* readName;
    const wchar_t* action;
    // In high contrast: the system colours of its body and of its own text
    // (-1: it draws none).
    int systemBody;
    int systemText;
};

const VelmoClass velmoClasses[] = {
    {VELMO_WINDOW_CLASS, "dialogWindowProcedure", 0, RGB(255, 255, 255), 'A', 200, 120, 0, 0, nullptr, nullptr,
     COLOR_WINDOW, -1},
    {VELMO_BUTTON_CLASS, "buttonWindowProcedure", 4, RGB(0, 0, 0), 'B', 160, 34, ROLE_SYSTEM_PUSHBUTTON, 0,
     L"Save & go", L"Press", COLOR_BTNFACE, COLOR_BTNTEXT},
    {VELMO_TAB_MENU_CLASS, "tabWindowProcedure", 4, RGB(0, 0, 0), 'B', 300, 34, ROLE_SYSTEM_PAGETABLIST, 0,
     L"Save & go", nullptr, COLOR_BTNFACE, COLOR_BTNTEXT},
    {VELMO_LINK_CLASS, "linkWindowProcedure", 0, RGB(255, 255, 255), 'C', 160, 20, ROLE_SYSTEM_LINK,
     STATE_SYSTEM_LINKED, L"Save & go", L"Jump", COLOR_WINDOW, COLOR_HOTLIGHT},
    {VELMO_FRAME_CLASS, "frameWindowProcedure", 0, RGB(255, 255, 255), 'C', 200, 120, ROLE_SYSTEM_GROUPING, 0,
     L"Save & go", nullptr, COLOR_WINDOW, COLOR_WINDOWTEXT},
    {VELMO_LIST_CLASS, "listWindowProcedure", 4, RGB(255, 255, 255), 'C', 200, 200, ROLE_SYSTEM_LIST,
     STATE_SYSTEM_READONLY, L"Save & go", nullptr, COLOR_WINDOW, COLOR_WINDOWTEXT},
    {VELMO_TABLE_CLASS, "frameWindowProcedure", 0, RGB(255, 255, 255), 'C', 200, 120, ROLE_SYSTEM_GROUPING, 0,
     L"Save & go", nullptr, COLOR_WINDOW, COLOR_WINDOWTEXT},
    {VELMO_STATIC_CLASS, "staticWindowProcedure", 0, RGB(255, 255, 255), 'C', 200, 20, ROLE_SYSTEM_STATICTEXT,
     STATE_SYSTEM_READONLY, L"Save & go", nullptr, COLOR_WINDOW, COLOR_WINDOWTEXT},
    // The edit shows its text as typed.
    {VELMO_EDIT_CLASS, "editWindowProcedure", 0, RGB(200, 200, 200), 'D', 200, 24, ROLE_SYSTEM_TEXT, 0,
     L"&Save && go", nullptr, COLOR_WINDOW, -1},
};
const int velmoClassCount = sizeof velmoClasses / sizeof velmoClasses[0];

// GoogleTest names the class in its failure reports with this.
inline void PrintTo(const VelmoClass& velmoClass, std::ostream* out) {
    *out << velmoClass.name;
}

// Where the controls stand at one DPI, in client pixels.
struct DpiFigures {
    int dpi;
    // A button created 200 x 100 is clamped to this height.
    int buttonHeight;
    int borderBand;
    // The rows that a capital's glyph spans.
    int fewestGlyphRows;
    int mostGlyphRows;
    bool drawsDoubledBitmaps;
    // The boxes of the first two tabs as the mouse and readers take them, and
    // of the first two rows of a list 200 wide.
    RECT tabs[2];
    RECT rows[2];
};

const DpiFigures dpiFigures[] = {
    {96, 34, 8, 7, 9, false, {{10, 0, 81, 34}, {90, 0, 161, 34}}, {{0, 15, 200, 40}, {0, 40, 200, 65}}},
    {144, 51, 12, 11, 13, true, {{15, 0, 121, 51}, {135, 0, 241, 51}}, {{0, 23, 200, 60}, {0, 60, 200, 98}}},
    {192, 68, 16, 15, 17, true, {{20, 0, 161, 68}, {180, 0, 321, 68}}, {{0, 30, 200, 80}, {0, 80, 200, 130}}},
};

// At 96 DPI, which the tests outside the scaling suite run at, the items stand
// evenly: each the step between the first two beyond the one before.
inline RECT getEvenBox(const RECT (&firstTwo)[2], int position) {
    RECT box = firstTwo[0];
    OffsetRect(&box, (firstTwo[1].left - box.left) * position, (firstTwo[1].top - box.top) * position);
    return box;
}

inline RECT getTabBoxAt96(int position) {
    return getEvenBox(dpiFigures[0].tabs, position);
}

inline RECT getRowBoxAt96(int position) {
    return getEvenBox(dpiFigures[0].rows, position);
}

#endif
