// Times the paint of each skinned control against the platform's own control
// of the same kind, side by side in one window, and the load of velmo.dll.
//
//   velmo_paint_bench [--theme NAME] [REPETITIONS]
//                                        the paint table (in that theme), the
//                                        theme switch, then the load times
//   velmo_paint_bench --load-once DLL    loads DLL once; the exit status is the
//                                        load's duration in microseconds
//
// Run it from a directory that holds bitmap/: the first load reads the theme there.
// The library is loaded at run time, never linked, so that each child
// process starts without it.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

static const char velmoFile[] = "velmo.dll";
// A library with no work of its own: the least that a load costs here.
static const char emptyLibraryFile[] = "velmo_bench_empty.dll";
static const char loadOnceOption[] = "--load-once";
static const DWORD loadFailed = 0xFFFFFFFF;
static const int loadSamples = 9;
static const DWORD childTimeout = 60000;
static const double ratioTarget = 1.0;
// A control that misses ratioTarget still meets its target within this much
// of the floor that its described drawing sets.
static const double floorAllowance = 1.05;
static const int noFloor = -1;

static const int defaultRepetitions = 2000;
static const int warmUpPaints = 100;
// With RDW_ALLCHILDREN the skinned edit's paint includes its inner field,
// which Wine leaves alone otherwise; no other control here has children.
static const UINT paintFlags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN;

static const char hostClassName[] = "VelmoPaintBenchHost";
static const int hostWidth = 1280;
static const int hostHeight = 620;

static const int itemCount = 20;
// The long list, scrolled to its end: its paint must cost what the short
// one's does.
static const int longItemCount = 10000;
static const int tabCount = 8;
static const char itemFormat[] = "Item %d";

enum Filling { noItems, listItems, longListItems, tabMenuTabs, tabControlTabs, innerEdit };

struct Peer {
    const char* className;
    DWORD style;
    Filling filling;
};

// Each pair has one size; the skinned control stands at x, its peer at x + width + pairGap.
struct Pair {
    const char* name;
    Peer skinned;
    Peer stock;
    const char* text;
    int x, y, width, height;
    // A floor is not a skinned control but the least that its described
    // drawing can cost: it shows how much of a miss the design itself sets.
    bool floor;
    // The index of the floor pair that bounds this control, or noFloor.
    int floorPair;
};

static const int pairGap = 10;

// The list's rows drawn as text alone: its font, colour and boxes.
static const char rowsFloorClassName[] = "VelmoPaintBenchRows";
static const int rowsFirstTop = 15;
static const int rowsStep = 25;
static const RECT rowsFirstBox = {35, rowsFirstTop, 85, rowsFirstTop + 15};
static const COLORREF rowsColour = RGB(80, 80, 80);
static const UINT rowsFormat = DT_SINGLELINE | DT_VCENTER;

// An empty light grey window around a stock EDIT, one pixel in, as the
// skinned edit places its field.
static const char editFloorClassName[] = "VelmoPaintBenchEditFrame";
static const COLORREF editFloorColour = RGB(200, 200, 200);
static const int editFloorInset = 1;

// Where the two floors stand in pairs[].
static const int rowsFloorPair = 6;
static const int editFloorPair = 7;
// The short and the long list, whose ratio the table prints.
static const int shortListPair = 4;
static const int longListPair = 5;

