// The frame (and the table, the same control under a second class name): a
// panel with an outline, a header strip and a caption, which
// passes every WM_COMMAND from its children on to its own parent.
#include "control.h"
#include "displayscale.h"
#include "themedrawing.h"
#include "velmo.h"

// The header is as tall as its bitmaps and stretches the whole middle.
static const StripLayout headerStrip = {{0, 0}, {0, 0}, 0, 0, true};

static const int captionLeft = 10;
static const int captionTop = 2;
static const int captionBottom = 24;
static const int captionMaxCount = 255;
static const UINT captionFormat = DT_SINGLELINE | DT_VCENTER;

static void drawPanel(HWND window, HDC target, SIZE size) {
    RECT panel = {0, 0, size.cx, size.cy};
    drawShape(target, boxShape, &panel, getWindowColour(window, bodyColour), getColour(outlineColour));
}

static void drawFrame(HWND window, HDC target) {
    SIZE size = getWindowSize(window);
    drawPanel(window, target, size);
    int dpi = getWindowDpi(window);
    StripSlices header = findStripSlices(getWindowTheme(window), frameLeft, dpi);
    drawThreeSliceStrip(target, &header, 0, size.cx, &headerStrip);
    RECT caption = {scaleToDpi(captionLeft, dpi), scaleToDpi(captionTop, dpi), size.cx,
                    scaleToDpi(captionBottom, dpi)};
    drawWindowText(target, window, captionMaxCount, &caption, getTextColour(window, bodyTextColour), captionFormat);
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
    .background = bodyColour,
    .section = frameSection,
    // The dialog manager's Tab and arrow keys reach the controls inside a
    // frame only through a parent with WS_EX_CONTROLPARENT.
    .extendedStyle = WS_EX_CONTROLPARENT,
    .draw = drawFrame,
    .accessibility = &frameAccessibility,
};
