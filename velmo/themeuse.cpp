// Switching themes while windows are shown: the process's theme and a
// window's own, each read from a folder and checked whole before anything
// changes, then every control concerned told of it.
#include "velmo.h"

#include <cwchar>

#include "themerecord.h"
#include "windowstate.h"

// A control on another thread that doesn't answer within this long is left
// to repaint when its thread comes back.
static const UINT otherThreadTimeout = 1000;

// The theme in the folder that a name or path gives, or null with the reason
// as the thread's last error.
static Theme* loadCheckedTheme(const wchar_t* folder) {
    wchar_t full[MAX_PATH];
    wchar_t ini[MAX_PATH];
    DWORD attributes = resolveThemeFolder(folder, full) ? GetFileAttributesW(full) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    if (swprintf(ini, MAX_PATH, L"%ls\\theme.ini", full) < 0 || GetFileAttributesW(ini) == INVALID_FILE_ATTRIBUTES) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    if (checkTheme(full, nullptr, 0) != 0) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    Theme* theme = newFolderTheme(full);
    if (theme == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return theme;
}

// Each control takes the theme it now draws with: it repaints, and the edit
// gives its field the new font. Controls of this thread answer at once.
static void tellControls(HWND within) {
    int count = 0;
    HWND* windows = newWindowList(&count);
    for (int index = 0; index < count; index++) {
        HWND window = windows[index];
        if (within == nullptr || window == within || IsChild(within, window)) {
            SendMessageTimeoutW(window, WM_THEMECHANGED, 0, 0, SMTO_ABORTIFHUNG, otherThreadTimeout, nullptr);
        }
    }
    delete[] windows;
}

// Null goes back to the built-in theme.
extern "C" BOOL useTheme(const wchar_t* folder) {
    Theme* theme = folder != nullptr ? loadCheckedTheme(folder) : getBuiltInTheme();
    if (theme == nullptr) {
        return FALSE;
    }
    swapProcessTheme(theme);
    tellControls(nullptr);
    return TRUE;
}

// Null makes the window follow the process's theme again.
extern "C" BOOL useWindowTheme(HWND window, const wchar_t* folder) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Theme* theme = folder != nullptr ? loadCheckedTheme(folder) : nullptr;
    if (folder != nullptr && theme == nullptr) {
        return FALSE;
    }
    if (!swapWindowTheme(window, theme)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    tellControls(window);
    return TRUE;
}
