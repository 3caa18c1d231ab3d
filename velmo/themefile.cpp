// Theme folders: their names, their theme.ini read through the profile
// functions (ANSI or UTF-16 files), and the check of everything in them.
#include "velmo.h"

#include "theme.h"
#include "themefile.h"

#include <cwchar>
#include <new>

struct ColourKeyRow {
    ThemeColourKey key;
    const wchar_t* section;
    const wchar_t* name;
};

// Indexed by ThemeColourKey; each row names its key, so a missing or moved row
// fails to compile.
static constexpr ColourKeyRow colourKeyRows[] = {
    {buttonTextKey, L"button", L"text"},
    {buttonHotTextKey, L"button", L"hotText"},
    {buttonPressedTextKey, L"button", L"pressedText"},
    {buttonDisabledTextKey, L"button", L"disabledText"},
    {tabTextKey, L"tab", L"text"},
    {tabHotTextKey, L"tab", L"hotText"},
    {tabPressedTextKey, L"tab", L"pressedText"},
    {tabDisabledTextKey, L"tab", L"disabledText"},
    {linkTextKey, L"link", L"text"},
    {linkHotTextKey, L"link", L"hotText"},
    {linkDisabledTextKey, L"link", L"disabledText"},
    {linkBackgroundKey, L"link", L"background"},
    {listTextKey, L"list", L"text"},
    {listBackgroundKey, L"list", L"background"},
    {staticTextKey, L"static", L"text"},
    {staticBackgroundKey, L"static", L"background"},
    {frameTextKey, L"frame", L"text"},
    {frameBackgroundKey, L"frame", L"background"},
    {editTextKey, L"edit", L"text"},
    {editBackgroundKey, L"edit", L"background"},
    {editFrameKey, L"edit", L"frame"},
    {windowBackgroundKey, L"window", L"background"},
};

static constexpr bool rowsFollowKeys(void) {
    for (int row = 0; row < themeColourKeyCount; row++) {
        if (colourKeyRows[row].key != row) {
            return false;
        }
    }
    return true;
}
static_assert(sizeof colourKeyRows / sizeof *colourKeyRows == themeColourKeyCount && rowsFollowKeys(),
              "one row for each ThemeColourKey, in its order");

const wchar_t* getColourSection(ThemeColourKey key) {
    return colourKeyRows[key].section;
}

const wchar_t* getColourKeyName(ThemeColourKey key) {
    return colourKeyRows[key].name;
}

// What a key holds.
enum ValueKind { nameValue, faceValue, sizeValue, boldValue, colourValue };

struct KeyRule {
    const wchar_t* section;
    const wchar_t* name;
    ValueKind kind;
};

// The keys besides the colours.
static const KeyRule settingKeys[] = {
    {L"theme", L"name", nameValue},
    {L"font", L"face", faceValue},
    {L"font", L"size", sizeValue},
    {L"font", L"bold", boldValue},
};
static const int settingKeyCount = sizeof settingKeys / sizeof *settingKeys;
// A known key's number: the setting keys', then each colour's at settingKeyCount + its ThemeColourKey.
static const int knownKeyCount = settingKeyCount + themeColourKeyCount;

static KeyRule getKeyRule(int known) {
    if (known < settingKeyCount) {
        return settingKeys[known];
    }
    const ColourKeyRow& row = colourKeyRows[known - settingKeyCount];
    return {row.section, row.name, colourValue};
}

void clearThemeSettings(ThemeSettings* settings) {
    settings->name[0] = L'\0';
    settings->fontFace[0] = L'\0';
    settings->fontSize = 0;
    settings->fontBold = -1;
    for (COLORREF& colour : settings->colours) {
        colour = CLR_INVALID;
    }
}

static int readHexDigit(wchar_t digit) {
    if (digit >= L'0' && digit <= L'9') {
        return digit - L'0';
    }
    if (digit >= L'a' && digit <= L'f') {
        return digit - L'a' + 10;
    }
    return digit >= L'A' && digit <= L'F' ? digit - L'A' + 10 : -1;
}

