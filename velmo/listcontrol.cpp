// "VelmoList": a column of text rows, each with the theme's marker bitmap at
// its left. The host adds rows by text and removes them by position.
#include <windows.h>

#include "accessibility.h"
#include "classrow.h"
#include "controlplumbing.h"
#include "displayscale.h"
#include "heaptext.h"
#include "list.h"
#include "themedrawing.h"

static const int firstRowTop = 15;
static const int rowStep = 25;
static const int markerLeft = 10;
static const int rowTextLeft = 35;
static const int rowTextRight = 85;
static const int rowTextHeight = 15;
static const COLORREF rowTextColour = RGB(80, 80, 80);
static const UINT rowTextFormat = DT_SINGLELINE | DT_VCENTER;
// Erasing as well leaves no stale pixels where rows moved up or went away.
static const UINT rowRedrawFlags = RDW_INVALIDATE | RDW_ERASE;
// The rows live in the user-data slot; the extra bytes are only reserved.
static const int reservedExtraBytes = 4;
static const COLORREF classBackground = RGB(255, 255, 255);

static void addRow(HWND window, const char* text) {
    ListItem* head = getWindowItems(window);
    if (head == nullptr || text == nullptr) {
        return;
    }
    char* copy = copyText(text);
    if (copy == nullptr) {
        return;
    }
    if (addToList(head, copy) == nullptr) {
        deleteText(copy);
        return;
    }
    RedrawWindow(window, nullptr, nullptr, rowRedrawFlags);
    notifyAccessibleEvent(window, EVENT_OBJECT_REORDER, CHILDID_SELF);
}

static void removeRow(HWND window, int position) {
    ListItem* head = getWindowItems(window);
    if (head != nullptr) {
        setWindowItems(window, removeFromList(head, position, deleteText));
    }
    RedrawWindow(window, nullptr, nullptr, rowRedrawFlags);
    notifyAccessibleEvent(window, EVENT_OBJECT_REORDER, CHILDID_SELF);
}

// Rows wholly outside the clip box (in a paint, the update rectangle) are
// passed over: drawing them would change no pixel. A missing marker draws
// nothing; the text still shows.
static void drawList(HWND window, HDC target) {
    int dpi = getWindowDpi(window);
    ThemeImage markerImage = findThemeImage(listMarker, dpi);
    RECT clip;
    if (GetClipBox(target, &clip) == ERROR) {
        return;
    }
    SIZE marker = getDrawnSize(&markerImage);
    int textHeight = scaleToDpi(rowTextHeight, dpi);
    int rowHeight = marker.cy > textHeight ? marker.cy : textHeight;
    int markerX = scaleToDpi(markerLeft, dpi);
    int step = scaleToDpi(rowStep, dpi);
    HGDIOBJ previousFont = selectTextStyle(target, window, rowTextColour);
    int top = scaleToDpi(firstRowTop, dpi);
    RECT box = {scaleToDpi(rowTextLeft, dpi), top, scaleToDpi(rowTextRight, dpi), top + textHeight};
    for (ListItem* item = getWindowItems(window); item != nullptr && box.top < clip.bottom; item = item->next) {
        if (item->data == nullptr) {
            continue;
        }
        if (box.top + rowHeight > clip.top) {
            RECT markerBox = {markerX, box.top, markerX + marker.cx, box.top + marker.cy};
            drawImage(target, &markerImage, &markerBox);
            DrawTextA(target, static_cast<const char*>(item->data), -1, &box, rowTextFormat);
        }
        OffsetRect(&box, 0, step);
    }
    restoreObject(target, previousFont);
}

// Each row reads as its text across the list's width, one row step tall.
static void describeRow(HWND window, int position, AccessibleItem* item) {
    int top = firstRowTop + position * rowStep;
    item->text = static_cast<const char*>(getWindowItemAt(window, position));
    item->box = {0, top, getWindowSize(window).cx, top + rowStep};
    item->states = STATE_SYSTEM_READONLY;
}

static const AccessibleControl listAccessibility = {
    ROLE_SYSTEM_LIST, STATE_SYSTEM_READONLY, nullptr, nullptr, nullptr,
    ROLE_SYSTEM_LISTITEM, countWindowItems, describeRow, nullptr, nullptr, false};

LRESULT CALLBACK listWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return createWindowItems(window);
    case WM_NCDESTROY:
        deleteWindowItems(window, deleteText);
        break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        drawOnRequest(window, message, wParam, drawList);
        return 0;
    case LB_ADDSTRING:
        addRow(window, reinterpret_cast<const char*>(lParam));
        return 0;
    case LB_DELETESTRING:
        removeRow(window, static_cast<int>(wParam));
        return 0;
    }
    LRESULT result;
    if (handleAccessibilityMessage(window, message, wParam, lParam, &listAccessibility, &result)) {
        return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

extern const ClassRow listClassRow = {VELMO_LIST_CLASS, listWindowProcedure, reservedExtraBytes, classBackground,
                                      IDC_ARROW};
