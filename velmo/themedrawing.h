// Drawing a theme's images at a window's DPI, stretched alone or as a
// three-slice strip.
#ifndef VELMO_THEMEDRAWING_H
#define VELMO_THEMEDRAWING_H

#include <windows.h>

#include "appearance.h"
#include "themerecord.h"

// The image's own size at its DPI; 0 x 0 for a null bitmap.
SIZE getDrawnSize(const ThemeImage* image);

// Draws the whole image stretched into the destination rectangle of target;
// a null bitmap draws nothing.
void drawImage(HDC target, const ThemeImage* image, const RECT* destination);

// A glyph (the link's icon, the list's marker): the image, or where the
// controls draw plain a disc in colour, half the destination's width across,
// in its middle.
void drawGlyph(HDC target, const ThemeImage* image, const RECT* destination, COLORREF colour);

// The three images of a strip: caps drawn over the ends of a stretched
// middle; plain, one box of its face's colour.
struct StripSlices {
    ThemeImage left;
    ThemeImage middle;
    ThemeImage right;
    ColourRole face;
};

// How a strip reads and places its slices, in pixels at 96 DPI of the 1x
// bitmaps; the drawing scales them to the slices' DPI and density. A size or
// height of 0 stands for the slice's own; caps are always as wide as their own
// bitmap.
struct StripLayout {
    SIZE middleSource;
    SIZE capSource;
    int middleHeight;
    int capHeight;
    // The frame's header leaves the middle short by the middle's own width.
    bool middleShortenedByItsWidth;
};

// The theme's slices at this DPI whose left one is left; the middle and right
// follow it.
StripSlices findStripSlices(Theme* theme, ThemeBitmap left, int dpi);

// Draws the middle, then the left cap at x, then the right cap ending at
// x + width (both in target's pixels), all from the top of target; plain,
// the box over the same place, outlined.
void drawThreeSliceStrip(HDC target, const StripSlices* slices, int x, int width,
                         const StripLayout* layout);

#endif
