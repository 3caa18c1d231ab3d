// The library's one container: a singly linked list of untyped data pointers.
// Only printList and a window's items need Windows; the rest builds and is
// tested natively too.
#include "list.h"

#include <new>

#ifdef _WIN32
static const char itemCaption[] = "List item";
static const char noDataText[] = "[no data]";
#endif

ListItem* newList(void) {
    ListItem* item = new (std::nothrow) ListItem;
    if (item == nullptr) {
        return nullptr;
    }
    item->next = nullptr;
    item->data = nullptr;
    return item;
}

void deleteList(ListItem* item) {
    delete item;
}

ListItem* addToList(ListItem* head, void* data) {
    if (head == nullptr) {
        return nullptr;
    }
    if (head->data == nullptr) {
        head->data = data;
        return head;
    }
    ListItem* item = newList();
    if (item == nullptr) {
        return nullptr;
    }
    ListItem* last = head;
    while (last->next != nullptr) {
        last = last->next;
    }
    last->next = item;
    item->data = data;
    return item;
}

static void releaseData(ListItem* item, void (*release)(void*)) {
    if (item->data != nullptr && release != nullptr) {
        release(item->data);
    }
}

// The head goes whatever the position when it is the only item; an emptied
// list keeps its head item so that callers always hold a list.
static ListItem* removeHead(ListItem* head, void (*release)(void*)) {
    releaseData(head, release);
    ListItem* next = head->next;
    if (next == nullptr) {
        head->data = nullptr;
        return head;
    }
    deleteList(head);
    return next;
}

ListItem* removeFromList(ListItem* head, int position, void (*release)(void*)) {
    if (head == nullptr) {
        return nullptr;
    }
    if (head->next == nullptr || position == 0) {
        return removeHead(head, release);
    }
    ListItem* previous = head;
    ListItem* current = head->next;
    for (int index = 1; current != nullptr && index <= position; index++) {
        if (index == position) {
            previous->next = current->next;
            releaseData(current, release);
            deleteList(current);
            break;
        }
        previous = current;
        current = current->next;
    }
    return head;
}

// Position 0 of a list with data makes a new head in front of the old one;
// any other goes after the item holding the data before it, -1 after the
// last item.
ListItem* insertIntoList(ListItem* head, int* position, void* data) {
    int wanted = *position;
    *position = -1;
    if (head == nullptr || data == nullptr || wanted < -1) {
        return head;
    }
    if (head->data == nullptr && head->next == nullptr) {
        if (wanted <= 0) {
            head->data = data;
            *position = 0;
        }
        return head;
    }
    ListItem* before = nullptr;
    int index = 0;
    for (ListItem* item = head; item != nullptr && index != wanted; item = item->next) {
        if (wanted == -1 || item->data != nullptr) {
            before = item;
        }
        index += item->data != nullptr ? 1 : 0;
    }
    if (wanted != -1 && index < wanted) {
        return head;
    }
    ListItem* item = newList();
    if (item == nullptr) {
        return head;
    }
    item->data = data;
    *position = index;
    if (before == nullptr) {
        item->next = head;
        return item;
    }
    item->next = before->next;
    before->next = item;
    return head;
}

void deleteWholeList(ListItem* head, void (*release)(void*)) {
    while (head != nullptr) {
        ListItem* next = head->next;
        releaseData(head, release);
        deleteList(head);
        head = next;
    }
}

#ifdef _WIN32
void printList(ListItem* head) {
    for (ListItem* item = head; item != nullptr; item = item->next) {
        const char* text = item->data != nullptr ? static_cast<const char*>(item->data) : noDataText;
        MessageBoxA(nullptr, text, itemCaption, MB_OK);
    }
}

ListItem* getWindowItems(HWND window) {
    return reinterpret_cast<ListItem*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void setWindowItems(HWND window, ListItem* head) {
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(head));
}

LRESULT createWindowItems(HWND window) {
    ListItem* head = newList();
    if (head == nullptr) {
        return -1;
    }
    setWindowItems(window, head);
    return 0;
}

void deleteWindowItems(HWND window, void (*release)(void*)) {
    ListItem* head = getWindowItems(window);
    setWindowItems(window, nullptr);
    deleteWholeList(head, release);
}

int countWindowItems(HWND window) {
    int count = 0;
    for (ListItem* item = getWindowItems(window); item != nullptr; item = item->next) {
        if (item->data != nullptr) {
            count++;
        }
    }
    return count;
}

void* getWindowItemAt(HWND window, int position) {
    for (ListItem* item = getWindowItems(window); item != nullptr; item = item->next) {
        if (item->data != nullptr && position-- == 0) {
            return item->data;
        }
    }
    return nullptr;
}
#endif
