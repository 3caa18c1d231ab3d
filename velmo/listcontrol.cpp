// "VelmoList": a column of text rows, each with the theme's marker bitmap at
// its left. The host adds rows by text and removes them by position; with
// WS_VSCROLL the rows scroll under the system's scroll bar.
#include <windows.h>

#include "control.h"
#include "displayscale.h"
#include "heaptext.h"
#include "itemtext.h"
#include "list.h"
#include "themedrawing.h"

static const int firstRowTop = 15;
static const int rowStep = 25;
static const int markerLeft = 10;
static const int rowTextLeft = 35;
static const int rowTextRight = 85;
static const int rowTextHeight = 15;
static const UINT rowTextFormat = DT_SINGLELINE | DT_VCENTER;
// With VELMO_LIST_WIDE_ROWS the text ends this far before the right edge.
static const int wideRowMargin = 10;
static const UINT wideRowTextFormat = rowTextFormat | DT_END_ELLIPSIS;
// Wheel lines per notch when the system can't say.
static const UINT defaultWheelLines = 3;
// Erasing as well leaves no stale pixels where rows moved up or went away.
static const UINT rowRedrawFlags = RDW_INVALIDATE | RDW_ERASE;
// The rows live in the user-data slot; the extra bytes are only reserved.
static const int reservedExtraBytes = 4;

// The row holds the ANSI copy of its text; the wide one is kept beside it.
static const char* getRowText(const void* row) {
    return static_cast<const char*>(row);
}

static bool scrolls(HWND window) {
    WindowState* state = findWindowState(window);
    return state != nullptr && state->scrollsRows;
}

// The style, read before the first SetScrollInfo, says whether the rows scroll.
static LRESULT createList(HWND window) {
    WindowState* state = findWindowState(window);
    if (state != nullptr) {
        state->scrollsRows = (GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL) != 0;
    }
    return createWindowItems(window);
}

// The first row in view; always 0 without WS_VSCROLL.
static int getTopRow(HWND window) {
    WindowState* state = findWindowState(window);
    return state != nullptr ? state->topRow : 0;
}

// The box of the row this many rows below the top one, at a DPI already read,
// in a list this wide: the list's width, from the row's top to the next
// row's. A point is in it when top <= y < bottom.
static RECT getRowBoxAtDpi(int shown, int dpi, int width) {
    int top = scaleToDpi(firstRowTop + shown * rowStep, dpi);
    return {0, top, width, scaleToDpi(firstRowTop + (shown + 1) * rowStep, dpi)};
}

// The box of the row at this position at the window's DPI, in its client
// coordinates, where it stands with the view scrolled: the drawing, the
// scroll bar and readers take the row from here.
static RECT getRowBox(HWND window, int position) {
    return getRowBoxAtDpi(position - getTopRow(window), getWindowDpi(window), getWindowSize(window).cx);
}

// The rows that the client area shows whole; at least one.
static int countRowsInView(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    int dpi = getWindowDpi(window);
    int rows = 0;
    while (getRowBoxAtDpi(rows, dpi, 0).bottom <= client.bottom) {
        rows++;
    }
    return rows > 0 ? rows : 1;
}

