// Pictures carried by the project: a bitmap is a complete Windows BMP file; a
// picture holds one graphic (only bitmaps are used).
#pragma once

#include "controls/Font.h"
#include "project/Persistent.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace sw {

class TBitmap : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    bool Empty() const { return bmp_.empty(); }
    // The BMP file ("BM" ...); empty for an empty bitmap.
    const std::string& FileBytes() const { return bmp_; }
    // Raises "Invalid property value" unless `bmp` is a BMP file (or empty).
    void LoadFromFileBytes(std::string bmp);
    // A BITMAP resource of the running program (stored without its file header).
    void LoadFromResourceName(const std::string& name);
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // Sets the size the bitmap is shown at.
    void SetSize(int32_t width, int32_t height);
    void Assign(const TBitmap& other);
    // Pixels of this colour are not drawn (none: every pixel is). Not stored.
    std::optional<TColor> TransparentColor;

    // Stream form: a 32-bit byte count, then the BMP file.
    std::string GetData() const;
    void SetData(const std::string& data);

  private:
    std::string bmp_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

class TPicture : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    TPicture();
    TBitmap& Bitmap() const { return *bitmap_; }
    void Assign(const TPicture& other) { bitmap_->Assign(*other.bitmap_); }

    // Stream form: the graphic class name as a short string, then its data.
    std::string GetData() const;
    void SetData(const std::string& data);

  private:
    std::unique_ptr<TBitmap> bitmap_;
};

} // namespace sw
