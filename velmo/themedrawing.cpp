// The theme's bitmaps as the controls draw them at their DPI, from lookups
// and pixel copies that are made once and kept for the life of the process.
#include "themedrawing.h"

#include "controlplumbing.h"
#include "displayscale.h"
#include "velmo.h"

#include <new>

static HBITMAP themeBitmaps[themeBitmapCount];

HBITMAP findThemeBitmap(ThemeBitmap which) {
    if (themeBitmaps[which] == nullptr) {
        themeBitmaps[which] = getControlBitmap(themeRows[which].listName, themeRows[which].bitmapName);
    }
    return themeBitmaps[which];
}

// The sets besides the light 1x one that the registry holds, each read only
// when a window draws from it, so a light process at 96 DPI reads none; a
// missing file is not looked for again.
enum BitmapSet { doubledSet, darkSet, darkDoubledSet, extraSetCount };

struct SetFolder {
    const char* folder;
    int density;
};

static const SetFolder setFolders[extraSetCount] = {
    {"bitmap/2x/", 2}, {"bitmap/dark/", 1}, {"bitmap/dark/2x/", 2}};
static const int doubledFromDpi = 144;
static HBITMAP setBitmaps[extraSetCount][themeBitmapCount];
static bool setLookedFor[extraSetCount][themeBitmapCount];

static ThemeImage findSetImage(BitmapSet set, ThemeBitmap which, int dpi) {
    if (!setLookedFor[set][which]) {
        setBitmaps[set][which] = loadThemeFileFrom(setFolders[set].folder, which);
        setLookedFor[set][which] = true;
    }
    return {setBitmaps[set][which], setFolders[set].density, dpi};
}

// The dark theme's file where it has one, then the light theme's; from
// 144 DPI on, the 2x file before the 1x one.
ThemeImage findThemeImage(ThemeBitmap which, int dpi) {
    bool doubled = dpi >= doubledFromDpi;
    ThemeImage image = {nullptr, 1, dpi};
    if (getAppearance() == darkAppearance) {
        image = findSetImage(doubled ? darkDoubledSet : darkSet, which, dpi);
    }
    if (image.bitmap == nullptr && doubled) {
        image = findSetImage(doubledSet, which, dpi);
    }
    if (image.bitmap == nullptr) {
        image = {findThemeBitmap(which), 1, dpi};
    }
    return image;
}

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

StripSlices findStripSlices(ThemeBitmap left, int dpi) {
    StripSlices slices = {findThemeImage(left, dpi), findThemeImage(static_cast<ThemeBitmap>(left + 1), dpi),
                          findThemeImage(static_cast<ThemeBitmap>(left + 2), dpi), findPlainFace(left)};
    return slices;
}

// A bitmap's pixels, read once as a top-down 32-bit DIB. Selecting a
// device-dependent bitmap into a memory context costs far more than the copy
// that follows (about 120 us against 7 us under Wine here), so the controls
// draw from these copies; the theme's bitmaps are only read, never changed.
struct PixelCopy {
    HBITMAP bitmap;
    BITMAPINFO info;
    DWORD* pixels;
};

// Room for the light and dark themes' bitmaps, their 2x sets and those of a
// registry built again, with some to spare; any further bitmap is drawn through a memory
// context.
static const int maxPixelCopies = 6 * themeBitmapCount;
// Larger bitmaps are drawn through a memory context too.
static const LONG maxCopiedPixels = 1 << 22;

static PixelCopy* pixelCopies[maxPixelCopies];
static int pixelCopyCount;

