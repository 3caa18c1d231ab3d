// The list control as its host and the screen see it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mouse.h"
#include "pixels.h"
#include "resources.h"
#include "hostedtest.h"
#include "testhost.h"
#include "velmo.h"
#include "velmoclasses.h"

namespace {

const int hostWidth = 300;
const int hostHeight = 200;
const int listLeft = 20;
const int listTop = 10;
const int listWidth = 200;
const int listHeight = 120;
const int markerLeft = 10;
const int textLeft = 35;
const int textRight = 85;
const int textHeight = 15;

RECT rowTextBox(int row) {
    int top = getRowBoxAt96(row).top;
    return {textLeft, top, textRight, top + textHeight};
}

class ListHost : public HostedTest {
protected:
    ListHost() : HostedTest(listArea, hostWidth, hostHeight) {}

    void setUpAfterHost() override {
        list = createChild(VELMO_LIST_CLASS, "", host, 0, listLeft, listTop, listWidth, listHeight);
        ASSERT_NE(nullptr, list);
        recorder.messages.clear();
    }

    void addRows(const std::vector<const char*>& texts) {
        for (const char* text : texts) {
            EXPECT_EQ(0, SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
        }
    }

    // The list made again with this style and rows of its own text.
    void remakeList(DWORD style, int rows) {
        DestroyWindow(list);
        list = createChild(VELMO_LIST_CLASS, "", host, 0, listLeft, listTop, listWidth, listHeight, style);
        for (int row = 0; row < rows; row++) {
            std::string text = "Row " + std::to_string(row);
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }

    // The rows as the list holds them, through the head in its user-data slot.
    std::vector<std::string> getRows() {
        std::vector<std::string> rows;
        auto head = reinterpret_cast<ListItem*>(GetWindowLongPtrA(list, GWLP_USERDATA));
        for (ListItem* item = head; item != nullptr; item = item->next) {
            if (item->data != nullptr) {
                rows.push_back(static_cast<const char*>(item->data));
            }
        }
        return rows;
    }

    HWND list;
};

using ListMessages = ListHost;
using ListScrolling = ListHost;
using ListPixels = ListHost;
using ListLifetime = ListHost;

TEST_F(ListMessages, rowsKeepTheirOrderAndOwnCopies) {
    char text[] = "Same";
    addRows({text, text, "Other"});
    text[0] = 'X';
    EXPECT_EQ((std::vector<std::string>{"Same", "Same", "Other"}), getRows());
    auto head = reinterpret_cast<ListItem*>(GetWindowLongPtrA(list, GWLP_USERDATA));
    EXPECT_NE(head->data, head->next->data);
}

// Rows hold their text in the process's code page whichever width it came
// in, also when the host gave the list owner-draw style bits, which stop the
// system converting a list-box string message for a window without
// LBS_HASSTRINGS.
TEST_F(ListMessages, rowsFromAnsiAndWideSendersHoldCodePageText) {
    DestroyWindow(list);
    list = createChild(VELMO_LIST_CLASS, "", host, 0, listLeft, listTop, listWidth, listHeight, LBS_OWNERDRAWFIXED);
    addRows({"Caf\xe9"});
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Caf\u00e9"));
    EXPECT_EQ((std::vector<std::string>{"Caf\xe9", "Caf\xe9"}), getRows());
}

TEST_F(ListMessages, nullTextAddsNothing) {
    addRows({"A"});
    EXPECT_EQ(0, SendMessageA(list, LB_ADDSTRING, 0, 0));
    EXPECT_EQ(std::vector<std::string>{"A"}, getRows());
}

TEST_F(ListMessages, removalFollowsTheListRule) {
    struct Case {
        std::vector<const char*> rows;
        int position;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {{"A", "B", "C"}, 1, {"A", "C"}}, {{"A", "B", "C"}, 0, {"B", "C"}},
        {{"A", "B", "C"}, 5, {"A", "B", "C"}}, {{"A", "B", "C"}, -1, {"A", "B", "C"}},
        {{"A"}, 3, {}}, {{"A"}, -2, {}}, {{}, 0, {}},
    };
    for (const Case& removal : cases) {
        while (!getRows().empty()) {
            SendMessageA(list, LB_DELETESTRING, 0, 0);
        }
        addRows(removal.rows);
        EXPECT_EQ(0, SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(removal.position), 0));
        EXPECT_EQ(removal.left, getRows()) << "position " << removal.position;
    }
}

// Rows read back in the caller's width, LB_ERR out of range or into a null
// buffer. Without WS_VSCROLL nothing scrolls.
TEST_F(ListMessages, rowsReadBackInTheCallersWidth) {
    addRows({"Caf\xe9"});
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"\u03a9\U0001F600"));
    char ansi[16] = "";
    EXPECT_EQ(4, SendMessageA(list, LB_GETTEXTLEN, 0, 0));
    EXPECT_EQ(4, SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(ansi)));
    EXPECT_STREQ("Caf\xe9", ansi);
    wchar_t wide[16] = L"";
    EXPECT_EQ(3, SendMessageW(list, LB_GETTEXTLEN, 1, 0));
    EXPECT_EQ(3, SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(wide)));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(ansi)));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETTEXTLEN, WPARAM(-1), 0));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETTEXT, 0, 0));
    EXPECT_STREQ(L"\u03a9\U0001F600", wide);
    EXPECT_EQ(0, SendMessageA(list, LB_SETTOPINDEX, 1, 0));
    EXPECT_EQ(0, SendMessageA(list, LB_GETTOPINDEX, 0, 0));
}

