// The gallery: one "VelmoWindow" holding every control of the library, wired
// the way a host program would wire them. A tab menu with one current tab
// switches three pages: a chat (a scrolling list of wide rows that follows
// new ones, and a message field), a sign-in form (a password field, and a
// label that counts the characters typed from the fields' change
// notifications) and the look (the built-in theme or the shipped one,
// switched while the window is shown). Tab, Shift+Tab, Space, Enter and the
// arrows operate it too. The theme comes from bitmap/ beside velmo.dll. It
// declares itself DPI-aware and lays its controls out at the screen's DPI;
// the controls scale themselves.
//
//   gallery [--at X,Y] [--theme NAME|FOLDER]
//     --at     place the window's top-left corner at X,Y (default: centred)
//     --theme  start in that theme (a name from themes/ beside velmo.dll, or a folder)
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "velmo.h"

static const char windowTitle[] = "Velmo gallery";
static const int windowWidth = 640;
static const int windowHeight = 480;
// The library rounds the window's corners with 10-pixel ellipses; the outline follows them.
static const int outlineCorner = 10;
static const COLORREF outlineColour = RGB(160, 160, 160);
// Lengths here are given at 96 DPI and laid out at the screen's.
static const int layoutDpi = 96;
static int screenDpi = layoutDpi;

enum Parent { mainParent, frameParent, tableParent, signInParent, lookParent };

// The pages that the tab menu switches, in its tabs' order; every page shows
// the controls of allPages.
enum Page { chatPage, signInPage, lookPage, pageCount, allPages = pageCount };

// The dialog manager sends the window WM_COMMAND with IDOK (1) and IDCANCEL
// (2) for an Enter or Escape that no control takes: no control has those.
enum ControlId {
    frameId = IDCANCEL + 1,
    tableId,
    titleId,
    tabMenuId,
    pageStatusId,
    rowListId,
    addRowId,
    removeRowId,
    promptId,
    messageEditId,
    showMessageLinkId,
    aboutLinkId,
    shownId,
    addAsRowId,
    clearId,
    signInFrameId,
    userPromptId,
    userEditId,
    passwordPromptId,
    passwordEditId,
    typedId,
    signInId,
    signedInId,
    lookFrameId,
    themeShownId,
    switchThemeId,
    hintId,
    closeId,
};

// The controls that the keyboard operates take WS_TABSTOP; labels, the list
// and the frame and table (which let Tab into the controls they hold) don't.
enum KeyboardRole { noKeys, tabStop };

struct ControlLayout {
    Page page;
    Parent parent;
    // Wide, as a Unicode host gives them, so that any script shows.
    const wchar_t* className;
    const wchar_t* text;
    ControlId id;
    int x, y, width, height;
    KeyboardRole keys;
    // The control's own styles.
    DWORD style;
};

// In Greek and Cyrillic too: the controls keep and draw any script.
static const wchar_t galleryTitle[] =
    L"Velmo control gallery \u00b7 \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \u00b7 "
    L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439";

static const DWORD fieldStyle = ES_AUTOHSCROLL | VELMO_EDIT_NOTIFY;

