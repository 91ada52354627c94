#include "platform/PeVersion.h"

#include <cstdint>
#include <vector>

namespace sw {

namespace {

constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kVsVersionInfo = 1;
constexpr uint32_t kLangNeutral = 0;
constexpr uint32_t kLangUsEnglish = 0x0409;
constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint16_t kPe32 = 0x10B;
constexpr uint16_t kPe32Plus = 0x20B;

bool Fits(std::string_view d, uint64_t off, uint64_t len) { return off <= d.size() && len <= d.size() - off; }

uint16_t Le16(std::string_view d, size_t off) {
    return static_cast<uint16_t>(static_cast<uint8_t>(d[off]) | static_cast<uint8_t>(d[off + 1]) << 8);
}

uint32_t Le32(std::string_view d, size_t off) { return Le16(d, off) | static_cast<uint32_t>(Le16(d, off + 2)) << 16; }

// ---- PE ------------------------------------------------------------------

struct TSection {
    uint32_t VirtualAddress;
    uint32_t Span; // bytes of the section backed by the file
    uint32_t RawOffset;
};

class TPeImage {
  public:
    explicit TPeImage(std::string_view image) : image_(image) {}

    bool Load(size_t peOffset) {
        const size_t fileHeader = peOffset + 4;
        if (!Fits(image_, fileHeader, 20))
            return false;
        const uint16_t sectionCount = Le16(image_, fileHeader + 2);
        const uint16_t optionalSize = Le16(image_, fileHeader + 16);
        const size_t optional = fileHeader + 20;
        if (!Fits(image_, optional, optionalSize) || optionalSize < 2)
            return false;
        const std::string_view opt = image_.substr(optional, optionalSize);
        const uint16_t magic = Le16(opt, 0);
        if (magic != kPe32 && magic != kPe32Plus)
            return false;
        // NumberOfRvaAndSizes, followed by the data directories.
        const size_t countField = magic == kPe32 ? 92 : 108;
        const size_t directories = countField + 4;
        const size_t resourceEntry = directories + 2 * 8;
        if (!Fits(opt, countField, 4) || Le32(opt, countField) <= 2 || !Fits(opt, resourceEntry, 8))
            return false;
        resourceRva_ = Le32(opt, resourceEntry);
        if (resourceRva_ == 0 || Le32(opt, resourceEntry + 4) == 0)
            return false;
        const size_t table = optional + optionalSize;
        if (!Fits(image_, table, static_cast<uint64_t>(sectionCount) * 40))
            return false;
        for (size_t i = 0; i < sectionCount; ++i) {
            const size_t s = table + i * 40;
            const uint32_t virtualSize = Le32(image_, s + 8);
            const uint32_t rawSize = Le32(image_, s + 16);
            const uint32_t span = virtualSize != 0 && virtualSize < rawSize ? virtualSize : rawSize;
            sections_.push_back({Le32(image_, s + 12), span, Le32(image_, s + 20)});
        }
        return true;
    }

    uint32_t ResourceRva() const { return resourceRva_; }

    // The file bytes from rva to the end of its section.
    std::optional<std::string_view> MapToEnd(uint32_t rva) const {
        for (const TSection& s : sections_) {
            if (rva < s.VirtualAddress || rva - s.VirtualAddress >= s.Span)
                continue;
            const uint32_t delta = rva - s.VirtualAddress;
            const uint64_t offset = static_cast<uint64_t>(s.RawOffset) + delta;
            if (!Fits(image_, offset, s.Span - delta))
                return std::nullopt;
            return image_.substr(offset, s.Span - delta);
        }
        return std::nullopt;
    }

    std::optional<std::string_view> Map(uint32_t rva, uint32_t size) const {
        const auto rest = MapToEnd(rva);
        if (!rest || rest->size() < size)
            return std::nullopt;
        return rest->substr(0, size);
    }

  private:
    std::string_view image_;
    uint32_t resourceRva_ = 0;
    std::vector<TSection> sections_;
};

// A resource directory tree; offsets are relative to its start.
class TResourceTree {
  public:
    explicit TResourceTree(std::string_view bytes) : bytes_(bytes) {}

    // The OffsetToData field of the entry named by the number id.
    std::optional<uint32_t> FindId(uint32_t dir, uint32_t id) const {
        size_t first, count;
        if (!Entries(dir, first, count))
            return std::nullopt;
        for (size_t i = 0; i < count; ++i) {
            const size_t e = first + i * 8;
            if (Le32(bytes_, e) == id)
                return Le32(bytes_, e + 4);
        }
        return std::nullopt;
    }

