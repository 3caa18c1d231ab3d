// The tab menu as its host, the screen and the user see it.
#include <gtest/gtest.h>

#include "keyboard.h"
#include "mouse.h"
#include "pixels.h"
#include "resources.h"
#include "hostedtest.h"
#include "testhost.h"
#include "velmo.h"
#include "velmoclasses.h"

namespace {

const int hostWidth = 320;
const int hostHeight = 200;
const int menuTop = 20;
const int menuWidth = 300;
const int menuHeight = 34;
const int menuId = 9;
const int sentinel = -7;

class TabHost : public HostedTest {
protected:
    TabHost() : HostedTest(tabArea, hostWidth, hostHeight) {}

    HWND createMenu(int id, DWORD style = 0) {
        return createChild(VELMO_TAB_MENU_CLASS, "", host, id, 0, menuTop, menuWidth, menuHeight, style);
    }

    // A menu of the tabs A, B and C, whose hit areas are x 10-80, 90-160 and 170-240.
    HWND createMenuOfThree(DWORD style = 0) {
        HWND menu = createMenu(menuId, style);
        addTabs(menu, {"A", "B", "C"});
        return menu;
    }

    void addTabs(HWND menu, std::initializer_list<const char*> captions) {
        for (const char* caption : captions) {
            EXPECT_EQ(0, SendMessageA(menu, LB_ADDSTRING, 0, (LPARAM)caption));
        }
    }

    // The menu's answer to LB_GETSELITEMS with room for every tab.
    std::vector<int> getPressed(HWND menu) {
        std::vector<int> positions(8, sentinel);
        EXPECT_EQ(0, SendMessageA(menu, LB_GETSELITEMS, 0, (LPARAM)positions.data()));
        positions.resize(SendMessageA(menu, LB_GETSELCOUNT, 0, 0));
        return positions;
    }

    void pressAt(HWND menu, int x) {
        SendMessageA(menu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 12));
    }

    void releaseAt(HWND menu, int x) {
        SendMessageA(menu, WM_LBUTTONUP, 0, MAKELPARAM(x, 12));
    }

    RecordedMessage tabNotification(WORD id) {
        return {host, WM_COMMAND, MAKEWPARAM(id, 1), 0};
    }

    void sendKey(HWND menu, WPARAM key) {
        SendMessageA(menu, WM_KEYDOWN, key, 0);
        SendMessageA(menu, WM_KEYUP, key, 0);
    }
};

using TabMessages = TabHost;
using TabPixels = TabHost;
using TabInput = TabHost;
using TabLifetime = TabHost;
using TabKeyboard = TabHost;

TEST_F(TabMessages, newMenuHasNoPressedTabs) {
    HWND menu = createMenu(menuId);
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(0, SendMessageA(menu, LB_GETSELCOUNT, 0, 0));
    std::vector<int> positions(4, sentinel);
    EXPECT_EQ(0, SendMessageA(menu, LB_GETSELITEMS, 4, (LPARAM)positions.data()));
    EXPECT_EQ(std::vector<int>(4, sentinel), positions);
    EXPECT_EQ(0, SendMessageA(menu, LB_GETCOUNT, 0, 0));
}

TEST_F(TabMessages, hitAreasIncludeBothEndsAndSkipTheGaps) {
    HWND menu = createMenuOfThree();
    pressAt(menu, 9);
    EXPECT_EQ(std::vector<int>{}, getPressed(menu));
    pressAt(menu, 80);
    EXPECT_EQ(std::vector<int>{0}, getPressed(menu));
    for (int x = 81; x <= 89; x++) {
        pressAt(menu, x);
    }
    pressAt(menu, 241);
    EXPECT_EQ(std::vector<int>{0}, getPressed(menu));
    pressAt(menu, 90);
    pressAt(menu, 240);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), getPressed(menu));
}

TEST_F(TabMessages, pressedTabsKeepTheirStateWhenOthersGo) {
    HWND menu = createMenuOfThree();
    pressAt(menu, 10);
    pressAt(menu, 200);
    EXPECT_EQ((std::vector<int>{0, 2}), getPressed(menu));

    ValidateRect(menu, nullptr);
    pressAt(menu, 40);
    EXPECT_FALSE(GetUpdateRect(menu, nullptr, FALSE));

    EXPECT_EQ(0, SendMessageA(menu, LB_DELETESTRING, 0, 0));
    EXPECT_EQ(std::vector<int>{1}, getPressed(menu));
    pressAt(menu, 10);
    EXPECT_EQ((std::vector<int>{0, 1}), getPressed(menu));
    SendMessageA(menu, LB_DELETESTRING, 5, 0);
    EXPECT_EQ((std::vector<int>{0, 1}), getPressed(menu));
}

