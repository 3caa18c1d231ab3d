// What readers see of the controls through their client objects: each
// class's role, name, states and default action, the tab menu's and the
// list's children, the events, an object that outlives its window, and a
// reader in another process (of the other bitness too where the build has one).
#include <gtest/gtest.h>

#include <oleacc.h>

#include <array>
#include <string>
#include <vector>

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
const int controlWidth = 240;
const int controlHeight = 34;
const int controlId = 7;
const char drawnText[] = "&Save && go";
// Greek, Cyrillic and a surrogate pair: nothing that code page 1252 holds.
const wchar_t worldText[] = L"\u03a9\u03bc\u03ad\u03b3\u03b1 \u0416\u0443\u043a A\U0001F600B";

VARIANT childId(LONG id) {
    VARIANT variant;
    V_VT(&variant) = VT_I4;
    V_I4(&variant) = id;
    return variant;
}

std::wstring takeString(BSTR text) {
    std::wstring taken = text != nullptr ? text : L"";
    SysFreeString(text);
    return taken;
}

std::wstring readName(IAccessible* object, LONG child) {
    BSTR name = nullptr;
    EXPECT_EQ(S_OK, object->get_accName(childId(child), &name));
    return takeString(name);
}

std::wstring readAction(IAccessible* object, LONG child) {
    BSTR action = nullptr;
    object->get_accDefaultAction(childId(child), &action);
    return takeString(action);
}

LONG readRole(IAccessible* object, LONG child) {
    VARIANT role = {};
    EXPECT_EQ(S_OK, object->get_accRole(childId(child), &role));
    return V_I4(&role);
}

LONG readStates(IAccessible* object, LONG child) {
    VARIANT states = {};
    EXPECT_EQ(S_OK, object->get_accState(childId(child), &states));
    return V_I4(&states);
}

// Left, top, width and height, as accLocation gives them.
using Location = std::array<LONG, 4>;

Location readLocation(IAccessible* object, LONG child) {
    Location location = {};
    EXPECT_EQ(S_OK, object->accLocation(&location[0], &location[1], &location[2], &location[3], childId(child)));
    return location;
}

// The child that a call answers in a VARIANT; VT_EMPTY reads as -1.
LONG readChild(HRESULT (STDMETHODCALLTYPE IAccessible::*read)(VARIANT*), IAccessible* object) {
    VARIANT child = {};
    (object->*read)(&child);
    return V_VT(&child) == VT_I4 ? V_I4(&child) : -1;
}

// Readers' calls arrive through this thread's message loop: it belongs to a
// single-threaded apartment, as a host's user interface thread does.
class Accessibility : public HostedTest {
protected:
    Accessibility() : HostedTest(accessibilityArea, hostWidth, hostHeight) {}

    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        HostedTest::SetUp();
    }

    void TearDown() override {
        for (IAccessible* object : objects) {
            object->Release();
        }
        HostedTest::TearDown();
        CoUninitialize();
    }

    // The text is set after creation, as the edit's field takes it only then.
    HWND createControl(const char* className, DWORD style = WS_TABSTOP, int top = controlTop) {
        HWND control =
            createChild(className, "", host, controlId, controlLeft, top, controlWidth, controlHeight, style);
        SetWindowTextA(control, drawnText);
        return control;
    }

    // The control's client object, which the fixture releases.
    IAccessible* read(HWND control) {
        IAccessible* object = nullptr;
        EXPECT_EQ(S_OK, AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible,
                                                   reinterpret_cast<void**>(&object)));
        if (object != nullptr) {
            objects.push_back(object);
        }
        return object;
    }

    // A box in the host's client area as a location on the screen.
    Location toScreen(RECT box) {
        return {origin.x + box.left, origin.y + box.top, box.right - box.left, box.bottom - box.top};
    }

    std::vector<IAccessible*> objects;
};

class EveryClass : public Accessibility, public ::testing::WithParamInterface<VelmoClass> {};

