// The flag bitmaps every setup program carries: one per language and a blank
// one, 126 x 45, on the olive that is shown transparent.
#include "lang/Translator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace sw;

namespace {

struct Bmp {
    int32_t Width = 0;
    int32_t Height = 0;
    std::string Bytes;
    std::string Indexes; // the decoded pixels, top row first

    uint32_t Le(size_t at, int size) const {
        uint32_t v = 0;
        for (int i = size - 1; i >= 0; --i)
            v = v << 8 | static_cast<uint8_t>(Bytes.at(at + static_cast<size_t>(i)));
        return v;
    }
    // Red, green, blue of the pixel at (x, y) from the top of an 8-bit bitmap,
    // through its palette.
    uint32_t Rgb(int x, int y) const {
        const uint32_t index = static_cast<uint8_t>(Indexes.at(static_cast<size_t>(y * Width + x)));
        EXPECT_LT(index, Le(46, 4)) << "index past the palette";
        return Le(54 + 4 * size_t{index}, 3); // stored blue, green, red
    }
};

// Decodes BI_RLE8 pixel data strictly: every row holds exactly Width pixels
// and the data ends with the end-of-bitmap mark; false otherwise.
bool DecodeRle8(Bmp& bmp) {
    std::vector<std::string> rows; // bottom row first
    std::string row;
    for (size_t at = bmp.Le(10, 4); at + 1 < bmp.Bytes.size();) {
        const auto count = static_cast<uint8_t>(bmp.Bytes[at]);
        const auto value = static_cast<uint8_t>(bmp.Bytes[at + 1]);
        at += 2;
        if (count > 0) {
            row.append(count, static_cast<char>(value));
        } else if (value == 0 || value == 1) { // end of row, end of bitmap
            if (!row.empty()) {
                if (static_cast<int32_t>(row.size()) != bmp.Width)
                    return false;
                rows.push_back(row);
                row.clear();
            }
            if (value == 1)
                break;
        } else if (value >= 3 && at + value <= bmp.Bytes.size()) {
            row.append(bmp.Bytes, at, value);
            at += value + value % 2u;
        } else {
            return false; // a position delta: the flags never use one
        }
    }
    if (static_cast<int32_t>(rows.size()) != bmp.Height)
        return false;
    for (auto r = rows.rbegin(); r != rows.rend(); ++r)
        bmp.Indexes += *r;
    return true;
}

Bmp ReadFlag(const std::string& resource) {
    std::ifstream in(std::string(SW_SOURCE_DIR) + "/src/resources/flags/" + resource + ".bmp", std::ios::binary);
    Bmp bmp;
    bmp.Bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (bmp.Bytes.size() >= 54 && bmp.Bytes.starts_with("BM")) {
        bmp.Width = static_cast<int32_t>(bmp.Le(18, 4));
        bmp.Height = static_cast<int32_t>(bmp.Le(22, 4));
        EXPECT_EQ(bmp.Le(30, 4), 1u) << "not BI_RLE8";
        EXPECT_TRUE(DecodeRle8(bmp)) << "malformed run-length data";
    }
    return bmp;
}

constexpr uint32_t kOlive = 0x808000;

TEST(FlagBitmaps, EveryLanguageHasAFlagOnOlive) {
    for (int i = 0; i < kLanguageCount; ++i) {
        const std::string resource = LanguageData(LanguageAt(i)).FlagResource;
        SCOPED_TRACE(resource);
        const Bmp bmp = ReadFlag(resource);
        ASSERT_EQ(bmp.Width, 126);
        ASSERT_EQ(bmp.Height, 45);
        EXPECT_EQ(bmp.Le(28, 2), 8u);
        for (auto [x, y] : {std::pair{0, 0}, {125, 0}, {0, 44}, {125, 44}})
            EXPECT_EQ(bmp.Rgb(x, y), kOlive);
        // The flag itself: the middle of the flag area is not olive.
        EXPECT_NE(bmp.Rgb(63, 17), kOlive);
    }
}

TEST(FlagBitmaps, TheBlankPlaceholderIsOliveThroughout) {
    const Bmp bmp = ReadFlag("BM_LANG_NONE");
    ASSERT_EQ(bmp.Width, 126);
    ASSERT_EQ(bmp.Height, 45);
    for (int y = 0; y < 45; ++y)
        for (int x = 0; x < 126; ++x)
            ASSERT_EQ(bmp.Rgb(x, y), kOlive) << x << "," << y;
}

} // namespace
