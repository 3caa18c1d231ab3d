// The static as the screen shows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "pixels.h"
#include "resources.h"
#include "hostedtest.h"
#include "testhost.h"
#include "velmo.h"

namespace {

const int hostWidth = 320;
const int hostHeight = 100;
const int staticLeft = 10;
const int staticTop = 10;
const int staticWidth = 300;
const int staticHeight = 60;
const int textBandHeight = 20;

// The bounds of the pixels that differ between two captures.
RECT findInk(const Pixels* shown, const Pixels* bare) {
    RECT ink = {shown->width, shown->height, 0, 0};
    for (int y = 0; y < shown->height; y++) {
        for (int x = 0; x < shown->width; x++) {
            if (getPixel(shown, x, y) != getPixel(bare, x, y)) {
                ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                       std::max<LONG>(ink.bottom, y + 1)};
            }
        }
    }
    return ink;
}

class StaticHost : public HostedTest {
protected:
    StaticHost() : HostedTest(staticArea, hostWidth, hostHeight) {}

    HWND createStatic(const char* text) {
        return createChild(VELMO_STATIC_CLASS, text, host, 0, staticLeft, staticTop, staticWidth, staticHeight);
    }

    // What a new static shows with its text, and without.
    void capture(const char* text) {
        DestroyWindow(label);
        label = createStatic("");
        ASSERT_NE(nullptr, label);
        repaintNow(label);
        bare = captureWindow(label);
        SetWindowTextA(label, text);
        repaintNow(label);
        shown = captureWindow(label);
    }

    HWND label = nullptr;
    Pixels bare;
    Pixels shown;
};

using StaticPixels = StaticHost;
using StaticLifetime = StaticHost;

// Centred across the width and on y = 10; the rest stays white.
TEST_F(StaticPixels, textIsCentredInTheTopBand) {
    capture("Label text");
    RECT ink = findInk(&shown, &bare);
    ASSERT_LT(ink.left, ink.right);
    EXPECT_NEAR(ink.left, staticWidth - ink.right, 2);
    EXPECT_NEAR(ink.top + ink.bottom, textBandHeight, 3);
    RECT below = {0, textBandHeight, staticWidth, staticHeight};
    EXPECT_EQ(0, countPixelsNotOf(&shown, below, makePixel(255, 255, 255)));
}

// Fully covered pixels of the glyphs take the text colour; edges blend into white.
TEST_F(StaticPixels, textIsDarkGrey) {
    capture("Label text");
    RECT band = {0, 0, staticWidth, textBandHeight};
    EXPECT_GT(countPixelsOf(&shown, band, makePixel(80, 80, 80)), 0);
    uint32_t darkest = 0xFFFFFF;
    for (uint32_t pixel : shown.data) {
        darkest = std::min(darkest, pixel);
    }
    EXPECT_EQ(makePixel(80, 80, 80), darkest);
}

TEST_F(StaticPixels, lineBreaksStayOnOneLine) {
    capture("First\r\nSecond\nThird");
    RECT below = {0, textBandHeight, staticWidth, staticHeight};
    EXPECT_EQ(0, countPixelsNotOf(&shown, below, makePixel(255, 255, 255)));
    RECT ink = findInk(&shown, &bare);
    EXPECT_GT(ink.right - ink.left, staticWidth / 3);
}

// 510 characters are drawn: a 511th, far off to the right, changes nothing.
TEST_F(StaticPixels, textIsCutAfter510Characters) {
    std::string text(510, 'i');
    capture((text + "WWWWWWWWWW").c_str());
    Pixels longer = shown;
    capture(text.c_str());
    RECT whole = {0, 0, staticWidth, staticHeight};
    EXPECT_EQ(0, countDifferencesInside(&longer, &shown, whole));
}

TEST_F(StaticLifetime, thousandStaticsLeaveNothingBehind) {
    Leftovers left = measureLeftovers([this]() {
        HWND label = createStatic("Lifetime");
        UpdateWindow(label);
        DestroyWindow(label);
    });
    EXPECT_LE(left.gdiObjects, allowedGdiGrowth);
    EXPECT_LE(left.heapBytes, allowedHeapGrowth);
}

}  // namespace
