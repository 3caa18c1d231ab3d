// The theme registry and font, read through the DLL's exports. Runs from the
// source tree, whose bitmap/ holds the 17 theme files.
#include "velmo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

struct ThemeEntry {
    const char* listName;
    const char* bitmapName;
    const char* path;
};

static const ThemeEntry themeEntries[] = {
    {"button", "buttonLeft", "bitmap/buttonleft.bmp"},
    {"button", "buttonMiddle", "bitmap/buttonmiddle.bmp"},
    {"button", "buttonRight", "bitmap/buttonright.bmp"},
    {"button", "buttonLeftPressed", "bitmap/buttonleftpressed.bmp"},
    {"button", "buttonMiddlePressed", "bitmap/buttonmiddlepressed.bmp"},
    {"button", "buttonRightPressed", "bitmap/buttonrightpressed.bmp"},
    {"tab", "tabLeft", "bitmap/tableft.bmp"},
    {"tab", "tabMiddle", "bitmap/tabmiddle.bmp"},
    {"tab", "tabRight", "bitmap/tabright.bmp"},
    {"tab", "tabPressedLeft", "bitmap/tabpressedleft.bmp"},
    {"tab", "tabPressedMiddle", "bitmap/tabpressedmiddle.bmp"},
    {"tab", "tabPressedRight", "bitmap/tabpressedright.bmp"},
    {"link", "link", "bitmap/link.bmp"},
    {"frame", "frameLeft", "bitmap/frameleft.bmp"},
    {"frame", "frameMiddle", "bitmap/framemiddle.bmp"},
    {"frame", "frameRight", "bitmap/frameright.bmp"},
    {"list", "list", "bitmap/list.bmp"},
};

static const long widthOffset = 18;
static const long heightOffset = 22;

static int readFileInteger(FILE* file, long offset) {
    unsigned char bytes[4] = {0, 0, 0, 0};
    if (fseek(file, offset, SEEK_SET) != 0 || fread(bytes, 1, sizeof bytes, file) != sizeof bytes) {
        return -1;
    }
    return static_cast<int>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<unsigned>(bytes[3]) << 24);
}

static SIZE readFileSize(const char* path) {
    SIZE size = {-1, -1};
    FILE* file = fopen(path, "rb");
    if (file != nullptr) {
        size.cx = readFileInteger(file, widthOffset);
        size.cy = readFileInteger(file, heightOffset);
        fclose(file);
    }
    return size;
}

static std::vector<std::string> namesOf(ListItem* head) {
    std::vector<std::string> names;
    for (ListItem* item = head; item != nullptr; item = item->next) {
        names.push_back(item->data != nullptr ? static_cast<ControlBitmap*>(item->data)->name : "-");
    }
    return names;
}

static void expectEveryBitmapWithTheSizeOfItsFile() {
    for (const ThemeEntry& entry : themeEntries) {
        HBITMAP bitmap = getControlBitmap(entry.listName, entry.bitmapName);
        ASSERT_NE(bitmap, nullptr) << entry.bitmapName;
        BITMAP info;
        ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info)) << entry.bitmapName;
        SIZE fileSize = readFileSize(entry.path);
        EXPECT_EQ(info.bmWidth, fileSize.cx) << entry.path;
        EXPECT_EQ(info.bmHeight, fileSize.cy) << entry.path;
    }
}

TEST(ThemeTest, EveryBitmapHasTheSizeOfItsFile) {
    expectEveryBitmapWithTheSizeOfItsFile();
}

// Both record kinds start with their name, so namesOf reads either.
TEST(ThemeTest, RegistryKeepsItsListsAndBitmapsInOrder) {
    ASSERT_NE(controlBitmaps, nullptr);
    EXPECT_EQ(namesOf(controlBitmaps), (std::vector<std::string>{"button", "tab", "link", "frame", "list"}));
    ControlBitmapList* tab = findBitmapList(controlBitmaps, "tab");
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(namesOf(tab->bitmaps), (std::vector<std::string>{"tabLeft", "tabMiddle", "tabRight", "tabPressedLeft",
                                                                "tabPressedMiddle", "tabPressedRight"}));
}

