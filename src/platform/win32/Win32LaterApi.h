// Functions that Windows 95 or NT 4.0 lack, found at run time: a program that imports one of them does
// not start there at all. Each caller keeps a fallback for a null result.
#pragma once

#include "platform/win32/Win32Api.h"

namespace sw::win32 {

// The export `name` of the library `module`, or null.
template <typename F> F LibraryExport(HMODULE module, const char* name) {
    // Through void*: GetProcAddress returns a generic function pointer.
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// The export `name` of the already loaded system library `module`, or null.
template <typename F> F LaterApi(const char* module, const char* name) {
    return LibraryExport<F>(GetModuleHandleA(module), name);
}

} // namespace sw::win32
