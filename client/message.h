// Wire format of the Marrowby server protocol: byte records, wire integers and
// strings, the login message, and the reassembly of the incoming stream.
#ifndef MARROWBY_CLIENT_MESSAGE_H
#define MARROWBY_CLIENT_MESSAGE_H

#include <cstdint>

// A run of bytes on the heap. For the reassembly buffer `length` is the
// capacity of `content`, not the number of bytes held.
struct Data {
    int32_t length;
    char* content;  // null when length is 0 or less
};

// Longest body kept of one incoming message; the rest of a longer one is skipped.
const int32_t maxMessageBody = 4096;

// All functions that make something return null when memory runs out, having
// freed whatever they made on the way.

// `length` is stored as given; content is allocated only when it is positive
// and copied from `source` when that is not null.
Data* newData(const char* source, int32_t length);
// Frees the record and its content; null is ignored.
void deleteData(Data* record);

// Unsigned 32-bit values as 4 bytes, least significant first, at any offset.
void intBytesToChar(char* destination, uint32_t value);
uint32_t intFromChars(const char* source);

// A record of `length` + 4 bytes starting with `length` as a wire integer;
// the caller fills the rest. Null for a negative length.
Data* newMessage(int32_t length);
// A wire string: the length, then `length` bytes of `text` (left unfilled
// when `text` is null), no terminator.
Data* newString(const char* text, int32_t length);
// Copies `count` bytes to `offset`; the caller keeps it inside the record.
void appendData(Data* record, const char* source, int32_t offset, int32_t count);
// The complete login message for the two zero-terminated texts.
Data* buildLogin(const char* userName, const char* password);

// Appends the chunk to the reassembly buffer (made by newData(nullptr, 0)) and
// returns the oldest complete message, or null when none is complete. A count
// of 0 adds nothing and only delivers what is already held. Bodies longer than
// maxMessageBody are delivered cut, their prefix unchanged, and the rest of
// their body is dropped as it arrives. When the buffer cannot grow, the call
// returns null without taking the chunk; when a delivery cannot be allocated
// the message stays held for a later call. One stream per process: its state
// is one record in message.cpp.
Data* parseData(Data* buffer, const char* chunk, int32_t count);
// True when the last parseData returned null because memory ran out (the
// chunk not taken, or the message held back), false after any other result.
bool isParseOutOfMemory();
// Copies the first `cut` of the `filled` bytes held into a new record and
// moves the rest to the front of a buffer sized to them.
Data* getMessage(Data* buffer, int32_t filled, int32_t cut);
// Modes of dataToStr: zero bytes shown as spaces, or every byte but an ASCII
// letter; other modes pass bytes unchanged.
const int zeroAsSpaceMode = 1;
const int lettersOnlyMode = 2;
// One character per byte, the format that the client prints messages with.
const char characterFormat[] = "%c";

// Text made by formatting every byte with `format` (one int argument), each
// byte first mapped by `mode`. The caller frees the text with free().
char* dataToStr(const Data* record, const char* format, int mode);

// For tests and the fuzzer: forgets the stream reassembled so far, as at
// program start. The caller frees the old buffer and starts a new empty one.
void resetParser();

#endif
