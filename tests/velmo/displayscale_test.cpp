// The controls at the DPI of the Wine prefix that the program runs in, against
// that DPI's figures: ctest runs the instantiation of each DPI in a prefix whose
// LogPixels is set to it (run one by hand with --gtest_filter='*/192').
#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>
#include <vector>

#include "hostedtest.h"
#include "pixels.h"
#include "resources.h"
#include "testhost.h"
#include "velmo.h"
#include "velmoclasses.h"

namespace {

const int hostWidth = 300;
const int hostHeight = 240;
const int createdWidth = 200;
const int createdHeight = 100;
const COLORREF printBackground = RGB(0, 0, 0);

int getProcessDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

class DisplayScale : public HostedTest, public ::testing::WithParamInterface<DpiFigures> {
protected:
    DisplayScale() : HostedTest(displayScaleArea, hostWidth, hostHeight) {}

    void setUpAfterHost() override {
        ASSERT_EQ(GetParam().dpi, getProcessDpi()) << "run in a Wine prefix whose LogPixels is " << GetParam().dpi;
    }

    HWND createButton(const char* caption) {
        return createChild(VELMO_BUTTON_CLASS, caption, host, 1, 0, 0, createdWidth, createdHeight);
    }
};

TEST_P(DisplayScale, buttonIsClampedAndItsStripFillsItsHeight) {
    HWND button = createButton("");
    EXPECT_EQ(GetParam().buttonHeight, getHeight(button));
    Pixels shown = printWindow(button);
    RECT whole = {0, 0, createdWidth, GetParam().buttonHeight};
    EXPECT_EQ(0, countPixelsOf(&shown, whole, printBackground));
}

// The mouse and readers take the second tab and the second row from the same
// box at every DPI: a point is in it when left <= x < right.
TEST_P(DisplayScale, secondTabAndRowAreWhereTheMouseAndReadersFindThem) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const RECT& tab = GetParam().tabs[1];
    const RECT& row = GetParam().rows[1];
    HWND tabs = createChild(VELMO_TAB_MENU_CLASS, "", host, 2, 0, 0, tab.right + 1, createdHeight);
    HWND list = createChild(VELMO_LIST_CLASS, "", host, 3, 0, tab.bottom, row.right, hostHeight - tab.bottom);
    for (const char* text : {"One", "Two"}) {
        SendMessageA(tabs, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.right, 0));
    EXPECT_EQ(0, SendMessageA(tabs, LB_GETSELCOUNT, 0, 0)) << "a press just past the box";
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.right - 1, 0));
    int pressed = -1;
    SendMessageA(tabs, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&pressed));
    EXPECT_EQ(1, pressed);
    const struct {
        HWND control;
        RECT box;
    } items[] = {{tabs, tab}, {list, row}};
    for (const auto& item : items) {
        IAccessible* object = nullptr;
        ASSERT_EQ(S_OK, AccessibleObjectFromWindow(item.control, OBJID_CLIENT, IID_IAccessible,
                                                   reinterpret_cast<void**>(&object)));
        VARIANT second = {};
        V_VT(&second) = VT_I4;
        V_I4(&second) = 2;
        POINT corner = {item.box.left, item.box.top};
        MapWindowPoints(item.control, nullptr, &corner, 1);
        LONG width = item.box.right - item.box.left;
        LONG height = item.box.bottom - item.box.top;
        LONG location[4] = {};
        EXPECT_EQ(S_OK, object->accLocation(&location[0], &location[1], &location[2], &location[3], second));
        EXPECT_EQ((std::vector<LONG>{corner.x, corner.y, width, height}), std::vector<LONG>(location, location + 4));
        VARIANT hit = {};
        EXPECT_EQ(S_OK, object->accHitTest(corner.x + width - 1, corner.y + height - 1, &hit));
        EXPECT_EQ(2, V_I4(&hit));
        object->Release();
    }
    CoUninitialize();
}

TEST_P(DisplayScale, windowBorderBandEndsAtTheScaledWidth) {
    HWND window = CreateWindowExA(0, VELMO_WINDOW_CLASS, "", WS_POPUP | WS_VISIBLE, origin.x, origin.y, createdWidth,
                                  createdWidth, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    const int band = GetParam().borderBand;
    const struct {
        int x;
        LPCSTR cursor;
    } points[] = {{band, IDC_SIZEWE}, {band + 1, IDC_ARROW}};
    for (const auto& point : points) {
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, createdWidth / 2));
        SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(LoadCursorA(nullptr, point.cursor), GetCursor()) << "at x = " << point.x;
    }
    DestroyWindow(window);
}

// The light caption's rows, read between the caps over the slate strip.
TEST_P(DisplayScale, captionGlyphsScaleWithTheDpi) {
    const uint32_t darkestCaptionRed = 200 << 16;
    HWND button = createButton("H");
    Pixels shown = printWindow(button);
    int rows = 0;
    for (int y = 0; y < shown.height; y++) {
        bool lit = false;
        for (int x = createdWidth / 4; x < createdWidth * 3 / 4; x++) {
            lit = lit || (getPixel(&shown, x, y) & 0xFF0000) >= darkestCaptionRed;
        }
        rows += lit ? 1 : 0;
    }
    EXPECT_LE(GetParam().fewestGlyphRows, rows);
    EXPECT_GE(GetParam().mostGlyphRows, rows);
}

// A 2x middle slice of one colour in the current folder's bitmap/2x/, found
// at the first paint that needs it.
TEST_P(DisplayScale, buttonDrawsTheCurrentFoldersDoubledBitmapFromHighDpis) {
    if (!runsInOwnProcess()) {
        return;
    }
    const uint32_t green = makePixel(0, 200, 0);
    Pixels middle = {20, 68, std::vector<uint32_t>(20 * 68, green)};
    char temporary[MAX_PATH];
    char folder[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(sizeof temporary, temporary));
    ASSERT_NE(0u, GetTempFileNameA(temporary, "dpi", 0, folder));
    DeleteFileA(folder);
    const std::string theme = std::string(folder) + "\\bitmap";
    const std::string doubled = theme + "\\2x";
    const std::string file = doubled + "\\buttonmiddle.bmp";
    ASSERT_TRUE(CreateDirectoryA(folder, nullptr) && CreateDirectoryA(theme.c_str(), nullptr) &&
                CreateDirectoryA(doubled.c_str(), nullptr) && saveBitmapFile(file.c_str(), &middle));
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(folder);
    HWND button = createButton("");
    Pixels shown = printWindow(button);
    SetCurrentDirectoryA(previous);
    DeleteFileA(file.c_str());
    RemoveDirectoryA(doubled.c_str());
    RemoveDirectoryA(theme.c_str());
    RemoveDirectoryA(folder);
    RECT centre = {createdWidth / 2 - 10, 0, createdWidth / 2 + 10, GetParam().buttonHeight};
    int area = 20 * GetParam().buttonHeight;
    EXPECT_EQ(GetParam().drawsDoubledBitmaps ? area : 0, countPixelsOf(&shown, centre, green));
}

INSTANTIATE_TEST_SUITE_P(AtDpi, DisplayScale, ::testing::ValuesIn(dpiFigures),
                         [](const ::testing::TestParamInfo<DpiFigures>& info) {
                             return std::to_string(info.param.dpi);
                         });

}  // namespace