TEST_F(TabMessages, removingTheOnlyTabAtAnyPositionEmptiesTheBar) {
    HWND menu = createMenu(menuId);
    addTabs(menu, {"Only"});
    pressAt(menu, 10);
    SendMessageA(menu, LB_DELETESTRING, 7, 0);
    EXPECT_EQ(0, SendMessageA(menu, LB_GETSELCOUNT, 0, 0));
    pressAt(menu, 10);
    EXPECT_EQ(0, SendMessageA(menu, LB_GETSELCOUNT, 0, 0));
    addTabs(menu, {"Again"});
    pressAt(menu, 10);
    EXPECT_EQ(std::vector<int>{0}, getPressed(menu));
}

TEST_F(TabMessages, tabWithoutCaptionTakesItsSlot) {
    HWND menu = createMenu(menuId);
    EXPECT_EQ(0, SendMessageA(menu, LB_ADDSTRING, 0, 0));
    addTabs(menu, {"B"});
    pressAt(menu, 90);
    EXPECT_EQ(std::vector<int>{1}, getPressed(menu));
    pressAt(menu, 10);
    repaintNow(menu);
    EXPECT_EQ((std::vector<int>{0, 1}), getPressed(menu));
}

// Captions read back in the caller's width; an insert lands at its position,
// a null caption making a tab without one; a reset empties the bar.
TEST_F(TabMessages, captionsReadBackInsertAndReset) {
    HWND menu = createMenuOfThree();
    EXPECT_EQ(1, SendMessageW(menu, LB_INSERTSTRING, 1, (LPARAM)L"\u03a9mega"));
    EXPECT_EQ(0, SendMessageA(menu, LB_INSERTSTRING, 0, 0));
    EXPECT_EQ(LB_ERR, SendMessageA(menu, LB_INSERTSTRING, 6, (LPARAM)"Far"));
    const wchar_t* captions[] = {L"", L"A", L"\u03a9mega", L"B", L"C"};
    ASSERT_EQ(5, SendMessageA(menu, LB_GETCOUNT, 0, 0));
    for (int position = 0; position < 5; position++) {
        wchar_t caption[16] = L"#";
        EXPECT_EQ((LRESULT)wcslen(captions[position]), SendMessageW(menu, LB_GETTEXT, position, (LPARAM)caption));
        EXPECT_STREQ(captions[position], caption);
    }
    char ansi[16] = "";
    EXPECT_EQ(1, SendMessageA(menu, LB_GETTEXT, 3, (LPARAM)ansi));
    EXPECT_EQ(LB_ERR, SendMessageA(menu, LB_GETTEXTLEN, 5, 0));
    EXPECT_EQ(0, SendMessageA(menu, LB_RESETCONTENT, 0, 0));
    EXPECT_EQ(0, SendMessageA(menu, LB_GETCOUNT, 0, 0));
}

// The current page by message: each step's answer, the pressed tabs after
// it and the current one; no step notifies the parent.
TEST_F(TabMessages, currentPageFollowsSelectionMessages) {
    HWND menu = createMenuOfThree();
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT answer;
        std::vector<int> pressed;
        LRESULT current;
    } steps[] = {
        {LB_GETCURSEL, 0, 0, LB_ERR, {}, LB_ERR},       {LB_SETSEL, TRUE, 2, 0, {2}, 2},
        {LB_SETSEL, TRUE, -1, 0, {0, 1, 2}, 2},         {LB_GETSEL, 1, 0, 1, {0, 1, 2}, 2},
        {LB_SETSEL, FALSE, 2, 0, {0, 1}, LB_ERR},       {LB_GETSEL, 2, 0, 0, {0, 1}, LB_ERR},
        {LB_SETSEL, TRUE, 3, LB_ERR, {0, 1}, LB_ERR},   {LB_GETSEL, 3, 0, LB_ERR, {0, 1}, LB_ERR},
        {LB_SETCURSEL, 1, 0, 1, {1}, 1},                {LB_SETCURSEL, 5, 0, LB_ERR, {1}, 1},
        {LB_SETSEL, FALSE, -1, 0, {}, LB_ERR},          {LB_SETCURSEL, 0, 0, 0, {0}, 0},
        {LB_SETCURSEL, WPARAM(-1), 0, LB_ERR, {}, LB_ERR},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << step.message << " " << step.wParam << " " << step.lParam);
        EXPECT_EQ(step.answer, SendMessageA(menu, step.message, step.wParam, step.lParam));
        EXPECT_EQ(step.pressed, getPressed(menu));
        EXPECT_EQ(step.current, SendMessageA(menu, LB_GETCURSEL, 0, 0));
    }
    pressAt(menu, 100);
    EXPECT_EQ(1, SendMessageA(menu, LB_GETCURSEL, 0, 0));
    EXPECT_TRUE(recorder.messages.empty());
}

