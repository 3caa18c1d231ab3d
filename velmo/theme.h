// The theme's bitmaps, named once: getBitmaps builds its registry from this
// table, and the theme records look their bitmaps up by its rows; and the
// main font.
#ifndef VELMO_THEME_H
#define VELMO_THEME_H

#include <windows.h>

// Rows of one list stand together; a strip's left, middle and right slices
// follow one another. The registry holds the first themeBitmapCount; the hot
// and disabled images after them come only from theme folders.
enum ThemeBitmap {
    buttonLeft,
    buttonMiddle,
    buttonRight,
    buttonLeftPressed,
    buttonMiddlePressed,
    buttonRightPressed,
    tabLeft,
    tabMiddle,
    tabRight,
    tabPressedLeft,
    tabPressedMiddle,
    tabPressedRight,
    linkIcon,
    frameLeft,
    frameMiddle,
    frameRight,
    listMarker,
    themeBitmapCount,
    buttonLeftHot = themeBitmapCount,
    buttonMiddleHot,
    buttonRightHot,
    buttonLeftDisabled,
    buttonMiddleDisabled,
    buttonRightDisabled,
    tabHotLeft,
    tabHotMiddle,
    tabHotRight,
    linkHot,
    linkDisabled,
    themeImageCount
};

struct ThemeRow {
    const char* listName;
    const char* bitmapName;
    const char* path;
};

extern const ThemeRow themeRows[themeBitmapCount];

// The image's file name in any theme folder, e.g. "buttonlefthot.bmp".
const char* getThemeFileName(ThemeBitmap which);

// The relative path taken from the library's own folder; false when the
// library's file name can't be read or the result wouldn't fit in MAX_PATH.
bool placeBesideLibrary(const wchar_t* path, wchar_t* full);

// The theme's file of that row in another set, whose folder (bitmap/2x/,
// bitmap/dark/, ...) is found as bitmap/ is; null when there is none. The
// caller keeps it.
HBITMAP loadThemeFileFrom(const char* folder, ThemeBitmap which);

// A new font of the main font's face at its height for this DPI; the caller
// owns it.
HFONT makeMainFontAt(int dpi);

// A new font of this face (null: the main font's) and height in pixels at
// 96 DPI (0: the main font's), bold or of normal weight, for this DPI; the
// caller owns it.
HFONT makeFontAt(const wchar_t* face, int height, bool bold, int dpi);

#endif
