// Byte records, the wire format, the login message, and the reassembly of the
// server's byte stream into messages and their rendering as text.
#include "message.h"

#include "allocation.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const int32_t wireIntegerSize = 4;
static const int bitsPerByte = 8;
static const uint32_t byteMask = 0xFF;
static const int32_t maxMessageSize = maxMessageBody + wireIntegerSize;
static const int32_t growthStep = 512;

static const uint32_t loginCode = 1;
static const uint32_t loginTrailer = 156;
// Prefix, code, two string lengths and the trailer.
static const int32_t loginOverhead = 5 * wireIntegerSize;

static const unsigned char space = ' ';
static const unsigned char caseBit = 0x20;
static const unsigned char alphabetSize = 26;
// One formatted byte: at most 32 characters and the zero.
static const size_t scratchSize = 33;

// Where the reassembly of the one incoming stream stands between calls.
struct StreamState {
    // Body length kept of the message whose prefix has been read; 0 when none is pending.
    int32_t messageLength;
    // Bytes held at the front of the buffer's content.
    int32_t bytes;
    // Body bytes of an over-long message that are still to arrive and be dropped.
    // Up to 2^32 - 1 - maxMessageBody, hence unsigned.
    uint32_t bytesToSkip;
    // Whether the last parseData returned null because memory ran out.
    bool outOfMemory;
};

static const StreamState streamStart = {0, 0, 0, false};
static StreamState stream = streamStart;

Data* newData(const char* source, int32_t length) {
    Data* record = static_cast<Data*>(allocateBytes(sizeof(Data)));
    if (record == nullptr) {
        return nullptr;
    }
    record->length = length;
    record->content = nullptr;
    if (length > 0) {
        record->content = static_cast<char*>(allocateBytes(static_cast<size_t>(length)));
        if (record->content == nullptr) {
            free(record);
            return nullptr;
        }
        if (source != nullptr) {
            memcpy(record->content, source, static_cast<size_t>(length));
        }
    }
    return record;
}

void deleteData(Data* record) {
    if (record == nullptr) {
        return;
    }
    free(record->content);
    free(record);
}

void intBytesToChar(char* destination, uint32_t value) {
    for (int32_t i = 0; i < wireIntegerSize; i++) {
        destination[i] = static_cast<char>((value >> (i * bitsPerByte)) & byteMask);
    }
}

uint32_t intFromChars(const char* source) {
    uint32_t value = 0;
    for (int32_t i = 0; i < wireIntegerSize; i++) {
        value |= static_cast<uint32_t>(static_cast<unsigned char>(source[i])) << (i * bitsPerByte);
    }
    return value;
}

Data* newMessage(int32_t length) {
    if (length < 0 || length > INT32_MAX - wireIntegerSize) {
        return nullptr;
    }
    Data* record = newData(nullptr, length + wireIntegerSize);
    if (record != nullptr) {
        intBytesToChar(record->content, static_cast<uint32_t>(length));
    }
    return record;
}

// A wire string is laid out like a message frame: its length, then its bytes.
Data* newString(const char* text, int32_t length) {
    Data* record = newMessage(length);
    if (record != nullptr && text != nullptr) {
        appendData(record, text, wireIntegerSize, length);
    }
    return record;
}

void appendData(Data* record, const char* source, int32_t offset, int32_t count) {
    if (record == nullptr || record->content == nullptr || source == nullptr || count <= 0) {
        return;
    }
    memcpy(record->content + offset, source, static_cast<size_t>(count));
}

Data* buildLogin(const char* userName, const char* password) {
    if (userName == nullptr || password == nullptr) {
        return nullptr;
    }
    size_t userLength = strlen(userName);
    size_t passwordLength = strlen(password);
    size_t textLimit = static_cast<size_t>(INT32_MAX - loginOverhead);
    if (userLength > textLimit || passwordLength > textLimit - userLength) {
        return nullptr;
    }
    int32_t total = static_cast<int32_t>(userLength + passwordLength) + loginOverhead;

    char prefix[wireIntegerSize];
    char trailer[wireIntegerSize];
    char code[wireIntegerSize];
    intBytesToChar(prefix, static_cast<uint32_t>(total - wireIntegerSize));
    intBytesToChar(trailer, loginTrailer);
    intBytesToChar(code, loginCode);

    Data* message = newData(nullptr, total);
    Data* user = newString(userName, static_cast<int32_t>(userLength));
    Data* secret = newString(password, static_cast<int32_t>(passwordLength));
    Data* result = nullptr;
    if (message != nullptr && user != nullptr && secret != nullptr) {
        int32_t offset = 0;
        appendData(message, prefix, offset, wireIntegerSize);
        offset += wireIntegerSize;
        appendData(message, code, offset, wireIntegerSize);
        offset += wireIntegerSize;
        appendData(message, user->content, offset, user->length);
        offset += user->length;
        appendData(message, secret->content, offset, secret->length);
        offset += secret->length;
        appendData(message, trailer, offset, wireIntegerSize);
        result = message;
        message = nullptr;
    }
    deleteData(message);
    deleteData(user);
    deleteData(secret);
    return result;
}

