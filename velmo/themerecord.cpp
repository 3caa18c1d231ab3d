// Theme records: the built-in one, those read from theme folders, and which
// one each window and the process draw with. A theme makes its images and
// fonts at their first use; windows of several threads may draw from one
// record, so locks guard the making and the swaps.
#include "themerecord.h"

#include <atomic>
#include <cwchar>
#include <new>

#include "appearance.h"
#include "displayscale.h"
#include "velmo.h"
#include "windowstate.h"

// The sets of a theme's images, each in a folder of its own.
enum ImageSet { lightSet, doubledSet, darkSet, darkDoubledSet, imageSetCount };

struct SetFolder {
    // The built-in theme's, found as bitmap/ is (the light 1x set is the
    // registry's), and a folder theme's, inside its folder.
    const char* builtIn;
    const wchar_t* inFolder;
    int density;
};

static const SetFolder setFolders[imageSetCount] = {{"bitmap/", L"", 1},
                                                    {"bitmap/2x/", L"2x\\", 2},
                                                    {"bitmap/dark/", L"dark\\", 1},
                                                    {"bitmap/dark/2x/", L"dark\\2x\\", 2}};
static const int doubledFromDpi = 144;

// The sets to look in, first found wins: each appearance's 2x file, then its
// 1x one, stretched, so that a file missing from the dark 2x set is drawn
// from the dark 1x one before any light one.
static const ImageSet lightOrder[] = {doubledSet, lightSet};
static const ImageSet darkOrder[] = {darkDoubledSet, darkSet, doubledSet, lightSet};

struct ImageSlot {
    // Set once bitmap and copy hold what the slot will hold.
    std::atomic<bool> ready;
    HBITMAP bitmap;
    PixelCopy* copy;
    // The registry's bitmaps belong to the registry.
    bool owned;
};

struct ThemeFont {
    int dpi;
    bool dark;
    HFONT font;
};

// Few monitors, so a few DPIs, in each appearance.
static const int maxThemeFonts = 8;

// The variants of a folder theme's settings.
enum SettingsVariant { lightSettings, darkSettings, settingsVariantCount };

struct Theme {
    std::atomic<long> users;
    bool builtIn;
    // A folder theme's folder, a full path.
    wchar_t folder[MAX_PATH];
    // A folder theme's theme.ini values; the dark variant's file read over
    // the theme's.
    ThemeSettings settings[settingsVariantCount];
    ImageSlot images[imageSetCount][themeImageCount];
    ThemeFont fonts[maxThemeFonts];
    int fontCount;
};

static Theme builtInTheme = {
    .users = 0, .builtIn = true, .folder = {}, .settings = {}, .images = {}, .fonts = {}, .fontCount = 0};

// The making of the built-in theme's images and of every theme's fonts.
static SRWLOCK makingLock = SRWLOCK_INIT;

