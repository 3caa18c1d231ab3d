// The gallery: one "VelmoWindow" holding every control of the library, wired
// the way a host program would wire them. Buttons add and remove list rows,
// a tab release shows which tabs are pressed, and a link shows the edit
// field's text. Tab, Shift+Tab, Space, Enter and the arrows operate it too.
// The theme comes from bitmap/ beside velmo.dll. It declares itself DPI-aware
// and lays its controls out at the screen's DPI; the controls scale themselves.
//
//   gallery [--at X,Y]   place the window's top-left corner at X,Y (default: centred)
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <new>

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

enum Parent { mainParent, frameParent, tableParent };

// The dialog manager sends the window WM_COMMAND with IDOK (1) and IDCANCEL
// (2) for an Enter or Escape that no control takes: no control has those.
enum ControlId {
    frameId = IDCANCEL + 1,
    tableId,
    titleId,
    tabMenuId,
    tabStatusId,
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
    hintId,
    closeId,
};

// The controls that the keyboard operates take WS_TABSTOP; labels, the list
// and the frame and table (which let Tab into the controls they hold) don't.
enum KeyboardRole { noKeys, tabStop };

struct ControlLayout {
    Parent parent;
    // Wide, as a Unicode host gives them, so that any script shows.
    const wchar_t* className;
    const wchar_t* text;
    ControlId id;
    int x, y, width, height;
    KeyboardRole keys;
};

// In Greek and Cyrillic too: the controls keep and draw any script.
static const wchar_t galleryTitle[] =
    L"Velmo control gallery \u00b7 \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \u00b7 "
    L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439";

// Tab and Shift+Tab follow this order; a frame or table comes before the
// controls inside it, which need its handle. Positions are relative to the parent.
static const ControlLayout controlLayouts[] = {
    {mainParent, VELMO_STATIC_CLASSW, galleryTitle, titleId, 16, 12, 608, 20, noKeys},
    {mainParent, VELMO_TAB_MENU_CLASSW, L"", tabMenuId, 16, 38, 608, 34, tabStop},
    {mainParent, VELMO_STATIC_CLASSW, L"Pressed tabs: none", tabStatusId, 16, 74, 608, 20, noKeys},
    {mainParent, VELMO_FRAME_CLASSW, L"Rows", frameId, 16, 96, 296, 314, noKeys},
    {frameParent, VELMO_LIST_CLASSW, L"", rowListId, 12, 34, 272, 212, noKeys},
    {frameParent, VELMO_BUTTON_CLASSW, L"Add row", addRowId, 12, 264, 128, 34, tabStop},
    {frameParent, VELMO_BUTTON_CLASSW, L"Remove first", removeRowId, 156, 264, 128, 34, tabStop},
    {mainParent, VELMO_TABLE_CLASSW, L"Message", tableId, 328, 96, 296, 314, noKeys},
    {tableParent, VELMO_STATIC_CLASSW, L"Type a message:", promptId, 12, 40, 272, 20, noKeys},
    {tableParent, VELMO_EDIT_CLASSW, L"", messageEditId, 12, 66, 272, 24, tabStop},
    {tableParent, VELMO_LINK_CLASSW, L"Show message", showMessageLinkId, 12, 104, 110, 20, tabStop},
    {tableParent, VELMO_LINK_CLASSW, L"About", aboutLinkId, 140, 104, 56, 20, tabStop},
    {tableParent, VELMO_STATIC_CLASSW, L"Nothing shown yet", shownId, 12, 140, 272, 20, noKeys},
    {tableParent, VELMO_BUTTON_CLASSW, L"Add as row", addAsRowId, 12, 264, 128, 34, tabStop},
    {tableParent, VELMO_BUTTON_CLASSW, L"Clear", clearId, 156, 264, 128, 34, tabStop},
    {mainParent, VELMO_STATIC_CLASSW, L"Drag inside to move, drag an edge to resize", hintId, 16, 430, 440, 20, noKeys},
    {mainParent, VELMO_BUTTON_CLASSW, L"Close", closeId, 496, 424, 128, 34, tabStop},
};

static const int controlCount = sizeof controlLayouts / sizeof controlLayouts[0];

static const char* const tabCaptions[] = {"Home", "Files", "Search", "Friends", "Chat", "Settings", "About"};
static const int tabCount = sizeof tabCaptions / sizeof tabCaptions[0];

static const char aboutText[] = "Skinned controls from 17 bitmaps";
static const char rowFormat[] = "Row %d";
static const int textCapacity = 256;
static const int firstRowNumber = 1;
static const int initialRowCount = 3;

// Indexed by the position of the control's layout in controlLayouts.
static HWND controls[controlCount];
static int nextRowNumber = firstRowNumber;

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

static void createControls(HWND window) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int i = 0; i < controlCount; i++) {
        const ControlLayout& layout = controlLayouts[i];
        DWORD keyboardStyle = layout.keys == tabStop ? WS_TABSTOP : 0;
        controls[i] = CreateWindowExW(0, layout.className, layout.text, WS_CHILD | WS_VISIBLE | keyboardStyle,
                                      scaled(layout.x), scaled(layout.y), scaled(layout.width), scaled(layout.height),
                                      findParent(window, layout.parent),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
    }
    HWND tabMenu = findControl(tabMenuId);
    for (int i = 0; i < tabCount; i++) {
        SendMessageA(tabMenu, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tabCaptions[i]));
    }
    for (int i = 0; i < initialRowCount; i++) {
        addNumberedRow();
    }
}

// The tab menu says only that a tab was released; it is asked which are pressed.
static void showPressedTabs() {
    HWND tabMenu = findControl(tabMenuId);
    int count = static_cast<int>(SendMessageA(tabMenu, LB_GETSELCOUNT, 0, 0));
    if (count <= 0) {
        setLabel(tabStatusId, "Pressed tabs: none");
        return;
    }
    int* positions = new (std::nothrow) int[count];
    if (positions == nullptr) {
        return;
    }
    SendMessageA(tabMenu, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(positions));
    char text[textCapacity] = "Pressed tabs: ";
    for (int i = 0; i < count; i++) {
        if (positions[i] < 0 || positions[i] >= tabCount) {
            continue;
        }
        if (i > 0) {
            strncat(text, ", ", sizeof text - strlen(text) - 1);
        }
        strncat(text, tabCaptions[positions[i]], sizeof text - strlen(text) - 1);
    }
    delete[] positions;
    setLabel(tabStatusId, text);
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

// Clicks arrive with the control's identifier; the tab menu's carries code 1.
static void handleCommand(HWND window, int id) {
    switch (id) {
    case addRowId:
        addNumberedRow();
        break;
    case removeRowId:
        removeFirstRow();
        break;
    case tabMenuId:
        showPressedTabs();
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
        handleCommand(window, LOWORD(wParam));
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

int main(int argc, char** argv) {
    declareDpiAwareness();
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