// Null for a bitmap that is drawn through a memory context: one too large, or
// a monochrome one, which takes the target's text and background colours there.
static PixelCopy* newPixelCopy(HDC reference, HBITMAP bitmap) {
    BITMAP record;
    if (GetObjectA(bitmap, sizeof record, &record) == 0 || record.bmBitsPixel == 1 || record.bmWidth <= 0 ||
        record.bmHeight <= 0 || record.bmWidth > maxCopiedPixels / record.bmHeight) {
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
    if (copy->pixels == nullptr ||
        GetDIBits(reference, bitmap, 0, record.bmHeight, copy->pixels, &copy->info, DIB_RGB_COLORS) != record.bmHeight) {
        delete[] copy->pixels;
        delete copy;
        return nullptr;
    }
    copy->bitmap = bitmap;
    return copy;
}

static const PixelCopy* findMadeCopy(HBITMAP bitmap) {
    for (int index = 0; index < pixelCopyCount; index++) {
        if (pixelCopies[index]->bitmap == bitmap) {
            return pixelCopies[index];
        }
    }
    return nullptr;
}

// Null when the copy can't be made or kept.
static const PixelCopy* findPixelCopy(HDC reference, HBITMAP bitmap) {
    const PixelCopy* made = findMadeCopy(bitmap);
    if (made != nullptr) {
        return made;
    }
    if (pixelCopyCount == maxPixelCopies) {
        return nullptr;
    }
    PixelCopy* copy = newPixelCopy(reference, bitmap);
    if (copy != nullptr) {
        pixelCopies[pixelCopyCount++] = copy;
    }
    return copy;
}

// Read from the bitmap's pixel copy once there is one: the strips ask for
// sizes several times a paint, and each GDI query costs a call into Wine's
// display driver.
static SIZE getBitmapSize(HBITMAP bitmap) {
    SIZE size = {0, 0};
    const PixelCopy* copy = findMadeCopy(bitmap);
    BITMAP record;
    if (copy != nullptr) {
        size.cx = copy->info.bmiHeader.biWidth;
        size.cy = -copy->info.bmiHeader.biHeight;
    } else if (bitmap != nullptr && GetObjectA(bitmap, sizeof record, &record) != 0) {
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
    SIZE own = getBitmapSize(image->bitmap);
    int scale = baseDpi * image->density;
    SIZE drawn = {MulDiv(own.cx, image->dpi, scale), MulDiv(own.cy, image->dpi, scale)};
    return drawn;
}

// A size given in pixels of the 1x bitmap, in the image's own pixels.
static SIZE toImagePixels(const ThemeImage* image, SIZE size) {
    SIZE pixels = {size.cx * image->density, size.cy * image->density};
    return pixels;
}

static void copyPixels(HDC target, HBITMAP bitmap, const RECT* destination, SIZE source) {
    const PixelCopy* copy = findPixelCopy(target, bitmap);
    if (copy == nullptr) {
        copyThroughMemoryContext(target, bitmap, destination, source);
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
static void drawBitmap(HDC target, HBITMAP bitmap, const RECT* destination, SIZE source) {
    if (bitmap == nullptr) {
        return;
    }
    bool shrinks =
        destination->right - destination->left < source.cx || destination->bottom - destination->top < source.cy;
    int previousMode = shrinks ? SetStretchBltMode(target, HALFTONE) : 0;
    copyPixels(target, bitmap, destination, source);
    if (previousMode != 0) {
        SetStretchBltMode(target, previousMode);
    }
}

void drawImage(HDC target, const ThemeImage* image, const RECT* destination) {
    drawBitmap(target, image->bitmap, destination, getBitmapSize(image->bitmap));
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
    SIZE source = layout->capSource.cx != 0 ? toImagePixels(cap, layout->capSource) : getBitmapSize(cap->bitmap);
    int height = layout->capHeight != 0 ? scaleToDpi(layout->capHeight, cap->dpi) : drawn.cy;
    RECT destination = {x, 0, x + drawn.cx, height};
    drawBitmap(target, cap->bitmap, &destination, source);
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
                                               : getBitmapSize(middle->bitmap);
    int middleWidth = layout->middleShortenedByItsWidth ? width - drawn.cx : width;
    RECT destination = {x, 0, x + middleWidth, getMiddleHeight(middle, layout)};
    drawBitmap(target, middle->bitmap, &destination, source);
    drawCap(target, &slices->left, x, layout);
    drawCap(target, &slices->right, x + width - getDrawnSize(&slices->right).cx, layout);
}
