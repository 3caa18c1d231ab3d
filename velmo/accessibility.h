// What screen readers and automation tools read of the controls: each control
// describes itself in an AccessibleControl beside its window procedure, and
// its procedure passes the messages that it leaves to default handling
// through handleAccessibilityMessage, which answers WM_GETOBJECT for the
// client area with one object per window and raises the events that every
// control shares. The accessibility libraries load on the first request.
#ifndef VELMO_ACCESSIBILITY_H
#define VELMO_ACCESSIBILITY_H

#include <windows.h>

#include <oleacc.h>

#include "controlplumbing.h"

// A simple child (a tab, a row) as a reader sees it.
struct AccessibleItem {
    // As drawn, '&' prefixes included: the wide text where the control keeps
    // one, else the ANSI text in the process's code page; both null read as
    // an empty name.
    const char* text;
    const wchar_t* wideText;
    // In the control's client coordinates.
    RECT box;
    DWORD states;
};

struct AccessibleControl {
    LONG role;
    // States that the control always has, besides the common ones.
    DWORD states = 0;
    // States that change with the control (a button drawn pressed); null for
    // none. A control that reads as STATE_SYSTEM_PROTECTED (a password) has
    // an empty name and value.
    DWORD (*findStates)(HWND control) = nullptr;
    // The name of the default action and what it does; null for none.
    const wchar_t* action = nullptr;
    void (*act)(HWND control) = nullptr;
    // The simple children, numbered from 1 for readers and from 0 here; a
    // null countItems for a control without children.
    LONG itemRole = 0;
    int (*countItems)(HWND control) = nullptr;
    void (*describeItem)(HWND control, int position, AccessibleItem* item) = nullptr;
    const wchar_t* itemAction = nullptr;
    void (*actOnItem)(HWND control, int position) = nullptr;
    // True for a control round an inner field (the edit): its text is its
    // value, which readers may set, shown as typed, without '&' prefixes, and
    // the field's focus is the control's.
    bool hasField = false;
};

// The control's messages for readers, for its window procedure to call with
// each message that it leaves to default handling:
// - WM_GETOBJECT for OBJID_CLIENT answers the control's object, made on the
//   first request and kept until the last reader releases it;
// - WM_SETTEXT is answered by default handling and then announced
//   (EVENT_OBJECT_NAMECHANGE), WM_ENABLE announces the state change;
// - WM_NCDESTROY cuts the object off its window, so that a reader's leftover
//   reference answers every call with an error, and goes on to default
//   handling.
// True, with the result, for a message answered here; default handling reads
// the text in the call's width.
bool handleAccessibilityMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width,
                                const AccessibleControl* description, LRESULT* result);

// Tells readers of a change (EVENT_OBJECT_...) of the control's client area:
// of the control itself (CHILDID_SELF) or of its child at this position.
void notifyAccessibleEvent(HWND control, DWORD event, LONG child);

// The number that readers know the child at this position by.
inline LONG toChildId(int position) {
    return position + 1;
}

#endif
