// Real keyboard input for the tests, through xdotool as the mouse's (see
// mouse.h): the X server's key events reach the windows through Wine's X11
// driver as a user's would, and Wine hands them to the focused window of the
// active window. So a test that types makes its host the active window
// (activateWindow) and takes the ctest resource lock velmo_mouse, which also
// keeps the other tests that activate windows away.
//
// Each call pumps this thread's messages as a host's loop would, passing them
// through the dialog manager of dialog (IsDialogMessageA) when it isn't null,
// until the awaited key message has been retrieved and what it caused has
// been handled; false when it didn't come within a few seconds.
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
