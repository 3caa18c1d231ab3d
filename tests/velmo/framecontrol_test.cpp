// The frame: the panel it paints and the notifications it passes up.
#include <gtest/gtest.h>

#include "pixels.h"
#include "resources.h"
#include "hostedtest.h"
#include "testhost.h"
#include "velmo.h"

namespace {

const int hostWidth = 320;
const int hostHeight = 250;
const int frameWidth = 200;
const int frameHeight = 100;
const int buttonId = 12;
const uint32_t white = 0xFFFFFF;

// The procedure that a test installs in a "VelmoWindow"; it logs here.
Recorder installedRecorder;

LRESULT CALLBACK installedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        installedRecorder.messages.push_back({window, message, wParam, lParam});
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class FrameHost : public HostedTest {
protected:
    FrameHost() : HostedTest(frameArea, hostWidth, hostHeight) {}

    HWND createFrame(HWND parent, const char* caption, int x, int y, int width, int height) {
        return createChild(VELMO_FRAME_CLASS, caption, parent, 0, x, y, width, height);
    }

    // A button inside a frame inside a frame inside parent, every window
    // logging its WM_COMMAND into recorder.
    HWND nestButton(HWND parent) {
        HWND outer = createFrame(parent, "Outer", 10, 10, 280, 200);
        HWND inner = createFrame(outer, "Inner", 10, 30, 240, 150);
        HWND button = createChild(VELMO_BUTTON_CLASS, "OK", inner, buttonId, 10, 40, 100, 34);
        recordMessages(inner, &recorder);
        recordMessages(outer, &recorder);
        return button;
    }
};

using FrameMessages = FrameHost;
using FrameLifetime = FrameHost;

TEST_F(FrameMessages, clickInNestedFramesClimbsOneLevelAtATime) {
    HWND button = nestButton(host);
    ASSERT_NE(nullptr, button);
    HWND inner = GetParent(button);
    HWND outer = GetParent(inner);
    SendMessageA(button, WM_LBUTTONUP, 0, 0);
    std::vector<RecordedMessage> expected = {{inner, WM_COMMAND, buttonId, 0},
                                             {outer, WM_COMMAND, buttonId, 0},
                                             {host, WM_COMMAND, buttonId, 0}};
    EXPECT_EQ(expected, recorder.messages);
}

TEST_F(FrameMessages, anyCommandIsPassedOnUnchangedAndAnsweredWithZero) {
    HWND frame = createFrame(host, "Frame", 10, 10, frameWidth, frameHeight);
    EXPECT_EQ(0, SendMessageA(frame, WM_COMMAND, MAKEWPARAM(3, EN_CHANGE), (LPARAM)host));
    EXPECT_EQ((std::vector<RecordedMessage>{{host, WM_COMMAND, MAKEWPARAM(3, EN_CHANGE), (LPARAM)host}}),
              recorder.messages);
}

TEST_F(FrameMessages, mouseOnThePanelSendsNothing) {
    HWND frame = createFrame(host, "Frame", 10, 10, frameWidth, frameHeight);
    SendMessageA(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    SendMessageA(frame, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(FrameMessages, clickInNestedFramesReachesTheWindowsInstalledProcedure) {
    HWND top = CreateWindowExA(0, VELMO_WINDOW_CLASS, "", WS_POPUP, origin.x, origin.y, hostWidth, hostHeight,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, top);
    SendMessageA(top, WM_USER, (WPARAM)installedProcedure, 0);
    installedRecorder.messages.clear();
    HWND button = nestButton(top);
    SendMessageA(button, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ((std::vector<RecordedMessage>{{top, WM_COMMAND, buttonId, 0}}), installedRecorder.messages);
    DestroyWindow(top);
}

class FramePixels : public FrameHost {
protected:
    void setUpAfterHost() override {
        left = loadBitmapPixels("bitmap/frameleft.bmp");
        middle = loadBitmapPixels("bitmap/framemiddle.bmp");
        right = loadBitmapPixels("bitmap/frameright.bmp");
        ASSERT_GT(left.width, 0);
        ASSERT_GT(middle.width, 0);
        ASSERT_GT(right.width, 0);
    }

    Pixels left;
    Pixels middle;
    Pixels right;
};

// Below the header: a 1-pixel grey outline round a white interior.
TEST_F(FramePixels, panelHasAGreyOutlineAndAWhiteInside) {
    HWND frame = createFrame(host, "", 10, 10, frameWidth, frameHeight);
    repaintNow(host);
    Pixels shown = captureWindow(frame);
    uint32_t grey = makePixel(210, 210, 210);
    int below = middle.height;
    RECT leftEdge = {0, below, 1, frameHeight};
    RECT rightEdge = {frameWidth - 1, below, frameWidth, frameHeight};
    RECT bottomEdge = {0, frameHeight - 1, frameWidth, frameHeight};
    RECT inside = {1, below, frameWidth - 1, frameHeight - 1};
    EXPECT_EQ(0, countPixelsNotOf(&shown, leftEdge, grey));
    EXPECT_EQ(0, countPixelsNotOf(&shown, rightEdge, grey));
    EXPECT_EQ(0, countPixelsNotOf(&shown, bottomEdge, grey));
    EXPECT_EQ(0, countPixelsNotOf(&shown, inside, white));
}

// The middle spans (0, W - its own width); the caps go over its ends.
TEST_F(FramePixels, headerIsDrawnFromItsThreeSlices) {
    HWND frame = createFrame(host, "", 10, 10, frameWidth, frameHeight);
    repaintNow(host);
    Pixels shown = captureWindow(frame);
    EXPECT_EQ(0, countDifferences(&shown, 0, 0, &left, 0, 0, left.width, left.height));
    int rightCap = frameWidth - right.width;
    EXPECT_EQ(0, countDifferences(&shown, rightCap, 0, &right, 0, 0, right.width, right.height));
    EXPECT_EQ(0, countMiddleDifferences(&shown, left.width, frameWidth - middle.width, middle.height, &middle));
}

TEST_F(FramePixels, captionStartsAtTenOverTheHeader) {
    HWND frame = createFrame(host, "", 10, 10, frameWidth, frameHeight);
    repaintNow(host);
    Pixels bare = captureWindow(frame);
    SetWindowTextA(frame, "Settings");
    repaintNow(frame);
    Pixels captioned = captureWindow(frame);
    RECT box = {10, 2, frameWidth, 24};
    EXPECT_GT(countDifferencesInside(&captioned, &bare, box), 0);
    EXPECT_EQ(0, countDifferencesOutside(&captioned, &bare, box));
    RECT nearStart = {10, 2, 14, 24};
    EXPECT_GT(countDifferencesInside(&captioned, &bare, nearStart), 0);
}

// With no pen left to make the frame still draws whole: its outline takes
// the context's own pen. Run alone: it uses up the process's GDI handles
// while the frame prints.
TEST(FrameWithoutPen, wholeFrameIsStillDrawn) {
    if (!runsInOwnProcess()) {
        return;
    }
    ASSERT_NE(nullptr, loadVelmo());
    POINT origin = getAreaOrigin(frameArea);
    HWND host = createHostWindow(nullptr, origin.x, origin.y, hostWidth, hostHeight);
    HWND frame = createChild(VELMO_FRAME_CLASS, "Settings", host, 0, 10, 10, frameWidth, frameHeight);
    ASSERT_NE(nullptr, frame);
    repaintNow(frame);
    Pixels shown = captureWindow(frame);
    std::vector<HPEN> pens;
    Pixels printed = printWindow(frame, [&pens]() {
        for (HPEN pen = CreatePen(PS_SOLID, 1, 0); pen != nullptr; pen = CreatePen(PS_SOLID, 1, 0)) {
            pens.push_back(pen);
        }
    });
    for (HPEN pen : pens) {
        DeleteObject(pen);
    }
    ASSERT_FALSE(pens.empty());
    ASSERT_EQ(frameWidth, printed.width);
    RECT whole = {0, 0, frameWidth, frameHeight};
    EXPECT_EQ(0, countDifferencesInside(&printed, &shown, whole));
    DestroyWindow(host);
}

TEST_F(FrameLifetime, thousandFramesLeaveNoPenBehind) {
    Leftovers left = measureLeftovers([this]() {
        HWND frame = CreateWindowExA(0, VELMO_FRAME_CLASS, "Lifetime", WS_CHILD, 10, 10, frameWidth, frameHeight,
                                     host, nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(frame, WM_PAINT, 0, 0);
        DestroyWindow(frame);
    });
    EXPECT_LE(left.gdiObjects, allowedGdiGrowth);
    EXPECT_LE(left.heapBytes, allowedHeapGrowth);
}

}  // namespace
