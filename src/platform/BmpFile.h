// Writes a 24-bit Windows BMP file: screenshots of forms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sw {

// `rows` holds the pixels bottom row first, 3 bytes each (blue, green, red),
// each row padded to a multiple of 4 bytes.
std::string BmpFile(int width, int height, const std::string& rows);

// A picture in memory, top row first, 0x00RRGGBB per pixel.
class TPixels {
  public:
    TPixels(int width, int height, uint32_t fill);
    void FillRect(int left, int top, int width, int height, uint32_t rgb);
    void FrameRect(int left, int top, int width, int height, uint32_t rgb);
    std::string ToBmp() const;

  private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};

} // namespace sw
