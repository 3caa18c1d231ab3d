// Reading back what a window shows, and what a theme bitmap holds, as plain
// 0x00RRGGBB pixels, with the comparisons the drawing tests make.
#ifndef VELMO_TEST_PIXELS_H
#define VELMO_TEST_PIXELS_H

#include <windows.h>

#include <stdint.h>
#include <functional>
#include <vector>

struct Pixels {
    int width;
    int height;
    std::vector<uint32_t> data;
};

// 0x00RRGGBB, the form every pixel here takes.
uint32_t makePixel(int red, int green, int blue);

// The pixel at (x, y); 0xFFFFFFFF outside the image.
uint32_t getPixel(const Pixels* pixels, int x, int y);

// The window's client area as drawn: BitBlt from its DC (GetDC) into a
// 32-bit DIB section. Empty when the window can't be read.
Pixels captureWindow(HWND window);

// What the window draws of its client area when asked with WM_PRINTCLIENT
// and these flags into a 32-bit DIB section that starts black; ready runs
// once the section exists, just before the print.
Pixels printWindow(HWND window, const std::function<void()>& ready = []() {}, LPARAM flags = PRF_CLIENT);

// The same through PrintWindow, which erases the background first and which
// Wine leaves child windows out of.
Pixels printWholeWindow(HWND window);

// The screen as shown in the area at (x, y): what lies outside a window's
// region shows here, not in captureWindow.
Pixels captureScreen(int x, int y, int width, int height);

// A bitmap file's own pixels (LoadImageA from the file, then GetDIBits).
// Empty when the file can't be loaded.
Pixels loadBitmapPixels(const char* path);

// Write the image as a bitmap file, for a theme of a test's own: 32 bits a
// pixel, or one bit, white and every other colour black.
bool saveBitmapFile(const char* path, const Pixels* image);
bool saveMonochromeBitmapFile(const char* path, const Pixels* image);

// How many pixels of the width x height block at (x, y) of image differ from
// the block at (sourceX, sourceY) of source.
int countDifferences(const Pixels* image, int x, int y, const Pixels* source, int sourceX, int sourceY,
                     int width, int height);

// The three slice files of a theme strip, read with loadBitmapPixels.
struct Strip {
    Pixels left;
    Pixels middle;
    Pixels right;
};
Strip loadStrip(const char* left, const char* middle, const char* right);

// How many pixels of the columns from..to-1, top height rows, of image differ
// from the first column of middle: a stretched middle slice, whose columns
// are all alike.
int countMiddleDifferences(const Pixels* image, int from, int to, int height, const Pixels* middle);

// How many pixels of the strip at x, width wide and height high, of image
// differ from the strip drawn from strip: each cap at its own width at its
// end, every column between them a copy of the middle's first column.
int countStripDifferences(const Pixels* image, int x, int width, int height, const Strip* strip);

// How many pixels of the area are (or are not) the colour.
int countPixelsOf(const Pixels* image, RECT area, uint32_t colour);
int countPixelsNotOf(const Pixels* image, RECT area, uint32_t colour);

// How many pixels differ between two images of the same size, counting only
// those outside the area (used to find where text was drawn).
int countDifferencesOutside(const Pixels* image, const Pixels* other, RECT area);
int countDifferencesInside(const Pixels* image, const Pixels* other, RECT area);

#endif
