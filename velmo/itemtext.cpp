// The wide copies live in a list of their own, so that the items and the
// user-data slot stay exactly what hosts may read.
#include "itemtext.h"

#include <cwchar>
#include <new>

#include "heaptext.h"
#include "list.h"

// Each window's list, found by the window's handle among the windows of its
// thread, which alone draws and reads them: a window property would cost a
// call to the window server at every paint.
struct WindowTexts {
    HWND window;
    ListItem* texts;
};

static thread_local ListItem* windowTexts;

static WindowTexts* findWindowTexts(HWND window) {
    for (ListItem* item = windowTexts; item != nullptr; item = item->next) {
        WindowTexts* found = static_cast<WindowTexts*>(item->data);
        if (found != nullptr && found->window == window) {
            return found;
        }
    }
    return nullptr;
}

// The window's entry, made when it has none; null when memory runs out.
static WindowTexts* makeWindowTexts(HWND window) {
    WindowTexts* found = findWindowTexts(window);
    if (found != nullptr) {
        return found;
    }
    if (windowTexts == nullptr) {
        windowTexts = newList();
    }
    ListItem* texts = newList();
    WindowTexts* made = texts != nullptr ? new (std::nothrow) WindowTexts{window, texts} : nullptr;
    if (made == nullptr || windowTexts == nullptr || addToList(windowTexts, made) == nullptr) {
        delete made;
        deleteList(texts);
        return nullptr;
    }
    return made;
}

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
    WindowTexts* found = findWindowTexts(window);
    return found != nullptr ? found->texts : nullptr;
}

void keepWideText(HWND window, const char* ansi, wchar_t* wide) {
    WindowTexts* kept = ansi != nullptr && wide != nullptr ? makeWindowTexts(window) : nullptr;
    WideText* text = kept != nullptr ? new (std::nothrow) WideText{ansi, wide} : nullptr;
    if (text == nullptr || addToList(kept->texts, text) == nullptr) {
        delete text;
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
    WindowTexts* kept = findWindowTexts(window);
    if (kept == nullptr) {
        return;
    }
    ListItem* texts = kept->texts;
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
    kept->texts = texts;
}

static void deleteWindowTexts(void* kept) {
    WindowTexts* texts = static_cast<WindowTexts*>(kept);
    deleteWholeList(texts->texts, deleteWideText);
    delete texts;
}

void dropWideTexts(HWND window) {
    int position = 0;
    for (const ListItem* item = windowTexts; item != nullptr; item = item->next, position++) {
        if (item->data != nullptr && static_cast<const WindowTexts*>(item->data)->window == window) {
            windowTexts = removeFromList(windowTexts, position, deleteWindowTexts);
            return;
        }
    }
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
