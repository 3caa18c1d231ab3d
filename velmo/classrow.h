// One window class as the library registers it. Each control's source defines
// the rows of its classes beside its window procedure, as
// `extern const ClassRow name = {...};`, and velmo/CMakeLists.txt lists the
// rows in the order that registerClasses registers them.
#ifndef VELMO_CLASSROW_H
#define VELMO_CLASSROW_H

#include <windows.h>

struct ClassRow {
    const char* name;
    WNDPROC procedure;
    // Window extra bytes: reserved only, no control reads or writes them.
    int extraBytes;
    // A row of the same colour as the row registered before it shares that
    // row's brush; any other row gets a brush of its own.
    COLORREF background;
    // A system cursor (IDC_ARROW); a control that shows another sets it itself.
    LPCSTR cursor;
};

#endif
