// A host for the controls under test: top-level windows whose procedures log
// what they receive, message pumping, and the screen area of each test file.
#ifndef VELMO_TEST_TESTHOST_H
#define VELMO_TEST_TESTHOST_H

#include <windows.h>

#include <ostream>
#include <vector>

#include "pixels.h"

struct RecordedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

bool operator==(const RecordedMessage& left, const RecordedMessage& right);
// GoogleTest prints recorded messages with this in its failure reports.
void PrintTo(const RecordedMessage& message, std::ostream* out);

// What the host's procedures log, in the order received. With a non-empty
// watch list only those message numbers are kept.
struct Recorder {
    std::vector<RecordedMessage> messages;
    std::vector<UINT> watched;
};

// Test files run in parallel, so each keeps its windows in an area of its own
// of the 1280 x 1024 display (a 4 x 4 grid of 320 x 256 areas); the last area
// holds no windows and is where the pointer is parked.
enum TestArea {
    buttonArea,
    tabArea,
    linkArea,
    frameArea,
    registrationArea,
    listArea,
    staticArea,
    editArea,
    windowArea,
    themeArea,
    robustnessArea,
    accessibilityArea,
    displayScaleArea,
    parkingArea = 15
};

// The screen position of an area's top-left corner.
POINT getAreaOrigin(TestArea area);

// The library under test, velmo.dll from the test program's folder, loaded
// on the first call: a test that only creates windows by class name refers
// to none of its symbols, so linking alone would not load it. Once one of the
// loaders below has loaded a library, this returns that one.
HMODULE loadVelmo();

// Loads a copy of the library that has no bitmap/ beside it while the current
// directory is a new empty one, so that its theme finds none of its bitmaps;
// for a test run in a process of its own (runsInOwnProcess), before anything
// else has loaded the library. The copies live in the build, away from bin/
// and its bitmap/.
HMODULE loadVelmoWithoutTheme();

// A new empty folder under the temporary folder; path holds MAX_PATH.
bool makeTemporaryFolder(char* path);

// Where loadVelmoWithOneBitmap puts its one theme file.
enum OneBitmapPlace {
    // In the current directory's bitmap/, for a copy of the library with no
    // bitmap/ beside it: that file is the whole theme.
    aloneInCurrentFolder,
    // The same, for the library of bin/, which has the whole theme beside it.
    overTheWholeTheme,
    // Beside a copy of the library of its own, loaded from an empty current
    // directory.
    besideOwnCopy,
    // Beside a copy of the library in a folder named in Greek and Cyrillic
    // letters, loaded while the current directory's bitmap/ holds a file of
    // the same name that is no bitmap.
    besideWideNamedCopy
};

// The same with a theme of the test's own: one file, fileName under bitmap/,
// written from image by save (saveBitmapFile or saveMonochromeBitmapFile).
HMODULE loadVelmoWithOneBitmap(const char* fileName, const Pixels* image,
                               bool (*save)(const char* path, const Pixels* image),
                               OneBitmapPlace place = aloneInCurrentFolder);

// The address that velmo.dll exports under this undecorated name, or null.
FARPROC findVelmoExport(const char* name);

// A visible, borderless, topmost top-level window at screen (x, y), so its
// client coordinates are screen coordinates minus (x, y). It never becomes
// the active window, not even when clicked. It records every message into
// recorder (may be null) and leaves the rest to DefWindowProcA.
HWND createHostWindow(Recorder* recorder, int x, int y, int width, int height);

// A child window of a registered class with the host's instance handle,
// WS_CHILD | WS_VISIBLE and any further style (WS_TABSTOP) and extended style.
HWND createChild(const char* className, const char* text, HWND parent, int id, int x, int y, int width,
                 int height, DWORD style = 0, DWORD exStyle = 0);

// From now on window logs each message it receives into recorder before its
// own procedure handles it.
void recordMessages(HWND window, Recorder* recorder);

// The recorded messages with this number, in order.
std::vector<RecordedMessage> recordedOf(const Recorder* recorder, UINT message);

// Dispatches everything queued for this thread, then returns.
void pumpMessages();

// Pumps for the given time, at least once.
void pumpMessagesFor(int milliseconds);

// Paints the window now and reads nothing back; the paint happens with the
// background erased, as on a first show.
void repaintNow(HWND window);

#endif
