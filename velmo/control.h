// What a control's source tells the rest of the library about its control:
// one `const Control` beside its window procedure, which velmo.cpp registers
// as a window class and which the procedure hands to handleControlMessage for
// every message that it doesn't answer itself.
#ifndef VELMO_CONTROL_H
#define VELMO_CONTROL_H

#include <windows.h>

#include "accessibility.h"
#include "controlplumbing.h"
#include "keyboardfocus.h"

struct Control {
    // The procedure that the class registers; the library exports it.
    WNDPROC procedure;
    // Window extra bytes: reserved only, no control reads or writes them.
    int extraBytes = 0;
    // The background: the class brush takes its light colour (a class of the
    // same colour as the class registered before it shares that class's
    // brush); other appearances erase in their own colour of it.
    ColourRole background;
    // Draws the whole client area for WM_PAINT and WM_PRINTCLIENT; null
    // leaves both to default handling.
    DrawFunction draw = nullptr;
    // The shape that WM_SETCURSOR shows, chosen by the control; null leaves
    // the class cursor, the arrow.
    CursorChoice* cursor = nullptr;
    // Space and Enter of a control created with WS_TABSTOP, and what it
    // answers WM_GETDLGCODE; null keys for a control that takes no keys.
    const KeyActions* keys = nullptr;
    LRESULT dialogCode = 0;
    // What readers see of it; null for a window that readers see as the
    // system describes it.
    const AccessibleControl* accessibility = nullptr;
};

// The thread's appearance listener at creation, erasing outside the light
// appearance, a repaint after a DPI change, paint and print, the chosen cursor, readers' requests, keys and focus as
// the control describes them, then default handling.
LRESULT handleControlMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const Control* control);

#endif
