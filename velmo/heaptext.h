// Heap copies of text, the one way the library's records and lists own text.
#ifndef VELMO_HEAPTEXT_H
#define VELMO_HEAPTEXT_H

// A new copy of text, its length plus one byte; null when memory is exhausted.
char* copyText(const char* text);

// Frees a copy made by copyText; null is passed over. It takes an untyped
// pointer so that it serves as a list's release function.
void deleteText(void* text);

#endif