TEST(ThemeTest, NamesAreCaseSensitiveAndBelongToTheirList) {
    EXPECT_EQ(getControlBitmap("Button", "buttonLeft"), nullptr);
    EXPECT_EQ(getControlBitmap("button", "buttonleft"), nullptr);
    EXPECT_EQ(getControlBitmap("tab", "tabLeftPressed"), nullptr);
    EXPECT_EQ(getControlBitmap("tab", "buttonLeft"), nullptr);
    EXPECT_EQ(getControlBitmap("", ""), nullptr);
    EXPECT_NE(getControlBitmap("tab", "tabPressedLeft"), nullptr);
    EXPECT_NE(getControlBitmap("link", "link"), nullptr);
    EXPECT_NE(getControlBitmap("list", "list"), nullptr);
}

TEST(ThemeTest, SearchesInEmptyOrMissingListsFindNothing) {
    ListItem* empty = newList();
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(findBitmap(empty, "link"), nullptr);
    EXPECT_EQ(findBitmapList(empty, "link"), nullptr);
    EXPECT_EQ(findBitmap(nullptr, "link"), nullptr);
    EXPECT_EQ(findBitmapList(nullptr, "link"), nullptr);
    deleteList(empty);
}

TEST(ThemeTest, FirstRecordOfANameWins) {
    ControlBitmapList* group = newBitmapList("group");
    ASSERT_NE(group, nullptr);
    ControlBitmap* first = newControlBitmap("twin", "bitmap/link.bmp");
    ControlBitmap* second = newControlBitmap("twin", "bitmap/list.bmp");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    addToList(group->bitmaps, first);
    addToList(group->bitmaps, second);
    EXPECT_EQ(findBitmap(group->bitmaps, "twin"), first);
}

TEST(ThemeTest, NewRecordsOwnACopyOfTheirName) {
    char name[] = "custom";
    ControlBitmapList* group = newBitmapList(name);
    ControlBitmap* record = newControlBitmap(name, "bitmap/list.bmp");
    ASSERT_NE(group, nullptr);
    ASSERT_NE(record, nullptr);
    name[0] = 'X';
    EXPECT_STREQ(group->name, "custom");
    EXPECT_STREQ(record->name, "custom");
    ASSERT_NE(group->bitmaps, nullptr);
    EXPECT_EQ(group->bitmaps->data, nullptr);
    EXPECT_NE(record->bitmap, nullptr);
}

TEST(ThemeTest, MissingOrUnreadableFilesGiveNullBitmaps) {
    ControlBitmap* missing = newControlBitmap("missing", "bitmap/missing.bmp");
    ControlBitmap* unreadable = newControlBitmap("unreadable", "CMakeLists.txt");
    ASSERT_NE(missing, nullptr);
    ASSERT_NE(unreadable, nullptr);
    EXPECT_EQ(missing->bitmap, nullptr);
    EXPECT_EQ(unreadable->bitmap, nullptr);
}

TEST(ThemeTest, MainFontIsMadeOnceAndExported) {
    EXPECT_EQ(mainFont, nullptr);
    HFONT font = getMainFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(mainFont, font);
    EXPECT_EQ(getMainFont(), font);
    LOGFONTA description;
    ASSERT_EQ(GetObjectA(font, sizeof description, &description), static_cast<int>(sizeof description));
    EXPECT_EQ(description.lfHeight, 13);
    EXPECT_STREQ(description.lfFaceName, "Verdana");
}

