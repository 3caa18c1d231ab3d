// Heap copies of text, made and freed with one allocator.
#include "heaptext.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
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

wchar_t* copyWideText(const wchar_t* text) {
    size_t size = wcslen(text) + 1;
    wchar_t* copy = new (std::nothrow) wchar_t[size];
    if (copy != nullptr) {
        wmemcpy(copy, text, size);
    }
    return copy;
}

wchar_t* widenText(const char* text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    wchar_t* wide = new (std::nothrow) wchar_t[size > 0 ? size : 1];
    if (wide != nullptr && MultiByteToWideChar(CP_ACP, 0, text, -1, wide, size) == 0) {
        wide[0] = L'\0';
    }
    return wide;
}

char* narrowText(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    char* narrow = new (std::nothrow) char[size > 0 ? size : 1];
    if (narrow != nullptr && WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, size, nullptr, nullptr) == 0) {
        narrow[0] = '\0';
    }
    return narrow;
}

void deleteWideCopy(wchar_t* text) {
    delete[] text;
}