// The system scroll bar's range is the rows, its page the rows in view. The
// bar is drawn at the next paint of the frame, not at once: a host adding
// rows one by one would otherwise wait for a drawing of the bar per row.
static void updateScrollBar(HWND window, int count) {
    SCROLLINFO bar = {sizeof bar, SIF_RANGE | SIF_PAGE | SIF_POS, 0, count > 0 ? count - 1 : 0,
                      static_cast<UINT>(countRowsInView(window)), getTopRow(window), 0};
    SetScrollInfo(window, SB_VERT, &bar, FALSE);
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

// Makes top, clamped so that the last row stands at the bottom at most, the
// first row in view, among count rows.
static void scrollToRow(HWND window, int top, int count) {
    WindowState* state = findWindowState(window);
    if (state == nullptr || !scrolls(window)) {
        return;
    }
    int last = count - countRowsInView(window);
    top = top < last ? top : last;
    top = top > 0 ? top : 0;
    if (top != state->topRow) {
        state->topRow = top;
        RedrawWindow(window, nullptr, nullptr, rowRedrawFlags);
    }
    updateScrollBar(window, count);
}

// A row added while the last row is in view brings the view along, as a
// log or a chat does.
static LRESULT insertRow(HWND window, int position, const void* text, TextWidth width) {
    ItemText copies;
    if (text == nullptr || !makeItemText(text, width, &copies)) {
        return LB_ERR;
    }
    LRESULT inserted = insertItem(window, position, copies.ansi, copies.ansi, copies.wide);
    if (inserted == LB_ERR) {
        deleteItemText(&copies);
        return LB_ERR;
    }
    if (scrolls(window)) {
        int count = position == -1 ? static_cast<int>(inserted) + 1 : countWindowItems(window);
        int top = getTopRow(window);
        int shown = countRowsInView(window);
        scrollToRow(window, count - 1 <= top + shown && count > shown ? count - shown : top, count);
    }
    showItemsChanged(window, rowRedrawFlags);
    return inserted;
}

static void removeRow(HWND window, int position) {
    removeItem(window, position, deleteText);
    scrollToRow(window, getTopRow(window), countWindowItems(window));
    showItemsChanged(window, rowRedrawFlags);
}

static void removeEveryRow(HWND window) {
    removeAllItems(window, deleteText);
    scrollToRow(window, 0, 0);
    showItemsChanged(window, rowRedrawFlags);
}

// The scroll bar's arrows, track and thumb. A drag reads the thumb's place
// from the bar itself, which holds more than the 16 bits of wParam.
static void scrollByBar(HWND window, WPARAM request) {
    int top = getTopRow(window);
    int shown = countRowsInView(window);
    int count = countWindowItems(window);
    SCROLLINFO bar = {sizeof bar, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    switch (LOWORD(request)) {
    case SB_LINEUP:
        top--;
        break;
    case SB_LINEDOWN:
        top++;
        break;
    case SB_PAGEUP:
        top -= shown;
        break;
    case SB_PAGEDOWN:
        top += shown;
        break;
    case SB_TOP:
        top = 0;
        break;
    case SB_BOTTOM:
        top = count;
        break;
    case SB_THUMBTRACK:
        GetScrollInfo(window, SB_VERT, &bar);
        top = bar.nTrackPos;
        break;
    case SB_THUMBPOSITION:
        top = HIWORD(request);
        break;
    default:
        return;
    }
    scrollToRow(window, top, count);
}

// Each notch scrolls the system's lines per notch (a page at most, or a page
// for WHEEL_PAGESCROLL); a partial delta waits for the rest.
static void scrollByWheel(HWND window, WPARAM wParam) {
    WindowState* state = findWindowState(window);
    UINT lines = defaultWheelLines;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    int shown = countRowsInView(window);
    int perNotch = lines == WHEEL_PAGESCROLL || lines > static_cast<UINT>(shown) ? shown : static_cast<int>(lines);
    if (state == nullptr || perNotch == 0) {
        return;
    }
    state->wheelDelta += GET_WHEEL_DELTA_WPARAM(wParam);
    int rows = state->wheelDelta * perNotch / WHEEL_DELTA;
    state->wheelDelta -= rows * WHEEL_DELTA / perNotch;
    if (rows != 0) {
        scrollToRow(window, state->topRow - rows, countWindowItems(window));
    }
}

// LB_SETTOPINDEX: clamped past the end, LB_ERR for a negative row.
static LRESULT setTopRow(HWND window, WPARAM row) {
    if (static_cast<int>(row) < 0) {
        return LB_ERR;
    }
    scrollToRow(window, static_cast<int>(row), countWindowItems(window));
    return 0;
}

// The rows drawn: from the top row to the last that starts inside the client
// area. The others read as offscreen and invisible.
static bool isRowInView(HWND window, int position, const RECT* row) {
    RECT client;
    GetClientRect(window, &client);
    return position >= getTopRow(window) && row->top < client.bottom;
}

// Rows above the view and rows wholly outside the clip box (in a paint, the
// update rectangle) are passed over: drawing them would change no pixel. The
// marker stands at the row's top, the text in a 50 x 15 box beside it, cut at
// its right edge (with VELMO_LIST_WIDE_ROWS, up to the margin before the
// list's right edge, ending in an ellipsis). A missing marker draws nothing;
// the text still shows.
static void drawList(HWND window, HDC target) {
    int dpi = getWindowDpi(window);
    ThemeImage markerImage = findThemeImage(getWindowTheme(window), listMarker, dpi);
    RECT clip;
    if (GetClipBox(target, &clip) == ERROR) {
        return;
    }
    SIZE marker = getDrawnSize(&markerImage);
    int textHeight = scaleToDpi(rowTextHeight, dpi);
    int drawnHeight = marker.cy > textHeight ? marker.cy : textHeight;
    int markerX = scaleToDpi(markerLeft, dpi);
    int textLeft = scaleToDpi(rowTextLeft, dpi);
    bool wide = (GetWindowLongPtrW(window, GWL_STYLE) & VELMO_LIST_WIDE_ROWS) != 0;
    RECT client;
    GetClientRect(window, &client);
    int textRight = wide ? client.right - scaleToDpi(wideRowMargin, dpi) : scaleToDpi(rowTextRight, dpi);
    UINT textFormat = wide ? wideRowTextFormat : rowTextFormat;
    int width = getWindowSize(window).cx;
    int top = getTopRow(window);
    COLORREF textColour = getTextColour(window, labelTextColour);
    HGDIOBJ previousFont = selectTextStyle(target, window, textColour);
    WindowState* state = findWindowState(window);
    ListItem* items = getWindowItems(window);
    int position = 0;
    for (ListItem* item = items; item != nullptr; item = item->next) {
        if (item->data == nullptr || position++ < top) {
            continue;
        }
        int drawn = position - 1;
        RECT row = getRowBoxAtDpi(drawn - top, dpi, width);
        if (row.top >= clip.bottom) {
            break;
        }
        if (row.top + drawnHeight > clip.top) {
            RECT markerBox = {markerX, row.top, markerX + marker.cx, row.top + marker.cy};
            drawGlyph(target, &markerImage, &markerBox, textColour);
            RECT textBox = {textLeft, row.top, textRight, row.top + textHeight};
            const char* text = getRowText(item->data);
            drawItemText(target, findItemText(state, items, drawn, item->data, text), text, &textBox, textFormat);
        }
    }
    restoreObject(target, previousFont);
}

static void describeRow(HWND window, int position, AccessibleItem* item) {
    const void* row = getWindowItemAt(window, position);
    item->text = getRowText(row);
    item->wideText = findItemText(findWindowState(window), getWindowItems(window), position, row, item->text);
    item->box = getRowBox(window, position);
    item->states = STATE_SYSTEM_READONLY;
    if (!isRowInView(window, position, &item->box)) {
        item->states |= STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_INVISIBLE;
    }
}

static const AccessibleControl listAccessibility = {.role = ROLE_SYSTEM_LIST,
                                                    .states = STATE_SYSTEM_READONLY,
                                                    .itemRole = ROLE_SYSTEM_LISTITEM,
                                                    .countItems = countWindowItems,
                                                    .describeItem = describeRow};

extern const Control listControl;

static LRESULT handleListMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    switch (message) {
    case WM_CREATE:
        return createList(window);
    case WM_NCDESTROY:
        deleteWindowItems(window, deleteText);
        break;
    case LB_ADDSTRING:
        insertRow(window, -1, reinterpret_cast<const void*>(lParam), width);
        return 0;
    case LB_INSERTSTRING:
        return insertRow(window, static_cast<int>(wParam), reinterpret_cast<const void*>(lParam), width);
    case LB_DELETESTRING:
        removeRow(window, static_cast<int>(wParam));
        return 0;
    case LB_RESETCONTENT:
        removeEveryRow(window);
        return 0;
    case LB_GETCOUNT:
        return countWindowItems(window);
    case LB_GETTEXTLEN:
    case LB_GETTEXT: {
        const void* row = getWindowItemAt(window, static_cast<int>(wParam));
        return answerItemText(window, message, static_cast<int>(wParam), row, getRowText(row), lParam, width);
    }
    case LB_GETTOPINDEX:
        return getTopRow(window);
    case LB_SETTOPINDEX:
        return setTopRow(window, wParam);
    case WM_SIZE:
        scrollToRow(window, getTopRow(window), countWindowItems(window));
        break;
    case WM_VSCROLL:
        scrollByBar(window, wParam);
        return 0;
    case WM_MOUSEWHEEL:
        if (scrolls(window)) {
            scrollByWheel(window, wParam);
            return 0;
        }
        break;
    }
    return handleControlMessage(window, message, wParam, lParam, width, &listControl);
}

LRESULT CALLBACK listWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return answerAnsiMessage(window, message, wParam, lParam, &listControl);
}

extern const Control listControl = {
    .procedure = listWindowProcedure,
    .wideProcedure = answerWideMessage<listControl>,
    .handle = handleListMessage,
    .extraBytes = reservedExtraBytes,
    .background = bodyColour,
    .section = listSection,
    // Both an ANSI and a wide sender's LB_ADDSTRING text reach the wide
    // procedure as UTF-16 (see the tab menu's).
    .style = LBS_HASSTRINGS,
    .draw = drawList,
    .accessibility = &listAccessibility,
};
