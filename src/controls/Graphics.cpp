#include "controls/Graphics.h"

#include "platform/BmpFile.h"
#include "platform/LittleEndian.h"
#include "project/Errors.h"
#include "project/Text.h"
#include "system/ProgramResources.h"

#include <cstring>

namespace sw {

namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;

} // namespace

SW_CLASS_INFO(TBitmap, TPersistent, prop::Binary("Data", &Self::GetData, &Self::SetData))

void TBitmap::LoadFromFileBytes(std::string bmp) {
    if (bmp.empty()) {
        bmp_.clear();
        width_ = height_ = 0;
        return;
    }
    std::optional<BmpSize> size = BmpDimensions(bmp);
    if (!size)
        RaiseInvalidPropertyValue();
    width_ = size->Width;
    height_ = size->Height;
    bmp_ = std::move(bmp);
}

void TBitmap::LoadFromResourceName(const std::string& name) {
    std::string info = LoadResourceBytes(ResourceType::Bitmap, name);
    if (info.size() < kInfoHeader)
        throw EResNotFound(Format("Resource %s not found", {name}));
    // Rebuild the file header: the pixels follow the info header and palette.
    uint32_t headerSize = Le32(info, 0);
    uint16_t bits = static_cast<uint16_t>(static_cast<uint8_t>(info[14]) | (static_cast<uint8_t>(info[15]) << 8));
    uint32_t used = Le32(info, 32);
    uint32_t colours = used ? used : (bits <= 8 ? (1u << bits) : 0);
    std::string file = "BM";
    PutLe32(file, static_cast<uint32_t>(kFileHeader + info.size()));
    PutLe32(file, 0);
    PutLe32(file, static_cast<uint32_t>(kFileHeader + headerSize + colours * 4));
    LoadFromFileBytes(file + info);
}

void TBitmap::SetSize(int32_t width, int32_t height) {
    width_ = width;
    height_ = height;
}

void TBitmap::Assign(const TBitmap& other) {
    bmp_ = other.bmp_;
    width_ = other.width_;
    height_ = other.height_;
    TransparentColor = other.TransparentColor;
}

std::string TBitmap::GetData() const {
    if (bmp_.empty())
        return {};
    std::string data;
    PutLe32(data, static_cast<uint32_t>(bmp_.size()));
    return data + bmp_;
}

void TBitmap::SetData(const std::string& data) {
    if (data.size() < 4)
        RaiseInvalidPropertyValue();
    uint32_t count = Le32(data, 0);
    if (count != data.size() - 4)
        RaiseInvalidPropertyValue();
    LoadFromFileBytes(data.substr(4));
}

SW_CLASS_INFO(TPicture, TPersistent, prop::Binary("Data", &Self::GetData, &Self::SetData))

TPicture::TPicture() : bitmap_(std::make_unique<TBitmap>()) {}

std::string TPicture::GetData() const {
    if (bitmap_->Empty())
        return {};
    std::string data(1, static_cast<char>(7));
    data += "TBitmap";
    return data + bitmap_->GetData();
}

void TPicture::SetData(const std::string& data) {
    if (data.empty())
        RaiseInvalidPropertyValue();
    size_t len = static_cast<uint8_t>(data[0]);
    if (data.size() < 1 + len || data.compare(1, len, "TBitmap") != 0 || len != 7)
        RaiseInvalidPropertyValue();
    bitmap_->SetData(data.substr(1 + len));
}

} // namespace sw
