// Heap copies of text, made and freed with one allocator.
#include "heaptext.h"

#include <cstring>
#include <new>

char* copyText(const char* text) {
    size_t size = strlen(text) + 1;
    char* copy = new (std::nothrow) char[size];
    if (copy != nullptr) {
        memcpy(copy, text, size);
    }
    return copy;
}

void deleteText(void* text) {
    delete[] static_cast<char*>(text);
}
