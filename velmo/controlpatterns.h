// What the bitmap-drawn, clickable controls share: the paint cycle, the
// three-slice strip, the hand cursor, the click notification, the height clamp
// and the caption.
#ifndef VELMO_CONTROLPATTERNS_H
#define VELMO_CONTROLPATTERNS_H

#include <windows.h>

#include "theme.h"

// The height that the button and the tab menu draw and clamp to.
const int controlHeight = 34;

// A control's drawing of its whole client area into target, whether target is
// its paint context or one that WM_PRINTCLIENT gives.
typedef void (*DrawFunction)(HWND window, HDC target);

// Answers WM_PAINT, with draw between BeginPaint and EndPaint, and
// WM_PRINTCLIENT, with draw on the context in wParam.
void drawOnRequest(HWND window, UINT message, WPARAM wParam, DrawFunction draw);

// Puts back the object that a SelectObject replaced; a null one (nothing was
// selected) is passed over.
void restoreObject(HDC target, HGDIOBJ previous);

// Prepares target for text in the shared font, in colour, on a transparent
// background; returns what restoreObject needs to put the old font back.
HGDIOBJ selectTextStyle(HDC target, COLORREF colour);

// The theme bitmap of that row, looked up in the registry at the first call
// and kept; a miss gives null (nothing to draw) and is looked up again at the
// next call.
HBITMAP findThemeBitmap(ThemeBitmap which);

// The bitmap's own size; 0 x 0 for a null bitmap.
SIZE getBitmapSize(HBITMAP bitmap);

// Copies the top-left source area of bitmap into the destination rectangle of
// target, stretched; a null bitmap draws nothing. The bitmap's pixels are read
// at its first draw and kept for the life of the process.
void drawBitmap(HDC target, HBITMAP bitmap, const RECT* destination, SIZE source);

// The three bitmaps of a strip: caps drawn over the ends of a stretched middle.
struct StripSlices {
    HBITMAP left;
    HBITMAP middle;
    HBITMAP right;
};

// How a strip reads and places its slices. A size or height of 0 stands for
// the slice's own; caps are always as wide as their own bitmap.
struct StripLayout {
    SIZE middleSource;
    SIZE capSource;
    int middleHeight;
    int capHeight;
    // The frame's header leaves the middle short by the middle's own width.
    bool middleShortenedByItsWidth;
};

// The slices whose left one is left; the middle and right follow it.
StripSlices findStripSlices(ThemeBitmap left);

// Draws the middle, then the left cap at x, then the right cap ending at
// x + width, all from the top of target.
void drawThreeSliceStrip(HDC target, const StripSlices* slices, int x, int width,
                         const StripLayout* layout);

// Draws the window's text (at most maxCount - 1 characters) in the shared font
// with a transparent background.
void drawWindowText(HDC target, HWND window, int maxCount, const RECT* box, COLORREF colour, UINT format);

// The window rectangle's width and height.
SIZE getWindowSize(HWND window);

// A cursor shape that a control chose for the next WM_SETCURSOR.
enum CursorShape { cursorNone, cursorArrow, cursorHand };

// One control source's cursor choice, shared by all its windows.
struct CursorChoice {
    HCURSOR newCursor;
    int cursorSet;
};

// Loads the shape's system cursor when it differs from the one chosen before;
// the pointer takes it at the next WM_SETCURSOR.
void chooseCursor(CursorChoice* choice, int shape);

// Shows the chosen cursor; before any choice the cursor is left alone.
void showChosenCursor(const CursorChoice* choice);

// Sends WM_COMMAND with these parameters to the control's parent; the parent's
// result is ignored.
void sendCommandToParent(HWND control, WPARAM wParam, LPARAM lParam);

// WM_COMMAND with the control's identifier, as read, and lParam 0.
void sendClickNotification(HWND control);

// Makes a control whose new client size is taller than controlHeight that
// tall; the null insert-after handle also raises it among its siblings.
void clampHeight(HWND control, LPARAM size);

#endif
