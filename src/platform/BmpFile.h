// Writes a 24-bit Windows BMP file (screenshots of forms) and reads the size
// of any and the pixels of the plain ones.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sw {

// `rows` holds the pixels bottom row first, 3 bytes each (blue, green, red),
// each row padded to a multiple of 4 bytes.
std::string BmpFile(int width, int height, const std::string& rows);

struct BmpSize {
    int Width = 0;
    int Height = 0;
};
// The size of the picture in a BMP file ("BM", the file header, an info
// header); none for anything else. A top-down picture has its height too.
std::optional<BmpSize> BmpDimensions(const std::string& bmp);
// The colour (0x00RRGGBB) of the pixel at x, y (0, 0 the top left) of an
// uncompressed BMP file of 1, 4, 8, 24 or 32 bits a pixel; none for anything
// else or outside the picture. A glyph's lower left pixel is its transparent
// colour.
std::optional<uint32_t> BmpPixel(const std::string& bmp, int x, int y);

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
