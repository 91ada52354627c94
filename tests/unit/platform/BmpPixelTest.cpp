// Reading single pixels of BMP files: the depths the program's pictures use,
// bottom-up and top-down rows, and what is refused.
#include "platform/BmpFile.h"
#include "support/SourceFiles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace sw {
namespace {

// A BMP of `bits` a pixel, `width` x `height` (negative: top-down), with a
// palette of `palette` (0x00RRGGBB each) and `rows` as stored.
std::string Bmp(int bits, int width, int height, const std::vector<uint32_t>& palette, const std::string& rows,
                uint32_t compression = 0) {
    std::string info(40, '\0');
    auto put32 = [](std::string& s, size_t at, uint32_t v) { std::memcpy(&s[at], &v, 4); };
    put32(info, 0, 40);
    put32(info, 4, static_cast<uint32_t>(width));
    put32(info, 8, static_cast<uint32_t>(height));
    info[12] = 1;
    info[14] = static_cast<char>(bits);
    put32(info, 16, compression);
    put32(info, 32, static_cast<uint32_t>(palette.size()));
    std::string colours;
    for (uint32_t c : palette)
        colours += {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF), static_cast<char>(c >> 16), 0};
    std::string file = "BM" + std::string(12, '\0') + info + colours + rows;
    put32(file, 2, static_cast<uint32_t>(file.size()));
    put32(file, 10, static_cast<uint32_t>(14 + info.size() + colours.size()));
    return file;
}

struct PixelCase {
    const char* What;
    std::string File;
    int X, Y;
    std::optional<uint32_t> Colour;
};

TEST(BmpPixelTest, ReadsThePixelOfEachDepth) {
    // 2 x 2 pictures, bottom row stored first: top row red green, bottom row blue white.
    const std::vector<uint32_t> palette{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    const std::string rows24 = std::string("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8) + // blue, white, padding
                               std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);  // red, green, padding
    const PixelCase cases[] = {
        {"24 bits, top left", Bmp(24, 2, 2, {}, rows24), 0, 0, 0xFF0000},
        {"24 bits, bottom right", Bmp(24, 2, 2, {}, rows24), 1, 1, 0xFFFFFF},
        {"8 bits, bottom left", Bmp(8, 2, 2, palette, std::string("\x02\x03\0\0\x00\x01\0\0", 8)), 0, 1, 0x0000FF},
        {"4 bits, top right", Bmp(4, 2, 2, palette, std::string("\x23\0\0\0\x01\0\0\0", 8)), 1, 0, 0x00FF00},
        {"1 bit, bottom right", Bmp(1, 2, 2, palette, std::string("\x40\0\0\0\x80\0\0\0", 8)), 1, 1, 0x00FF00},
        {"8 bits, top-down", Bmp(8, 2, -2, palette, std::string("\x00\x01\0\0\x02\x03\0\0", 8)), 1, 1, 0xFFFFFF},
        {"outside", Bmp(24, 2, 2, {}, rows24), 2, 0, std::nullopt},
        {"compressed", Bmp(8, 2, 2, palette, std::string(8, '\0'), 1), 0, 0, std::nullopt},
        {"cut short", Bmp(24, 2, 2, {}, rows24.substr(0, 4)), 1, 0, std::nullopt},
        {"no picture", "not a bitmap", 0, 0, std::nullopt},
    };
    for (const PixelCase& c : cases)
        EXPECT_EQ(BmpPixel(c.File, c.X, c.Y), c.Colour) << c.What;
}

// A picture the program ships (src/resources/pictures): its frame where the
// script drew it.
TEST(BmpPixelTest, TheShippedPicturesReadAsTheirScriptDrewThem) {
    const std::string bmp = test::ReadSourceFile("src/resources/pictures/UNZIPIMAGE.bmp");
    EXPECT_EQ(BmpPixel(bmp, 0, 0), 0x404060u) << "the frame";
    EXPECT_EQ(BmpPixel(bmp, 47, 47), 0x404060u);
}

} // namespace
} // namespace sw
