// The window classes that the library registers, in its order of
// registration, with what the tests expect of each.
#ifndef VELMO_TEST_VELMOCLASSES_H
#define VELMO_TEST_VELMOCLASSES_H

#include <windows.h>

#include <ostream>

#include "velmo.h"

struct VelmoClass {
    const char* name;
    // The exported name of its window procedure.
    const char* procedure;
    int extraBytes;
    COLORREF background;
    // Classes with the same letter share one brush.
    char brush;
    // A size that shows all that the control draws.
    int width;
    int height;
};

const VelmoClass velmoClasses[] = {
    {VELMO_WINDOW_CLASS, "dialogWindowProcedure", 0, RGB(255, 255, 255), 'A', 200, 120},
    {VELMO_BUTTON_CLASS, "buttonWindowProcedure", 4, RGB(0, 0, 0), 'B', 160, 34},
    {VELMO_TAB_MENU_CLASS, "tabWindowProcedure", 4, RGB(0, 0, 0), 'B', 300, 34},
    {VELMO_LINK_CLASS, "linkWindowProcedure", 0, RGB(255, 255, 255), 'C', 160, 20},
    {VELMO_FRAME_CLASS, "frameWindowProcedure", 0, RGB(255, 255, 255), 'C', 200, 120},
    {VELMO_LIST_CLASS, "listWindowProcedure", 4, RGB(255, 255, 255), 'C', 200, 200},
    {VELMO_TABLE_CLASS, "frameWindowProcedure", 0, RGB(255, 255, 255), 'C', 200, 120},
    {VELMO_STATIC_CLASS, "staticWindowProcedure", 0, RGB(255, 255, 255), 'C', 200, 20},
    {VELMO_EDIT_CLASS, "editWindowProcedure", 0, RGB(200, 200, 200), 'D', 200, 24},
};
const int velmoClassCount = sizeof velmoClasses / sizeof velmoClasses[0];

// GoogleTest names the class in its failure reports with this.
inline void PrintTo(const VelmoClass& velmoClass, std::ostream* out) {
    *out << velmoClass.name;
}

#endif
