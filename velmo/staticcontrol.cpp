// "VelmoStatic": a label that draws its window text in dark grey, centred in
// a band at the top of the control.
#include <windows.h>

#include "accessibility.h"
#include "classrow.h"
#include "controlplumbing.h"
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

static const AccessibleControl staticAccessibility = {
    ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY, nullptr, nullptr, nullptr,
    0, nullptr, nullptr, nullptr, nullptr, false};

LRESULT CALLBACK staticWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        drawOnRequest(window, message, wParam, drawStatic);
        return 0;
    }
    LRESULT result;
    if (handleAccessibilityMessage(window, message, wParam, lParam, &staticAccessibility, &result)) {
        return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

extern const ClassRow staticClassRow = {VELMO_STATIC_CLASS, staticWindowProcedure, 0, classBackground, IDC_ARROW};
