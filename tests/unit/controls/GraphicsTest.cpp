// Bitmaps and pictures: the BMP files they hold and their stream form.
#include "controls/Graphics.h"

#include "project/Errors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace sw {
namespace {

// A BMP file of the given size, 1 bit per pixel, with no pixels after its headers.
std::string BmpFile(int32_t width, int32_t height) {
    std::string bmp = "BM";
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(54), put32(0), put32(54);
    put32(40), put32(static_cast<uint32_t>(width)), put32(static_cast<uint32_t>(height));
    bmp += std::string("\1\0\1\0", 4);
    for (int i = 0; i < 6; ++i)
        put32(0);
    return bmp;
}

TEST(Graphics, ABitmapTakesItsSizeFromItsHeaderTopDownIncluded) {
    TBitmap bitmap;
    bitmap.LoadFromFileBytes(BmpFile(3, 5));
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 5);
    bitmap.LoadFromFileBytes(BmpFile(3, -7));
    EXPECT_EQ(bitmap.Height(), 7) << "a negative height is a top-down bitmap";
    EXPECT_THROW(bitmap.LoadFromFileBytes("BM"), EReadError);
}

TEST(Graphics, TheMostNegativeHeightIsRefusedAndTheBitmapKept) {
    TBitmap bitmap;
    bitmap.LoadFromFileBytes(BmpFile(3, 5));
    try {
        bitmap.LoadFromFileBytes(BmpFile(3, INT32_MIN));
        ADD_FAILURE() << "a height of -2147483648 was taken";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Invalid property value");
    }
    EXPECT_EQ(bitmap.Height(), 5);
    EXPECT_EQ(bitmap.FileBytes(), BmpFile(3, 5));

    TPicture picture;
    std::string data = std::string("\7TBitmap", 8) + std::string("\x36\0\0\0", 4) + BmpFile(1, INT32_MIN);
    EXPECT_THROW(picture.SetData(data), EReadError);
    EXPECT_TRUE(picture.Bitmap().Empty());
}

} // namespace
} // namespace sw