static const Pair pairs[] = {
    {"button", {"VelmoButton", 0, noItems}, {"BUTTON", BS_PUSHBUTTON, noItems}, "Button", 10, 10, 120, 34, false, noFloor},
    {"static", {"VelmoStatic", 0, noItems}, {"STATIC", SS_CENTER, noItems}, "Static text", 300, 10, 200, 20, false, noFloor},
    {"edit", {"VelmoEdit", 0, noItems}, {"EDIT", ES_LEFT, noItems}, "Edit text", 10, 60, 200, 24, false, editFloorPair},
    {"tab menu, 8 tabs", {"VelmoTabMenu", 0, tabMenuTabs}, {WC_TABCONTROLA, 0, tabControlTabs}, "", 10, 100, 660,
     34, false, noFloor},
    {"list, 20 rows", {"VelmoList", 0, listItems}, {"LISTBOX", LBS_NOINTEGRALHEIGHT, listItems}, "", 10, 150, 200,
     460, false, rowsFloorPair},
    {"list, 10,000 rows, end", {"VelmoList", WS_VSCROLL, longListItems},
     {"LISTBOX", LBS_NOINTEGRALHEIGHT | WS_VSCROLL, longListItems}, "", 850, 150, 200, 460, false, noFloor},
    {"list rows' text alone", {rowsFloorClassName, 0, noItems}, {"LISTBOX", LBS_NOINTEGRALHEIGHT, listItems}, "",
     430, 150, 200, 460, true, noFloor},
    {"EDIT in a window", {editFloorClassName, 0, innerEdit}, {"EDIT", ES_LEFT, noItems}, "Edit text", 430, 60, 200, 24,
     true, noFloor},
};

static const int pairCount = sizeof pairs / sizeof pairs[0];

struct Timing {
    double* skinned;
    double* stock;
};

static double readMicroseconds(LARGE_INTEGER start, LARGE_INTEGER end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Sorts the samples in place.
static double findMedian(double* samples, int count) {
    std::sort(samples, samples + count);
    return count % 2 == 1 ? samples[count / 2] : (samples[count / 2 - 1] + samples[count / 2]) / 2;
}

// The process's first use of the display (driver and screen set-up) is paid
// before the clock starts: every host pays it for its own window anyway.
static int loadOnce(const char* library) {
    HDC screen = GetDC(nullptr);
    ReleaseDC(nullptr, screen);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    HMODULE loaded = LoadLibraryA(library);
    QueryPerformanceCounter(&end);
    if (loaded == nullptr) {
        return static_cast<int>(loadFailed);
    }
    return static_cast<int>(readMicroseconds(start, end));
}

// Classes stay registered after FreeLibrary, so every sample is the first
// load in a fresh process, started in directory; the duration comes back as
// the exit status.
static double timeLoadInChild(const char* library, const char* directory) {
    char program[MAX_PATH];
    if (GetModuleFileNameA(nullptr, program, sizeof program) == 0) {
        return -1;
    }
    char commandLine[2 * MAX_PATH];
    snprintf(commandLine, sizeof commandLine, "\"%s\" %s %s", program, loadOnceOption, library);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, &process)) {
        return -1;
    }
    DWORD status = loadFailed;
    if (WaitForSingleObject(process.hProcess, childTimeout) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.hProcess, &status)) {
        TerminateProcess(process.hProcess, 1);
        status = loadFailed;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status == loadFailed ? -1 : static_cast<double>(status);
}

// Null for the current directory; the load reads the theme's files there.
static bool reportLoadTime(const char* library, const char* directory, const char* what) {
    double samples[loadSamples];
    for (int i = 0; i < loadSamples; i++) {
        samples[i] = timeLoadInChild(library, directory);
        if (samples[i] < 0) {
            fprintf(stderr, "velmo_paint_bench: %s did not load in a child process\n", library);
            return false;
        }
    }
    double fastest = *std::min_element(samples, samples + loadSamples);
    double median = findMedian(samples, loadSamples);
    printf("LoadLibraryA(\"%s\") %s, %d fresh processes: median %.0f us (fastest %.0f us)", library, what,
           loadSamples, median, fastest);
    printf("\n");
    return true;
}

