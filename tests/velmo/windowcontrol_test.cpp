// The top-level window as its installed procedure, the screen and the user see it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mouse.h"
#include "pixels.h"
#include "resources.h"
#include "testhost.h"
#include "velmo.h"

namespace {

const int windowLeft = 10;
const int windowTop = 10;
const int windowWidth = 300;
const int windowHeight = 200;
const int cornerEllipse = 10;
const LPARAM installData = 77;
const LRESULT defaultButtonAnswer = MAKELRESULT(5, DC_HASDEFID);

// What the procedures installed with WM_USER receive. The first hands
// presses on to DefWindowProcA only when a test wants the move or size loop,
// and names a default button when the dialog manager asks.
Recorder installedMessages;
Recorder otherMessages;
bool runMoveLoops = false;
std::string lastTitleSet;

LRESULT CALLBACK installedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    installedMessages.messages.push_back({window, message, wParam, lParam});
    if (message == WM_SETTEXT && lParam != 0) {
        lastTitleSet = reinterpret_cast<const char*>(lParam);
    }
    if (message == WM_NCLBUTTONDOWN && !runMoveLoops) {
        return 0;
    }
    if (message == DM_GETDEFID && wParam == 0) {
        return defaultButtonAnswer;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK otherProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    otherMessages.messages.push_back({window, message, wParam, lParam});
    if (message == WM_NCLBUTTONDOWN) {
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The mouse and cursor messages of what a procedure received; activation
// and focus messages come and go with other windows.
std::vector<RecordedMessage> getMouseMessages(const Recorder* recorder) {
    std::vector<RecordedMessage> kept;
    for (const RecordedMessage& recorded : recorder->messages) {
        UINT message = recorded.message;
        if (message == WM_MOUSEMOVE || message == WM_SETCURSOR || message == WM_LBUTTONDOWN ||
            message == WM_NCLBUTTONDOWN) {
            kept.push_back(recorded);
        }
    }
    return kept;
}

struct Zone {
    int x;
    int y;
    WPARAM changeType;
    LPCSTR cursor;
};

HCURSOR loadCursor(LPCSTR name) {
    return LoadCursorA(nullptr, name);
}

bool regionMatchesSize(HWND window, int width, int height) {
    HRGN shown = CreateRectRgn(0, 0, 0, 0);
    HRGN expected = CreateRoundRectRgn(0, 0, width, height, cornerEllipse, cornerEllipse);
    HRGN difference = CreateRectRgn(0, 0, 0, 0);
    bool same = GetWindowRgn(window, shown) != ERROR &&
                CombineRgn(difference, shown, expected, RGN_XOR) == NULLREGION;
    DeleteObject(difference);
    DeleteObject(expected);
    DeleteObject(shown);
    return same;
}

SIZE getWindowSize(HWND window) {
    RECT rectangle;
    GetWindowRect(window, &rectangle);
    return {rectangle.right - rectangle.left, rectangle.bottom - rectangle.top};
}

class WindowHost : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, loadVelmo());
        origin = getAreaOrigin(windowArea);
        installedMessages.messages.clear();
        otherMessages.messages.clear();
        runMoveLoops = false;
    }

    void TearDown() override {
        for (HWND window : windows) {
            DestroyWindow(window);
        }
        pumpMessages();
    }

