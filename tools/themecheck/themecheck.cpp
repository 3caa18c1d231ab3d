// themecheck FOLDER: prints what checkTheme finds wrong with a theme folder.
// Exit status 0 for a usable theme, 1 when it has problems, 2 for a wrong
// command line or no theme folder there. The command line is read wide, so a
// folder's name in any script arrives whole.
#include "velmo.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <new>

static const int usableStatus = 0;
static const int problemStatus = 1;
static const int usageStatus = 2;

// Wide to a console; to a file or pipe in UTF-8.
static void writeText(HANDLE output, const wchar_t* text) {
    DWORD length = static_cast<DWORD>(wcslen(text));
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(output, &mode)) {
        WriteConsoleW(output, text, length, &written, nullptr);
        return;
    }
    int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    char* bytes = size > 0 ? new (std::nothrow) char[size] : nullptr;
    if (bytes != nullptr) {
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), bytes, size, nullptr, nullptr);
        WriteFile(output, bytes, size, &written, nullptr);
        delete[] bytes;
    }
}

// Enough for thousands of lines; a longer report is cut.
static const int reportSize = 1 << 16;

static int checkFolder(const wchar_t* folder) {
    wchar_t* report = new (std::nothrow) wchar_t[reportSize];
    if (report == nullptr) {
        writeText(GetStdHandle(STD_ERROR_HANDLE), L"themecheck: out of memory\n");
        return usageStatus;
    }
    int problems = checkTheme(folder, report, reportSize);
    writeText(GetStdHandle(STD_OUTPUT_HANDLE), problems == 0 ? L"No problems found.\n" : report);
    delete[] report;
    return problems < 0 ? usageStatus : problems > 0 ? problemStatus : usableStatus;
}

int main(void) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count != 2) {
        writeText(GetStdHandle(STD_ERROR_HANDLE), L"usage: themecheck FOLDER\n");
        LocalFree(arguments);
        return usageStatus;
    }
    int status = checkFolder(arguments[1]);
    LocalFree(arguments);
    return status;
}