// From an empty folder the load takes the theme from beside velmo.dll; a copy
// of the library alone in that folder finds no theme files anywhere. The
// children have ended by the time the copy is deleted.
static bool reportLoadTimes() {
    char library[MAX_PATH];
    char temporary[MAX_PATH];
    char folder[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, library, sizeof library);
    char* lastSlash = strrchr(library, '\\');
    if (length == 0 || length >= sizeof library || lastSlash == nullptr ||
        static_cast<size_t>(lastSlash - library) + sizeof velmoFile >= sizeof library ||
        GetTempPathA(sizeof temporary, temporary) == 0 || GetTempFileNameA(temporary, "vlb", 0, folder) == 0 ||
        !DeleteFileA(folder) || !CreateDirectoryA(folder, nullptr)) {
        return false;
    }
    strcpy(lastSlash + 1, velmoFile);
    char copy[MAX_PATH];
    snprintf(copy, sizeof copy, "%s\\%s", folder, velmoFile);
    printf("\n");
    bool reported = reportLoadTime(velmoFile, nullptr, "with the theme's 17 bitmaps") &&
                    reportLoadTime(velmoFile, folder, "from a folder without bitmap/ (the theme beside it)") &&
                    CopyFileA(library, copy, FALSE) &&
                    reportLoadTime(copy, folder, "(a copy with no theme files anywhere)") &&
                    reportLoadTime(emptyLibraryFile, nullptr, "(does nothing; the floor)");
    DeleteFileA(copy);
    RemoveDirectoryA(folder);
    return reported;
}

// The skinned controls' font, which every control here draws with.
static HFONT benchFont;

// Every length here is given at 96 DPI and laid out at the screen's, as the
// skinned controls scale theirs, so each pair stays alike at any DPI.
static const int layoutDpi = 96;
static int benchDpi = layoutDpi;

static int scaled(int length) {
    return MulDiv(length, benchDpi, layoutDpi);
}

static void readBenchDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    benchDpi = dpi > 0 ? dpi : layoutDpi;
}

static void addInnerEdit(HWND frame, const Pair& pair) {
    int inset = scaled(editFloorInset);
    HWND field = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, inset, inset, scaled(pair.width) - 2 * inset,
                                 scaled(pair.height) - 2 * inset, frame, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (field != nullptr) {
        SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(benchFont), FALSE);
        SetWindowTextA(field, pair.text);
    }
}

