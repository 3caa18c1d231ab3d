// "VelmoStatic": a label that draws its window text in dark grey, centred in
// a band at the top of the control.
#include <windows.h>

#include "control.h"
#include "displayscale.h"
#include "velmo.h"

static const COLORREF staticTextColour = RGB(80, 80, 80);
static const int staticTextBandHeight = 20;
// At most 510 characters are drawn: the count passed leaves a spare byte.
static const int staticTextMaxCount = 511;
static const UINT staticTextFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
static const COLORREF classBackground = RGB(255, 255, 255);

static void drawStatic(HWND window, HDC target) {
    int width = getWindowSize(window).cx;
    RECT band = {0, 0, width, scaleLength(window, staticTextBandHeight)};
    drawWindowText(target, window, staticTextMaxCount, &band, staticTextColour, staticTextFormat);
}

static const AccessibleControl staticAccessibility = {.role = ROLE_SYSTEM_STATICTEXT,
                                                       .states = STATE_SYSTEM_READONLY};

extern const Control staticControl;

static LRESULT handleStaticMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    return handleControlMessage(window, message, wParam, lParam, width, &staticControl);
}

LRESULT CALLBACK staticWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return answerAnsiMessage(window, message, wParam, lParam, &staticControl);
}

extern const Control staticControl = {
    .procedure = staticWindowProcedure,
    .wideProcedure = answerWideMessage<staticControl>,
    .handle = handleStaticMessage,
    .background = classBackground,
    .draw = drawStatic,
    .accessibility = &staticAccessibility,
};
