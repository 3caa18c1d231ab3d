// The texts of a window's items, the tab menu's captions and the list's rows.
// Each item holds its text as an ANSI string in the process's code page, as
// hosts read it; beside it the window keeps a UTF-16 copy, which holds every
// character of a text that arrived wide, and which is drawn and read out.
#ifndef VELMO_ITEMTEXT_H
#define VELMO_ITEMTEXT_H

#include <windows.h>

#include "controlplumbing.h"
#include "velmo.h"

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

// Keeps the wide copy beside the item whose ANSI text is ansi; the window
// owns it from then on. When it can't be kept it is freed, and the item reads
// as its ANSI text.
void keepWideText(HWND window, const char* ansi, wchar_t* wide);

// The window's wide copies, for findWideText; one look-up serves a whole walk
// of the items.
const ListItem* getWideTexts(HWND window);

// The wide copy kept beside ansi; null for an item without one (a host made
// it through the exported list functions).
const wchar_t* findWideText(const ListItem* texts, const char* ansi);

// Frees the wide copies whose items are gone, after a removal; textOf gives
// an item's ANSI text from its data.
void dropGoneWideTexts(HWND window, const char* (*textOf)(const void* data));

// Frees every wide copy of the window, as the window goes.
void dropWideTexts(HWND window);

// Draws an item's text: its wide copy, or its ANSI text read in the process's
// code page.
void drawItemText(HDC target, const ListItem* texts, const char* ansi, RECT* box, UINT format);

#endif