static void fill(HWND control, const Pair& pair, Filling filling) {
    char text[32];
    switch (filling) {
    case listItems:
    case longListItems: {
        int count = filling == listItems ? itemCount : longItemCount;
        for (int i = 0; i < count; i++) {
            snprintf(text, sizeof text, itemFormat, i + 1);
            SendMessageA(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
        SendMessageA(control, LB_SETTOPINDEX, count - 1, 0);
        break;
    }
    case tabMenuTabs:
        for (int i = 0; i < tabCount; i++) {
            snprintf(text, sizeof text, itemFormat, i + 1);
            SendMessageA(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
        break;
    case tabControlTabs:
        for (int i = 0; i < tabCount; i++) {
            snprintf(text, sizeof text, itemFormat, i + 1);
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            SendMessageA(control, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        break;
    case innerEdit:
        addInnerEdit(control, pair);
        break;
    default:
        break;
    }
}

// The stock control gets the skinned controls' font, so both draw the same text.
static HWND createPeer(HWND host, const Peer& peer, const Pair& pair, int x) {
    HWND control = CreateWindowExA(0, peer.className, pair.text, WS_CHILD | WS_VISIBLE | peer.style, scaled(x),
                                   scaled(pair.y), scaled(pair.width), scaled(pair.height), host, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    if (control == nullptr) {
        return nullptr;
    }
    if (benchFont != nullptr) {
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(benchFont), FALSE);
    }
    SetWindowTextA(control, pair.text);
    fill(control, pair, peer.filling);
    return control;
}

static double timePaint(HWND control) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    RedrawWindow(control, nullptr, nullptr, paintFlags);
    QueryPerformanceCounter(&end);
    return readMicroseconds(start, end);
}

static void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Interleaved: each repetition paints every control once, the skinned one
// first on even repetitions and the stock one first on odd ones.
static void timePairs(HWND (*controls)[2], Timing* timings, int repetitions) {
    for (int i = 0; i < warmUpPaints; i++) {
        for (int pair = 0; pair < pairCount; pair++) {
            timePaint(controls[pair][0]);
            timePaint(controls[pair][1]);
        }
    }
    for (int repetition = 0; repetition < repetitions; repetition++) {
        for (int pair = 0; pair < pairCount; pair++) {
            int first = repetition % 2;
            double firstTime = timePaint(controls[pair][first]);
            double secondTime = timePaint(controls[pair][1 - first]);
            timings[pair].skinned[repetition] = first == 0 ? firstTime : secondTime;
            timings[pair].stock[repetition] = first == 0 ? secondTime : firstTime;
        }
        pumpMessages();
    }
}

static double findRatio(const Timing* timing, int repetitions) {
    return findMedian(timing->skinned, repetitions) / findMedian(timing->stock, repetitions);
}

static const char* judgePair(const Timing* timings, const Pair& pair, int repetitions) {
    double ratio = findRatio(&timings[&pair - pairs], repetitions);
    if (pair.floor) {
        return "";
    }
    if (ratio <= ratioTarget) {
        return "met";
    }
    if (pair.floorPair != noFloor && ratio <= findRatio(&timings[pair.floorPair], repetitions) * floorAllowance) {
        return "met (within 5 % of its floor)";
    }
    return "MISSED";
}

static void printPair(const Timing* timings, const Pair& pair, int repetitions) {
    const Timing* timing = &timings[&pair - pairs];
    double skinned = findMedian(timing->skinned, repetitions);
    double stock = findMedian(timing->stock, repetitions);
    printf("%-22s %-24s %10.1f %-16s %10.1f %6.2fx  %s\n", pair.name, pair.skinned.className, skinned,
           pair.stock.className, stock, skinned / stock, judgePair(timings, pair, repetitions));
}

static void printTable(Timing* timings, int repetitions) {
    printf("Median microseconds per paint, RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | "
           "RDW_ALLCHILDREN), %d paints each\n\n",
           repetitions);
    printf("%-22s %-24s %10s %-16s %10s %7s  %s\n", "control", "skinned", "us", "stock", "us", "ratio",
           "target <= 1.0x or its floor + 5 %");
    for (int pair = 0; pair < pairCount; pair++) {
        if (!pairs[pair].floor) {
            printPair(timings, pairs[pair], repetitions);
        }
    }
    printf("\nThe list at the end of %d rows against the list of %d: %.2fx\n", longItemCount, itemCount,
           findMedian(timings[longListPair].skinned, repetitions) / findMedian(timings[shortListPair].skinned, repetitions));
    printf("\nFloors, the least that the list's and the edit's drawing can cost (no target):\n");
    for (int pair = 0; pair < pairCount; pair++) {
        if (pairs[pair].floor) {
            printPair(timings, pairs[pair], repetitions);
        }
    }
}

// Like the list control, rows below the update rectangle are passed over.
static void paintRowsFloor(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HGDIOBJ previous = SelectObject(dc, benchFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, rowsColour);
    RECT box = {scaled(rowsFirstBox.left), scaled(rowsFirstBox.top), scaled(rowsFirstBox.right),
                scaled(rowsFirstBox.bottom)};
    char text[32];
    wchar_t wide[32];
    for (int i = 0; i < itemCount && box.top < paint.rcPaint.bottom; i++) {
        snprintf(text, sizeof text, itemFormat, i + 1);
        MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 32);
        DrawTextW(dc, wide, -1, &box, rowsFormat);
        OffsetRect(&box, 0, scaled(rowsStep));
    }
    SelectObject(dc, previous);
    EndPaint(window, &paint);
}

static LRESULT CALLBACK rowsFloorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        paintRowsFloor(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static bool registerClass(const char* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass) != 0;
}

static bool registerBenchClasses() {
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return registerClass(hostClassName, DefWindowProcA, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)) &&
           registerClass(rowsFloorClassName, rowsFloorProcedure, white) &&
           registerClass(editFloorClassName, DefWindowProcA, CreateSolidBrush(editFloorColour));
}

static bool createControls(HWND host, HWND (*controls)[2]) {
    typedef HFONT(WINAPI * GetMainFont)(void);
    GetMainFont getMainFont =
        reinterpret_cast<GetMainFont>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(velmoFile), "getMainFont")));
    benchFont = getMainFont != nullptr ? getMainFont() : nullptr;
    for (int pair = 0; pair < pairCount; pair++) {
        const Pair& entry = pairs[pair];
        controls[pair][0] = createPeer(host, entry.skinned, entry, entry.x);
        controls[pair][1] = createPeer(host, entry.stock, entry, entry.x + entry.width + pairGap);
        if (controls[pair][0] == nullptr || controls[pair][1] == nullptr) {
            fprintf(stderr, "velmo_paint_bench: cannot create the %s pair\n", entry.name);
            return false;
        }
    }
    return true;
}

