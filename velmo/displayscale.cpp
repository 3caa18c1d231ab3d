// The DPI of a window and lengths scaled to it.
#include "displayscale.h"

typedef UINT(WINAPI* GetDpiForWindowFunction)(HWND);

// Null where user32 has no GetDpiForWindow (before Windows 10 1607).
static GetDpiForWindowFunction findGetDpiForWindow(void) {
    HMODULE user = GetModuleHandleA("user32.dll");
    return user != nullptr ? reinterpret_cast<GetDpiForWindowFunction>(
                                 reinterpret_cast<void (*)(void)>(GetProcAddress(user, "GetDpiForWindow")))
                           : nullptr;
}

int getSystemDpi(void) {
    static int systemDpi = 0;
    if (systemDpi == 0) {
        HDC screen = GetDC(nullptr);
        int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen != nullptr) {
            ReleaseDC(nullptr, screen);
        }
        systemDpi = dpi > 0 ? dpi : baseDpi;
    }
    return systemDpi;
}

int getWindowDpi(HWND window) {
    static GetDpiForWindowFunction getDpiForWindow = findGetDpiForWindow();
    UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : getSystemDpi();
}

int scaleToDpi(int length, int dpi) {
    return MulDiv(length, dpi, baseDpi);
}

int scaleLength(HWND window, int length) {
    return scaleToDpi(length, getWindowDpi(window));
}
