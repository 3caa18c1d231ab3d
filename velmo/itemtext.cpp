// The wide copies live in the window's record, so that the items and the
// user-data slot stay exactly what hosts may read.
#include "itemtext.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "accessibility.h"
#include "heaptext.h"
#include "list.h"

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

static void deleteCopy(ItemTextCopy* copy) {
    deleteText(copy->ansi);
    deleteWideCopy(copy->wide);
    copy->ansi = nullptr;
    copy->wide = nullptr;
}

void deleteItemTextCopies(ItemTextCopies* texts) {
    for (int index = 0; index < texts->count; index++) {
        deleteCopy(&texts->entries[index]);
    }
    delete[] texts->entries;
    *texts = {nullptr, 0, 0};
}

// Room for one more entry, doubling the array.
static bool makeRoom(ItemTextCopies* texts) {
    if (texts->count < texts->capacity) {
        return true;
    }
    int capacity = texts->capacity == 0 ? 8 : texts->capacity * 2;
    ItemTextCopy* grown = new (std::nothrow) ItemTextCopy[capacity];
    if (grown == nullptr) {
        return false;
    }
    if (texts->count > 0) {
        memcpy(grown, texts->entries, texts->count * sizeof *grown);
    }
    delete[] texts->entries;
    texts->entries = grown;
    texts->capacity = capacity;
    return true;
}

static void removeEntry(ItemTextCopies* texts, int position) {
    ItemTextCopy* at = &texts->entries[position];
    deleteCopy(at);
    memmove(at, at + 1, (texts->count - position - 1) * sizeof *at);
    texts->count--;
}

// removeFromList empties a list of one item whatever the position, and
// leaves a longer one alone for a position out of range.
static void dropItemText(WindowState* state, int position, int count) {
    if (state == nullptr || state->texts.count == 0) {
        return;
    }
    if (count == 1) {
        position = 0;
    }
    if (0 <= position && position < state->texts.count) {
        removeEntry(&state->texts, position);
    }
}

static int compareItems(const void* left, const void* right) {
    const void* leftItem = static_cast<const ItemTextCopy*>(left)->item;
    const void* rightItem = static_cast<const ItemTextCopy*>(right)->item;
    return leftItem < rightItem ? -1 : leftItem > rightItem ? 1 : 0;
}

// Lines the copies up with the items again after a host changed the list
// through the exported functions: each item takes the copy made for the same
// item, found by its address, and an item without one gets an empty entry.
// A copy whose item is gone is freed. When memory runs out the copies stay
// as they were, and the items read as their ANSI texts.
static void alignItemTexts(ItemTextCopies* texts, const ListItem* items) {
    int count = 0;
    for (const ListItem* item = items; item != nullptr; item = item->next) {
        count += item->data != nullptr ? 1 : 0;
    }
    ItemTextCopy* aligned = new (std::nothrow) ItemTextCopy[count > 0 ? count : 1];
    if (aligned == nullptr) {
        return;
    }
    qsort(texts->entries, texts->count, sizeof *texts->entries, compareItems);
    int position = 0;
    for (const ListItem* item = items; item != nullptr; item = item->next) {
        if (item->data == nullptr) {
            continue;
        }
        ItemTextCopy key = {item->data, nullptr, nullptr};
        ItemTextCopy* found = static_cast<ItemTextCopy*>(
            bsearch(&key, texts->entries, texts->count, sizeof key, compareItems));
        aligned[position++] = found != nullptr ? *found : key;
        if (found != nullptr) {
            // Taken: an item that the list holds twice gets it once.
            found->ansi = nullptr;
            found->wide = nullptr;
        }
    }
    deleteItemTextCopies(texts);
    *texts = {aligned, count, count > 0 ? count : 1};
}

void keepItemText(WindowState* state, const ListItem* items, int position, const void* item, const char* ansi,
                  wchar_t* wide) {
    ItemTextCopies* texts = state != nullptr ? &state->texts : nullptr;
    char* ansiCopy = texts != nullptr && ansi != nullptr ? copyText(ansi) : nullptr;
    if (ansiCopy != nullptr && position > texts->count) {
        alignItemTexts(texts, items);
    }
    if (ansiCopy == nullptr || position < 0 || position > texts->count) {
        deleteText(ansiCopy);
        deleteWideCopy(wide);
        return;
    }
    ItemTextCopy* at = &texts->entries[position];
    bool filled = position < texts->count && at->item == item && at->ansi == nullptr;
    if (!filled && !makeRoom(texts)) {
        deleteText(ansiCopy);
        deleteWideCopy(wide);
        return;
    }
    at = &texts->entries[position];
    if (!filled) {
        memmove(at + 1, at, (texts->count - position) * sizeof *at);
        texts->count++;
    }
    *at = {item, ansiCopy, wide};
}