TEST(ThemeTest, GetBitmapsAgainMakesASecondCompleteRegistry) {
    ListItem* first = controlBitmaps;
    HBITMAP firstLink = getControlBitmap("link", "link");
    getBitmaps();
    ASSERT_NE(controlBitmaps, nullptr);
    EXPECT_NE(controlBitmaps, first);
    for (const ThemeEntry& entry : themeEntries) {
        EXPECT_NE(getControlBitmap(entry.listName, entry.bitmapName), nullptr) << entry.bitmapName;
    }
    EXPECT_NE(getControlBitmap("link", "link"), firstLink);
    ControlBitmapList* oldLink = findBitmapList(first, "link");
    ASSERT_NE(oldLink, nullptr);
    EXPECT_EQ(findBitmap(oldLink->bitmaps, "link")->bitmap, firstLink);
}

// The paths are relative to the current directory at the time of the build;
// what isn't there comes from the bitmap/ that the build puts beside velmo.dll.
TEST(ThemeTest, RegistryBuiltElsewhereTakesEveryBitmapFromBesideTheLibrary) {
    char original[MAX_PATH];
    char elsewhere[MAX_PATH];
    ASSERT_NE(GetCurrentDirectoryA(sizeof original, original), 0u);
    ASSERT_NE(GetTempPathA(sizeof elsewhere, elsewhere), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere));
    getBitmaps();
    SetCurrentDirectoryA(original);
    expectEveryBitmapWithTheSizeOfItsFile();
}

// checkTheme on theme folders written under the temporary folder, one case each.
struct ThemeFile {
    const wchar_t* path;
    std::string bytes;
};

struct CheckCase {
    const char* name;
    const wchar_t* folder;
    std::vector<ThemeFile> files;
    // The number of problems, -1 for no folder or no theme.ini, anyCount for any number.
    int problems;
    const wchar_t* reportLine;
};

static const int anyCount = -2;

// A failure names its case.
static void PrintTo(const CheckCase& check, std::ostream* stream) {
    *stream << check.name;
}
static const wchar_t* const themeSubfolders[] = {L"2x", L"dark", L"dark\\2x"};

static std::string makeBitmapHeader(int width, int height) {
    const int rowSize = (width * 3 + 3) / 4 * 4;
    std::string bytes(54, '\0');
    const long long fileSize = 54 + static_cast<long long>(rowSize) * height;
    const long long fields[][2] = {{2, fileSize}, {10, 54}, {14, 40}, {18, width}, {22, height}, {26, 1}, {28, 24}};
    for (const auto& field : fields) {
        for (int byte = 0; byte < 4; byte++) {
            bytes[field[0] + byte] = static_cast<char>(field[1] >> (8 * byte));
        }
    }
    bytes[0] = 'B';
    bytes[1] = 'M';
    return bytes;
}

static std::string makeBitmap(int width, int height) {
    return makeBitmapHeader(width, height) + std::string((width * 3 + 3) / 4 * 4 * height, '\0');
}

static std::string makeUtf16(const wchar_t* text) {
    std::string bytes = "\xff\xfe";
    for (; *text != L'\0'; text++) {
        bytes += static_cast<char>(*text & 0xff);
        bytes += static_cast<char>(*text >> 8);
    }
    return bytes;
}

