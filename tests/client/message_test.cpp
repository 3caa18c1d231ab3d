#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "allocation.h"
#include "message.h"
#include "reference_framing.h"

namespace {

const int32_t maxMessageSize = maxMessageBody + 4;

std::string wireInt(uint32_t value) {
    char bytes[4];
    intBytesToChar(bytes, value);
    return std::string(bytes, 4);
}

// A body whose bytes differ from their neighbours, zeros included.
std::string patternBody(size_t length, unsigned seed) {
    std::string body(length, '\0');
    for (size_t i = 0; i < length; i++) {
        body[i] = static_cast<char>((i * 7 + seed) & 0xFF);
    }
    return body;
}

std::string frame(uint32_t announced, const std::string& body) {
    return wireInt(announced) + body;
}

const char nullMark[] = "(null)";

std::string takeBytes(Data* record) {
    if (record == nullptr) {
        return nullMark;
    }
    std::string bytes(record->content, static_cast<size_t>(record->length));
    deleteData(record);
    return bytes;
}

std::string takeText(char* text) {
    if (text == nullptr) {
        return nullMark;
    }
    std::string copy(text);
    free(text);
    return copy;
}

std::vector<std::string> splitEvery(const std::string& stream, size_t size) {
    std::vector<std::string> pieces;
    for (size_t start = 0; start < stream.size(); start += size) {
        pieces.push_back(stream.substr(start, size));
    }
    return pieces;
}

// Runs `make` with a failure at each allocation in turn until it gets through;
// every failed attempt must come back null. Returns the allocations it needs.
int countAllocations(const std::function<bool()>& make) {
    for (int skipped = 0;; skipped++) {
        scheduleAllocationFailure(skipped);
        bool made = make();
        bool failed = scheduleAllocationFailure(-1) < 0;
        EXPECT_NE(made, failed) << "allocation " << skipped;
        if (!failed) {
            return skipped;
        }
    }
}

TEST(WireTest, IntegersRoundTripAtAnyOffset) {
    std::vector<uint32_t> values = {0, 1, 255, 256, 65535, 65536, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu};
    for (uint32_t value = 3; value < 0xFFFF0000u; value += 0x10001u) {
        values.push_back(value);
    }
    char bytes[8];
    for (uint32_t value : values) {
        int offset = static_cast<int>(value % 4);
        intBytesToChar(bytes + offset, value);
        ASSERT_EQ(intFromChars(bytes + offset), value);
    }

    intBytesToChar(bytes + 1, 258);
    EXPECT_EQ(std::string(bytes + 1, 4), std::string("\x02\x01\x00\x00", 4));
    memcpy(bytes + 3, "\x00\x00\x01\x00", 4);
    EXPECT_EQ(intFromChars(bytes + 3), 65536u);
    memcpy(bytes + 1, "\xFF\xFF\xFF\xFF", 4);
    EXPECT_EQ(intFromChars(bytes + 1), 0xFFFFFFFFu);
    EXPECT_EQ(static_cast<int32_t>(intFromChars(bytes + 1)), -1);
}

TEST(WireTest, RecordLayouts) {
    Data* empty = newData(nullptr, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->length, 0);
    EXPECT_EQ(empty->content, nullptr);
    deleteData(empty);

    Data* negative = newData("abc", -5);
    ASSERT_NE(negative, nullptr);
    EXPECT_EQ(negative->length, -5);
    EXPECT_EQ(negative->content, nullptr);
    deleteData(negative);

    EXPECT_EQ(takeBytes(newData("abc", 3)), "abc");
    EXPECT_EQ(takeBytes(newString("", 0)), std::string(4, '\0'));
    EXPECT_EQ(takeBytes(newString("walrus", 6)), wireInt(6) + "walrus");

    Data* message = newMessage(10);
    ASSERT_NE(message, nullptr);
    ASSERT_EQ(message->length, 14);
    appendData(message, "0123456789", 4, 10);
    EXPECT_EQ(takeBytes(message), wireInt(10) + "0123456789");
    EXPECT_EQ(newMessage(-1), nullptr);
    EXPECT_EQ(newString(nullptr, -4), nullptr);
}

TEST(WireTest, LoginLayout) {
    EXPECT_EQ(takeBytes(buildLogin("", "")), wireInt(16) + wireInt(1) + wireInt(0) + wireInt(0) + wireInt(156));

    std::string login = takeBytes(buildLogin("tarnwick", "walrus"));
    ASSERT_EQ(login.size(), 34u);
    EXPECT_EQ(intFromChars(login.data()), 30u);
    EXPECT_EQ(intFromChars(login.data() + 4), 1u);
    EXPECT_EQ(intFromChars(login.data() + 8), 8u);
    EXPECT_EQ(login.substr(12, 8), "tarnwick");
    EXPECT_EQ(intFromChars(login.data() + 20), 6u);
    EXPECT_EQ(login.substr(24, 6), "walrus");
    EXPECT_EQ(intFromChars(login.data() + 30), 156u);
}

// The leak checker of the sanitizer build reports anything a failed call keeps.
TEST(WireTest, FailedAllocationsGiveNullAndLeakNothing) {
    Data record = {3, const_cast<char*>("a\0b")};
    EXPECT_EQ(countAllocations([] { return takeBytes(newData("abc", 3)) == "abc"; }), 2);
    EXPECT_EQ(countAllocations([] { return takeBytes(newMessage(1)).size() == 5; }), 2);
    EXPECT_EQ(countAllocations([] { return takeBytes(newString("ab", 2)) == wireInt(2) + "ab"; }), 2);
    EXPECT_EQ(countAllocations([] { return takeBytes(buildLogin("tarnwick", "walrus")).size() == 34; }), 6);
    EXPECT_EQ(countAllocations([&] { return takeText(dataToStr(&record, "%c", 1)) == "a b"; }), 1);
    EXPECT_EQ(countAllocations([&] { return takeText(dataToStr(&record, "%d", 0)) == "97098"; }), 1);
}

class ParserTest : public testing::Test {
protected:
    void SetUp() override { restart(); }

