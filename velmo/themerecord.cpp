// Theme records: the built-in one, and what each window and the process draw
// with. Images and fonts are made at their first use; windows of several
// threads may draw from one record, so a lock guards the making.
#include "themerecord.h"

#include <atomic>
#include <new>

#include "appearance.h"
#include "displayscale.h"
#include "velmo.h"
#include "windowstate.h"

// The light 1x set is the registry's; the others are read from their folders.
enum ImageSet { lightSet, doubledSet, darkSet, darkDoubledSet, imageSetCount };

struct SetFolder {
    const char* folder;
    int density;
};

static const SetFolder setFolders[imageSetCount] = {
    {"bitmap/", 1}, {"bitmap/2x/", 2}, {"bitmap/dark/", 1}, {"bitmap/dark/2x/", 2}};
static const int doubledFromDpi = 144;

struct ImageSlot {
    // Set once bitmap and copy hold what the slot will hold.
    std::atomic<bool> ready;
    HBITMAP bitmap;
    PixelCopy* copy;
    // The registry's bitmaps belong to the registry.
    bool owned;
};

struct DpiFont {
    int dpi;
    HFONT font;
};

// Few monitors, so a few DPIs.
static const int maxDpiFonts = 8;

struct Theme {
    std::atomic<long> users;
    bool builtIn;
    ImageSlot images[imageSetCount][themeBitmapCount];
    DpiFont fonts[maxDpiFonts];
    int fontCount;
};

static Theme builtInTheme = {.users = 0, .builtIn = true, .images = {}, .fonts = {}, .fontCount = 0};
static Theme* processTheme = &builtInTheme;
static SRWLOCK makingLock = SRWLOCK_INIT;

Theme* getBuiltInTheme(void) {
    return &builtInTheme;
}

Theme* getWindowTheme(HWND window) {
    WindowState* state = findWindowState(window);
    return state != nullptr && state->theme != nullptr ? state->theme : processTheme;
}

// Larger bitmaps are drawn through a memory context.
static const LONG maxCopiedPixels = 1 << 22;

// Null for a bitmap that is drawn through a memory context: one too large, or
// a monochrome one, which takes the target's text and background colours there.
static PixelCopy* newPixelCopy(HBITMAP bitmap) {
    BITMAP record;
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof record, &record) == 0 || record.bmBitsPixel == 1 ||
        record.bmWidth <= 0 || record.bmHeight <= 0 || record.bmWidth > maxCopiedPixels / record.bmHeight) {
        return nullptr;
    }
    PixelCopy* copy = new (std::nothrow) PixelCopy();
    if (copy == nullptr) {
        return nullptr;
    }
    copy->pixels = new (std::nothrow) DWORD[record.bmWidth * record.bmHeight];
    BITMAPINFOHEADER* header = &copy->info.bmiHeader;
    header->biSize = sizeof *header;
    header->biWidth = record.bmWidth;
    header->biHeight = -record.bmHeight;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    HDC reference = copy->pixels != nullptr ? CreateCompatibleDC(nullptr) : nullptr;
    int read = reference != nullptr
                   ? GetDIBits(reference, bitmap, 0, record.bmHeight, copy->pixels, &copy->info, DIB_RGB_COLORS)
                   : 0;
    if (reference != nullptr) {
        DeleteDC(reference);
    }
    if (read != record.bmHeight) {
        delete[] copy->pixels;
        delete copy;
        return nullptr;
    }
    return copy;
}

static void deletePixelCopy(PixelCopy* copy) {
    if (copy != nullptr) {
        delete[] copy->pixels;
        delete copy;
    }
}

// The built-in light 1x bitmap is the registry's, looked up again while it is
// missing; every other file is read once, and a missing one stays missing.
static void loadSlot(ImageSlot* slot, ImageSet set, ThemeBitmap which) {
    AcquireSRWLockExclusive(&makingLock);
    if (!slot->ready.load(std::memory_order_relaxed)) {
        bool fromRegistry = set == lightSet;
        slot->bitmap = fromRegistry ? getControlBitmap(themeRows[which].listName, themeRows[which].bitmapName)
                                    : loadThemeFileFrom(setFolders[set].folder, which);
        slot->owned = !fromRegistry;
        slot->copy = newPixelCopy(slot->bitmap);
        if (slot->bitmap != nullptr || !fromRegistry) {
            slot->ready.store(true, std::memory_order_release);
        }
    }
    ReleaseSRWLockExclusive(&makingLock);
}

static ThemeImage findSetImage(Theme* theme, ImageSet set, ThemeBitmap which, int dpi) {
    ImageSlot* slot = &theme->images[set][which];
    if (!slot->ready.load(std::memory_order_acquire)) {
        loadSlot(slot, set, which);
    }
    return {slot->bitmap, slot->copy, setFolders[set].density, dpi};
}

// Each appearance's 2x file, then its 1x one, stretched: a file missing from
// the dark 2x set is drawn from the dark 1x one before any light one.
ThemeImage findThemeImage(Theme* theme, ThemeBitmap which, int dpi) {
    static const ImageSet lightOrder[] = {doubledSet, lightSet};
    static const ImageSet darkOrder[] = {darkDoubledSet, darkSet, doubledSet, lightSet};
    bool dark = getAppearance() == darkAppearance;
    const ImageSet* order = dark ? darkOrder : lightOrder;
    int count = dark ? 4 : 2;
    ThemeImage image = {nullptr, nullptr, 1, dpi};
    for (int index = 0; index < count && image.bitmap == nullptr; index++) {
        if (setFolders[order[index]].density == 1 || dpi >= doubledFromDpi) {
            image = findSetImage(theme, order[index], which, dpi);
        }
    }
    return image;
}

static HFONT findMadeFont(const Theme* theme, int dpi) {
    for (int index = 0; index < theme->fontCount; index++) {
        if (theme->fonts[index].dpi == dpi) {
            return theme->fonts[index].font;
        }
    }
    return nullptr;
}

HFONT getThemeFont(Theme* theme, int dpi) {
    if (dpi == getSystemDpi()) {
        return getMainFont();
    }
    AcquireSRWLockShared(&makingLock);
    HFONT font = findMadeFont(theme, dpi);
    ReleaseSRWLockShared(&makingLock);
    if (font != nullptr) {
        return font;
    }
    AcquireSRWLockExclusive(&makingLock);
    font = findMadeFont(theme, dpi);
    if (font == nullptr && theme->fontCount < maxDpiFonts) {
        font = makeMainFontAt(dpi);
        if (font != nullptr) {
            theme->fonts[theme->fontCount++] = {dpi, font};
        }
    }
    ReleaseSRWLockExclusive(&makingLock);
    return font != nullptr ? font : getMainFont();
}

static void deleteThemeData(Theme* theme) {
    for (auto& set : theme->images) {
        for (ImageSlot& slot : set) {
            if (slot.owned && slot.bitmap != nullptr) {
                DeleteObject(slot.bitmap);
            }
            deletePixelCopy(slot.copy);
            slot.bitmap = nullptr;
            slot.copy = nullptr;
            slot.ready.store(false);
        }
    }
    while (theme->fontCount > 0) {
        DeleteObject(theme->fonts[--theme->fontCount].font);
    }
}

void holdTheme(Theme* theme) {
    if (theme != nullptr && !theme->builtIn) {
        theme->users++;
    }
}

void releaseTheme(Theme* theme) {
    if (theme != nullptr && !theme->builtIn && --theme->users == 0) {
        deleteThemeData(theme);
        delete theme;
    }
}

void deleteBuiltInThemeData(void) {
    deleteThemeData(&builtInTheme);
}
