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