static bool parseColour(const wchar_t* text, COLORREF* colour) {
    if (text[0] != L'#' || wcslen(text) != 7) {
        return false;
    }
    int channels[3];
    for (int channel = 0; channel < 3; channel++) {
        int high = readHexDigit(text[1 + 2 * channel]);
        int low = readHexDigit(text[2 + 2 * channel]);
        if (high < 0 || low < 0) {
            return false;
        }
        channels[channel] = high * 16 + low;
    }
    *colour = RGB(channels[0], channels[1], channels[2]);
    return true;
}

// Digits only, never so many that they overflow, within the limits.
static bool parseFontSize(const wchar_t* text, int* size) {
    int value = 0;
    int digits = 0;
    for (; text[digits] >= L'0' && text[digits] <= L'9' && digits < 3; digits++) {
        value = value * 10 + (text[digits] - L'0');
    }
    if (digits == 0 || text[digits] != L'\0' || value < minThemeFontSize || value > maxThemeFontSize) {
        return false;
    }
    *size = value;
    return true;
}

static bool copyIfFits(const wchar_t* text, wchar_t* destination, size_t size) {
    size_t length = wcslen(text);
    if (length >= size) {
        return false;
    }
    wmemcpy(destination, text, length + 1);
    return true;
}

// Stores the known key's value in settings; false when it isn't valid.
static bool storeValue(int known, const wchar_t* value, ThemeSettings* settings) {
    switch (getKeyRule(known).kind) {
    case nameValue:
        return copyIfFits(value, settings->name, themeNameSize);
    case faceValue:
        return copyIfFits(value, settings->fontFace, LF_FACESIZE);
    case sizeValue:
        return parseFontSize(value, &settings->fontSize);
    case boldValue:
        if ((value[0] != L'0' && value[0] != L'1') || value[1] != L'\0') {
            return false;
        }
        settings->fontBold = value[0] - L'0';
        return true;
    default:
        return parseColour(value, &settings->colours[known - settingKeyCount]);
    }
}

// Long enough for any valid value; a longer one is cut, and then not valid.
static const int valueSize = 256;

// A section's line "key=value" split into its key and its value as the
// profile functions read it, without the quotes round it; each is cut to
// valueSize. Reading a section's lines at once costs one call of the profile
// functions where reading each key would cost one a key.
static void splitLine(const wchar_t* line, wchar_t* key, wchar_t* value) {
    const wchar_t* equals = wcschr(line, L'=');
    size_t keyLength = equals != nullptr ? static_cast<size_t>(equals - line) : wcslen(line);
    keyLength = keyLength < valueSize - 1 ? keyLength : valueSize - 1;
    wmemcpy(key, line, keyLength);
    key[keyLength] = L'\0';
    const wchar_t* text = equals != nullptr ? equals + 1 : L"";
    size_t length = wcslen(text);
    if (length >= 2 && (text[0] == L'"' || text[0] == L'\'') && text[length - 1] == text[0]) {
        text++;
        length -= 2;
    }
    length = length < valueSize - 1 ? length : valueSize - 1;
    wmemcpy(value, text, length);
    value[length] = L'\0';
}

