#include "platform/PeImage.h"

#include <cctype>
#include <vector>

namespace sw::pe {

namespace {

constexpr uint32_t kLangNeutral = 0;
constexpr uint32_t kLangUsEnglish = 0x0409;
constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint16_t kPe32 = 0x10B;
constexpr uint16_t kPe32Plus = 0x20B;

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

    std::optional<uint32_t> Find(uint32_t dir, uint32_t id) const { return FindId(dir, id); }

    // The OffsetToData field of the entry named by a text: the entry's name is
    // a length-prefixed UTF-16 string, compared as ASCII without case.
    std::optional<uint32_t> Find(uint32_t dir, std::string_view name) const {
        size_t first, count;
        if (!Entries(dir, first, count))
            return std::nullopt;
        for (size_t i = 0; i < count; ++i) {
            const size_t e = first + i * 8;
            const uint32_t field = Le32(bytes_, e);
            if ((field & kHighBit) && NameIs(field & ~kHighBit, name))
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
    bool NameIs(uint32_t at, std::string_view name) const {
        if (!Fits(bytes_, at, 2) || Le16(bytes_, at) != name.size() || !Fits(bytes_, at + 2, 2 * name.size()))
            return false;
        for (size_t i = 0; i < name.size(); ++i) {
            const uint16_t c = Le16(bytes_, at + 2 + 2 * i);
            if (c > 0x7F || std::toupper(c) != std::toupper(static_cast<unsigned char>(name[i])))
                return false;
        }
        return true;
    }

    bool Entries(uint32_t dir, size_t& first, size_t& count) const {
        if (!Fits(bytes_, dir, 16))
            return false;
        count = static_cast<size_t>(Le16(bytes_, dir + 12)) + Le16(bytes_, dir + 14);
        first = dir + 16;
        return Fits(bytes_, first, static_cast<uint64_t>(count) * 8);
    }

    std::string_view bytes_;
};

// The language subdirectory's chosen entry, as a data entry's RVA and size.
std::optional<std::string_view> ChosenLanguage(const TPeImage& pe, const TResourceTree& tree,
                                               std::optional<uint32_t> languages) {
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

template <class Name>
std::optional<std::string_view> Find(std::string_view image, size_t peOffset, uint32_t type, const Name& name) {
    TPeImage pe(image);
    if (!pe.Load(peOffset))
        return std::nullopt;
    const auto root = pe.MapToEnd(pe.ResourceRva());
    if (!root)
        return std::nullopt;
    const TResourceTree tree(*root);
    const auto names = TResourceTree::Subdirectory(tree.FindId(0, type));
    if (!names)
        return std::nullopt;
    return ChosenLanguage(pe, tree, TResourceTree::Subdirectory(tree.Find(*names, name)));
}

} // namespace

std::optional<std::string_view> FindResource(std::string_view image, size_t peOffset, uint32_t type, uint32_t id) {
    return Find(image, peOffset, type, id);
}

std::optional<std::string_view> FindResource(std::string_view image, size_t peOffset, uint32_t type,
                                             std::string_view name) {
    return Find(image, peOffset, type, name);
}

} // namespace sw::pe
