// The wide copies live in a list of their own in a window property, so that
// the items and the user-data slot stay exactly what hosts may read.
#include "itemtext.h"

#include <cwchar>
#include <new>

#include "heaptext.h"
#include "list.h"

static const char wideTextsProperty[] = "VelmoItemTexts";

// One item's wide copy, found by the address of the item's ANSI text.
struct WideText {
    const char* ansi;
    wchar_t* wide;
};

static void deleteWideText(void* text) {
    WideText* kept = static_cast<WideText*>(text);
    deleteWideCopy(kept->wide);
    delete kept;
}

bool makeItemText(const void* text, TextWidth width, ItemText* made) {
    made->ansi = nullptr;
    made->wide = nullptr;
    if (text == nullptr) {
        return true;
    }
    if (width == wideText) {
        made->wide = copyWideText(static_cast<const wchar_t*>(text));
        made->ansi = made->wide != nullptr ? narrowText(made->wide) : nullptr;
    } else {
        made->ansi = copyText(static_cast<const char*>(text));
        made->wide = made->ansi != nullptr ? widenText(made->ansi) : nullptr;
    }
    if (made->ansi == nullptr || made->wide == nullptr) {
        deleteItemText(made);
        return false;
    }
    return true;
}

void deleteItemText(ItemText* text) {
    deleteText(text->ansi);
    deleteWideCopy(text->wide);
    text->ansi = nullptr;
    text->wide = nullptr;
}

const ListItem* getWideTexts(HWND window) {
    return static_cast<const ListItem*>(GetPropA(window, wideTextsProperty));
}

void keepWideText(HWND window, const char* ansi, wchar_t* wide) {
    if (ansi == nullptr || wide == nullptr) {
        deleteWideCopy(wide);
        return;
    }
    ListItem* texts = const_cast<ListItem*>(getWideTexts(window));
    if (texts == nullptr) {
        texts = newList();
        if (texts == nullptr || !SetPropA(window, wideTextsProperty, texts)) {
            deleteList(texts);
            deleteWideCopy(wide);
            return;
        }
    }
    WideText* kept = new (std::nothrow) WideText{ansi, wide};
    if (kept == nullptr || addToList(texts, kept) == nullptr) {
        delete kept;
        deleteWideCopy(wide);
    }
}

const wchar_t* findWideText(const ListItem* texts, const char* ansi) {
    for (const ListItem* item = texts; item != nullptr && ansi != nullptr; item = item->next) {
        const WideText* kept = static_cast<const WideText*>(item->data);
        if (kept != nullptr && kept->ansi == ansi) {
            return kept->wide;
        }
    }
    return nullptr;
}

static bool isItemText(HWND window, const char* ansi, const char* (*textOf)(const void* data)) {
    for (const ListItem* item = getWindowItems(window); item != nullptr; item = item->next) {
        if (item->data != nullptr && textOf(item->data) == ansi) {
            return true;
        }
    }
    return false;
}

void dropGoneWideTexts(HWND window, const char* (*textOf)(const void* data)) {
    ListItem* texts = const_cast<ListItem*>(getWideTexts(window));
    int position = 0;
    for (const ListItem* item = texts; item != nullptr;) {
        const WideText* kept = static_cast<const WideText*>(item->data);
        if (kept != nullptr && !isItemText(window, kept->ansi, textOf)) {
            texts = removeFromList(texts, position, deleteWideText);
            item = texts;
            position = 0;
            continue;
        }
        item = item->next;
        position++;
    }
    if (texts != nullptr) {
        SetPropA(window, wideTextsProperty, texts);
    }
}

void dropWideTexts(HWND window) {
    ListItem* texts = static_cast<ListItem*>(RemovePropA(window, wideTextsProperty));
    deleteWholeList(texts, deleteWideText);
}

void drawItemText(HDC target, const ListItem* texts, const char* ansi, RECT* box, UINT format) {
    if (ansi == nullptr) {
        return;
    }
    const wchar_t* wide = findWideText(texts, ansi);
    wchar_t* converted = wide == nullptr ? widenText(ansi) : nullptr;
    if (wide == nullptr && converted == nullptr) {
        return;
    }
    DrawTextW(target, wide != nullptr ? wide : converted, -1, box, format);
    deleteWideCopy(converted);
}
