// The records of every control window of the process, in one table keyed by
// the window's handle. The controls' extra bytes are reserved and their
// user-data slots are the hosts', and a window property would cost a call to
// the window server at every paint; a table of the library's own costs
// neither. Windows of several threads share it, so a lock guards it.
#include "windowstate.h"

#include <cstdint>
#include <new>

#include "itemtext.h"
#include "themerecord.h"

// Open addressing with linear probing; the table doubles before it is half
// full, so a probe ends after a few slots.
struct StateSlot {
    HWND window;
    WindowState* state;
};

static const size_t firstSlotCount = 64;

static StateSlot* slots;
static size_t slotCount;
static size_t usedSlots;
static SRWLOCK tableLock = SRWLOCK_INIT;

static size_t findHome(HWND window, size_t count) {
    uintptr_t key = reinterpret_cast<uintptr_t>(window);
    // Handles differ mostly in their low bits; the multiplication spreads them.
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 20) & (count - 1);
}

// The slot that holds window, or the empty one where it would go.
static size_t findSlot(const StateSlot* table, size_t count, HWND window) {
    size_t index = findHome(window, count);
    while (table[index].window != nullptr && table[index].window != window) {
        index = (index + 1) & (count - 1);
    }
    return index;
}

static bool growTable(void) {
    size_t count = slotCount == 0 ? firstSlotCount : slotCount * 2;
    StateSlot* grown = new (std::nothrow) StateSlot[count]();
    if (grown == nullptr) {
        return false;
    }
    for (size_t index = 0; index < slotCount; index++) {
        if (slots[index].window != nullptr) {
            grown[findSlot(grown, count, slots[index].window)] = slots[index];
        }
    }
    delete[] slots;
    slots = grown;
    slotCount = count;
    return true;
}

// Linear probing's deletion: the entries after the emptied slot that would
// no longer be found move back into it.
static void emptySlot(size_t index) {
    size_t gap = index;
    slots[gap] = {nullptr, nullptr};
    for (size_t next = (gap + 1) & (slotCount - 1); slots[next].window != nullptr;
         next = (next + 1) & (slotCount - 1)) {
        size_t home = findHome(slots[next].window, slotCount);
        bool homeInGap = gap <= next ? (home <= gap || home > next) : (home <= gap && home > next);
        if (homeInGap) {
            slots[gap] = slots[next];
            slots[next] = {nullptr, nullptr};
            gap = next;
        }
    }
}

static void freeWindowState(WindowState* state) {
    if (state != nullptr) {
        deleteItemTextCopies(&state->texts);
        delete state;
    }
}

// A record left by a window whose handle the system has given again (one that
// never saw its WM_NCDESTROY) gives way to the new one.
bool newWindowState(HWND window, ThemeSection section) {
    WindowState* state = new (std::nothrow) WindowState();
    if (state == nullptr) {
        return false;
    }
    state->section = section;
    state->hotItem = -1;
    WindowState* replaced = nullptr;
    AcquireSRWLockExclusive(&tableLock);
    bool kept = (usedSlots + 1) * 2 <= slotCount || growTable();
    if (kept) {
        size_t index = findSlot(slots, slotCount, window);
        if (slots[index].window == nullptr) {
            usedSlots++;
        }
        replaced = slots[index].state;
        slots[index] = {window, state};
    }
    ReleaseSRWLockExclusive(&tableLock);
    freeWindowState(replaced);
    if (!kept) {
        delete state;
    }
    return kept;
}

WindowState* findWindowState(HWND window) {
    WindowState* state = nullptr;
    AcquireSRWLockShared(&tableLock);
    if (slotCount != 0 && window != nullptr) {
        state = slots[findSlot(slots, slotCount, window)].state;
    }
    ReleaseSRWLockShared(&tableLock);
    return state;
}

HWND* newWindowList(int* count) {
    *count = 0;
    AcquireSRWLockShared(&tableLock);
    HWND* windows = usedSlots != 0 ? new (std::nothrow) HWND[usedSlots] : nullptr;
    for (size_t index = 0; windows != nullptr && index < slotCount; index++) {
        if (slots[index].window != nullptr) {
            windows[(*count)++] = slots[index].window;
        }
    }
    ReleaseSRWLockShared(&tableLock);
    return windows;
}

void deleteWindowState(HWND window) {
    WindowState* state = nullptr;
    AcquireSRWLockExclusive(&tableLock);
    if (slotCount != 0 && window != nullptr) {
        size_t index = findSlot(slots, slotCount, window);
        state = slots[index].state;
        if (slots[index].window != nullptr) {
            emptySlot(index);
            usedSlots--;
        }
    }
    ReleaseSRWLockExclusive(&tableLock);
    freeWindowState(state);
    forgetWindowTheme(window);
}
