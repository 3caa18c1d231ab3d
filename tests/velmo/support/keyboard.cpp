#include "keyboard.h"

#include <stdio.h>
#include <string.h>

#include "mouse.h"
#include "testhost.h"

static const int inputTimeout = 10000;
static const int pollWait = 10;
// xdotool's default pause between typed characters, 12 ms, loses some under
// Wine on a busy machine.
static const int typingDelay = 40;

struct AwaitedKey {
    UINT message;
    WPARAM key;
    int count;
};

static bool matches(const AwaitedKey* awaited, const MSG* message) {
    return message->message == awaited->message && (awaited->key == 0 || message->wParam == awaited->key);
}

static void dispatch(HWND dialog, MSG* message) {
    if (dialog == nullptr || !IsDialogMessageA(dialog, message)) {
        TranslateMessage(message);
        DispatchMessageA(message);
    }
}

// Once the awaited message has come, the queue is drained: what it posted
// (WM_CHAR after a key press) is handled too.
static bool runAndWait(HWND dialog, const char* arguments, const AwaitedKey* awaited) {
    if (!startXdotool(arguments)) {
        return false;
    }
    int seen = 0;
    DWORD end = GetTickCount() + inputTimeout;
    while (seen < awaited->count && (LONG)(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, pollWait, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            seen += matches(awaited, &message) ? 1 : 0;
            dispatch(dialog, &message);
        }
    }
    return seen >= awaited->count;
}

static bool runKeyCommand(HWND dialog, const char* command, const char* keyName, UINT message, UINT virtualKey) {
    char arguments[96];
    snprintf(arguments, sizeof arguments, "%s %s", command, keyName);
    AwaitedKey awaited = {message, virtualKey, 1};
    return runAndWait(dialog, arguments, &awaited);
}

bool activateWindow(HWND window) {
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_NOACTIVATE);
    SetForegroundWindow(window);
    SetFocus(window);
    pumpMessages();
    return GetActiveWindow() == window && GetFocus() == window;
}

bool pressKey(HWND dialog, const char* keyName, UINT virtualKey) {
    return runKeyCommand(dialog, "key", keyName, WM_KEYUP, virtualKey);
}

bool holdKey(HWND dialog, const char* keyName, UINT virtualKey) {
    return runKeyCommand(dialog, "keydown", keyName, WM_KEYDOWN, virtualKey);
}

bool releaseKey(HWND dialog, const char* keyName, UINT virtualKey) {
    return runKeyCommand(dialog, "keyup", keyName, WM_KEYUP, virtualKey);
}

bool typeText(HWND dialog, const char* text) {
    char arguments[256];
    snprintf(arguments, sizeof arguments, "type --delay %d \"%s\"", typingDelay, text);
    AwaitedKey awaited = {WM_CHAR, 0, static_cast<int>(strlen(text))};
    return runAndWait(dialog, arguments, &awaited);
}