// VELMO_TAB_MENU_SINGLE: a press releases the other tabs and notifies as before.
TEST_F(TabMessages, singleMenuKeepsOnePressedTab) {
    HWND menu = createMenuOfThree(VELMO_TAB_MENU_SINGLE | WS_TABSTOP);
    pressAt(menu, 20);
    pressAt(menu, 200);
    releaseAt(menu, 200);
    EXPECT_EQ(std::vector<int>{2}, getPressed(menu));
    sendKey(menu, VK_HOME);
    sendKey(menu, VK_RETURN);
    EXPECT_EQ(std::vector<int>{0}, getPressed(menu));
    EXPECT_EQ(2u, recorder.messages.size());
}

TEST_F(TabMessages, pressedPositionsStopAtTheRoomGiven) {
    HWND menu = createMenuOfThree();
    pressAt(menu, 10);
    pressAt(menu, 90);
    pressAt(menu, 170);
    std::vector<int> positions(4, sentinel);
    EXPECT_EQ(0, SendMessageA(menu, LB_GETSELITEMS, 2, (LPARAM)positions.data()));
    EXPECT_EQ((std::vector<int>{0, 1, sentinel, sentinel}), positions);
    EXPECT_EQ(0, SendMessageA(menu, LB_GETSELITEMS, 0, (LPARAM)positions.data()));
    EXPECT_EQ((std::vector<int>{0, 1, 2, sentinel}), positions);
}

TEST_F(TabMessages, releaseOverATabNotifiesWithCodeOne) {
    HWND menu = createMenuOfThree();
    releaseAt(menu, 100);
    EXPECT_EQ(std::vector<RecordedMessage>{tabNotification(menuId)}, recorder.messages);
    EXPECT_EQ(0, SendMessageA(menu, LB_GETSELCOUNT, 0, 0));

    recorder.messages.clear();
    pressAt(menu, 100);
    releaseAt(menu, 85);
    releaseAt(menu, 250);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(std::vector<int>{1}, getPressed(menu));
}

TEST_F(TabMessages, identifierIsCutToItsLowWord) {
    HWND menu = createMenu(65537);
    addTabs(menu, {"A"});
    releaseAt(menu, 20);
    EXPECT_EQ(std::vector<RecordedMessage>{tabNotification(1)}, recorder.messages);
}

TEST_F(TabMessages, doubleClickOnATabReportsTwoReleases) {
    HWND menu = createMenuOfThree();
    pressAt(menu, 20);
    releaseAt(menu, 20);
    SendMessageA(menu, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 12));
    releaseAt(menu, 20);
    EXPECT_EQ((std::vector<RecordedMessage>{tabNotification(menuId), tabNotification(menuId)}), recorder.messages);
}

