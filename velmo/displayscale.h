// Lengths at the DPI of the window they are drawn in: every length a control
// gives in 96-DPI pixels goes through scaleLength, so what is drawn and what
// is hit-tested agree at any display scaling.
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