Theme* getBuiltInTheme(void) {
    return &builtInTheme;
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

static void fillSlot(ImageSlot* slot, HBITMAP bitmap, bool owned) {
    slot->bitmap = bitmap;
    slot->owned = owned;
    slot->copy = newPixelCopy(bitmap);
}

static HBITMAP loadFolderImage(const wchar_t* folder, ImageSet set, ThemeBitmap which) {
    wchar_t path[MAX_PATH];
    int written = swprintf(path, MAX_PATH, L"%ls\\%ls%hs", folder, setFolders[set].inFolder, getThemeFileName(which));
    if (written < 0 || written >= MAX_PATH) {
        return nullptr;
    }
    // A section of the file's own depth loads in half the time of a bitmap
    // of the display's, and is drawn from its pixel copy all the same.
    return static_cast<HBITMAP>(LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

// The built-in light 1x bitmap is the registry's, looked up again while it is
// missing; every other file is read at the first draw that needs it, once,
// and a missing one stays missing.
static void loadSlot(Theme* theme, ImageSlot* slot, ImageSet set, ThemeBitmap which) {
    AcquireSRWLockExclusive(&makingLock);
    if (!slot->ready.load(std::memory_order_relaxed)) {
        bool fromRegistry = theme->builtIn && set == lightSet;
        HBITMAP bitmap = fromRegistry ? getControlBitmap(themeRows[which].listName, themeRows[which].bitmapName)
                         : theme->builtIn ? loadThemeFileFrom(setFolders[set].builtIn, which)
                                          : loadFolderImage(theme->folder, set, which);
        fillSlot(slot, bitmap, !fromRegistry);
        if (slot->bitmap != nullptr || !fromRegistry) {
            slot->ready.store(true, std::memory_order_release);
        }
    }
    ReleaseSRWLockExclusive(&makingLock);
}

Theme* newFolderTheme(const wchar_t* folder) {
    Theme* theme = new (std::nothrow) Theme();
    if (theme == nullptr || wcslen(folder) >= MAX_PATH) {
        delete theme;
        return nullptr;
    }
    wcscpy(theme->folder, folder);
    wchar_t ini[MAX_PATH];
    clearThemeSettings(&theme->settings[lightSettings]);
    if (swprintf(ini, MAX_PATH, L"%ls\\theme.ini", folder) > 0) {
        readThemeSettings(ini, &theme->settings[lightSettings]);
    }
    theme->settings[darkSettings] = theme->settings[lightSettings];
    if (swprintf(ini, MAX_PATH, L"%ls\\dark\\theme.ini", folder) > 0) {
        readThemeSettings(ini, &theme->settings[darkSettings]);
    }
    return theme;
}

static ThemeImage findSetImage(Theme* theme, ImageSet set, ThemeBitmap which, int dpi) {
    ImageSlot* slot = &theme->images[set][which];
    if (!slot->ready.load(std::memory_order_acquire)) {
        loadSlot(theme, slot, set, which);
    }
    return {slot->bitmap, slot->copy, setFolders[set].density, dpi};
}

static ThemeImage findOwnImage(Theme* theme, ThemeBitmap which, int dpi) {
    bool dark = getAppearance() == darkAppearance;
    const ImageSet* order = dark ? darkOrder : lightOrder;
    int count = dark ? sizeof darkOrder / sizeof *darkOrder : sizeof lightOrder / sizeof *lightOrder;
    ThemeImage image = {nullptr, nullptr, 1, dpi};
    for (int index = 0; index < count && image.bitmap == nullptr; index++) {
        if (setFolders[order[index]].density == 1 || dpi >= doubledFromDpi) {
            image = findSetImage(theme, order[index], which, dpi);
        }
    }
    return image;
}

// The normal image of a hot or disabled one's part: a hot tab has none, its
// normal look being the bar; themeImageCount for none.
static ThemeBitmap findNormalPart(ThemeBitmap which) {
    switch (which) {
    case buttonLeftHot:
    case buttonMiddleHot:
    case buttonRightHot:
        return static_cast<ThemeBitmap>(buttonLeft + (which - buttonLeftHot));
    case buttonLeftDisabled:
    case buttonMiddleDisabled:
    case buttonRightDisabled:
        return static_cast<ThemeBitmap>(buttonLeft + (which - buttonLeftDisabled));
    case linkHot:
    case linkDisabled:
        return linkIcon;
    case tabHotLeft:
    case tabHotMiddle:
    case tabHotRight:
        return themeImageCount;
    default:
        return which;
    }
}

ThemeImage findThemeImage(Theme* theme, ThemeBitmap which, int dpi) {
    bool state = which >= themeBitmapCount;
    ThemeImage image = {nullptr, nullptr, 1, dpi};
    if (!(state && theme->builtIn)) {
        image = findOwnImage(theme, which, dpi);
    }
    ThemeBitmap normal = findNormalPart(which);
    if (image.bitmap == nullptr && state && normal != themeImageCount) {
        image = findThemeImage(theme, normal, dpi);
    } else if (image.bitmap == nullptr && !state && !theme->builtIn) {
        image = findOwnImage(&builtInTheme, which, dpi);
    }
    return image;
}

static const ThemeSettings* findSettings(const Theme* theme) {
    return &theme->settings[getAppearance() == darkAppearance ? darkSettings : lightSettings];
}

COLORREF findThemeColour(const Theme* theme, ThemeColourKey key) {
    return theme->builtIn ? CLR_INVALID : findSettings(theme)->colours[key];
}

static HFONT findMadeFont(const Theme* theme, int dpi, bool dark) {
    for (int index = 0; index < theme->fontCount; index++) {
        if (theme->fonts[index].dpi == dpi && theme->fonts[index].dark == dark) {
            return theme->fonts[index].font;
        }
    }
    return nullptr;
}

// A folder theme's font takes the main font's face, height and weight where
// its theme.ini gives none.
static HFONT makeFont(const Theme* theme, int dpi) {
    if (theme->builtIn) {
        return makeMainFontAt(dpi);
    }
    const ThemeSettings* settings = findSettings(theme);
    return makeFontAt(settings->fontFace[0] != 0 ? settings->fontFace : nullptr,
                      settings->fontSize != 0 ? settings->fontSize : 0, settings->fontBold == 1, dpi);
}

HFONT getThemeFont(Theme* theme, int dpi) {
    if (theme->builtIn && dpi == getSystemDpi()) {
        return getMainFont();
    }
    // The built-in theme's font is one in every appearance.
    bool dark = !theme->builtIn && getAppearance() == darkAppearance;
    AcquireSRWLockShared(&makingLock);
    HFONT font = findMadeFont(theme, dpi, dark);
    ReleaseSRWLockShared(&makingLock);
    if (font != nullptr) {
        return font;
    }
    AcquireSRWLockExclusive(&makingLock);
    font = findMadeFont(theme, dpi, dark);
    if (font == nullptr && theme->fontCount < maxThemeFonts) {
        font = makeFont(theme, dpi);
        if (font != nullptr) {
            theme->fonts[theme->fontCount++] = {dpi, dark, font};
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

void deleteBuiltInThemeData(void) {
    deleteThemeData(&builtInTheme);
}

// Which theme each window draws with, and the themes that wait for the
// drawings under way to end before they go.
struct WindowTheme {
    HWND window;
    Theme* theme;
};

// Windows given a theme of their own are few: a host's main windows.
static const int maxWindowThemes = 64;

static std::atomic<Theme*> processTheme = &builtInTheme;
static WindowTheme windowThemes[maxWindowThemes];
static std::atomic<int> windowThemeCount;
static Theme* retiredThemes[maxWindowThemes + 1];
static int retiredCount;
static std::atomic<long> drawingsUnderWay;
static SRWLOCK themesLock = SRWLOCK_INIT;

static void freeTheme(Theme* theme) {
    deleteThemeData(theme);
    delete theme;
}

void beginThemeUse(void) {
    drawingsUnderWay++;
}

// The last drawing to end frees what was released meanwhile.
void endThemeUse(void) {
    if (--drawingsUnderWay != 0) {
        return;
    }
    AcquireSRWLockExclusive(&themesLock);
    while (retiredCount > 0 && drawingsUnderWay == 0) {
        freeTheme(retiredThemes[--retiredCount]);
    }
    ReleaseSRWLockExclusive(&themesLock);
}

void holdTheme(Theme* theme) {
    if (theme != nullptr && !theme->builtIn) {
        theme->users++;
    }
}

// A theme that nobody uses can no longer be found, but a drawing under way
// may still be reading it; it waits for that drawing's end, or when there is
// no room to wait, is freed now (the drawings then read freed data only in
// the rare case of hundreds of swaps during one paint).
void releaseTheme(Theme* theme) {
    if (theme == nullptr || theme->builtIn || --theme->users != 0) {
        return;
    }
    AcquireSRWLockExclusive(&themesLock);
    bool waits = drawingsUnderWay != 0 && retiredCount < maxWindowThemes + 1;
    if (waits) {
        retiredThemes[retiredCount++] = theme;
    }
    ReleaseSRWLockExclusive(&themesLock);
    if (!waits) {
        freeTheme(theme);
    }
}

void swapProcessTheme(Theme* theme) {
    holdTheme(theme);
    releaseTheme(processTheme.exchange(theme != nullptr ? theme : &builtInTheme));
}

static int findWindowThemeIndex(HWND window) {
    for (int index = 0; index < windowThemeCount; index++) {
        if (windowThemes[index].window == window) {
            return index;
        }
    }
    return -1;
}

// A host's window goes without telling the library: a window gone frees its
// place at the next swap.
static void dropGoneWindows(Theme** gone, int* goneCount) {
    for (int index = windowThemeCount - 1; index >= 0; index--) {
        if (!IsWindow(windowThemes[index].window)) {
            gone[(*goneCount)++] = windowThemes[index].theme;
            windowThemes[index] = windowThemes[--windowThemeCount];
        }
    }
}

// A null theme removes the window's own.
bool swapWindowTheme(HWND window, Theme* theme) {
    holdTheme(theme);
    Theme* released[maxWindowThemes + 1];
    int releasedCount = 0;
    bool kept = true;
    AcquireSRWLockExclusive(&themesLock);
    dropGoneWindows(released, &releasedCount);
    int index = findWindowThemeIndex(window);
    if (index >= 0) {
        released[releasedCount++] = windowThemes[index].theme;
        if (theme != nullptr) {
            windowThemes[index].theme = theme;
        } else {
            windowThemes[index] = windowThemes[--windowThemeCount];
        }
    } else if (theme != nullptr && windowThemeCount < maxWindowThemes) {
        windowThemes[windowThemeCount++] = {window, theme};
    } else if (theme != nullptr) {
        released[releasedCount++] = theme;
        kept = false;
    }
    ReleaseSRWLockExclusive(&themesLock);
    for (int gone = 0; gone < releasedCount; gone++) {
        releaseTheme(released[gone]);
    }
    return kept;
}

void forgetWindowTheme(HWND window) {
    if (windowThemeCount != 0) {
        swapWindowTheme(window, nullptr);
    }
}

Theme* getWindowTheme(HWND window) {
    Theme* found = nullptr;
    if (windowThemeCount != 0) {
        AcquireSRWLockShared(&themesLock);
        for (HWND around = window; around != nullptr && found == nullptr; around = GetAncestor(around, GA_PARENT)) {
            int index = findWindowThemeIndex(around);
            found = index >= 0 ? windowThemes[index].theme : nullptr;
        }
        ReleaseSRWLockShared(&themesLock);
    }
    return found != nullptr ? found : processTheme.load();
}

// Where a section's roles stand in a theme.ini: the key of each look, and
// of a disabled window's text; themeColourKeyCount for none.
struct SectionColour {
    ThemeSection section;
    ColourRole role;
    ThemeColourKey key;
    ThemeColourKey hotKey;
    ThemeColourKey disabledKey;
};

static const ThemeColourKey noKey = themeColourKeyCount;

static const SectionColour sectionColours[] = {
    {buttonSection, buttonTextColour, buttonTextKey, buttonHotTextKey, buttonDisabledTextKey},
    {buttonSection, pressedTextColour, buttonPressedTextKey, noKey, buttonDisabledTextKey},
    {tabSection, tabTextColour, tabTextKey, tabHotTextKey, tabDisabledTextKey},
    {tabSection, pressedTextColour, tabPressedTextKey, noKey, tabDisabledTextKey},
    {linkSection, linkTextColour, linkTextKey, linkHotTextKey, linkDisabledTextKey},
    {linkSection, bodyColour, linkBackgroundKey, noKey, noKey},
    {listSection, labelTextColour, listTextKey, noKey, noKey},
    {listSection, bodyColour, listBackgroundKey, noKey, noKey},
    {staticSection, labelTextColour, staticTextKey, noKey, noKey},
    {staticSection, bodyColour, staticBackgroundKey, noKey, noKey},
    {frameSection, bodyTextColour, frameTextKey, noKey, noKey},
    {frameSection, bodyColour, frameBackgroundKey, noKey, noKey},
    {editSection, bodyTextColour, editTextKey, noKey, noKey},
    {editSection, bodyColour, editBackgroundKey, noKey, noKey},
    {editSection, editFrameColour, editFrameKey, noKey, noKey},
    {windowSection, bodyColour, windowBackgroundKey, noKey, noKey},
};

static const SectionColour* findSectionColour(HWND window, ColourRole role) {
    const WindowState* state = findWindowState(window);
    ThemeSection section = state != nullptr ? state->section : noSection;
    for (const SectionColour& row : sectionColours) {
        if (row.section == section && row.role == role) {
            return &row;
        }
    }
    return nullptr;
}

// The first key that the theme gives; high contrast takes no theme's colour.
static COLORREF findGivenColour(HWND window, const ThemeColourKey* keys, int count) {
    Theme* theme = getWindowTheme(window);
    if (drawsPlain() || theme->builtIn) {
        return CLR_INVALID;
    }
    COLORREF colour = CLR_INVALID;
    for (int index = 0; index < count && colour == CLR_INVALID; index++) {
        colour = keys[index] != noKey ? findThemeColour(theme, keys[index]) : CLR_INVALID;
    }
    return colour;
}

COLORREF getWindowColour(HWND window, ColourRole role) {
    const SectionColour* row = findSectionColour(window, role);
    COLORREF given = row != nullptr ? findGivenColour(window, &row->key, 1) : CLR_INVALID;
    return given != CLR_INVALID ? given : getColour(role);
}

COLORREF getTextColour(HWND window, ColourRole role, ControlLook look) {
    const SectionColour* row = findSectionColour(window, role);
    bool disabled = !IsWindowEnabled(window);
    if (row != nullptr) {
        ThemeColourKey keys[] = {disabled ? row->disabledKey : look == hotLook ? row->hotKey : noKey, row->key};
        COLORREF given = findGivenColour(window, keys, 2);
        if (given != CLR_INVALID) {
            return given;
        }
    }
    COLORREF disabledColour = getColour(disabledTextColour);
    return disabled && disabledColour != CLR_INVALID ? disabledColour : getColour(role);
}