// The focused tab starts at the first and stops at both ends; Enter presses
// it and notifies.
TEST_F(TabMessages, keysMoveAndPressTheFocusedTab) {
    HWND menu = createMenuOfThree(WS_TABSTOP);
    EXPECT_EQ(DLGC_WANTARROWS, SendMessageA(menu, WM_GETDLGCODE, VK_LEFT, 0));
    const struct {
        std::vector<WPARAM> moves;
        std::vector<int> pressed;
    } steps[] = {
        {{}, {0}},
        {{VK_END}, {0, 2}},
        {{VK_RIGHT, VK_LEFT}, {0, 1, 2}},
    };
    for (const auto& step : steps) {
        for (WPARAM key : step.moves) {
            sendKey(menu, key);
        }
        sendKey(menu, VK_RETURN);
        EXPECT_EQ(step.pressed, getPressed(menu));
    }
    EXPECT_EQ(std::vector<RecordedMessage>(3, tabNotification(menuId)), recorder.messages);

    // B, focused, goes after A: C takes its place, and keeps the focus when D comes.
    SendMessageA(menu, LB_DELETESTRING, 0, 0);
    SendMessageA(menu, LB_DELETESTRING, 0, 0);
    addTabs(menu, {"D"});
    sendKey(menu, VK_RETURN);
    EXPECT_EQ(std::vector<int>{0}, getPressed(menu));
    recorder.messages.clear();
    sendKey(menu, VK_HOME);
    sendKey(menu, VK_LEFT);
    sendKey(menu, VK_SPACE);
    EXPECT_EQ(std::vector<RecordedMessage>{tabNotification(menuId)}, recorder.messages);
}

// The focus stays on its tab when a tab before it goes.
TEST_F(TabMessages, focusedTabKeepsTheFocusWhenAnEarlierTabGoes) {
    HWND menu = createMenuOfThree(WS_TABSTOP);
    sendKey(menu, VK_RIGHT);
    SendMessageA(menu, LB_DELETESTRING, 0, 0);
    sendKey(menu, VK_RETURN);
    EXPECT_EQ(std::vector<int>{0}, getPressed(menu));
}

