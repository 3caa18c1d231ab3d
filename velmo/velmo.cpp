// The library's entry: the theme is built while the host loads the library,
// then the window classes are registered under the host's executable.
#include "classrow.h"
#include "theme.h"
#include "velmo.h"

// Generated from velmo/CMakeLists.txt: the rows that the control sources
// define, declared, and classRows, their addresses in registration order.
#include "classrows.inc"

// Stops at the first class that can't be registered; those before it stay,
// and so do the brushes, which the classes use for the life of the process.
int registerClasses(void) {
    WNDCLASSEXA record = {};
    record.cbSize = sizeof record;
    record.style = CS_DBLCLKS;
    record.hInstance = GetModuleHandleA(nullptr);
    const ClassRow* previous = nullptr;
    for (const ClassRow* row : classRows) {
        record.lpszClassName = row->name;
        record.lpfnWndProc = row->procedure;
        record.cbWndExtra = row->extraBytes;
        record.hCursor = LoadCursorA(nullptr, row->cursor);
        if (previous == nullptr || previous->background != row->background) {
            record.hbrBackground = CreateSolidBrush(row->background);
        }
        if (RegisterClassExA(&record) == 0) {
            return 0;
        }
        previous = row;
    }
    return 1;
}

// The load never fails on the library's account: missing bitmaps only leave
// null lookups behind, and a class that can't be registered only can't be made.
// The fonts made for other DPIs go with an unload (FreeLibrary, reserved null);
// at process exit the system takes everything back anyway.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        getBitmaps();
        registerClasses();
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        deleteDpiFonts();
    }
    return TRUE;
}
