// Heap copies of text, the one way the library's records and lists own text.
#ifndef VELMO_HEAPTEXT_H
#define VELMO_HEAPTEXT_H

// A new copy of text, its length plus one byte; null when memory is exhausted.
char* copyText(const char* text);

// Frees a copy made by copyText or narrowText; null is passed over. It takes
// an untyped pointer so that it serves as a list's release function.
void deleteText(void* text);

// The same for UTF-16 text.
wchar_t* copyWideText(const wchar_t* text);

// ANSI text in the process's code page as UTF-16, and UTF-16 text in that
// code page (a character that it lacks becomes its default character); null
// when memory is exhausted.
wchar_t* widenText(const char* text);
char* narrowText(const wchar_t* text);

// Frees a copy made by copyWideText or widenText; null is passed over.
void deleteWideCopy(wchar_t* text);

#endif
