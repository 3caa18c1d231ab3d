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

Data* newData(const char* source, int32_t length);
void deleteData(Data* record);

void intBytesToChar(char* destination, uint32_t value);
uint32_t intFromChars(const char* source);

Data* newMessage(int32_t length);
Data* newString(const char* text, int32_t length);
void appendData(Data* record, const char* source, int32_t offset, int32_t count);
Data* buildLogin(const char* userName, const char* password);

Data* parseData(Data* buffer, const char* chunk, int32_t count);
Data* getMessage(Data* buffer, int32_t filled, int32_t cut);
char* dataToStr(const Data* record, const char* format, int mode);

#endif