static Timing* newTimings(int repetitions) {
    Timing* timings = new (std::nothrow) Timing[pairCount]();
    if (timings == nullptr) {
        return nullptr;
    }
    for (int pair = 0; pair < pairCount; pair++) {
        timings[pair].skinned = new (std::nothrow) double[repetitions];
        timings[pair].stock = new (std::nothrow) double[repetitions];
    }
    return timings;
}

static void deleteTimings(Timing* timings) {
    if (timings == nullptr) {
        return;
    }
    for (int pair = 0; pair < pairCount; pair++) {
        delete[] timings[pair].skinned;
        delete[] timings[pair].stock;
    }
    delete[] timings;
}

static bool hasAllSamples(const Timing* timings) {
    if (timings == nullptr) {
        return false;
    }
    for (int pair = 0; pair < pairCount; pair++) {
        if (timings[pair].skinned == nullptr || timings[pair].stock == nullptr) {
            return false;
        }
    }
    return true;
}

static bool reportPaintTimes(int repetitions) {
    INITCOMMONCONTROLSEX commonControls = {sizeof commonControls, ICC_TAB_CLASSES};
    if (!InitCommonControlsEx(&commonControls) || LoadLibraryA(velmoFile) == nullptr || !registerBenchClasses()) {
        fprintf(stderr, "velmo_paint_bench: cannot load %s or the common controls\n", velmoFile);
        return false;
    }
    readBenchDpi();
    printf("Paints at %d DPI\n", benchDpi);
    HWND host = CreateWindowExA(0, hostClassName, "velmo paint bench", WS_POPUP | WS_VISIBLE, 0, 0,
                                scaled(hostWidth), scaled(hostHeight), nullptr, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
    HWND controls[pairCount][2] = {};
    Timing* timings = newTimings(repetitions);
    bool done = host != nullptr && hasAllSamples(timings) && createControls(host, controls);
    if (done) {
        pumpMessages();
        timePairs(controls, timings, repetitions);
        printTable(timings, repetitions);
    }
    deleteTimings(timings);
    if (host != nullptr) {
        DestroyWindow(host);
    }
    return done;
}

typedef BOOL(WINAPI* UseTheme)(const wchar_t* folder);

static UseTheme findUseTheme() {
    return reinterpret_cast<UseTheme>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(velmoFile), "useTheme")));
}

// The theme that the paint table draws in.
static bool startInTheme(const char* name) {
    wchar_t wide[MAX_PATH];
    UseTheme useTheme = LoadLibraryA(velmoFile) != nullptr ? findUseTheme() : nullptr;
    if (useTheme == nullptr || MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH) == 0 || !useTheme(wide)) {
        fprintf(stderr, "velmo_paint_bench: cannot use the theme %s\n", name);
        return false;
    }
    printf("In the theme %s\n", name);
    return true;
}

static const int switchControlCount = 50;
static const int switchRepetitions = 40;
static const char* const switchClasses[] = {"VelmoButton", "VelmoTabMenu", "VelmoLink", "VelmoFrame",
                                            "VelmoList",   "VelmoStatic",  "VelmoEdit"};
static const wchar_t switchTheme[] = L"slate";

