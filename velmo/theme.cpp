// The theme: named bitmaps in named lists, loaded once from the relative
// directory bitmap/ (or the one beside the library), and the one font that the
// controls share.
#include "velmo.h"

#include "displayscale.h"
#include "heaptext.h"
#include "theme.h"

#include <shlwapi.h>

#include <cstring>
#include <cwchar>
#include <new>

ListItem* controlBitmaps = nullptr;
HFONT mainFont = nullptr;

// Paths stay relative: to the current directory first, else to the library's.
const ThemeRow themeRows[themeBitmapCount] = {
    {"button", "buttonLeft", "bitmap/buttonleft.bmp"},
    {"button", "buttonMiddle", "bitmap/buttonmiddle.bmp"},
    {"button", "buttonRight", "bitmap/buttonright.bmp"},
    {"button", "buttonLeftPressed", "bitmap/buttonleftpressed.bmp"},
    {"button", "buttonMiddlePressed", "bitmap/buttonmiddlepressed.bmp"},
    {"button", "buttonRightPressed", "bitmap/buttonrightpressed.bmp"},
    {"tab", "tabLeft", "bitmap/tableft.bmp"},
    {"tab", "tabMiddle", "bitmap/tabmiddle.bmp"},
    {"tab", "tabRight", "bitmap/tabright.bmp"},
    {"tab", "tabPressedLeft", "bitmap/tabpressedleft.bmp"},
    {"tab", "tabPressedMiddle", "bitmap/tabpressedmiddle.bmp"},
    {"tab", "tabPressedRight", "bitmap/tabpressedright.bmp"},
    {"link", "link", "bitmap/link.bmp"},
    {"frame", "frameLeft", "bitmap/frameleft.bmp"},
    {"frame", "frameMiddle", "bitmap/framemiddle.bmp"},
    {"frame", "frameRight", "bitmap/frameright.bmp"},
    {"list", "list", "bitmap/list.bmp"},
};

// The images after the registry's rows, in ThemeBitmap's order from buttonLeftHot.
static const char* const stateFileNames[] = {
    "buttonlefthot.bmp",
    "buttonmiddlehot.bmp",
    "buttonrighthot.bmp",
    "buttonleftdisabled.bmp",
    "buttonmiddledisabled.bmp",
    "buttonrightdisabled.bmp",
    "tabhotleft.bmp",
    "tabhotmiddle.bmp",
    "tabhotright.bmp",
    "linkhot.bmp",
    "linkdisabled.bmp",
};
static_assert(sizeof stateFileNames / sizeof *stateFileNames == themeImageCount - themeBitmapCount,
              "one file name for each state image");

const char* getThemeFileName(ThemeBitmap which) {
    if (which < themeBitmapCount) {
        return PathFindFileNameA(themeRows[which].path);
    }
    return stateFileNames[which - themeBitmapCount];
}

static const int mainFontHeight = 13;
static const char mainFontFace[] = "Verdana";

ControlBitmapList* newBitmapList(const char* name) {
    ControlBitmapList* record = new (std::nothrow) ControlBitmapList;
    if (record == nullptr) {
        return nullptr;
    }
    record->name = copyText(name);
    record->bitmaps = record->name != nullptr ? newList() : nullptr;
    if (record->bitmaps == nullptr) {
        deleteText(record->name);
        delete record;
        return nullptr;
    }
    return record;
}

// Only for a record that never made it into the registry: its list is still empty.
static void deleteBitmapList(ControlBitmapList* record) {
    deleteList(record->bitmaps);
    deleteText(record->name);
    delete record;
}

bool placeBesideLibrary(const wchar_t* path, wchar_t* full) {
    HMODULE library = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&placeBesideLibrary), &library)) {
        return false;
    }
    DWORD length = GetModuleFileNameW(library, full, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    wchar_t* fileName = PathFindFileNameW(full);
    size_t size = wcslen(path) + 1;
    if (static_cast<size_t>(fileName - full) + size > MAX_PATH) {
        return false;
    }
    wmemcpy(fileName, path, size);
    return true;
}

