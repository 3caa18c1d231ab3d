// The controls' object for readers: one per window, made on the first
// WM_GETOBJECT for the client area and kept in a window property that doesn't
// own it, so that it goes when the last reader releases it. It answers from
// the control's AccessibleControl and asks the window for everything at each
// call, so it holds nothing that a change of the control would leave stale.
#include "accessibility.h"

#include <climits>
#include <new>

#include "heaptext.h"
#include "windowstate.h"

// The position that names the control itself rather than a child.
static const int selfPosition = -1;
// Window texts are read into a buffer of this size, doubled until they fit.
static const int firstTextSize = 256;

// The functions of the accessibility and COM libraries, found on the first
// request so that loading velmo.dll loads none of those libraries.
struct Libraries {
    LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN);
    HRESULT(WINAPI* accessibleObjectFromWindow)(HWND, DWORD, REFIID, void**);
    BSTR(WINAPI* sysAllocStringLen)(const OLECHAR*, UINT);
    HRESULT(WINAPI* coInitializeEx)(LPVOID, DWORD);
    void(WINAPI* coUninitialize)();
    HRESULT(WINAPI* coDisconnectObject)(LPUNKNOWN, DWORD);
};

static Libraries libraries;
static bool librariesFound = false;

template <typename Function>
static bool findFunction(const char* library, const char* name, Function* function) {
    HMODULE module = LoadLibraryA(library);
    FARPROC address = module != nullptr ? GetProcAddress(module, name) : nullptr;
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
    return address != nullptr;
}

// The libraries stay loaded for the life of the process: objects handed out
// may outlive any window.
static bool findLibraries() {
    if (!librariesFound) {
        librariesFound = findFunction("oleacc.dll", "LresultFromObject", &libraries.lresultFromObject) &&
                         findFunction("oleacc.dll", "AccessibleObjectFromWindow",
                                      &libraries.accessibleObjectFromWindow) &&
                         findFunction("oleaut32.dll", "SysAllocStringLen", &libraries.sysAllocStringLen) &&
                         findFunction("ole32.dll", "CoInitializeEx", &libraries.coInitializeEx) &&
                         findFunction("ole32.dll", "CoUninitialize", &libraries.coUninitialize) &&
                         findFunction("ole32.dll", "CoDisconnectObject", &libraries.coDisconnectObject);
    }
    return librariesFound;
}

// Handing the object out needs the window's thread in a single-threaded
// apartment: other processes' calls then arrive through the thread's own
// message loop, one at a time, like every other message of the control. A
// thread in no apartment is made one for good; a multithreaded one gets no
// object, as its calls would race the window's own thread.
static bool enterApartment() {
    HRESULT entered = libraries.coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (entered == S_FALSE) {
        libraries.coUninitialize();
    }
    return SUCCEEDED(entered);
}

static int countItems(HWND window, const AccessibleControl* description) {
    return description->countItems != nullptr ? description->countItems(window) : 0;
}

static AccessibleItem describeItem(HWND window, const AccessibleControl* description, int position) {
    AccessibleItem item = {nullptr, nullptr, {0, 0, 0, 0}, 0};
    description->describeItem(window, position, &item);
    return item;
}

// The child whose box lies nearest to the box of the child at from, wholly
// on the side that direction names; the count of children when none does.
static int findChildBeside(HWND window, const AccessibleControl* description, int from, LONG direction) {
    int count = countItems(window, description);
    RECT start = describeItem(window, description, from).box;
    int nearest = count;
    LONG nearestGap = LONG_MAX;
    for (int position = 0; position < count; position++) {
        RECT box = describeItem(window, description, position).box;
        // Up, down, left and right, as NAVDIR_UP to NAVDIR_RIGHT number them.
        LONG gaps[] = {start.top - box.bottom, box.top - start.bottom, start.left - box.right, box.left - start.right};
        LONG gap = gaps[direction - NAVDIR_UP];
        if (gap >= 0 && gap < nearestGap) {
            nearest = position;
            nearestGap = gap;
        }
    }
    return nearest;
}

