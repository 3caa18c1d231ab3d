// The fixture the control tests share: the library loaded and a host window in
// the test file's own screen area that records the WM_COMMAND its children send.
// A fixture for keyboard input sets activeHost: its host becomes the active
// window (see keyboard.h); one that records nothing clears recordsCommands.
#ifndef VELMO_TEST_HOSTEDTEST_H
#define VELMO_TEST_HOSTEDTEST_H

#include <gtest/gtest.h>

#include "keyboard.h"
#include "testhost.h"

class HostedTest : public ::testing::Test {
protected:
    HostedTest(TestArea area, int width, int height) : hostArea(area), hostSize{width, height} {}

    void SetUp() override {
        ASSERT_NE(nullptr, loadVelmo());
        origin = getAreaOrigin(hostArea);
        recorder.watched = {WM_COMMAND};
        host = createHostWindow(recordsCommands ? &recorder : nullptr, origin.x, origin.y, hostSize.cx, hostSize.cy);
        ASSERT_NE(nullptr, host);
        if (activeHost) {
            ASSERT_TRUE(activateWindow(host));
        }
        setUpAfterHost();
    }

    // A fixture's own set-up, once the host stands.
    virtual void setUpAfterHost() {}

    void TearDown() override {
        DestroyWindow(host);
        pumpMessages();
    }

    // The height clamp of the button and the tab menu, between two siblings
    // made in the order sibling, control: a lower size is kept, with one
    // WM_SIZE, and leaves sibling first among the host's children; a taller
    // one comes back clamped, with a second WM_SIZE, and raises control.
    // Destroys control, which records into a recorder of this call.
    void expectHeightClampedTo(int clamped, HWND control, HWND sibling, int width) {
        const int lower = clamped - 14;
        const int taller = clamped + 16;
        ASSERT_EQ(sibling, GetWindow(host, GW_CHILD));
        Recorder sizes;
        sizes.watched = {WM_SIZE};
        recordMessages(control, &sizes);
        SetWindowPos(control, nullptr, 0, 0, width, lower, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ((std::vector<RecordedMessage>{{control, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, lower)}}),
                  sizes.messages);
        EXPECT_EQ(lower, getHeight(control));
        EXPECT_EQ(sibling, GetWindow(host, GW_CHILD));

        sizes.messages.clear();
        SetWindowPos(control, nullptr, 0, 0, width, taller, SWP_NOMOVE | SWP_NOZORDER);
        std::vector<RecordedMessage> expected = {{control, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, taller)},
                                                 {control, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, clamped)}};
        EXPECT_EQ(expected, sizes.messages);
        EXPECT_EQ(clamped, getHeight(control));
        EXPECT_EQ(control, GetWindow(host, GW_CHILD));
        DestroyWindow(control);
    }

    // With the focus on a control that takes keys, Space clicks it on its
    // release and Enter at once, each with the one notification click.
    void expectSpaceAndEnterClick(const RecordedMessage& click) {
        recorder.messages.clear();
        ASSERT_TRUE(holdKey(host, "space", VK_SPACE));
        EXPECT_TRUE(recorder.messages.empty());
        ASSERT_TRUE(releaseKey(host, "space", VK_SPACE));
        EXPECT_EQ(std::vector<RecordedMessage>{click}, recorder.messages);
        ASSERT_TRUE(pressKey(host, "Return", VK_RETURN));
        EXPECT_EQ((std::vector<RecordedMessage>{click, click}), recorder.messages);
        recorder.messages.clear();
    }

    static int getHeight(HWND window) {
        RECT rectangle = {0, 0, 0, 0};
        GetWindowRect(window, &rectangle);
        return rectangle.bottom - rectangle.top;
    }

    TestArea hostArea;
    SIZE hostSize;
    POINT origin = {0, 0};
    Recorder recorder;
    HWND host = nullptr;
    bool activeHost = false;
    bool recordsCommands = true;
};

#endif
