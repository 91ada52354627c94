#include "platform/BmpFile.h"

#include "platform/LittleEndian.h"

#include <algorithm>

namespace sw {

namespace {
int RowBytes(int width) { return (width * 3 + 3) & ~3; }
int32_t SignedLe32(const std::string& s, size_t at) { return static_cast<int32_t>(Le32(s, at)); }
} // namespace

std::string BmpFile(int width, int height, const std::string& rows) {
    constexpr uint32_t kHeaders = 14 + 40;
    std::string bmp = "BM";
    PutLe32(bmp, kHeaders + static_cast<uint32_t>(rows.size()));
    PutLe32(bmp, 0);
    PutLe32(bmp, kHeaders);
    PutLe32(bmp, 40);
    PutLe32(bmp, static_cast<uint32_t>(width));
    PutLe32(bmp, static_cast<uint32_t>(height));
    PutLe16(bmp, 1);
    PutLe16(bmp, 24);
    PutLe32(bmp, 0); // BI_RGB
    PutLe32(bmp, static_cast<uint32_t>(rows.size()));
    PutLe32(bmp, 2835); // 72 dots per inch
    PutLe32(bmp, 2835);
    PutLe32(bmp, 0);
    PutLe32(bmp, 0);
    return bmp + rows;
}

std::optional<BmpSize> BmpDimensions(const std::string& bmp) {
    if (bmp.size() < 14 + 40 || bmp[0] != 'B' || bmp[1] != 'M')
        return std::nullopt;
    int32_t width = SignedLe32(bmp, 18), height = SignedLe32(bmp, 22);
    // A negative height is a top-down picture; the most negative has no size.
    if (width < 0 || height == INT32_MIN)
        return std::nullopt;
    return BmpSize{width, height < 0 ? -height : height};
}

std::optional<uint32_t> BmpPixel(const std::string& bmp, int x, int y) {
    const std::optional<BmpSize> size = BmpDimensions(bmp);
    if (!size || x < 0 || y < 0 || x >= size->Width || y >= size->Height)
        return std::nullopt;
    const auto byte = [&](size_t at) { return static_cast<uint32_t>(static_cast<uint8_t>(bmp[at])); };
    const uint32_t offBits = static_cast<uint32_t>(SignedLe32(bmp, 10)),
                   infoSize = static_cast<uint32_t>(SignedLe32(bmp, 14));
    const uint32_t bits = byte(28) | byte(29) << 8;
    if (SignedLe32(bmp, 30) != 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        return std::nullopt;
    const size_t stride = (static_cast<size_t>(size->Width) * bits + 31) / 32 * 4;
    const bool bottomUp = SignedLe32(bmp, 22) > 0;
    const size_t row = static_cast<size_t>(bottomUp ? size->Height - 1 - y : y);
    const size_t at = offBits + row * stride + static_cast<size_t>(x) * bits / 8;
    if (at + (bits >= 24 ? 3 : 1) > bmp.size())
        return std::nullopt;
    if (bits >= 24)
        return byte(at + 2) << 16 | byte(at + 1) << 8 | byte(at);
    uint32_t index = byte(at);
    if (bits == 4)
        index = x % 2 ? index & 0x0F : index >> 4;
    else if (bits == 1)
        index = (index >> (7 - x % 8)) & 1;
    const size_t entry = 14 + infoSize + index * 4;
    if (entry + 3 > offBits || entry + 3 > bmp.size())
        return std::nullopt;
    return byte(entry + 2) << 16 | byte(entry + 1) << 8 | byte(entry);
}

TPixels::TPixels(int width, int height, uint32_t fill)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

void TPixels::FillRect(int left, int top, int width, int height, uint32_t rgb) {
    int x0 = std::max(0, left), y0 = std::max(0, top);
    int x1 = std::min(width_, left + std::max(0, width)), y1 = std::min(height_, top + std::max(0, height));
    for (int y = y0; y < y1; ++y)
        std::fill_n(pixels_.begin() + static_cast<long>(y) * width_ + x0, std::max(0, x1 - x0), rgb);
}

void TPixels::FrameRect(int left, int top, int width, int height, uint32_t rgb) {
    if (width <= 0 || height <= 0)
        return;
    FillRect(left, top, width, 1, rgb);
    FillRect(left, top + height - 1, width, 1, rgb);
    FillRect(left, top, 1, height, rgb);
    FillRect(left + width - 1, top, 1, height, rgb);
}

std::string TPixels::ToBmp() const {
    int stride = RowBytes(width_);
    std::string rows(static_cast<size_t>(stride) * static_cast<size_t>(height_), '\0');
    for (int y = 0; y < height_; ++y) {
        size_t at = static_cast<size_t>(height_ - 1 - y) * static_cast<size_t>(stride);
        for (int x = 0; x < width_; ++x) {
            uint32_t p = pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
            rows[at++] = static_cast<char>(p & 0xFF);
            rows[at++] = static_cast<char>((p >> 8) & 0xFF);
            rows[at++] = static_cast<char>((p >> 16) & 0xFF);
        }
    }
    return BmpFile(width_, height_, rows);
}

} // namespace sw