// Under Wine an ANSI sender's LB_GETTEXT passes through a buffer of 512
// UTF-16 units of the system's own; its LB_GETTEXTLEN holds at any length.
TEST_F(ListMessages, ansiReadBackHoldsRowsOf511Units) {
    std::string longest(511, 'r');
    addRows({longest.c_str(), std::string(3000, 'r').c_str()});
    std::vector<char> buffer(600, '#');
    EXPECT_EQ(511, SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer.data())));
    EXPECT_EQ(longest, buffer.data());
    EXPECT_EQ(3000, SendMessageA(list, LB_GETTEXTLEN, 1, 0));
}

// An insert lands at its position or answers LB_ERR, changing nothing.
TEST_F(ListMessages, insertsLandAtTheirPositionAndResetEmpties) {
    const struct {
        WPARAM position;
        const char* text;
        LRESULT answer;
        std::vector<std::string> rows;
    } cases[] = {{0, "X", 0, {"X", "A", "B"}}, {WPARAM(-1), "X", 2, {"A", "B", "X"}}, {3, "X", LB_ERR, {"A", "B"}},
                 {0, nullptr, LB_ERR, {"A", "B"}}};
    for (const auto& insert : cases) {
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        addRows({"A", "B"});
        EXPECT_EQ(insert.answer, SendMessageA(list, LB_INSERTSTRING, insert.position, (LPARAM)insert.text));
        EXPECT_EQ(insert.rows, getRows());
        EXPECT_EQ(static_cast<LRESULT>(insert.rows.size()), SendMessageA(list, LB_GETCOUNT, 0, 0));
    }
}

// The selection messages are the tab menu's, not the list's.
TEST_F(ListMessages, selectionMessagesGoToDefaultHandling) {
    addRows({"A", "B"});
    int selected[2] = {-7, -7};
    EXPECT_EQ(0, SendMessageA(list, LB_GETSELCOUNT, 0, 0));
    EXPECT_EQ(0, SendMessageA(list, LB_GETSELITEMS, 2, reinterpret_cast<LPARAM>(selected)));
    EXPECT_EQ(-7, selected[0]);
    EXPECT_EQ(-7, selected[1]);
}

