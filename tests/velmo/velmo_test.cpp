// Loading the library: the nine classes it registers under the host's
// executable, how the registration copes with a host that got there first or
// runs without the theme's files, and which folder the theme comes from.
#include <gtest/gtest.h>

#include <string>

#include "appearance.h"
#include "pixels.h"
#include "resources.h"
#include "testhost.h"
#include "velmo.h"
#include "velmoclasses.h"

namespace {

// Where the link stands in the order of registration.
const int linkIndex = 3;
const int hostWidth = 320;
const int hostHeight = 250;
const uint32_t black = 0x000000;
const uint32_t white = 0xFFFFFF;

bool findClass(const char* name, WNDCLASSEXA* record) {
    *record = {};
    record->cbSize = sizeof *record;
    return GetClassInfoExA(GetModuleHandleA(nullptr), name, record) != 0;
}

void* getProcedure(const char* name) {
    return (void*)findVelmoExport(name);
}

COLORREF getBrushColour(HBRUSH brush) {
    LOGBRUSH record = {};
    GetObjectA(brush, sizeof record, &record);
    return record.lbColor;
}

HBITMAP findControlBitmap(const char* listName, const char* bitmapName) {
    typedef HBITMAP (*GetControlBitmap)(const char*, const char*);
    GetControlBitmap getControlBitmap = (GetControlBitmap)getProcedure("getControlBitmap");
    return getControlBitmap != nullptr ? getControlBitmap(listName, bitmapName) : nullptr;
}

// {-1, -1} when the theme has no such bitmap.
SIZE findBitmapSize(const char* listName, const char* bitmapName) {
    SIZE size = {-1, -1};
    BITMAP info;
    HBITMAP bitmap = findControlBitmap(listName, bitmapName);
    if (bitmap != nullptr && GetObjectA(bitmap, sizeof info, &info) == (int)sizeof info) {
        size = {info.bmWidth, info.bmHeight};
    }
    return size;
}

// Loads the library with a link.bmp of the test's own at place, in a size that
// no bitmap of the theme has, and checks that the theme's link is that one.
void loadWithOddLink(OneBitmapPlace place) {
    const int width = 3;
    const int height = 5;
    Pixels odd = {width, height, std::vector<uint32_t>(width * height, makePixel(20, 160, 90))};
    ASSERT_NE(nullptr, loadVelmoWithOneBitmap("link.bmp", &odd, saveBitmapFile, place));
    SIZE link = findBitmapSize("link", "link");
    EXPECT_EQ(width, link.cx);
    EXPECT_EQ(height, link.cy);
}

int callRegisterClasses() {
    typedef int (*RegisterClasses)(void);
    RegisterClasses registerClasses = (RegisterClasses)getProcedure("registerClasses");
    return registerClasses != nullptr ? registerClasses() : -1;
}

HWND createHost(Recorder* recorder) {
    POINT origin = getAreaOrigin(registrationArea);
    return createHostWindow(recorder, origin.x, origin.y, hostWidth, hostHeight);
}

TEST(Registration, nineClassesUnderTheExecutableAsTheTableSays) {
    ASSERT_NE(nullptr, loadVelmo());
    HBRUSH brushes[128] = {};
    for (const VelmoClass& expected : velmoClasses) {
        SCOPED_TRACE(expected.name);
        WNDCLASSEXA record;
        ASSERT_TRUE(findClass(expected.name, &record));
        EXPECT_EQ((UINT)CS_DBLCLKS, record.style);
        EXPECT_EQ(getProcedure(expected.procedure), (void*)record.lpfnWndProc);
        EXPECT_EQ(0, record.cbClsExtra);
        EXPECT_EQ(expected.extraBytes, record.cbWndExtra);
        EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), record.hCursor);
        EXPECT_EQ(nullptr, record.hIcon);
        EXPECT_EQ(nullptr, record.lpszMenuName);
        EXPECT_EQ(expected.background, getBrushColour(record.hbrBackground));
        HBRUSH& shared = brushes[(int)expected.brush];
        if (shared == nullptr) {
            shared = record.hbrBackground;
        }
        EXPECT_EQ(shared, record.hbrBackground);
    }
    EXPECT_NE(brushes['A'], brushes['B']);
    EXPECT_NE(brushes['B'], brushes['C']);
    EXPECT_NE(brushes['C'], brushes['D']);
    EXPECT_NE(brushes['A'], brushes['C']);
}

