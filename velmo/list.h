// What the library's own code adds to the exported list.
#ifndef VELMO_LIST_H
#define VELMO_LIST_H

#include "velmo.h"

// Frees every item from head to the end, handing each item's data, when it
// has some, to release first; for a window's list as the window goes.
void deleteWholeList(ListItem* head, void (*release)(void*));

#endif
