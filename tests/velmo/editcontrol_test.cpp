// The edit control as its host and the screen see it.
#include <gtest/gtest.h>

#include <string>

#include "keyboard.h"
#include "pixels.h"
#include "resources.h"
#include "hostedtest.h"
#include "testhost.h"
#include "velmo.h"

namespace {

const int hostWidth = 300;
const int hostHeight = 120;
const int editLeft = 20;
const int editTop = 20;
const int editWidth = 200;
const int editHeight = 24;
const int textSize = 64;
const int editId = 9;

std::string getText(HWND window) {
    char text[textSize] = "";
    GetWindowTextA(window, text, textSize);
    return text;
}

// The control's own window text, which the relay leaves alone.
std::string getOwnText(HWND window) {
    char text[textSize] = "";
    DefWindowProcA(window, WM_GETTEXT, textSize, reinterpret_cast<LPARAM>(text));
    return text;
}

class EditHost : public HostedTest {
protected:
    EditHost() : HostedTest(editArea, hostWidth, hostHeight) {}

    HWND createEdit(const char* text, int top, DWORD style = 0) {
        return createChild(VELMO_EDIT_CLASS, text, host, editId, editLeft, top, editWidth, editHeight, style);
    }
};

using EditMessages = EditHost;
using EditPixels = EditHost;
using EditLifetime = EditHost;
using EditKeyboard = EditHost;

// The field takes the edit styles given to the control, and follows its size.
TEST_F(EditMessages, fieldSitsOnePixelInsideWithTheSharedFont) {
    const DWORD styles = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_PASSWORD | ES_NUMBER | ES_READONLY |
                         ES_AUTOHSCROLL | ES_RIGHT | ES_UPPERCASE;
    HWND edit = createEdit("", editTop, styles);
    ASSERT_NE(nullptr, edit);
    HWND field = GetWindow(edit, GW_CHILD);
    ASSERT_NE(nullptr, field);
    char className[16] = "";
    GetClassNameA(field, className, sizeof className);
    EXPECT_STRCASEEQ("Edit", className);
    RECT placed;
    GetWindowRect(field, &placed);
    MapWindowPoints(nullptr, edit, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(1, placed.left);
    EXPECT_EQ(1, placed.top);
    EXPECT_EQ(editWidth - 2, placed.right - placed.left);
    EXPECT_EQ(editHeight - 2, placed.bottom - placed.top);
    EXPECT_EQ(reinterpret_cast<LRESULT>(getMainFont()), SendMessageA(field, WM_GETFONT, 0, 0));
    EXPECT_EQ(styles, GetWindowLongA(field, GWL_STYLE) & 0xFFFF);
    SetWindowPos(edit, nullptr, 0, 0, editWidth / 2, editHeight * 2, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(field, &placed);
    EXPECT_EQ(editWidth / 2 - 2, placed.right - placed.left);
    EXPECT_EQ(editHeight * 2 - 2, placed.bottom - placed.top);
}

// After a DPI change the field takes the shared font for the DPI again.
TEST_F(EditMessages, fieldTakesTheFontAgainAfterADpiChange) {
    HWND edit = createEdit("", editTop);
    HWND field = GetWindow(edit, GW_CHILD);
    ASSERT_NE(nullptr, field);
    SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), 0);
    SendMessageA(edit, WM_DPICHANGED_AFTERPARENT, 0, 0);
    EXPECT_EQ(reinterpret_cast<LRESULT>(getMainFont()), SendMessageA(field, WM_GETFONT, 0, 0));
}

TEST_F(EditMessages, textIsSetAndReadThroughTheField) {
    HWND edit = createEdit("Initial", editTop);
    HWND field = GetWindow(edit, GW_CHILD);
    EXPECT_EQ("", getText(field));
    EXPECT_EQ("", getText(edit));
    EXPECT_TRUE(SetWindowTextA(edit, "Typed"));
    EXPECT_EQ("Typed", getText(field));
    EXPECT_EQ("Typed", getText(edit));
    EXPECT_EQ("Initial", getOwnText(edit));
    // Asked in UTF-16, as the control's window takes it: Wine works out an
    // ANSI sender's answer by asking WM_GETTEXT, which the field answers.
    EXPECT_EQ(static_cast<LRESULT>(strlen("Initial")), SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0));
}

