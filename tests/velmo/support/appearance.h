// The user's appearance settings as a test changes them: the library reads
// them itself and hears of each change through the broadcasts that the
// system sends, which these send too.
#ifndef VELMO_TEST_APPEARANCE_H
#define VELMO_TEST_APPEARANCE_H

#include <windows.h>

// Wine can't turn high contrast on, so while reported SystemParametersInfoW
// of this process answers SPI_GETHIGHCONTRAST with HCF_HIGHCONTRASTON: its
// first bytes jump to the test's own answer. Broadcasts the change.
bool reportHighContrast(bool on);

// Sets AppsUseLightTheme to 0 (dark) or 1 (light), or removes it (-1); true
// when the registry took it. announce broadcasts the change.
bool setLightThemeValue(int value, bool announce);

// A high contrast scheme of the test's own: distinct colours that no theme
// bitmap holds; restoreSystemColours puts the previous ones back. Both
// broadcast WM_SYSCOLORCHANGE, as SetSysColors does on Windows.
struct SystemColour {
    int index;
    COLORREF colour;
};
extern const SystemColour testScheme[8];
bool setTestScheme();
void restoreSystemColours();

// The scheme's colour at that index, as a pixel (0x00RRGGBB).
unsigned getSchemePixel(int index);

// WCAG's contrast ratio of two pixels (0x00RRGGBB), from 1 to 21.
double measureContrast(unsigned first, unsigned second);

#endif
