// Every class of the library under abuse: a seeded storm of random messages
// leaves each control painting and answering, and thousands of paints,
// add/remove cycles and window lifetimes leave the process's heap and GDI
// objects where they were. And every class in each appearance that the
// user's settings ask for, switched while it is shown.
//
// VELMO_STORM_SEED=<number> replays another storm; a failure prints its seed.
//
// Counts are scaled to Wine under qemu, where a paint takes 1 to 5 ms: 10,000
// item cycles for the tab menu and the list, 2,000 text cycles, 1,000 paints
// and 300 lifetimes for every class.
// GetGuiResources answers 0 under Wine, so GDI objects are counted over
// Wine's handle table (see support/resources.h); heap bytes by HeapWalk over
// every process heap, the C runtime's included.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>

#include "appearance.h"
#include "hostedtest.h"
#include "pixels.h"
#include "resources.h"
#include "testhost.h"
#include "velmo.h"
#include "velmoclasses.h"

namespace {

const int hostWidth = 320;
const int hostHeight = 256;
const int controlLeft = 10;
const int controlTop = 10;
const int controlId = 1;

const unsigned defaultSeed = 20261208;
// The top-level window's messages cost far more (they reach the display server).
const int stormMessagesPerChild = 10000;
const int stormMessagesPerWindow = 2000;
const UINT highestStormMessage = 0x3FF;
const UINT firstListBoxMessage = LB_ADDSTRING;
const UINT lastListBoxMessage = 0x1B3;
const DWORD answerTimeout = 5000;

const int warmUpCount = 50;
const int paintCount = 1000;
const int itemCycleCount = 10000;
const int textCycleCount = 2000;
const int lifetimeCount = 300;
const int itemsPerLifetime = 3;
// Wine's own caches (DCs, window structures) settle during the warm-up; one
// leaked block or object per paint or cycle would show as hundreds (a list
// dying with its three rows unfreed, as 14 KB over 300 lifetimes).
const size_t heapSlack = 1024;
const int gdiSlack = 16;

// Messages that end the window or the thread's loop, run modal loops (moving,
// sizing, menus), register global hot keys, carry callbacks, or belong to the
// input method: a host never sends them with made-up parameters.
const UINT skippedMessages[] = {
    WM_CREATE,        WM_DESTROY,      WM_CLOSE,         WM_QUIT,            WM_NCCREATE,      WM_NCDESTROY,
    WM_SETHOTKEY,     WM_CONTEXTMENU,  WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDOWN, WM_NCRBUTTONUP,
    WM_NCMBUTTONDOWN, WM_SYSKEYDOWN,   WM_SYSKEYUP,      WM_SYSCHAR,         WM_SYSDEADCHAR,   WM_SYSCOMMAND,
    WM_TIMER,         WM_RBUTTONUP,    WM_IME_STARTCOMPOSITION, WM_IME_ENDCOMPOSITION, WM_IME_COMPOSITION,
    EM_SETWORDBREAKPROC,
};
const UINT firstImeMessage = WM_IME_SETCONTEXT;
const UINT lastImeMessage = WM_IME_KEYUP;

// Messages whose lParam points at something get a zeroed scratch buffer, or
// a short string where a string is expected; EM_GETSEL's wParam points at
// the buffer too.
const UINT bufferMessages[] = {
    WM_GETTEXT,           WM_GETMINMAXINFO,    WM_DRAWITEM,   WM_MEASUREITEM,  WM_DELETEITEM,  WM_COMPAREITEM,
    WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_COPYDATA,   WM_NOTIFY,       WM_HELP,        WM_STYLECHANGING,
    WM_STYLECHANGED,      WM_NCCALCSIZE,       WM_GETDLGCODE, WM_NEXTMENU,     WM_SIZING,      WM_MOVING,
    WM_DEVICECHANGE,      WM_ASKCBFORMATNAME,  WM_GETTITLEBARINFOEX, LB_GETTEXT, LB_GETSELITEMS, LB_SETTABSTOPS,
    LB_GETITEMRECT,       WM_DPICHANGED,
};
const UINT firstMdiMessage = WM_MDICREATE;
const UINT lastMdiMessage = 0x22F;
// The system reads the lParam of the edit and combo box messages as it
// converts their text between ANSI and UTF-16 for a Unicode window, as every
// window of the library is.
const UINT firstEditMessage = EM_GETSEL;
const UINT lastEditMessage = 0xDA;
// The later edit messages (EM_SETCUEBANNER, ...), which the edit's field
// answers too.
const UINT firstExtendedEditMessage = ECM_FIRST;
const UINT lastExtendedEditMessage = BCM_FIRST - 1;
const unsigned extendedEditShare = 8;
const WPARAM editPositionBound = 1000;
// The edit messages whose lParam points at something.
const UINT editPointerMessages[] = {
    EM_GETSEL, EM_GETRECT, EM_SETRECT, EM_SETRECTNP, EM_REPLACESEL, EM_GETLINE, EM_SETTABSTOPS,
    EM_SETCUEBANNER, EM_GETCUEBANNER, EM_SHOWBALLOONTIP,
};
const UINT firstComboBoxMessage = CB_GETEDITSEL;
const UINT lastComboBoxMessage = 0x164;
const UINT stringMessages[] = {
    WM_SETTEXT, WM_SETTINGCHANGE, WM_DEVMODECHANGE, LB_ADDSTRING, LB_INSERTSTRING,
    LB_SELECTSTRING, LB_DIR, LB_FINDSTRING, LB_ADDFILE, LB_FINDSTRINGEXACT,
};
const char* const stormStrings[] = {"", "x", "Storm", "a somewhat longer caption that gets cut somewhere", "\r\n\t"};

// Large enough for any structure above and for LB_GETSELITEMS, which the tab
// menu fills with one entry per pressed tab whatever wParam says.
const size_t scratchSize = 64 * 1024;

template <size_t count>
bool isListed(const UINT (&list)[count], UINT message) {
    for (UINT listed : list) {
        if (listed == message) {
            return true;
        }
    }
    return false;
}

bool isWithin(UINT message, UINT first, UINT last) {
    return message >= first && message <= last;
}

bool isEditMessage(UINT message) {
    return isWithin(message, firstEditMessage, lastEditMessage) ||
           isWithin(message, firstExtendedEditMessage, lastExtendedEditMessage);
}

unsigned readSeed() {
    const char* text = getenv("VELMO_STORM_SEED");
    return text != nullptr ? static_cast<unsigned>(strtoul(text, nullptr, 10)) : defaultSeed;
}

// The installed procedure of the top-level windows here: all to the default.
LRESULT CALLBACK defaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class Storm {
public:
    explicit Storm(unsigned seed) : random(seed), scratch(static_cast<char*>(calloc(1, scratchSize))) {}
    ~Storm() { free(scratch); }
    Storm(const Storm&) = delete;
    Storm& operator=(const Storm&) = delete;

    bool isReady() const { return scratch != nullptr; }

    // Sends count random messages to window, none that is skipped for it.
    void send(HWND window, bool topLevel, int count) {
        for (int sent = 0; sent < count;) {
            UINT message = pickMessage();
            if (isSkipped(message, topLevel)) {
                continue;
            }
            WPARAM wParam = pickValue();
            LPARAM lParam = static_cast<LPARAM>(pickValue());
            prepare(message, &wParam, &lParam);
            SendMessageA(window, message, wParam, lParam);
            sent++;
        }
    }

private:
    std::mt19937 random;
    char* scratch;

    // Half of the storm goes to the list-box range, which two controls handle,
    // and an eighth of the rest to the later edit messages.
    UINT pickMessage() {
        if (random() % 2 == 0) {
            return firstListBoxMessage + random() % (lastListBoxMessage - firstListBoxMessage + 1);
        }
        if (random() % extendedEditShare == 0) {
            return firstExtendedEditMessage + random() % (lastExtendedEditMessage - firstExtendedEditMessage + 1);
        }
        return random() % (highestStormMessage + 1);
    }

    // Edge values, small positions, packed coordinates, or anything.
    WPARAM pickValue() {
        static const WPARAM edges[] = {0, 1, 0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
        switch (random() % 4) {
        case 0:
            return edges[random() % (sizeof edges / sizeof edges[0])];
        case 1:
            return random() % 1000;
        case 2:
            return MAKELONG(random() % 700, random() % 700);
        default:
            return random();
        }
    }

    // A press on the top-level window runs the modal move loop until a release.
    static bool isSkipped(UINT message, bool topLevel) {
        return (topLevel && message == WM_LBUTTONDOWN) || isListed(skippedMessages, message) ||
               (message >= firstImeMessage && message <= lastImeMessage);
    }

    void prepare(UINT message, WPARAM* wParam, LPARAM* lParam) {
        if (isListed(stringMessages, message)) {
            *lParam = reinterpret_cast<LPARAM>(stormStrings[random() % (sizeof stormStrings / sizeof stormStrings[0])]);
        } else if (isListed(bufferMessages, message) || isWithin(message, firstMdiMessage, lastMdiMessage) ||
                   isWithin(message, firstEditMessage, lastEditMessage) ||
                   isWithin(message, firstExtendedEditMessage, lastExtendedEditMessage) ||
                   isWithin(message, firstComboBoxMessage, lastComboBoxMessage)) {
            memset(scratch, 0, scratchSize);
            *lParam = reinterpret_cast<LPARAM>(scratch);
            if (isEditMessage(message) && !isListed(editPointerMessages, message)) {
                // The edit's field is the platform's, whose time for a
                // selection or a scroll grows with the positions and margins
                // it is given: a buffer's address would stand for millions.
                *wParam %= editPositionBound;
                *lParam = static_cast<LPARAM>(pickValue() % editPositionBound);
            }
            if (message == WM_GETTEXT || message == WM_ASKCBFORMATNAME) {
                *wParam %= scratchSize;
            } else if (message == EM_GETSEL) {
                *wParam = reinterpret_cast<WPARAM>(scratch);
            }
        } else if ((message == WM_KEYDOWN || message == WM_KEYUP) && (*wParam == VK_F10 || *wParam == VK_MENU)) {
            *wParam = 'A';  // F10 and Alt open the window menu's modal loop
        }
    }
};

bool isTopLevel(const VelmoClass& kind) {
    return strcmp(kind.name, VELMO_WINDOW_CLASS) == 0;
}

bool takesItems(const VelmoClass& kind) {
    return strcmp(kind.name, VELMO_TAB_MENU_CLASS) == 0 || strcmp(kind.name, VELMO_LIST_CLASS) == 0;
}

void addItem(HWND control) {
    SendMessageA(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Item"));
}

void paint(HWND control) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

struct Usage {
    int gdiObjects;
    size_t heapBytes;
};

Usage measureUsage() {
    pumpMessages();
    return {countGdiObjects(), countHeapBytes()};
}

void expectNoGrowth(const Usage& before, const char* phase) {
    Usage after = measureUsage();
    EXPECT_GT(before.gdiObjects, 0) << "no way to count GDI objects";
    EXPECT_LE(after.gdiObjects, before.gdiObjects + gdiSlack) << phase;
    EXPECT_GT(before.heapBytes, 0u) << "no way to walk the heaps";
    EXPECT_LE(after.heapBytes, before.heapBytes + heapSlack)
        << phase << ": " << static_cast<long long>(after.heapBytes - before.heapBytes) << " bytes more";
}

// The host records nothing: its messages would count as heap growth.
class Robustness : public HostedTest {
protected:
    Robustness() : HostedTest(robustnessArea, hostWidth, hostHeight) { recordsCommands = false; }

    // A child of the host, or a top-level window over the host, in the same
    // area of the display, with the default procedure installed. shown is
    // WS_VISIBLE or 0; a child also takes keyboard (WS_TABSTOP or 0).
    HWND createControl(const VelmoClass& kind, DWORD shown, DWORD keyboard = 0) {
        if (!isTopLevel(kind)) {
            return CreateWindowExA(0, kind.name, "Caption", WS_CHILD | shown | keyboard, controlLeft, controlTop,
                                   kind.width, kind.height, host, reinterpret_cast<HMENU>(controlId),
                                   GetModuleHandleA(nullptr), nullptr);
        }
        HWND window = CreateWindowExA(WS_EX_TOPMOST, kind.name, "Caption", WS_POPUP | shown,
                                      origin.x + controlLeft, origin.y + controlTop, kind.width, kind.height, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
        if (window != nullptr) {
            SendMessageA(window, WM_USER, reinterpret_cast<WPARAM>(defaultProcedure), 0);
        }
        return window;
    }

    // A whole life, hidden: Wine waits up to seconds for the display server to
    // withdraw a shown top-level window. The tab menu and the list die holding
    // items.
    void liveOnce(const VelmoClass& kind) {
        HWND control = createControl(kind, 0);
        if (takesItems(kind)) {
            for (int i = 0; i < itemsPerLifetime; i++) {
                addItem(control);
            }
        }
        DestroyWindow(control);
    }
};

TEST_F(Robustness, EveryClassStillPaintsAndAnswersAfterAStormOfRandomMessages) {
    unsigned seed = readSeed();
    SCOPED_TRACE("VELMO_STORM_SEED=" + std::to_string(seed));
    Storm storm(seed);
    ASSERT_TRUE(storm.isReady());
    // The controls made for the keyboard (WS_TABSTOP), and the tab menu and
    // list with their styles and a scroll bar, weather storms of their own.
    const DWORD styled = WS_VSCROLL | VELMO_TAB_MENU_SINGLE | VELMO_TAB_MENU_FIT | VELMO_LIST_WIDE_ROWS;
    for (DWORD keyboard : {DWORD(0), DWORD(WS_TABSTOP), styled}) {
        for (const VelmoClass& kind : velmoClasses) {
            if ((keyboard != 0 && isTopLevel(kind)) || (keyboard == styled && !takesItems(kind))) {
                continue;
            }
            SCOPED_TRACE(std::string(kind.name) + " with style " + std::to_string(keyboard));
            HWND control = createControl(kind, WS_VISIBLE, keyboard);
            ASSERT_NE(nullptr, control);
            pumpMessages();
            storm.send(control, isTopLevel(kind), isTopLevel(kind) ? stormMessagesPerWindow : stormMessagesPerChild);
            pumpMessages();

            ASSERT_TRUE(IsWindow(control));
            EXPECT_TRUE(RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW));
            EXPECT_TRUE(UpdateWindow(control));
            DWORD_PTR answer = 0;
            EXPECT_NE(0, SendMessageTimeoutA(control, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, answerTimeout, &answer));
            DestroyWindow(control);
        }
    }
}

// One shown window of the class, which the test may change.
class EveryClass : public Robustness, public ::testing::WithParamInterface<VelmoClass> {
protected:
    void setUpAfterHost() override {
        control = createControl(GetParam(), WS_VISIBLE);
        ASSERT_NE(nullptr, control);
    }

    void TearDown() override {
        DestroyWindow(control);
        Robustness::TearDown();
    }

    HWND control = nullptr;
};

TEST_P(EveryClass, PaintsCyclesAndLifetimesLeaveHeapAndGdiObjectsAlone) {
    const VelmoClass& kind = GetParam();
    for (int i = 0; i < warmUpCount; i++) {
        paint(control);
        addItem(control);
        SendMessageA(control, LB_DELETESTRING, 0, 0);
        SetWindowTextA(control, "A caption");
        liveOnce(kind);
    }

    Usage before = measureUsage();
    for (int i = 0; i < paintCount; i++) {
        paint(control);
    }
    expectNoGrowth(before, "paints");

    before = measureUsage();
    if (takesItems(kind)) {
        for (int i = 0; i < itemCycleCount; i++) {
            addItem(control);
            SendMessageA(control, LB_DELETESTRING, 0, 0);
        }
    } else {
        for (int i = 0; i < textCycleCount; i++) {
            SetWindowTextA(control, "A caption");
            SetWindowTextA(control, "");
        }
    }
    expectNoGrowth(before, "add/remove cycles");

    before = measureUsage();
    for (int i = 0; i < lifetimeCount; i++) {
        liveOnce(kind);
    }
    expectNoGrowth(before, "lifetimes");
}

// Differences where the control shows its own pixels: inside its window
// region (the top-level window's rounded one), outside its child window (the
// edit's field), which Wine's PrintWindow leaves out.
int countOwnDifferences(HWND control, const Pixels* printed, const Pixels* shown) {
    RECT child = {0, 0, 0, 0};
    HWND field = GetWindow(control, GW_CHILD);
    if (field != nullptr) {
        GetWindowRect(field, &child);
        MapWindowPoints(nullptr, control, reinterpret_cast<POINT*>(&child), 2);
    }
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    bool shaped = region != nullptr && GetWindowRgn(control, region) != ERROR;
    int differences = 0;
    for (int y = 0; y < shown->height; y++) {
        for (int x = 0; x < shown->width; x++) {
            POINT point = {x, y};
            bool own = !PtInRect(&child, point) && (!shaped || PtInRegion(region, x, y));
            if (own && getPixel(printed, x, y) != getPixel(shown, x, y)) {
                differences++;
            }
        }
    }
    DeleteObject(region);
    return differences;
}

// Printing draws what painting draws: a control printed into a memory DC
// (as a host's screenshot or animation does) matches the screen, items, a
// pressed state and its caption included (a press on the top-level window
// would start its move loop).
// Under the UTF-8 code page that the program's manifest sets, an ANSI host's
// text is UTF-8, and every class, tab and row keeps it whole.
TEST_P(EveryClass, Utf8AnsiTextArrivesWhole) {
    ASSERT_EQ(static_cast<UINT>(CP_UTF8), GetACP());
    const char text[] = "\xce\xa9\xce\xbc \xd0\x96 A\xf0\x9f\x98\x80" "B";
    const wchar_t expected[] = L"\u03a9\u03bc \u0416 A\U0001F600B";
    SetWindowTextA(control, text);
    wchar_t shown[32] = L"";
    GetWindowTextW(control, shown, 32);
    EXPECT_EQ(std::wstring(expected), shown);
    if (takesItems(GetParam())) {
        SendMessageA(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        void* item = reinterpret_cast<ListItem*>(GetWindowLongPtrA(control, GWLP_USERDATA))->data;
        bool isTab = strcmp(GetParam().name, VELMO_TAB_MENU_CLASS) == 0;
        EXPECT_STREQ(text, isTab ? static_cast<Tab*>(item)->caption : static_cast<const char*>(item));
    }
}

TEST_P(EveryClass, PrintedPixelsEqualThoseOnScreen) {
    for (int i = 0; i < itemsPerLifetime; i++) {
        addItem(control);
    }
    if (!isTopLevel(GetParam())) {
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(controlLeft, controlTop));
    }
    paint(control);
    Pixels shown = captureWindow(control);
    Pixels printed = printWholeWindow(control);
    ASSERT_GT(shown.width, 0);
    ASSERT_EQ(shown.width, printed.width);
    ASSERT_EQ(shown.height, printed.height);
    EXPECT_EQ(0, countOwnDifferences(control, &printed, &shown));
}

bool pressesOnAClick(const VelmoClass& kind) {
    return strcmp(kind.name, VELMO_BUTTON_CLASS) == 0 || strcmp(kind.name, VELMO_TAB_MENU_CLASS) == 0;
}

int countPixels(const Pixels* image, uint32_t colour) {
    return countPixelsOf(image, RECT{0, 0, image->width, image->height}, colour);
}

uint32_t findCommonestPixel(const Pixels* image) {
    std::map<uint32_t, int> counts;
    for (uint32_t pixel : image->data) {
        counts[pixel]++;
    }
    auto commonest = counts.begin();
    for (auto entry = counts.begin(); entry != counts.end(); ++entry) {
        if (entry->second > commonest->second) {
            commonest = entry;
        }
    }
    return commonest->first;
}

double findStrongestContrast(const Pixels* image, uint32_t against) {
    double strongest = 1;
    for (uint32_t pixel : image->data) {
        strongest = std::max(strongest, measureContrast(pixel, against));
    }
    return strongest;
}

// A text's edges blend its colour into what lies under it: each channel lies
// between the two (Wine blends each with a gamma of its own).
bool isBlend(uint32_t pixel, uint32_t text, uint32_t under) {
    const int slack = 2;
    for (int shift : {16, 8, 0}) {
        int from = (text >> shift) & 0xFF;
        int to = (under >> shift) & 0xFF;
        int value = (pixel >> shift) & 0xFF;
        if (value < std::min(from, to) - slack || value > std::max(from, to) + slack) {
            return false;
        }
    }
    return true;
}

// A pair of system colours that a control draws: a face and its text.
struct ColourPair {
    int face;
    int text;
};

// How many pixels are one of the pairs' colours or the outline's, or a text
// blended into its face.
int countSchemePixels(const Pixels* image, const std::vector<ColourPair>& pairs) {
    int count = 0;
    for (uint32_t pixel : image->data) {
        bool ours = pixel == getSchemePixel(COLOR_WINDOWTEXT);
        for (const ColourPair& pair : pairs) {
            uint32_t face = getSchemePixel(pair.face);
            ours = ours || pixel == face || (pair.text >= 0 && isBlend(pixel, getSchemePixel(pair.text), face));
        }
        count += ours ? 1 : 0;
    }
    return count;
}

// Shown with its items and caption; pressed, where a click presses it. The
// top-level window's corners are squared: outside its region it reads black.
class EveryAppearance : public EveryClass {
protected:
    Pixels showControl(bool pressed) {
        SetWindowRgn(control, nullptr, FALSE);
        for (; itemsAdded < itemsPerLifetime; itemsAdded++) {
            addItem(control);
        }
        if (pressed) {
            SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(controlLeft, controlTop));
        }
        paint(control);
        return captureWindow(control);
    }

    int itemsAdded = 0;

    void switchToHighContrast() {
        ASSERT_TRUE(setTestScheme());
        ASSERT_TRUE(reportHighContrast(true));
    }

    void TearDown() override {
        useTheme(nullptr);
        reportHighContrast(false);
        restoreSystemColours();
        setLightThemeValue(-1, true);
        EveryClass::TearDown();
    }
};

// In high contrast each control draws in its pair of system colours and
// outlines in the window text's colour, switched while it is shown.
TEST_P(EveryAppearance, highContrastDrawsInSystemColoursOnly) {
    const VelmoClass& kind = GetParam();
    switchToHighContrast();
    Pixels shown = showControl(false);
    EXPECT_GT(countPixels(&shown, getSchemePixel(kind.systemBody)), 0);
    if (kind.systemText >= 0) {
        EXPECT_GT(countPixels(&shown, getSchemePixel(kind.systemText)), 0);
    }
    EXPECT_EQ(shown.width * shown.height, countSchemePixels(&shown, {{kind.systemBody, kind.systemText}}));
}

// A pressed button or tab turns to the highlight's pair; the other tabs stay.
TEST_P(EveryAppearance, highContrastDrawsAPressInTheHighlightColours) {
    const VelmoClass& kind = GetParam();
    if (!pressesOnAClick(kind)) {
        GTEST_SKIP() << "a click presses nothing";
    }
    switchToHighContrast();
    Pixels shown = showControl(true);
    EXPECT_GT(countPixels(&shown, getSchemePixel(COLOR_HIGHLIGHT)), 0);
    EXPECT_GT(countPixels(&shown, getSchemePixel(COLOR_HIGHLIGHTTEXT)), 0);
    if (takesItems(kind)) {
        EXPECT_GT(countPixels(&shown, getSchemePixel(kind.systemText)), 0);
    }
    std::vector<ColourPair> pairs = {{kind.systemBody, kind.systemText}, {COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT}};
    EXPECT_EQ(shown.width * shown.height, countSchemePixels(&shown, pairs));
}

// Every text pixel of a disabled control turns grey.
TEST_P(EveryAppearance, highContrastGreysADisabledControlsText) {
    const VelmoClass& kind = GetParam();
    if (kind.systemText < 0) {
        GTEST_SKIP() << "draws no text of its own";
    }
    switchToHighContrast();
    const uint32_t text = getSchemePixel(kind.systemText);
    Pixels enabled = showControl(false);
    int enabledText = countPixels(&enabled, text);
    EnableWindow(control, FALSE);
    Pixels disabled = showControl(false);
    EXPECT_GT(countPixels(&disabled, getSchemePixel(COLOR_GRAYTEXT)), 0);
    EXPECT_EQ(enabledText, countPixels(&disabled, text) + countPixels(&disabled, getSchemePixel(COLOR_GRAYTEXT)));
}

// The shipped theme restyles every class while it is shown, for the whole
// process or for the window round it, and the built-in theme comes back
// pixel for pixel.
TEST_P(EveryAppearance, shippedThemeRestylesLiveAndTheBuiltInOneComesBack) {
    Pixels builtIn = showControl(pressesOnAClick(GetParam()));
    ASSERT_TRUE(useTheme(L"slate"));
    Pixels themed = captureWindow(control);
    EXPECT_NE(builtIn.data, themed.data);
    ASSERT_TRUE(useTheme(nullptr));
    EXPECT_EQ(builtIn.data, captureWindow(control).data);
    HWND around = isTopLevel(GetParam()) ? control : host;
    ASSERT_TRUE(useWindowTheme(around, L"slate"));
    EXPECT_EQ(themed.data, captureWindow(control).data);
    ASSERT_TRUE(useWindowTheme(around, nullptr));
    EXPECT_EQ(builtIn.data, captureWindow(control).data);
}

// Under the pointer with no button down a button, a link or a tab takes the
// theme's hot look, and a disabled one its disabled look; the built-in
// theme has neither, and keeps its pixels.
TEST_P(EveryAppearance, hotAndDisabledLooksComeOnlyFromATheme) {
    if (!pressesOnAClick(GetParam()) && strcmp(GetParam().name, VELMO_LINK_CLASS) != 0) {
        GTEST_SKIP() << "has no hot look";
    }
    const LPARAM point = MAKELPARAM(controlLeft + 5, controlTop);
    Pixels normal = showControl(false);
    SendMessageA(control, WM_MOUSEMOVE, 0, point);
    paint(control);
    EXPECT_EQ(normal.data, captureWindow(control).data) << "built-in, hot";
    SendMessageA(control, WM_MOUSELEAVE, 0, 0);
    ASSERT_TRUE(useTheme(L"slate"));
    Pixels themed = captureWindow(control);
    SendMessageA(control, WM_MOUSEMOVE, 0, point);
    paint(control);
    Pixels hot = captureWindow(control);
    EXPECT_NE(themed.data, hot.data);
    SendMessageA(control, WM_MOUSELEAVE, 0, 0);
    paint(control);
    EXPECT_EQ(themed.data, captureWindow(control).data) << "left";
    EnableWindow(control, FALSE);
    paint(control);
    EXPECT_NE(themed.data, captureWindow(control).data) << "disabled";
    EXPECT_TRUE(useTheme(nullptr));
}

// Asked to erase as it prints, a control covers the caller's canvas as the
// screen shows it, in the light appearance and in high contrast.
TEST_P(EveryAppearance, printingThatErasesShowsWhatTheScreenShows) {
    if (isTopLevel(GetParam())) {
        GTEST_SKIP() << "its host's procedure answers the print";
    }
    for (bool highContrast : {false, true}) {
        SCOPED_TRACE(highContrast ? "high contrast" : "light");
        if (highContrast) {
            switchToHighContrast();
        }
        Pixels shown = showControl(false);
        Pixels printed = printWindow(control, []() {}, PRF_CLIENT | PRF_ERASEBKGND);
        ASSERT_EQ(shown.data.size(), printed.data.size());
        EXPECT_EQ(0, countOwnDifferences(control, &printed, &shown));
    }
}

// Dark and back while shown: a white body turns dark, text stays readable,
// and light again draws as before, pixel for pixel.
TEST_P(EveryAppearance, darkFollowsTheSettingBothWays) {
    const VelmoClass& kind = GetParam();
    Pixels light = showControl(pressesOnAClick(kind));
    ASSERT_TRUE(setLightThemeValue(0, true));
    paint(control);
    Pixels dark = captureWindow(control);
    uint32_t body = findCommonestPixel(&dark);
    if (kind.background == RGB(255, 255, 255)) {
        EXPECT_LT(measureContrast(body, 0), 2.0);
    }
    if (kind.systemText >= 0) {
        EXPECT_GE(findStrongestContrast(&dark, body), 4.5);
    }
    ASSERT_TRUE(setLightThemeValue(-1, true));
    paint(control);
    Pixels lightAgain = captureWindow(control);
    EXPECT_EQ(light.data, lightAgain.data);
}

std::string nameOf(const ::testing::TestParamInfo<VelmoClass>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Robustness, EveryClass, ::testing::ValuesIn(velmoClasses), nameOf);
INSTANTIATE_TEST_SUITE_P(Robustness, EveryAppearance, ::testing::ValuesIn(velmoClasses), nameOf);

// A process that starts with the setting at dark draws dark from its first
// control on. Run alone: the library reads the settings once.
TEST_F(Robustness, startsDarkWhenTheSettingSaysSo) {
    if (!runsInOwnProcess()) {
        return;
    }
    ASSERT_TRUE(setLightThemeValue(0, false));
    VelmoClass kind = {};
    kind.name = VELMO_LIST_CLASS;
    kind.width = 200;
    kind.height = 200;
    HWND list = createControl(kind, WS_VISIBLE);
    setLightThemeValue(-1, false);
    paint(list);
    Pixels shown = captureWindow(list);
    EXPECT_LT(measureContrast(findCommonestPixel(&shown), 0), 2.0);
    DestroyWindow(list);
}

// Switching between the shipped and the built-in theme while 50 controls
// are shown frees every theme that goes: GDI objects and heap stay put.
TEST_F(Robustness, switchingThemesWhileShownLeavesNothingBehind) {
    const int shownCount = 50;
    const int switchCount = 100;
    std::vector<HWND> shown;
    for (int index = 0; index < shownCount; index++) {
        const VelmoClass& kind = velmoClasses[1 + index % (velmoClassCount - 1)];
        shown.push_back(createControl(kind, WS_VISIBLE));
        addItem(shown.back());
    }
    for (int index = 0; index < warmUpCount / 10; index++) {
        ASSERT_TRUE(useTheme(index % 2 == 0 ? L"slate" : nullptr));
    }
    Usage before = measureUsage();
    for (int index = 0; index < switchCount; index++) {
        ASSERT_TRUE(useTheme(index % 2 == 0 ? L"slate" : nullptr));
    }
    expectNoGrowth(before, "theme switches");
    for (HWND control : shown) {
        DestroyWindow(control);
    }
}

}  // namespace
