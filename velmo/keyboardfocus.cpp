// Focus, keys and the focus cue of the controls created with WS_TABSTOP.
#include "keyboardfocus.h"

#include "windowstate.h"

// The keyboard state lives in the window's record. A left press on the
// control whose release hasn't come is mouseHeld; once a key has clicked
// while it was down, its release is mouseClickedByKey and clicks nothing.
enum KeyboardFlag { focusCueShown = 1, spaceHeld = 2, mouseHeld = 4, mouseClickedByKey = 8 };

// Wine's default window procedure keeps no UI state (WM_QUERYUISTATE answers
// 0 and WM_CHANGEUISTATE changes nothing), so each control keeps its own: the
// cue stays hidden until the keyboard reaches the control or WM_UPDATEUISTATE
// clears UISF_HIDEFOCUS.
static bool hasFlag(HWND control, unsigned flag) {
    const WindowState* state = findWindowState(control);
    return state != nullptr && (state->keyboardFlags & flag) != 0;
}

// True when the flag changed.
static bool setFlag(HWND control, unsigned flag, bool on) {
    WindowState* state = findWindowState(control);
    if (state == nullptr) {
        return false;
    }
    unsigned changed = on ? state->keyboardFlags | flag : state->keyboardFlags & ~flag;
    if (changed == state->keyboardFlags) {
        return false;
    }
    state->keyboardFlags = changed;
    return true;
}

bool takesKeyboard(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) != 0;
}

void takeMousePress(HWND control) {
    if (!takesKeyboard(control)) {
        return;
    }
    setFlag(control, mouseClickedByKey, false);
    setFlag(control, mouseHeld, true);
    if (GetFocus() != control) {
        SetFocus(control);
    }
}

bool takeMouseRelease(HWND control) {
    if (!takesKeyboard(control)) {
        return true;
    }
    bool clicked = hasFlag(control, mouseClickedByKey);
    setFlag(control, spaceHeld | mouseHeld | mouseClickedByKey, false);
    return !clicked;
}

static void invalidate(HWND control) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

// Only a shown cue needs drawing or taking away.
static void redrawFocusCue(HWND control) {
    if (hasFlag(control, focusCueShown)) {
        invalidate(control);
    }
}

void noteKeyboardUse(HWND control) {
    if (setFlag(control, focusCueShown, true)) {
        invalidate(control);
    }
}

// The dialog manager moves the focus while it handles the Tab key's press.
static void arriveWithFocus(HWND control) {
    if (GetKeyState(VK_TAB) < 0) {
        setFlag(control, focusCueShown, true);
    }
    redrawFocusCue(control);
}

// A Space press that the control didn't see end is taken back.
static void leaveWithFocus(HWND control, const KeyActions* actions) {
    if (setFlag(control, spaceHeld, false) && actions->cancel != nullptr) {
        actions->cancel(control);
    }
    redrawFocusCue(control);
}

static void updateUiState(HWND control, WPARAM wParam) {
    if ((HIWORD(wParam) & UISF_HIDEFOCUS) == 0) {
        return;
    }
    WORD action = LOWORD(wParam);
    if ((action == UIS_SET || action == UIS_CLEAR) && setFlag(control, focusCueShown, action == UIS_CLEAR) &&
        GetFocus() == control) {
        invalidate(control);
    }
}

// A left press on the control whose button is still down belongs to the
// press that the key has just clicked, so its release clicks nothing. No
// control captures the mouse, so a release elsewhere leaves mouseHeld set:
// the left button's state as of this message tells.
static void releaseWithKey(HWND control, const KeyActions* actions) {
    actions->release(control);
    if (hasFlag(control, mouseHeld) && GetKeyState(VK_LBUTTON) < 0) {
        setFlag(control, mouseClickedByKey, true);
    }
}

// Bit 30 of a key message's lParam: the key was down before this message.
static const LPARAM keyWasDown = 1 << 30;

static bool handleActionKey(HWND control, UINT message, WPARAM key, LPARAM lParam, const KeyActions* actions) {
    if (key != VK_SPACE && key != VK_RETURN) {
        return false;
    }
    if (message == WM_KEYDOWN && key == VK_SPACE && (lParam & keyWasDown) != 0) {
        return true;
    }
    if (message == WM_KEYDOWN) {
        noteKeyboardUse(control);
        if (actions->press != nullptr) {
            actions->press(control);
        }
        if (key == VK_RETURN) {
            releaseWithKey(control, actions);
        } else {
            setFlag(control, spaceHeld, true);
        }
    } else if (key == VK_SPACE && hasFlag(control, spaceHeld)) {
        setFlag(control, spaceHeld, false);
        releaseWithKey(control, actions);
    }
    return true;
}

bool handleKeyboardMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, const KeyActions* actions,
                           LRESULT dialogCode, LRESULT* result) {
    if (!takesKeyboard(control)) {
        return false;
    }
    *result = 0;
    switch (message) {
    case WM_GETDLGCODE:
        *result = wParam == VK_RETURN ? dialogCode | DLGC_WANTMESSAGE : dialogCode;
        return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
        return handleActionKey(control, message, wParam, lParam, actions);
    case WM_SETFOCUS:
        arriveWithFocus(control);
        break;
    case WM_KILLFOCUS:
        leaveWithFocus(control, actions);
        break;
    case WM_UPDATEUISTATE:
        updateUiState(control, wParam);
        break;
    }
    return false;
}

void drawFocusCue(HWND control, HDC target, const RECT* box) {
    if (takesKeyboard(control) && GetFocus() == control && hasFlag(control, focusCueShown)) {
        DrawFocusRect(target, box);
    }
}

int getFocusedItem(HWND control) {
    const WindowState* state = findWindowState(control);
    return state != nullptr ? state->focusedItem : 0;
}

void setFocusedItem(HWND control, int item) {
    WindowState* state = findWindowState(control);
    if (state != nullptr) {
        state->focusedItem = item;
    }
}
