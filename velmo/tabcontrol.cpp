// The tab menu: a bar of tabs that the host fills and reads with list-box
// messages. A left press marks a tab pressed for good (with
// VELMO_TAB_MENU_SINGLE it releases the others); a left release over a tab
// tells the parent with notification code 1.
#include <new>

#include "control.h"
#include "displayscale.h"
#include "heaptext.h"
#include "itemtext.h"
#include "list.h"
#include "themedrawing.h"

// Tab k stands at x = 10 + 80k, drawn 70 wide; its text box runs from y = 5
// to 30 (at 96 DPI; every length scales with the window's DPI).
static const int firstTabLeft = 10;
static const int tabStep = 80;
static const int tabWidth = 70;
static const int textTop = 5;
static const int textBottom = 30;
// With VELMO_TAB_MENU_FIT a tab is its caption's width plus this on each
// side, never narrower than tabWidth; the gap between tabs stays.
static const int fitMargin = 8;
static const int tabGap = tabStep - tabWidth;

// The bar's caps are stretched to the bar's height; a pressed tab reads the
// fixed 10 x 34 of all three of its bitmaps.
static const SIZE sliceSource = {10, controlHeight};
static const StripLayout barStrip = {sliceSource, {0, 0}, controlHeight, controlHeight, false};
static const StripLayout pressedStrip = {sliceSource, sliceSource, controlHeight, controlHeight, false};

static const UINT captionFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
static const WORD tabNotificationCode = LBN_SELCHANGE;
// The focus cue stands this far inside the focused tab's slot.
static const int focusCueInset = 2;

// The tabs live in the user-data slot; the extra bytes are only reserved.
static const int reservedExtraBytes = 4;

Tab* newTab(const char* caption, int pressed) {
    Tab* tab = new (std::nothrow) Tab;
    if (tab == nullptr) {
        return nullptr;
    }
    tab->caption = nullptr;
    tab->pressed = pressed;
    if (caption != nullptr) {
        tab->caption = copyText(caption);
        if (tab->caption == nullptr) {
            delete tab;
            return nullptr;
        }
    }
    return tab;
}

void deleteTab(Tab* tab) {
    if (tab == nullptr) {
        return;
    }
    deleteText(tab->caption);
    delete tab;
}

// The list takes the tab over; when no item can be made for it, the tab is
// freed here, so a failed append leaves nothing behind.
void addTabToList(ListItem* head, Tab* tab) {
    if (addToList(head, tab) == nullptr) {
        deleteTab(tab);
    }
}

static void freeTab(void* tab) {
    deleteTab((Tab*)tab);
}

static int countTabs(HWND window) {
    return countWindowItems(window);
}

// The tab at this position, numbered as LB_DELETESTRING numbers them; null
// past the last.
static Tab* getTabAt(HWND window, int position) {
    return static_cast<Tab*>(getWindowItemAt(window, position));
}

// The box of the tab at this position, at a DPI already read: its slot over
// the bar's height, from its left edge to one column past its drawn right
// edge, so that a press on that edge, which the tab has always taken, falls
// inside it as every point of a box does: left <= x < right. The drawing, the
// mouse, the keys' focus cue and readers all take the tab from here.
static RECT getTabBoxAtDpi(int position, int dpi) {
    int left = scaleToDpi(firstTabLeft + position * tabStep, dpi);
    return {left, 0, left + scaleToDpi(tabWidth, dpi) + 1, scaleToDpi(controlHeight, dpi)};
}

static bool hasTabStyle(HWND window, DWORD style) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & style) != 0;
}

// A fit tab's drawn width: its caption measured in the window's font.
static int measureFitTab(HWND window, HDC target, int position, const Tab* tab, int dpi) {
    const wchar_t* caption = findItemText(findWindowState(window), getWindowItems(window), position, tab,
                                          tab->caption);
    int width = measureItemText(target, caption, tab->caption, captionFormat) + 2 * scaleToDpi(fitMargin, dpi);
    int narrowest = scaleToDpi(tabWidth, dpi);
    return width > narrowest ? width : narrowest;
}

