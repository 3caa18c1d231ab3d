// Real mouse input for the tests, through the X display that Wine draws on.
//
// Each call starts xdotool, a native program: Wine's CreateProcessA starts a
// Unix executable given its Unix path (/usr/bin/xdotool), with the test's
// environment, so it drives the same Xvfb display. xdotool moves and clicks
// the X pointer through the XTEST extension; the X server's events reach the
// windows through Wine's X11 driver exactly as a user's would, with
// WM_SETCURSOR, WM_NCHITTEST, double-click detection and all.
//
// Wine hands back no process handle for a Unix program, so each call waits
// instead for the input to arrive: it pumps this thread's messages until the
// mouse message that the action causes has been dispatched (a move: one at
// the target point; a press or release: the button message), and reports
// false when none came within a few seconds (xdotool missing, or the pointer
// over no window of this thread). Moving to where the pointer already is
// causes no message; move somewhere else first.
//
// SetCursorPos also moves the X pointer under Wine, but its input is made up
// inside Wine; these helpers use the X server on purpose.
//
// The cursor that a control sets in WM_SETCURSOR shows in GetCursor() on the
// test's thread, which owns the windows, once a move has been waited for.
//
// Test programs that use these helpers take the ctest resource lock
// velmo_mouse, since there is one pointer for all tests running at once, and
// park the pointer when done, away from every test's windows.
#ifndef VELMO_TEST_MOUSE_H
#define VELMO_TEST_MOUSE_H

// Screen coordinates.
bool moveMouse(int x, int y);
bool pressMouse();
bool releaseMouse();
bool clickMouse();
bool doubleClickMouse();

// Presses, moves to (x, y) and releases, in one run of xdotool: a press that
// starts the system's move or size loop returns only at the release, so the
// release can't wait for the press to be handled. Waits for the press.
bool dragMouse(int x, int y);

// Turns the wheel this many notches, up (away from the user) when positive;
// waits for the last WM_MOUSEWHEEL.
bool turnWheel(int notches);

// Moves the pointer into the parking area, where no test puts a window.
bool parkMouse();

// Starts xdotool with these arguments and returns at once; the keyboard
// helpers use it too.
bool startXdotool(const char* arguments);

#endif
