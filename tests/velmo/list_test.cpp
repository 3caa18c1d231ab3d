// The linked list: insertion order, removal and release at every position,
// allocation failure (natively) and printList's boxes (under Wine).
#include "velmo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include <atomic>
#include <thread>
#else
#include <new>

#include "list.h"

// The list allocates with nothrow new; this lets a test make the next one fail.
static bool failNextNothrowNew = false;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (failNextNothrowNew) {
        failNextNothrowNew = false;
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
#endif

static std::vector<void*> released;

static void recordRelease(void* data) {
    released.push_back(data);
}

class ListTest : public testing::Test {
protected:
    char a[2] = "A";
    char b[2] = "B";
    char c[2] = "C";
    ListItem* head = nullptr;

    void SetUp() override {
        released.clear();
        head = newList();
        ASSERT_NE(head, nullptr);
    }

    void TearDown() override {
        while (head != nullptr) {
            ListItem* next = head->next;
            deleteList(head);
            head = next;
        }
    }

    void fillThree() {
        addToList(head, a);
        addToList(head, b);
        addToList(head, c);
    }

    // The data of every item in order; "-" stands for an item without data.
    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (ListItem* item = head; item != nullptr; item = item->next) {
            result.push_back(item->data != nullptr ? static_cast<const char*>(item->data) : "-");
        }
        return result;
    }
};

using Texts = std::vector<std::string>;

TEST_F(ListTest, AddFillsTheEmptyHeadThenAppendsInOrder) {
    EXPECT_EQ(addToList(head, a), head);
    ListItem* second = addToList(head, b);
    ListItem* third = addToList(head, c);
    EXPECT_NE(second, head);
    EXPECT_NE(third, second);
    EXPECT_EQ(second->data, b);
    EXPECT_EQ(third->next, nullptr);
    EXPECT_EQ(texts(), (Texts{"A", "B", "C"}));
}

