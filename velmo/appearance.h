// The user's appearance settings as the controls draw them: high contrast in
// the system's colours, the dark theme, or the light one. The settings are
// read at the first need and again whenever the system says they changed,
// which a hidden top-level window of the library's own hears on each thread
// that makes controls.
#ifndef VELMO_APPEARANCE_H
#define VELMO_APPEARANCE_H

#include <windows.h>

enum Appearance { lightAppearance, darkAppearance, highContrastAppearance };

// What a colour is for; each appearance gives its own in one table.
enum ColourRole {
    // The button's and the tab menu's face and their class background.
    barColour,
    buttonTextColour,
    tabTextColour,
    // A pressed button or tab drawn without bitmaps, and its text.
    pressedFaceColour,
    pressedTextColour,
    // The link, the frame, the table, the list, the static and the window.
    bodyColour,
    bodyTextColour,
    linkTextColour,
    // The static's text and the list's rows.
    labelTextColour,
    outlineColour,
    // The edit's class background, which shows round its field.
    editFrameColour,
    disabledTextColour,
    colourRoleCount
};

// Which section of a theme's theme.ini gives a window its colours.
enum ThemeSection {
    noSection,
    buttonSection,
    tabSection,
    linkSection,
    listSection,
    staticSection,
    frameSection,
    editSection,
    windowSection
};

// How a control is drawn: hot while the pointer is over it and no mouse
// button is down.
enum ControlLook { normalLook, hotLook };

Appearance getAppearance(void);

// Whether the controls draw in the system's colours, with no bitmap.
bool drawsPlain(void);

COLORREF getColour(ColourRole role);

// The colour of the light appearance, the one the classes register with.
COLORREF getLightColour(ColourRole role);

// The role's colour for window: its theme's for the window's section where
// the theme gives one, else the appearance's.
COLORREF getWindowColour(HWND window, ColourRole role);

// The role's colour for text in window, drawn in this look. A disabled
// window's text takes its theme's disabled text, or the appearance's
// disabled text colour where it has one; a hot look its theme's hot text;
// a state that the theme leaves out its text.
COLORREF getTextColour(HWND window, ColourRole role, ControlLook look = normalLook);

// Makes the calling thread's listener, the first time on each thread, having
// read the settings if nothing has yet.
void listenForAppearanceChanges(void);

// Ends the calling thread's listener and its class, for an unload.
void stopListening(void);

#endif