    void TearDown() override {
        deleteData(buffer);
        resetParser();
        scheduleAllocationFailure(-1);
    }

    void restart() {
        deleteData(buffer);
        resetParser();
        buffer = newData(nullptr, 0);
        ASSERT_NE(buffer, nullptr);
    }

    Data* parse(const std::string& chunk) {
        return parseData(buffer, chunk.data(), static_cast<int32_t>(chunk.size()));
    }

    // Feeds the pieces as chunks, draining every message held after each.
    std::vector<std::string> feed(const std::vector<std::string>& pieces) {
        std::vector<std::string> delivered;
        for (const std::string& piece : pieces) {
            for (Data* message = parse(piece); message != nullptr; message = parseData(buffer, nullptr, 0)) {
                EXPECT_GE(message->length, 4);
                EXPECT_LE(message->length, maxMessageSize);
                delivered.push_back(takeBytes(message));
            }
        }
        return delivered;
    }

    Data* buffer = nullptr;
};

TEST_F(ParserTest, SameMessagesHoweverTheStreamIsCut) {
    std::string stream = frame(0, "") + frame(5, "hello") + frame(4096, patternBody(4096, 1)) +
                         frame(5000, patternBody(5000, 2)) + frame(3, "abc") + frame(0, "") +
                         frame(300, patternBody(300, 3)) + frame(4097, patternBody(4097, 4));
    std::vector<std::string> expected = frameStream(stream);
    ASSERT_EQ(expected.size(), 8u);

    for (size_t size : {size_t(1), size_t(7), size_t(255), size_t(256), stream.size()}) {
        restart();
        EXPECT_EQ(feed(splitEvery(stream, size)), expected) << "chunks of " << size;
    }
    for (size_t cut = 1; cut < stream.size(); cut++) {
        restart();
        ASSERT_EQ(feed({stream.substr(0, cut), stream.substr(cut)}), expected) << "cut at " << cut;
    }
}

TEST_F(ParserTest, DeliversOneMessagePerCallOldestFirst) {
    EXPECT_EQ(parseData(buffer, nullptr, 0), nullptr);
    EXPECT_EQ(takeBytes(parse(frame(2, "ab") + frame(0, "") + frame(1, "c"))), frame(2, "ab"));
    EXPECT_EQ(takeBytes(parseData(buffer, nullptr, 0)), frame(0, ""));
    EXPECT_EQ(takeBytes(parseData(buffer, nullptr, 0)), frame(1, "c"));
    EXPECT_EQ(parseData(buffer, nullptr, 0), nullptr);
}

TEST_F(ParserTest, PartialPrefixAndBodyWaitForTheirLastByte) {
    EXPECT_EQ(parse(std::string(2, '\0')), nullptr);
    EXPECT_EQ(takeBytes(parse(std::string(2, '\0'))), frame(0, ""));

    std::string message = frame(4096, patternBody(4096, 5));
    std::vector<std::string> pieces = splitEvery(message, 256);
    for (size_t i = 0; i + 1 < pieces.size(); i++) {
        ASSERT_EQ(parse(pieces[i]), nullptr);
    }
    EXPECT_EQ(takeBytes(parse(pieces.back())), message);
}

TEST_F(ParserTest, OverLongMessageIsCutAndItsRestSkipped) {
    std::string body = patternBody(5000, 6);
    std::string stream = frame(5000, body) + frame(3, "xyz");
    std::vector<std::string> expected = {frame(5000, body.substr(0, maxMessageBody)), frame(3, "xyz")};
    EXPECT_EQ(feed({stream}), expected);
    restart();
    EXPECT_EQ(feed(splitEvery(stream, 256)), expected);

    // Zero bytes would frame as empty messages if the skip lost count.
    restart();
    std::string kept = patternBody(maxMessageBody, 7);
    EXPECT_EQ(feed(splitEvery(frame(70000, kept + std::string(70000 - maxMessageBody, '\0')) + frame(1, "q"), 256)),
              std::vector<std::string>({frame(70000, kept), frame(1, "q")}));
}

TEST_F(ParserTest, PrefixesFromTwoToThe31AreOverLong) {
    for (uint32_t announced : {0x80000010u, 0xFFFFFFFFu}) {
        restart();
        std::string body = patternBody(maxMessageBody, 8);
        EXPECT_EQ(feed(splitEvery(frame(announced, body) + std::string(300000, '\0'), 256)),
                  std::vector<std::string>({frame(announced, body)}));
    }
}

TEST_F(ParserTest, CapacityFollowsChunksAndLeftovers) {
    EXPECT_EQ(takeBytes(parse(frame(252, patternBody(252, 9)))).size(), 256u);
    EXPECT_EQ(buffer->length, 512);

    EXPECT_EQ(takeBytes(parse(frame(42, patternBody(42, 10)) + wireInt(300) + "012345")).size(), 46u);
    EXPECT_EQ(buffer->length, 10);
    EXPECT_EQ(parse(patternBody(256, 11)), nullptr);
    EXPECT_EQ(buffer->length, 522);
}

TEST_F(ParserTest, SurvivesFailedAllocations) {
    std::string first = frame(2, "ab");
    std::string second = frame(3, "cde");
    scheduleAllocationFailure(0);
    EXPECT_EQ(parse(first), nullptr);
    EXPECT_TRUE(isParseOutOfMemory());
    EXPECT_EQ(buffer->length, 0);
    EXPECT_EQ(feed({first}), std::vector<std::string>({first}));
    EXPECT_FALSE(isParseOutOfMemory());

    // Growth succeeds, then the delivered record, its content or the smaller
    // leftover array fails; the last is not even a failure of the call.
    for (int32_t skipped = 1; skipped <= 3; skipped++) {
        restart();
        scheduleAllocationFailure(skipped);
        Data* message = parse(first + second);
        EXPECT_EQ(message == nullptr, skipped < 3);
        EXPECT_EQ(isParseOutOfMemory(), skipped < 3);
        std::vector<std::string> delivered = feed({""});
        if (message != nullptr) {
            delivered.insert(delivered.begin(), takeBytes(message));
        }
        EXPECT_EQ(delivered, std::vector<std::string>({first, second})) << "allocation " << skipped;
    }

    // A cut message whose delivery fails still has the rest of its body skipped.
    restart();
    std::string body = patternBody(5000, 12);
    std::string stream = frame(5000, body) + second;
    scheduleAllocationFailure(1);
    EXPECT_EQ(parse(stream.substr(0, 4200)), nullptr);
    EXPECT_TRUE(isParseOutOfMemory());
    EXPECT_EQ(feed({stream.substr(4200)}),
              std::vector<std::string>({frame(5000, body.substr(0, maxMessageBody)), second}));
}

TEST(RenderTest, ModesAndFormats) {
    Data record = {5, const_cast<char*>("Hi!\0z")};
    EXPECT_EQ(takeText(dataToStr(&record, "%c", 2)), "Hi  z");
    EXPECT_EQ(takeText(dataToStr(&record, "%c", 1)), "Hi! z");
    EXPECT_EQ(takeText(dataToStr(&record, "%c", 0)), "Hi!z");
    EXPECT_EQ(takeText(dataToStr(&record, "%c", 7)), "Hi!z");

    Data extremes = {2, const_cast<char*>("\0\xFF")};
    EXPECT_EQ(takeText(dataToStr(&extremes, "%02x", 0)), "00ff");
    EXPECT_EQ(takeText(dataToStr(&extremes, "%d,", 2)), "32,32,");

    Data empty = {0, nullptr};
    EXPECT_EQ(takeText(dataToStr(&empty, "%c", 2)), "");
    EXPECT_EQ(takeText(dataToStr(&empty, "%02x", 0)), "");
}

// "%1c" formats like "%c" but takes the general path.
TEST(RenderTest, CharacterFastPathMatchesTheGeneralPath) {
    std::string bytes;
    for (int value = 0; value < 256; value++) {
        bytes.push_back(static_cast<char>(value));
    }
    bytes += std::string("\0\0a\0Z\0", 6);
    Data record = {static_cast<int32_t>(bytes.size()), &bytes[0]};
    for (int mode = 0; mode <= 2; mode++) {
        std::string fast = takeText(dataToStr(&record, "%c", mode));
        EXPECT_EQ(fast.size(), mode == 0 ? bytes.size() - 5 : bytes.size());
        EXPECT_EQ(fast, takeText(dataToStr(&record, "%1c", mode))) << "mode " << mode;
    }
}

}  // namespace
