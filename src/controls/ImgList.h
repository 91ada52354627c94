// A list of pictures of one size that list views show beside their items.
// Images come from bitmaps: one bitmap holds one image or several side by
// side, and a mask colour marks the pixels left out when they are drawn.
#pragma once

#include "controls/Graphics.h"
#include "project/Component.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace sw {

class TImageList : public TComponent {
    SW_DECLARE_CLASS()
  public:
    explicit TImageList(TComponent* owner);
    ~TImageList() override;

    // Changing the size removes every image.
    int32_t Width() const { return width_; }
    void SetWidth(int32_t width);
    int32_t Height() const { return height_; }
    void SetHeight(int32_t height);
    // Without a mask every image is drawn whole.
    bool Masked() const { return masked_; }
    void SetMasked(bool masked);
    TColor BkColor = clNone;

    int Count() const;
    // Adds the images across `bitmap` and returns the index of the first;
    // raises EInvalidOperation "Invalid image size" for a bitmap smaller
    // than one image.
    int Add(const TBitmap& bitmap);
    int AddMasked(const TBitmap& bitmap, TColor maskColor);
    void Clear();

    // What the window of a list view is given.
    ImageListSpec Spec() const;
    // Tells `client` after every change, until unregistered.
    void RegisterChanges(const void* client, std::function<void()> changed);
    void UnRegisterChanges(const void* client);

    // Stream form: a 32-bit count of bitmaps, then for each its 32-bit mask
    // colour (clNone: none), its 32-bit byte count and the BMP file.
    std::string GetData() const;
    void SetData(const std::string& data);

  private:
    struct Strip {
        std::unique_ptr<TBitmap> Bitmap;
        std::optional<TColor> Mask;
    };
    int AddStrip(const TBitmap& bitmap, std::optional<TColor> mask);
    void Changed();

    int32_t width_ = 16;
    int32_t height_ = 16;
    bool masked_ = true;
    std::vector<Strip> strips_;
    std::vector<std::pair<const void*, std::function<void()>>> clients_;
};

} // namespace sw
