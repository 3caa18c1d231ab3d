// The fixture the control tests share: the library loaded and a host window in
// the test file's own screen area that records the WM_COMMAND its children send.
// A fixture for keyboard input sets activeHost: its host becomes the active
// window (see keyboard.h).
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
        host = createHostWindow(&recorder, origin.x, origin.y, hostSize.cx, hostSize.cy);
        ASSERT_NE(nullptr, host);
        if (activeHost) {
            ASSERT_TRUE(activateWindow(host));
        }
    }

    void TearDown() override {
        DestroyWindow(host);
        pumpMessages();
    }

    TestArea hostArea;
    SIZE hostSize;
    POINT origin = {0, 0};
    Recorder recorder;
    HWND host = nullptr;
    bool activeHost = false;
};

#endif
