#include "testhost.h"

#include <stdio.h>
#include <string.h>

#include <string>

static const char velmoFile[] = "velmo.dll";
static const char withoutThemeCopy[] = "without-theme";
static const char ownThemeCopy[] = "own-theme";
// θέμα-тема: no ANSI code page holds both alphabets.
static const wchar_t wideNamedCopy[] = L"\u03b8\u03ad\u03bc\u03b1-\u0442\u0435\u043c\u0430";
static const char notABitmap[] = "not a bitmap";
static const char hostClassName[] = "VelmoTestHost";
static const char recorderProperty[] = "velmoTestRecorder";
static const char procedureProperty[] = "velmoTestProcedure";
static const int areaWidth = 320;
static const int areaHeight = 256;
static const int areaColumns = 4;
static const int idleWait = 10;

bool operator==(const RecordedMessage& left, const RecordedMessage& right) {
    return left.window == right.window && left.message == right.message && left.wParam == right.wParam &&
           left.lParam == right.lParam;
}

void PrintTo(const RecordedMessage& message, std::ostream* out) {
    *out << "{window " << message.window << ", message 0x" << std::hex << message.message << ", wParam 0x"
         << message.wParam << ", lParam 0x" << message.lParam << std::dec << "}";
}

POINT getAreaOrigin(TestArea area) {
    POINT origin = {(area % areaColumns) * areaWidth, (area / areaColumns) * areaHeight};
    return origin;
}

static HMODULE velmo = nullptr;

static std::wstring widen(const std::string& text) {
    wchar_t wide[MAX_PATH];
    return MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, MAX_PATH) != 0 ? wide : L"";
}

// The first library loaded stays the one that the tests use.
static HMODULE loadVelmoFile(const std::wstring& path) {
    if (velmo == nullptr) {
        velmo = LoadLibraryW(path.c_str());
    }
    return velmo;
}

HMODULE loadVelmo() {
    return loadVelmoFile(widen(velmoFile));
}

bool makeTemporaryFolder(char* path) {
    char temporary[MAX_PATH];
    return GetTempPathA(sizeof temporary, temporary) != 0 && GetTempFileNameA(temporary, "vlm", 0, path) != 0 &&
           DeleteFileA(path) && CreateDirectoryA(path, nullptr);
}

// The folder of a copy of velmo.dll that the build keeps away from bin/ and
// its bitmap/ (copyName: "without-theme" or "own-theme"); path holds MAX_PATH.
static bool findVelmoCopy(const char* copyName, char* path) {
    char program[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program) {
        return false;
    }
    std::string folder = std::string(program, strrchr(program, '\\') + 1) + VELMO_COPIES + "\\" + copyName;
    length = GetFullPathNameA(folder.c_str(), MAX_PATH, path, nullptr);
    return length > 0 && length < MAX_PATH;
}

// The theme reads bitmap/ in the current directory at load, then the one
// beside the library.
static HMODULE loadVelmoFrom(const char* folder, const std::wstring& library) {
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(folder);
    HMODULE loaded = loadVelmoFile(library);
    SetCurrentDirectoryA(previous);
    return loaded;
}

// The library of bin/, or the named copy when there is one.
static HMODULE loadVelmoIn(const char* folder, const char* copyName) {
    char copy[MAX_PATH];
    if (copyName == nullptr) {
        return loadVelmoFrom(folder, widen(velmoFile));
    }
    return findVelmoCopy(copyName, copy) ? loadVelmoFrom(folder, widen(std::string(copy) + "\\" + velmoFile)) : nullptr;
}

static HMODULE loadVelmoInEmptyFolder(const char* copyName) {
    char empty[MAX_PATH];
    if (!makeTemporaryFolder(empty)) {
        return nullptr;
    }
    HMODULE library = loadVelmoIn(empty, copyName);
    RemoveDirectoryA(empty);
    return library;
}

HMODULE loadVelmoWithoutTheme() {
    return loadVelmoInEmptyFolder(withoutThemeCopy);
}

// Copies the library without a theme into a folder named wideNamedCopy beside
// the build's copies, at every run so that it follows the build; folder
// receives the folder's path.
static bool makeWideNamedCopy(std::wstring* folder) {
    char source[MAX_PATH];
    if (!findVelmoCopy(withoutThemeCopy, source)) {
        return false;
    }
    std::wstring sourceFolder = widen(source);
    *folder = sourceFolder.substr(0, sourceFolder.rfind(L'\\') + 1) + wideNamedCopy;
    CreateDirectoryW(folder->c_str(), nullptr);
    CreateDirectoryW((*folder + L"\\bitmap").c_str(), nullptr);
    return CopyFileW((sourceFolder + L"\\" + widen(velmoFile)).c_str(), (*folder + L"\\" + widen(velmoFile)).c_str(),
                     FALSE) != 0;
}

static bool writeText(const std::string& path, const char* text) {
    FILE* file = fopen(path.c_str(), "wb");
    bool written = file != nullptr && fputs(text, file) >= 0;
    return file != nullptr && fclose(file) == 0 && written;
}

