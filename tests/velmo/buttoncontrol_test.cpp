// The button as its parent, the screen and the user see it.
#include <gtest/gtest.h>

#include <algorithm>

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
    EXPECT_EQ(BST_PUSHED, SendMessageA(button, BM_GETSTATE, 0, 0));
    EXPECT_TRUE(recorder.messages.empty());
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(isPressed(button));
    EXPECT_EQ(0, SendMessageA(button, BM_GETSTATE, 0, 0));
    EXPECT_EQ(std::vector<RecordedMessage>{click(buttonId)}, recorder.messages);
    // BM_CLICK clicks as a press and release over it do, unless disabled.
    EXPECT_EQ(0, SendMessageA(button, BM_CLICK, 0, 0));
    EnableWindow(button, FALSE);
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ((std::vector<RecordedMessage>{click(buttonId), click(buttonId)}), recorder.messages);
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

// Without WS_TABSTOP the keys, the dialog manager's question included, go to
// default handling.
TEST_F(ButtonMessages, rightButtonAndKeysDoNothing) {
    HWND button = createButton("OK", buttonId, buttonLeftEdge, buttonTop);
    SendMessageA(button, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    SendMessageA(button, WM_RBUTTONUP, 0, 0);
    for (WPARAM key : {VK_SPACE, VK_RETURN}) {
        SendMessageA(button, WM_KEYDOWN, key, 0);
        SendMessageA(button, WM_KEYUP, key, 0);
        EXPECT_EQ(0, SendMessageA(button, WM_GETDLGCODE, key, 0));
    }
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

// Greek drawn as its own letters, not as the question marks that code page
// 1252 turns it into.
TEST_F(ButtonPixels, greekCaptionIsDrawnAsItsOwnLetters) {
    HWND greek = createButton("", buttonId, buttonLeftEdge, buttonTop);
    SetWindowTextW(greek, L"\u03a9\u03bc\u03ad\u03b3\u03b1");
    HWND marks = createButton("?????", buttonId + 1, buttonLeftEdge, buttonTop + 40);
    repaintNow(host);
    Pixels greekShown = captureWindow(greek);
    Pixels marksShown = captureWindow(marks);
    RECT box = {0, 0, buttonWidth, 30};
    EXPECT_GT(countDifferencesInside(&greekShown, &marksShown, box), 0);
}

// The library's cursor state is process-wide: only a fresh process sees the
// first movement over its first button.
TEST_F(ButtonInput, handShowsFromTheSecondMoveOn) {
    if (!runsInOwnProcess()) {
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

// The host is the active window, and its loop passes the keys through the
// dialog manager as a host's would.
class ButtonKeyboard : public ButtonHost {
protected:
    ButtonKeyboard() { activeHost = true; }

    HWND createKeyboardButton(int id, HWND parent, int x, int y, int width) {
        return createChild(VELMO_BUTTON_CLASS, "Keys", parent, id, x, y, width, buttonHeight, WS_TABSTOP);
    }

    // How many pixels of the window, as shown now, differ from expected.
    int countChanges(const Pixels* expected, HWND window) {
        Pixels shown = captureWindow(window);
        return countDifferences(&shown, 0, 0, expected, 0, 0, expected->width, expected->height);
    }
};

// A control without WS_TABSTOP is passed over; a frame lets the focus reach
// the buttons inside it, with no extended style from its host.
TEST_F(ButtonKeyboard, tabAndShiftTabFollowTheCreationOrder) {
    const int width = 130;
    HWND first = createKeyboardButton(1, host, 10, 10, width);
    createButton("Plain", 2, 150, 10);
    HWND frame = createChild(VELMO_FRAME_CLASS, "Frame", host, 3, 10, 60, 280, 80);
    HWND inside = createKeyboardButton(4, frame, 10, 40, width);
    HWND last = createKeyboardButton(5, host, 10, 150, width);
    const struct {
        const char* keyName;
        HWND focused;
    } steps[] = {{"Tab", first}, {"Tab", inside}, {"Tab", last}, {"Tab", first}, {"shift+Tab", last},
                 {"shift+Tab", inside}};
    for (const auto& step : steps) {
        ASSERT_TRUE(pressKey(host, step.keyName, VK_TAB));
        EXPECT_EQ(step.focused, GetFocus()) << "after " << step.keyName;
    }
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ButtonKeyboard, spaceClicksOnItsReleaseAndEnterAtOnce) {
    HWND button = createKeyboardButton(buttonId, host, buttonLeftEdge, buttonTop, buttonWidth);
    ASSERT_TRUE(pressKey(host, "Tab", VK_TAB));
    ASSERT_EQ(button, GetFocus());
    expectSpaceAndEnterClick(click(buttonId));
    EXPECT_FALSE(isPressed(button));
    EXPECT_EQ(BST_FOCUS, SendMessageA(button, BM_GETSTATE, 0, 0));

    // A press that the focus leaves is taken back, and its release is lost.
    ASSERT_TRUE(holdKey(host, "space", VK_SPACE));
    EXPECT_EQ(BST_PUSHED | BST_FOCUS, SendMessageA(button, BM_GETSTATE, 0, 0));
    SetFocus(host);
    EXPECT_FALSE(isPressed(button));
    ASSERT_TRUE(releaseKey(host, "space", VK_SPACE));
    EXPECT_TRUE(recorder.messages.empty());
}

// However Space and the left button interleave over a focused button, they
// make one press: one click, and the button drawn released once both are up.
TEST_F(ButtonKeyboard, spaceAndMouseTogetherClickOnce) {
    HWND button = createKeyboardButton(buttonId, host, buttonLeftEdge, buttonTop, buttonWidth);
    POINT over = onScreen(buttonLeftEdge + 50, buttonTop + 15);
    ASSERT_TRUE(moveMouse(over.x, over.y));
    ASSERT_TRUE(clickMouse());
    ASSERT_EQ(button, GetFocus());
    enum Step { spaceDown, spaceUp, mouseDown, mouseUp };
    auto take = [this](Step step) {
        switch (step) {
        case spaceDown:
            return holdKey(host, "space", VK_SPACE);
        case spaceUp:
            return releaseKey(host, "space", VK_SPACE);
        case mouseDown:
            return pressMouse();
        default:
            return releaseMouse();
        }
    };
    const Step orders[][4] = {{spaceDown, mouseDown, mouseUp, spaceUp},
                              {spaceDown, mouseDown, spaceUp, mouseUp},
                              {mouseDown, spaceDown, spaceUp, mouseUp},
                              {mouseDown, spaceDown, mouseUp, spaceUp}};
    for (const auto& order : orders) {
        SCOPED_TRACE(::testing::Message() << "steps " << order[0] << order[1] << order[2] << order[3]);
        // Away from the last press, which a press there would double.
        over.x += 10;
        ASSERT_TRUE(moveMouse(over.x, over.y));
        recorder.messages.clear();
        for (Step step : order) {
            ASSERT_TRUE(take(step));
        }
        EXPECT_EQ(std::vector<RecordedMessage>{click(buttonId)}, recorder.messages);
        EXPECT_FALSE(isPressed(button));
    }
    parkMouse();
}

// Only a button with WS_TABSTOP takes the focus on a click. The cue is a
// dotted outline 3 pixels inside the button, hidden while the focus came by
// the mouse; an unfocused button with WS_TABSTOP looks exactly like one
// without. WM_PRINTCLIENT draws what the screen shows.
TEST_F(ButtonKeyboard, clickFocusesAndTheCueShowsAfterKeyboardUseOnly) {
    const int width = 130;
    HWND plain = createChild(VELMO_BUTTON_CLASS, "Keys", host, 1, 10, 10, width, buttonHeight);
    HWND clicked = createKeyboardButton(2, host, 10, 60, width);
    HWND other = createKeyboardButton(3, host, 10, 110, width);
    repaintNow(host);
    Pixels today = captureWindow(plain);
    EXPECT_EQ(0, countChanges(&today, clicked));

    for (POINT over : {onScreen(60, 75), onScreen(60, 25)}) {
        ASSERT_TRUE(moveMouse(over.x, over.y));
        ASSERT_TRUE(clickMouse());
        EXPECT_EQ(clicked, GetFocus());
    }
    parkMouse();
    EXPECT_EQ((std::vector<RecordedMessage>{click(2), click(1)}), recorder.messages);
    repaintNow(clicked);
    EXPECT_EQ(0, countChanges(&today, clicked));

    ASSERT_TRUE(pressKey(host, "Tab", VK_TAB));
    ASSERT_TRUE(pressKey(host, "shift+Tab", VK_TAB));
    ASSERT_EQ(clicked, GetFocus());
    UpdateWindow(host);
    Pixels cued = captureWindow(clicked);
    RECT cue = {3, 3, width - 3, buttonHeight - 3};
    RECT insideCue = {4, 4, width - 4, buttonHeight - 4};
    EXPECT_GT(countDifferencesInside(&cued, &today, cue), 0);
    EXPECT_EQ(0, countDifferencesOutside(&cued, &today, cue));
    EXPECT_EQ(0, countDifferencesInside(&cued, &today, insideCue));
    EXPECT_EQ(0, countChanges(&today, other));
    Pixels printed = printWindow(clicked);
    EXPECT_EQ(0, countDifferences(&cued, 0, 0, &printed, 0, 0, width, buttonHeight));
}

// Stock controls follow the window's UI state; so does the cue.
TEST_F(ButtonKeyboard, uiStateHidesAndShowsTheCue) {
    HWND button = createKeyboardButton(buttonId, host, buttonLeftEdge, buttonTop, buttonWidth);
    repaintNow(host);
    Pixels hidden = captureWindow(button);
    SetFocus(button);
    SendMessageA(button, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    UpdateWindow(button);
    EXPECT_GT(countChanges(&hidden, button), 0);
    SendMessageA(button, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    UpdateWindow(button);
    EXPECT_EQ(0, countChanges(&hidden, button));
}

// Of a middle slice taller than the button, its top 34 rows are drawn. Run
// alone, so that the library reads its theme from a folder of the test's,
// which holds that middle slice alone.
TEST(ButtonWithTallMiddle, topRowsOfTheMiddleAreDrawn) {
    if (!runsInOwnProcess()) {
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
