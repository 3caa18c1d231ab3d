// "VelmoWindow": a borderless top-level window that drags from its inside,
// resizes from an 8-pixel band along its edges, has rounded corners (both at
// 96 DPI, scaled with the window's DPI), and hands every message to a
// procedure that the host installs with WM_USER.
#include <windows.h>

#include "control.h"
#include "displayscale.h"
#include "velmo.h"
#include "windowstate.h"

// The band counts columns 0..8 at the left and top, width-8..width-1 at the
// right and bottom.
static const int borderBand = 8;
static const int cornerEllipse = 10;

enum CursorType { arrowCursor, sizeNsCursor, sizeWeCursor, sizeNeswCursor, sizeNwseCursor };

// Indexed by CursorType.
static const LPCSTR zoneCursors[] = {IDC_ARROW, IDC_SIZENS, IDC_SIZEWE, IDC_SIZENESW, IDC_SIZENWSE};

enum Side { leftSide = 1, rightSide = 2, topSide = 4, bottomSide = 8 };

// The first zone whose sides all hold wins, so corners come before edges.
struct Zone {
    int sides;
    int changeType;
    CursorType cursorType;
};

static const Zone zones[] = {
    {leftSide | topSide, HTTOPLEFT, sizeNwseCursor},
    {rightSide | topSide, HTTOPRIGHT, sizeNeswCursor},
    {leftSide | bottomSide, HTBOTTOMLEFT, sizeNeswCursor},
    {rightSide | bottomSide, HTBOTTOMRIGHT, sizeNwseCursor},
    {leftSide, HTLEFT, sizeWeCursor},
    {rightSide, HTRIGHT, sizeWeCursor},
    {topSide, HTTOP, sizeNsCursor},
    {bottomSide, HTBOTTOM, sizeNsCursor},
    {0, HTCAPTION, arrowCursor},
};

// The state is kept in the window's record, not in the user-data slot, which
// stays the host's.
static WNDPROC getForwardTo(HWND window) {
    const WindowState* state = findWindowState(window);
    return state != nullptr ? state->forwardTo : nullptr;
}

// A window that hasn't seen the mouse yet drags when pressed.
static int getChangeType(HWND window) {
    const WindowState* state = findWindowState(window);
    return state != nullptr && state->changeType != 0 ? state->changeType : HTCAPTION;
}

static CursorType getCursorType(HWND window) {
    const WindowState* state = findWindowState(window);
    return state != nullptr ? static_cast<CursorType>(state->cursorType) : arrowCursor;
}

// The host's procedure takes ANSI text, as it always has: a wide call reaches
// it through the system's converting handle (see findAnsiCaller).
static LRESULT forwardMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    WNDPROC forwardTo = getForwardTo(window);
    if (forwardTo == nullptr) {
        return answerByDefault(window, message, wParam, lParam, width);
    }
    if (width == wideText) {
        return CallWindowProcW(forwardTo, window, message, wParam, lParam);
    }
    return CallWindowProcA(forwardTo, window, message, wParam, lParam);
}

// The coordinates are the unsigned 16-bit halves of lParam, so a negative one
// (while the mouse is captured) counts as past the right or bottom edge.
static void chooseZone(HWND window, int x, int y) {
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    int width = windowRect.right - windowRect.left;
    int height = windowRect.bottom - windowRect.top;
    int band = scaleLength(window, borderBand);
    int sides = 0;
    if (x <= band) {
        sides |= leftSide;
    }
    if (x >= width - band) {
        sides |= rightSide;
    }
    if (y <= band) {
        sides |= topSide;
    }
    if (y >= height - band) {
        sides |= bottomSide;
    }
    WindowState* state = findWindowState(window);
    for (const Zone& zone : zones) {
        if (state != nullptr && (zone.sides & sides) == zone.sides) {
            state->changeType = zone.changeType;
            state->cursorType = zone.cursorType;
            return;
        }
    }
}

static void showZoneCursor(HWND window) {
    SetCursor(LoadCursorA(nullptr, zoneCursors[getCursorType(window)]));
}

// Runs the system's move or resize loop as if the press were on a real
// caption or border; it returns when the button is released.
static void startMoveOrSize(HWND window) {
    SendMessageA(window, WM_NCLBUTTONDOWN, static_cast<WPARAM>(getChangeType(window)), 0);
}

