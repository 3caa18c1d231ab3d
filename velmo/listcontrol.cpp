// "VelmoList": a column of text rows, each with the theme's marker bitmap at
// its left. The host adds rows by text and removes them by position.
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
// Erasing as well leaves no stale pixels where rows moved up or went away.
static const UINT rowRedrawFlags = RDW_INVALIDATE | RDW_ERASE;
// The rows live in the user-data slot; the extra bytes are only reserved.
static const int reservedExtraBytes = 4;

// The row holds the ANSI copy of its text; the wide one is kept beside it.
static const char* getRowText(const void* row) {
    return static_cast<const char*>(row);
}

static void addRow(HWND window, const void* text, TextWidth width) {
    ListItem* head = getWindowItems(window);
    ItemText copies;
    if (head == nullptr || text == nullptr || !makeItemText(text, width, &copies)) {
        return;
    }
    if (addToList(head, copies.ansi) == nullptr) {
        deleteItemText(&copies);
        return;
    }
    keepItemText(findWindowState(window), head, countWindowItems(window) - 1, copies.ansi, copies.ansi, copies.wide);
    RedrawWindow(window, nullptr, nullptr, rowRedrawFlags);
    notifyAccessibleEvent(window, EVENT_OBJECT_REORDER, CHILDID_SELF);
}

static void removeRow(HWND window, int position) {
    ListItem* head = getWindowItems(window);
    if (head != nullptr) {
        dropItemText(findWindowState(window), position, countWindowItems(window));
        setWindowItems(window, removeFromList(head, position, deleteText));
    }
    RedrawWindow(window, nullptr, nullptr, rowRedrawFlags);
    notifyAccessibleEvent(window, EVENT_OBJECT_REORDER, CHILDID_SELF);
}

// The box of the row at this position, at a DPI already read, in a list this
// wide: the list's width, from the row's top to the next row's. The drawing
// and readers take the row from here; a point is in it when top <= y < bottom.
static RECT getRowBoxAtDpi(int position, int dpi, int width) {
    int top = scaleToDpi(firstRowTop + position * rowStep, dpi);
    return {0, top, width, scaleToDpi(firstRowTop + (position + 1) * rowStep, dpi)};
}

// The same at the window's DPI, in its client coordinates.
static RECT getRowBox(HWND window, int position) {
    return getRowBoxAtDpi(position, getWindowDpi(window), getWindowSize(window).cx);
}

// Rows wholly outside the clip box (in a paint, the update rectangle) are
// passed over: drawing them would change no pixel. The marker stands at the
// row's top, the text in a 50 x 15 box beside it, cut at its right edge. A
// missing marker draws nothing; the text still shows.
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
    int textRight = scaleToDpi(rowTextRight, dpi);
    int width = getWindowSize(window).cx;
    COLORREF textColour = getTextColour(window, labelTextColour);
    HGDIOBJ previousFont = selectTextStyle(target, window, textColour);
    WindowState* state = findWindowState(window);
    ListItem* items = getWindowItems(window);
    int position = 0;
    for (ListItem* item = items; item != nullptr; item = item->next) {
        if (item->data == nullptr) {
            continue;
        }
        int drawn = position;
        RECT row = getRowBoxAtDpi(position++, dpi, width);
        if (row.top >= clip.bottom) {
            break;
        }
        if (row.top + drawnHeight > clip.top) {
            RECT markerBox = {markerX, row.top, markerX + marker.cx, row.top + marker.cy};
            drawGlyph(target, &markerImage, &markerBox, textColour);
            RECT textBox = {textLeft, row.top, textRight, row.top + textHeight};
            const char* text = getRowText(item->data);
            drawItemText(target, findItemText(state, items, drawn, item->data, text), text, &textBox,
                         rowTextFormat);
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
        return createWindowItems(window);
    case WM_NCDESTROY:
        deleteWindowItems(window, deleteText);
        break;
    case LB_ADDSTRING:
        addRow(window, reinterpret_cast<const void*>(lParam), width);
        return 0;
    case LB_DELETESTRING:
        removeRow(window, static_cast<int>(wParam));
        return 0;
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
