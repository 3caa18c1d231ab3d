// A theme's images as the controls draw them at their DPI.
#include "themedrawing.h"

#include "controlplumbing.h"
#include "displayscale.h"
#include "velmo.h"

// What a strip shows in place of its bitmaps when the controls draw plain.
static ColourRole findPlainFace(ThemeBitmap left) {
    switch (left) {
    case buttonLeftPressed:
    case tabPressedLeft:
        return pressedFaceColour;
    case frameLeft:
        return bodyColour;
    default:
        return barColour;
    }
}

StripSlices findStripSlices(Theme* theme, ThemeBitmap left, int dpi) {
    StripSlices slices = {findThemeImage(theme, left, dpi),
                          findThemeImage(theme, static_cast<ThemeBitmap>(left + 1), dpi),
                          findThemeImage(theme, static_cast<ThemeBitmap>(left + 2), dpi), findPlainFace(left)};
    return slices;
}

// Read from the image's pixel copy where it has one: the strips ask for sizes
// several times a paint, and each GDI query costs a call into Wine's display
// driver.
static SIZE getBitmapSize(const ThemeImage* image) {
    SIZE size = {0, 0};
    BITMAP record;
    if (image->copy != nullptr) {
        size.cx = image->copy->info.bmiHeader.biWidth;
        size.cy = -image->copy->info.bmiHeader.biHeight;
    } else if (image->bitmap != nullptr && GetObjectA(image->bitmap, sizeof record, &record) != 0) {
        size.cx = record.bmWidth;
        size.cy = record.bmHeight;
    }
    return size;
}

static void copyThroughMemoryContext(HDC target, HBITMAP bitmap, const RECT* destination, SIZE source) {
    HDC memory = CreateCompatibleDC(target);
    if (memory == nullptr) {
        return;
    }
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (previous != nullptr) {
        StretchBlt(target, destination->left, destination->top, destination->right - destination->left,
                   destination->bottom - destination->top, memory, 0, 0, source.cx, source.cy, SRCCOPY);
        SelectObject(memory, previous);
    }
    DeleteDC(memory);
}

SIZE getDrawnSize(const ThemeImage* image) {
    SIZE own = getBitmapSize(image);
    int scale = baseDpi * image->density;
    SIZE drawn = {MulDiv(own.cx, image->dpi, scale), MulDiv(own.cy, image->dpi, scale)};
    return drawn;
}

// A size given in pixels of the 1x bitmap, in the image's own pixels.
static SIZE toImagePixels(const ThemeImage* image, SIZE size) {
    SIZE pixels = {size.cx * image->density, size.cy * image->density};
    return pixels;
}

static void copyPixels(HDC target, const ThemeImage* image, const RECT* destination, SIZE source) {
    const PixelCopy* copy = image->copy;
    if (copy == nullptr) {
        copyThroughMemoryContext(target, image->bitmap, destination, source);
        return;
    }
    // StretchDIBits measures the source's y from the bottom row, even in a
    // top-down DIB: this reads the top source.cy rows, as StretchBlt would.
    int sourceBottom = -copy->info.bmiHeader.biHeight - source.cy;
    StretchDIBits(target, destination->left, destination->top, destination->right - destination->left,
                  destination->bottom - destination->top, 0, sourceBottom, source.cx, source.cy, copy->pixels,
                  &copy->info, DIB_RGB_COLORS, SRCCOPY);
}

// A 2x bitmap drawn below 192 DPI shrinks: the context's default stretch mode
// would AND the dropped pixels into the kept ones and darken the edges, so
// the colours are blended for that draw.
static void drawBitmap(HDC target, const ThemeImage* image, const RECT* destination, SIZE source) {
    if (image->bitmap == nullptr) {
        return;
    }
    bool shrinks =
        destination->right - destination->left < source.cx || destination->bottom - destination->top < source.cy;
    int previousMode = shrinks ? SetStretchBltMode(target, HALFTONE) : 0;
    copyPixels(target, image, destination, source);
    if (previousMode != 0) {
        SetStretchBltMode(target, previousMode);
    }
}

void drawImage(HDC target, const ThemeImage* image, const RECT* destination) {
    drawBitmap(target, image, destination, getBitmapSize(image));
}

void drawGlyph(HDC target, const ThemeImage* image, const RECT* destination, COLORREF colour) {
    if (!drawsPlain()) {
        drawImage(target, image, destination);
        return;
    }
    int diameter = (destination->right - destination->left) / 2;
    int left = (destination->left + destination->right - diameter) / 2;
    int top = (destination->top + destination->bottom - diameter) / 2;
    RECT disc = {left, top, left + diameter, top + diameter};
    drawShape(target, discShape, &disc, colour, colour);
}

static void drawCap(HDC target, const ThemeImage* cap, int x, const StripLayout* layout) {
    SIZE drawn = getDrawnSize(cap);
    SIZE source = layout->capSource.cx != 0 ? toImagePixels(cap, layout->capSource) : getBitmapSize(cap);
    int height = layout->capHeight != 0 ? scaleToDpi(layout->capHeight, cap->dpi) : drawn.cy;
    RECT destination = {x, 0, x + drawn.cx, height};
    drawBitmap(target, cap, &destination, source);
}

static int getMiddleHeight(const ThemeImage* middle, const StripLayout* layout) {
    return layout->middleHeight != 0 ? scaleToDpi(layout->middleHeight, middle->dpi) : getDrawnSize(middle).cy;
}

// One outlined box of the strip's face over the strip's whole place.
static void drawPlainStrip(HDC target, const StripSlices* slices, int x, int width, const StripLayout* layout) {
    RECT box = {x, 0, x + width, getMiddleHeight(&slices->middle, layout)};
    drawShape(target, boxShape, &box, getColour(slices->face), getColour(outlineColour));
}

void drawThreeSliceStrip(HDC target, const StripSlices* slices, int x, int width,
                         const StripLayout* layout) {
    if (drawsPlain()) {
        drawPlainStrip(target, slices, x, width, layout);
        return;
    }
    const ThemeImage* middle = &slices->middle;
    SIZE drawn = getDrawnSize(middle);
    SIZE source = layout->middleSource.cx != 0 ? toImagePixels(middle, layout->middleSource)
                                               : getBitmapSize(middle);
    int middleWidth = layout->middleShortenedByItsWidth ? width - drawn.cx : width;
    RECT destination = {x, 0, x + middleWidth, getMiddleHeight(middle, layout)};
    drawBitmap(target, middle, &destination, source);
    drawCap(target, &slices->left, x, layout);
    drawCap(target, &slices->right, x + width - getDrawnSize(&slices->right).cx, layout);
}
