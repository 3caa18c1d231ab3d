// The theme's bitmaps as the controls draw them, from lookups and pixel
// copies that are made once and kept for the life of the process.
#include "themedrawing.h"

#include "velmo.h"

#include <new>

static HBITMAP themeBitmaps[themeBitmapCount];

HBITMAP findThemeBitmap(ThemeBitmap which) {
    if (themeBitmaps[which] == nullptr) {
        themeBitmaps[which] = getControlBitmap(themeRows[which].listName, themeRows[which].bitmapName);
    }
    return themeBitmaps[which];
}

StripSlices findStripSlices(ThemeBitmap left) {
    StripSlices slices = {findThemeBitmap(left), findThemeBitmap(static_cast<ThemeBitmap>(left + 1)),
                          findThemeBitmap(static_cast<ThemeBitmap>(left + 2))};
    return slices;
}

SIZE getBitmapSize(HBITMAP bitmap) {
    SIZE size = {0, 0};
    BITMAP record;
    if (bitmap != nullptr && GetObjectA(bitmap, sizeof record, &record) != 0) {
        size.cx = record.bmWidth;
        size.cy = record.bmHeight;
    }
    return size;
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

// Room for the theme's 17 bitmaps and those of a registry built again; any
// further bitmap is drawn through a memory context.
static const int maxPixelCopies = 64;
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

// Null when the copy can't be made or kept.
static const PixelCopy* findPixelCopy(HDC reference, HBITMAP bitmap) {
    for (int index = 0; index < pixelCopyCount; index++) {
        if (pixelCopies[index]->bitmap == bitmap) {
            return pixelCopies[index];
        }
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

void drawBitmap(HDC target, HBITMAP bitmap, const RECT* destination, SIZE source) {
    if (bitmap == nullptr) {
        return;
    }
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

static void drawCap(HDC target, HBITMAP cap, int x, const StripLayout* layout) {
    SIZE own = getBitmapSize(cap);
    SIZE source = layout->capSource.cx != 0 ? layout->capSource : own;
    int height = layout->capHeight != 0 ? layout->capHeight : own.cy;
    RECT destination = {x, 0, x + own.cx, height};
    drawBitmap(target, cap, &destination, source);
}

void drawThreeSliceStrip(HDC target, const StripSlices* slices, int x, int width,
                         const StripLayout* layout) {
    SIZE middle = getBitmapSize(slices->middle);
    SIZE source = layout->middleSource.cx != 0 ? layout->middleSource : middle;
    int middleWidth = layout->middleShortenedByItsWidth ? width - middle.cx : width;
    int middleHeight = layout->middleHeight != 0 ? layout->middleHeight : middle.cy;
    RECT destination = {x, 0, x + middleWidth, middleHeight};
    drawBitmap(target, slices->middle, &destination, source);
    drawCap(target, slices->left, x, layout);
    drawCap(target, slices->right, x + width - getBitmapSize(slices->right).cx, layout);
}
