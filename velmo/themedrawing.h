// Drawing the theme's bitmaps: each looked up once, its pixels copied once,
// and drawn stretched alone or as a three-slice strip. The button, tab menu
// and frame draw strips; the link and the list draw single bitmaps.
#ifndef VELMO_THEMEDRAWING_H
#define VELMO_THEMEDRAWING_H

#include <windows.h>

#include "theme.h"

// The theme bitmap of that row, looked up in the registry at the first call
// and kept; a miss gives null (nothing to draw) and is looked up again at the
// next call.
HBITMAP findThemeBitmap(ThemeBitmap which);

// The bitmap's own size; 0 x 0 for a null bitmap.
SIZE getBitmapSize(HBITMAP bitmap);

// Copies the top-left source area of bitmap into the destination rectangle of
// target, stretched; a null bitmap draws nothing. The bitmap's pixels are read
// at its first draw and kept for the life of the process.
void drawBitmap(HDC target, HBITMAP bitmap, const RECT* destination, SIZE source);

// The three bitmaps of a strip: caps drawn over the ends of a stretched middle.
struct StripSlices {
    HBITMAP left;
    HBITMAP middle;
    HBITMAP right;
};

// How a strip reads and places its slices. A size or height of 0 stands for
// the slice's own; caps are always as wide as their own bitmap.
struct StripLayout {
    SIZE middleSource;
    SIZE capSource;
    int middleHeight;
    int capHeight;
    // The frame's header leaves the middle short by the middle's own width.
    bool middleShortenedByItsWidth;
};

// The slices whose left one is left; the middle and right follow it.
StripSlices findStripSlices(ThemeBitmap left);

// Draws the middle, then the left cap at x, then the right cap ending at
// x + width, all from the top of target.
void drawThreeSliceStrip(HDC target, const StripSlices* slices, int x, int width,
                         const StripLayout* layout);

#endif