const wchar_t* findItemText(WindowState* state, const ListItem* items, int position, const void* item,
                            const char* ansi) {
    if (state == nullptr || position < 0 || item == nullptr) {
        return nullptr;
    }
    ItemTextCopies* texts = &state->texts;
    if (position >= texts->count || texts->entries[position].item != item) {
        alignItemTexts(texts, items);
    }
    if (position >= texts->count || texts->entries[position].item != item) {
        return nullptr;
    }
    ItemTextCopy* copy = &texts->entries[position];
    if (copy->ansi == nullptr || ansi == nullptr || strcmp(copy->ansi, ansi) != 0) {
        // The host gave the item another text: the copy no longer stands for it.
        deleteCopy(copy);
        return nullptr;
    }
    return copy->wide;
}

void drawItemText(HDC target, const wchar_t* wide, const char* ansi, RECT* box, UINT format) {
    wchar_t* converted = wide == nullptr && ansi != nullptr ? widenText(ansi) : nullptr;
    if (wide == nullptr && converted == nullptr) {
        return;
    }
    DrawTextW(target, wide != nullptr ? wide : converted, -1, box, format);
    deleteWideCopy(converted);
}

int measureItemText(HDC target, const wchar_t* wide, const char* ansi, UINT format) {
    RECT box = {0, 0, 0, 0};
    drawItemText(target, wide, ansi, &box, format | DT_CALCRECT);
    return box.right;
}

LRESULT insertItem(HWND window, int position, void* item, const char* ansi, wchar_t* wide) {
    ListItem* items = insertIntoList(getWindowItems(window), &position, item);
    if (position < 0) {
        return LB_ERR;
    }
    setWindowItems(window, items);
    keepItemText(findWindowState(window), items, position, item, ansi, wide);
    return position;
}

void removeItem(HWND window, int position, void (*release)(void*)) {
    ListItem* items = getWindowItems(window);
    if (items != nullptr) {
        dropItemText(findWindowState(window), position, countWindowItems(window));
        setWindowItems(window, removeFromList(items, position, release));
    }
}

void showItemsChanged(HWND window, UINT redrawFlags) {
    RedrawWindow(window, nullptr, nullptr, redrawFlags);
    notifyAccessibleEvent(window, EVENT_OBJECT_REORDER, CHILDID_SELF);
}

void removeAllItems(HWND window, void (*release)(void*)) {
    deleteWindowItems(window, release);
    createWindowItems(window);
    WindowState* state = findWindowState(window);
    if (state != nullptr) {
        deleteItemTextCopies(&state->texts);
    }
}

// An ANSI caller's length is that of the code-page text; a wide caller's that
// of the kept copy, or of the ANSI text widened.
LRESULT answerItemText(HWND window, UINT message, int position, const void* item, const char* ansi,
                       LPARAM buffer, TextWidth width) {
    if (item == nullptr || (message == LB_GETTEXT && buffer == 0)) {
        return LB_ERR;
    }
    const char* narrow = ansi != nullptr ? ansi : "";
    if (width == ansiText) {
        if (message == LB_GETTEXT) {
            strcpy(reinterpret_cast<char*>(buffer), narrow);
        }
        return static_cast<LRESULT>(strlen(narrow));
    }
    const wchar_t* kept = findItemText(findWindowState(window), getWindowItems(window), position, item, ansi);
    wchar_t* converted = kept == nullptr ? widenText(narrow) : nullptr;
    const wchar_t* text = kept != nullptr ? kept : converted;
    if (text == nullptr) {
        return LB_ERR;
    }
    LRESULT length = static_cast<LRESULT>(wcslen(text));
    if (message == LB_GETTEXT) {
        wcscpy(reinterpret_cast<wchar_t*>(buffer), text);
    }
    deleteWideCopy(converted);
    return length;
}
