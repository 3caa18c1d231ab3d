#include "pixels.h"

#include <stdio.h>

#include <functional>

static const uint32_t colourMask = 0x00FFFFFF;
static const uint32_t outsidePixel = 0xFFFFFFFF;

uint32_t makePixel(int red, int green, int blue) {
    return (uint32_t)red << 16 | (uint32_t)green << 8 | (uint32_t)blue;
}

uint32_t getPixel(const Pixels* pixels, int x, int y) {
    if (x < 0 || y < 0 || x >= pixels->width || y >= pixels->height) {
        return outsidePixel;
    }
    return pixels->data[y * pixels->width + x];
}

// Top-down 32-bit rows, so row y starts at y * width.
static BITMAPINFO describeRows(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

static Pixels makePixels(int width, int height, const uint32_t* bits) {
    Pixels pixels = {width, height, std::vector<uint32_t>(bits, bits + width * height)};
    for (uint32_t& pixel : pixels.data) {
        pixel &= colourMask;
    }
    return pixels;
}

// What draw puts into a width x height 32-bit DIB section compatible with reference.
static Pixels drawIntoSection(HDC reference, int width, int height, const std::function<void(HDC)>& draw) {
    Pixels pixels = {0, 0, {}};
    BITMAPINFO info = describeRows(width, height);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr) {
        return pixels;
    }
    HDC memory = CreateCompatibleDC(reference);
    if (memory != nullptr) {
        HGDIOBJ previous = SelectObject(memory, section);
        draw(memory);
        GdiFlush();
        pixels = makePixels(width, height, (const uint32_t*)bits);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    DeleteObject(section);
    return pixels;
}

static Pixels copyFromDc(HDC source, int x, int y, int width, int height) {
    return drawIntoSection(source, width, height,
                           [=](HDC memory) { BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY); });
}

// The client area as the window's DC shows it, or as print draws it into a
// section that starts black.
static Pixels readClientArea(HWND window, const std::function<void(HDC)>* print) {
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) {
        return {0, 0, {}};
    }
    HDC source = GetDC(window);
    if (source == nullptr) {
        return {0, 0, {}};
    }
    Pixels pixels = print != nullptr ? drawIntoSection(source, client.right, client.bottom, *print)
                                     : copyFromDc(source, 0, 0, client.right, client.bottom);
    ReleaseDC(window, source);
    return pixels;
}

Pixels captureWindow(HWND window) {
    return readClientArea(window, nullptr);
}

Pixels printWindow(HWND window, const std::function<void()>& ready, LPARAM flags) {
    std::function<void(HDC)> print = [window, &ready, flags](HDC memory) {
        ready();
        SendMessageA(window, WM_PRINTCLIENT, (WPARAM)memory, flags);
    };
    return readClientArea(window, &print);
}

Pixels printWholeWindow(HWND window) {
    std::function<void(HDC)> print = [window](HDC memory) { PrintWindow(window, memory, PW_CLIENTONLY); };
    return readClientArea(window, &print);
}

Pixels captureScreen(int x, int y, int width, int height) {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return {0, 0, {}};
    }
    Pixels pixels = copyFromDc(screen, x, y, width, height);
    ReleaseDC(nullptr, screen);
    return pixels;
}

Pixels loadBitmapPixels(const char* path) {
    Pixels pixels = {0, 0, {}};
    HBITMAP bitmap = (HBITMAP)LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    BITMAP record;
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof record, &record) == 0) {
        return pixels;
    }
    BITMAPINFO info = describeRows(record.bmWidth, record.bmHeight);
    std::vector<uint32_t> bits(record.bmWidth * record.bmHeight);
    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bitmap, 0, record.bmHeight, bits.data(), &info, DIB_RGB_COLORS) == record.bmHeight) {
        pixels = makePixels(record.bmWidth, record.bmHeight, bits.data());
    }
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return pixels;
}

// rows holds the bitmap's rows bottom-up, the order bitmap files keep.
static bool writeBitmapFile(const char* path, const BITMAPINFOHEADER* header, const RGBQUAD* palette,
                            int paletteSize, const std::vector<uint8_t>& rows) {
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = (DWORD)(sizeof file + sizeof *header + paletteSize * sizeof *palette);
    file.bfSize = file.bfOffBits + (DWORD)rows.size();
    FILE* out = fopen(path, "wb");
    if (out == nullptr) {
        return false;
    }
    bool written = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(header, sizeof *header, 1, out) == 1 &&
                   (paletteSize == 0 || fwrite(palette, sizeof *palette, paletteSize, out) == (size_t)paletteSize) &&
                   fwrite(rows.data(), rows.size(), 1, out) == 1;
    return fclose(out) == 0 && written;
}

