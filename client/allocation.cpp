#include "allocation.h"

#include <cstdlib>

// Allocations left before the one that fails; negative when none is to fail.
static int32_t allocationsBeforeFailure = -1;

static bool failAllocation() {
    if (allocationsBeforeFailure < 0) {
        return false;
    }
    return allocationsBeforeFailure-- == 0;
}

void* allocateBytes(size_t size) {
    return failAllocation() ? nullptr : malloc(size);
}

void* resizeBytes(void* block, size_t size) {
    return failAllocation() ? nullptr : realloc(block, size);
}

int32_t scheduleAllocationFailure(int32_t skipped) {
    int32_t replaced = allocationsBeforeFailure;
    allocationsBeforeFailure = skipped;
    return replaced;
}
