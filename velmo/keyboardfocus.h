// Focus, Space and Enter, and the focus cue, for the controls that a host opts
// into keyboard navigation. A control takes part when it has WS_TABSTOP;
// without it every function here leaves the control alone, so its messages go
// on exactly as before.
#ifndef VELMO_KEYBOARDFOCUS_H
#define VELMO_KEYBOARDFOCUS_H

#include <windows.h>

// True for a control whose style holds WS_TABSTOP.
bool takesKeyboard(HWND control);

// A left press on the control. A keyboard control takes the focus, and the
// press and a Space press that overlaps it make one press, which clicks once:
// at whichever release comes first (see takeMouseRelease).
void takeMousePress(HWND control);

// A left release on the control: false when the press it ends was clicked
// already by a key, so that it clicks nothing. It also ends a Space press
// still held, whose release then clicks nothing. True for a control without
// WS_TABSTOP.
bool takeMouseRelease(HWND control);

// What Space and Enter do to a control: press starts a click (Space down),
// release ends it (Space up after a press, or Enter down after press), and
// cancel takes back a press whose Space the focus left before its release.
// A null press or cancel does nothing.
struct KeyActions {
    void (*press)(HWND control);
    void (*release)(HWND control);
    void (*cancel)(HWND control);
};

// The keyboard messages of a keyboard control, for its window procedure to
// call with every message that it leaves to default handling:
// - WM_GETDLGCODE answers dialogCode, plus the Enter key for the control
//   itself, which the dialog manager would otherwise turn into the window's
//   default button or IDOK;
// - Space and Enter do the actions; a held Space's repeats do nothing;
// - WM_SETFOCUS, WM_KILLFOCUS and WM_UPDATEUISTATE redraw the focus cue as it
//   comes and goes; these still go on to default handling.
// True, with the result, for a message answered here; false for every other
// message and for any message to a control without WS_TABSTOP.
bool handleKeyboardMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, const KeyActions* actions,
                           LRESULT dialogCode, LRESULT* result);

// Shows the focus cue from now on: the keyboard was used on the control.
void noteKeyboardUse(HWND control);

// Draws the focus cue inside box when the control has the focus and the
// keyboard has been used on it; an unfocused control draws nothing.
void drawFocusCue(HWND control, HDC target, const RECT* box);

// The item of a control (the tab menu's tab) that the keys act on; 0 at first.
int getFocusedItem(HWND control);
void setFocusedItem(HWND control, int item);

#endif
