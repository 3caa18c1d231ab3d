// The list control as its host and the screen see it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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