// With VELMO_TAB_MENU_FIT each tab stands the gap after the one before it,
// as wide as its caption needs.
static RECT getFitTabBox(HWND window, int position, int dpi) {
    HDC screen = GetDC(window);
    HGDIOBJ previous = SelectObject(screen, getWindowFont(window));
    int gap = scaleToDpi(tabGap, dpi);
    int left = gap;
    int width = 0;
    int index = 0;
    for (ListItem* item = getWindowItems(window); item != nullptr && index <= position; item = item->next) {
        if (item->data == nullptr) {
            continue;
        }
        left += index > 0 ? width + gap : 0;
        width = measureFitTab(window, screen, index++, static_cast<const Tab*>(item->data), dpi);
    }
    restoreObject(screen, previous);
    ReleaseDC(window, screen);
    return {left, 0, left + width + 1, scaleToDpi(controlHeight, dpi)};
}

// The same at the window's DPI, in its client coordinates: the one place
// that says where a tab stands.
static RECT getTabBox(HWND window, int position) {
    int dpi = getWindowDpi(window);
    return hasTabStyle(window, VELMO_TAB_MENU_FIT) ? getFitTabBox(window, position, dpi)
                                                    : getTabBoxAtDpi(position, dpi);
}

// The pressed image and the caption fill the box but its last column.
static int getDrawnRight(const RECT* box) {
    return box->right - 1;
}

// The position of the tab whose box holds x (y doesn't count); -1 when none
// does.
static int findTabPositionAt(HWND window, LPARAM point) {
    int x = LOWORD(point);
    int count = countTabs(window);
    for (int position = 0; position < count; position++) {
        RECT box = getTabBox(window, position);
        if (box.left <= x && x < box.right) {
            return position;
        }
    }
    return -1;
}

static Tab* findTabAt(HWND window, LPARAM point) {
    return getTabAt(window, findTabPositionAt(window, point));
}

static void chooseTabCursor(HWND window, LPARAM point) {
    chooseCursor(window, findTabAt(window, point) != nullptr ? cursorHand : cursorArrow);
}

// Presses or releases the tab; a change repaints and tells readers.
static void setTabPressed(HWND window, int position, Tab* tab, bool pressed) {
    if ((tab->pressed != 0) == pressed) {
        return;
    }
    tab->pressed = pressed ? 1 : 0;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    notifyAccessibleEvent(window, pressed ? EVENT_OBJECT_SELECTIONADD : EVENT_OBJECT_SELECTIONREMOVE,
                          toChildId(position));
}

// Releases every tab but the one at kept (-1: every tab).
static void releaseTabs(HWND window, int kept) {
    int position = 0;
    for (ListItem* item = getWindowItems(window); item != nullptr; item = item->next) {
        if (item->data != nullptr && position++ != kept) {
            setTabPressed(window, position - 1, static_cast<Tab*>(item->data), false);
        }
    }
}

// Every press, by the mouse, a key, a reader or a message, comes here: the
// tab becomes the current one.
static void pressTab(HWND window, int position) {
    Tab* tab = getTabAt(window, position);
    if (tab == nullptr) {
        return;
    }
    if (hasTabStyle(window, VELMO_TAB_MENU_SINGLE)) {
        releaseTabs(window, position);
    }
    WindowState* state = findWindowState(window);
    if (state != nullptr) {
        state->currentTab = tab;
    }
    setTabPressed(window, position, tab, true);
}

// LB_SETSEL: wParam presses or releases the tab at position, -1 every tab.
static LRESULT selectTabs(HWND window, bool pressed, int position) {
    int count = countTabs(window);
    if (position < -1 || position >= count) {
        return LB_ERR;
    }
    int first = position == -1 ? 0 : position;
    int last = position == -1 ? count - 1 : position;
    for (int index = first; index <= last; index++) {
        if (pressed) {
            pressTab(window, index);
        } else {
            setTabPressed(window, index, getTabAt(window, index), false);
        }
    }
    return 0;
}

static LRESULT isTabPressed(HWND window, int position) {
    Tab* tab = getTabAt(window, position);
    return tab == nullptr ? LB_ERR : tab->pressed != 0 ? 1 : 0;
}

// LB_SETCURSEL: the tab alone pressed; -1 releases every tab and, as a list
// box does, answers LB_ERR.
static LRESULT makeTabCurrent(HWND window, int position) {
    if (position == -1) {
        releaseTabs(window, -1);
        return LB_ERR;
    }
    if (getTabAt(window, position) == nullptr) {
        return LB_ERR;
    }
    releaseTabs(window, position);
    pressTab(window, position);
    return position;
}