static bool isDisabled(HWND window) {
    return (GetWindowLongA(window, GWL_STYLE) & WS_DISABLED) != 0;
}

static bool contains(const RECT* box, POINT point) {
    return box->left <= point.x && point.x < box->right && box->top <= point.y && point.y < box->bottom;
}

static bool hasFocus(HWND window, const AccessibleControl* description) {
    HWND focus = GetFocus();
    return focus != nullptr && (focus == window || (description->hasField && GetParent(focus) == window));
}

static DWORD findStates(HWND window, const AccessibleControl* description) {
    LONG style = GetWindowLongA(window, GWL_STYLE);
    DWORD states = description->states;
    if ((style & WS_TABSTOP) != 0) {
        states |= STATE_SYSTEM_FOCUSABLE;
    }
    if (hasFocus(window, description)) {
        states |= STATE_SYSTEM_FOCUSED;
    }
    if (isDisabled(window)) {
        states |= STATE_SYSTEM_UNAVAILABLE;
    }
    if ((style & WS_VISIBLE) == 0) {
        states |= STATE_SYSTEM_INVISIBLE;
    }
    if (description->findStates != nullptr) {
        states |= description->findStates(window);
    }
    return states;
}

// The text as a reader's string. Drawn text reads as DrawText shows it: each
// '&' is dropped and the character after it kept, so "&&" reads as "&".
static BSTR makeString(const wchar_t* text, bool asDrawn) {
    UINT length = static_cast<UINT>(wcslen(text));
    if (!asDrawn) {
        return libraries.sysAllocStringLen(text, length);
    }
    wchar_t* shown = new (std::nothrow) wchar_t[length + 1];
    if (shown == nullptr) {
        return nullptr;
    }
    UINT kept = 0;
    for (UINT read = 0; read < length; read++) {
        if (text[read] == L'&' && ++read == length) {
            break;
        }
        shown[kept++] = text[read];
    }
    BSTR string = libraries.sysAllocStringLen(shown, kept);
    delete[] shown;
    return string;
}

// An item's text as drawn: its wide text, else its ANSI text widened.
static BSTR makeItemString(const AccessibleItem* item) {
    if (item->wideText != nullptr || item->text == nullptr) {
        return makeString(item->wideText != nullptr ? item->wideText : L"", true);
    }
    wchar_t* widened = widenText(item->text);
    BSTR string = widened != nullptr ? makeString(widened, true) : nullptr;
    deleteWideCopy(widened);
    return string;
}

// The window's text as WM_GETTEXT gives it (the edit's comes from its field).
static BSTR makeWindowString(HWND window, bool asDrawn) {
    for (int size = firstTextSize;; size *= 2) {
        wchar_t* text = new (std::nothrow) wchar_t[size];
        if (text == nullptr) {
            return nullptr;
        }
        int length = GetWindowTextW(window, text, size);
        BSTR string = length < size - 1 ? makeString(text, asDrawn) : nullptr;
        delete[] text;
        if (length < size - 1) {
            return string;
        }
    }
}

// The control's own text for its name or value; a protected control (a
// password) reads as empty.
static BSTR makeControlString(HWND window, const AccessibleControl* description, bool asDrawn) {
    bool hidden = (findStates(window, description) & STATE_SYSTEM_PROTECTED) != 0;
    return hidden ? makeString(L"", false) : makeWindowString(window, asDrawn);
}

static void setVariant(VARIANT* variant, LONG value) {
    V_VT(variant) = VT_I4;
    V_I4(variant) = value;
}

static void clearVariant(VARIANT* variant) {
    V_VT(variant) = VT_EMPTY;
}

// The rectangle, in the window's client coordinates, moved to the screen.
static RECT toScreen(HWND window, RECT box) {
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&box), 2);
    return box;
}