TEST_F(TabMessages, keysDoNothingWithoutTabStop) {
    HWND menu = createMenuOfThree();
    for (WPARAM key : {VK_RIGHT, VK_END, VK_SPACE, VK_RETURN}) {
        sendKey(menu, key);
        EXPECT_EQ(0, SendMessageA(menu, WM_GETDLGCODE, key, 0));
    }
    EXPECT_EQ(0, SendMessageA(menu, LB_GETSELCOUNT, 0, 0));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(TabMessages, cursorFollowsTheTabsFromTheNextMoveOn) {
    HWND menu = createMenuOfThree();
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SendMessageA(menu, WM_MOUSEMOVE, 0, MAKELPARAM(30, 5));
    SendMessageA(menu, WM_SETCURSOR, (WPARAM)menu, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(hand, GetCursor());
    SendMessageA(menu, WM_MOUSEMOVE, 0, MAKELPARAM(85, 5));
    SendMessageA(menu, WM_SETCURSOR, (WPARAM)menu, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(arrow, GetCursor());
    SendMessageA(menu, WM_MOUSEMOVE, 0, MAKELPARAM(280, 5));
    SendMessageA(menu, WM_SETCURSOR, (WPARAM)menu, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(arrow, GetCursor());
}

TEST_F(TabMessages, heightsUpTo34AreKeptAndTallerOnesClampedRaisingTheMenu) {
    HWND sibling = createMenu(menuId + 1);
    HWND menu = createMenu(menuId);
    expectHeightClampedTo(menuHeight, menu, sibling, 400);
}

TEST_F(TabPixels, barAndPressedTabsStandAtTenPlusEightyK) {
    HWND menu = createMenu(menuId);
    SendMessageA(menu, LB_ADDSTRING, 0, 0);
    SendMessageA(menu, LB_ADDSTRING, 0, 0);
    SendMessageA(menu, LB_ADDSTRING, 0, 0);
    pressAt(menu, 100);
    repaintNow(host);
    Pixels shown = captureWindow(menu);
    Strip bar = loadStrip("bitmap/tableft.bmp", "bitmap/tabmiddle.bmp", "bitmap/tabright.bmp");
    Strip pressed =
        loadStrip("bitmap/tabpressedleft.bmp", "bitmap/tabpressedmiddle.bmp", "bitmap/tabpressedright.bmp");
    ASSERT_EQ(menuHeight, bar.left.height);
    ASSERT_EQ(10, pressed.left.width);
    ASSERT_EQ(10, pressed.right.width);

    // The bar's strip, but for the pressed tab's place.
    int aroundPressed = countStripDifferences(&shown, 0, menuWidth, menuHeight, &bar) -
                        countMiddleDifferences(&shown, 90, 160, menuHeight, &bar.middle);
    EXPECT_EQ(0, aroundPressed);
    EXPECT_EQ(0, countStripDifferences(&shown, 90, 70, menuHeight, &pressed));
}

TEST_F(TabPixels, captionsStayInTheirBoxes) {
    HWND bare = createMenu(menuId);
    SendMessageA(bare, LB_ADDSTRING, 0, 0);
    SendMessageA(bare, LB_ADDSTRING, 0, 0);
    SendMessageA(bare, LB_ADDSTRING, 0, 0);
    repaintNow(host);
    Pixels withoutText = captureWindow(bare);
    DestroyWindow(bare);
    HWND menu = createMenu(menuId);
    addTabs(menu, {"One", "Two", "Three"});
    repaintNow(host);
    Pixels withText = captureWindow(menu);
    RECT everywhere = {0, 0, menuWidth, menuHeight};
    int inBoxes = 0;
    for (int k = 0; k < 3; k++) {
        RECT box = getTabBoxAt96(k);
        int inBox = countDifferencesInside(&withText, &withoutText, box);
        EXPECT_GT(inBox, 0) << "tab " << k;
        inBoxes += inBox;
    }
    EXPECT_EQ(inBoxes, countDifferencesInside(&withText, &withoutText, everywhere));
}

TEST_F(TabInput, handOverTabsArrowInGapsAndClicksReported) {
    HWND menu = createMenuOfThree();
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    auto moveTo = [this](int x) { return moveMouse(origin.x + x, origin.y + menuTop + 15); };
    ASSERT_TRUE(moveTo(30));
    ASSERT_TRUE(moveTo(40));
    EXPECT_EQ(hand, GetCursor());
    ASSERT_TRUE(moveTo(84));
    ASSERT_TRUE(moveTo(86));
    EXPECT_EQ(arrow, GetCursor());
    ASSERT_TRUE(moveTo(120));
    ASSERT_TRUE(moveTo(125));
    EXPECT_EQ(hand, GetCursor());
    ASSERT_TRUE(clickMouse());
    EXPECT_EQ(std::vector<RecordedMessage>{tabNotification(menuId)}, recorder.messages);
    EXPECT_EQ(std::vector<int>{1}, getPressed(menu));

    recorder.messages.clear();
    ASSERT_TRUE(moveTo(200));
    ASSERT_TRUE(doubleClickMouse());
    EXPECT_EQ((std::vector<RecordedMessage>{tabNotification(menuId), tabNotification(menuId)}), recorder.messages);
    EXPECT_EQ((std::vector<int>{1, 2}), getPressed(menu));
    parkMouse();
}

// A click focuses the menu and the clicked tab; Right then Space presses the
// next tab as a press and release over it would.
TEST_F(TabKeyboard, rightThenSpacePressesTheNextTab) {
    ASSERT_TRUE(activateWindow(host));
    HWND menu = createMenuOfThree(WS_TABSTOP);
    ASSERT_TRUE(moveMouse(origin.x + 20, origin.y + menuTop + 12));
    ASSERT_TRUE(clickMouse());
    parkMouse();
    ASSERT_EQ(menu, GetFocus());
    ASSERT_TRUE(pressKey(host, "Right", VK_RIGHT));
    ASSERT_TRUE(pressKey(host, "space", VK_SPACE));
    EXPECT_EQ((std::vector<RecordedMessage>{tabNotification(menuId), tabNotification(menuId)}), recorder.messages);
    EXPECT_EQ((std::vector<int>{0, 1}), getPressed(menu));
}

TEST_F(TabLifetime, thousandMenusFreeTheirTabs) {
    Leftovers left = measureLeftovers([this]() {
        HWND menu = CreateWindowExA(0, VELMO_TAB_MENU_CLASS, "", WS_CHILD, 0, menuTop, menuWidth, menuHeight, host,
                                    (HMENU)menuId, GetModuleHandleA(nullptr), nullptr);
        addTabs(menu, {"First", "Second", "Third"});
        pressAt(menu, 100);
        SendMessageA(menu, WM_PAINT, 0, 0);
        DestroyWindow(menu);
    });
    EXPECT_LE(left.gdiObjects, allowedGdiGrowth);
    EXPECT_LE(left.heapBytes, allowedHeapGrowth);
}

}  // namespace