void resetParser() {
    stream = streamStart;
}

// Makes room for `count` more bytes, growing by the smallest multiple of the
// step that exceeds count.
static bool reserveSpace(Data* buffer, int32_t count) {
    if (count == 0 || buffer->length - stream.bytes >= count) {
        return true;
    }
    int64_t capacity = static_cast<int64_t>(buffer->length) + (count / growthStep) * growthStep + growthStep;
    if (capacity > INT32_MAX) {
        return false;
    }
    char* grown = static_cast<char*>(resizeBytes(buffer->content, static_cast<size_t>(capacity)));
    if (grown == nullptr) {
        return false;
    }
    buffer->content = grown;
    buffer->length = static_cast<int32_t>(capacity);
    return true;
}

// Appends the chunk, leaving out the bytes that belong to the dropped part of
// an over-long message: those that come after its kept part while it is
// pending, or at the very front once it has been delivered.
static bool appendChunk(Data* buffer, const char* chunk, int32_t count) {
    int32_t head = count;
    int32_t skipped = 0;
    if (stream.bytesToSkip > 0) {
        int32_t missing = stream.messageLength == 0 ? 0 : stream.messageLength + wireIntegerSize - stream.bytes;
        head = count < missing ? count : missing;
        uint32_t rest = static_cast<uint32_t>(count - head);
        skipped = static_cast<int32_t>(rest < stream.bytesToSkip ? rest : stream.bytesToSkip);
    }
    int32_t kept = count - skipped;
    if (!reserveSpace(buffer, kept)) {
        return false;
    }
    appendData(buffer, chunk, stream.bytes, head);
    appendData(buffer, chunk + head + skipped, stream.bytes + head, kept - head);
    stream.bytes += kept;
    stream.bytesToSkip -= static_cast<uint32_t>(skipped);
    return true;
}

// Keeps the first maxMessageBody body bytes of an over-long message, drops the
// excess already held (moving any following bytes down to close the gap) and
// counts what is still to come.
static void cutMessage(Data* buffer, uint32_t announced) {
    uint32_t excess = announced - static_cast<uint32_t>(maxMessageBody);
    uint32_t heldExcess = 0;
    if (stream.bytes > maxMessageSize) {
        uint32_t beyond = static_cast<uint32_t>(stream.bytes - maxMessageSize);
        heldExcess = beyond < excess ? beyond : excess;
        memmove(buffer->content + maxMessageSize, buffer->content + maxMessageSize + heldExcess,
                beyond - heldExcess);
    }
    stream.bytes -= static_cast<int32_t>(heldExcess);
    stream.bytesToSkip = excess - heldExcess;
    stream.messageLength = maxMessageBody;
}

Data* parseData(Data* buffer, const char* chunk, int32_t count) {
    stream.outOfMemory = false;
    if (buffer == nullptr) {
        return nullptr;
    }
    if (chunk != nullptr && count > 0 && !appendChunk(buffer, chunk, count)) {
        stream.outOfMemory = true;
        return nullptr;
    }
    if (stream.messageLength == 0) {
        if (stream.bytes < wireIntegerSize) {
            return nullptr;
        }
        uint32_t announced = intFromChars(buffer->content);
        if (announced > static_cast<uint32_t>(maxMessageBody)) {
            cutMessage(buffer, announced);
        } else {
            stream.messageLength = static_cast<int32_t>(announced);
        }
    }
    int32_t cut = stream.messageLength + wireIntegerSize;
    if (stream.bytes < cut) {
        return nullptr;
    }
    // On failure the message stays held and the state untouched for a later call.
    Data* message = getMessage(buffer, stream.bytes, cut);
    if (message == nullptr) {
        stream.outOfMemory = true;
        return nullptr;
    }
    stream.bytes -= cut;
    stream.messageLength = 0;
    return message;
}

