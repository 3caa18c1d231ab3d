// A theme's data with a lifetime: its images at each scale and appearance,
// their pixel copies, its colours and its fonts at each DPI, in one record.
// The built-in theme, read from bitmap/ and the registry, lives as long as
// the library; a theme read from a folder is freed when nothing uses it any
// more.
#ifndef VELMO_THEMERECORD_H
#define VELMO_THEMERECORD_H

#include <windows.h>

#include "theme.h"
#include "themefile.h"

struct Theme;

// A bitmap's pixels, read once as a top-down 32-bit DIB. Selecting a
// device-dependent bitmap into a memory context costs far more than the copy
// that follows (about 120 us against 7 us under Wine here), so the controls
// draw from these copies; a theme's bitmaps are only read, never changed.
struct PixelCopy {
    BITMAPINFO info;
    DWORD* pixels;
};

// A theme bitmap as drawn at one DPI: its pixel copy where it has one (null
// for a bitmap drawn through a memory context), and density, how many of its
// pixels stand for one at 96 DPI.
struct ThemeImage {
    HBITMAP bitmap;
    const PixelCopy* copy;
    int density;
    int dpi;
};

Theme* getBuiltInTheme(void);

// A theme read from the folder (a full path): its theme.ini files now, each
// image at the first draw that needs it; null when memory runs out. Nobody
// uses it yet: holdTheme it.
Theme* newFolderTheme(const wchar_t* folder);

// One more user of theme, and one fewer: the last release frees it, once no
// drawing that may still read it is under way. The built-in theme and null
// are passed over.
void holdTheme(Theme* theme);
void releaseTheme(Theme* theme);

// Brackets a drawing: a theme released meanwhile stays until the end of the
// last drawing under way.
void beginThemeUse(void);
void endThemeUse(void);

// The theme that draws window: the theme of the window or of the nearest
// window round it that has one of its own, else the process's.
Theme* getWindowTheme(HWND window);

// The process's theme, and a window's own theme (useTheme, useWindowTheme);
// each swap holds the new theme and releases the old one. False, with
// nothing changed, when no more windows can keep a theme of their own.
void swapProcessTheme(Theme* theme);
bool swapWindowTheme(HWND window, Theme* theme);

// Drops the window's own theme, as the window goes.
void forgetWindowTheme(HWND window);

// The theme's image of that row as drawn at this DPI in the present
// appearance: the dark set's where it draws dark and has the file, then the
// light one's; from 144 DPI on each set's 2x file before its 1x one. A hot or
// disabled image that the theme lacks falls back to its part's normal image
// in the theme, and a folder theme's missing image to the built-in theme's.
// The built-in theme has no hot or disabled images.
ThemeImage findThemeImage(Theme* theme, ThemeBitmap which, int dpi);

// The colour that the theme gives the key in the present appearance (its
// dark variant's first in the dark one); CLR_INVALID where it gives none.
COLORREF findThemeColour(const Theme* theme, ThemeColourKey key);

// The theme's font at this DPI: the built-in theme's is the exported main
// font at the system's DPI, and one made at the first call for each other
// DPI; past as many DPIs as a record keeps, the main font.
HFONT getThemeFont(Theme* theme, int dpi);

// Frees what the built-in theme loaded besides the registry, for an unload.
void deleteBuiltInThemeData(void);

#endif
