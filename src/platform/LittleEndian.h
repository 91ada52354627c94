// Little-endian integers in byte strings: the byte order of every Windows
// file format the program reads and writes. The readers do not check bounds:
// callers do.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sw {

inline uint16_t Le16(std::string_view d, size_t off) {
    return static_cast<uint16_t>(static_cast<uint8_t>(d[off]) | static_cast<uint8_t>(d[off + 1]) << 8);
}

inline uint32_t Le32(std::string_view d, size_t off) {
    return Le16(d, off) | static_cast<uint32_t>(Le16(d, off + 2)) << 16;
}

inline void PutLe16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

inline void PutLe32(std::string& s, uint32_t v) {
    PutLe16(s, v & 0xFFFF);
    PutLe16(s, v >> 16);
}

} // namespace sw
