// The plumbing that the drawn controls share: painting on request, text,
// plain shapes, cursors, notifications to the parent and the height clamp.
#include "controlplumbing.h"

#include <initializer_list>

#include "displayscale.h"
#include "themerecord.h"
#include "windowstate.h"

static const int textBufferSize = 512;

LRESULT answerByDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    if (width == wideText) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void drawOnRequest(HWND window, UINT message, WPARAM wParam, DrawFunction draw) {
    if (message == WM_PRINTCLIENT) {
        draw(window, reinterpret_cast<HDC>(wParam));
        return;
    }
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);
    if (target != nullptr) {
        draw(window, target);
    }
    EndPaint(window, &paint);
}

void restoreObject(HDC target, HGDIOBJ previous) {
    if (previous != nullptr) {
        SelectObject(target, previous);
    }
}

HFONT getWindowFont(HWND window) {
    return getThemeFont(getWindowTheme(window), getWindowDpi(window));
}

HGDIOBJ selectTextStyle(HDC target, HWND window, COLORREF colour) {
    HFONT font = getWindowFont(window);
    HGDIOBJ previous = font != nullptr ? SelectObject(target, font) : nullptr;
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, colour);
    return previous;
}

void drawWindowText(HDC target, HWND window, int maxCount, const RECT* box, COLORREF colour, UINT format) {
    wchar_t text[textBufferSize];
    if (maxCount > textBufferSize) {
        maxCount = textBufferSize;
    }
    GetWindowTextW(window, text, maxCount);
    HGDIOBJ previous = selectTextStyle(target, window, colour);
    RECT rectangle = *box;
    DrawTextW(target, text, -1, &rectangle, format);
    restoreObject(target, previous);
}

// The context's own pen and brush, coloured, hold the colours: no object is made.
void drawShape(HDC target, Shape shape, const RECT* box, COLORREF fill, COLORREF outline) {
    COLORREF previousFill = SetDCBrushColor(target, fill);
    COLORREF previousOutline = SetDCPenColor(target, outline);
    HGDIOBJ previousBrush = SelectObject(target, GetStockObject(DC_BRUSH));
    HGDIOBJ previousPen = SelectObject(target, GetStockObject(DC_PEN));
    if (shape == discShape) {
        Ellipse(target, box->left, box->top, box->right, box->bottom);
    } else {
        Rectangle(target, box->left, box->top, box->right, box->bottom);
    }
    restoreObject(target, previousPen);
    restoreObject(target, previousBrush);
    SetDCPenColor(target, previousOutline);
    SetDCBrushColor(target, previousFill);
}

void fillBox(HDC target, const RECT* box, COLORREF colour) {
    COLORREF previous = SetDCBrushColor(target, colour);
    FillRect(target, box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(target, previous);
}

void fillClientArea(HWND window, HDC target, ColourRole role) {
    RECT client;
    GetClientRect(window, &client);
    fillBox(target, &client, getWindowColour(window, role));
}

bool eraseInAppearance(HWND window, HDC target, ColourRole role) {
    if (getAppearance() == lightAppearance && getWindowColour(window, role) == getLightColour(role)) {
        return false;
    }
    fillClientArea(window, target, role);
    return true;
}

SIZE getWindowSize(HWND window) {
    RECT rectangle = {0, 0, 0, 0};
    GetWindowRect(window, &rectangle);
    SIZE size = {rectangle.right - rectangle.left, rectangle.bottom - rectangle.top};
    return size;
}

void chooseCursor(HWND window, CursorShape shape) {
    WindowState* state = findWindowState(window);
    if (state == nullptr || state->cursor.shape == shape) {
        return;
    }
    state->cursor.cursor = LoadCursorA(nullptr, shape == cursorHand ? IDC_HAND : IDC_ARROW);
    state->cursor.shape = shape;
}

void showChosenCursor(HWND window) {
    const WindowState* state = findWindowState(window);
    if (state != nullptr && state->cursor.shape != cursorNone) {
        SetCursor(state->cursor.cursor);
    }
}

static bool isMouseButtonDown(void) {
    for (int key : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2}) {
        if (GetKeyState(key) < 0) {
            return true;
        }
    }
    return false;
}

// The built-in theme has no hot look: a change of the hot item repaints
// nothing there.
static void showHotItem(HWND window, WindowState* state, int item) {
    if (state->hotItem == item) {
        return;
    }
    state->hotItem = item;
    if (getWindowTheme(window) != getBuiltInTheme()) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    }
}

void trackHotItem(HWND window, int item) {
    WindowState* state = findWindowState(window);
    if (state == nullptr) {
        return;
    }
    if (isMouseButtonDown()) {
        item = -1;
    }
    if (item >= 0 && !state->leaveTracked) {
        TRACKMOUSEEVENT request = {sizeof request, TME_LEAVE, window, 0};
        state->leaveTracked = TrackMouseEvent(&request) != FALSE;
    }
    showHotItem(window, state, item);
}

void leaveHotItem(HWND window) {
    WindowState* state = findWindowState(window);
    if (state != nullptr) {
        state->leaveTracked = false;
        showHotItem(window, state, -1);
    }
}

int getHotItem(HWND window) {
    const WindowState* state = findWindowState(window);
    return state != nullptr ? state->hotItem : -1;
}

int findWholeControl(HWND, LPARAM) {
    return 0;
}

void sendCommandToParent(HWND control, WPARAM wParam, LPARAM lParam) {
    SendMessageA(GetParent(control), WM_COMMAND, wParam, lParam);
}

void sendClickNotification(HWND control) {
    sendCommandToParent(control, (WPARAM)GetWindowLongPtrA(control, GWLP_ID), 0);
}

void clampHeightAgain(HWND control) {
    RECT client;
    GetClientRect(control, &client);
    clampHeight(control, MAKELPARAM(client.right, client.bottom));
}

void clampHeight(HWND control, LPARAM size) {
    int height = scaleLength(control, controlHeight);
    if (HIWORD(size) > height) {
        SetWindowPos(control, nullptr, 0, 0, LOWORD(size), height, SWP_NOMOVE);
    }
}
