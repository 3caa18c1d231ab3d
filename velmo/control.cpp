// The messages that every control answers alike, from its Control.
#include "control.h"

#include "themerecord.h"
#include "windowstate.h"

// Without the window's wide procedure the system would hand every text to
// the exported procedure in the process's code page, losing what it can't
// hold. A host that superclasses the control keeps its own procedure, which
// calls the exported one with ANSI text.
static void becomeWide(HWND window, const Control* control) {
    if (GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(control->procedure)) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->wideProcedure));
    }
}

static void addStyles(HWND window, int index, DWORD styles) {
    LONG_PTR current = GetWindowLongPtrW(window, index);
    if (styles != 0 && (current & styles) != styles) {
        SetWindowLongPtrW(window, index, current | styles);
    }
}

LRESULT answerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width,
                      const Control* control) {
    if (message == WM_NCCREATE && !newWindowState(window, control->section)) {
        return FALSE;
    }
    bool moves = message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP;
    if (moves && control->findHotItem != nullptr) {
        trackHotItem(window, control->findHotItem(window, lParam));
    }
    // A theme that another thread swaps out meanwhile stays until the
    // message is answered.
    beginThemeUse();
    LRESULT result = control->handle(window, message, wParam, lParam, width);
    endThemeUse();
    if (message == WM_NCDESTROY) {
        deleteWindowState(window);
    }
    return result;
}

LRESULT answerAnsiMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const Control* control) {
    if (message == WM_NCCREATE) {
        addStyles(window, GWL_STYLE, control->style);
        addStyles(window, GWL_EXSTYLE, control->extendedStyle);
        becomeWide(window, control);
    }
    return answerMessage(window, message, wParam, lParam, ansiText, control);
}

// A name that is a resource ordinal (0xFFFF, then the number) is no text.
void keepCreationText(HWND window, LPARAM creation) {
    if (creation == 0) {
        return;
    }
    const wchar_t* name = reinterpret_cast<const CREATESTRUCTW*>(creation)->lpszName;
    if (name != nullptr && name[0] != 0xFFFF) {
        DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
    }
}

LRESULT handleControlMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width,
                             const Control* control) {
    switch (message) {
    case WM_NCCREATE:
        listenForAppearanceChanges();
        break;
    case WM_ERASEBKGND:
        if (eraseInAppearance(window, reinterpret_cast<HDC>(wParam), control->background)) {
            return 1;
        }
        break;
    case WM_PRINTCLIENT:
        if ((lParam & PRF_ERASEBKGND) != 0) {
            fillClientArea(window, reinterpret_cast<HDC>(wParam), control->background);
        }
        [[fallthrough]];
    case WM_PAINT:
        if (control->draw != nullptr) {
            drawOnRequest(window, message, wParam, control->draw);
            return 0;
        }
        break;
    case WM_SIZE:
        if (control->keptToHeight) {
            clampHeight(window, lParam);
            return 0;
        }
        break;
    case WM_DPICHANGED_AFTERPARENT:
        if (control->keptToHeight) {
            clampHeightAgain(window);
        }
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        return 0;
    case WM_MOUSELEAVE:
        leaveHotItem(window);
        return 0;
    case WM_ENABLE:
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        break;
    case WM_THEMECHANGED:
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return 0;
    case WM_SETCURSOR:
        if (control->choosesCursor) {
            showChosenCursor(window);
            return 0;
        }
        break;
    }
    LRESULT result;
    if (control->accessibility != nullptr &&
        handleAccessibilityMessage(window, message, wParam, lParam, width, control->accessibility, &result)) {
        return result;
    }
    if (control->keys != nullptr &&
        handleKeyboardMessage(window, message, wParam, lParam, control->keys, control->dialogCode, &result)) {
        return result;
    }
    return answerByDefault(window, message, wParam, lParam, width);
}
