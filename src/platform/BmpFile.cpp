#include "platform/BmpFile.h"

#include <algorithm>

namespace sw {

namespace {
void Put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}
int RowBytes(int width) { return (width * 3 + 3) & ~3; }
int32_t Le32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (size_t i = 4; i-- > 0;)
        v = (v << 8) | static_cast<uint8_t>(s[at + i]);
    return static_cast<int32_t>(v);
}
} // namespace

std::string BmpFile(int width, int height, const std::string& rows) {
    constexpr uint32_t kHeaders = 14 + 40;
    std::string bmp = "BM";
    Put32(bmp, kHeaders + static_cast<uint32_t>(rows.size()));
    Put32(bmp, 0);
    Put32(bmp, kHeaders);
    Put32(bmp, 40);
    Put32(bmp, static_cast<uint32_t>(width));
    Put32(bmp, static_cast<uint32_t>(height));
    Put16(bmp, 1);
    Put16(bmp, 24);
    Put32(bmp, 0); // BI_RGB
    Put32(bmp, static_cast<uint32_t>(rows.size()));
    Put32(bmp, 2835); // 72 dots per inch
    Put32(bmp, 2835);
    Put32(bmp, 0);
    Put32(bmp, 0);
    return bmp + rows;
}

std::optional<BmpSize> BmpDimensions(const std::string& bmp) {
    if (bmp.size() < 14 + 40 || bmp[0] != 'B' || bmp[1] != 'M')
        return std::nullopt;
    int32_t width = Le32(bmp, 18), height = Le32(bmp, 22);
    // A negative height is a top-down picture; the most negative has no size.
    if (width < 0 || height == INT32_MIN)
        return std::nullopt;
    return BmpSize{width, height < 0 ? -height : height};
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
