#include "appearance.h"

#include <cmath>
#include <cstring>

#include "pixels.h"
#include "testhost.h"

const SystemColour testScheme[8] = {
    {COLOR_WINDOW, RGB(16, 0, 32)},        {COLOR_WINDOWTEXT, RGB(255, 255, 128)},
    {COLOR_BTNFACE, RGB(0, 32, 64)},       {COLOR_BTNTEXT, RGB(128, 255, 255)},
    {COLOR_HIGHLIGHT, RGB(224, 192, 255)}, {COLOR_HIGHLIGHTTEXT, RGB(48, 0, 0)},
    {COLOR_HOTLIGHT, RGB(255, 200, 0)},    {COLOR_GRAYTEXT, RGB(160, 255, 160)},
};
const int schemeSize = sizeof testScheme / sizeof testScheme[0];

static const wchar_t personalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
static const wchar_t lightThemeValue[] = L"AppsUseLightTheme";
static const wchar_t colourSetArea[] = L"ImmersiveColorSet";
static const UINT broadcastTimeout = 5000;

static void broadcast(UINT message, WPARAM wParam, const wchar_t* area) {
    DWORD_PTR result;
    SendMessageTimeoutW(HWND_BROADCAST, message, wParam, reinterpret_cast<LPARAM>(area), SMTO_ABORTIFHUNG,
                        broadcastTimeout, &result);
    pumpMessages();
}

// x86_64: mov rax, imm64; jmp rax. i686: jmp rel32.
#ifdef _WIN64
static const size_t jumpSize = 12;
static void writeJump(BYTE* at, const void* to) {
    at[0] = 0x48;
    at[1] = 0xB8;
    memcpy(at + 2, &to, sizeof to);
    at[10] = 0xFF;
    at[11] = 0xE0;
}
#else
static const size_t jumpSize = 5;
static void writeJump(BYTE* at, const void* to) {
    INT32 distance = static_cast<INT32>(static_cast<const BYTE*>(to) - (at + jumpSize));
    at[0] = 0xE9;
    memcpy(at + 1, &distance, sizeof distance);
}
#endif

static BYTE* patched;
static BYTE originalBytes[jumpSize];

static BYTE* findSystemParametersInfo() {
    HMODULE user = GetModuleHandleA("user32.dll");
    return user != nullptr ? reinterpret_cast<BYTE*>(GetProcAddress(user, "SystemParametersInfoW")) : nullptr;
}

// jump null puts the original bytes back.
static bool writeEntry(const void* jump) {
    DWORD protection;
    if (!VirtualProtect(patched, jumpSize, PAGE_EXECUTE_READWRITE, &protection)) {
        return false;
    }
    if (jump != nullptr) {
        writeJump(patched, jump);
    } else {
        memcpy(patched, originalBytes, jumpSize);
    }
    VirtualProtect(patched, jumpSize, protection, &protection);
    FlushInstructionCache(GetCurrentProcess(), patched, jumpSize);
    return true;
}

// Every other request reaches the system's function, unpatched for the call.
static BOOL WINAPI answerHighContrast(UINT action, UINT parameter, void* data, UINT update) {
    if (action == SPI_GETHIGHCONTRAST && data != nullptr) {
        static_cast<HIGHCONTRASTW*>(data)->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
        return TRUE;
    }
    writeEntry(nullptr);
    BOOL result = SystemParametersInfoW(action, parameter, data, update);
    writeEntry(reinterpret_cast<const void*>(answerHighContrast));
    return result;
}

bool reportHighContrast(bool on) {
    if (patched == nullptr) {
        patched = findSystemParametersInfo();
        if (patched == nullptr) {
            return false;
        }
        memcpy(originalBytes, patched, jumpSize);
    }
    if (!writeEntry(on ? reinterpret_cast<const void*>(answerHighContrast) : nullptr)) {
        return false;
    }
    broadcast(WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, nullptr);
    return true;
}

bool setLightThemeValue(int value, bool announce) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, personalizeKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD data = static_cast<DWORD>(value);
    LONG result = value < 0 ? RegDeleteValueW(key, lightThemeValue)
                            : RegSetValueExW(key, lightThemeValue, 0, REG_DWORD, reinterpret_cast<BYTE*>(&data),
                                             sizeof data);
    RegCloseKey(key);
    if (announce) {
        broadcast(WM_SETTINGCHANGE, 0, colourSetArea);
    }
    return result == ERROR_SUCCESS || (value < 0 && result == ERROR_FILE_NOT_FOUND);
}

static int schemeIndices[schemeSize];
static COLORREF previousColours[schemeSize];

static bool setColours(const COLORREF* colours) {
    bool set = SetSysColors(schemeSize, schemeIndices, colours) != 0;
    broadcast(WM_SYSCOLORCHANGE, 0, nullptr);
    return set;
}

bool setTestScheme() {
    COLORREF colours[schemeSize];
    for (int entry = 0; entry < schemeSize; entry++) {
        schemeIndices[entry] = testScheme[entry].index;
        previousColours[entry] = GetSysColor(testScheme[entry].index);
        colours[entry] = testScheme[entry].colour;
    }
    return setColours(colours);
}

void restoreSystemColours() {
    setColours(previousColours);
}

unsigned getSchemePixel(int index) {
    for (const SystemColour& entry : testScheme) {
        if (entry.index == index) {
            return makePixel(GetRValue(entry.colour), GetGValue(entry.colour), GetBValue(entry.colour));
        }
    }
    return 0xFFFFFFFF;
}

static double measureLuminance(unsigned pixel) {
    double luminance = 0;
    const double weights[] = {0.0722, 0.7152, 0.2126};
    for (int channel = 0; channel < 3; channel++) {
        double value = ((pixel >> (8 * channel)) & 0xFF) / 255.0;
        value = value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        luminance += weights[channel] * value;
    }
    return luminance;
}

double measureContrast(unsigned first, unsigned second) {
    double a = measureLuminance(first);
    double b = measureLuminance(second);
    return (a > b ? a + 0.05 : b + 0.05) / (a > b ? b + 0.05 : a + 0.05);
}
