// The client's heap allocations go through here, so that tests can make any
// one of them fail and check that the failure is reported, not a crash.
#ifndef MARROWBY_CLIENT_ALLOCATION_H
#define MARROWBY_CLIENT_ALLOCATION_H

#include <cstddef>
#include <cstdint>

// malloc and realloc, except for the one allocation chosen to fail. Freed with free().
void* allocateBytes(size_t size);
void* resizeBytes(void* block, size_t size);

// For tests of the out-of-memory paths: the allocation that follows the next
// `skipped` ones fails, once; a negative value cancels. Returns the countdown
// it replaces, which is negative once the failure has happened.
int32_t scheduleAllocationFailure(int32_t skipped);

#endif
