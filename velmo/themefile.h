// A theme folder's files: where a folder's name points, what its theme.ini
// says, and the check of the whole folder that checkTheme (velmo.h) exports.
// A theme folder holds theme.ini, images named as bitmap/'s and the state
// images of getThemeFileName, 2x/ for 144 DPI and above, and dark/ (with its
// own theme.ini and 2x/) for the dark appearance.
#ifndef VELMO_THEMEFILE_H
#define VELMO_THEMEFILE_H

#include <windows.h>

// Every colour a theme.ini can give, by section and key.
enum ThemeColourKey {
    buttonTextKey,
    buttonHotTextKey,
    buttonPressedTextKey,
    buttonDisabledTextKey,
    tabTextKey,
    tabHotTextKey,
    tabPressedTextKey,
    tabDisabledTextKey,
    linkTextKey,
    linkHotTextKey,
    linkDisabledTextKey,
    linkBackgroundKey,
    listTextKey,
    listBackgroundKey,
    staticTextKey,
    staticBackgroundKey,
    frameTextKey,
    frameBackgroundKey,
    editTextKey,
    editBackgroundKey,
    editFrameKey,
    windowBackgroundKey,
    themeColourKeyCount
};

const wchar_t* getColourSection(ThemeColourKey key);
const wchar_t* getColourKeyName(ThemeColourKey key);

// The font's size in pixels at 96 DPI.
const int minThemeFontSize = 6;
const int maxThemeFontSize = 72;
const int themeNameSize = 64;

// What a theme.ini gives; each field says when it wasn't given.
struct ThemeSettings {
    wchar_t name[themeNameSize];       // empty: not given
    wchar_t fontFace[LF_FACESIZE];     // empty: not given
    int fontSize;                      // 0: not given
    int fontBold;                      // -1: not given, else 0 or 1
    COLORREF colours[themeColourKeyCount];  // CLR_INVALID: not given
};

// Nothing given.
void clearThemeSettings(ThemeSettings* settings);

// Reads the values that the file gives over those settings already holds, so
// a dark variant's file read after its theme's wins; a value that isn't valid
// is left out. False when there is no such file.
bool readThemeSettings(const wchar_t* iniPath, ThemeSettings* settings);

// The folder a theme's name stands for, as a full path of at most MAX_PATH
// characters: a bare name (no \ or /) is themes\<name> beside velmo.dll; any
// other path is taken as given, a relative one from the current directory.
// False when it is empty or the result doesn't fit.
bool resolveThemeFolder(const wchar_t* folder, wchar_t* full);

#endif
