// A theme's data with a lifetime: its images at each scale and appearance,
// their pixel copies, and its fonts at each DPI, in one record. A record is
// freed when nothing uses it any more; the built-in theme, read from bitmap/
// and the registry, lives as long as the library.
#ifndef VELMO_THEMERECORD_H
#define VELMO_THEMERECORD_H

#include <windows.h>

#include "theme.h"

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

// The theme that draws window: its own where it has one, else the process's.
Theme* getWindowTheme(HWND window);

// One more user of theme, and one fewer: the last release frees it. The
// built-in theme and null are passed over.
void holdTheme(Theme* theme);
void releaseTheme(Theme* theme);

// The theme's image of that row as drawn at this DPI in the present
// appearance: the dark set's where it draws dark and has the file, then the
// light one's; from 144 DPI on each set's 2x file before its 1x one. Each is
// loaded at its first use and kept while the theme lives.
ThemeImage findThemeImage(Theme* theme, ThemeBitmap which, int dpi);

// The theme's font at this DPI: the exported main font at the system's DPI,
// one made at the first call for each other DPI, and past as many DPIs as a
// record keeps, the main font.
HFONT getThemeFont(Theme* theme, int dpi);

// Frees what the built-in theme loaded besides the registry, for an unload.
void deleteBuiltInThemeData(void);

#endif