static RECT getClientBox(HWND window) {
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    return client;
}

// QueryInterface of an object with one interface (and those it derives
// from): itself when offered, or when id asks for IUnknown.
static HRESULT answerQuery(IUnknown* self, REFIID id, bool offered, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!offered && id != __uuidof(IUnknown)) {
        return E_NOINTERFACE;
    }
    *object = self;
    self->AddRef();
    return S_OK;
}

// The readers' copy of the pressed children, when there are several.
struct ChildEnumerator final : IEnumVARIANT {
    LONG references;
    LONG* children;
    ULONG count;
    ULONG next;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        return answerQuery(this, id, id == __uuidof(IEnumVARIANT), object);
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references); }

    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&references);
        if (left == 0) {
            delete[] children;
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        ULONG given = 0;
        for (; given < wanted && next < count; given++) {
            setVariant(&out[given], children[next++]);
        }
        if (fetched != nullptr) {
            *fetched = given;
        }
        return given == wanted ? S_OK : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE Skip(ULONG skipped) override {
        next = skipped < count - next ? next + skipped : count;
        return next < count ? S_OK : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE Reset() override {
        next = 0;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;
};

// A new enumerator of copies of the children, with one reference; null when
// memory runs out.
static ChildEnumerator* newChildEnumerator(const LONG* children, ULONG count) {
    ChildEnumerator* enumerator = new (std::nothrow) ChildEnumerator;
    if (enumerator == nullptr) {
        return nullptr;
    }
    enumerator->children = new (std::nothrow) LONG[count];
    if (enumerator->children == nullptr) {
        delete enumerator;
        return nullptr;
    }
    for (ULONG index = 0; index < count; index++) {
        enumerator->children[index] = children[index];
    }
    enumerator->references = 1;
    enumerator->count = count;
    enumerator->next = 0;
    return enumerator;
}

HRESULT STDMETHODCALLTYPE ChildEnumerator::Clone(IEnumVARIANT** copy) {
    if (copy == nullptr) {
        return E_POINTER;
    }
    ChildEnumerator* clone = newChildEnumerator(children, count);
    *copy = clone;
    if (clone == nullptr) {
        return E_OUTOFMEMORY;
    }
    clone->next = next;
    return S_OK;
}

struct AccessibleObject;

// Makes object the window's readers' object, or with null forgets it; false
// for a window without a record.
static bool keepObject(HWND window, AccessibleObject* object) {
    WindowState* state = window != nullptr ? findWindowState(window) : nullptr;
    if (state == nullptr) {
        return false;
    }
    state->accessible = object;
    return true;
}

struct AccessibleObject final : IAccessible {
    LONG references;
    // Null once the window is gone: every call then fails.
    HWND window;
    const AccessibleControl* description;

    // The position that child names: S_OK, RPC_E_DISCONNECTED after the
    // window, E_INVALIDARG for a child the control doesn't have.
    HRESULT locate(VARIANT child, int* position) {
        if (window == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        if (V_VT(&child) != VT_I4) {
            return E_INVALIDARG;
        }
        LONG id = V_I4(&child);
        if (id == CHILDID_SELF) {
            *position = selfPosition;
            return S_OK;
        }
        if (id < 1 || id > countItems(window, description)) {
            return E_INVALIDARG;
        }
        *position = id - 1;
        return S_OK;
    }

    // locate, for a call that answers through out, which is emptied first.
    template <typename Out>
    HRESULT locate(VARIANT child, int* position, Out* out) {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = Out();
        return locate(child, position);
    }

    // The answer of a call that reads nothing of the window.
    HRESULT answerIfConnected(HRESULT answer) const { return window == nullptr ? RPC_E_DISCONNECTED : answer; }

    // Readies out for a call about the control as a whole: S_OK, E_POINTER or
    // RPC_E_DISCONNECTED.
    HRESULT prepareAnswer(VARIANT* out) const {
        if (out == nullptr) {
            return E_POINTER;
        }
        clearVariant(out);
        return answerIfConnected(S_OK);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        return answerQuery(this, id, id == __uuidof(IDispatch) || id == __uuidof(IAccessible), object);
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references); }

    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&references);
        if (left == 0) {
            keepObject(window, nullptr);
            delete this;
        }
        return left;
    }

    // Readers reach the object through IAccessible alone, so it has no type
    // information and no names to dispatch.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return answerIfConnected(S_OK);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** information) override {
        if (information != nullptr) {
            *information = nullptr;
        }
        return answerIfConnected(E_NOTIMPL);
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return answerIfConnected(E_NOTIMPL);
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return answerIfConnected(E_NOTIMPL);
    }

    // The object of the window that holds the control.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (parent == nullptr) {
            return E_POINTER;
        }
        *parent = nullptr;
        if (window == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        HWND holder = GetParent(window);
        if (holder == nullptr) {
            return S_FALSE;
        }
        IAccessible* object = nullptr;
        HRESULT found = libraries.accessibleObjectFromWindow(holder, static_cast<DWORD>(OBJID_CLIENT),
                                                             __uuidof(IAccessible), reinterpret_cast<void**>(&object));
        *parent = object;
        return found;
    }

    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        if (window == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        *count = countItems(window, description);
        return S_OK;
    }

    // The children are simple: readers ask this object about them by number.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        int position = selfPosition;
        HRESULT located = locate(child, &position, object);
        if (FAILED(located)) {
            return located;
        }
        return position == selfPosition ? E_INVALIDARG : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        int position = selfPosition;
        HRESULT located = locate(child, &position, name);
        if (FAILED(located)) {
            return located;
        }
        if (position == selfPosition) {
            *name = makeControlString(window, description, !description->hasField);
        } else {
            AccessibleItem item = describeItem(window, description, position);
            *name = makeItemString(&item);
        }
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        int position = selfPosition;
        HRESULT located = locate(child, &position, value);
        if (FAILED(located)) {
            return located;
        }
        if (position != selfPosition || !description->hasField) {
            return DISP_E_MEMBERNOTFOUND;
        }
        *value = makeControlString(window, description, false);
        return *value != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    // Nothing to add to a name: no description, help or shortcut.
    HRESULT answerNoText(VARIANT child, BSTR* text) {
        int position = selfPosition;
        HRESULT located = locate(child, &position, text);
        return FAILED(located) ? located : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return answerNoText(child, text);
    }

    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override { return answerNoText(child, text); }

    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return answerNoText(child, text);
    }

    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        if (topic == nullptr) {
            return E_POINTER;
        }
        *topic = 0;
        return answerNoText(child, file);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        int position = selfPosition;
        HRESULT located = locate(child, &position, role);
        if (FAILED(located)) {
            return located;
        }
        setVariant(role, position == selfPosition ? description->role : description->itemRole);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        int position = selfPosition;
        HRESULT located = locate(child, &position, state);
        if (FAILED(located)) {
            return located;
        }
        DWORD states = position == selfPosition ? findStates(window, description)
                                                : describeItem(window, description, position).states;
        setVariant(state, static_cast<LONG>(states));
        return S_OK;
    }

    // The focused child when one is, else the control when it has the focus.
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focused) override {
        HRESULT ready = prepareAnswer(focused);
        if (ready != S_OK) {
            return ready;
        }
        if (!hasFocus(window, description)) {
            return S_FALSE;
        }
        setVariant(focused, CHILDID_SELF);
        int count = countItems(window, description);
        for (int position = 0; position < count; position++) {
            if ((describeItem(window, description, position).states & STATE_SYSTEM_FOCUSED) != 0) {
                setVariant(focused, toChildId(position));
            }
        }
        return S_OK;
    }

    // The selected children: none, one by number, or several through an
    // enumerator.
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        HRESULT ready = prepareAnswer(selection);
        if (ready != S_OK) {
            return ready;
        }
        int count = countItems(window, description);
        LONG* selected = new (std::nothrow) LONG[count > 0 ? count : 1];
        if (selected == nullptr) {
            return E_OUTOFMEMORY;
        }
        ULONG found = 0;
        for (int position = 0; position < count; position++) {
            if ((describeItem(window, description, position).states & STATE_SYSTEM_SELECTED) != 0) {
                selected[found++] = toChildId(position);
            }
        }
        HRESULT answer = found == 0 ? S_FALSE : S_OK;
        if (found == 1) {
            setVariant(selection, selected[0]);
        } else if (found > 1) {
            ChildEnumerator* enumerator = newChildEnumerator(selected, found);
            V_VT(selection) = VT_UNKNOWN;
            V_UNKNOWN(selection) = enumerator;
            answer = enumerator != nullptr ? S_OK : E_OUTOFMEMORY;
            if (enumerator == nullptr) {
                clearVariant(selection);
            }
        }
        delete[] selected;
        return answer;
    }

    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        int position = selfPosition;
        HRESULT located = locate(child, &position, action);
        if (FAILED(located)) {
            return located;
        }
        const wchar_t* text = position == selfPosition ? description->action : description->itemAction;
        *action = text != nullptr ? libraries.sysAllocStringLen(text, static_cast<UINT>(wcslen(text))) : nullptr;
        if (text == nullptr) {
            return S_FALSE;
        }
        return *action != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT child) override {
        int position = selfPosition;
        HRESULT located = locate(child, &position);
        return FAILED(located) ? located : DISP_E_MEMBERNOTFOUND;
    }

    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
            return E_POINTER;
        }
        *left = *top = *width = *height = 0;
        int position = selfPosition;
        HRESULT located = locate(child, &position);
        if (FAILED(located)) {
            return located;
        }
        RECT box = position == selfPosition ? getClientBox(window) : describeItem(window, description, position).box;
        box = toScreen(window, box);
        *left = box.left;
        *top = box.top;
        *width = box.right - box.left;
        *height = box.bottom - box.top;
        return S_OK;
    }

    // First and last child from the control, next and previous among the
    // children, and from a child left, right, up and down to the one beside
    // it; nothing beyond the ends.
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        int position = selfPosition;
        HRESULT located = locate(start, &position, end);
        if (FAILED(located)) {
            return located;
        }
        int count = countItems(window, description);
        int reached = count;
        switch (direction) {
        case NAVDIR_FIRSTCHILD:
        case NAVDIR_LASTCHILD:
            if (position != selfPosition) {
                return E_INVALIDARG;
            }
            reached = direction == NAVDIR_FIRSTCHILD ? 0 : count - 1;
            break;
        case NAVDIR_NEXT:
        case NAVDIR_PREVIOUS:
            if (position != selfPosition) {
                reached = direction == NAVDIR_NEXT ? position + 1 : position - 1;
            }
            break;
        case NAVDIR_LEFT:
        case NAVDIR_RIGHT:
        case NAVDIR_UP:
        case NAVDIR_DOWN:
            if (position != selfPosition) {
                reached = findChildBeside(window, description, position, direction);
            }
            break;
        default:
            return E_INVALIDARG;
        }
        if (reached < 0 || reached >= count) {
            return S_FALSE;
        }
        setVariant(end, toChildId(reached));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        HRESULT ready = prepareAnswer(hit);
        if (ready != S_OK) {
            return ready;
        }
        POINT point = {x, y};
        MapWindowPoints(nullptr, window, &point, 1);
        RECT client = getClientBox(window);
        if (!contains(&client, point)) {
            return S_FALSE;
        }
        setVariant(hit, CHILDID_SELF);
        int count = countItems(window, description);
        for (int position = 0; position < count; position++) {
            AccessibleItem item = describeItem(window, description, position);
            if ((item.states & STATE_SYSTEM_INVISIBLE) == 0 && contains(&item.box, point)) {
                setVariant(hit, toChildId(position));
                break;
            }
        }
        return S_OK;
    }

    // A disabled control refuses, as it refuses the mouse.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        int position = selfPosition;
        HRESULT located = locate(child, &position);
        if (FAILED(located)) {
            return located;
        }
        bool onSelf = position == selfPosition;
        if (onSelf ? description->act == nullptr : description->actOnItem == nullptr) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (isDisabled(window)) {
            return E_FAIL;
        }
        if (onSelf) {
            description->act(window);
        } else {
            description->actOnItem(window, position);
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR) override {
        int position = selfPosition;
        HRESULT located = locate(child, &position);
        return FAILED(located) ? located : DISP_E_MEMBERNOTFOUND;
    }

    // The edit's text, set as WM_SETTEXT sets it, which also announces it.
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        int position = selfPosition;
        HRESULT located = locate(child, &position);
        if (FAILED(located)) {
            return located;
        }
        if (position != selfPosition || !description->hasField) {
            return DISP_E_MEMBERNOTFOUND;
        }
        SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value != nullptr ? value : L""));
        return S_OK;
    }
};

