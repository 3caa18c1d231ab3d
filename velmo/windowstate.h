// Everything that the library keeps for one control window, in one private
// record: made as the window is made (WM_NCCREATE), freed as it goes
// (WM_NCDESTROY), and found from the window's handle in constant time without
// a call to the window server. The user-data slot keeps what hosts read (the
// tab menu's and the list's items, the button's pressed flag); the record
// holds the rest; a window given a theme of its own finds it in the theme
// records' table (themerecord.h), as a host's window does.
#ifndef VELMO_WINDOWSTATE_H
#define VELMO_WINDOWSTATE_H

#include <windows.h>

#include "controlplumbing.h"

struct AccessibleObject;

// The UTF-16 copy of one item's text, beside the item that it belongs to
// and the ANSI text that it was made with: a copy is only drawn for the same
// item still holding the same text, so a host that edits the list through the
// exported functions never sees another item's text.
struct ItemTextCopy {
    const void* item;
    char* ansi;
    wchar_t* wide;
};

// The copies in the items' order: entry k for the item at position k.
struct ItemTextCopies {
    ItemTextCopy* entries;
    int count;
    int capacity;
};

struct WindowState {
    // Keyboard flags (keyboardfocus.cpp) and the item that the keys act on.
    unsigned keyboardFlags;
    int focusedItem;
    // The shape that the next WM_SETCURSOR shows.
    CursorChoice cursor;
    ItemTextCopies texts;
    // The tab menu's tab pressed last, compared by address only: it is the
    // current page while it stays pressed.
    const void* currentTab;
    // Whether the list was made with WS_VSCROLL, which the system takes off
    // the style while the bar is hidden; its first row in view, and the
    // wheel's delta not yet turned into rows.
    bool scrollsRows;
    int topRow;
    int wheelDelta;
    // The edit's inner field.
    HWND field;
    // Which section of a theme gives its colours.
    ThemeSection section;
    // The item under the pointer (0 for a control without items), drawn hot;
    // -1 for none. leaveTracked while the system is to say when the pointer
    // leaves.
    int hotItem;
    bool leaveTracked;
    // Readers' object of the window, which it doesn't own: made at the first
    // request, it leaves here when the last reader releases it.
    AccessibleObject* accessible;
    // VelmoWindow: the host's procedure, and what a press and the cursor do
    // where the mouse was seen last.
    WNDPROC forwardTo;
    int changeType;
    int cursorType;
};

// Makes the window's record; false, with nothing made, when memory runs out.
bool newWindowState(HWND window, ThemeSection section);

// Frees the window's record and everything it owns.
void deleteWindowState(HWND window);

// The window's record; null for a window that has none.
WindowState* findWindowState(HWND window);

// Every window that has a record, in a new array that the caller frees with
// delete[]; count receives their number. Null when there are none or memory
// runs out.
HWND* newWindowList(int* count);

#endif
