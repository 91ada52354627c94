// The flag bitmaps every setup program carries: one per language and a blank
// one, 126 x 45, on the olive that is shown transparent.
#include "lang/Translator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

using namespace sw;

namespace {

struct Bmp {
    int32_t Width = 0;
    int32_t Height = 0;
    std::string Bytes;

    uint32_t Le(size_t at, int size) const {
        uint32_t v = 0;
        for (int i = size - 1; i >= 0; --i)
            v = v << 8 | static_cast<uint8_t>(Bytes.at(at + static_cast<size_t>(i)));
        return v;
    }
    // Red, green, blue of the pixel at (x, y) from the top of an 8-bit bitmap,
    // through its palette.
    uint32_t Rgb(int x, int y) const {
        const size_t stride = (static_cast<size_t>(Width) + 3) & ~size_t{3};
        const size_t at = Le(10, 4) + static_cast<size_t>(Height - 1 - y) * stride + static_cast<size_t>(x);
        const uint32_t index = static_cast<uint8_t>(Bytes.at(at));
        EXPECT_LT(index, Le(46, 4)) << "index past the palette";
        return Le(54 + 4 * size_t{index}, 3); // stored blue, green, red
    }
};

Bmp ReadFlag(const std::string& resource) {
    std::ifstream in(std::string(SW_SOURCE_DIR) + "/src/resources/flags/" + resource + ".bmp", std::ios::binary);
    Bmp bmp;
    bmp.Bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (bmp.Bytes.size() >= 54 && bmp.Bytes.starts_with("BM")) {
        bmp.Width = static_cast<int32_t>(bmp.Le(18, 4));
        bmp.Height = static_cast<int32_t>(bmp.Le(22, 4));
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
