// What the drawn controls share besides the theme: the paint cycle, text in
// the shared font, plain shapes and backgrounds, the window's size, a cursor chosen by the control, the
// WM_COMMAND sent to the parent, and the clamp of a control kept to one
// height.
#ifndef VELMO_CONTROLPLUMBING_H
#define VELMO_CONTROLPLUMBING_H

#include <windows.h>

#include "appearance.h"

// The height that the controls kept to one height draw and clamp to, at 96 DPI.
const int controlHeight = 34;

// How the text of one call to a control arrives: in the process's ANSI code
// page, through the exported procedures, or as UTF-16, through the wide
// procedure that each window takes when it is made. Default handling must
// read it the same way.
enum TextWidth { ansiText, wideText };

// DefWindowProcA or DefWindowProcW, as the call's text arrives.
LRESULT answerByDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width);

// A control's drawing of its whole client area into target, whether target is
// its paint context or one that WM_PRINTCLIENT gives.
typedef void (*DrawFunction)(HWND window, HDC target);

// Answers WM_PAINT, with draw between BeginPaint and EndPaint, and
// WM_PRINTCLIENT, with draw on the context in wParam.
void drawOnRequest(HWND window, UINT message, WPARAM wParam, DrawFunction draw);

// Puts back the object that a SelectObject replaced; a null one (nothing was
// selected) is passed over.
void restoreObject(HDC target, HGDIOBJ previous);

// The window's theme's font at its DPI.
HFONT getWindowFont(HWND window);

// Prepares target for text in the window's font, in colour,
// on a transparent background; returns what restoreObject needs to put the old
// font back.
HGDIOBJ selectTextStyle(HDC target, HWND window, COLORREF colour);

// Draws the window's text (at most maxCount - 1 UTF-16 units) in its font
// with a transparent background.
void drawWindowText(HDC target, HWND window, int maxCount, const RECT* box, COLORREF colour, UINT format);

// The shapes that the controls draw without bitmaps.
enum Shape { boxShape, discShape };

// Draws the shape filling box in fill, outlined one pixel wide in outline.
void drawShape(HDC target, Shape shape, const RECT* box, COLORREF fill, COLORREF outline);

void fillBox(HDC target, const RECT* box, COLORREF colour);

// Fills the window's client area in the role's colour, as WM_ERASEBKGND
// erases it.
void fillClientArea(HWND window, HDC target, ColourRole role);

// Outside the light appearance, whose class brushes are the light colours,
// fills the window's client area in the role's colour for WM_ERASEBKGND;
// false when it leaves the erasing to the class brush.
bool eraseInAppearance(HWND window, HDC target, ColourRole role);

// The window rectangle's width and height.
SIZE getWindowSize(HWND window);

// A cursor shape that a control chose for the next WM_SETCURSOR.
enum CursorShape { cursorNone, cursorArrow, cursorHand };

// A window's cursor choice: the shape chosen last and its loaded cursor.
struct CursorChoice {
    HCURSOR cursor;
    CursorShape shape;
};

// Loads the shape's system cursor when it differs from the one chosen before
// for the window; the pointer takes it at the next WM_SETCURSOR.
void chooseCursor(HWND window, CursorShape shape);

// Shows the window's chosen cursor; before any choice the cursor is left alone.
void showChosenCursor(HWND window);

// The item under the pointer, drawn hot: item at a mouse move, press or
// release (-1 where no item is, or while a mouse button is down), and none
// from the WM_MOUSELEAVE that trackHotItem asks the system for. The control
// repaints only when the hot item changes.
void trackHotItem(HWND window, int item);
void leaveHotItem(HWND window);

// The hot item; -1 for none.
int getHotItem(HWND window);

// The item of a control without items: the control itself, 0.
int findWholeControl(HWND window, LPARAM point);

// Sends WM_COMMAND with these parameters to the control's parent; the parent's
// result is ignored.
void sendCommandToParent(HWND control, WPARAM wParam, LPARAM lParam);

// WM_COMMAND with the control's identifier, as read, and lParam 0.
void sendClickNotification(HWND control);

// Makes a control whose new client size is taller than controlHeight at its
// DPI that tall; the null insert-after handle also raises it among its siblings.
void clampHeight(HWND control, LPARAM size);

// The same for the control's present size, once its DPI has changed.
void clampHeightAgain(HWND control);

#endif