static std::string makeRandomBytes(size_t size) {
    std::string bytes(size, '\0');
    unsigned state = 12345;
    for (char& byte : bytes) {
        state = state * 1103515245 + 12345;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

// 1 MB of sections that the format doesn't have, each one line.
static std::string makeManySections(int count) {
    std::string text;
    char line[32];
    for (int index = 0; index < count; index++) {
        snprintf(line, sizeof line, "[extra%010d]\r\n", index);
        text += line;
    }
    return text;
}
static const int manySections = (1 << 20) / 19;

static const std::string validIni = "[theme]\r\nname=Test\r\n";

static const CheckCase checkCases[] = {
    {"MissingFolder", nullptr, {}, -1, L"no such folder"},
    {"NoThemeIni", L"empty", {}, -1, L"no theme.ini in this folder"},
    {"RandomBytes", L"random", {{L"theme.ini", makeRandomBytes(65536)}}, anyCount, nullptr},
    {"MegabyteOfSections", L"large", {{L"theme.ini", makeManySections(manySections)}}, manySections,
     L"theme.ini: [extra0000000000]: unknown section"},
    {"Utf16", L"utf16",
     {{L"theme.ini", makeUtf16(L"[theme]\r\nname=\x0398\x03ad\x03bc\x03b1\r\n[button]\r\ntext=#102030\r\n")}}, 0,
     nullptr},
    {"KeyTwice", L"twice", {{L"theme.ini", "[button]\r\ntext=#102030\r\ntext=#405060\r\n"}}, 1,
     L"theme.ini: [button] text: given twice; the first one counts"},
    {"ShortColour", L"colour", {{L"theme.ini", "[link]\r\nhotText=#GGG\r\n"}}, 1,
     L"theme.ini: [link] hotText: not a colour #RRGGBB"},
    {"NegativeSize", L"negative", {{L"theme.ini", "[font]\r\nsize=-5\r\n"}}, 1,
     L"theme.ini: [font] size: not a whole number from 6 to 72"},
    {"HugeSize", L"huge", {{L"theme.ini", "[font]\r\nsize=99999999999\r\n"}}, 1,
     L"theme.ini: [font] size: not a whole number from 6 to 72"},
    {"DarkBold", L"bold", {{L"theme.ini", validIni}, {L"dark\\theme.ini", "[font]\r\nbold=2\r\n"}}, 1,
     L"dark\\theme.ini: [font] bold: not 0 or 1"},
    {"UnknownSection", L"section", {{L"theme.ini", "[colours]\r\ntext=#000000\r\n"}}, 1,
     L"theme.ini: [colours]: unknown section"},
    {"UnknownKey", L"key", {{L"theme.ini", "[button]\r\ncolour=#000000\r\n"}}, 1,
     L"theme.ini: [button] colour: unknown key"},
    {"UnknownImage", L"image", {{L"theme.ini", validIni}, {L"dark\\2x\\buttonleft-hot.bmp", makeBitmap(12, 68)}}, 1,
     L"dark\\2x\\buttonleft-hot.bmp: unknown image name"},
    {"TextImage", L"text", {{L"theme.ini", validIni}, {L"link.bmp", "not a picture"}}, 1,
     L"link.bmp: not a bitmap"},
    {"EmptyImage", L"empty-image", {{L"theme.ini", validIni}, {L"list.bmp", ""}}, 1, L"list.bmp: not a bitmap"},
    {"CutImage", L"cut", {{L"theme.ini", validIni}, {L"2x\\link.bmp", makeBitmap(32, 30).substr(0, 100)}}, 1,
     L"2x\\link.bmp: cut short"},
    {"ZeroImage", L"zero", {{L"theme.ini", validIni}, {L"dark\\linkhot.bmp", makeBitmap(0, 0)}}, 1,
     L"dark\\linkhot.bmp: holds no pixels"},
    {"HugeImage", L"large-image", {{L"theme.ini", validIni}, {L"link.bmp", makeBitmapHeader(20000, 20000)}}, 1,
     L"link.bmp: larger than 512 x 512 pixels"},
    {"StripHeights", L"strip",
     {{L"theme.ini", validIni},
      {L"buttonleft.bmp", makeBitmap(6, 34)},
      {L"buttonmiddle.bmp", makeBitmap(10, 30)},
      {L"buttonright.bmp", makeBitmap(6, 34)}},
     1, L"buttonleft.bmp: the strip's left, middle and right differ in height"},
    {"GreekFolder", L"\x03b8\x03ad\x03bc\x03b1",
     {{L"theme.ini", validIni}, {L"dark\\theme.ini", "[window]\r\nbackground=#000000\r\n"},
      {L"2x\\tabhotleft.bmp", makeBitmap(20, 68)}},
     0, nullptr},
};

static std::wstring getCheckRoot() {
    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    return std::wstring(temporary) + L"velmo-theme-check\\";
}

class ThemeCheck : public testing::TestWithParam<CheckCase> {
protected:
    void SetUp() override {
        CreateDirectoryW(getCheckRoot().c_str(), nullptr);
        folder = getCheckRoot() + (GetParam().folder != nullptr ? GetParam().folder : L"missing");
        if (GetParam().folder == nullptr) {
            return;
        }
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        for (const wchar_t* subfolder : themeSubfolders) {
            CreateDirectoryW((folder + L"\\" + subfolder).c_str(), nullptr);
        }
        for (const ThemeFile& file : GetParam().files) {
            FILE* written = _wfopen((folder + L"\\" + file.path).c_str(), L"wb");
            ASSERT_NE(written, nullptr);
            fwrite(file.bytes.data(), 1, file.bytes.size(), written);
            fclose(written);
        }
    }

    void TearDown() override {
        for (const ThemeFile& file : GetParam().files) {
            DeleteFileW((folder + L"\\" + file.path).c_str());
        }
        for (int index = 2; index >= 0; index--) {
            RemoveDirectoryW((folder + L"\\" + themeSubfolders[index]).c_str());
        }
        RemoveDirectoryW(folder.c_str());
        RemoveDirectoryW(getCheckRoot().c_str());
    }

    std::wstring folder;
};

TEST_P(ThemeCheck, CountsAndReportsEachProblem) {
    const CheckCase& check = GetParam();
    static wchar_t report[1 << 16];
    int problems = checkTheme(folder.c_str(), report, sizeof report / sizeof *report);
    if (check.problems == anyCount) {
        EXPECT_GE(problems, 0);
    } else {
        EXPECT_EQ(problems, check.problems);
    }
    EXPECT_LT(wcslen(report), sizeof report / sizeof *report);
    if (check.reportLine == nullptr) {
        EXPECT_TRUE(check.problems == anyCount || report[0] == L'\0') << report;
    } else {
        EXPECT_NE(wcsstr(report, (std::wstring(check.reportLine) + L"\n").c_str()), nullptr) << report;
    }
}

INSTANTIATE_TEST_SUITE_P(BadInput, ThemeCheck, testing::ValuesIn(checkCases),
                         [](const testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

// useTheme takes a theme only where checkTheme finds nothing, and says why
// it turned one down.
TEST_P(ThemeCheck, UseThemeTakesOnlyAUsableTheme) {
    const CheckCase& check = GetParam();
    int problems = checkTheme(folder.c_str(), nullptr, 0);
    BOOL used = useTheme(folder.c_str());
    EXPECT_EQ(problems == 0, used != FALSE);
    if (problems != 0) {
        DWORD expected = problems > 0 ? ERROR_INVALID_DATA
                         : check.folder == nullptr ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
        EXPECT_EQ(expected, GetLastError());
    }
    EXPECT_TRUE(useTheme(nullptr));
}

// The report is cut to its buffer and terminated; without one only the problems are counted.
TEST_P(ThemeCheck, CutsTheReportToItsBuffer) {
    if (GetParam().problems < 1) {
        return;
    }
    wchar_t whole[4096];
    wchar_t cut[8];
    int problems = checkTheme(folder.c_str(), whole, 4096);
    EXPECT_EQ(checkTheme(folder.c_str(), cut, 8), problems);
    EXPECT_EQ(std::wstring(cut), std::wstring(whole).substr(0, 7));
    EXPECT_EQ(checkTheme(folder.c_str(), nullptr, 0), problems);
}

// Named bare, from the themes/ beside velmo.dll, and by a relative path from the source tree.
TEST(ThemeCheckShipped, SlateHasNoProblems) {
    wchar_t report[4096];
    EXPECT_EQ(checkTheme(L"slate", report, 4096), 0) << report;
    EXPECT_STREQ(report, L"");
    EXPECT_EQ(checkTheme(L"themes\\slate", report, 4096), 0) << report;
}