bool saveBitmapFile(const char* path, const Pixels* image) {
    BITMAPINFOHEADER header = describeRows(image->width, image->height).bmiHeader;
    header.biHeight = image->height;
    std::vector<uint8_t> rows;
    for (int row = image->height - 1; row >= 0; row--) {
        const uint8_t* first = (const uint8_t*)&image->data[row * image->width];
        rows.insert(rows.end(), first, first + image->width * sizeof image->data[0]);
    }
    return writeBitmapFile(path, &header, nullptr, 0, rows);
}

bool saveMonochromeBitmapFile(const char* path, const Pixels* image) {
    static const uint32_t white = 0x00FFFFFF;
    static const RGBQUAD palette[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    BITMAPINFOHEADER header = describeRows(image->width, image->height).bmiHeader;
    header.biHeight = image->height;
    header.biBitCount = 1;
    size_t rowSize = (image->width + 31) / 32 * 4;
    std::vector<uint8_t> rows(rowSize * image->height, 0);
    for (int row = 0; row < image->height; row++) {
        uint8_t* bits = &rows[(image->height - 1 - row) * rowSize];
        for (int column = 0; column < image->width; column++) {
            if (getPixel(image, column, row) == white) {
                bits[column / 8] |= (uint8_t)(0x80 >> (column % 8));
            }
        }
    }
    return writeBitmapFile(path, &header, palette, 2, rows);
}

int countDifferences(const Pixels* image, int x, int y, const Pixels* source, int sourceX, int sourceY,
                     int width, int height) {
    int differences = 0;
    for (int row = 0; row < height; row++) {
        for (int column = 0; column < width; column++) {
            if (getPixel(image, x + column, y + row) != getPixel(source, sourceX + column, sourceY + row)) {
                differences++;
            }
        }
    }
    return differences;
}

Strip loadStrip(const char* left, const char* middle, const char* right) {
    return {loadBitmapPixels(left), loadBitmapPixels(middle), loadBitmapPixels(right)};
}

int countMiddleDifferences(const Pixels* image, int from, int to, int height, const Pixels* middle) {
    int differences = 0;
    for (int x = from; x < to; x++) {
        differences += countDifferences(image, x, 0, middle, 0, 0, 1, height);
    }
    return differences;
}

int countStripDifferences(const Pixels* image, int x, int width, int height, const Strip* strip) {
    int rightCap = x + width - strip->right.width;
    return countDifferences(image, x, 0, &strip->left, 0, 0, strip->left.width, height) +
           countDifferences(image, rightCap, 0, &strip->right, 0, 0, strip->right.width, height) +
           countMiddleDifferences(image, x + strip->left.width, rightCap, height, &strip->middle);
}

static bool isInside(RECT area, int x, int y) {
    return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
}

static int countWhere(const Pixels* image, RECT area, uint32_t colour, bool equal) {
    int count = 0;
    for (int y = area.top; y < area.bottom; y++) {
        for (int x = area.left; x < area.right; x++) {
            if ((getPixel(image, x, y) == colour) == equal) {
                count++;
            }
        }
    }
    return count;
}

int countPixelsOf(const Pixels* image, RECT area, uint32_t colour) {
    return countWhere(image, area, colour, true);
}

int countPixelsNotOf(const Pixels* image, RECT area, uint32_t colour) {
    return countWhere(image, area, colour, false);
}

static int countDifferencesWhere(const Pixels* image, const Pixels* other, RECT area, bool inside) {
    int count = 0;
    for (int y = 0; y < image->height; y++) {
        for (int x = 0; x < image->width; x++) {
            if (isInside(area, x, y) == inside && getPixel(image, x, y) != getPixel(other, x, y)) {
                count++;
            }
        }
    }
    return count;
}

int countDifferencesOutside(const Pixels* image, const Pixels* other, RECT area) {
    return countDifferencesWhere(image, other, area, false);
}

int countDifferencesInside(const Pixels* image, const Pixels* other, RECT area) {
    return countDifferencesWhere(image, other, area, true);
}