TEST_P(EveryClass, readsAsItsRoleNameStatesActionAndPlace) {
    const VelmoClass& row = GetParam();
    HWND control = createControl(row.name);
    IAccessible* object = read(control);
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(row.role, readRole(object, CHILDID_SELF));
    EXPECT_EQ(row.readName, readName(object, CHILDID_SELF));
    EXPECT_EQ(LONG(row.states | STATE_SYSTEM_FOCUSABLE), readStates(object, CHILDID_SELF));
    EXPECT_EQ(row.action != nullptr ? row.action : L"", readAction(object, CHILDID_SELF));
    RECT box = {controlLeft, controlTop, controlLeft + controlWidth, controlTop + controlHeight};
    EXPECT_EQ(toScreen(box), readLocation(object, CHILDID_SELF));
}

TEST_P(EveryClass, statesFollowFocusEnablingAndShowing) {
    HWND control = createControl(GetParam().name);
    IAccessible* object = read(control);
    ASSERT_NE(nullptr, object);
    SetFocus(control);
    EXPECT_NE(0, readStates(object, CHILDID_SELF) & STATE_SYSTEM_FOCUSED);
    EnableWindow(control, FALSE);
    EXPECT_NE(0, readStates(object, CHILDID_SELF) & STATE_SYSTEM_UNAVAILABLE);
    ShowWindow(control, SW_HIDE);
    EXPECT_NE(0, readStates(object, CHILDID_SELF) & STATE_SYSTEM_INVISIBLE);
}

// The parent gets the click's WM_COMMAND; a disabled control refuses.
TEST_P(EveryClass, defaultActionClicksWhileEnabled) {
    const VelmoClass& row = GetParam();
    IAccessible* object = read(createControl(row.name));
    ASSERT_NE(nullptr, object);
    HRESULT done = object->accDoDefaultAction(childId(CHILDID_SELF));
    std::vector<RecordedMessage> clicks;
    if (row.action != nullptr) {
        EXPECT_EQ(S_OK, done);
        clicks.push_back({host, WM_COMMAND, controlId, 0});
    } else {
        EXPECT_TRUE(FAILED(done));
    }
    EXPECT_EQ(clicks, recorder.messages);
    EnableWindow(GetWindow(host, GW_CHILD), FALSE);
    EXPECT_TRUE(FAILED(object->accDoDefaultAction(childId(CHILDID_SELF))));
    EXPECT_EQ(clicks, recorder.messages);
}

// A Unicode host's text, given at creation and set later, comes back whole
// (the edit's creation text is its own, what it reads is its field's) and
// is what readers hear.
TEST_P(EveryClass, wideTextKeepsEveryUnitAndReadsWhole) {
    wchar_t className[64];
    MultiByteToWideChar(CP_ACP, 0, GetParam().name, -1, className, 64);
    HWND control = CreateWindowExW(0, className, worldText, WS_CHILD | WS_VISIBLE, controlLeft, controlTop,
                                   controlWidth, controlHeight, host, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, control);
    wchar_t shown[64] = L"";
    InternalGetWindowText(control, shown, 64);
    EXPECT_EQ(std::wstring(worldText), shown) << "at creation";
    SetWindowTextW(control, worldText);
    GetWindowTextW(control, shown, 64);
    EXPECT_EQ(std::wstring(worldText), shown);
    IAccessible* object = read(control);
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(worldText, readName(object, CHILDID_SELF));
}

std::string nameOf(const ::testing::TestParamInfo<VelmoClass>& info) {
    return info.param.name;
}

// The controls: the classes that describe themselves to readers.
std::vector<VelmoClass> findControlClasses() {
    std::vector<VelmoClass> controls;
    for (const VelmoClass& row : velmoClasses) {
        if (row.role != 0) {
            controls.push_back(row);
        }
    }
    return controls;
}

INSTANTIATE_TEST_SUITE_P(Accessibility, EveryClass, ::testing::ValuesIn(findControlClasses()), nameOf);

TEST_F(Accessibility, buttonReadsPressedWhileDrawnPressed) {
    HWND button = createControl(VELMO_BUTTON_CLASS, 0);
    IAccessible* object = read(button);
    ASSERT_NE(nullptr, object);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(STATE_SYSTEM_PRESSED, readStates(object, CHILDID_SELF));
    SendMessageA(button, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(0, readStates(object, CHILDID_SELF));
}

TEST_F(Accessibility, parentIsTheHoldingWindowsObject) {
    IAccessible* object = read(createControl(VELMO_LINK_CLASS));
    ASSERT_NE(nullptr, object);
    IDispatch* parent = nullptr;
    ASSERT_EQ(S_OK, object->get_accParent(&parent));
    IAccessible* parentObject = nullptr;
    ASSERT_EQ(S_OK, parent->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&parentObject)));
    objects.push_back(parentObject);
    parent->Release();
    HWND window = nullptr;
    EXPECT_EQ(S_OK, WindowFromAccessibleObject(parentObject, &window));
    EXPECT_EQ(host, window);
}

