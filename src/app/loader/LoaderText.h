// Text in fixed buffers for the loading program, which has no C++ library:
// appends that stop at the buffer's end and report it.
#pragma once

#include <stddef.h>

namespace loader {

class TText {
  public:
    static constexpr size_t kCapacity = 4096;

    TText() { text_[0] = 0; }

    const char* c_str() const { return text_; }
    size_t size() const { return size_; }
    bool ok() const { return ok_; }

    TText& operator+=(const char* s) {
        while (*s)
            Add(*s++);
        return *this;
    }
    TText& operator+=(const TText& t) { return *this += t.c_str(); }
    void Add(char c) {
        if (size_ + 1 >= kCapacity) {
            ok_ = false;
            return;
        }
        text_[size_++] = c;
        text_[size_] = 0;
    }
    void AddHex(unsigned value) {
        for (int shift = 28; shift >= 0; shift -= 4)
            Add("0123456789ABCDEF"[(value >> shift) & 15]);
    }
    // Cuts the text to n characters.
    void Cut(size_t n) {
        if (n < size_) {
            size_ = n;
            text_[n] = 0;
        }
    }

  private:
    char text_[kCapacity];
    size_t size_ = 0;
    bool ok_ = true;
};

inline char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline bool SameText(const char* a, const char* b) {
    while (*a && Upper(*a) == Upper(*b))
        ++a, ++b;
    return Upper(*a) == Upper(*b);
}

// Whether text contains part, without regard to case.
inline bool ContainsText(const char* text, const char* part) {
    for (; *text; ++text) {
        size_t i = 0;
        while (part[i] && Upper(text[i]) == Upper(part[i]))
            ++i;
        if (!part[i])
            return true;
    }
    return false;
}

// The position after the last backslash, slash or colon of a path.
inline const char* FileNamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    return name;
}

} // namespace loader
