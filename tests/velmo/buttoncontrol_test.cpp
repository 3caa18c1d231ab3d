// The button as its parent, the screen and the user see it.
#include <gtest/gtest.h>

#include <algorithm>

#include "mouse.h"
#include "pixels.h"
#include "resources.h"
#include "hostedtest.h"
#include "testhost.h"
#include "velmo.h"

namespace {

const int hostWidth = 300;
const int hostHeight = 200;
const int buttonLeftEdge = 20;
const int buttonTop = 20;
const int buttonWidth = 200;
const int buttonHeight = 34;
const int buttonId = 7;

void expectStrip(const Pixels* shown, const Strip* strip, int width) {
    ASSERT_GT(strip->left.width, 0);
    ASSERT_GT(strip->right.width, 0);
    ASSERT_GT(strip->middle.width, 0);
    EXPECT_EQ(0, countStripDifferences(shown, 0, width, buttonHeight, strip));
}

class ButtonHost : public HostedTest {
protected:
    ButtonHost() : HostedTest(buttonArea, hostWidth, hostHeight) {}

    HWND createButton(const char* caption, int id, int x, int y) {
        return createChild(VELMO_BUTTON_CLASS, caption, host, id, x, y, buttonWidth, buttonHeight);
    }

    POINT onScreen(int x, int y) {
        POINT point = {origin.x + x, origin.y + y};
        return point;
    }

    bool isPressed(HWND button) {
        return GetWindowLongPtrA(button, GWLP_USERDATA) != 0;
    }

    RecordedMessage click(WPARAM id) {
        return {host, WM_COMMAND, id, 0};
    }
};

using ButtonMessages = ButtonHost;
using ButtonPixels = ButtonHost;
using ButtonInput = ButtonHost;
using ButtonLifetime = ButtonHost;

TEST_F(ButtonMessages, classIsServedByTheExportedProcedure) {
    WNDCLASSEXA record = {};
    record.cbSize = sizeof record;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), VELMO_BUTTON_CLASS, &record));
    EXPECT_EQ((void*)findVelmoExport("buttonWindowProcedure"), (void*)record.lpfnWndProc);
}

TEST_F(ButtonMessages, releaseNotifiesParentWithIdentifierAndNoHandle) {
    HWND button = createButton("OK", buttonId, buttonLeftEdge, buttonTop);
    ASSERT_NE(nullptr, button);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(isPressed(button));
    EXPECT_TRUE(recorder.messages.empty());
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(isPressed(button));
    EXPECT_EQ(std::vector<RecordedMessage>{click(buttonId)}, recorder.messages);
}

