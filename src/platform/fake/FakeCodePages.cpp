#include "platform/fake/FakeCodePages.h"

#include "platform/fake/FakeCodePageTables.h"

#include <algorithm>
#include <cstdint>

namespace sw::fake {

namespace {

const CodePageTable* FindTable(unsigned codePage) {
    for (size_t i = 0; i < kCodePageTableCount; ++i)
        if (kCodePageTables[i].CodePage == codePage)
            return &kCodePageTables[i];
    return nullptr;
}

// The second column of the row whose first column is `key`.
std::optional<uint16_t> Lookup(const uint16_t (*rows)[2], size_t count, uint16_t key) {
    const auto* end = rows + count;
    const auto* row = std::lower_bound(rows, end, key, [](const uint16_t(&r)[2], uint16_t k) { return r[0] < k; });
    if (row == end || (*row)[0] != key)
        return std::nullopt;
    return (*row)[1];
}

std::u16string Lower(std::u16string text) {
    for (char16_t& ch : text)
        if (const auto lower = Lookup(kLowerCase, kLowerCaseCount, static_cast<uint16_t>(ch)))
            ch = static_cast<char16_t>(*lower);
    return text;
}

} // namespace

std::optional<std::u16string> FakeCodePages::ToUnicode(unsigned codePage, std::string_view bytes) {
    const CodePageTable* table = FindTable(codePage);
    if (!table)
        return std::nullopt;
    std::u16string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        if (b < 0x80) {
            text += static_cast<char16_t>(b);
            continue;
        }
        auto ch = Lookup(table->Decode, table->DecodeCount, b);
        if (!ch && table->DoubleByte && i + 1 < bytes.size()) {
            ch = Lookup(table->Decode, table->DecodeCount,
                        static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(bytes[i + 1])));
            ++i;
        }
        if (!ch)
            return std::nullopt;
        text += static_cast<char16_t>(*ch);
    }
    return text;
}

std::optional<std::string> FakeCodePages::FromUnicode(unsigned codePage, std::u16string_view text) {
    const CodePageTable* table = FindTable(codePage);
    if (!table)
        return std::nullopt;
    std::string bytes;
    for (char16_t ch : text) {
        if (ch < 0x80) {
            bytes += static_cast<char>(ch);
            continue;
        }
        const auto code = Lookup(table->Encode, table->EncodeCount, static_cast<uint16_t>(ch));
        if (!code)
            return std::nullopt;
        if (*code > 0xFF)
            bytes += static_cast<char>(*code >> 8);
        bytes += static_cast<char>(*code & 0xFF);
    }
    return bytes;
}

bool FakeCodePages::SameText(unsigned codePage, std::string_view a, std::string_view b) {
    const auto wideA = ToUnicode(codePage, a);
    const auto wideB = ToUnicode(codePage, b);
    if (!wideA || !wideB)
        return a == b;
    return Lower(*wideA) == Lower(*wideB);
}

} // namespace sw::fake