// 50 controls shown: a full repaint of them beside useTheme, which loads the
// shipped theme, checked whole, and repaints them; each from the built-in
// theme, which the untimed useTheme(NULL) brings back.
static double timeThemeSwitch(HWND host, UseTheme useTheme, double* repaints) {
    double* switches = new (std::nothrow) double[switchRepetitions];
    if (switches == nullptr) {
        return 0;
    }
    LARGE_INTEGER start, end;
    for (int repetition = 0; repetition < switchRepetitions; repetition++) {
        QueryPerformanceCounter(&start);
        RedrawWindow(host, nullptr, nullptr, paintFlags);
        QueryPerformanceCounter(&end);
        repaints[repetition] = readMicroseconds(start, end);
        QueryPerformanceCounter(&start);
        useTheme(switchTheme);
        QueryPerformanceCounter(&end);
        switches[repetition] = readMicroseconds(start, end);
        useTheme(nullptr);
        pumpMessages();
    }
    double median = findMedian(switches, switchRepetitions);
    delete[] switches;
    return median;
}

// Moves within one button and within one tab: the hot look changes only when
// the item under the pointer does, so nothing is left to repaint.
static int countRepaintsOfMoves(HWND control, int fromX, int toX) {
    SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(fromX, 5));
    UpdateWindow(control);
    int repaints = 0;
    for (int x = fromX + 1; x <= toX; x++) {
        SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(x, 5));
        repaints += GetUpdateRect(control, nullptr, FALSE) ? 1 : 0;
        UpdateWindow(control);
    }
    return repaints;
}

static bool reportThemeSwitch() {
    UseTheme useTheme = findUseTheme();
    HWND host = CreateWindowExA(0, hostClassName, "velmo theme bench", WS_POPUP | WS_VISIBLE, 0, 0,
                                scaled(hostWidth), scaled(hostHeight), nullptr, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
    double* repaints = new (std::nothrow) double[switchRepetitions];
    if (useTheme == nullptr || host == nullptr || repaints == nullptr) {
        delete[] repaints;
        return false;
    }
    const int columns = 5;
    HWND controls[switchControlCount];
    for (int index = 0; index < switchControlCount; index++) {
        const char* name = switchClasses[index % (sizeof switchClasses / sizeof *switchClasses)];
        controls[index] = CreateWindowExA(0, name, "Control", WS_CHILD | WS_VISIBLE, scaled(10 + 190 * (index % columns)),
                                          scaled(10 + 60 * (index / columns)), scaled(180), scaled(34), host, nullptr,
                                          GetModuleHandleA(nullptr), nullptr);
        fill(controls[index], pairs[0], strcmp(name, "VelmoTabMenu") == 0 ? tabMenuTabs : noItems);
    }
    pumpMessages();
    double switchTime = timeThemeSwitch(host, useTheme, repaints);
    double repaintTime = findMedian(repaints, switchRepetitions);
    printf("\nuseTheme with %d controls shown (load and repaint), median %.0f us; a full repaint of them %.0f us: "
           "%.2f repaints (target <= 3)\n",
           switchControlCount, switchTime, repaintTime, switchTime / repaintTime);
    useTheme(switchTheme);
    printf("Repaints from pointer moves within one button: %d; within one tab: %d (target 0)\n",
           countRepaintsOfMoves(controls[0], 5, 60), countRepaintsOfMoves(controls[1], scaled(12), scaled(70)));
    useTheme(nullptr);
    delete[] repaints;
    DestroyWindow(host);
    return true;
}

int main(int argc, char** argv) {
    if (argc > 2 && strcmp(argv[1], loadOnceOption) == 0) {
        return loadOnce(argv[2]);
    }
    int first = 1;
    if (argc > 2 && strcmp(argv[1], "--theme") == 0) {
        if (!startInTheme(argv[2])) {
            return 1;
        }
        first = 3;
    }
    int repetitions = argc > first ? atoi(argv[first]) : defaultRepetitions;
    if (repetitions <= 0) {
        fprintf(stderr, "usage: velmo_paint_bench [--theme NAME] [REPETITIONS] | %s DLL\n", loadOnceOption);
        return 2;
    }
    if (!reportPaintTimes(repetitions) || !reportThemeSwitch() || !reportLoadTimes()) {
        return 1;
    }
    return 0;
}
