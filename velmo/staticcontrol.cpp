// "VelmoStatic": a label that draws its window text in dark grey, centred in
// a band at the top of the control.
#include <windows.h>

#include "velmo.h"

static const COLORREF staticTextColour = RGB(80, 80, 80);
static const int staticTextBandHeight = 20;
// At most 510 characters are drawn: the count passed leaves a spare byte.
static const int staticTextBufferSize = 512;
static const int staticTextMaxCount = staticTextBufferSize - 1;
static const UINT staticTextFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

static void paintStatic(HWND window) {
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr) {
        return;
    }
    HFONT font = getMainFont();
    HGDIOBJ previousFont = font != nullptr ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, staticTextColour);
    char text[staticTextBufferSize];
    GetWindowTextA(window, text, staticTextMaxCount);
    RECT band = {0, 0, windowRect.right - windowRect.left, staticTextBandHeight};
    DrawTextA(dc, text, -1, &band, staticTextFormat);
    if (previousFont != nullptr) {
        SelectObject(dc, previousFont);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK staticWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paintStatic(window);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