bool isParseOutOfMemory() {
    return stream.outOfMemory;
}

Data* getMessage(Data* buffer, int32_t filled, int32_t cut) {
    Data* message = newData(buffer->content, cut);
    if (message == nullptr) {
        return nullptr;
    }
    int32_t rest = filled - cut;
    if (rest > 0) {
        char* leftover = static_cast<char*>(allocateBytes(static_cast<size_t>(rest)));
        if (leftover == nullptr) {
            // Shrinking only saves memory; without it the bytes move down in place.
            memmove(buffer->content, buffer->content + cut, static_cast<size_t>(rest));
        } else {
            memcpy(leftover, buffer->content + cut, static_cast<size_t>(rest));
            free(buffer->content);
            buffer->content = leftover;
            buffer->length = rest;
        }
    }
    return message;
}

static bool isAsciiLetter(unsigned char value) {
    return static_cast<unsigned char>((value | caseBit) - 'a') < alphabetSize;
}

static unsigned char mapByte(unsigned char value, int mode) {
    if (mode == lettersOnlyMode) {
        return isAsciiLetter(value) ? value : space;
    }
    if (mode == zeroAsSpaceMode) {
        return value != 0 ? value : space;
    }
    return value;
}

// The general path: each byte through the caller's format. Measures only when
// `text` is null; returns the length of the text.
static uint64_t formatBytes(char* text, const unsigned char* source, size_t length, const char* format,
                            int mode) {
    char scratch[scratchSize];
    uint64_t position = 0;
    for (size_t i = 0; i < length; i++) {
        scratch[0] = '\0';
        snprintf(scratch, scratchSize, format, static_cast<int>(mapByte(source[i], mode)));
        size_t piece = strlen(scratch);
        if (text != nullptr) {
            memcpy(text + position, scratch, piece);
        }
        position += piece;
    }
    return position;
}

// Where the loader picks function variants at start-up, the character loops
// also get an AVX2 copy, which halves their time against the baseline vectors.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__ELF__)
#define WITH_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define WITH_WIDE_VECTORS
#endif

// "%c" in modes 1 and 2 turns every byte into exactly one character; kept as
// straight loops over a constant mode so that the compiler vectorises them.
WITH_WIDE_VECTORS static uint64_t mapCharacters(char* text, const unsigned char* source, size_t length, int mode) {
    if (text == nullptr) {
        return length;
    }
    unsigned char* out = reinterpret_cast<unsigned char*>(text);
    if (mode == lettersOnlyMode) {
        for (size_t i = 0; i < length; i++) {
            out[i] = mapByte(source[i], lettersOnlyMode);
        }
    } else {
        for (size_t i = 0; i < length; i++) {
            out[i] = mapByte(source[i], zeroAsSpaceMode);
        }
    }
    return length;
}

// "%c" in mode 0: a zero byte formats to nothing, every other byte to itself.
static uint64_t dropZeros(char* text, const unsigned char* source, size_t length) {
    uint64_t written = 0;
    size_t position = 0;
    while (position < length) {
        const void* zero = memchr(source + position, 0, length - position);
        size_t end = zero == nullptr ? length : static_cast<size_t>(static_cast<const unsigned char*>(zero) - source);
        if (text != nullptr) {
            memcpy(text + written, source + position, end - position);
        }
        written += end - position;
        position = end + 1;
    }
    return written;
}

static uint64_t renderBytes(char* text, const unsigned char* source, size_t length, const char* format,
                            int mode) {
    if (strcmp(format, characterFormat) != 0) {
        return formatBytes(text, source, length, format, mode);
    }
    if (mode == zeroAsSpaceMode || mode == lettersOnlyMode) {
        return mapCharacters(text, source, length, mode);
    }
    return dropZeros(text, source, length);
}

char* dataToStr(const Data* record, const char* format, int mode) {
    if (record == nullptr || format == nullptr) {
        return nullptr;
    }
    const unsigned char* source = reinterpret_cast<const unsigned char*>(record->content);
    size_t length = record->length > 0 && source != nullptr ? static_cast<size_t>(record->length) : 0;
    uint64_t textLength = renderBytes(nullptr, source, length, format, mode);
    if (textLength >= SIZE_MAX) {
        return nullptr;
    }
    char* text = static_cast<char*>(allocateBytes(static_cast<size_t>(textLength) + 1));
    if (text == nullptr) {
        return nullptr;
    }
    renderBytes(text, source, length, format, mode);
    text[textLength] = '\0';
    return text;
}
