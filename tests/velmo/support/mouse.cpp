#include "mouse.h"

#include <windows.h>

#include <stdio.h>

#include "testhost.h"

static const char xdotoolPath[] = "/usr/bin/xdotool";
static const int inputTimeout = 10000;
static const int pollWait = 10;
static const int parkingOffset = 160;
// A double click is two clicks closer together than the double-click time.
static const char doubleClickArguments[] = "click --repeat 2 --delay 80 1";
// The pauses let the move loop start before the pointer moves and follow it
// before the release.
static const char dragArguments[] = "mousedown 1 sleep 0.2 mousemove %d %d sleep 0.2 mouseup 1";

bool startXdotool(const char* arguments) {
    char commandLine[256];
    snprintf(commandLine, sizeof commandLine, "%s %s", xdotoolPath, arguments);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    // For a Unix program Wine fills the handles with leftovers from its
    // stack (hThread is often a small number), not handles of the child:
    // closing them would close one of this process's own, stdout among them.
    PROCESS_INFORMATION process = {};
    return CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
}

// What a waited-for message must be; a point of (-1, -1) takes any point.
struct Awaited {
    UINT first;
    UINT second;
    POINT point;
    int count;
};

static bool matches(const Awaited* awaited, const MSG* message) {
    if (message->message != awaited->first && message->message != awaited->second) {
        return false;
    }
    return awaited->point.x < 0 || (message->pt.x == awaited->point.x && message->pt.y == awaited->point.y);
}

static bool waitFor(const Awaited* awaited) {
    int seen = 0;
    DWORD end = GetTickCount() + inputTimeout;
    while ((LONG)(end - GetTickCount()) > 0) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            if (matches(awaited, &message) && ++seen == awaited->count) {
                pumpMessages();
                return true;
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, pollWait, QS_ALLINPUT);
    }
    return false;
}

static bool runAndWait(const char* arguments, const Awaited* awaited) {
    return startXdotool(arguments) && waitFor(awaited);
}

bool moveMouse(int x, int y) {
    char arguments[64];
    snprintf(arguments, sizeof arguments, "mousemove %d %d", x, y);
    Awaited awaited = {WM_MOUSEMOVE, WM_NCMOUSEMOVE, {x, y}, 1};
    return runAndWait(arguments, &awaited);
}

bool pressMouse() {
    Awaited awaited = {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, {-1, -1}, 1};
    return runAndWait("mousedown 1", &awaited);
}

bool releaseMouse() {
    Awaited awaited = {WM_LBUTTONUP, WM_NCLBUTTONUP, {-1, -1}, 1};
    return runAndWait("mouseup 1", &awaited);
}

bool clickMouse() {
    Awaited awaited = {WM_LBUTTONUP, WM_NCLBUTTONUP, {-1, -1}, 1};
    return runAndWait("click 1", &awaited);
}

bool doubleClickMouse() {
    Awaited awaited = {WM_LBUTTONUP, WM_NCLBUTTONUP, {-1, -1}, 2};
    return runAndWait(doubleClickArguments, &awaited);
}

bool dragMouse(int x, int y) {
    char arguments[96];
    snprintf(arguments, sizeof arguments, dragArguments, x, y);
    Awaited awaited = {WM_LBUTTONDOWN, WM_NCLBUTTONDOWN, {-1, -1}, 1};
    return runAndWait(arguments, &awaited);
}

// X buttons 4 and 5 are the wheel's notches up and down.
bool turnWheel(int notches) {
    char arguments[64];
    int count = notches > 0 ? notches : -notches;
    snprintf(arguments, sizeof arguments, "click --repeat %d --delay 50 %d", count, notches > 0 ? 4 : 5);
    Awaited awaited = {WM_MOUSEWHEEL, WM_MOUSEWHEEL, {-1, -1}, count};
    return runAndWait(arguments, &awaited);
}

// No window of this thread lies there, so the pointer itself is watched.
bool parkMouse() {
    POINT origin = getAreaOrigin(parkingArea);
    POINT target = {origin.x + parkingOffset, origin.y + parkingOffset};
    char arguments[64];
    snprintf(arguments, sizeof arguments, "mousemove %ld %ld", target.x, target.y);
    if (!startXdotool(arguments)) {
        return false;
    }
    DWORD end = GetTickCount() + inputTimeout;
    while ((LONG)(end - GetTickCount()) > 0) {
        POINT point;
        if (GetCursorPos(&point) && point.x == target.x && point.y == target.y) {
            return true;
        }
        pumpMessagesFor(pollWait);
    }
    return false;
}
