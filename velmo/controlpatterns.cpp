// The drawing and input patterns that the button defines and the tab menu,
// the link and the frame reuse.
#include "controlpatterns.h"

#include "velmo.h"

static const int textBufferSize = 512;

void lookUpBitmaps(const char* listName, const char* const names[], HBITMAP bitmaps[], int count) {
    for (int index = 0; index < count; index++) {
        if (bitmaps[index] == nullptr) {
            bitmaps[index] = getControlBitmap(listName, names[index]);
        }
    }
}

SIZE getBitmapSize(HBITMAP bitmap) {
    SIZE size = {0, 0};
    BITMAP record;
    if (bitmap != nullptr && GetObjectA(bitmap, sizeof record, &record) != 0) {
        size.cx = record.bmWidth;
        size.cy = record.bmHeight;
    }
    return size;
}

void drawBitmap(HDC target, HDC memory, HBITMAP bitmap, const RECT* destination, SIZE source) {
    if (bitmap == nullptr || memory == nullptr) {
        return;
    }
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (previous == nullptr) {
        return;
    }
    StretchBlt(target, destination->left, destination->top, destination->right - destination->left,
               destination->bottom - destination->top, memory, 0, 0, source.cx, source.cy, SRCCOPY);
    SelectObject(memory, previous);
}

static void drawCap(HDC target, HDC memory, HBITMAP cap, int x, const StripLayout* layout) {
    SIZE own = getBitmapSize(cap);
    SIZE source = layout->capSource.cx != 0 ? layout->capSource : own;
    int height = layout->capHeight != 0 ? layout->capHeight : own.cy;
    RECT destination = {x, 0, x + own.cx, height};
    drawBitmap(target, memory, cap, &destination, source);
}

void drawThreeSliceStrip(HDC target, HDC memory, const StripSlices* slices, int x, int width,
                         const StripLayout* layout) {
    SIZE middle = getBitmapSize(slices->middle);
    SIZE source = layout->middleSource.cx != 0 ? layout->middleSource : middle;
    int middleWidth = layout->middleShortenedByItsWidth ? width - middle.cx : width;
    int middleHeight = layout->middleHeight != 0 ? layout->middleHeight : middle.cy;
    RECT destination = {x, 0, x + middleWidth, middleHeight};
    drawBitmap(target, memory, slices->middle, &destination, source);
    drawCap(target, memory, slices->left, x, layout);
    drawCap(target, memory, slices->right, x + width - getBitmapSize(slices->right).cx, layout);
}

void drawWindowText(HDC target, HWND window, int maxCount, const RECT* box, COLORREF colour, UINT format) {
    char text[textBufferSize];
    if (maxCount > textBufferSize) {
        maxCount = textBufferSize;
    }
    GetWindowTextA(window, text, maxCount);
    HFONT font = getMainFont();
    HGDIOBJ previous = font != nullptr ? SelectObject(target, font) : nullptr;
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, colour);
    RECT rectangle = *box;
    DrawTextA(target, text, -1, &rectangle, format);
    if (previous != nullptr) {
        SelectObject(target, previous);
    }
}

SIZE getWindowSize(HWND window) {
    RECT rectangle = {0, 0, 0, 0};
    GetWindowRect(window, &rectangle);
    SIZE size = {rectangle.right - rectangle.left, rectangle.bottom - rectangle.top};
    return size;
}

void chooseCursor(CursorChoice* choice, int shape) {
    if (choice->cursorSet == shape) {
        return;
    }
    choice->newCursor = LoadCursorA(nullptr, shape == cursorHand ? IDC_HAND : IDC_ARROW);
    choice->cursorSet = shape;
}

void showChosenCursor(const CursorChoice* choice) {
    if (choice->cursorSet != cursorNone) {
        SetCursor(choice->newCursor);
    }
}

void sendCommandToParent(HWND control, WPARAM wParam, LPARAM lParam) {
    SendMessageA(GetParent(control), WM_COMMAND, wParam, lParam);
}

void sendClickNotification(HWND control) {
    sendCommandToParent(control, (WPARAM)GetWindowLongA(control, GWL_ID), 0);
}

void clampHeight(HWND control, LPARAM size) {
    if (HIWORD(size) > controlHeight) {
        SetWindowPos(control, nullptr, 0, 0, LOWORD(size), controlHeight, SWP_NOMOVE);
    }
}
