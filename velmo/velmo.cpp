// The library's entry: the theme is built while the host loads the library,
// then the window classes are registered under the host's executable.
#include "control.h"
#include "theme.h"
#include "themerecord.h"
#include "velmo.h"

// Each defined beside its control's window procedure.
extern const Control windowControl, buttonControl, tabMenuControl, linkControl, frameControl, listControl,
    staticControl, editControl;

struct WindowClass {
    const char* name;
    const Control* control;
};

// In the order of registration. A table is a frame under a second name.
static const WindowClass windowClasses[] = {
    {VELMO_WINDOW_CLASSA, &windowControl},   {VELMO_BUTTON_CLASSA, &buttonControl},
    {VELMO_TAB_MENU_CLASSA, &tabMenuControl}, {VELMO_LINK_CLASSA, &linkControl},
    {VELMO_FRAME_CLASSA, &frameControl},     {VELMO_LIST_CLASSA, &listControl},
    {VELMO_TABLE_CLASSA, &frameControl},     {VELMO_STATIC_CLASSA, &staticControl},
    {VELMO_EDIT_CLASSA, &editControl},
};

// Stops at the first class that can't be registered; those before it stay,
// and so do the brushes, which the classes use for the life of the process.
int registerClasses(void) {
    WNDCLASSEXA record = {};
    record.cbSize = sizeof record;
    record.style = CS_DBLCLKS;
    record.hInstance = GetModuleHandleA(nullptr);
    record.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    const Control* previous = nullptr;
    for (const WindowClass& windowClass : windowClasses) {
        const Control* control = windowClass.control;
        record.lpszClassName = windowClass.name;
        record.lpfnWndProc = control->procedure;
        record.cbWndExtra = control->extraBytes;
        if (previous == nullptr || getLightColour(previous->background) != getLightColour(control->background)) {
            record.hbrBackground = CreateSolidBrush(getLightColour(control->background));
        }
        if (RegisterClassExA(&record) == 0) {
            return 0;
        }
        previous = control;
    }
    return 1;
}

// The load never fails on the library's account: missing bitmaps only leave
// null lookups behind, and a class that can't be registered only can't be made.
// What the built-in theme made besides the registry (its other sets, pixel
// copies and fonts for other DPIs) and this thread's appearance listener go
// with an unload (FreeLibrary, reserved null);
// at process exit the system takes everything back anyway.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        getBitmaps();
        registerClasses();
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        stopListening();
        deleteBuiltInThemeData();
    }
    return TRUE;
}