// The tab pressed last while it stays pressed.
static LRESULT findCurrentTab(HWND window) {
    WindowState* state = findWindowState(window);
    int position = 0;
    for (ListItem* item = getWindowItems(window); state != nullptr && item != nullptr; item = item->next) {
        Tab* tab = static_cast<Tab*>(item->data);
        if (tab != nullptr && tab == state->currentTab) {
            return tab->pressed != 0 ? position : LB_ERR;
        }
        position += tab != nullptr ? 1 : 0;
    }
    return LB_ERR;
}

static void notifyTabRelease(HWND window) {
    WORD identifier = LOWORD(GetWindowLongPtrA(window, GWLP_ID));
    sendCommandToParent(window, MAKEWPARAM(identifier, tabNotificationCode), 0);
}

static int getFocusedTab(HWND window);

// Makes the tab the one that the keys act on, and tells readers when that
// moved the focus to another tab.
static void focusTab(HWND window, int position) {
    bool moved = position != getFocusedTab(window);
    setFocusedItem(window, position);
    if (moved) {
        notifyAccessibleEvent(window, EVENT_OBJECT_FOCUS, toChildId(position));
    }
}

// A click on a keyboard tab menu takes the focus, and the clicked tab becomes
// the focused one.
static void pressTabAt(HWND window, LPARAM point) {
    int position = findTabPositionAt(window, point);
    takeMousePress(window);
    if (takesKeyboard(window) && position >= 0) {
        focusTab(window, position);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    }
    pressTab(window, position);
}

static void releaseOverTab(HWND window, LPARAM point) {
    if (takeMouseRelease(window) && findTabAt(window, point) != nullptr) {
        notifyTabRelease(window);
    }
}

// -1 in an empty menu.
static int getFocusedTab(HWND window) {
    int last = countTabs(window) - 1;
    int focused = getFocusedItem(window);
    return focused < last ? focused : last;
}

static void pressFocusedTab(HWND window) {
    pressTab(window, getFocusedTab(window));
}

static void releaseFocusedTab(HWND window) {
    if (getFocusedTab(window) >= 0) {
        notifyTabRelease(window);
    }
}

// Space and Enter act on the focused tab as a left press and release over it;
// a press stays, as the mouse's does.
static const KeyActions tabKeys = {pressFocusedTab, releaseFocusedTab, nullptr};

