// The skinned push button: a three-slice strip with a centred caption,
// drawn pressed from a left press over it until the next left release over it.
#include "control.h"
#include "displayscale.h"
#include "themedrawing.h"
#include "velmo.h"

// Only the top-left 10 x 34 of a middle slice is read; caps keep their own size.
static const StripLayout buttonStrip = {{10, controlHeight}, {0, 0}, controlHeight, 0, false};

static const int captionMaxCount = 511;
static const int captionBottom = 30;
static const UINT captionFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
// The focus cue stands this far inside the button's edges.
static const int focusCueInset = 3;

// The pressed state lives in the user-data slot; the extra bytes are only reserved.
static const int reservedExtraBytes = 4;

static void setPressed(HWND window, LONG_PTR pressed) {
    SetWindowLongPtrA(window, GWLP_USERDATA, pressed);
}

// A pressed button is drawn pressed, even disabled, as it always was; a
// theme's disabled and hot looks come before the normal one.
static ThemeBitmap findButtonLeft(HWND window, bool pressed) {
    if (pressed) {
        return buttonLeftPressed;
    }
    if (!IsWindowEnabled(window)) {
        return buttonLeftDisabled;
    }
    return getHotItem(window) == 0 ? buttonLeftHot : buttonLeft;
}

static void drawButton(HWND window, HDC target) {
    int width = getWindowSize(window).cx;
    int dpi = getWindowDpi(window);
    bool pressed = GetWindowLongPtrA(window, GWLP_USERDATA) != 0;
    StripSlices slices = findStripSlices(getWindowTheme(window), findButtonLeft(window, pressed), dpi);
    drawThreeSliceStrip(target, &slices, 0, width, &buttonStrip);
    RECT caption = {0, 0, width, scaleToDpi(captionBottom, dpi)};
    ControlLook look = getHotItem(window) == 0 ? hotLook : normalLook;
    COLORREF colour = pressed ? getTextColour(window, pressedTextColour) : getTextColour(window, buttonTextColour, look);
    drawWindowText(target, window, captionMaxCount, &caption, colour, captionFormat);
    int inset = scaleToDpi(focusCueInset, dpi);
    RECT cue = {inset, inset, width - inset, scaleToDpi(controlHeight, dpi) - inset};
    drawFocusCue(window, target, &cue);
}

static bool isPressed(HWND window) {
    return GetWindowLongPtrA(window, GWLP_USERDATA) != 0;
}

static void showPressed(HWND window, LONG_PTR pressed) {
    bool changed = isPressed(window) != (pressed != 0);
    setPressed(window, pressed);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    if (changed) {
        notifyAccessibleEvent(window, EVENT_OBJECT_STATECHANGE, CHILDID_SELF);
    }
}

// A release reports a click even without a press before it: the button
// doesn't capture the mouse, so the press may have been elsewhere.
static void releaseButton(HWND window) {
    showPressed(window, 0);
    sendClickNotification(window);
}

static void pressButton(HWND window) {
    showPressed(window, 1);
}

static void pressButtonWithMouse(HWND window) {
    takeMousePress(window);
    pressButton(window);
}

// A release that ends a press that Space has clicked already clicks nothing.
static void releaseButtonWithMouse(HWND window) {
    if (takeMouseRelease(window)) {
        releaseButton(window);
    }
}

static void cancelPress(HWND window) {
    showPressed(window, 0);
}

// BM_CLICK: a press and a release over it, drawn, announced and notified as
// the mouse's are, without taking the focus. A disabled button, which the
// mouse can't click, ignores it.
static void clickButton(HWND window) {
    if (!IsWindowEnabled(window)) {
        return;
    }
    pressButton(window);
    releaseButton(window);
}

// BM_GETSTATE: pushed while drawn pressed, focus while it has the focus.
static LRESULT findButtonState(HWND window) {
    return (isPressed(window) ? BST_PUSHED : 0) | (GetFocus() == window ? BST_FOCUS : 0);
}

// Space presses the button and its release clicks, as a mouse press and
// release would; Enter clicks at once. A Space press that the focus leaves is
// drawn released again, without a click.
static const KeyActions buttonKeys = {pressButton, releaseButton, cancelPress};

static DWORD findButtonStates(HWND window) {
    return isPressed(window) ? STATE_SYSTEM_PRESSED : 0;
}

// Its default action clicks it as a release over it does.
static const AccessibleControl buttonAccessibility = {
    .role = ROLE_SYSTEM_PUSHBUTTON, .findStates = findButtonStates, .action = L"Press", .act = releaseButton};

extern const Control buttonControl;

static LRESULT handleButtonMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    switch (message) {
    case WM_CREATE:
        setPressed(window, 0);
        return 0;
    case WM_MOUSEMOVE:
        chooseCursor(window, cursorHand);
        return 0;
    case WM_LBUTTONDOWN:
        pressButtonWithMouse(window);
        return 0;
    case WM_LBUTTONUP:
        releaseButtonWithMouse(window);
        return 0;
    case BM_CLICK:
        clickButton(window);
        return 0;
    case BM_GETSTATE:
        return findButtonState(window);
    }
    return handleControlMessage(window, message, wParam, lParam, width, &buttonControl);
}

LRESULT CALLBACK buttonWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return answerAnsiMessage(window, message, wParam, lParam, &buttonControl);
}

extern const Control buttonControl = {
    .procedure = buttonWindowProcedure,
    .wideProcedure = answerWideMessage<buttonControl>,
    .handle = handleButtonMessage,
    .extraBytes = reservedExtraBytes,
    .background = barColour,
    .section = buttonSection,
    .keptToHeight = true,
    .draw = drawButton,
    .choosesCursor = true,
    .findHotItem = findWholeControl,
    .keys = &buttonKeys,
    .accessibility = &buttonAccessibility,
};