TEST_F(ListTest, NullDataLeavesAnEmptyListEmptyAndIsAppendedToOthers) {
    EXPECT_EQ(addToList(head, nullptr), head);
    EXPECT_EQ(texts(), (Texts{"-"}));
    addToList(head, a);
    ListItem* empty = addToList(head, nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(texts(), (Texts{"A", "-"}));
}

TEST_F(ListTest, RemovingTheHeadOfThreeReturnsTheSecondItem) {
    fillThree();
    ListItem* second = head->next;
    head = removeFromList(head, 0, recordRelease);
    EXPECT_EQ(head, second);
    EXPECT_EQ(released, (std::vector<void*>{a}));
    EXPECT_EQ(texts(), (Texts{"B", "C"}));
}

TEST_F(ListTest, RemovingInsideOrAtTheEndKeepsTheHead) {
    fillThree();
    ListItem* original = head;
    head = removeFromList(head, 1, recordRelease);
    EXPECT_EQ(head, original);
    EXPECT_EQ(texts(), (Texts{"A", "C"}));
    head = removeFromList(head, 1, recordRelease);
    EXPECT_EQ(head, original);
    EXPECT_EQ(texts(), (Texts{"A"}));
    EXPECT_EQ(released, (std::vector<void*>{b, c}));
}

TEST_F(ListTest, RemovingTheLastOfThree) {
    fillThree();
    head = removeFromList(head, 2, recordRelease);
    EXPECT_EQ(released, (std::vector<void*>{c}));
    EXPECT_EQ(texts(), (Texts{"A", "B"}));
    EXPECT_EQ(head->next->next, nullptr);
}

TEST_F(ListTest, PositionsOutOfRangeOnThreeChangeNothing) {
    fillThree();
    ListItem* original = head;
    for (int position : {3, 5, -1, -100}) {
        head = removeFromList(head, position, recordRelease);
        EXPECT_EQ(head, original) << position;
        EXPECT_EQ(texts(), (Texts{"A", "B", "C"})) << position;
    }
    EXPECT_TRUE(released.empty());
}

TEST_F(ListTest, AnyPositionEmptiesAListOfOneAndKeepsItsHead) {
    ListItem* original = head;
    for (int position : {0, 3, -2}) {
        addToList(head, a);
        head = removeFromList(head, position, recordRelease);
        EXPECT_EQ(head, original) << position;
        EXPECT_EQ(texts(), (Texts{"-"})) << position;
    }
    EXPECT_EQ(released, (std::vector<void*>{a, a, a}));
}

TEST_F(ListTest, ItemsWithoutDataAreRemovedWithoutRelease) {
    head = removeFromList(head, 0, recordRelease);
    EXPECT_EQ(texts(), (Texts{"-"}));
    addToList(head, a);
    addToList(head, nullptr);
    head = removeFromList(head, 1, recordRelease);
    EXPECT_EQ(texts(), (Texts{"A"}));
    EXPECT_TRUE(released.empty());
}

TEST_F(ListTest, RemovalWithoutReleaseFunctionStillUnlinks) {
    fillThree();
    head = removeFromList(head, 1, nullptr);
    EXPECT_EQ(texts(), (Texts{"A", "C"}));
    head = removeFromList(head, 0, nullptr);
    EXPECT_EQ(texts(), (Texts{"C"}));
    head = removeFromList(head, 0, nullptr);
    EXPECT_EQ(texts(), (Texts{"-"}));
}

TEST_F(ListTest, NullHeadIsRefused) {
    EXPECT_EQ(addToList(nullptr, a), nullptr);
    EXPECT_EQ(removeFromList(nullptr, 0, recordRelease), nullptr);
    EXPECT_TRUE(released.empty());
}

// The rest of the list must stay usable: the sanitizers would report a freed item.
TEST_F(ListTest, DeleteListFreesOneItemOnly) {
    fillThree();
    ListItem* rest = head->next;
    deleteList(head);
    head = rest;
    EXPECT_EQ(texts(), (Texts{"B", "C"}));
}

#ifndef _WIN32
TEST_F(ListTest, FailedAllocationLeavesTheListUnchanged) {
    addToList(head, a);
    addToList(head, b);
    failNextNothrowNew = true;
    EXPECT_EQ(addToList(head, c), nullptr);
    EXPECT_EQ(texts(), (Texts{"A", "B"}));
    failNextNothrowNew = true;
    EXPECT_EQ(newList(), nullptr);
}

// Where an insert lands (-1: nowhere, with nothing changed), and whether it
// made a new head; the last case runs out of memory.
TEST_F(ListTest, InsertPutsDataAtThePositionAndReportsIt) {
    const struct {
        bool filled;
        int position, landed;
        Texts after;
    } cases[] = {
        {false, 0, 0, {"X"}}, {false, -1, 0, {"X"}}, {false, 1, -1, {"-"}}, {true, 0, 0, {"X", "A", "B", "C"}},
        {true, 2, 2, {"A", "B", "X", "C"}}, {true, 3, 3, {"A", "B", "C", "X"}}, {true, -1, 3, {"A", "B", "C", "X"}},
        {true, 4, -1, {"A", "B", "C"}}, {true, -2, -1, {"A", "B", "C"}}, {true, 1, -1, {"A", "B", "C"}},
    };
    char x[2] = "X";
    for (const auto& insert : cases) {
        SCOPED_TRACE(&insert - cases);
        TearDown();
        SetUp();
        if (insert.filled) {
            fillThree();
        }
        ListItem* oldHead = head;
        int position = insert.position;
        failNextNothrowNew = &insert == std::end(cases) - 1;
        head = insertIntoList(head, &position, x);
        EXPECT_EQ(insert.landed, position);
        EXPECT_EQ(insert.after, texts());
        EXPECT_EQ(insert.filled && insert.landed == 0, head != oldHead);
    }
}
#else
static const char boxCaption[] = "List item";
static const DWORD pollMilliseconds = 10;

static BOOL CALLBACK collectStaticText(HWND child, LPARAM lParam) {
    char className[16] = "";
    char text[256] = "";
    GetClassNameA(child, className, sizeof className);
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(className, "Static") == 0 && text[0] != '\0') {
        reinterpret_cast<std::string*>(lParam)->assign(text);
    }
    return TRUE;
}

// Answers printList's boxes from a second thread, as a user would, and keeps
// what each box said. A box is read once it shows: its text is filled in first.
static void answerBoxes(std::vector<std::string>* texts, const std::atomic<bool>* stop) {
    while (!stop->load()) {
        HWND box = FindWindowA(nullptr, boxCaption);
        if (box == nullptr || !IsWindowVisible(box)) {
            Sleep(pollMilliseconds);
            continue;
        }
        std::string text;
        EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&text));
        texts->push_back(text);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        while (IsWindow(box)) {
            Sleep(pollMilliseconds);
        }
    }
}

static std::vector<std::string> printAndAnswer(ListItem* head) {
    std::vector<std::string> texts;
    std::atomic<bool> stop(false);
    std::thread answerer(answerBoxes, &texts, &stop);
    printList(head);
    stop = true;
    answerer.join();
    return texts;
}

TEST_F(ListTest, PrintListShowsOneBoxForAnEmptyList) {
    EXPECT_EQ(printAndAnswer(head), (Texts{"[no data]"}));
}

TEST_F(ListTest, PrintListShowsEveryItemInOrder) {
    fillThree();
    addToList(head, nullptr);
    EXPECT_EQ(printAndAnswer(head), (Texts{"A", "B", "C", "[no data]"}));
}
#endif