// The window manager owns the region once it is set; only a refused one is ours to delete.
static void roundCorners(HWND window) {
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    int ellipse = scaleLength(window, cornerEllipse);
    HRGN region = CreateRoundRectRgn(0, 0, windowRect.right - windowRect.left, windowRect.bottom - windowRect.top,
                                     ellipse, ellipse);
    if (region != nullptr && SetWindowRgn(window, region, TRUE) == 0) {
        DeleteObject(region);
    }
}

// The window takes the place and size that the system suggests for its new
// DPI; the controls inside draw at the new DPI when they repaint. Without a
// suggestion it stays where it is.
static void moveToSuggestedRect(HWND window, const RECT* suggested) {
    if (suggested == nullptr) {
        return;
    }
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    roundCorners(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// What CallWindowProcW calls to hand the ANSI procedure a wide message, its
// text converted, and CallWindowProcA calls as the procedure itself: the value
// that the system gives for the procedure as a window's wide procedure. The
// window holds the procedure for as long as it takes to read that, and no
// message comes in between.
static WNDPROC findAnsiCaller(HWND window, WNDPROC procedure) {
    bool wide = IsWindowUnicode(window) != FALSE;
    LONG_PTR own = wide ? GetWindowLongPtrW(window, GWLP_WNDPROC) : GetWindowLongPtrA(window, GWLP_WNDPROC);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    LONG_PTR caller = GetWindowLongPtrW(window, GWLP_WNDPROC);
    if (wide) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, own);
    } else {
        SetWindowLongPtrA(window, GWLP_WNDPROC, own);
    }
    return reinterpret_cast<WNDPROC>(caller);
}

// A window without a record goes on to the default window procedure, with
// no creation notice.
static LRESULT installProcedure(HWND window, WPARAM wParam, LPARAM lParam, TextWidth width) {
    WindowState* state = findWindowState(window);
    if (state == nullptr) {
        return answerByDefault(window, WM_USER, wParam, lParam, width);
    }
    WNDPROC procedure = reinterpret_cast<WNDPROC>(wParam);
    state->forwardTo = findAnsiCaller(window, procedure);
    CallWindowProcA(procedure, window, WM_CREATE, 0, 0);
    return CallWindowProcA(procedure, window, WM_USER, wParam, lParam);
}

extern const Control windowControl;

static LRESULT handleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    switch (message) {
    case WM_MOUSEMOVE:
        chooseZone(window, LOWORD(lParam), HIWORD(lParam));
        return forwardMessage(window, message, wParam, lParam, width);
    case WM_SETCURSOR:
        showZoneCursor(window);
        return 0;
    case WM_LBUTTONDOWN:
        startMoveOrSize(window);
        return forwardMessage(window, message, wParam, lParam, width);
    case WM_NCCREATE:
        listenForAppearanceChanges();
        return forwardMessage(window, message, wParam, lParam, width);
    case WM_ERASEBKGND:
        if (eraseInAppearance(window, reinterpret_cast<HDC>(wParam), bodyColour)) {
            return 1;
        }
        return forwardMessage(window, message, wParam, lParam, width);
    case WM_THEMECHANGED:
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return forwardMessage(window, message, wParam, lParam, width);
    case WM_SIZE:
        roundCorners(window);
        return forwardMessage(window, message, wParam, lParam, width);
    case WM_DPICHANGED:
        moveToSuggestedRect(window, reinterpret_cast<const RECT*>(lParam));
        return forwardMessage(window, message, wParam, lParam, width);
    case WM_USER:
        // Without a procedure it is the dialog manager's DM_GETDEFID, which
        // has WM_USER's number, for the installed procedure to answer.
        if (wParam != 0) {
            return installProcedure(window, wParam, lParam, width);
        }
        return forwardMessage(window, message, wParam, lParam, width);
    default:
        return forwardMessage(window, message, wParam, lParam, width);
    }
}

LRESULT CALLBACK dialogWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return answerAnsiMessage(window, message, wParam, lParam, &windowControl);
}

// It hands every message to the host's procedure rather than answering as
// the controls do, and readers see it as the system describes a window.
extern const Control windowControl = {
    .procedure = dialogWindowProcedure,
    .wideProcedure = answerWideMessage<windowControl>,
    .handle = handleWindowMessage,
    .background = bodyColour,
    .section = windowSection,
};
