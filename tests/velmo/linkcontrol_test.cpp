// The link as its parent, the screen and the user see it.
#include <gtest/gtest.h>

#include "keyboard.h"
#include "mouse.h"
#include "pixels.h"
#include "resources.h"
#include "hostedtest.h"
#include "testhost.h"
#include "velmo.h"

namespace {

const int hostWidth = 300;
const int hostHeight = 200;
const int linkLeftEdge = 20;
const int linkTop = 20;
const int linkWidth = 200;
const int linkHeight = 20;
const int linkId = 4;
const int textLeft = 15;
const uint32_t white = 0xFFFFFF;

class LinkHost : public HostedTest {
protected:
    LinkHost() : HostedTest(linkArea, hostWidth, hostHeight) {}

    void setUpAfterHost() override {
        icon = loadBitmapPixels("bitmap/link.bmp");
        ASSERT_GT(icon.width, 0);
    }

    HWND createLink(const char* caption, int height, DWORD style = 0) {
        return createChild(VELMO_LINK_CLASS, caption, host, linkId, linkLeftEdge, linkTop, linkWidth, height, style);
    }

    RecordedMessage click() {
        return {host, WM_COMMAND, linkId, 0};
    }

    Pixels icon;
};

using LinkMessages = LinkHost;
using LinkPixels = LinkHost;
using LinkInput = LinkHost;
using LinkLifetime = LinkHost;
using LinkKeyboard = LinkHost;

TEST_F(LinkMessages, releaseNotifiesAndPressShowsNothing) {
    HWND link = createLink("Link", linkHeight);
    ASSERT_NE(nullptr, link);
    repaintNow(link);
    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_FALSE(GetUpdateRect(link, nullptr, FALSE));
    EXPECT_TRUE(recorder.messages.empty());
    SendMessageA(link, WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(GetUpdateRect(link, nullptr, FALSE));
    EXPECT_EQ(std::vector<RecordedMessage>{click()}, recorder.messages);
}

TEST_F(LinkMessages, doubleClickReportsTwoClicks) {
    HWND link = createLink("Link", linkHeight);
    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(link, WM_LBUTTONUP, 0, 0);
    SendMessageA(link, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    SendMessageA(link, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ((std::vector<RecordedMessage>{click(), click()}), recorder.messages);
}

TEST_F(LinkMessages, keepsAnySizeItIsGiven) {
    HWND link = createLink("Link", linkHeight);
    SetWindowPos(link, nullptr, 0, 0, 150, 60, SWP_NOMOVE | SWP_NOZORDER);
    RECT rectangle;
    GetWindowRect(link, &rectangle);
    EXPECT_EQ(150, rectangle.right - rectangle.left);
    EXPECT_EQ(60, rectangle.bottom - rectangle.top);
}

// A 15-pixel icon in a 20-pixel link: 20/2 - 15/2 = 3.
TEST_F(LinkPixels, iconStandsAtHalfHeightMinusHalfItsHeight) {
    HWND link = createLink("", linkHeight);
    repaintNow(host);
    Pixels shown = captureWindow(link);
    int top = linkHeight / 2 - icon.height / 2;
    EXPECT_EQ(0, countDifferences(&shown, 0, top, &icon, 0, 0, icon.width, icon.height));
    RECT rightOfIcon = {icon.width, 0, linkWidth, linkHeight};
    RECT aboveIcon = {0, 0, icon.width, top};
    RECT belowIcon = {0, top + icon.height, icon.width, linkHeight};
    EXPECT_EQ(0, countPixelsNotOf(&shown, rightOfIcon, white));
    EXPECT_EQ(0, countPixelsNotOf(&shown, aboveIcon, white));
    EXPECT_EQ(0, countPixelsNotOf(&shown, belowIcon, white));
}

TEST_F(LinkPixels, tallerIconIsCutAtTopAndBottom) {
    const int shortHeight = 10;
    HWND link = createLink("", shortHeight);
    repaintNow(host);
    Pixels shown = captureWindow(link);
    int top = shortHeight / 2 - icon.height / 2;
    ASSERT_LT(top, 0);
    EXPECT_EQ(0, countDifferences(&shown, 0, 0, &icon, 0, -top, icon.width, shortHeight));
}

// The text box runs from x = 15 to the right edge over the whole height.
TEST_F(LinkPixels, textIsCentredRightOfTheIcon) {
    HWND link = createLink("", linkHeight);
    repaintNow(host);
    Pixels bare = captureWindow(link);
    SetWindowTextA(link, "Open the page");
    repaintNow(link);
    Pixels withText = captureWindow(link);
    RECT box = {textLeft, 0, linkWidth, linkHeight};
    EXPECT_GT(countDifferencesInside(&withText, &bare, box), 0);
    EXPECT_EQ(0, countDifferencesOutside(&withText, &bare, box));
    int left = linkWidth;
    int right = 0;
    for (int x = textLeft; x < linkWidth; x++) {
        RECT column = {x, 0, x + 1, linkHeight};
        if (countDifferencesInside(&withText, &bare, column) > 0) {
            left = std::min(left, x);
            right = std::max(right, x + 1);
        }
    }
    EXPECT_NEAR(left - textLeft, linkWidth - right, 2);
}

TEST_F(LinkInput, handShowsAndClicksAreReported) {
    createLink("Link", linkHeight);
    POINT over = {origin.x + linkLeftEdge + 60, origin.y + linkTop + 10};
    ASSERT_TRUE(moveMouse(over.x, over.y));
    ASSERT_TRUE(moveMouse(over.x + 10, over.y));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_HAND), GetCursor());
    ASSERT_TRUE(clickMouse());
    EXPECT_EQ(std::vector<RecordedMessage>{click()}, recorder.messages);
    recorder.messages.clear();
    ASSERT_TRUE(moveMouse(over.x + 20, over.y));
    ASSERT_TRUE(doubleClickMouse());
    EXPECT_EQ((std::vector<RecordedMessage>{click(), click()}), recorder.messages);
    parkMouse();
}

// A click gives a link with WS_TABSTOP the focus, and the keys click it.
TEST_F(LinkKeyboard, clickTakesTheFocusAndSpaceAndEnterClick) {
    ASSERT_TRUE(activateWindow(host));
    HWND link = createLink("Link", linkHeight, WS_TABSTOP);
    POINT over = {origin.x + linkLeftEdge + 100, origin.y + linkTop + 10};
    ASSERT_TRUE(moveMouse(over.x, over.y));
    ASSERT_TRUE(clickMouse());
    parkMouse();
    EXPECT_EQ(link, GetFocus());
    EXPECT_EQ(std::vector<RecordedMessage>{click()}, recorder.messages);
    expectSpaceAndEnterClick(click());
}

// A shown cue looks the same after any number of paints, erased or not.
TEST_F(LinkKeyboard, focusCueSurvivesRepaintsWithAndWithoutErase) {
    ASSERT_TRUE(activateWindow(host));
    HWND link = createLink("Link", linkHeight, WS_TABSTOP);
    repaintNow(link);
    Pixels bare = captureWindow(link);
    SetFocus(link);
    SendMessageA(link, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    UpdateWindow(link);
    Pixels cued = captureWindow(link);
    ASSERT_GT(countDifferences(&cued, 0, 0, &bare, 0, 0, linkWidth, linkHeight), 0);
    for (BOOL erase : {FALSE, FALSE, TRUE, FALSE}) {
        InvalidateRect(link, nullptr, erase);
        UpdateWindow(link);
        Pixels shown = captureWindow(link);
        EXPECT_EQ(0, countDifferences(&shown, 0, 0, &cued, 0, 0, linkWidth, linkHeight)) << "erase " << erase;
    }
}

TEST_F(LinkLifetime, thousandLinksLeaveNothingBehind) {
    Leftovers left = measureLeftovers([this]() {
        HWND link = CreateWindowExA(0, VELMO_LINK_CLASS, "Lifetime", WS_CHILD, linkLeftEdge, linkTop, linkWidth,
                                    linkHeight, host, (HMENU)linkId, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(link, WM_PAINT, 0, 0);
        DestroyWindow(link);
    });
    EXPECT_LE(left.gdiObjects, allowedGdiGrowth);
    EXPECT_LE(left.heapBytes, allowedHeapGrowth);
}

}  // namespace