// Left and Right move the focus one tab, Home and End to the first and last;
// false for any other key.
static bool moveTabFocus(HWND window, WPARAM key) {
    int last = countTabs(window) - 1;
    int focused = getFocusedTab(window);
    switch (key) {
    case VK_LEFT:
        focused = focused > 0 ? focused - 1 : 0;
        break;
    case VK_RIGHT:
        focused = focused < last ? focused + 1 : last;
        break;
    case VK_HOME:
        focused = 0;
        break;
    case VK_END:
        focused = last;
        break;
    default:
        return false;
    }
    if (last >= 0) {
        focusTab(window, focused);
    }
    noteKeyboardUse(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    return true;
}

// The tab menu's own keys, for a keyboard tab menu only.
static bool handleNavigationKey(HWND window, WPARAM key) {
    return takesKeyboard(window) && moveTabFocus(window, key);
}

static LRESULT countPressedTabs(HWND window) {
    LRESULT count = 0;
    for (ListItem* item = getWindowItems(window); item != nullptr; item = item->next) {
        Tab* tab = (Tab*)item->data;
        if (tab != nullptr && tab->pressed != 0) {
            count++;
        }
    }
    return count;
}

// A capacity of 0 writes every pressed position, as callers of this control
// expect; any other capacity is the size of the array, never overrun.
static LRESULT writePressedTabs(HWND window, WPARAM capacity, int* positions) {
    if (positions == nullptr) {
        return 0;
    }
    WPARAM written = 0;
    int position = 0;
    for (ListItem* item = getWindowItems(window); item != nullptr; item = item->next) {
        Tab* tab = (Tab*)item->data;
        if (tab == nullptr) {
            continue;
        }
        if (tab->pressed != 0 && (capacity == 0 || written < capacity)) {
            positions[written++] = position;
        }
        position++;
    }
    return 0;
}

// The focus stays on its tab when a tab is put before it.
static void keepFocusAfterInsert(HWND window, LRESULT inserted) {
    int focused = getFocusedItem(window);
    if (inserted != LB_ERR && inserted <= focused && countTabs(window) > 1) {
        setFocusedItem(window, focused + 1);
    }
}

// The tab takes the ANSI copy of its caption (a null caption makes a tab
// without one); the wide one is kept beside it.
static LRESULT insertTab(HWND window, int position, const void* caption, TextWidth width) {
    ItemText text;
    Tab* tab = makeItemText(caption, width, &text) ? newTab(nullptr, 0) : nullptr;
    LRESULT inserted = LB_ERR;
    if (tab != nullptr) {
        tab->caption = text.ansi;
        text.ansi = nullptr;
        inserted = insertItem(window, position, tab, tab->caption, text.wide);
        if (inserted == LB_ERR) {
            deleteTab(tab);
        } else {
            text.wide = nullptr;
        }
    }
    deleteItemText(&text);
    if (takesKeyboard(window)) {
        keepFocusAfterInsert(window, inserted);
    }
    showItemsChanged(window, RDW_INVALIDATE);
    return inserted;
}

// The focus stays on its tab when a tab before it goes; when its own tab
// goes, it passes to the tab now in that place, or to the last one.
static void keepFocusOnItsTab(HWND window, int removed) {
    int focused = getFocusedItem(window);
    if (0 <= removed && removed < focused) {
        focused--;
    }
    int last = countTabs(window) - 1;
    if (focused > last) {
        focused = last > 0 ? last : 0;
    }
    setFocusedItem(window, focused);
}

static LRESULT removeEveryTab(HWND window) {
    removeAllItems(window, freeTab);
    WindowState* state = findWindowState(window);
    if (state != nullptr) {
        state->currentTab = nullptr;
    }
    setFocusedItem(window, 0);
    showItemsChanged(window, RDW_INVALIDATE);
    return 0;
}

static LRESULT removeTab(HWND window, WPARAM position) {
    WindowState* state = findWindowState(window);
    // A menu of one tab loses it whatever the position, as the list's rule says.
    int count = countTabs(window);
    if (state != nullptr && getTabAt(window, count == 1 ? 0 : (int)position) == state->currentTab) {
        state->currentTab = nullptr;
    }
    removeItem(window, (int)position, freeTab);
    if (takesKeyboard(window)) {
        keepFocusOnItsTab(window, (int)position);
    }
    showItemsChanged(window, RDW_INVALIDATE);
    return 0;
}

// The tab under the pointer, unpressed, shows the theme's hot tab where it
// has one, and its hot text; plain drawing has none.
static void drawHotTab(HDC target, const StripSlices* hot, const RECT* box) {
    if (hot->middle.bitmap != nullptr && !drawsPlain()) {
        drawThreeSliceStrip(target, hot, box->left, getDrawnRight(box) - box->left, &pressedStrip);
    }
}

static void drawTabs(HWND window, HDC target, int dpi) {
    Theme* theme = getWindowTheme(window);
    StripSlices pressed = findStripSlices(theme, tabPressedLeft, dpi);
    StripSlices hot = findStripSlices(theme, tabHotLeft, dpi);
    int hotPosition = getHotItem(window);
    HGDIOBJ previous = selectTextStyle(target, window, getTextColour(window, tabTextColour));
    WindowState* state = findWindowState(window);
    ListItem* items = getWindowItems(window);
    int position = 0;
    for (ListItem* item = items; item != nullptr; item = item->next) {
        Tab* tab = (Tab*)item->data;
        if (tab == nullptr) {
            continue;
        }
        const wchar_t* caption = findItemText(state, items, position, tab, tab->caption);
        bool isHot = position == hotPosition;
        RECT box = getTabBox(window, position++);
        if (tab->pressed != 0) {
            drawThreeSliceStrip(target, &pressed, box.left, getDrawnRight(&box) - box.left, &pressedStrip);
        } else if (isHot) {
            drawHotTab(target, &hot, &box);
        }
        SetTextColor(target, tab->pressed != 0 ? getTextColour(window, pressedTextColour)
                                               : getTextColour(window, tabTextColour, isHot ? hotLook : normalLook));
        RECT textBox = {box.left, scaleToDpi(textTop, dpi), getDrawnRight(&box), scaleToDpi(textBottom, dpi)};
        drawItemText(target, caption, tab->caption, &textBox, captionFormat);
    }
    restoreObject(target, previous);
}

static void drawTabMenu(HWND window, HDC target) {
    int width = getWindowSize(window).cx;
    int dpi = getWindowDpi(window);
    StripSlices bar = findStripSlices(getWindowTheme(window), tabLeft, dpi);
    drawThreeSliceStrip(target, &bar, 0, width, &barStrip);
    drawTabs(window, target, dpi);
    int focused = getFocusedTab(window);
    if (focused >= 0) {
        int inset = scaleToDpi(focusCueInset, dpi);
        RECT box = getTabBox(window, focused);
        RECT cue = {box.left + inset, inset, getDrawnRight(&box) - inset, box.bottom - inset};
        drawFocusCue(window, target, &cue);
    }
}

// Each tab reads as its caption in its slot, the keyboard's tab focused
// while the menu has the focus.
static void describeTab(HWND window, int position, AccessibleItem* item) {
    Tab* tab = getTabAt(window, position);
    item->text = tab != nullptr ? tab->caption : nullptr;
    item->wideText = findItemText(findWindowState(window), getWindowItems(window), position, tab, item->text);
    item->box = getTabBox(window, position);
    item->states = STATE_SYSTEM_SELECTABLE;
    if (tab != nullptr && tab->pressed != 0) {
        item->states |= STATE_SYSTEM_SELECTED;
    }
    if (takesKeyboard(window) && GetFocus() == window && getFocusedTab(window) == position) {
        item->states |= STATE_SYSTEM_FOCUSED;
    }
}

// Switching to a tab presses it and notifies as a left press and release over it do.
static void switchToTab(HWND window, int position) {
    pressTab(window, position);
    notifyTabRelease(window);
}

static const AccessibleControl tabMenuAccessibility = {.role = ROLE_SYSTEM_PAGETABLIST,
                                                        .itemRole = ROLE_SYSTEM_PAGETAB,
                                                        .countItems = countTabs,
                                                        .describeItem = describeTab,
                                                        .itemAction = L"Switch",
                                                        .actOnItem = switchToTab};

extern const Control tabMenuControl;

static LRESULT handleTabMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width) {
    switch (message) {
    case WM_CREATE:
        return createWindowItems(window);
    case WM_NCDESTROY:
        deleteWindowItems(window, freeTab);
        break;
    case LB_ADDSTRING:
        insertTab(window, -1, reinterpret_cast<const void*>(lParam), width);
        return 0;
    case LB_INSERTSTRING:
        return insertTab(window, (int)wParam, reinterpret_cast<const void*>(lParam), width);
    case LB_DELETESTRING:
        return removeTab(window, wParam);
    case LB_RESETCONTENT:
        return removeEveryTab(window);
    case LB_GETCOUNT:
        return countTabs(window);
    case LB_GETTEXTLEN:
    case LB_GETTEXT: {
        Tab* tab = getTabAt(window, (int)wParam);
        return answerItemText(window, message, (int)wParam, tab, tab != nullptr ? tab->caption : nullptr, lParam,
                              width);
    }
    case LB_SETSEL:
        return selectTabs(window, wParam != FALSE, (int)lParam);
    case LB_GETSEL:
        return isTabPressed(window, (int)wParam);
    case LB_SETCURSEL:
        return makeTabCurrent(window, (int)wParam);
    case LB_GETCURSEL:
        return findCurrentTab(window);
    case LB_GETSELCOUNT:
        return countPressedTabs(window);
    case LB_GETSELITEMS:
        return writePressedTabs(window, wParam, (int*)lParam);
    case WM_MOUSEMOVE:
        chooseTabCursor(window, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        pressTabAt(window, lParam);
        return 0;
    case WM_LBUTTONUP:
        releaseOverTab(window, lParam);
        return 0;
    case WM_KEYDOWN:
        if (handleNavigationKey(window, wParam)) {
            return 0;
        }
        break;
    }
    return handleControlMessage(window, message, wParam, lParam, width, &tabMenuControl);
}

LRESULT CALLBACK tabWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return answerAnsiMessage(window, message, wParam, lParam, &tabMenuControl);
}

extern const Control tabMenuControl = {
    .procedure = tabWindowProcedure,
    .wideProcedure = answerWideMessage<tabMenuControl>,
    .handle = handleTabMessage,
    .extraBytes = reservedExtraBytes,
    .background = barColour,
    .section = tabSection,
    // Both an ANSI and a wide sender's LB_ADDSTRING text reach the wide
    // procedure as UTF-16: the system converts a list-box string message for
    // a window whose style says that its items are strings.
    .style = LBS_HASSTRINGS,
    .keptToHeight = true,
    .draw = drawTabMenu,
    .choosesCursor = true,
    .findHotItem = findTabPositionAt,
    .keys = &tabKeys,
    .dialogCode = DLGC_WANTARROWS,
    .accessibility = &tabMenuAccessibility,
};