// The window's object with one reference for the caller: the one it has, or
// a new one; null when memory runs out.
static AccessibleObject* findObject(HWND window, const AccessibleControl* description) {
    const WindowState* state = findWindowState(window);
    AccessibleObject* object = state != nullptr ? state->accessible : nullptr;
    if (object != nullptr) {
        object->AddRef();
        return object;
    }
    object = new (std::nothrow) AccessibleObject;
    if (object == nullptr) {
        return nullptr;
    }
    object->references = 1;
    object->window = window;
    object->description = description;
    if (!keepObject(window, object)) {
        delete object;
        return nullptr;
    }
    return object;
}

static LRESULT answerObjectRequest(HWND window, WPARAM wParam, LPARAM lParam, TextWidth width,
                                   const AccessibleControl* description) {
    // 64-bit Wine hands the 32-bit identifier over zero-extended.
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || !findLibraries() || !enterApartment()) {
        return answerByDefault(window, WM_GETOBJECT, wParam, lParam, width);
    }
    AccessibleObject* object = findObject(window, description);
    if (object == nullptr) {
        return E_OUTOFMEMORY;
    }
    LRESULT result = libraries.lresultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release();
    return result;
}

// Readers that hold the object from now on reach nothing of the window: the
// object fails their calls, and other processes' proxies are cut off.
static void disconnectObject(HWND window) {
    const WindowState* state = findWindowState(window);
    AccessibleObject* object = state != nullptr ? state->accessible : nullptr;
    if (object == nullptr) {
        return;
    }
    keepObject(window, nullptr);
    object->AddRef();
    object->window = nullptr;
    libraries.coDisconnectObject(object, 0);
    object->Release();
}

bool handleAccessibilityMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, TextWidth width,
                                const AccessibleControl* description, LRESULT* result) {
    switch (message) {
    case WM_GETOBJECT:
        *result = answerObjectRequest(control, wParam, lParam, width, description);
        return true;
    case WM_SETTEXT:
        *result = answerByDefault(control, message, wParam, lParam, width);
        notifyAccessibleEvent(control, EVENT_OBJECT_NAMECHANGE, CHILDID_SELF);
        return true;
    case WM_ENABLE:
        notifyAccessibleEvent(control, EVENT_OBJECT_STATECHANGE, CHILDID_SELF);
        return false;
    case WM_NCDESTROY:
        disconnectObject(control);
        return false;
    default:
        return false;
    }
}

void notifyAccessibleEvent(HWND control, DWORD event, LONG child) {
    NotifyWinEvent(event, control, OBJID_CLIENT, child);
}