// An item's box in the control, as a box in the host's client area.
RECT inControl(RECT box) {
    OffsetRect(&box, controlLeft, controlTop);
    return box;
}

RECT tabBox(int position) {
    return inControl(getTabBoxAt96(position));
}

TEST_F(Accessibility, tabsAreChildrenPressedByTheirDefaultAction) {
    HWND tabs = createControl(VELMO_TAB_MENU_CLASS);
    for (const char* caption : {"&One", static_cast<const char*>(nullptr), "T&&wo"}) {
        SendMessageA(tabs, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption));
    }
    IAccessible* object = read(tabs);
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(S_OK, object->accDoDefaultAction(childId(3)));
    EXPECT_EQ((std::vector<RecordedMessage>{{host, WM_COMMAND, MAKEWPARAM(controlId, 1), 0}}), recorder.messages);
    SetFocus(tabs);
    SendMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 0);

    LONG count = 0;
    EXPECT_EQ(S_OK, object->get_accChildCount(&count));
    ASSERT_EQ(3, count);
    const wchar_t* names[] = {L"One", L"", L"T&wo"};
    const LONG states[] = {STATE_SYSTEM_SELECTABLE, STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSED,
                           STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED};
    for (LONG child = 1; child <= count; child++) {
        SCOPED_TRACE(child);
        EXPECT_EQ(ROLE_SYSTEM_PAGETAB, readRole(object, child));
        EXPECT_EQ(names[child - 1], readName(object, child));
        EXPECT_EQ(states[child - 1], readStates(object, child));
        EXPECT_EQ(L"Switch", readAction(object, child));
        EXPECT_EQ(toScreen(tabBox(child - 1)), readLocation(object, child));
        IDispatch* childObject = nullptr;
        EXPECT_EQ(S_FALSE, object->get_accChild(childId(child), &childObject));
    }
    EXPECT_EQ(3, readChild(&IAccessible::get_accSelection, object));
    EXPECT_EQ(2, readChild(&IAccessible::get_accFocus, object));
    VARIANT hit = {};
    Location second = toScreen(tabBox(1));
    EXPECT_EQ(S_OK, object->accHitTest(second[0] + 5, second[1] + 5, &hit));
    EXPECT_EQ(2, V_I4(&hit));
    EXPECT_EQ(S_OK, object->accHitTest(second[0] - 5, second[1] + 5, &hit));
    EXPECT_EQ(CHILDID_SELF, V_I4(&hit));
    VARIANT beside = {};
    EXPECT_EQ(S_OK, object->accNavigate(NAVDIR_RIGHT, childId(2), &beside));
    EXPECT_EQ(3, V_I4(&beside));
    EXPECT_EQ(S_FALSE, object->accNavigate(NAVDIR_LEFT, childId(1), &beside));
}

// A host that removes a tab and adds one through the exported list functions
// between two paints: the new tab, whose records may take the freed ones'
// addresses, reads and draws its own caption, and the others keep their
// whole UTF-16 text, as in a menu that got the same captions by message.
TEST_F(Accessibility, tabsEditedThroughTheExportedListKeepTheirOwnCaptions) {
    const wchar_t* captions[] = {worldText, L"\u0416", L"\u03a9"};
    HWND edited = createControl(VELMO_TAB_MENU_CLASS, 0);
    HWND sent = createControl(VELMO_TAB_MENU_CLASS, 0, controlTop + 2 * controlHeight);
    for (const wchar_t* caption : captions) {
        SendMessageW(edited, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption));
    }
    repaintNow(edited);
    ListItem* tabs = reinterpret_cast<ListItem*>(GetWindowLongPtrA(edited, GWLP_USERDATA));
    for (int removed : {1, 2}) {
        removeFromList(tabs, removed, reinterpret_cast<void (*)(void*)>(deleteTab));
        addTabToList(tabs, newTab("Fresh", 0));
    }
    for (const wchar_t* caption : {captions[0], captions[2], L"Fresh"}) {
        SendMessageW(sent, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption));
    }
    IAccessible* object = read(edited);
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(worldText, readName(object, 1));
    EXPECT_EQ(L"Fresh", readName(object, 3));
    repaintNow(edited);
    repaintNow(sent);
    EXPECT_EQ(captureWindow(sent).data, captureWindow(edited).data);
}

