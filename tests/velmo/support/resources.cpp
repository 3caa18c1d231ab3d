#include "resources.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "testhost.h"

static const unsigned gdiSlotCount = 0x10000;
static const DWORD maxHeaps = 256;
static const char aloneVariable[] = "VELMO_TEST_ALONE";
static const DWORD childTimeout = 120000;
static const int warmUpCycles = 20;
static const int lifetimeCycles = 1000;

int countGdiObjects() {
    int reported = (int)GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) {
        return reported;
    }
    int count = 0;
    for (unsigned slot = 0; slot < gdiSlotCount; slot++) {
        if (GetObjectType((HGDIOBJ)(ULONG_PTR)slot) != 0) {
            count++;
        }
    }
    return count;
}

static size_t countBusyBytes(HANDLE heap) {
    size_t bytes = 0;
    PROCESS_HEAP_ENTRY entry = {};
    if (!HeapLock(heap)) {
        return 0;
    }
    while (HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
            bytes += entry.cbData;
        }
    }
    HeapUnlock(heap);
    return bytes;
}

size_t countHeapBytes() {
    HANDLE heaps[maxHeaps];
    DWORD count = GetProcessHeaps(maxHeaps, heaps);
    size_t bytes = 0;
    for (DWORD index = 0; index < count && index < maxHeaps; index++) {
        bytes += countBusyBytes(heaps[index]);
    }
    return bytes;
}

Leftovers measureLeftovers(const std::function<void()>& cycle) {
    for (int i = 0; i < warmUpCycles; i++) {
        cycle();
    }
    pumpMessages();
    int gdiObjects = countGdiObjects();
    size_t heapBytes = countHeapBytes();
    for (int i = 0; i < lifetimeCycles; i++) {
        cycle();
    }
    pumpMessages();
    return {countGdiObjects() - gdiObjects, (long long)countHeapBytes() - (long long)heapBytes};
}

int runChildProcess(char* commandLine, std::string* output) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (output != nullptr) {
        if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0)) {
            return -1;
        }
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (output != nullptr) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(nullptr, commandLine, nullptr, nullptr, output != nullptr, 0, nullptr, nullptr,
                                  &startup, &process);
    if (writeEnd != nullptr) {
        CloseHandle(writeEnd);
    }
    DWORD status = (DWORD)-1;
    if (started) {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < childTimeout &&
               MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, childTimeout, QS_ALLINPUT) != WAIT_OBJECT_0) {
            pumpMessages();
        }
        if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process.hProcess, &status)) {
            TerminateProcess(process.hProcess, 1);
            status = (DWORD)-1;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    char buffer[512];
    DWORD got = 0;
    while (readEnd != nullptr && started && ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        output->append(buffer, got);
    }
    if (readEnd != nullptr) {
        CloseHandle(readEnd);
    }
    return (int)status;
}

// Runs the test of this program with this full name ("Suite.name") in a child
// process and gives its exit status (0: passed), -1 when it can't be started.
static int runTestAlone(const char* testName) {
    char program[MAX_PATH];
    if (GetModuleFileNameA(nullptr, program, sizeof program) == 0) {
        return -1;
    }
    char commandLine[2 * MAX_PATH];
    snprintf(commandLine, sizeof commandLine, "\"%s\" --gtest_filter=%s", program, testName);
    SetEnvironmentVariableA(aloneVariable, testName);
    int status = runChildProcess(commandLine, nullptr);
    SetEnvironmentVariableA(aloneVariable, nullptr);
    return status;
}

static bool isRunningAlone(const char* testName) {
    char value[256];
    DWORD length = GetEnvironmentVariableA(aloneVariable, value, sizeof value);
    return length > 0 && length < sizeof value && strcmp(value, testName) == 0;
}

bool runsInOwnProcess() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    if (isRunningAlone(name.c_str())) {
        return true;
    }
    EXPECT_EQ(0, runTestAlone(name.c_str())) << name << " in a process of its own";
    return false;
}