    // Message tests use hidden windows: showing and hiding top-level
    // windows is what costs time under Wine.
    HWND createWindow(int width, int height, DWORD visibility = 0) {
        HWND window = CreateWindowExA(WS_EX_TOPMOST, VELMO_WINDOW_CLASS, "", WS_POPUP | visibility,
                                      origin.x + windowLeft, origin.y + windowTop, width, height, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        if (window != nullptr) {
            windows.push_back(window);
        }
        pumpMessages();
        return window;
    }

    HWND createInstalledWindow(int width, int height, DWORD visibility = 0) {
        HWND window = createWindow(width, height, visibility);
        SendMessageA(window, WM_USER, reinterpret_cast<WPARAM>(installedProcedure), installData);
        installedMessages.messages.clear();
        return window;
    }

    POINT onScreen(HWND window, int x, int y) {
        RECT rectangle;
        GetWindowRect(window, &rectangle);
        return {rectangle.left + x, rectangle.top + y};
    }

    // The cursor changes at the WM_SETCURSOR that comes before the move
    // after the one that chose the zone, so every point is reached twice.
    bool hover(HWND window, int x, int y) {
        POINT beside = onScreen(window, x, y + (y > windowHeight / 2 ? -1 : 1));
        POINT target = onScreen(window, x, y);
        return moveMouse(beside.x, beside.y) && moveMouse(target.x, target.y);
    }

    POINT origin;
    std::vector<HWND> windows;
};

using WindowMessages = WindowHost;
using WindowPixels = WindowHost;
using WindowInput = WindowHost;
using WindowLifetime = WindowHost;

TEST_F(WindowMessages, installGivesCreationNoticeThenTheInstallMessage) {
    HWND window = createWindow(windowWidth, windowHeight);
    ASSERT_NE(nullptr, window);
    WPARAM procedure = reinterpret_cast<WPARAM>(installedProcedure);
    EXPECT_EQ(0, SendMessageA(window, WM_USER, procedure, installData));
    std::vector<RecordedMessage> expected = {{window, WM_CREATE, 0, 0}, {window, WM_USER, procedure, installData}};
    EXPECT_EQ(expected, installedMessages.messages);
}

// The dialog manager's DM_GETDEFID is WM_USER with no procedure: it reaches
// the installed procedure, which stays installed, with no creation notice.
TEST_F(WindowMessages, nullProcedureIsPassedOnAndInstallsNothing) {
    HWND window = createInstalledWindow(windowWidth, windowHeight);
    EXPECT_EQ(defaultButtonAnswer, SendMessageA(window, WM_USER, 0, 0));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
    std::vector<RecordedMessage> expected = {{window, WM_USER, 0, 0}, {window, WM_MOUSEMOVE, 0, MAKELPARAM(100, 100)}};
    EXPECT_EQ(expected, installedMessages.messages);
}

// A Unicode host's title is kept whole from creation; the installed
// procedure, an ANSI one, gets a later title in the process's code page.
TEST_F(WindowMessages, wideTitleIsWholeAndReachesTheProcedureAsAnsiText) {
    const wchar_t title[] = L"\u03a9\u0416 A\U0001F600B";
    HWND window = CreateWindowExW(0, VELMO_WINDOW_CLASSW, title, WS_POPUP, 0, 0, windowWidth, windowHeight, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    windows.push_back(window);
    wchar_t shown[16] = L"";
    InternalGetWindowText(window, shown, 16);
    EXPECT_EQ(std::wstring(title), shown);
    SendMessageA(window, WM_USER, reinterpret_cast<WPARAM>(installedProcedure), installData);
    SetWindowTextW(window, title);
    char expected[16] = "";
    WideCharToMultiByte(CP_ACP, 0, title, -1, expected, sizeof expected, nullptr, nullptr);
    EXPECT_EQ(expected, lastTitleSet);
}

TEST_F(WindowMessages, setCursorNeverReachesTheInstalledProcedure) {
    HWND window = createInstalledWindow(windowWidth, windowHeight);
    EXPECT_EQ(0, SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                              MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_TRUE(installedMessages.messages.empty());
}

// Before any movement a press drags the window and the arrow shows.
TEST_F(WindowMessages, pressBeforeAnyMoveStandsForTheCaption) {
    HWND window = createInstalledWindow(windowWidth, windowHeight);
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(loadCursor(IDC_ARROW), GetCursor());
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    std::vector<RecordedMessage> expected = {{window, WM_NCLBUTTONDOWN, HTCAPTION, 0},
                                             {window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100)}};
    EXPECT_EQ(expected, installedMessages.messages);
}

// A move chooses the zone; the next WM_SETCURSOR shows its cursor, and a
// press hands its code to the system before the press itself is passed on.
void expectZone(HWND window, const Zone& zone) {
    SCOPED_TRACE(::testing::Message() << "zone at (" << zone.x << ", " << zone.y << ")");
    installedMessages.messages.clear();
    LPARAM point = MAKELPARAM(zone.x, zone.y);
    SendMessageA(window, WM_MOUSEMOVE, 0, point);
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(loadCursor(zone.cursor), GetCursor());
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    std::vector<RecordedMessage> expected = {{window, WM_MOUSEMOVE, 0, point},
                                             {window, WM_NCLBUTTONDOWN, zone.changeType, 0},
                                             {window, WM_LBUTTONDOWN, MK_LBUTTON, point}};
    EXPECT_EQ(expected, installedMessages.messages);
}

// Negative coordinates read as large unsigned ones: past the right or bottom edge.
TEST_F(WindowMessages, zoneTableOfAUsualWindow) {
    HWND window = createInstalledWindow(windowWidth, windowHeight);
    const Zone zones[] = {
        {8, 8, HTTOPLEFT, IDC_SIZENWSE},      {9, 9, HTCAPTION, IDC_ARROW},
        {292, 100, HTRIGHT, IDC_SIZEWE},      {291, 100, HTCAPTION, IDC_ARROW},
        {100, 192, HTBOTTOM, IDC_SIZENS},     {292, 192, HTBOTTOMRIGHT, IDC_SIZENWSE},
        {292, 0, HTTOPRIGHT, IDC_SIZENESW},   {0, 199, HTBOTTOMLEFT, IDC_SIZENESW},
        {0, 9, HTLEFT, IDC_SIZEWE},           {150, 8, HTTOP, IDC_SIZENS},
        {100, 191, HTCAPTION, IDC_ARROW},     {-1, 100, HTRIGHT, IDC_SIZEWE},
        {100, -1, HTBOTTOM, IDC_SIZENS},      {-1, -1, HTBOTTOMRIGHT, IDC_SIZENWSE},
    };
    for (const Zone& zone : zones) {
        expectZone(window, zone);
    }
}

// Where the bands overlap, the table's order decides: corners first, top-left
// before top-right, left before right, top before bottom.
TEST_F(WindowMessages, zoneTableOfSixteenPixelWindows) {
    HWND square = createInstalledWindow(16, 16);
    const Zone corners[] = {{8, 8, HTTOPLEFT, IDC_SIZENWSE}, {12, 4, HTTOPRIGHT, IDC_SIZENESW},
                            {8, 12, HTBOTTOMLEFT, IDC_SIZENESW}, {12, 12, HTBOTTOMRIGHT, IDC_SIZENWSE}};
    for (const Zone& zone : corners) {
        expectZone(square, zone);
    }
    SetWindowPos(square, nullptr, 0, 0, 16, windowHeight, SWP_NOMOVE | SWP_NOZORDER);
    expectZone(square, {8, 100, HTLEFT, IDC_SIZEWE});
    SetWindowPos(square, nullptr, 0, 0, windowWidth, 16, SWP_NOMOVE | SWP_NOZORDER);
    expectZone(square, {100, 8, HTTOP, IDC_SIZENS});
}

TEST_F(WindowMessages, procedureAndZoneAreKeptPerWindow) {
    HWND first = createInstalledWindow(windowWidth, windowHeight);
    HWND second = createWindow(windowWidth, windowHeight);
    SendMessageA(second, WM_USER, reinterpret_cast<WPARAM>(otherProcedure), 0);
    otherMessages.messages.clear();

    SendMessageA(first, WM_MOUSEMOVE, 0, MAKELPARAM(8, 8));
    SendMessageA(second, WM_SETCURSOR, reinterpret_cast<WPARAM>(second), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(loadCursor(IDC_ARROW), GetCursor());
    SendMessageA(second, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    std::vector<RecordedMessage> secondExpected = {{second, WM_NCLBUTTONDOWN, HTCAPTION, 0},
                                                   {second, WM_LBUTTONDOWN, MK_LBUTTON, 0}};
    EXPECT_EQ(secondExpected, getMouseMessages(&otherMessages));

    SendMessageA(first, WM_SETCURSOR, reinterpret_cast<WPARAM>(first), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(loadCursor(IDC_SIZENWSE), GetCursor());
    std::vector<RecordedMessage> firstExpected = {{first, WM_MOUSEMOVE, 0, MAKELPARAM(8, 8)}};
    EXPECT_EQ(firstExpected, getMouseMessages(&installedMessages));
}

// Wine never sends it, so the test does: the window takes the suggested
// rectangle, then its procedure receives the message.
TEST_F(WindowMessages, dpiChangeTakesTheSuggestedRectangleAndIsPassedOn) {
    HWND window = createInstalledWindow(windowWidth, windowHeight);
    RECT suggested = {origin.x + 20, origin.y + 30, origin.x + 260, origin.y + 210};
    LPARAM lParam = reinterpret_cast<LPARAM>(&suggested);
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(144, 144), lParam);
    RECT shown;
    GetWindowRect(window, &shown);
    EXPECT_TRUE(EqualRect(&suggested, &shown));
    std::vector<RecordedMessage> expected = {{window, WM_DPICHANGED, MAKEWPARAM(144, 144), lParam}};
    EXPECT_EQ(expected, recordedOf(&installedMessages, WM_DPICHANGED));
}

TEST_F(WindowPixels, everySizeGetsItsRoundedRegion) {
    HWND window = createInstalledWindow(windowWidth, windowHeight);
    EXPECT_TRUE(regionMatchesSize(window, windowWidth, windowHeight));
    SetWindowPos(window, nullptr, 0, 0, 200, 120, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(regionMatchesSize(window, 200, 120));
    EXPECT_EQ(1u, recordedOf(&installedMessages, WM_SIZE).size());
}

// Outside the rounded outline the screen shows the dark window behind.
TEST_F(WindowPixels, cornersShowWhatLiesBehind) {
    HWND backdrop = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_BLACKRECT,
                                    origin.x, origin.y, windowWidth + 2 * windowLeft,
                                    windowHeight + 2 * windowTop, nullptr, nullptr, GetModuleHandleA(nullptr),
                                    nullptr);
    ASSERT_NE(nullptr, backdrop);
    windows.push_back(backdrop);
    HWND window = createInstalledWindow(windowWidth, windowHeight, WS_VISIBLE);
    repaintNow(backdrop);
    repaintNow(window);
    POINT corner = onScreen(window, 0, 0);
    Pixels shown = captureScreen(corner.x, corner.y, windowWidth, windowHeight);
    ASSERT_EQ(windowWidth, shown.width);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(window, region));
    uint32_t white = makePixel(255, 255, 255);
    Pixels margin = captureScreen(origin.x, origin.y, 1, 1);
    uint32_t behind = getPixel(&margin, 0, 0);
    EXPECT_NE(white, behind);
    int wrong = 0;
    int outside = 0;
    for (int y = 0; y < windowHeight; y++) {
        for (int x = 0; x < windowWidth; x++) {
            bool inside = PtInRegion(region, x, y);
            outside += inside ? 0 : 1;
            wrong += getPixel(&shown, x, y) == (inside ? white : behind) ? 0 : 1;
        }
    }
    DeleteObject(region);
    EXPECT_GT(outside, 4 * 4);
    EXPECT_EQ(0, wrong);
}

TEST_F(WindowInput, cursorFollowsTheZoneUnderThePointer) {
    HWND window = createInstalledWindow(windowWidth, windowHeight, WS_VISIBLE);
    // The region leaves out the last column and row, so the right and bottom
    // bands reach the mouse up to width - 2 and height - 2.
    const Zone zones[] = {{150, 100, HTCAPTION, IDC_ARROW},      {4, 100, HTLEFT, IDC_SIZEWE},
                          {296, 100, HTRIGHT, IDC_SIZEWE},       {150, 4, HTTOP, IDC_SIZENS},
                          {150, 196, HTBOTTOM, IDC_SIZENS},      {5, 5, HTTOPLEFT, IDC_SIZENWSE},
                          {294, 194, HTBOTTOMRIGHT, IDC_SIZENWSE}, {294, 5, HTTOPRIGHT, IDC_SIZENESW},
                          {5, 194, HTBOTTOMLEFT, IDC_SIZENESW}};
    for (const Zone& zone : zones) {
        ASSERT_TRUE(hover(window, zone.x, zone.y)) << zone.x << ", " << zone.y;
        EXPECT_EQ(loadCursor(zone.cursor), GetCursor()) << zone.x << ", " << zone.y;
    }
    EXPECT_TRUE(recordedOf(&installedMessages, WM_SETCURSOR).empty());
    EXPECT_FALSE(recordedOf(&installedMessages, WM_MOUSEMOVE).empty());
    parkMouse();
}

TEST_F(WindowInput, dragInsideMovesTheWindow) {
    HWND window = createInstalledWindow(windowWidth, windowHeight, WS_VISIBLE);
    runMoveLoops = true;
    RECT before;
    GetWindowRect(window, &before);
    ASSERT_TRUE(hover(window, 150, 100));
    POINT target = onScreen(window, 150 + 40, 100 + 30);
    ASSERT_TRUE(dragMouse(target.x, target.y));
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_EQ(before.left + 40, after.left);
    EXPECT_EQ(before.top + 30, after.top);
    EXPECT_EQ(windowWidth, after.right - after.left);
    EXPECT_EQ(windowHeight, after.bottom - after.top);
    std::vector<RecordedMessage> presses = recordedOf(&installedMessages, WM_NCLBUTTONDOWN);
    ASSERT_EQ(1u, presses.size());
    EXPECT_EQ(static_cast<WPARAM>(HTCAPTION), presses[0].wParam);
    parkMouse();
}

// Each resize reshapes the window to the rounded rectangle of its new size.
TEST_F(WindowInput, dragOnTheBandResizesTheWindow) {
    HWND window = createInstalledWindow(windowWidth, windowHeight, WS_VISIBLE);
    runMoveLoops = true;
    ASSERT_TRUE(hover(window, 296, 100));
    POINT target = onScreen(window, 296 - 60, 100);
    ASSERT_TRUE(dragMouse(target.x, target.y));
    SIZE size = getWindowSize(window);
    EXPECT_EQ(windowWidth - 60, size.cx);
    EXPECT_EQ(windowHeight, size.cy);
    EXPECT_TRUE(regionMatchesSize(window, size.cx, size.cy));

    ASSERT_TRUE(hover(window, size.cx - 5, size.cy - 5));
    target = onScreen(window, size.cx - 5 - 20, size.cy - 5 - 40);
    ASSERT_TRUE(dragMouse(target.x, target.y));
    size = getWindowSize(window);
    EXPECT_EQ(windowWidth - 60 - 20, size.cx);
    EXPECT_EQ(windowHeight - 40, size.cy);
    EXPECT_TRUE(regionMatchesSize(window, size.cx, size.cy));

    std::vector<RecordedMessage> presses = recordedOf(&installedMessages, WM_NCLBUTTONDOWN);
    ASSERT_EQ(2u, presses.size());
    EXPECT_EQ(static_cast<WPARAM>(HTRIGHT), presses[0].wParam);
    EXPECT_EQ(static_cast<WPARAM>(HTBOTTOMRIGHT), presses[1].wParam);
    parkMouse();
}

// Child windows, which Wine makes far faster than top-level ones, take the
// same path through the procedure.
TEST_F(WindowLifetime, thousandWindowsLeaveNothingBehind) {
    HWND host = createHostWindow(nullptr, origin.x, origin.y, windowWidth, windowHeight);
    ASSERT_NE(nullptr, host);
    windows.push_back(host);
    Leftovers left = measureLeftovers([host]() {
        HWND window = createChild(VELMO_WINDOW_CLASS, "", host, 0, 0, 0, windowWidth, windowHeight);
        SendMessageA(window, WM_USER, reinterpret_cast<WPARAM>(otherProcedure), 0);
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
        SetWindowPos(window, nullptr, 0, 0, windowWidth / 2, windowHeight / 2, SWP_NOMOVE | SWP_NOZORDER);
        DestroyWindow(window);
        otherMessages.messages.clear();
    });
    EXPECT_LE(left.gdiObjects, allowedGdiGrowth);
    EXPECT_LE(left.heapBytes, allowedHeapGrowth);
}

}  // namespace