TEST_F(Accessibility, severalPressedTabsReadAsAnEnumeratedSelection) {
    HWND tabs = createControl(VELMO_TAB_MENU_CLASS);
    for (int tab = 0; tab < 3; tab++) {
        SendMessageA(tabs, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Tab"));
    }
    IAccessible* object = read(tabs);
    ASSERT_NE(nullptr, object);
    object->accDoDefaultAction(childId(1));
    object->accDoDefaultAction(childId(3));
    VARIANT selection = {};
    ASSERT_EQ(S_OK, object->get_accSelection(&selection));
    ASSERT_EQ(VT_UNKNOWN, V_VT(&selection));
    IEnumVARIANT* children = nullptr;
    ASSERT_EQ(S_OK, V_UNKNOWN(&selection)->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&children)));
    VARIANT read[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, children->Next(3, read, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_EQ(1, V_I4(&read[0]));
    EXPECT_EQ(3, V_I4(&read[1]));
    children->Release();
    VariantClear(&selection);
}

TEST_F(Accessibility, rowsAreReadOnlyChildrenInOrder) {
    int listWidth = getRowBoxAt96(0).right;
    // Two rows and part of the third in view.
    HWND list = createChild(VELMO_LIST_CLASS, "Rows", host, controlId, controlLeft, controlTop, listWidth, 70,
                            WS_VSCROLL);
    for (const char* text : {"&Alpha", "B&&c"}) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(worldText));
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    IAccessible* object = read(list);
    ASSERT_NE(nullptr, object);
    const wchar_t* names[] = {L"Alpha", L"B&c", worldText};
    for (LONG child = 1; child <= 3; child++) {
        SCOPED_TRACE(child);
        EXPECT_EQ(ROLE_SYSTEM_LISTITEM, readRole(object, child));
        EXPECT_EQ(names[child - 1], readName(object, child));
        EXPECT_EQ(STATE_SYSTEM_READONLY, readStates(object, child));
        EXPECT_EQ(toScreen(inControl(getRowBoxAt96(child - 1))), readLocation(object, child));
    }
    VARIANT next = {};
    EXPECT_EQ(S_OK, object->accNavigate(NAVDIR_NEXT, childId(1), &next));
    EXPECT_EQ(2, V_I4(&next));
    EXPECT_EQ(S_OK, object->accNavigate(NAVDIR_DOWN, childId(1), &next));
    EXPECT_EQ(2, V_I4(&next));
    EXPECT_EQ(S_FALSE, object->accNavigate(NAVDIR_NEXT, childId(3), &next));
    EXPECT_EQ(S_OK, object->accNavigate(NAVDIR_LASTCHILD, childId(CHILDID_SELF), &next));
    EXPECT_EQ(3, V_I4(&next));
    // Scrolled by one row, the first reads offscreen where it would stand.
    SendMessageA(list, LB_SETTOPINDEX, 1, 0);
    EXPECT_EQ(STATE_SYSTEM_READONLY | STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_INVISIBLE, readStates(object, 1));
    EXPECT_EQ(toScreen(inControl(getRowBoxAt96(-1))), readLocation(object, 1));
    EXPECT_EQ(toScreen(inControl(getRowBoxAt96(1))), readLocation(object, 3));
}

// With VELMO_TAB_MENU_FIT readers and the hit test take each tab's measured box.
TEST_F(Accessibility, fitTabsReadTheirMeasuredBoxes) {
    HWND tabs = createControl(VELMO_TAB_MENU_CLASS, VELMO_TAB_MENU_FIT);
    for (const char* caption : {"Notifications & alerts", "B"}) {
        SendMessageA(tabs, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption));
    }
    IAccessible* object = read(tabs);
    ASSERT_NE(nullptr, object);
    Location first = readLocation(object, 1);
    EXPECT_GT(first[2], tabBox(0).right - tabBox(0).left);
    Location second = {first[0] + first[2] - 1 + 10, first[1], 71, first[3]};
    EXPECT_EQ(second, readLocation(object, 2));
    VARIANT hit = {};
    EXPECT_EQ(S_OK, object->accHitTest(second[0] + 5, second[1] + 5, &hit));
    EXPECT_EQ(2, V_I4(&hit));
}