// Tab and Shift+Tab follow this order; a frame or table comes before the
// controls inside it, which need its handle. Positions are relative to the parent.
static const ControlLayout controlLayouts[] = {
    {allPages, mainParent, VELMO_STATIC_CLASSW, galleryTitle, titleId, 16, 12, 608, 20, noKeys, 0},
    {allPages, mainParent, VELMO_TAB_MENU_CLASSW, L"", tabMenuId, 16, 38, 608, 34, tabStop, VELMO_TAB_MENU_SINGLE},
    {allPages, mainParent, VELMO_STATIC_CLASSW, L"", pageStatusId, 16, 74, 608, 20, noKeys, 0},
    {chatPage, mainParent, VELMO_FRAME_CLASSW, L"Rows", frameId, 16, 96, 296, 314, noKeys, 0},
    {chatPage, frameParent, VELMO_LIST_CLASSW, L"", rowListId, 12, 34, 272, 212, noKeys,
     WS_VSCROLL | VELMO_LIST_WIDE_ROWS},
    {chatPage, frameParent, VELMO_BUTTON_CLASSW, L"Add row", addRowId, 12, 264, 128, 34, tabStop, 0},
    {chatPage, frameParent, VELMO_BUTTON_CLASSW, L"Remove first", removeRowId, 156, 264, 128, 34, tabStop, 0},
    {chatPage, mainParent, VELMO_TABLE_CLASSW, L"Message", tableId, 328, 96, 296, 314, noKeys, 0},
    {chatPage, tableParent, VELMO_STATIC_CLASSW, L"Type a message:", promptId, 12, 40, 272, 20, noKeys, 0},
    {chatPage, tableParent, VELMO_EDIT_CLASSW, L"", messageEditId, 12, 66, 272, 24, tabStop, ES_AUTOHSCROLL},
    {chatPage, tableParent, VELMO_LINK_CLASSW, L"Show message", showMessageLinkId, 12, 104, 110, 20, tabStop, 0},
    {chatPage, tableParent, VELMO_LINK_CLASSW, L"About", aboutLinkId, 140, 104, 56, 20, tabStop, 0},
    {chatPage, tableParent, VELMO_STATIC_CLASSW, L"Nothing shown yet", shownId, 12, 140, 272, 20, noKeys, 0},
    {chatPage, tableParent, VELMO_BUTTON_CLASSW, L"Add as row", addAsRowId, 12, 264, 128, 34, tabStop, 0},
    {chatPage, tableParent, VELMO_BUTTON_CLASSW, L"Clear", clearId, 156, 264, 128, 34, tabStop, 0},
    {signInPage, mainParent, VELMO_FRAME_CLASSW, L"Sign in", signInFrameId, 16, 96, 608, 314, noKeys, 0},
    {signInPage, signInParent, VELMO_STATIC_CLASSW, L"User name:", userPromptId, 12, 40, 272, 20, noKeys, 0},
    {signInPage, signInParent, VELMO_EDIT_CLASSW, L"", userEditId, 12, 66, 272, 24, tabStop, fieldStyle},
    {signInPage, signInParent, VELMO_STATIC_CLASSW, L"Password:", passwordPromptId, 12, 104, 272, 20, noKeys, 0},
    {signInPage, signInParent, VELMO_EDIT_CLASSW, L"", passwordEditId, 12, 130, 272, 24, tabStop,
     fieldStyle | ES_PASSWORD},
    {signInPage, signInParent, VELMO_STATIC_CLASSW, L"", typedId, 12, 168, 272, 20, noKeys, 0},
    {signInPage, signInParent, VELMO_BUTTON_CLASSW, L"Sign in", signInId, 12, 264, 128, 34, tabStop, 0},
    {signInPage, signInParent, VELMO_STATIC_CLASSW, L"", signedInId, 156, 271, 300, 20, noKeys, 0},
    {lookPage, mainParent, VELMO_FRAME_CLASSW, L"Look", lookFrameId, 16, 96, 608, 314, noKeys, 0},
    {lookPage, lookParent, VELMO_STATIC_CLASSW, L"", themeShownId, 12, 40, 400, 20, noKeys, 0},
    {lookPage, lookParent, VELMO_BUTTON_CLASSW, L"Switch theme", switchThemeId, 12, 76, 160, 34, tabStop, 0},
    {allPages, mainParent, VELMO_STATIC_CLASSW, L"Drag inside to move, drag an edge to resize", hintId, 16, 430, 440,
     20, noKeys, 0},
    {allPages, mainParent, VELMO_BUTTON_CLASSW, L"Close", closeId, 496, 424, 128, 34, tabStop, 0},
};

static const int controlCount = sizeof controlLayouts / sizeof controlLayouts[0];

// Indexed by Page.
static const char* const pageNames[pageCount] = {"Chat", "Sign in", "Look"};

// The theme that the look page switches to and from.
static const wchar_t shippedTheme[] = L"slate";

static const char aboutText[] = "Skinned controls from 17 bitmaps";
static const char rowFormat[] = "Row %d: a chat line long enough to run past the list's edge";
static const int textCapacity = 256;
static const int firstRowNumber = 1;
static const int initialRowCount = 3;

// Indexed by the position of the control's layout in controlLayouts.
static HWND controls[controlCount];
static int nextRowNumber = firstRowNumber;
// The theme the gallery shows, as given to useTheme; null for the built-in one.
static const wchar_t* themeInUse = nullptr;

static HWND findControl(ControlId id) {
    for (int i = 0; i < controlCount; i++) {
        if (controlLayouts[i].id == id) {
            return controls[i];
        }
    }
    return nullptr;
}

static HWND findParent(HWND window, Parent parent) {
    switch (parent) {
    case frameParent:
        return findControl(frameId);
    case tableParent:
        return findControl(tableId);
    case signInParent:
        return findControl(signInFrameId);
    case lookParent:
        return findControl(lookFrameId);
    default:
        return window;
    }
}

// The library's labels don't repaint on a text change, so the host asks.
static void setLabel(ControlId id, const char* text) {
    HWND label = findControl(id);
    SetWindowTextA(label, text);
    InvalidateRect(label, nullptr, TRUE);
}

