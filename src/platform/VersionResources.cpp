#include "platform/VersionResources.h"

#include "platform/FileSystem.h"
#include "platform/LittleEndian.h"
#include "platform/PeVersion.h"
#include "platform/PlatformErrors.h"

#include <algorithm>

namespace sw {

namespace {

size_t Align4(size_t n) { return (n + 3) & ~size_t(3); }

char AsciiUpper(char16_t c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c); }

struct TNode {
    size_t End = 0;     // one past the node's last byte
    std::u16string Key; // 16-bit form: the bytes widened
    uint16_t ValueLength = 0;
    size_t Value = 0;    // offset of the value, at most End
    size_t Children = 0; // offset of the first child, at most End
};

// A block in one of its two forms; all offsets are from the block start.
class TVersionBlock {
  public:
    // The 16-bit form has a printable key character where the other has wType.
    explicit TVersionBlock(std::string_view block)
        : block_(block), ansi_(block.size() > 4 && static_cast<signed char>(block[4]) >= ' ') {}

    bool Ansi() const { return ansi_; }

    // Follows the path's components down from the root.
    std::optional<TNode> Find(std::string_view path) const {
        std::optional<TNode> node = Read(0, block_.size());
        size_t pos = 0;
        while (node && pos < path.size()) {
            const size_t slash = std::min(path.find('\\', pos), path.size());
            if (slash > pos)
                node = Child(*node, path.substr(pos, slash - pos));
            pos = slash + 1;
        }
        return node;
    }

  private:
    std::optional<TNode> Read(size_t begin, size_t limit) const {
        const size_t header = ansi_ ? 4 : 6;
        if (begin > limit || limit - begin < header)
            return std::nullopt;
        TNode node;
        const uint16_t length = Le16(block_, begin);
        if (length < header || length > limit - begin)
            return std::nullopt;
        node.End = begin + length;
        node.ValueLength = Le16(block_, begin + 2);
        const bool text = !ansi_ && Le16(block_, begin + 4) == 1;
        size_t pos = begin + header;
        const size_t unit = ansi_ ? 1 : 2;
        for (;; pos += unit) {
            if (pos + unit > node.End)
                return std::nullopt;
            const char16_t c = ansi_ ? static_cast<uint8_t>(block_[pos]) : Le16(block_, pos);
            if (c == 0)
                break;
            node.Key += c;
        }
        node.Value = std::min(Align4(pos + unit), node.End);
        const size_t valueBytes = text ? 2 * size_t(node.ValueLength) : node.ValueLength;
        node.Children = std::min(Align4(node.Value + valueBytes), node.End);
        return node;
    }

    std::optional<TNode> Child(const TNode& parent, std::string_view key) const {
        // Every child is at least a header long, so the walk moves forward.
        for (size_t pos = parent.Children; pos < parent.End;) {
            std::optional<TNode> child = Read(pos, parent.End);
            if (!child)
                return std::nullopt;
            if (SameKey(child->Key, key))
                return child;
            pos = Align4(child->End);
        }
        return std::nullopt;
    }

    static bool SameKey(const std::u16string& a, std::string_view b) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] > 0xFF || AsciiUpper(a[i]) != AsciiUpper(static_cast<uint8_t>(b[i])))
                return false;
        return true;
    }

    std::string_view block_;
    bool ansi_;
};

} // namespace

std::optional<TFixedFileInfo> QueryFixedFileInfo(std::string_view block) {
    const TVersionBlock b(block);
    const std::optional<TNode> root = b.Find("\\");
    constexpr size_t kSize = 13 * 4;
    if (!root || root->ValueLength < kSize || root->End - root->Value < kSize)
        return std::nullopt;
    uint32_t f[13];
    for (size_t i = 0; i < 13; ++i)
        f[i] = Le32(block, root->Value + 4 * i);
    if (f[0] != TFixedFileInfo::kSignature)
        return std::nullopt;
    return TFixedFileInfo{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[11], f[12]};
}

std::optional<std::string> QueryStringValue(std::string_view block, std::string_view path) {
    const TVersionBlock b(block);
    const std::optional<TNode> node = b.Find(path);
    if (!node)
        return std::nullopt;
    std::string text;
    if (node->ValueLength == 0)
        return text;
    if (b.Ansi()) {
        for (size_t pos = node->Value; pos < node->End && block[pos] != 0; ++pos)
            text += block[pos];
        return text;
    }
    for (size_t pos = node->Value; pos + 2 <= node->End; pos += 2) {
        const uint16_t c = Le16(block, pos);
        if (c == 0)
            break;
        text += c <= 0xFF ? static_cast<char>(c) : '?';
    }
    return text;
}

std::optional<std::vector<uint32_t>> QueryTranslations(std::string_view block) {
    const TVersionBlock b(block);
    const std::optional<TNode> node = b.Find("\\VarFileInfo\\Translation");
    if (!node)
        return std::nullopt;
    const size_t bytes = std::min<size_t>(node->ValueLength, node->End - node->Value);
    std::vector<uint32_t> list;
    for (size_t i = 0; i + 4 <= bytes; i += 4)
        list.push_back(Le32(block, node->Value + i));
    return list;
}

std::optional<std::string> TPortableVersionResources::GetFileVersionInfo(const std::string& path) {
    const std::unique_ptr<IFile> file = files_.OpenFile(path, FileMode::Read);
    if (!file)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    try {
        // Executables (PE and NE) begin with "MZ"; other files are not read.
        uint8_t magic[2];
        if (file->Read(magic, 2) != 2 || magic[0] != 'M' || magic[1] != 'Z')
            return std::nullopt;
        file->Seek(0, SeekOrigin::Begin);
        bytes = file->ReadAll();
    } catch (const EPlatformError&) {
        return std::nullopt;
    }
    const std::string_view image(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::optional<std::string_view> block = FindVersionResource(image);
    if (!block)
        return std::nullopt;
    return std::string(*block);
}

} // namespace sw