// A password character (it sets the field's ES_PASSWORD) hides the text that
// readers set: they read it empty and protected.
TEST_F(Accessibility, editValueIsItsFieldsTextAndSetsIt) {
    HWND edit = createControl(VELMO_EDIT_CLASS);
    IAccessible* object = read(edit);
    ASSERT_NE(nullptr, object);
    for (char password : {'\0', '*'}) {
        SendMessageA(edit, EM_SETPASSWORDCHAR, password, 0);
        BSTR typed = SysAllocString(L"Typed");
        EXPECT_EQ(S_OK, object->put_accValue(childId(CHILDID_SELF), typed));
        SysFreeString(typed);
        char text[16] = "";
        GetWindowTextA(GetWindow(edit, GW_CHILD), text, sizeof text);
        EXPECT_STREQ("Typed", text);
        BSTR value = nullptr;
        EXPECT_EQ(S_OK, object->get_accValue(childId(CHILDID_SELF), &value));
        EXPECT_EQ(password != 0 ? L"" : L"Typed", takeString(value));
        EXPECT_EQ(password != 0 ? L"" : L"Typed", readName(object, CHILDID_SELF));
        EXPECT_EQ(LONG(STATE_SYSTEM_FOCUSABLE | (password != 0 ? STATE_SYSTEM_PROTECTED : 0)),
                  readStates(object, CHILDID_SELF));
    }
}

TEST_F(Accessibility, anObjectOutlivingItsWindowAnswersWithErrors) {
    HWND button = createControl(VELMO_BUTTON_CLASS);
    IAccessible* object = read(button);
    ASSERT_NE(nullptr, object);
    DestroyWindow(button);
    BSTR name = nullptr;
    EXPECT_EQ(RPC_E_DISCONNECTED, object->get_accName(childId(CHILDID_SELF), &name));
    EXPECT_EQ(RPC_E_DISCONNECTED, object->accDoDefaultAction(childId(CHILDID_SELF)));
    LONG count = 0;
    EXPECT_EQ(RPC_E_DISCONNECTED, object->get_accChildCount(&count));
    EXPECT_TRUE(recorder.messages.empty());
}

struct Event {
    DWORD event;
    LONG child;
    bool operator==(const Event& other) const { return event == other.event && child == other.child; }
};

void PrintTo(const Event& event, std::ostream* out) {
    *out << "{event 0x" << std::hex << event.event << std::dec << ", child " << event.child << "}";
}

struct EventRow {
    const char* name;
    const char* className;
    // With each class's items (three) and, for a row that acts through the
    // keyboard, the focus.
    DWORD style;
    void (*act)(HWND control);
    Event expected;
};

std::vector<Event> events;
HWND watched = nullptr;

void CALLBACK recordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (window == watched && object == OBJID_CLIENT) {
        events.push_back({event, child});
    }
}

void setText(HWND control) {
    SetWindowTextA(control, "New");
}

void press(HWND control) {
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 5));
}

