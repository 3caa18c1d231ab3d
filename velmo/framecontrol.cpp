// The frame (and the table, the same control under a second class name): a
// white panel with a grey outline, a header strip and a black caption, which
// passes every WM_COMMAND from its children on to its own parent.
#include "control.h"
#include "displayscale.h"
#include "themedrawing.h"
#include "velmo.h"

// The header is as tall as its bitmaps and stretches the whole middle.
static const StripLayout headerStrip = {{0, 0}, {0, 0}, 0, 0, true};

static const COLORREF outlineColour = RGB(210, 210, 210);
static const int outlineWidth = 1;
static const int captionLeft = 10;
static const int captionTop = 2;
static const int captionBottom = 24;
static const int captionMaxCount = 255;
static const COLORREF captionColour = RGB(0, 0, 0);
static const UINT captionFormat = DT_SINGLELINE | DT_VCENTER;
static const COLORREF classBackground = RGB(255, 255, 255);

// The interior takes the context's current brush, by default white. Without
// a pen only the outline is missing: the interior is still filled.
static void drawPanel(HDC target, SIZE size) {
    HPEN outline = CreatePen(PS_SOLID, outlineWidth, outlineColour);
    if (outline == nullptr) {
        RECT interior = {outlineWidth, outlineWidth, size.cx - outlineWidth, size.cy - outlineWidth};
        FillRect(target, &interior, static_cast<HBRUSH>(GetCurrentObject(target, OBJ_BRUSH)));
        return;
    }
    HGDIOBJ previous = SelectObject(target, outline);
    Rectangle(target, 0, 0, size.cx, size.cy);
    restoreObject(target, previous);
    DeleteObject(outline);
}

static void drawFrame(HWND window, HDC target) {
    SIZE size = getWindowSize(window);
    drawPanel(target, size);
    int dpi = getWindowDpi(window);
    StripSlices header = findStripSlices(frameLeft, dpi);
    drawThreeSliceStrip(target, &header, 0, size.cx, &headerStrip);
    RECT caption = {scaleToDpi(captionLeft, dpi), scaleToDpi(captionTop, dpi), size.cx,
                    scaleToDpi(captionBottom, dpi)};
    drawWindowText(target, window, captionMaxCount, &caption, captionColour, captionFormat);
}

static const AccessibleControl frameAccessibility = {.role = ROLE_SYSTEM_GROUPING};

extern const Control frameControl;

static LRESULT handleFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    switch (message) {
    case WM_COMMAND:
        sendCommandToParent(window, wParam, lParam);
        return 0;
    }
    return handleControlMessage(window, message, wParam, lParam, width, &frameControl);
}

LRESULT CALLBACK frameWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return answerAnsiMessage(window, message, wParam, lParam, &frameControl);
}

extern const Control frameControl = {
    .procedure = frameWindowProcedure,
    .wideProcedure = answerWideMessage<frameControl>,
    .handle = handleFrameMessage,
    .background = classBackground,
    // The dialog manager's Tab and arrow keys reach the controls inside a
    // frame only through a parent with WS_EX_CONTROLPARENT.
    .extendedStyle = WS_EX_CONTROLPARENT,
    .draw = drawFrame,
    .accessibility = &frameAccessibility,
};