    std::optional<uint32_t> FirstEntry(uint32_t dir) const {
        size_t first, count;
        if (!Entries(dir, first, count) || count == 0)
            return std::nullopt;
        return Le32(bytes_, first + 4);
    }

    // The subdirectory an OffsetToData field points at.
    static std::optional<uint32_t> Subdirectory(std::optional<uint32_t> field) {
        if (!field || !(*field & kHighBit))
            return std::nullopt;
        return *field & ~kHighBit;
    }

    // RVA and size of the data entry an OffsetToData field points at.
    bool DataEntry(uint32_t field, uint32_t& rva, uint32_t& size) const {
        if ((field & kHighBit) || !Fits(bytes_, field, 16))
            return false;
        rva = Le32(bytes_, field);
        size = Le32(bytes_, field + 4);
        return true;
    }

  private:
    bool Entries(uint32_t dir, size_t& first, size_t& count) const {
        if (!Fits(bytes_, dir, 16))
            return false;
        count = static_cast<size_t>(Le16(bytes_, dir + 12)) + Le16(bytes_, dir + 14);
        first = dir + 16;
        return Fits(bytes_, first, static_cast<uint64_t>(count) * 8);
    }

    std::string_view bytes_;
};

std::optional<std::string_view> FindPeVersion(std::string_view image, size_t peOffset) {
    TPeImage pe(image);
    if (!pe.Load(peOffset))
        return std::nullopt;
    const auto root = pe.MapToEnd(pe.ResourceRva());
    if (!root)
        return std::nullopt;
    const TResourceTree tree(*root);
    const auto names = TResourceTree::Subdirectory(tree.FindId(0, kRtVersion));
    if (!names)
        return std::nullopt;
    const auto languages = TResourceTree::Subdirectory(tree.FindId(*names, kVsVersionInfo));
    if (!languages)
        return std::nullopt;
    std::optional<uint32_t> entry = tree.FindId(*languages, kLangNeutral);
    if (!entry)
        entry = tree.FindId(*languages, kLangUsEnglish);
    if (!entry)
        entry = tree.FirstEntry(*languages);
    uint32_t rva, size;
    if (!entry || !tree.DataEntry(*entry, rva, size))
        return std::nullopt;
    return pe.Map(rva, size);
}

// ---- NE ------------------------------------------------------------------

std::optional<std::string_view> FindNeVersion(std::string_view image, size_t neOffset) {
    constexpr uint16_t kType = 0x8000 | kRtVersion;
    constexpr uint16_t kName = 0x8000 | kVsVersionInfo;
    if (!Fits(image, neOffset, 0x28))
        return std::nullopt;
    size_t pos = neOffset + Le16(image, neOffset + 0x24);
    if (!Fits(image, pos, 2))
        return std::nullopt;
    const uint16_t shift = Le16(image, pos);
    if (shift > 16)
        return std::nullopt;
    pos += 2;
    // Each type block moves pos forward by at least 8 bytes.
    while (Fits(image, pos, 2)) {
        const uint16_t type = Le16(image, pos);
        if (type == 0 || !Fits(image, pos, 8))
            return std::nullopt;
        const uint16_t count = Le16(image, pos + 2);
        const size_t names = pos + 8;
        if (!Fits(image, names, static_cast<uint64_t>(count) * 12))
            return std::nullopt;
        if (type == kType) {
            for (size_t i = 0; i < count; ++i) {
                const size_t n = names + i * 12;
                if (Le16(image, n + 6) != kName)
                    continue;
                const uint64_t offset = static_cast<uint64_t>(Le16(image, n)) << shift;
                const uint64_t length = static_cast<uint64_t>(Le16(image, n + 2)) << shift;
                if (!Fits(image, offset, length))
                    return std::nullopt;
                return image.substr(offset, length);
            }
            return std::nullopt;
        }
        pos = names + static_cast<size_t>(count) * 12;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string_view> FindVersionResource(std::string_view image) {
    if (!Fits(image, 0, 0x40) || image.substr(0, 2) != "MZ")
        return std::nullopt;
    const uint32_t header = Le32(image, 0x3C);
    if (!Fits(image, header, 4))
        return std::nullopt;
    const std::string_view signature = image.substr(header, 4);
    if (signature == std::string_view("PE\0\0", 4))
        return FindPeVersion(image, header);
    if (signature.substr(0, 2) == "NE")
        return FindNeVersion(image, header);
    return std::nullopt;
}

} // namespace sw