TEST_F(ListMessages, clicksAndKeysSendNothing) {
    addRows({"A"});
    const UINT input[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_KEYDOWN, WM_KEYUP};
    for (UINT message : input) {
        SendMessageA(list, message, 0, MAKELPARAM(40, 20));
    }
    EXPECT_TRUE(recorder.messages.empty());
}

// Twenty rows in a list that shows four whole: the top row answers every way
// of scrolling, clamped to 0 and 16, and the system scroll bar follows it.
TEST_F(ListScrolling, topRowFollowsTheBarTheWheelAndMessages) {
    UINT lines = 0;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    ASSERT_EQ(3u, lines);
    remakeList(WS_VSCROLL, 20);
    const struct {
        UINT message;
        WPARAM wParam;
        LRESULT answer;
        int top;
    } steps[] = {
        {LB_SETTOPINDEX, 100, 0, 16}, {LB_SETTOPINDEX, WPARAM(-1), LB_ERR, 16}, {WM_VSCROLL, SB_LINEUP, 0, 15},
        {WM_VSCROLL, SB_PAGEUP, 0, 11}, {WM_VSCROLL, SB_TOP, 0, 0}, {WM_VSCROLL, SB_LINEDOWN, 0, 1},
        {WM_VSCROLL, SB_PAGEDOWN, 0, 5}, {WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 9), 0, 9},
        {WM_VSCROLL, SB_BOTTOM, 0, 16}, {WM_MOUSEWHEEL, MAKEWPARAM(0, 40), 0, 15},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, 20), 0, 15}, {WM_MOUSEWHEEL, MAKEWPARAM(0, 20), 0, 14},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, 32767), 0, 0}, {WM_MOUSEWHEEL, MAKEWPARAM(0, -32767), 0, 16},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << step.message << " " << step.wParam);
        EXPECT_EQ(step.answer, SendMessageA(list, step.message, step.wParam, 0));
        EXPECT_EQ(step.top, SendMessageA(list, LB_GETTOPINDEX, 0, 0));
        SCROLLINFO bar = {sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
        ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &bar));
        EXPECT_EQ((std::vector<int>{0, 19, 4, step.top}),
                  (std::vector<int>{bar.nMin, bar.nMax, static_cast<int>(bar.nPage), bar.nPos}));
    }
}

