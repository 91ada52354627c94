#include "controls/ImgList.h"

#include "platform/LittleEndian.h"
#include "project/Errors.h"

#include <algorithm>

namespace sw {

SW_CLASS_INFO(TImageList, TComponent, prop::Integer("Width", &Self::Width, &Self::SetWidth, 16),
              prop::Integer("Height", &Self::Height, &Self::SetHeight, 16),
              prop::Boolean("Masked", &Self::Masked, &Self::SetMasked, true),
              prop::Integer("BkColor", &Self::BkColor, clNone, &ColorIdents()),
              prop::Binary("Bitmap", &Self::GetData, &Self::SetData))

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() = default;

void TImageList::SetWidth(int32_t width) {
    if (width <= 0)
        RaiseInvalidPropertyValue();
    if (width == width_)
        return;
    width_ = width;
    Clear();
}

void TImageList::SetHeight(int32_t height) {
    if (height <= 0)
        RaiseInvalidPropertyValue();
    if (height == height_)
        return;
    height_ = height;
    Clear();
}

void TImageList::SetMasked(bool masked) {
    masked_ = masked;
    Changed();
}

int TImageList::Count() const {
    int count = 0;
    for (const Strip& s : strips_)
        count += s.Bitmap->Width() / width_;
    return count;
}

int TImageList::Add(const TBitmap& bitmap) { return AddStrip(bitmap, std::nullopt); }

int TImageList::AddMasked(const TBitmap& bitmap, TColor maskColor) { return AddStrip(bitmap, maskColor); }

int TImageList::AddStrip(const TBitmap& bitmap, std::optional<TColor> mask) {
    if (bitmap.Empty() || bitmap.Width() < width_ || bitmap.Height() < height_)
        throw EInvalidOperation("Invalid image size");
    int first = Count();
    strips_.push_back({std::make_unique<TBitmap>(), mask});
    strips_.back().Bitmap->Assign(bitmap);
    Changed();
    return first;
}

void TImageList::Clear() {
    strips_.clear();
    Changed();
}

ImageListSpec TImageList::Spec() const {
    ImageListSpec spec;
    spec.Width = width_;
    spec.Height = height_;
    for (const Strip& s : strips_) {
        std::optional<ColorRef> mask;
        if (masked_ && s.Mask)
            mask = static_cast<ColorRef>(*s.Mask);
        spec.Strips.push_back({s.Bitmap->FileBytes(), mask});
    }
    return spec;
}

void TImageList::RegisterChanges(const void* client, std::function<void()> changed) {
    UnRegisterChanges(client);
    clients_.emplace_back(client, std::move(changed));
}

void TImageList::UnRegisterChanges(const void* client) {
    std::erase_if(clients_, [client](const auto& c) { return c.first == client; });
}

void TImageList::Changed() {
    for (const auto& [client, changed] : std::vector(clients_))
        changed();
}

std::string TImageList::GetData() const {
    if (strips_.empty())
        return {};
    std::string data;
    PutLe32(data, static_cast<uint32_t>(strips_.size()));
    for (const Strip& s : strips_) {
        PutLe32(data, static_cast<uint32_t>(s.Mask.value_or(clNone)));
        PutLe32(data, static_cast<uint32_t>(s.Bitmap->FileBytes().size()));
        data += s.Bitmap->FileBytes();
    }
    return data;
}

// All or nothing: a stream that does not hold whole bitmaps of the list's
// size leaves the images as they were.
void TImageList::SetData(const std::string& data) {
    std::vector<Strip> read;
    size_t at = 0;
    auto take32 = [&]() {
        if (data.size() - at < 4)
            RaiseInvalidPropertyValue();
        uint32_t v = Le32(data, at);
        at += 4;
        return v;
    };
    uint32_t count = take32();
    for (uint32_t i = 0; i < count; ++i) {
        auto mask = static_cast<TColor>(take32());
        uint32_t size = take32();
        if (data.size() - at < size)
            RaiseInvalidPropertyValue();
        Strip strip{std::make_unique<TBitmap>(), std::nullopt};
        strip.Bitmap->LoadFromFileBytes(data.substr(at, size));
        at += size;
        if (strip.Bitmap->Empty() || strip.Bitmap->Width() < width_ || strip.Bitmap->Height() < height_)
            RaiseInvalidPropertyValue();
        if (mask != clNone)
            strip.Mask = mask;
        read.push_back(std::move(strip));
    }
    if (at != data.size())
        RaiseInvalidPropertyValue();
    strips_ = std::move(read);
    Changed();
}

} // namespace sw
