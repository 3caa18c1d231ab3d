// The library's entry: the theme is built while the host loads the library.
#include "velmo.h"

// The load never fails on the library's account: missing bitmaps only leave
// null lookups behind.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        getBitmaps();
    }
    return TRUE;
}