const EventRow eventRows[] = {
    {"buttonText", VELMO_BUTTON_CLASS, 0, setText, {EVENT_OBJECT_NAMECHANGE, CHILDID_SELF}},
    {"editText", VELMO_EDIT_CLASS, 0, setText, {EVENT_OBJECT_NAMECHANGE, CHILDID_SELF}},
    {"disabling", VELMO_STATIC_CLASS, 0, [](HWND control) { EnableWindow(control, FALSE); },
     {EVENT_OBJECT_STATECHANGE, CHILDID_SELF}},
    {"buttonPress", VELMO_BUTTON_CLASS, 0, press, {EVENT_OBJECT_STATECHANGE, CHILDID_SELF}},
    {"tabPress", VELMO_TAB_MENU_CLASS, 0, press, {EVENT_OBJECT_SELECTIONADD, 2}},
    {"tabKey", VELMO_TAB_MENU_CLASS, WS_TABSTOP, [](HWND control) { SendMessageA(control, WM_KEYDOWN, VK_END, 0); },
     {EVENT_OBJECT_FOCUS, 3}},
    {"tabByMessage", VELMO_TAB_MENU_CLASS, 0, [](HWND control) { SendMessageA(control, LB_SETCURSEL, 1, 0); },
     {EVENT_OBJECT_SELECTIONADD, 2}},
    {"tabRemoval", VELMO_TAB_MENU_CLASS, 0, [](HWND control) { SendMessageA(control, LB_DELETESTRING, 1, 0); },
     {EVENT_OBJECT_REORDER, CHILDID_SELF}},
    {"rowAddition", VELMO_LIST_CLASS, 0,
     [](HWND control) { SendMessageA(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Row")); },
     {EVENT_OBJECT_REORDER, CHILDID_SELF}},
};

class Events : public Accessibility, public ::testing::WithParamInterface<EventRow> {};

void PrintTo(const EventRow& row, std::ostream* out) {
    *out << row.name;
}

std::string nameEvent(const ::testing::TestParamInfo<EventRow>& info) {
    return info.param.name;
}

TEST_P(Events, reachAnOutOfContextHook) {
    const EventRow& row = GetParam();
    watched = createControl(row.className, row.style);
    for (int item = 0; item < 3; item++) {
        SendMessageA(watched, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Item"));
    }
    if (row.style != 0) {
        SetFocus(watched);
    }
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, recordEvent, GetCurrentProcessId(), 0,
                                         WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(nullptr, hook);
    pumpMessages();
    events.clear();
    row.act(watched);
    pumpMessagesFor(100);
    UnhookWinEvent(hook);
    EXPECT_EQ(std::vector<Event>{row.expected}, events);
}

INSTANTIATE_TEST_SUITE_P(Accessibility, Events, ::testing::ValuesIn(eventRows), nameEvent);

// Runs a reader program on the windows; its output, or "failed" when it
// didn't end with 0.
std::string runReader(const char* program, HWND button, HWND tabs) {
    char commandLine[128];
    snprintf(commandLine, sizeof commandLine, "%s %llx %llx", program, (unsigned long long)(INT_PTR)button,
             (unsigned long long)(INT_PTR)tabs);
    std::string output;
    return runChildProcess(commandLine, &output) == 0 ? output : "failed";
}

std::string formatLine(LONG child, LONG role, DWORD states, Location at, const char* name, const char* action) {
    char line[256];
    snprintf(line, sizeof line, "%ld %ld %lx %ld,%ld,%ld,%ld \"%s\" \"%s\"\r\n", child, role, states, at[0], at[1],
             at[2], at[3], name, action);
    return line;
}

const char* const readers[] = {
    "accessibility_reader.exe",
#ifdef VELMO_OTHER_BITNESS_READER
    VELMO_OTHER_BITNESS_READER,
#endif
};

class OtherProcess : public Accessibility, public ::testing::WithParamInterface<const char*> {};

TEST_P(OtherProcess, readsAButtonAndATabMenu) {
    HWND button = createControl(VELMO_BUTTON_CLASS);
    HWND tabs = createControl(VELMO_TAB_MENU_CLASS, 0, controlTop + 50);
    SendMessageA(tabs, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("&One"));
    SendMessageA(tabs, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Two"));
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 5));
    RECT buttonBox = {controlLeft, controlTop, controlLeft + controlWidth, controlTop + controlHeight};
    RECT tabsBox = buttonBox;
    OffsetRect(&tabsBox, 0, 50);
    RECT firstTab = tabBox(0);
    RECT secondTab = tabBox(1);
    OffsetRect(&firstTab, 0, 50);
    OffsetRect(&secondTab, 0, 50);
    std::string expected =
        formatLine(0, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, toScreen(buttonBox), "Save & go", "Press") +
        formatLine(0, ROLE_SYSTEM_PAGETABLIST, 0, toScreen(tabsBox), "Save & go", "") +
        formatLine(1, ROLE_SYSTEM_PAGETAB, STATE_SYSTEM_SELECTABLE, toScreen(firstTab), "One", "Switch") +
        formatLine(2, ROLE_SYSTEM_PAGETAB, STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED, toScreen(secondTab), "Two",
                   "Switch");
    EXPECT_EQ(expected, runReader(GetParam(), button, tabs));
}

INSTANTIATE_TEST_SUITE_P(Accessibility, OtherProcess, ::testing::ValuesIn(readers));

}  // namespace