TEST(Registration, hostCreatesAWindowOfEachClassWithItsOwnInstance) {
    ASSERT_NE(nullptr, loadVelmo());
    HWND host = createHost(nullptr);
    ASSERT_NE(nullptr, host);
    HWND top = CreateWindowExA(0, VELMO_WINDOW_CLASS, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(nullptr, top);
    DestroyWindow(top);
    for (int index = 1; index < velmoClassCount; index++) {
        HWND child = createChild(velmoClasses[index].name, "", host, index, 10, 10, 100, 30);
        EXPECT_NE(nullptr, child) << velmoClasses[index].name;
        DestroyWindow(child);
    }
    DestroyWindow(host);
}

TEST(Registration, registeringAgainFailsAtTheFirstClass) {
    ASSERT_NE(nullptr, loadVelmo());
    EXPECT_EQ(0, callRegisterClasses());
    WNDCLASSEXA record;
    EXPECT_TRUE(findClass(VELMO_EDIT_CLASS, &record));
}

TEST(Registration, tableLooksAndForwardsLikeAFrame) {
    ASSERT_NE(nullptr, loadVelmo());
    Recorder recorder;
    recorder.watched = {WM_COMMAND};
    HWND host = createHost(&recorder);
    HWND frame = createChild(VELMO_FRAME_CLASS, "Same caption", host, 1, 10, 10, 150, 80);
    HWND table = createChild(VELMO_TABLE_CLASS, "Same caption", host, 2, 10, 120, 150, 80);
    repaintNow(host);
    Pixels frameShown = captureWindow(frame);
    Pixels tableShown = captureWindow(table);
    ASSERT_EQ(frameShown.data.size(), tableShown.data.size());
    EXPECT_TRUE(frameShown.data == tableShown.data);
    SendMessageA(table, WM_COMMAND, 44, 0);
    EXPECT_EQ((std::vector<RecordedMessage>{{host, WM_COMMAND, 44, 0}}), recorder.messages);
    DestroyWindow(host);
}

TEST(Registration, classTakenByTheHostStopsTheRegistrationThere) {
    if (!runsInOwnProcess()) {
        return;
    }
    WNDCLASSEXA own = {};
    own.cbSize = sizeof own;
    own.lpfnWndProc = DefWindowProcA;
    own.hInstance = GetModuleHandleA(nullptr);
    own.lpszClassName = VELMO_LINK_CLASS;
    ASSERT_NE(0, RegisterClassExA(&own));
    ASSERT_NE(nullptr, loadVelmo());
    ASSERT_STREQ(VELMO_LINK_CLASS, velmoClasses[linkIndex].name);
    for (int index = 0; index < velmoClassCount; index++) {
        SCOPED_TRACE(velmoClasses[index].name);
        WNDCLASSEXA record;
        bool found = findClass(velmoClasses[index].name, &record);
        EXPECT_EQ(index <= linkIndex, found);
        if (found && index < linkIndex) {
            EXPECT_EQ(getProcedure(velmoClasses[index].procedure), (void*)record.lpfnWndProc);
        }
    }
    WNDCLASSEXA link;
    ASSERT_TRUE(findClass(VELMO_LINK_CLASS, &link));
    EXPECT_EQ((void*)DefWindowProcA, (void*)link.lpfnWndProc);
}

// Every slice is missing, so the controls show only their backgrounds: the
// button and the tab menu their black class brush, the link white, and the
// frame its outline round white.
void expectBareControls(HWND host) {
    HWND button = createChild(VELMO_BUTTON_CLASS, "", host, 1, 10, 10, 100, 34);
    HWND menu = createChild(VELMO_TAB_MENU_CLASS, "", host, 2, 10, 60, 200, 34);
    SendMessageA(menu, LB_ADDSTRING, 0, 0);
    SendMessageA(menu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    HWND link = createChild(VELMO_LINK_CLASS, "", host, 3, 10, 110, 100, 20);
    HWND frame = createChild(VELMO_FRAME_CLASS, "", host, 4, 10, 140, 100, 60);
    repaintNow(host);
    Pixels buttonShown = captureWindow(button);
    Pixels menuShown = captureWindow(menu);
    Pixels linkShown = captureWindow(link);
    Pixels frameShown = captureWindow(frame);
    EXPECT_EQ(0, countPixelsNotOf(&buttonShown, {0, 0, 100, 34}, black));
    EXPECT_EQ(0, countPixelsNotOf(&menuShown, {0, 0, 200, 34}, black));
    EXPECT_EQ(0, countPixelsNotOf(&linkShown, {0, 0, 100, 20}, white));
    EXPECT_EQ(0, countPixelsNotOf(&frameShown, {0, 0, 100, 1}, makePixel(210, 210, 210)));
    EXPECT_EQ(0, countPixelsNotOf(&frameShown, {1, 1, 99, 59}, white));
}

// The copy of the library loaded here has no theme beside it either.
TEST(Registration, hostWithoutTheThemeStillGetsEveryClass) {
    if (!runsInOwnProcess()) {
        return;
    }
    ASSERT_NE(nullptr, loadVelmoWithoutTheme());
    for (const VelmoClass& expected : velmoClasses) {
        WNDCLASSEXA record;
        EXPECT_TRUE(findClass(expected.name, &record)) << expected.name;
    }
    EXPECT_EQ(nullptr, findControlBitmap("button", "buttonLeft"));
    HWND host = createHost(nullptr);
    expectBareControls(host);
    DestroyWindow(host);
}

// The program's own folder holds the whole theme too, so only loads by the
// library's folder find the copy's one bitmap and nothing else.
TEST(ThemeFolder, aLibraryTakesTheThemeBesideItselfNotBesideTheProgram) {
    if (!runsInOwnProcess()) {
        return;
    }
    loadWithOddLink(besideOwnCopy);
    EXPECT_EQ(nullptr, findControlBitmap("list", "list"));
}

// The library reads its own folder in wide characters, and passes over a
// current folder's file that is no bitmap.
TEST(ThemeFolder, aLibraryUnderAWideNameTakesItsThemeOverABrokenFile) {
    if (!runsInOwnProcess()) {
        return;
    }
    loadWithOddLink(besideWideNamedCopy);
}

// The current folder's file is taken although the library's folder, and the
// program's, hold one of the same name.
TEST(ThemeFolder, currentFolderWinsFileByFile) {
    if (!runsInOwnProcess()) {
        return;
    }
    loadWithOddLink(overTheWholeTheme);
    Pixels list = loadBitmapPixels("bitmap/list.bmp");
    SIZE listSize = findBitmapSize("list", "list");
    EXPECT_EQ(list.width, listSize.cx);
    EXPECT_EQ(list.height, listSize.cy);
}

// In the dark appearance a file that the dark 2x set lacks is drawn from the
// dark 1x set, stretched, before the light 2x set's: at every DPI the button's
// middle shows the dark file. The sets are read from the current folder when
// a control first draws from them.
TEST(ThemeFolder, darkDrawsItsOwnSetBeforeALightDoubledOne) {
    if (!runsInOwnProcess()) {
        return;
    }
    const uint32_t blue = makePixel(20, 40, 200);
    Pixels darkMiddle = {10, 34, std::vector<uint32_t>(10 * 34, blue)};
    Pixels lightDoubled = {20, 68, std::vector<uint32_t>(20 * 68, makePixel(0, 200, 0))};
    char folder[MAX_PATH];
    char previous[MAX_PATH];
    ASSERT_NE(nullptr, loadVelmoWithoutTheme());
    ASSERT_TRUE(makeTemporaryFolder(folder));
    const std::string theme = std::string(folder) + "\\bitmap";
    const std::string files[] = {theme + "\\dark\\buttonmiddle.bmp", theme + "\\2x\\buttonmiddle.bmp"};
    for (const char* subfolder : {"", "\\dark", "\\2x"}) {
        CreateDirectoryA((theme + subfolder).c_str(), nullptr);
    }
    ASSERT_TRUE(saveBitmapFile(files[0].c_str(), &darkMiddle) && saveBitmapFile(files[1].c_str(), &lightDoubled));
    ASSERT_TRUE(setLightThemeValue(0, false));
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(folder);
    HWND host = createHost(nullptr);
    HWND button = createChild(VELMO_BUTTON_CLASS, "", host, 1, 0, 0, 200, 34);
    Pixels shown = printWindow(button);
    DestroyWindow(host);
    SetCurrentDirectoryA(previous);
    setLightThemeValue(-1, false);
    for (const std::string& path : {files[0], files[1]}) {
        DeleteFileA(path.c_str());
    }
    for (const char* subfolder : {"\\dark", "\\2x", ""}) {
        RemoveDirectoryA((theme + subfolder).c_str());
    }
    RemoveDirectoryA(folder);
    EXPECT_EQ(shown.width * shown.height, countPixelsOf(&shown, {0, 0, shown.width, shown.height}, blue));
}

}  // namespace
