// A reader in a process of its own, as a screen reader is: for each window
// handle on the command line (hexadecimal), one line for the control's client
// object and one for each of its simple children, on standard output:
//   <child> <role> <states, hexadecimal> <left>,<top>,<width>,<height> "<name>" "<default action>"
// Exits with 1 when a window gives no object.
#include <windows.h>

#include <oleacc.h>
#include <stdio.h>
#include <stdlib.h>

static void printString(BSTR text) {
    char narrow[256] = "";
    if (text != nullptr) {
        WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        SysFreeString(text);
    }
    printf(" \"%s\"", narrow);
}

static void printChild(IAccessible* object, LONG child) {
    VARIANT id;
    V_VT(&id) = VT_I4;
    V_I4(&id) = child;
    VARIANT role = {};
    VARIANT state = {};
    LONG left = 0, top = 0, width = 0, height = 0;
    object->get_accRole(id, &role);
    object->get_accState(id, &state);
    object->accLocation(&left, &top, &width, &height, id);
    printf("%ld %ld %lx %ld,%ld,%ld,%ld", child, V_I4(&role), V_I4(&state), left, top, width, height);
    BSTR text = nullptr;
    object->get_accName(id, &text);
    printString(text);
    text = nullptr;
    object->get_accDefaultAction(id, &text);
    printString(text);
    printf("\n");
}

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 0;
    for (int argument = 1; argument < argc; argument++) {
        HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(strtoll(argv[argument], nullptr, 16)));
        IAccessible* object = nullptr;
        if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                              reinterpret_cast<void**>(&object)))) {
            status = 1;
            continue;
        }
        LONG count = 0;
        object->get_accChildCount(&count);
        for (LONG child = CHILDID_SELF; child <= count; child++) {
            printChild(object, child);
        }
        object->Release();
    }
    CoUninitialize();
    return status;
}