// Wheel notches from the X server scroll three rows each.
TEST_F(ListScrolling, realWheelScrollsThreeRowsANotch) {
    remakeList(WS_VSCROLL, 20);
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    SetFocus(list);
    POINT centre = {listWidth / 2, listHeight / 2};
    ClientToScreen(list, &centre);
    ASSERT_TRUE(moveMouse(centre.x, centre.y));
    ASSERT_TRUE(turnWheel(-2));
    EXPECT_EQ(6, SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    ASSERT_TRUE(turnWheel(1));
    EXPECT_EQ(3, SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    parkMouse();
}

TEST_F(ListPixels, newListShowsOnlyItsBackground) {
    repaintNow(list);
    Pixels shown = captureWindow(list);
    RECT whole = {0, 0, listWidth, listHeight};
    EXPECT_EQ(0, countPixelsNotOf(&shown, whole, makePixel(255, 255, 255)));
}

// Markers at their own size at (10, 15 + 25k), text only inside its box.
TEST_F(ListPixels, rowsStandAtFixedPlaces) {
    Pixels marker = loadBitmapPixels("bitmap/list.bmp");
    ASSERT_GT(marker.width, 0);
    repaintNow(list);
    Pixels empty = captureWindow(list);
    addRows({"A", "Bb", "Ccc"});
    UpdateWindow(list);
    Pixels shown = captureWindow(list);
    RECT drawn = {0, 0, 0, 0};
    for (int row = 0; row < 3; row++) {
        int top = getRowBoxAt96(row).top;
        EXPECT_EQ(0, countDifferences(&shown, markerLeft, top, &marker, 0, 0, marker.width, marker.height))
            << "row " << row;
        RECT box = rowTextBox(row);
        EXPECT_GT(countDifferencesInside(&shown, &empty, box), 0) << "row " << row;
        RECT markerBox = {markerLeft, top, markerLeft + marker.width, top + marker.height};
        UnionRect(&drawn, &drawn, &box);
        UnionRect(&drawn, &drawn, &markerBox);
    }
    EXPECT_EQ(0, countDifferencesOutside(&shown, &empty, drawn));
}

TEST_F(ListPixels, rowTextIsCutAtTheBoxEdge) {
    repaintNow(list);
    Pixels empty = captureWindow(list);
    addRows({"A row text far wider than its fifty pixel box"});
    UpdateWindow(list);
    Pixels shown = captureWindow(list);
    RECT beyond = {textRight, 0, listWidth, listHeight};
    EXPECT_EQ(0, countDifferencesInside(&shown, &empty, beyond));
}

// Scrolled by three rows, the list looks as one whose first rows never were.
TEST_F(ListPixels, scrolledRowsStandWhereTheFirstRowsStood) {
    remakeList(WS_VSCROLL, 8);
    SendMessageA(list, LB_SETTOPINDEX, 3, 0);
    repaintNow(list);
    Pixels scrolled = captureWindow(list);
    for (int removed = 0; removed < 3; removed++) {
        SendMessageA(list, LB_DELETESTRING, 0, 0);
    }
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    repaintNow(list);
    EXPECT_EQ(captureWindow(list).data, scrolled.data);
}

// VELMO_LIST_WIDE_ROWS: the text runs past x = 85 up to 10 pixels before the
// right edge.
TEST_F(ListPixels, wideRowsEndTenPixelsBeforeTheEdge) {
    remakeList(VELMO_LIST_WIDE_ROWS, 0);
    repaintNow(list);
    Pixels empty = captureWindow(list);
    addRows({"A row text far wider than the whole list, which ends in an ellipsis"});
    UpdateWindow(list);
    Pixels shown = captureWindow(list);
    EXPECT_GT(countDifferencesInside(&shown, &empty, {textRight, 0, listWidth - 10, listHeight}), 0);
    EXPECT_EQ(0, countDifferencesInside(&shown, &empty, {listWidth - 10, 0, listWidth, listHeight}));
}

// The list passes over rows outside the update rectangle; the rows that a
// band cuts through, at its top and at its bottom, are still drawn in it.
TEST_F(ListPixels, partialRepaintRedrawsTheRowsItCuts) {
    repaintNow(list);
    addRows({"Aaa", "Bbb", "Ccc", "Ddd"});
    UpdateWindow(list);
    Pixels full = captureWindow(list);
    RECT band = {0, getRowBoxAt96(1).top + 7, listWidth, getRowBoxAt96(2).top + 8};
    RedrawWindow(list, &band, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pixels shown = captureWindow(list);
    RECT whole = {0, 0, listWidth, listHeight};
    EXPECT_EQ(0, countDifferencesInside(&shown, &full, whole));
}

// Rows after a removed one move up, and the vacated last row is erased: the
// list looks as if the removed row had never been added.
TEST_F(ListPixels, removalLeavesNoStalePixels) {
    repaintNow(list);
    addRows({"B", "C"});
    UpdateWindow(list);
    Pixels withoutA = captureWindow(list);
    SendMessageA(list, LB_DELETESTRING, 0, 0);
    SendMessageA(list, LB_DELETESTRING, 0, 0);
    addRows({"A", "B", "C"});
    UpdateWindow(list);
    SendMessageA(list, LB_DELETESTRING, 0, 0);
    UpdateWindow(list);
    Pixels shown = captureWindow(list);
    RECT whole = {0, 0, listWidth, listHeight};
    EXPECT_EQ(0, countDifferencesInside(&shown, &withoutA, whole));
    RECT vacated = {0, getRowBoxAt96(2).top, listWidth, listHeight};
    EXPECT_EQ(0, countPixelsNotOf(&shown, vacated, makePixel(255, 255, 255)));
}

// A library loaded without its theme has no marker: the rows show their
// text and nothing where the marker would go. Run alone, so that the
// library loads here for the first time.
TEST(ListWithoutTheme, rowsShowTextAndNoMarker) {
    if (!runsInOwnProcess()) {
        return;
    }
    ASSERT_NE(nullptr, loadVelmoWithoutTheme());
    POINT origin = getAreaOrigin(listArea);
    HWND host = createHostWindow(nullptr, origin.x, origin.y, hostWidth, hostHeight);
    HWND list = createChild(VELMO_LIST_CLASS, "", host, 0, listLeft, listTop, listWidth, listHeight);
    ASSERT_NE(nullptr, list);
    repaintNow(list);
    Pixels empty = captureWindow(list);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Row"));
    UpdateWindow(list);
    Pixels shown = captureWindow(list);
    RECT markerColumn = {0, 0, textLeft, listHeight};
    EXPECT_EQ(0, countDifferencesInside(&shown, &empty, markerColumn));
    EXPECT_GT(countDifferencesInside(&shown, &empty, rowTextBox(0)), 0);
    DestroyWindow(host);
}

// A monochrome marker is copied as the platform copies one into a colour
// DC: its black takes the row text's colour, its white the background colour.
TEST(ListWithMonochromeMarker, blackTakesTheTextColour) {
    if (!runsInOwnProcess()) {
        return;
    }
    const int markerSize = 12;
    const uint32_t white = makePixel(255, 255, 255);
    Pixels marker = {markerSize, markerSize, std::vector<uint32_t>(markerSize * markerSize, makePixel(0, 0, 0))};
    std::fill(marker.data.begin(), marker.data.begin() + markerSize * markerSize / 2, white);
    ASSERT_NE(nullptr, loadVelmoWithOneBitmap("list.bmp", &marker, saveMonochromeBitmapFile));
    POINT origin = getAreaOrigin(listArea);
    HWND host = createHostWindow(nullptr, origin.x, origin.y, hostWidth, hostHeight);
    HWND list = createChild(VELMO_LIST_CLASS, "", host, 0, listLeft, listTop, listWidth, listHeight);
    ASSERT_NE(nullptr, list);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Row"));
    repaintNow(list);
    Pixels shown = captureWindow(list);
    int top = getRowBoxAt96(0).top;
    RECT upper = {markerLeft, top, markerLeft + markerSize, top + markerSize / 2};
    RECT lower = {markerLeft, top + markerSize / 2, markerLeft + markerSize, top + markerSize};
    EXPECT_EQ(0, countPixelsNotOf(&shown, upper, white));
    EXPECT_EQ(0, countPixelsNotOf(&shown, lower, makePixel(80, 80, 80)));
    DestroyWindow(host);
}

// Ten thousand rows, the view following the last: the last ones read and draw.
TEST_F(ListLifetime, tenThousandRowsFollowTheEnd) {
    const int count = 10000;
    remakeList(WS_VSCROLL, count);
    EXPECT_EQ(count - 4, SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    char text[16] = "";
    EXPECT_EQ(8, SendMessageA(list, LB_GETTEXT, count - 1, reinterpret_cast<LPARAM>(text)));
    EXPECT_STREQ("Row 9999", text);
    repaintNow(list);
    EXPECT_EQ(count, SendMessageA(list, LB_GETCOUNT, 0, 0));
}

TEST_F(ListLifetime, thousandListsLeaveNothingBehind) {
    Leftovers left = measureLeftovers([this]() {
        HWND other = createChild(VELMO_LIST_CLASS, "", host, 0, listLeft, listTop, listWidth, listHeight);
        for (const char* text : {"One", "Two", "Three"}) {
            SendMessageA(other, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
        SendMessageA(other, LB_DELETESTRING, 1, 0);
        UpdateWindow(other);
        DestroyWindow(other);
    });
    EXPECT_LE(left.gdiObjects, allowedGdiGrowth);
    EXPECT_LE(left.heapBytes, allowedHeapGrowth);
}

}  // namespace
