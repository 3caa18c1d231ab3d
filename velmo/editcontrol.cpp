// "VelmoEdit": a platform edit field set one pixel inside a framing control,
// which relays the setting and reading of its text and every edit message to
// the field, and gives the field the edit styles that its host gave it.
#include <windows.h>

#include <commctrl.h>

#include "control.h"
#include "displayscale.h"
#include "velmo.h"
#include "windowstate.h"

// The background shows as a frame of this width round the field.
static const int editFrameWidth = 1;
// A Unicode field, which keeps every character of its text.
static const wchar_t editFieldClass[] = L"EDIT";
// The edit styles that the field takes from the control at its creation.
static const DWORD fieldStyles = ES_CENTER | ES_RIGHT | ES_MULTILINE | ES_UPPERCASE | ES_LOWERCASE | ES_PASSWORD |
                                 ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_OEMCONVERT | ES_READONLY |
                                 ES_WANTRETURN | ES_NUMBER;
// The edit messages, and the later block that begins at ECM_FIRST
// (EM_SETCUEBANNER, ...), which the field answers.
static const UINT lastEditMessage = 0x00DA;
static const UINT lastExtendedEditMessage = BCM_FIRST - 1;

// Each control keeps its own field in its record, so several edit controls
// stay independent of one another.
static HWND getEditField(HWND window) {
    const WindowState* state = findWindowState(window);
    return state != nullptr ? state->field : nullptr;
}

// The field fills the control but for the frame's width at the window's DPI,
// at its creation, when the control is resized and when the DPI changes.
static void placeField(HWND window) {
    HWND field = getEditField(window);
    if (field == nullptr) {
        return;
    }
    SIZE size = getWindowSize(window);
    int frame = scaleLength(window, editFrameWidth);
    SetWindowPos(field, nullptr, frame, frame, size.cx - 2 * frame, size.cy - 2 * frame,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The field takes its place and the font at the window's DPI, at its
// creation and again when the DPI changes.
static void fitFieldToDpi(HWND window) {
    placeField(window);
    HWND field = getEditField(window);
    if (field != nullptr) {
        SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(getWindowFont(window)), TRUE);
    }
}

static void createEditField(HWND window) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    DWORD style = WS_CHILD | WS_VISIBLE | (GetWindowLongW(window, GWL_STYLE) & fieldStyles);
    HWND field = CreateWindowExW(0, editFieldClass, L"", style, 0, 0, 0, 0, window, nullptr, instance, nullptr);
    WindowState* state = findWindowState(window);
    if (state != nullptr) {
        state->field = field;
    }
    fitFieldToDpi(window);
}

// Tabbing into a control created with WS_TABSTOP puts the caret in its field;
// any other control keeps the focus that it is given.
static void handFocusToField(HWND window) {
    HWND field = getEditField(window);
    if (field != nullptr && takesKeyboard(window)) {
        SetFocus(field);
    }
}

// Outside the light appearance, or where a theme gives the edit colours,
// the field takes them; otherwise it keeps the platform's.
static LRESULT colourField(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    COLORREF text = getTextColour(window, bodyTextColour);
    COLORREF face = getWindowColour(window, bodyColour);
    if (getAppearance() == lightAppearance && text == getColour(bodyTextColour) && face == getColour(bodyColour)) {
        return answerByDefault(window, message, wParam, lParam, width);
    }
    HDC target = reinterpret_cast<HDC>(wParam);
    SetTextColor(target, text);
    SetBkColor(target, face);
    SetDCBrushColor(target, face);
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

// A control whose field could not be made answers the relayed messages with
// 0. The text goes on in the width it came in.
static LRESULT relayToEditField(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    HWND field = getEditField(window);
    if (field == nullptr) {
        return 0;
    }
    if (width == wideText) {
        return SendMessageW(field, message, wParam, lParam);
    }
    return SendMessageA(field, message, wParam, lParam);
}

static bool isFieldMessage(UINT message) {
    return (message >= EM_GETSEL && message <= lastEditMessage) ||
           (message >= ECM_FIRST && message <= lastExtendedEditMessage);
}

// Every edit message goes to the field but a null line buffer or
// replacement text, which the platform's field reads unchecked (faulting, or
// inserting whatever lies in memory): that reads and replaces nothing.
static LRESULT relayFieldMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    if ((message == EM_GETLINE || message == EM_REPLACESEL) && lParam == 0) {
        return 0;
    }
    return relayToEditField(window, message, wParam, lParam, width);
}

// With VELMO_EDIT_NOTIFY, a notification of the field goes on to the parent
// as a stock edit's does: with the control's identifier and handle. False
// for any other WM_COMMAND, and without the style.
static bool passOnFieldNotification(HWND window, WPARAM wParam, LPARAM lParam) {
    HWND field = getEditField(window);
    if (field == nullptr || reinterpret_cast<HWND>(lParam) != field ||
        (GetWindowLongW(window, GWL_STYLE) & VELMO_EDIT_NOTIFY) == 0) {
        return false;
    }
    WORD id = LOWORD(GetWindowLongPtrW(window, GWLP_ID));
    sendCommandToParent(window, MAKEWPARAM(id, HIWORD(wParam)), reinterpret_cast<LPARAM>(window));
    return true;
}

// A password field (ES_PASSWORD, which a non-zero EM_SETPASSWORDCHAR also
// sets) reads as protected, which keeps its text from readers.
static DWORD findEditStates(HWND window) {
    HWND field = getEditField(window);
    bool password = field != nullptr && (GetWindowLongW(field, GWL_STYLE) & ES_PASSWORD) != 0;
    return password ? STATE_SYSTEM_PROTECTED : 0;
}

// Its text is the field's, and readers may set it.
static const AccessibleControl editAccessibility = {
    .role = ROLE_SYSTEM_TEXT, .findStates = findEditStates, .hasField = true};

extern const Control editControl;

static LRESULT handleEditMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    switch (message) {
    case WM_CREATE:
        createEditField(window);
        return answerByDefault(window, message, wParam, lParam, width);
    case WM_SETTEXT: {
        LRESULT result = relayToEditField(window, message, wParam, lParam, width);
        notifyAccessibleEvent(window, EVENT_OBJECT_NAMECHANGE, CHILDID_SELF);
        return result;
    }
    case WM_GETTEXT:
        return relayToEditField(window, message, wParam, lParam, width);
    case WM_SIZE:
        placeField(window);
        break;
    case WM_DPICHANGED_AFTERPARENT:
    case WM_THEMECHANGED:
        fitFieldToDpi(window);
        break;
    case WM_COMMAND:
        if (passOnFieldNotification(window, wParam, lParam)) {
            return 0;
        }
        break;
    case WM_CTLCOLOREDIT:
        return colourField(window, message, wParam, lParam, width);
    case WM_SETFOCUS:
        handFocusToField(window);
        return answerByDefault(window, message, wParam, lParam, width);
    }
    if (isFieldMessage(message)) {
        return relayFieldMessage(window, message, wParam, lParam, width);
    }
    return handleControlMessage(window, message, wParam, lParam, width, &editControl);
}

LRESULT CALLBACK editWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return answerAnsiMessage(window, message, wParam, lParam, &editControl);
}

// The platform's field draws itself and the class brush the frame round it.
extern const Control editControl = {
    .procedure = editWindowProcedure,
    .wideProcedure = answerWideMessage<editControl>,
    .handle = handleEditMessage,
    .background = editFrameColour,
    .section = editSection,
    .accessibility = &editAccessibility,
};
