// The appearance that the user's settings ask for, its colours, and the
// hidden window that hears when the settings change.
#include "appearance.h"

#include <shlwapi.h>

#include <atomic>
#include <cwchar>

// A role's colour in each appearance: light, dark, and the system colour's
// index for high contrast.
struct ColourRow {
    ColourRole role;
    COLORREF light;
    COLORREF dark;
    int system;
};

static const COLORREF white = RGB(255, 255, 255);
static const COLORREF black = RGB(0, 0, 0);
// The pressed bitmaps' face, which the light and dark themes draw instead.
static const COLORREF pressedBitmapFace = RGB(92, 111, 130);

// One row per role, in the roles' order: the checks below refuse to compile
// a table with a row missing or out of place. Dark text keeps a contrast of
// at least 4.5 : 1 against what it is drawn on; the light theme draws a
// disabled control's text as an enabled one's.
static constexpr ColourRow colourTable[] = {
    {barColour, black, black, COLOR_BTNFACE},
    {buttonTextColour, white, white, COLOR_BTNTEXT},
    {tabTextColour, white, white, COLOR_BTNTEXT},
    {pressedFaceColour, pressedBitmapFace, pressedBitmapFace, COLOR_HIGHLIGHT},
    {pressedTextColour, white, white, COLOR_HIGHLIGHTTEXT},
    {bodyColour, white, RGB(32, 33, 36), COLOR_WINDOW},
    {bodyTextColour, black, RGB(232, 234, 237), COLOR_WINDOWTEXT},
    {linkTextColour, black, RGB(138, 180, 248), COLOR_HOTLIGHT},
    {labelTextColour, RGB(80, 80, 80), RGB(189, 193, 198), COLOR_WINDOWTEXT},
    {outlineColour, RGB(210, 210, 210), RGB(95, 99, 104), COLOR_WINDOWTEXT},
    {editFrameColour, RGB(200, 200, 200), RGB(95, 99, 104), COLOR_WINDOWTEXT},
    {disabledTextColour, CLR_INVALID, RGB(154, 160, 166), COLOR_GRAYTEXT},
};

static_assert(sizeof colourTable / sizeof *colourTable == colourRoleCount, "one row for each colour role");

static constexpr bool rowsFollowRoles(void) {
    for (int role = 0; role < colourRoleCount; role++) {
        if (colourTable[role].role != role) {
            return false;
        }
    }
    return true;
}

static_assert(rowsFollowRoles(), "the colour rows stand in the order of their roles");

static const wchar_t personalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
static const wchar_t lightThemeValue[] = L"AppsUseLightTheme";
// The area that WM_SETTINGCHANGE names when the light or dark choice changes.
static const wchar_t colourSetArea[] = L"ImmersiveColorSet";
static const wchar_t listenerClass[] = L"VelmoAppearanceListener";
static const UINT redrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;

// Written by whichever thread's listener hears a change first, read by every
// thread that draws: each is one value, so a reader sees the old appearance
// or the new one, never a mixture.
static std::atomic<bool> settingsRead;
static std::atomic<Appearance> appearance;

static bool readHighContrast(void) {
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// A missing or unreadable value means light.
static bool readDark(void) {
    DWORD type = 0;
    DWORD value = 1;
    DWORD size = sizeof value;
    return SHGetValueW(HKEY_CURRENT_USER, personalizeKey, lightThemeValue, &type, &value, &size) == ERROR_SUCCESS &&
           type == REG_DWORD && value == 0;
}

static COLORREF pickColour(const ColourRow* row, Appearance chosen) {
    switch (chosen) {
    case highContrastAppearance:
        return GetSysColor(row->system);
    case darkAppearance:
        return row->dark;
    default:
        return row->light;
    }
}

// High contrast wins over dark.
static void readSettings(void) {
    appearance = readHighContrast() ? highContrastAppearance : readDark() ? darkAppearance : lightAppearance;
    settingsRead = true;
}

Appearance getAppearance(void) {
    if (!settingsRead) {
        readSettings();
    }
    return appearance;
}

bool drawsPlain(void) {
    return getAppearance() == highContrastAppearance;
}

COLORREF getColour(ColourRole role) {
    return pickColour(&colourTable[role], getAppearance());
}

COLORREF getLightColour(ColourRole role) {
    return colourTable[role].light;
}


static BOOL CALLBACK redrawWindowTree(HWND window, LPARAM) {
    RedrawWindow(window, nullptr, nullptr, redrawFlags);
    return TRUE;
}

// Every thread that makes controls has a listener, so each repaints its own
// windows, the controls inside them with them.
static void followSettings(void) {
    readSettings();
    EnumThreadWindows(GetCurrentThreadId(), redrawWindowTree, 0);
}

static bool namesAppearance(WPARAM action, LPARAM area) {
    const wchar_t* name = reinterpret_cast<const wchar_t*>(area);
    return action == SPI_SETHIGHCONTRAST || (name != nullptr && wcscmp(name, colourSetArea) == 0);
}

// The system sends these to top-level windows only, which a control isn't.
static thread_local HWND listener;
static std::atomic<ATOM> listenerAtom;

static LRESULT CALLBACK listenerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTINGCHANGE:
        if (namesAppearance(wParam, lParam)) {
            followSettings();
        }
        break;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        followSettings();
        break;
    case WM_NCDESTROY:
        listener = nullptr;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

extern "C" IMAGE_DOS_HEADER __ImageBase;

static HINSTANCE getLibraryInstance(void) {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

// The registered class by its atom.
static LPCWSTR getListenerClass(void) {
    return reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(listenerAtom));
}

// Two threads' first controls may register it at once: the one that comes
// second finds it registered.
static bool registerListenerClass(void) {
    if (listenerAtom == 0) {
        WNDCLASSEXW record = {};
        record.cbSize = sizeof record;
        record.lpfnWndProc = listenerProcedure;
        record.hInstance = getLibraryInstance();
        record.lpszClassName = listenerClass;
        ATOM atom = RegisterClassExW(&record);
        if (atom == 0) {
            atom = static_cast<ATOM>(GetClassInfoExW(getLibraryInstance(), listenerClass, &record));
        }
        listenerAtom = atom;
    }
    return listenerAtom != 0;
}

// Never shown or activated; a failed one is tried again with the next control.
// The settings are read by the first one, if not before.
void listenForAppearanceChanges(void) {
    getAppearance();
    if (listener != nullptr || !registerListenerClass()) {
        return;
    }
    listener = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, getListenerClass(), L"", WS_POPUP, 0, 0, 0, 0,
                               nullptr, nullptr, getLibraryInstance(), nullptr);
}

// Other threads' listeners are left to their threads' ends.
void stopListening(void) {
    if (listener != nullptr) {
        DestroyWindow(listener);
    }
    if (listenerAtom != 0 && UnregisterClassW(getListenerClass(), getLibraryInstance())) {
        listenerAtom = 0;
    }
}
