// The messages that every control answers alike, from its Control.
#include "control.h"

LRESULT handleControlMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const Control* control) {
    switch (message) {
    case WM_NCCREATE:
        listenForAppearanceChanges();
        break;
    case WM_ERASEBKGND:
        if (eraseInAppearance(window, reinterpret_cast<HDC>(wParam), control->background)) {
            return 1;
        }
        break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (control->draw != nullptr) {
            drawOnRequest(window, message, wParam, control->draw);
            return 0;
        }
        break;
    case WM_DPICHANGED_AFTERPARENT:
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        return 0;
    case WM_SETCURSOR:
        if (control->cursor != nullptr) {
            showChosenCursor(control->cursor);
            return 0;
        }
        break;
    }
    LRESULT result;
    if (control->accessibility != nullptr &&
        handleAccessibilityMessage(window, message, wParam, lParam, control->accessibility, &result)) {
        return result;
    }
    if (control->keys != nullptr &&
        handleKeyboardMessage(window, message, wParam, lParam, control->keys, control->dialogCode, &result)) {
        return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