TEST_F(EditMessages, twoEditsKeepTheirOwnText) {
    HWND first = createEdit("", editTop);
    HWND second = createEdit("", editTop + 40);
    SetWindowTextA(first, "First");
    SetWindowTextA(second, "Second");
    EXPECT_EQ("First", getText(first));
    EXPECT_EQ("Second", getText(second));
    EXPECT_EQ("First", getText(GetWindow(first, GW_CHILD)));
    EXPECT_EQ("Second", getText(GetWindow(second, GW_CHILD)));
}

// The field's change notifications end at the control.
TEST_F(EditMessages, fieldNotificationsStopAtTheControl) {
    HWND edit = createEdit("", editTop);
    HWND field = GetWindow(edit, GW_CHILD);
    SetWindowTextA(edit, "Changed");
    SendMessageA(field, WM_CHAR, 'x', 1);
    pumpMessages();
    EXPECT_EQ(strlen("Changedx"), getText(edit).size());
    EXPECT_TRUE(recorder.messages.empty());
}

// Edit messages reach the field in the sender's width and answer with its
// result; with VELMO_EDIT_NOTIFY its notifications reach the parent as the
// control's (without it they stop at the control, as above).
TEST_F(EditMessages, editMessagesAndNotificationsGoThroughTheControlInEitherWidth) {
    for (bool wide : {false, true}) {
        SCOPED_TRACE(wide);
        HWND edit = createEdit("", editTop, VELMO_EDIT_NOTIFY);
        auto send = wide ? SendMessageW : SendMessageA;
        send(edit, EM_LIMITTEXT, 3, 0);
        EXPECT_EQ(0, send(edit, EM_REPLACESEL, FALSE, 0));  // a null text replaces nothing
        send(edit, EM_REPLACESEL, FALSE, wide ? LPARAM(L"\u03a9bcd") : LPARAM("abcd"));
        wchar_t text[textSize] = L"";
        GetWindowTextW(GetWindow(edit, GW_CHILD), text, textSize);
        EXPECT_EQ(std::wstring(wide ? L"\u03a9bc" : L"abc"), text);
        auto notified = [&](WORD code) {
            return RecordedMessage{host, WM_COMMAND, MAKEWPARAM(editId, code), LPARAM(edit)};
        };
        EXPECT_EQ((std::vector<RecordedMessage>{notified(EN_MAXTEXT), notified(EN_UPDATE), notified(EN_CHANGE)}),
                  recorder.messages);
        recorder.messages.clear();
        DestroyWindow(edit);
    }
}

// A one-pixel light grey frame round the field's white.
TEST_F(EditPixels, greyFrameSurroundsTheField) {
    HWND edit = createEdit("", editTop);
    repaintNow(edit);
    Pixels shown = captureWindow(edit);
    ASSERT_EQ(editWidth, shown.width);
    uint32_t grey = makePixel(200, 200, 200);
    RECT whole = {0, 0, editWidth, editHeight};
    RECT inside = {1, 1, editWidth - 1, editHeight - 1};
    int frame = 2 * editWidth + 2 * (editHeight - 2);
    EXPECT_EQ(frame, countPixelsOf(&shown, whole, grey) - countPixelsOf(&shown, inside, grey));
    EXPECT_EQ(0, countPixelsNotOf(&shown, inside, makePixel(255, 255, 255)));
}

// Without WS_TABSTOP the focus given stays on the control; with it, Tab puts
// the caret in the field and typing fills it.
TEST_F(EditKeyboard, tabbingInAndTypingFillsTheField) {
    ASSERT_TRUE(activateWindow(host));
    HWND plain = createEdit("", editTop);
    SetFocus(plain);
    EXPECT_EQ(plain, GetFocus());
    HWND edit = createEdit("", editTop + 40, WS_TABSTOP);
    ASSERT_TRUE(pressKey(host, "Tab", VK_TAB));
    EXPECT_EQ(GetWindow(edit, GW_CHILD), GetFocus());
    ASSERT_TRUE(typeText(host, "Typed in"));
    EXPECT_EQ("Typed in", getText(edit));
    EXPECT_EQ("", getText(plain));
}

TEST_F(EditLifetime, thousandEditsLeaveNothingBehind) {
    Leftovers left = measureLeftovers([this]() {
        HWND edit = createEdit("Lifetime", editTop);
        SetWindowTextA(edit, "Text");
        UpdateWindow(edit);
        DestroyWindow(edit);
    });
    EXPECT_LE(left.gdiObjects, allowedGdiGrowth);
    EXPECT_LE(left.heapBytes, allowedHeapGrowth);
}

}  // namespace
