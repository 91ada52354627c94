// The binary project stream: one serialized component tree.
//
//   stream   := "TPF0" object
//   object   := [prefix] class:sstr name:sstr { path:sstr value } 00 { object } 00
//   prefix   := 0xF0 | flags          flags: 1 inherited, 2 child position follows
//                                     (the position is one integer value)
//   sstr     := len:u8 bytes[len]     8-bit text, no terminator
//   value    := tag:u8 payload        (table below; integers little-endian)
//   item     := [integer value] 01 { path:sstr value } 00     (collection item)
//
// The main form's stream is the RCDATA resource "TFORM1"; each dialog form's is
// the resource named after its class in upper case.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sw {

inline constexpr char kStreamSignature[4] = {'T', 'P', 'F', '0'};

enum class TValueType : uint8_t {
    vaNull = 0,        // no payload
    vaList = 1,        // values until 00
    vaInt8 = 2,        // 1 byte signed
    vaInt16 = 3,       // 2 bytes signed
    vaInt32 = 4,       // 4 bytes signed
    vaExtended = 5,    // 10 bytes, 80-bit extended precision
    vaString = 6,      // short string
    vaIdent = 7,       // short string: enumeration name, component name or method name
    vaFalse = 8,       // no payload
    vaTrue = 9,        // no payload
    vaBinary = 10,     // u32 length, bytes
    vaSet = 11,        // short strings until an empty one
    vaLString = 12,    // u32 length, bytes
    vaNil = 13,        // no payload: an empty reference
    vaCollection = 14, // items until 00
    vaSingle = 15,     // 4 bytes
    vaCurrency = 16,   // 8 bytes: int64 in units of 1/10000
    vaDate = 17,       // 8 bytes: double
    vaWString = 18,    // u32 count of UTF-16LE units, units
};

inline constexpr uint8_t kLastValueType = 18;

// Object record prefix flags (low nibble of a byte >= 0xF0).
inline constexpr uint8_t ffInherited = 1;
inline constexpr uint8_t ffChildPos = 2;

// Longest text a short string holds; longer strings are written with vaLString.
inline constexpr std::size_t kMaxShortString = 255;

} // namespace sw
