// What a process holds, for the lifetime tests (create and destroy a control
// many times, then compare), and running programs and tests in processes of
// their own.
#ifndef VELMO_TEST_RESOURCES_H
#define VELMO_TEST_RESOURCES_H

#include <stddef.h>

#include <functional>
#include <string>

// The process's live GDI objects. Wine's GetGuiResources answers 0, so where
// it does, every slot of Wine's GDI handle table is asked with GetObjectType:
// Wine accepts a handle whose high word is 0 for whatever object lives in
// that slot, and its slots are numbered consecutively from 0.
int countGdiObjects();

// Bytes in use in the process's heaps, the C runtime's heap (where new and
// malloc allocate, in the library and here alike) among them, by HeapWalk.
// Window-manager allocations come and go with windows, so compare counts
// taken after a warm-up, allowing a little slack.
size_t countHeapBytes();

// What create-and-destroy cycles leave behind: the change in live GDI objects
// and in heap bytes in use over a thousand cycles, measured after a warm-up
// so that what Wine allocates once isn't counted. The heap may move by a
// little (allowedHeapGrowth) while Wine's own tables settle, and Wine's cache
// of window DCs may keep a few more DCs and regions (allowedGdiGrowth) on a
// busy machine; one object leaked per cycle would show as a thousand.
struct Leftovers {
    int gdiObjects;
    long long heapBytes;
};
const long long allowedHeapGrowth = 4096;
const int allowedGdiGrowth = 8;
Leftovers measureLeftovers(const std::function<void()>& cycle);

// Runs a program to its end, or ends it after two minutes, pumping this
// thread's messages meanwhile (a child may call into this thread's windows),
// and gives its exit status, -1 when it didn't start or end by itself. With
// output, what it writes to its standard output is appended there.
int runChildProcess(char* commandLine, std::string* output);

// For what only holds in a fresh process (the library's load, process-wide
// first uses): true inside the child process of its own that the current
// test runs in; anywhere else starts that child, expects it to pass, and
// gives false, for the test to return at once:
//     if (!runsInOwnProcess()) { return; }
bool runsInOwnProcess();

#endif
