// What the library's own code adds to the exported list.
#ifndef VELMO_LIST_H
#define VELMO_LIST_H

#include "velmo.h"

// Puts data (not null) at *position among the items that hold data (-1: after
// the last) and writes where it went to *position: -1, with the list
// unchanged, for a position past the count or when memory runs out. An empty
// head takes the data itself; an insert in front of a full head makes a new
// head. Returns the head that holds afterwards.
ListItem* insertIntoList(ListItem* head, int* position, void* data);

// Frees every item from head to the end, handing each item's data, when it
// has some, to release first; for a window's list as the window goes.
void deleteWholeList(ListItem* head, void (*release)(void*));

#ifdef _WIN32
// A window's items: a list whose head lives in the window's user-data slot
// from WM_CREATE to WM_NCDESTROY.
ListItem* getWindowItems(HWND window);
void setWindowItems(HWND window, ListItem* head);

// Gives the window a new empty list; the result is WM_CREATE's: 0, or -1 when
// the list can't be made, so that the window isn't created without one.
LRESULT createWindowItems(HWND window);

// Frees the window's list, each item's data through release, and leaves the
// slot null.
void deleteWindowItems(HWND window, void (*release)(void*));

// The number of the window's items that hold data, and the data of the one at
// this position among them (0 = first); null past the last.
int countWindowItems(HWND window);
void* getWindowItemAt(HWND window, int position);
#endif

#endif
