// Real keyboard input through xdotool, as the mouse's (mouse.h): keys go to
// the focus of the active window, so a test that types activates its host
// (activateWindow) and takes the ctest resource lock velmo_mouse.
//
// Each call pumps this thread's messages as a host's loop would, through the
// dialog manager of dialog (IsDialogMessageA) unless it is null, until the
// awaited key message and what it caused are handled; false when it didn't
// come within a few seconds.
#ifndef VELMO_TEST_KEYBOARD_H
#define VELMO_TEST_KEYBOARD_H

#include <windows.h>

// Makes the top-level window the active one, with the focus on itself.
bool activateWindow(HWND window);

// Presses and releases a key (an xdotool key name such as "Tab",
// "shift+Tab", "space", "Return", "Right") and waits for the release of
// virtualKey.
bool pressKey(HWND dialog, const char* keyName, UINT virtualKey);

// Only presses the key, or only releases it, and waits for that.
bool holdKey(HWND dialog, const char* keyName, UINT virtualKey);
bool releaseKey(HWND dialog, const char* keyName, UINT virtualKey);

// Types plain ASCII text and waits for one WM_CHAR per character.
bool typeText(HWND dialog, const char* text);

#endif
