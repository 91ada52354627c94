/* The few C library functions the loading program and zlib's inflate need,
   on the process heap, so that the program imports no C run-time DLL: a
   msvcrt.dll planted beside a downloaded setup.exe is never loaded. Built
   freestanding, so that the compiler does not turn these loops back into
   calls of themselves. */
#include <stddef.h>
#include <windows.h>

void* malloc(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size ? size : 1); }

void* calloc(size_t count, size_t size) {
    if (size && count > (size_t)-1 / size)
        return NULL;
    const size_t bytes = count * size;
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes ? bytes : 1);
}

void free(void* block) {
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

void* memcpy(void* to, const void* from, size_t size) {
    unsigned char* d = (unsigned char*)to;
    const unsigned char* s = (const unsigned char*)from;
    while (size--)
        *d++ = *s++;
    return to;
}

void* memmove(void* to, const void* from, size_t size) {
    unsigned char* d = (unsigned char*)to;
    const unsigned char* s = (const unsigned char*)from;
    if (d < s) {
        while (size--)
            *d++ = *s++;
    } else {
        while (size--)
            d[size] = s[size];
    }
    return to;
}

void* memset(void* to, int value, size_t size) {
    unsigned char* d = (unsigned char*)to;
    while (size--)
        *d++ = (unsigned char)value;
    return to;
}

size_t strlen(const char* text) {
    size_t n = 0;
    while (text[n])
        ++n;
    return n;
}