static void addRow(const char* text) {
    SendMessageA(findControl(rowListId), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

static void addNumberedRow() {
    char text[textCapacity];
    snprintf(text, sizeof text, rowFormat, nextRowNumber++);
    addRow(text);
}

static void removeFirstRow() {
    SendMessageA(findControl(rowListId), LB_DELETESTRING, 0, 0);
}

static int scaled(int length) {
    return MulDiv(length, screenDpi, layoutDpi);
}

// A page's controls stand inside its frames, which show and hide them.
static void showPage(int page) {
    for (int i = 0; i < controlCount; i++) {
        const ControlLayout& layout = controlLayouts[i];
        if (layout.page != allPages && layout.parent == mainParent) {
            ShowWindow(controls[i], layout.page == page ? SW_SHOW : SW_HIDE);
        }
    }
    char text[textCapacity];
    snprintf(text, sizeof text, "Page: %s", pageNames[page]);
    setLabel(pageStatusId, text);
}

static void showTheme() {
    char text[textCapacity];
    snprintf(text, sizeof text, "Theme: %ls", themeInUse != nullptr ? themeInUse : L"built-in");
    setLabel(themeShownId, text);
}

static void createControls(HWND window) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int i = 0; i < controlCount; i++) {
        const ControlLayout& layout = controlLayouts[i];
        DWORD keyboardStyle = layout.keys == tabStop ? WS_TABSTOP : 0;
        controls[i] = CreateWindowExW(0, layout.className, layout.text,
                                      WS_CHILD | WS_VISIBLE | keyboardStyle | layout.style, scaled(layout.x),
                                      scaled(layout.y), scaled(layout.width), scaled(layout.height),
                                      findParent(window, layout.parent),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
    }
    HWND tabMenu = findControl(tabMenuId);
    for (const char* name : pageNames) {
        SendMessageA(tabMenu, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    SendMessageA(tabMenu, LB_SETCURSEL, chatPage, 0);
    showPage(chatPage);
    for (int i = 0; i < initialRowCount; i++) {
        addNumberedRow();
    }
    setLabel(typedId, "Typed: 0 characters");
    showTheme();
}

// With one current tab the menu says which page to show.
static void switchPage() {
    LRESULT page = SendMessageA(findControl(tabMenuId), LB_GETCURSEL, 0, 0);
    if (page >= 0 && page < pageCount) {
        showPage(static_cast<int>(page));
    }
}

// Counted from the fields' EN_CHANGE, as a form checks its input.
static void countTyped() {
    int typed = GetWindowTextLengthW(findControl(userEditId)) + GetWindowTextLengthW(findControl(passwordEditId));
    char text[textCapacity];
    snprintf(text, sizeof text, "Typed: %d characters", typed);
    setLabel(typedId, text);
}

static void signIn() {
    char user[textCapacity] = "";
    GetWindowTextA(findControl(userEditId), user, sizeof user);
    char text[textCapacity];
    snprintf(text, sizeof text, "Signed in as %s", user[0] != '\0' ? user : "nobody");
    setLabel(signedInId, text);
}

static void switchTheme() {
    const wchar_t* next = themeInUse == nullptr ? shippedTheme : nullptr;
    if (useTheme(next)) {
        themeInUse = next;
    }
    showTheme();
}

static void showMessage() {
    char text[textCapacity] = "";
    GetWindowTextA(findControl(messageEditId), text, sizeof text);
    setLabel(shownId, text);
}

static void addMessageAsRow() {
    char text[textCapacity] = "";
    GetWindowTextA(findControl(messageEditId), text, sizeof text);
    if (text[0] != '\0') {
        addRow(text);
    }
}

static void clearMessage() {
    SetWindowTextA(findControl(messageEditId), "");
    setLabel(shownId, "");
}

// Clicks arrive with the control's identifier; the tab menu's carries code 1,
// the fields' their notification codes.
static void handleCommand(HWND window, int id, int code) {
    switch (id) {
    case addRowId:
        addNumberedRow();
        break;
    case removeRowId:
        removeFirstRow();
        break;
    case tabMenuId:
        switchPage();
        break;
    case userEditId:
    case passwordEditId:
        if (code == EN_CHANGE) {
            countTyped();
        }
        break;
    case signInId:
        signIn();
        break;
    case switchThemeId:
        switchTheme();
        break;
    case showMessageLinkId:
        showMessage();
        break;
    case aboutLinkId:
        setLabel(shownId, aboutText);
        break;
    case addAsRowId:
        addMessageAsRow();
        break;
    case clearId:
        clearMessage();
        break;
    case closeId:
        DestroyWindow(window);
        break;
    default:
        break;
    }
}

// The library's window has no border of its own; on a white desktop the
// gallery would have no visible edge.
static void paintOutline(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr) {
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    HPEN pen = CreatePen(PS_SOLID, 1, outlineColour);
    if (pen != nullptr) {
        HGDIOBJ previousPen = SelectObject(dc, pen);
        HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        // The rounded region leaves out the last column and row of the window.
        RoundRect(dc, client.left, client.top, client.right - 1, client.bottom - 1, scaled(outlineCorner),
                  scaled(outlineCorner));
        SelectObject(dc, previousBrush);
        SelectObject(dc, previousPen);
        DeleteObject(pen);
    }
    EndPaint(window, &paint);
}

// Installed with WM_USER; the library hands it every message of the window,
// so whatever isn't handled here must reach DefWindowProcA (dragging and
// resizing go through WM_NCLBUTTONDOWN).
static LRESULT CALLBACK galleryWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createControls(window);
        return 0;
    case WM_PAINT:
        paintOutline(window);
        return 0;
    case WM_SIZE:
        // The class doesn't redraw on a size change; the old outline would stay.
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_COMMAND:
        handleCommand(window, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Without --at the window is centred on the primary screen.
static POINT readOrigin(int argc, char** argv) {
    POINT origin = {(GetSystemMetrics(SM_CXSCREEN) - scaled(windowWidth)) / 2,
                    (GetSystemMetrics(SM_CYSCREEN) - scaled(windowHeight)) / 2};
    for (int i = 1; i + 1 < argc; i++) {
        int x, y;
        if (strcmp(argv[i], "--at") == 0 && sscanf(argv[i + 1], "%d,%d", &x, &y) == 2) {
            origin.x = x;
            origin.y = y;
        }
    }
    return origin;
}

typedef BOOL(WINAPI* SetAwarenessFunction)(DPI_AWARENESS_CONTEXT);

// Per-monitor awareness, version 2 where the system grants it (Wine refuses
// it), else version 1; a system without the call runs the gallery unaware
// and scales its window as a bitmap. Done before any window exists.
static void declareDpiAwareness() {
    HMODULE user = GetModuleHandleA("user32.dll");
    SetAwarenessFunction setAwareness = reinterpret_cast<SetAwarenessFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
    if (setAwareness != nullptr && !setAwareness(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {
        setAwareness(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    }
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    screenDpi = dpi > 0 ? dpi : layoutDpi;
}

// --theme takes its folder from the wide command line, so that a folder named
// in any script arrives whole. False when the theme can't be used.
static bool startInTheme() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    bool usable = true;
    for (int i = 1; arguments != nullptr && i + 1 < count; i++) {
        if (wcscmp(arguments[i], L"--theme") != 0) {
            continue;
        }
        static wchar_t report[4096];
        usable = useTheme(arguments[i + 1]) != FALSE;
        if (!usable) {
            DWORD error = GetLastError();
            checkTheme(arguments[i + 1], report, sizeof report / sizeof *report);
            fprintf(stderr, "gallery: cannot use the theme %ls (error %lu)\n%ls", arguments[i + 1], error, report);
        } else {
            static wchar_t name[MAX_PATH];
            wcsncpy(name, arguments[i + 1], MAX_PATH - 1);
            themeInUse = name;
        }
    }
    LocalFree(arguments);
    return usable;
}

int main(int argc, char** argv) {
    declareDpiAwareness();
    if (!startInTheme()) {
        return 2;
    }
    // Without bitmap/ in the current folder or beside velmo.dll the controls draw no bitmaps.
    if (getControlBitmap("button", "buttonMiddle") == nullptr) {
        fprintf(stderr, "gallery: no theme bitmaps; put bitmap/ beside velmo.dll\n");
    }
    POINT origin = readOrigin(argc, argv);
    HWND window = CreateWindowExA(WS_EX_APPWINDOW, VELMO_WINDOW_CLASS, windowTitle, WS_POPUP | WS_VISIBLE, origin.x,
                                  origin.y, scaled(windowWidth), scaled(windowHeight), nullptr, nullptr,
                                  GetModuleHandleA(nullptr),
                                  nullptr);
    if (window == nullptr) {
        fprintf(stderr, "gallery: cannot create the window (is velmo.dll loaded?)\n");
        return 1;
    }
    SendMessageA(window, WM_USER, reinterpret_cast<WPARAM>(galleryWindowProcedure), 0);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // The dialog manager moves the focus with Tab and Shift+Tab and hands
        // the other keys to the focused control.
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
