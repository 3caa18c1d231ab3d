// What a control's source tells the rest of the library about its control:
// one `const Control` beside its window procedure, which velmo.cpp registers
// as a window class. The exported procedure and the control's wide procedure
// both hand every message to the control's handler, with the width in which
// its text arrives, and the handler hands what it doesn't answer itself to
// handleControlMessage.
#ifndef VELMO_CONTROL_H
#define VELMO_CONTROL_H

#include <windows.h>

#include "accessibility.h"
#include "controlplumbing.h"
#include "keyboardfocus.h"

typedef LRESULT (*MessageHandler)(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width);

struct Control {
    // The procedure that the class registers, with ANSI text; the library
    // exports it.
    WNDPROC procedure;
    // The same with UTF-16 text: answerWideMessage for this control. Each
    // window takes it when it is made.
    WNDPROC wideProcedure;
    // Answers every message in the width that its text arrives in.
    MessageHandler handle;
    // Window extra bytes: reserved only, no control reads or writes them.
    int extraBytes = 0;
    // The background: the class brush takes its light colour (a class of the
    // same colour as the class registered before it shares that class's
    // brush); other appearances erase in their own colour of it.
    ColourRole background;
    // The section of a theme's theme.ini that gives its colours.
    ThemeSection section = noSection;
    // Styles that every window of the control has, whatever its host gives.
    DWORD style = 0;
    DWORD extendedStyle = 0;
    // Kept at most controlHeight tall at its DPI: clamped at each WM_SIZE and
    // again when its DPI changes.
    bool keptToHeight = false;
    // Draws the whole client area for WM_PAINT and WM_PRINTCLIENT; null
    // leaves both to default handling.
    DrawFunction draw = nullptr;
    // WM_SETCURSOR shows the shape that the control chose for the window
    // (chooseCursor); false leaves the class cursor, the arrow.
    bool choosesCursor = false;
    // The item at a point in client coordinates (0 for the control itself,
    // -1 for none), drawn hot while the pointer is over it; null for a
    // control without a hot look.
    int (*findHotItem)(HWND window, LPARAM point) = nullptr;
    // Space and Enter of a control created with WS_TABSTOP, and what it
    // answers WM_GETDLGCODE; null keys for a control that takes no keys.
    const KeyActions* keys = nullptr;
    LRESULT dialogCode = 0;
    // What readers see of it; null for a window that readers see as the
    // system describes it.
    const AccessibleControl* accessibility = nullptr;
};

// The control's handler, with the window's record made before WM_NCCREATE
// (a window whose record can't be made isn't created) and freed after
// WM_NCDESTROY.
LRESULT answerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width,
                      const Control* control);

// The exported procedure's answer: the control's handler with ANSI text.
// WM_NCCREATE also gives the window the control's styles and, unless a host
// superclass stands in front, its wide procedure.
LRESULT answerAnsiMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const Control* control);

// WM_CREATE's text as the creator gave it: WM_NCCREATE, which the exported
// procedure answered, had it only in the process's code page.
void keepCreationText(HWND window, LPARAM creation);

// The control's wide procedure: its handler with UTF-16 text.
template <const Control& control>
LRESULT CALLBACK answerWideMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        keepCreationText(window, lParam);
    }
    return answerMessage(window, message, wParam, lParam, wideText, &control);
}

// The thread's appearance listener at creation, erasing outside the light
// appearance, the height clamp, a repaint after a DPI change, paint and
// print (erasing first where the caller asks), the chosen cursor, readers' requests, keys and focus as the control
// describes them, then default handling in the call's width.
LRESULT handleControlMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width,
                             const Control* control);

#endif
