// Lengths at the DPI of the window they are drawn in. A control gives its
// lengths in 96-DPI pixels and scales them here with its window's DPI; a
// bitmap's own size scales with the image that drawing chooses, and a
// one-pixel outline stays one pixel.
#ifndef VELMO_DISPLAYSCALE_H
#define VELMO_DISPLAYSCALE_H

#include <windows.h>

// The DPI at which lengths are given.
const int baseDpi = 96;

// The screen's DPI (LOGPIXELSY), read once; baseDpi when it can't be read.
int getSystemDpi(void);

// The window's own DPI where the platform tells it (GetDpiForWindow), else the
// screen's.
int getWindowDpi(HWND window);

// length, given at baseDpi, at the window's DPI.
int scaleLength(HWND window, int length);

// The same at a DPI already read.
int scaleToDpi(int length, int dpi);

#endif