static HBITMAP loadBitmapFile(const wchar_t* path) {
    return static_cast<HBITMAP>(LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

// Loaded by its full path: given a relative one, LoadImageW may look in the
// executable's folder first.
static HBITMAP loadFromCurrentFolder(const wchar_t* path) {
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(path, MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? loadBitmapFile(full) : nullptr;
}

// A file at the relative path in the current directory wins; one that isn't
// there, or isn't a bitmap, is taken from beside the library, so a host
// started from any folder still finds the installed theme. The paths are wide:
// through the ANSI calls a folder named in letters outside the ANSI code page
// reads as question marks.
static HBITMAP loadThemeFile(const char* path) {
    wchar_t widePath[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH) == 0) {
        return nullptr;
    }
    HBITMAP bitmap = loadFromCurrentFolder(widePath);
    wchar_t besideLibrary[MAX_PATH];
    if (bitmap == nullptr && PathIsRelativeW(widePath) && placeBesideLibrary(widePath, besideLibrary)) {
        bitmap = loadBitmapFile(besideLibrary);
    }
    return bitmap;
}

ControlBitmap* newControlBitmap(const char* name, const char* path) {
    ControlBitmap* record = new (std::nothrow) ControlBitmap;
    if (record == nullptr) {
        return nullptr;
    }
    record->name = copyText(name);
    if (record->name == nullptr) {
        delete record;
        return nullptr;
    }
    record->bitmap = loadThemeFile(path);
    return record;
}

static void deleteControlBitmap(ControlBitmap* record) {
    if (record->bitmap != nullptr) {
        DeleteObject(record->bitmap);
    }
    deleteText(record->name);
    delete record;
}

// Both record kinds start with their name. Items without data (an empty list's
// head) are passed over, so a search in an empty list finds nothing.
template <typename Record>
static Record* findNamed(ListItem* head, const char* name) {
    for (ListItem* item = head; item != nullptr; item = item->next) {
        Record* record = static_cast<Record*>(item->data);
        if (record != nullptr && strcmp(record->name, name) == 0) {
            return record;
        }
    }
    return nullptr;
}

ControlBitmapList* findBitmapList(ListItem* head, const char* name) {
    return findNamed<ControlBitmapList>(head, name);
}

ControlBitmap* findBitmap(ListItem* head, const char* name) {
    return findNamed<ControlBitmap>(head, name);
}

static void loadListBitmaps(ControlBitmapList* list) {
    for (const ThemeRow& row : themeRows) {
        if (strcmp(row.listName, list->name) != 0) {
            continue;
        }
        ControlBitmap* bitmap = newControlBitmap(row.bitmapName, row.path);
        if (bitmap != nullptr && addToList(list->bitmaps, bitmap) == nullptr) {
            deleteControlBitmap(bitmap);
        }
    }
}

// The first row of each list names the list.
static bool startsList(int row) {
    return row == 0 || strcmp(themeRows[row].listName, themeRows[row - 1].listName) != 0;
}

// Whatever can't be allocated is left out: a short registry only means more
// lookups that answer null, which the controls treat as nothing to draw.
void getBitmaps(void) {
    controlBitmaps = newList();
    if (controlBitmaps == nullptr) {
        return;
    }
    for (int row = 0; row < themeBitmapCount; row++) {
        if (!startsList(row)) {
            continue;
        }
        ControlBitmapList* list = newBitmapList(themeRows[row].listName);
        if (list != nullptr && addToList(controlBitmaps, list) == nullptr) {
            deleteBitmapList(list);
        }
    }
    for (int row = 0; row < themeBitmapCount; row++) {
        ControlBitmapList* list = startsList(row) ? findBitmapList(controlBitmaps, themeRows[row].listName) : nullptr;
        if (list != nullptr) {
            loadListBitmaps(list);
        }
    }
}

HBITMAP getControlBitmap(const char* listName, const char* bitmapName) {
    ControlBitmapList* list = findBitmapList(controlBitmaps, listName);
    if (list == nullptr) {
        return nullptr;
    }
    ControlBitmap* bitmap = findBitmap(list->bitmaps, bitmapName);
    return bitmap != nullptr ? bitmap->bitmap : nullptr;
}

HFONT makeMainFontAt(int dpi) {
    return CreateFontA(scaleToDpi(mainFontHeight, dpi), 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       mainFontFace);
}

HFONT makeFontAt(const wchar_t* face, int height, bool bold, int dpi) {
    wchar_t mainFace[LF_FACESIZE];
    if (face == nullptr && MultiByteToWideChar(CP_ACP, 0, mainFontFace, -1, mainFace, LF_FACESIZE) == 0) {
        return nullptr;
    }
    return CreateFontW(scaleToDpi(height != 0 ? height : mainFontHeight, dpi), 0, 0, 0, bold ? FW_BOLD : FW_DONTCARE,
                       FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face != nullptr ? face : mainFace);
}

HFONT getMainFont(void) {
    if (mainFont == nullptr) {
        mainFont = makeMainFontAt(getSystemDpi());
    }
    return mainFont;
}

// Every set has the same file names.
HBITMAP loadThemeFileFrom(const char* folder, ThemeBitmap which) {
    const char* fileName = getThemeFileName(which);
    char path[MAX_PATH];
    if (strlen(folder) + strlen(fileName) >= sizeof path) {
        return nullptr;
    }
    strcpy(path, folder);
    strcat(path, fileName);
    return loadThemeFile(path);
}