static bool isFile(const wchar_t* path) {
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

static bool isFolder(const wchar_t* path) {
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A list of null-terminated strings ending in an empty one, from a section's
// lines (or, for a null section, the section names), in a buffer grown as
// needed; null past the bound or when memory runs out. The caller deletes it.
static const DWORD firstListSize = 4096;
static const DWORD maxListSize = 1 << 21;

static wchar_t* readProfileList(const wchar_t* iniPath, const wchar_t* section) {
    for (DWORD size = firstListSize; size <= maxListSize; size *= 2) {
        wchar_t* buffer = new (std::nothrow) wchar_t[size];
        if (buffer == nullptr) {
            return nullptr;
        }
        DWORD length = section != nullptr ? GetPrivateProfileSectionW(section, buffer, size, iniPath)
                                          : GetPrivateProfileSectionNamesW(buffer, size, iniPath);
        if (length < size - 2) {
            buffer[length] = L'\0';
            buffer[length + 1] = L'\0';
            return buffer;
        }
        delete[] buffer;
    }
    return nullptr;
}

static bool isKnownSection(const wchar_t* section) {
    for (int known = 0; known < knownKeyCount; known++) {
        if (_wcsicmp(getKeyRule(known).section, section) == 0) {
            return true;
        }
    }
    return false;
}

// What visitKnownKeys says of a key that it can't number.
static const int unknownKey = -1;
static const int repeatedKey = -2;

// The known key's number, or unknownKey.
static int findKnownKey(const wchar_t* section, const wchar_t* key) {
    for (int known = 0; known < knownKeyCount; known++) {
        KeyRule rule = getKeyRule(known);
        if (_wcsicmp(rule.section, section) == 0 && _wcsicmp(rule.name, key) == 0) {
            return known;
        }
    }
    return unknownKey;
}

// Each key of a section's lines with its value and its number, or unknownKey,
// or repeatedKey for a known key that came before.
static void visitKnownKeys(const wchar_t* section, const wchar_t* lines,
                           void (*visit)(int known, const wchar_t* key, const wchar_t* value, void* context),
                           void* context) {
    bool seen[knownKeyCount] = {};
    wchar_t key[valueSize];
    wchar_t value[valueSize];
    for (const wchar_t* line = lines; *line != L'\0'; line += wcslen(line) + 1) {
        if (*line == L';') {
            continue;
        }
        splitLine(line, key, value);
        int known = findKnownKey(section, key);
        visit(known >= 0 && seen[known] ? repeatedKey : known, key, value, context);
        if (known >= 0) {
            seen[known] = true;
        }
    }
}

static void storeGivenValue(int known, const wchar_t*, const wchar_t* value, void* settings) {
    if (known >= 0 && value[0] != L'\0') {
        storeValue(known, value, static_cast<ThemeSettings*>(settings));
    }
}

bool readThemeSettings(const wchar_t* iniPath, ThemeSettings* settings) {
    if (!isFile(iniPath)) {
        return false;
    }
    wchar_t* sections = readProfileList(iniPath, nullptr);
    for (const wchar_t* section = sections; section != nullptr && *section != L'\0'; section += wcslen(section) + 1) {
        wchar_t* lines = isKnownSection(section) ? readProfileList(iniPath, section) : nullptr;
        if (lines != nullptr) {
            visitKnownKeys(section, lines, storeGivenValue, settings);
        }
        delete[] lines;
    }
    delete[] sections;
    return true;
}

static bool isBareName(const wchar_t* folder) {
    return wcschr(folder, L'\\') == nullptr && wcschr(folder, L'/') == nullptr;
}

static const wchar_t themesFolder[] = L"themes\\";

bool resolveThemeFolder(const wchar_t* folder, wchar_t* full) {
    if (folder[0] == L'\0') {
        return false;
    }
    if (isBareName(folder)) {
        const size_t prefix = wcslen(themesFolder);
        size_t length = wcslen(folder);
        wchar_t relative[MAX_PATH];
        if (prefix + length >= MAX_PATH) {
            return false;
        }
        wmemcpy(relative, themesFolder, prefix);
        wmemcpy(relative + prefix, folder, length + 1);
        return placeBesideLibrary(relative, full);
    }
    DWORD length = GetFullPathNameW(folder, MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH;
}

// A report's line is short; what it says is cut to this many characters.
static const int problemSize = 80;

// What is said of a value of that kind that isn't valid.
static void describeBadValue(ValueKind kind, wchar_t* text) {
    switch (kind) {
    case nameValue:
        _snwprintf(text, problemSize, L"longer than %d characters", themeNameSize - 1);
        break;
    case faceValue:
        _snwprintf(text, problemSize, L"longer than %d characters", LF_FACESIZE - 1);
        break;
    case sizeValue:
        _snwprintf(text, problemSize, L"not a whole number from %d to %d", minThemeFontSize, maxThemeFontSize);
        break;
    case boldValue:
        _snwprintf(text, problemSize, L"not 0 or 1");
        break;
    default:
        _snwprintf(text, problemSize, L"not a colour #RRGGBB");
    }
    text[problemSize - 1] = L'\0';
}

// The problems found so far and the report's text, cut to its size.
struct Report {
    wchar_t* text;
    int size;
    int used;
    int problems;
};

static void appendText(Report* report, const wchar_t* text) {
    if (report->text == nullptr) {
        return;
    }
    for (; *text != L'\0' && report->used < report->size - 1; text++) {
        report->text[report->used++] = *text;
    }
    report->text[report->used] = L'\0';
}

// One line: the file, the section and key where there are, and what is wrong.
static void addProblem(Report* report, const wchar_t* file, const wchar_t* section, const wchar_t* key,
                       const wchar_t* what) {
    report->problems++;
    appendText(report, file);
    if (section != nullptr) {
        appendText(report, L": [");
        appendText(report, section);
        appendText(report, L"]");
    }
    if (key != nullptr) {
        appendText(report, L" ");
        appendText(report, key);
    }
    appendText(report, L": ");
    appendText(report, what);
    appendText(report, L"\n");
}

// folder (ending in a separator) and relative joined into path; false when it doesn't fit.
static bool joinPath(const wchar_t* folder, const wchar_t* relative, wchar_t* path) {
    size_t head = wcslen(folder);
    size_t tail = wcslen(relative);
    if (head + tail >= MAX_PATH) {
        return false;
    }
    wmemcpy(path, folder, head);
    wmemcpy(path + head, relative, tail + 1);
    return true;
}

// Each line of a known section: a known key, once, with a valid value (the
// first one, which is what the profile functions read).
struct KeyCheck {
    Report* report;
    const wchar_t* file;
    const wchar_t* section;
};

static void checkKey(int known, const wchar_t* key, const wchar_t* value, void* context) {
    const KeyCheck* check = static_cast<const KeyCheck*>(context);
    ThemeSettings scratch;
    if (known == unknownKey) {
        addProblem(check->report, check->file, check->section, key, L"unknown key");
    } else if (known == repeatedKey) {
        addProblem(check->report, check->file, check->section, key, L"given twice; the first one counts");
    } else if (!storeValue(known, value, &scratch)) {
        wchar_t problem[problemSize];
        describeBadValue(getKeyRule(known).kind, problem);
        addProblem(check->report, check->file, check->section, key, problem);
    }
}

static void checkIniFile(Report* report, const wchar_t* folder, const wchar_t* file) {
    wchar_t iniPath[MAX_PATH];
    if (!joinPath(folder, file, iniPath) || !isFile(iniPath)) {
        return;
    }
    wchar_t* sections = readProfileList(iniPath, nullptr);
    if (sections == nullptr) {
        addProblem(report, file, nullptr, nullptr, L"too large to read");
        return;
    }
    for (const wchar_t* section = sections; *section != L'\0'; section += wcslen(section) + 1) {
        if (!isKnownSection(section)) {
            addProblem(report, file, section, nullptr, L"unknown section");
            continue;
        }
        wchar_t* lines = readProfileList(iniPath, section);
        if (lines == nullptr) {
            addProblem(report, file, section, nullptr, L"too large to read");
            continue;
        }
        KeyCheck check = {report, file, section};
        visitKnownKeys(section, lines, checkKey, &check);
        delete[] lines;
    }
    delete[] sections;
}

// The image folders of a theme, and how many pixels of theirs stand for one at 96 DPI.
struct ImageFolder {
    const wchar_t* path;
    int density;
};

static const ImageFolder imageFolders[] = {{L"", 1}, {L"2x\\", 2}, {L"dark\\", 1}, {L"dark\\2x\\", 2}};

// The largest image at 1x, in pixels each way; a 2x image may be twice that.
static const int maxImageSide = 512;

// A strip's slices follow its left one in ThemeBitmap.
static const ThemeBitmap stripLefts[] = {
    buttonLeft, buttonLeftPressed, tabLeft, tabPressedLeft, frameLeft, buttonLeftHot, buttonLeftDisabled, tabHotLeft,
};

// The image of that file name, or -1.
static int findImage(const wchar_t* fileName) {
    for (int image = 0; image < themeImageCount; image++) {
        const char* themeName = getThemeFileName(static_cast<ThemeBitmap>(image));
        wchar_t name[MAX_PATH];
        if (MultiByteToWideChar(CP_ACP, 0, themeName, -1, name, MAX_PATH) != 0 && _wcsicmp(name, fileName) == 0) {
            return image;
        }
    }
    return -1;
}

static bool endsWithBitmapExtension(const wchar_t* fileName) {
    size_t length = wcslen(fileName);
    return length >= 4 && _wcsicmp(fileName + length - 4, L".bmp") == 0;
}

static unsigned readLittleEndian(const unsigned char* bytes, int size) {
    unsigned value = 0;
    for (int index = size - 1; index >= 0; index--) {
        value = value << 8 | bytes[index];
    }
    return value;
}

// The BMP file and info headers, as far as the check reads them.
static const DWORD fileHeaderSize = 14;
static const DWORD coreHeaderSize = 12;
static const DWORD infoHeaderSize = 40;

struct BitmapHeader {
    long long width;
    long long height;
    long long pixelBytes;  // -1 when compressed: not known from the header
    unsigned pixelOffset;
};

// Whether the system's loader takes pixels of that depth in that encoding:
// run-length encoding goes with its own depth only.
static bool isLoadableFormat(unsigned planes, unsigned bitsPerPixel, unsigned compression) {
    bool depth = bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16 ||
                 bitsPerPixel == 24 || bitsPerPixel == 32;
    bool encoding = compression == BI_RGB || (compression == BI_RLE8 && bitsPerPixel == 8) ||
                    (compression == BI_RLE4 && bitsPerPixel == 4) ||
                    (compression == BI_BITFIELDS && (bitsPerPixel == 16 || bitsPerPixel == 32));
    return planes == 1 && depth && encoding;
}

// False when the bytes aren't the headers of a BMP file that the system's
// loader takes. The whole check reads headers only: loading every image of a
// theme would cost several times a repaint of the controls that use it.
static bool parseBitmapHeader(const unsigned char* bytes, DWORD count, BitmapHeader* header) {
    if (count < fileHeaderSize + coreHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    const unsigned char* info = bytes + fileHeaderSize;
    unsigned infoSize = readLittleEndian(info, 4);
    unsigned planes;
    unsigned bitsPerPixel;
    unsigned compression = BI_RGB;
    if (infoSize == coreHeaderSize) {
        header->width = readLittleEndian(info + 4, 2);
        header->height = readLittleEndian(info + 6, 2);
        planes = readLittleEndian(info + 8, 2);
        bitsPerPixel = readLittleEndian(info + 10, 2);
    } else if (infoSize >= infoHeaderSize && count >= fileHeaderSize + infoHeaderSize) {
        header->width = static_cast<int>(readLittleEndian(info + 4, 4));
        header->height = static_cast<int>(readLittleEndian(info + 8, 4));
        planes = readLittleEndian(info + 12, 2);
        bitsPerPixel = readLittleEndian(info + 14, 2);
        compression = readLittleEndian(info + 16, 4);
    } else {
        return false;
    }
    if (!isLoadableFormat(planes, bitsPerPixel, compression)) {
        return false;
    }
    // A negative height stands for rows from the top.
    header->height = header->height < 0 ? -header->height : header->height;
    long long rowBytes = (header->width * bitsPerPixel + 31) / 32 * 4;
    header->pixelBytes = compression == BI_RGB || compression == BI_BITFIELDS ? rowBytes * header->height : -1;
    header->pixelOffset = readLittleEndian(bytes + 10, 4);
    return true;
}

// What is wrong with the image file, from its headers alone, so that a huge
// or cut one is never loaded; null for a bitmap of a depth and encoding that
// the system loads, within the limit, whose height is then stored. What is
// said of a large one takes the limit twice.
static const wchar_t* checkImageFile(const wchar_t* path, int density, int* height) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return L"cannot be read";
    }
    unsigned char bytes[fileHeaderSize + infoHeaderSize];
    DWORD count = 0;
    LARGE_INTEGER fileSize = {};
    bool read = ReadFile(file, bytes, sizeof bytes, &count, nullptr) && GetFileSizeEx(file, &fileSize);
    CloseHandle(file);
    BitmapHeader header;
    if (!read || !parseBitmapHeader(bytes, count, &header)) {
        return L"not a bitmap";
    }
    if (header.width <= 0 || header.height <= 0) {
        return L"holds no pixels";
    }
    if (header.width > maxImageSide * density || header.height > maxImageSide * density) {
        return L"larger than %d x %d pixels";
    }
    if (header.pixelOffset < fileHeaderSize + coreHeaderSize || header.pixelOffset >= fileSize.QuadPart ||
        (header.pixelBytes >= 0 && header.pixelOffset + header.pixelBytes > fileSize.QuadPart)) {
        return L"cut short";
    }
    *height = static_cast<int>(header.height);
    return nullptr;
}

static void checkStrips(Report* report, const wchar_t* imageFolder, const int* heights) {
    for (ThemeBitmap left : stripLefts) {
        int height = 0;
        bool differ = false;
        for (int slice = left; slice < left + 3; slice++) {
            if (heights[slice] != 0) {
                differ = differ || (height != 0 && heights[slice] != height);
                height = heights[slice];
            }
        }
        if (differ) {
            wchar_t file[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, getThemeFileName(left), -1, file, MAX_PATH);
            wchar_t named[MAX_PATH];
            if (joinPath(imageFolder, file, named)) {
                addProblem(report, named, nullptr, nullptr, L"the strip's left, middle and right differ in height");
            }
        }
    }
}

// Every .bmp in one image folder: a known name, a bitmap within the limit;
// then the strips.
static void checkImageFolder(Report* report, const wchar_t* folder, const ImageFolder* imageFolder) {
    wchar_t pattern[MAX_PATH];
    wchar_t base[MAX_PATH];
    if (!joinPath(folder, imageFolder->path, base) || !joinPath(base, L"*", pattern)) {
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    int heights[themeImageCount] = {};
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !endsWithBitmapExtension(found.cFileName)) {
            continue;
        }
        wchar_t named[MAX_PATH];
        wchar_t path[MAX_PATH];
        if (!joinPath(imageFolder->path, found.cFileName, named) || !joinPath(base, found.cFileName, path)) {
            continue;
        }
        int image = findImage(found.cFileName);
        const wchar_t* problem = image < 0 ? L"unknown image name"
                                           : checkImageFile(path, imageFolder->density, &heights[image]);
        if (problem != nullptr) {
            const int side = maxImageSide * imageFolder->density;
            wchar_t text[problemSize];
            _snwprintf(text, problemSize, problem, side, side);
            text[problemSize - 1] = L'\0';
            addProblem(report, named, nullptr, nullptr, text);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    checkStrips(report, imageFolder->path, heights);
}

static const wchar_t iniFile[] = L"theme.ini";
static const wchar_t darkIniFile[] = L"dark\\theme.ini";

// folder, with a separator at its end, in base; false when it is no folder.
static bool findThemeFolder(const wchar_t* folder, wchar_t* base) {
    if (folder == nullptr || !resolveThemeFolder(folder, base) || !isFolder(base)) {
        return false;
    }
    size_t length = wcslen(base);
    if (base[length - 1] != L'\\' && base[length - 1] != L'/') {
        if (length + 1 >= MAX_PATH) {
            return false;
        }
        base[length] = L'\\';
        base[length + 1] = L'\0';
    }
    return true;
}

extern "C" int checkTheme(const wchar_t* folder, wchar_t* report, int reportSize) {
    Report found = {reportSize > 0 ? report : nullptr, reportSize, 0, 0};
    appendText(&found, L"");
    wchar_t base[MAX_PATH];
    wchar_t iniPath[MAX_PATH];
    if (!findThemeFolder(folder, base)) {
        addProblem(&found, folder != nullptr ? folder : L"(none)", nullptr, nullptr, L"no such folder");
        return -1;
    }
    if (!joinPath(base, iniFile, iniPath) || !isFile(iniPath)) {
        addProblem(&found, base, nullptr, nullptr, L"no theme.ini in this folder");
        return -1;
    }
    checkIniFile(&found, base, iniFile);
    checkIniFile(&found, base, darkIniFile);
    for (const ImageFolder& imageFolder : imageFolders) {
        checkImageFolder(&found, base, &imageFolder);
    }
    return found.problems;
}
