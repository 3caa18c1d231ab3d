// The link: the theme's icon at the left, the window text beside it,
// the hand cursor, and a click notification on every left release over it.
#include "control.h"
#include "displayscale.h"
#include "themedrawing.h"
#include "velmo.h"

static const int textLeft = 15;
static const int textMaxCount = 255;
static const UINT textFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

// The whole area is painted at every paint, erased or not: the text is drawn
// transparent and the focus cue inverts what lies under it, so either drawn
// over its last drawing would change.
static void drawLink(HWND window, HDC target) {
    int dpi = getWindowDpi(window);
    bool hot = getHotItem(window) == 0;
    ThemeBitmap iconLook = !IsWindowEnabled(window) ? linkDisabled : hot ? linkHot : linkIcon;
    ThemeImage icon = findThemeImage(getWindowTheme(window), iconLook, dpi);
    SIZE size = getWindowSize(window);
    RECT whole = {0, 0, size.cx, size.cy};
    fillBox(target, &whole, getWindowColour(window, bodyColour));
    SIZE iconSize = getDrawnSize(&icon);
    // Halved separately: a 15-pixel icon in a 20-pixel link stands at y = 3.
    int top = size.cy / 2 - iconSize.cy / 2;
    RECT iconBox = {0, top, iconSize.cx, top + iconSize.cy};
    COLORREF colour = getTextColour(window, linkTextColour, hot ? hotLook : normalLook);
    drawGlyph(target, &icon, &iconBox, colour);
    RECT textBox = {scaleToDpi(textLeft, dpi), 0, size.cx, size.cy};
    drawWindowText(target, window, textMaxCount, &textBox, colour, textFormat);
    drawFocusCue(window, target, &whole);
}

// Space's release and Enter click, as a left release does.
static const KeyActions linkKeys = {nullptr, sendClickNotification, nullptr};

// Its default action clicks it as a release over it does.
static const AccessibleControl linkAccessibility = {
    .role = ROLE_SYSTEM_LINK, .states = STATE_SYSTEM_LINKED, .action = L"Jump", .act = sendClickNotification};

extern const Control linkControl;

static LRESULT handleLinkMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    switch (message) {
    case WM_MOUSEMOVE:
        chooseCursor(window, cursorHand);
        return 0;
    case WM_LBUTTONDOWN:
        takeMousePress(window);
        break;
    case WM_LBUTTONUP:
        if (takeMouseRelease(window)) {
            sendClickNotification(window);
        }
        return 0;
    }
    return handleControlMessage(window, message, wParam, lParam, width, &linkControl);
}

LRESULT CALLBACK linkWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return answerAnsiMessage(window, message, wParam, lParam, &linkControl);
}

extern const Control linkControl = {
    .procedure = linkWindowProcedure,
    .wideProcedure = answerWideMessage<linkControl>,
    .handle = handleLinkMessage,
    .background = bodyColour,
    .section = linkSection,
    .draw = drawLink,
    .choosesCursor = true,
    .findHotItem = findWholeControl,
    .keys = &linkKeys,
    .accessibility = &linkAccessibility,
};
