// "VelmoStatic": a label that draws its window text, centred in
// a band at the top of the control.
#include <windows.h>

#include "control.h"
#include "displayscale.h"
#include "velmo.h"

static const int staticTextBandHeight = 20;
// At most 510 characters are drawn: the count passed leaves a spare byte.
static const int staticTextMaxCount = 511;
static const UINT staticTextFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

static void drawStatic(HWND window, HDC target) {
    int width = getWindowSize(window).cx;
    RECT band = {0, 0, width, scaleLength(window, staticTextBandHeight)};
    drawWindowText(target, window, staticTextMaxCount, &band, getTextColour(window, labelTextColour),
                   staticTextFormat);
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
    .background = bodyColour,
    .section = staticSection,
    .draw = drawStatic,
    .accessibility = &staticAccessibility,
};
