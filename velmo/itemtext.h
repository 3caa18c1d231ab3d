// The texts of a window's items, the tab menu's captions and the list's rows.
// Each item holds its text as an ANSI string in the process's code page, as
// hosts read it; beside it the window's record keeps a UTF-16 copy, which
// holds every character of a text that arrived wide, and which is drawn and
// read out.
#ifndef VELMO_ITEMTEXT_H
#define VELMO_ITEMTEXT_H

#include <windows.h>

#include "controlplumbing.h"
#include "velmo.h"
#include "windowstate.h"

// Both copies of one text.
struct ItemText {
    char* ansi;
    wchar_t* wide;
};

// Makes both copies of text, which arrives in this width; a null text makes
// two nulls. False, with nothing made, when memory runs out.
bool makeItemText(const void* text, TextWidth width, ItemText* made);

// Frees both copies.
void deleteItemText(ItemText* text);

// Keeps wide as the copy of the item just put at this position among items,
// whose text is ansi; the record owns it from then on. When it can't be kept
// it is freed, and the item reads as its ANSI text.
void keepItemText(WindowState* state, const ListItem* items, int position, const void* item, const char* ansi,
                  wchar_t* wide);

// Frees every copy, as the window goes or its items are all removed.
void deleteItemTextCopies(ItemTextCopies* texts);

// The copy of the item at this position among items, which holds ansi now;
// null when the record has none for that item and text (a host made or
// changed it through the exported functions): it then reads as its ANSI text.
const wchar_t* findItemText(WindowState* state, const ListItem* items, int position, const void* item,
                            const char* ansi);

// Draws an item's text: its wide copy where there is one, else its ANSI text
// read in the process's code page.
void drawItemText(HDC target, const wchar_t* wide, const char* ansi, RECT* box, UINT format);

// The width that DrawTextW gives the item's text in this format.
int measureItemText(HDC target, const wchar_t* wide, const char* ansi, UINT format);

// Puts item, whose text is ansi and wide, at this position among the
// window's items (-1: after the last) and keeps wide for it; the record owns
// wide from then on. Returns where it went, or LB_ERR, with the item still
// the caller's, for a position past the count or when memory runs out.
LRESULT insertItem(HWND window, int position, void* item, const char* ansi, wchar_t* wide);

// Removes the item at this position, as removeFromList removes it, its data
// through release, and its copy.
void removeItem(HWND window, int position, void (*release)(void*));

// Removes every item of the window, each item's data through release, and
// their copies.
void removeAllItems(HWND window, void (*release)(void*));

// Repaints the window with these flags after its items changed, and tells
// readers.
void showItemsChanged(HWND window, UINT redrawFlags);

// LB_GETTEXTLEN and LB_GETTEXT for the item at this position (null: none,
// LB_ERR), whose text is ansi: the length without the terminator in the
// call's width, and for LB_GETTEXT the text and its terminator written to
// buffer (a null buffer writes nothing and answers LB_ERR).
LRESULT answerItemText(HWND window, UINT message, int position, const void* item, const char* ansi,
                       LPARAM buffer, TextWidth width);

#endif
