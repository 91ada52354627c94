// Owners of Win32 handles: each closes its handle when destroyed.
#pragma once

#include "platform/win32/Win32Api.h"

namespace sw::win32 {

template <typename Traits> class UniqueHandle {
  public:
    using H = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.h_) { other.h_ = Traits::Invalid(); }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            h_ = other.h_;
            other.h_ = Traits::Invalid();
        }
        return *this;
    }

    H Get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    // For functions that return the handle through a pointer.
    H* Out() {
        Reset();
        return &h_;
    }
    void Reset() {
        if (h_ != Traits::Invalid())
            Traits::Close(h_);
        h_ = Traits::Invalid();
    }

  private:
    H h_ = Traits::Invalid();
};

struct KeyTraits {
    using Handle = HKEY;
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct FileTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
struct TokenTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

using RegKey = UniqueHandle<KeyTraits>;
using FileHandle = UniqueHandle<FileTraits>;
using FindHandle = UniqueHandle<FindTraits>;
using TokenHandle = UniqueHandle<TokenTraits>;
// Process and thread handles close like tokens.
using KernelHandle = UniqueHandle<TokenTraits>;

} // namespace sw::win32