// The image is saved in the current folder's bitmap/, copied beside the
// wide-named copy, then overwritten with text.
static HMODULE loadWideNamedCopyWithOneBitmap(const char* fileName, const Pixels* image,
                                              bool (*save)(const char* path, const Pixels* image)) {
    char folder[MAX_PATH];
    std::wstring copy;
    if (!makeTemporaryFolder(folder) || !makeWideNamedCopy(&copy)) {
        return nullptr;
    }
    std::string themeFolder = std::string(folder) + "\\bitmap";
    std::string file = themeFolder + "\\" + fileName;
    std::wstring besideCopy = copy + L"\\bitmap\\" + widen(fileName);
    HMODULE library = nullptr;
    CreateDirectoryA(themeFolder.c_str(), nullptr);
    if (save(file.c_str(), image) && CopyFileW(widen(file).c_str(), besideCopy.c_str(), FALSE) &&
        writeText(file, notABitmap)) {
        library = loadVelmoFrom(folder, copy + L"\\" + widen(velmoFile));
    }
    DeleteFileW(besideCopy.c_str());
    DeleteFileA(file.c_str());
    RemoveDirectoryA(themeFolder.c_str());
    RemoveDirectoryA(folder);
    return library;
}

// The theme file goes into a new folder, the current one at the load, or
// beside the library's own copy, loaded from an empty folder; it is deleted
// once loaded.
HMODULE loadVelmoWithOneBitmap(const char* fileName, const Pixels* image,
                               bool (*save)(const char* path, const Pixels* image), OneBitmapPlace place) {
    if (place == besideWideNamedCopy) {
        return loadWideNamedCopyWithOneBitmap(fileName, image, save);
    }
    char folder[MAX_PATH];
    bool beside = place == besideOwnCopy;
    if (!(beside ? findVelmoCopy(ownThemeCopy, folder) : makeTemporaryFolder(folder))) {
        return nullptr;
    }
    std::string themeFolder = std::string(folder) + "\\bitmap";
    std::string file = themeFolder + "\\" + fileName;
    HMODULE library = nullptr;
    CreateDirectoryA(themeFolder.c_str(), nullptr);
    if (save(file.c_str(), image)) {
        library = beside ? loadVelmoInEmptyFolder(ownThemeCopy)
                         : loadVelmoIn(folder, place == aloneInCurrentFolder ? withoutThemeCopy : nullptr);
    }
    DeleteFileA(file.c_str());
    RemoveDirectoryA(themeFolder.c_str());
    if (!beside) {
        RemoveDirectoryA(folder);
    }
    return library;
}

FARPROC findVelmoExport(const char* name) {
    HMODULE library = loadVelmo();
    return library != nullptr ? GetProcAddress(library, name) : nullptr;
}

static void record(Recorder* recorder, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (recorder == nullptr) {
        return;
    }
    bool kept = recorder->watched.empty();
    for (UINT watched : recorder->watched) {
        kept = kept || watched == message;
    }
    if (kept) {
        recorder->messages.push_back({window, message, wParam, lParam});
    }
}

static LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    record((Recorder*)GetPropA(window, recorderProperty), window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropA(window, recorderProperty);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static bool registerHostClass() {
    WNDCLASSEXA record = {};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), hostClassName, &record)) {
        return true;
    }
    record.cbSize = sizeof record;
    record.style = CS_DBLCLKS;
    record.lpfnWndProc = hostProcedure;
    record.hInstance = GetModuleHandleA(nullptr);
    record.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    record.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    record.lpszClassName = hostClassName;
    return RegisterClassExA(&record) != 0;
}

HWND createHostWindow(Recorder* recorder, int x, int y, int width, int height) {
    if (!registerHostClass()) {
        return nullptr;
    }
    // Never active: destroying the active window makes Wine wait about two
    // seconds for another to take over.
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, hostClassName, "", WS_POPUP | WS_CLIPCHILDREN,
                                  x, y, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    SetPropA(window, recorderProperty, recorder);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    pumpMessages();
    return window;
}

HWND createChild(const char* className, const char* text, HWND parent, int id, int x, int y, int width,
                 int height, DWORD style, DWORD exStyle) {
    HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                 parent, (HMENU)(INT_PTR)id, GetModuleHandleA(nullptr), nullptr);
    pumpMessages();
    return child;
}

static LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    record((Recorder*)GetPropA(window, recorderProperty), window, message, wParam, lParam);
    WNDPROC original = (WNDPROC)GetPropA(window, procedureProperty);
    if (message == WM_NCDESTROY) {
        RemovePropA(window, recorderProperty);
        RemovePropA(window, procedureProperty);
        SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)original);
    }
    return CallWindowProcA(original, window, message, wParam, lParam);
}

void recordMessages(HWND window, Recorder* recorder) {
    SetPropA(window, recorderProperty, recorder);
    SetPropA(window, procedureProperty, (HANDLE)GetWindowLongPtrA(window, GWLP_WNDPROC));
    SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)recordingProcedure);
}

std::vector<RecordedMessage> recordedOf(const Recorder* recorder, UINT message) {
    std::vector<RecordedMessage> found;
    for (const RecordedMessage& recorded : recorder->messages) {
        if (recorded.message == message) {
            found.push_back(recorded);
        }
    }
    return found;
}

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void pumpMessagesFor(int milliseconds) {
    DWORD end = GetTickCount() + milliseconds;
    do {
        pumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, idleWait, QS_ALLINPUT);
    } while ((LONG)(end - GetTickCount()) > 0);
    pumpMessages();
}

void repaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpMessages();
}