TEST_F(ButtonMessages, identifierIsSentWhole) {
    HWND button = createButton("OK", 65537, buttonLeftEdge, buttonTop);
    SendMessageA(button, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(std::vector<RecordedMessage>{click(65537)}, recorder.messages);
}

TEST_F(ButtonMessages, doubleClickReportsTwoClicksAndSecondPressIsNotDrawn) {
    HWND button = createButton("OK", buttonId, buttonLeftEdge, buttonTop);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(button, WM_LBUTTONUP, 0, 0);
    SendMessageA(button, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    EXPECT_FALSE(isPressed(button));
    SendMessageA(button, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ((std::vector<RecordedMessage>{click(buttonId), click(buttonId)}), recorder.messages);
}

TEST_F(ButtonMessages, rightButtonAndKeysDoNothing) {
    HWND button = createButton("OK", buttonId, buttonLeftEdge, buttonTop);
    SendMessageA(button, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    SendMessageA(button, WM_RBUTTONUP, 0, 0);
    SendMessageA(button, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(button, WM_KEYUP, VK_SPACE, 0);
    EXPECT_FALSE(isPressed(button));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ButtonMessages, heightsUpTo34AreKeptAndTallerOnesClampedRaisingTheButton) {
    HWND sibling = createButton("Other", buttonId + 1, buttonLeftEdge, 100);
    HWND button = createButton("OK", buttonId, buttonLeftEdge, buttonTop);
    expectHeightClampedTo(buttonHeight, button, sibling, buttonWidth);
}

TEST_F(ButtonMessages, newCaptionWaitsForTheNextPaint) {
    HWND button = createButton("OK", buttonId, buttonLeftEdge, buttonTop);
    repaintNow(button);
    SetWindowTextA(button, "Changed");
    EXPECT_FALSE(GetUpdateRect(button, nullptr, FALSE));
}

TEST_F(ButtonPixels, normalAndPressedStrips) {
    HWND button = createButton("", buttonId, buttonLeftEdge, buttonTop);
    repaintNow(host);
    Pixels shown = captureWindow(button);
    Strip normal = loadStrip("bitmap/buttonleft.bmp", "bitmap/buttonmiddle.bmp", "bitmap/buttonright.bmp");
    expectStrip(&shown, &normal, buttonWidth);

    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    UpdateWindow(button);
    shown = captureWindow(button);
    Strip pressed = loadStrip("bitmap/buttonleftpressed.bmp", "bitmap/buttonmiddlepressed.bmp",
                              "bitmap/buttonrightpressed.bmp");
    expectStrip(&shown, &pressed, buttonWidth);
}

// The caption's box is the top 30 rows; its ink is centred across the width.
TEST_F(ButtonPixels, captionIsDrawnCentredInItsBox) {
    HWND button = createButton("", buttonId, buttonLeftEdge, buttonTop);
    repaintNow(host);
    Pixels bare = captureWindow(button);
    SetWindowTextA(button, "Press here");
    repaintNow(button);
    Pixels captioned = captureWindow(button);
    RECT box = {0, 0, buttonWidth, 30};
    EXPECT_GT(countDifferencesInside(&captioned, &bare, box), 0);
    EXPECT_EQ(0, countDifferencesOutside(&captioned, &bare, box));
    int left = buttonWidth;
    int right = 0;
    for (int x = 0; x < buttonWidth; x++) {
        RECT column = {x, 0, x + 1, 30};
        if (countDifferencesInside(&captioned, &bare, column) > 0) {
            left = std::min(left, x);
            right = std::max(right, x + 1);
        }
    }
    EXPECT_NEAR(left, buttonWidth - right, 2);
}

// The library's cursor state is process-wide: only a fresh process sees the
// first movement over its first button.
TEST_F(ButtonInput, handShowsFromTheSecondMoveOn) {
    const char* name = "ButtonInput.handShowsFromTheSecondMoveOn";
    if (!isRunningAlone(name)) {
        EXPECT_EQ(0, runTestAlone(name));
        return;
    }
    createButton("OK", buttonId, buttonLeftEdge, buttonTop);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    POINT outside = onScreen(150, 150);
    ASSERT_TRUE(moveMouse(outside.x, outside.y));
    EXPECT_EQ(arrow, GetCursor());
    POINT first = onScreen(buttonLeftEdge + 40, buttonTop + 10);
    ASSERT_TRUE(moveMouse(first.x, first.y));
    EXPECT_EQ(arrow, GetCursor());
    ASSERT_TRUE(moveMouse(first.x + 20, first.y));
    EXPECT_EQ(hand, GetCursor());
    ASSERT_TRUE(moveMouse(outside.x, outside.y));
    EXPECT_EQ(arrow, GetCursor());
    ASSERT_TRUE(moveMouse(first.x, first.y));
    EXPECT_EQ(hand, GetCursor());
    parkMouse();
}

TEST_F(ButtonInput, clickAndDoubleClickAreReported) {
    createButton("OK", buttonId, buttonLeftEdge, buttonTop);
    POINT over = onScreen(buttonLeftEdge + 50, buttonTop + 15);
    ASSERT_TRUE(moveMouse(over.x, over.y));
    ASSERT_TRUE(clickMouse());
    EXPECT_EQ(std::vector<RecordedMessage>{click(buttonId)}, recorder.messages);
    recorder.messages.clear();
    ASSERT_TRUE(moveMouse(over.x + 10, over.y));
    ASSERT_TRUE(doubleClickMouse());
    EXPECT_EQ((std::vector<RecordedMessage>{click(buttonId), click(buttonId)}), recorder.messages);
    parkMouse();
}

// No control captures the mouse: a release elsewhere is lost to the button,
// which stays pressed until a release over it.
TEST_F(ButtonInput, pressedButtonLeftBehindStaysPressed) {
    HWND first = createButton("One", buttonId, buttonLeftEdge, buttonTop);
    HWND second = createButton("Two", buttonId + 1, buttonLeftEdge, 100);
    POINT overFirst = onScreen(buttonLeftEdge + 50, buttonTop + 15);
    POINT overSecond = onScreen(buttonLeftEdge + 50, 115);
    POINT outside = onScreen(buttonLeftEdge + 50, 170);
    ASSERT_TRUE(moveMouse(overFirst.x, overFirst.y));
    ASSERT_TRUE(pressMouse());
    ASSERT_TRUE(moveMouse(outside.x, outside.y));
    ASSERT_TRUE(releaseMouse());
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_TRUE(isPressed(first));

    ASSERT_TRUE(moveMouse(overFirst.x, overFirst.y));
    ASSERT_TRUE(pressMouse());
    ASSERT_TRUE(moveMouse(overSecond.x, overSecond.y));
    ASSERT_TRUE(releaseMouse());
    EXPECT_EQ(std::vector<RecordedMessage>{click(buttonId + 1)}, recorder.messages);
    EXPECT_TRUE(isPressed(first));
    EXPECT_FALSE(isPressed(second));
    parkMouse();
}

// Of a middle slice taller than the button, its top 34 rows are drawn. Run
// alone, so that the library reads its theme from a folder of the test's,
// which holds that middle slice alone.
TEST(ButtonWithTallMiddle, topRowsOfTheMiddleAreDrawn) {
    const char* name = "ButtonWithTallMiddle.topRowsOfTheMiddleAreDrawn";
    if (!isRunningAlone(name)) {
        EXPECT_EQ(0, runTestAlone(name));
        return;
    }
    const int middleWidth = 10;
    const int middleHeight = buttonHeight + 6;
    const uint32_t top = makePixel(200, 40, 40);
    Pixels middle = {middleWidth, middleHeight, std::vector<uint32_t>(middleWidth * middleHeight, top)};
    std::fill(middle.data.begin() + middleWidth * buttonHeight, middle.data.end(), makePixel(40, 200, 40));
    HMODULE velmo = loadVelmoWithOneBitmap("buttonmiddle.bmp", &middle, saveBitmapFile);
    ASSERT_NE(nullptr, velmo);
    POINT origin = getAreaOrigin(buttonArea);
    HWND host = createHostWindow(nullptr, origin.x, origin.y, hostWidth, hostHeight);
    HWND button = createChild(VELMO_BUTTON_CLASS, "", host, buttonId, 0, 0, buttonWidth, buttonHeight);
    ASSERT_NE(nullptr, button);
    repaintNow(button);
    Pixels shown = captureWindow(button);
    RECT whole = {0, 0, buttonWidth, buttonHeight};
    EXPECT_EQ(0, countPixelsNotOf(&shown, whole, top));
    DestroyWindow(host);
}

TEST_F(ButtonLifetime, thousandButtonsLeaveNothingBehind) {
    // Hidden, so that only the button's own work is timed; painting is asked
    // for directly.
    Leftovers left = measureLeftovers([this]() {
        HWND button = CreateWindowExA(0, VELMO_BUTTON_CLASS, "Lifetime", WS_CHILD, buttonLeftEdge, buttonTop,
                                      buttonWidth, buttonHeight, host, (HMENU)buttonId, GetModuleHandleA(nullptr),
                                      nullptr);
        SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageA(button, WM_PAINT, 0, 0);
        DestroyWindow(button);
    });
    EXPECT_LE(left.gdiObjects, allowedGdiGrowth);
    EXPECT_LE(left.heapBytes, allowedHeapGrowth);
}

}  // namespace
