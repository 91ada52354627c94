// The mapping tables of the code pages the fake knows, generated at build
// time by gen_code_page_tables.py.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sw::fake {

struct CodePageTable {
    unsigned CodePage;
    bool DoubleByte;
    const uint16_t (*Decode)[2]; // code -> UTF-16, sorted by code
    size_t DecodeCount;
    const uint16_t (*Encode)[2]; // UTF-16 -> code, sorted by character
    size_t EncodeCount;
};

extern const CodePageTable kCodePageTables[];
extern const size_t kCodePageTableCount;

// UTF-16 -> its lower case, sorted by character; characters without a
// one-character lower case are not listed.
extern const uint16_t kLowerCase[][2];
extern const size_t kLowerCaseCount;

} // namespace sw::fake
