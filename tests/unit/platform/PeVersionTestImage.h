// Builds version blocks and small executable images holding them, for the
// version reader's tests: a PE32 or PE32+ image with a .text and a .rsrc
// section, laid out as a linker would (file alignment 0x200, section
// alignment 0x1000), and a 16-bit NE image with a resource table.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sw::test {

class TByteWriter {
  public:
    void U8(uint32_t v) { bytes_ += static_cast<char>(v & 0xFF); }
    void U16(uint32_t v) { U8(v), U8(v >> 8); }
    void U32(uint32_t v) { U16(v), U16(v >> 16); }
    void U64(uint64_t v) { U32(static_cast<uint32_t>(v)), U32(static_cast<uint32_t>(v >> 32)); }
    void Raw(const std::string& s) { bytes_ += s; }
    void Fill(size_t count, char c = 0) { bytes_.append(count, c); }
    void AlignTo(size_t n) { Fill((n - bytes_.size() % n) % n); }
    void Put16(size_t at, uint32_t v) {
        bytes_[at] = static_cast<char>(v & 0xFF), bytes_[at + 1] = static_cast<char>(v >> 8);
    }
    void Put32(size_t at, uint32_t v) { Put16(at, v & 0xFFFF), Put16(at + 2, v >> 16); }
    size_t Size() const { return bytes_.size(); }
    const std::string& Bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

inline void Patch32(std::string& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(v >> (8 * i));
}

inline void Patch16(std::string& bytes, size_t at, uint32_t v) {
    bytes[at] = static_cast<char>(v & 0xFF);
    bytes[at + 1] = static_cast<char>(v >> 8);
}

// One node of a version block. Text is given as code units (the 16-bit form
// writes their low bytes).
struct TVersionNode {
    std::u16string Key;
    bool IsText = false;
    std::u16string Text;
    std::string Binary;
    std::vector<TVersionNode> Children;
};

inline TVersionNode TextNode(std::u16string key, std::u16string text) {
    return {std::move(key), true, std::move(text), {}, {}};
}

inline TVersionNode ParentNode(std::u16string key, std::vector<TVersionNode> children) {
    return {std::move(key), true, {}, {}, std::move(children)};
}

// The node and its children; nodes start 32-bit aligned from the block start.
inline void WriteNode(TByteWriter& w, const TVersionNode& n, bool ansi) {
    const size_t begin = w.Size();
    w.U16(0);
    uint32_t valueLength = 0;
    if (n.IsText && !n.Text.empty())
        valueLength = static_cast<uint32_t>(n.Text.size() + 1);
    else if (!n.IsText)
        valueLength = static_cast<uint32_t>(n.Binary.size());
    w.U16(valueLength);
    if (!ansi)
        w.U16(n.IsText ? 1 : 0);
    for (char16_t c : n.Key)
        ansi ? w.U8(c) : w.U16(c);
    ansi ? w.U8(0) : w.U16(0);
    w.AlignTo(4);
    if (n.IsText && !n.Text.empty()) {
        for (char16_t c : n.Text)
            ansi ? w.U8(c) : w.U16(c);
        ansi ? w.U8(0) : w.U16(0);
    } else if (!n.IsText) {
        w.Raw(n.Binary);
    }
    for (const TVersionNode& c : n.Children) {
        w.AlignTo(4);
        WriteNode(w, c, ansi);
    }
    w.Put16(begin, static_cast<uint32_t>(w.Size() - begin));
}

inline std::string BuildBlock(const TVersionNode& root, bool ansi = false) {
    TByteWriter w;
    WriteNode(w, root, ansi);
    return w.Bytes();
}

struct TFixedFields {
    uint32_t FileMS = 0x00010002, FileLS = 0x00030004;
    uint32_t ProductMS = 0x00050006, ProductLS = 0x00070008;
    uint32_t FlagsMask = 0x3F, Flags = 0;
    uint32_t OS = 0x40004, Type = 1, Subtype = 0;
    uint32_t DateMS = 0, DateLS = 0;
    uint32_t Signature = 0xFEEF04BD;
};

inline std::string FixedInfoBytes(const TFixedFields& f) {
    TByteWriter w;
    for (uint32_t v : {f.Signature, 0x00010000u, f.FileMS, f.FileLS, f.ProductMS, f.ProductLS, f.FlagsMask, f.Flags,
                       f.OS, f.Type, f.Subtype, f.DateMS, f.DateLS})
        w.U32(v);
    return w.Bytes();
}

// File version 1.2.3.4, product version 5.6.7.8, OS 0x40004, type 1, and a
// US English / code page 1252 string table.
inline TVersionNode StandardVersionInfo(const TFixedFields& f = {}) {
    std::vector<TVersionNode> strings;
    strings.push_back(TextNode(u"CompanyName", u"Setwright Test Company"));
    strings.push_back(TextNode(u"FileDescription", u"Version test image"));
    strings.push_back(TextNode(u"FileVersion", u"1.2.3.4"));
    strings.push_back(TextNode(u"InternalName", u"verimage"));
    strings.push_back(TextNode(u"LegalCopyright", u"\u00a9 1999 \u03a9 Ltd"));
    strings.push_back(TextNode(u"ProductName", u"Setwright"));
    strings.push_back(TextNode(u"ProductVersion", u"5.6 beta"));
    strings.push_back(TextNode(u"Comments", u""));
    const TVersionNode translation{u"Translation", false, {}, std::string("\x09\x04\xE4\x04", 4), {}};

    TVersionNode root{u"VS_VERSION_INFO", false, {}, FixedInfoBytes(f), {}};
    root.Children.push_back(ParentNode(u"StringFileInfo", {ParentNode(u"040904E4", std::move(strings))}));
    root.Children.push_back(ParentNode(u"VarFileInfo", {translation}));
    return root;
}

struct TResource {
    uint32_t Type = 16;
    uint32_t Name = 1;
    uint32_t Language = 0x0409;
    std::string Data;
};

struct TPeImage {
    std::string Bytes;
    size_t PeHeader = 0; // file offset of "PE\0\0"
    size_t OptionalHeader = 0;
    size_t SectionTable = 0;
    size_t Rsrc = 0;     // file offset of the resource section
    size_t RsrcSize = 0; // its bytes before the file alignment padding
    uint32_t RsrcRva = 0;
    std::vector<size_t> DataEntries; // file offsets, in the order of the resources given
};

// The resource tree: directories sorted by id as the system's lookup expects.
inline std::string BuildResourceTree(const std::vector<TResource>& resources, uint32_t rva,
                                     std::vector<size_t>& dataEntries) {
    std::map<uint32_t, std::map<uint32_t, std::map<uint32_t, size_t>>> tree;
    for (size_t i = 0; i < resources.size(); ++i)
        tree[resources[i].Type][resources[i].Name][resources[i].Language] = i;
    auto dirSize = [](size_t entries) { return 16 + 8 * entries; };
    std::map<uint32_t, size_t> typeDir;
    std::map<std::pair<uint32_t, uint32_t>, size_t> nameDir;
    size_t pos = dirSize(tree.size());
    for (auto& [type, names] : tree)
        typeDir[type] = pos, pos += dirSize(names.size());
    for (auto& [type, names] : tree)
        for (auto& [name, langs] : names)
            nameDir[{type, name}] = pos, pos += dirSize(langs.size());
    std::vector<size_t> entry(resources.size()), data(resources.size());
    for (auto& [type, names] : tree)
        for (auto& [name, langs] : names)
            for (auto& [lang, index] : langs)
                entry[index] = pos, pos += 16;
    for (size_t i = 0; i < resources.size(); ++i) {
        pos = (pos + 7) & ~size_t(7);
        data[i] = pos, pos += resources[i].Data.size();
    }

    TByteWriter w;
    auto directory = [&w](size_t count) {
        w.U32(0), w.U32(0), w.U16(4), w.U16(0), w.U16(0), w.U16(static_cast<uint32_t>(count));
    };
    directory(tree.size());
    for (auto& [type, names] : tree)
        w.U32(type), w.U32(0x80000000u | static_cast<uint32_t>(typeDir[type]));
    for (auto& [type, names] : tree) {
        directory(names.size());
        for (auto& [name, langs] : names)
            w.U32(name), w.U32(0x80000000u | static_cast<uint32_t>(nameDir[{type, name}]));
    }
    for (auto& [type, names] : tree)
        for (auto& [name, langs] : names) {
            directory(langs.size());
            for (auto& [lang, index] : langs)
                w.U32(lang), w.U32(static_cast<uint32_t>(entry[index]));
        }
    for (auto& [type, names] : tree)
        for (auto& [name, langs] : names)
            for (auto& [lang, index] : langs) {
                (void)lang;
                w.U32(rva + static_cast<uint32_t>(data[index]));
                w.U32(static_cast<uint32_t>(resources[index].Data.size()));
                w.U32(0), w.U32(0);
            }
    for (size_t i = 0; i < resources.size(); ++i) {
        w.AlignTo(8);
        w.Raw(resources[i].Data);
    }
    dataEntries = entry;
    return w.Bytes();
}

// A DLL image with no code to run. Without resources it has no .rsrc section
// and an empty resource directory entry.
inline TPeImage BuildPe(const std::vector<TResource>& resources, bool pe32Plus = false) {
    constexpr uint32_t kFileAlign = 0x200, kSectionAlign = 0x1000;
    TPeImage img;
    const bool withRsrc = !resources.empty();
    img.RsrcRva = 0x2000;
    std::vector<size_t> entries;
    const std::string rsrc = withRsrc ? BuildResourceTree(resources, img.RsrcRva, entries) : std::string();
    const uint32_t rsrcRaw = static_cast<uint32_t>((rsrc.size() + kFileAlign - 1) & ~size_t(kFileAlign - 1));
    const uint32_t sections = withRsrc ? 2 : 1;
    const uint32_t imageSize =
        0x2000 + (withRsrc ? ((static_cast<uint32_t>(rsrc.size()) + kSectionAlign - 1) & ~(kSectionAlign - 1)) : 0);

    TByteWriter w;
    w.Raw("MZ");
    w.Fill(0x3A);
    w.U32(0x80);
    w.Fill(0x40);
    img.PeHeader = w.Size();
    w.Raw(std::string("PE\0\0", 4));
    w.U16(pe32Plus ? 0x8664 : 0x14C);
    w.U16(sections);
    w.U32(0), w.U32(0), w.U32(0);
    w.U16(pe32Plus ? 0xF0 : 0xE0);
    w.U16(pe32Plus ? 0x2022 : 0x2102);
    img.OptionalHeader = w.Size();
    w.U16(pe32Plus ? 0x20B : 0x10B);
    w.U8(2), w.U8(0x19);
    w.U32(0x200), w.U32(rsrcRaw), w.U32(0);
    w.U32(0);      // entry point
    w.U32(0x1000); // base of code
    if (pe32Plus)
        w.U64(0x180000000ull);
    else
        w.U32(0x2000), w.U32(0x10000000);
    w.U32(kSectionAlign), w.U32(kFileAlign);
    w.U16(4), w.U16(0), w.U16(0), w.U16(0), w.U16(4), w.U16(0);
    w.U32(0);
    w.U32(imageSize), w.U32(0x200), w.U32(0);
    w.U16(2), w.U16(0);
    for (int i = 0; i < 4; ++i)
        pe32Plus ? w.U64(i % 2 ? 0x1000 : 0x100000) : w.U32(i % 2 ? 0x1000 : 0x100000);
    w.U32(0), w.U32(16);
    for (uint32_t i = 0; i < 16; ++i) {
        const bool resourceEntry = i == 2 && withRsrc;
        w.U32(resourceEntry ? img.RsrcRva : 0), w.U32(resourceEntry ? static_cast<uint32_t>(rsrc.size()) : 0);
    }
    img.SectionTable = w.Size();
    auto section = [&w](const char* name, uint32_t virtualSize, uint32_t rva, uint32_t raw, uint32_t offset,
                        uint32_t flags) {
        std::string n(name);
        n.resize(8, '\0');
        w.Raw(n);
        w.U32(virtualSize), w.U32(rva), w.U32(raw), w.U32(offset);
        w.U32(0), w.U32(0), w.U16(0), w.U16(0), w.U32(flags);
    };
    section(".text", 0x10, 0x1000, 0x200, 0x200, 0x60000020);
    if (withRsrc)
        section(".rsrc", static_cast<uint32_t>(rsrc.size()), img.RsrcRva, rsrcRaw, 0x400, 0x40000040);
    w.AlignTo(kFileAlign);
    w.Fill(0x10, '\xC3');
    w.AlignTo(kFileAlign);
    img.Rsrc = w.Size();
    img.RsrcSize = rsrc.size();
    w.Raw(rsrc);
    w.AlignTo(kFileAlign);
    img.Bytes = w.Bytes();
    for (size_t e : entries)
        img.DataEntries.push_back(img.Rsrc + e);
    return img;
}

struct TNeImage {
    std::string Bytes;
    size_t ResourceTable = 0; // file offset
};

// A 16-bit image whose resource table holds the given resources (type and
// name ids below 0x8000), with an alignment shift of 4.
inline TNeImage BuildNe(const std::vector<TResource>& resources) {
    constexpr uint32_t kShift = 4;
    std::map<uint32_t, std::vector<size_t>> types;
    for (size_t i = 0; i < resources.size(); ++i)
        types[resources[i].Type].push_back(i);
    size_t tableSize = 2 + 2;
    for (auto& [type, list] : types)
        tableSize += 8 + 12 * list.size();
    const size_t neHeader = 0x80, table = neHeader + 0x40;
    const std::string moduleName("\x07VERTEST\x00\x00\x00", 11); // name, ordinal, end
    const size_t names = table + tableSize;
    size_t dataPos = (names + moduleName.size() + 16 + 15) & ~size_t(15);

    TByteWriter w;
    w.Raw("MZ");
    w.Fill(0x3A);
    w.U32(neHeader);
    w.Fill(neHeader - w.Size());
    w.Raw("NE");
    w.U8(5), w.U8(10);
    const uint32_t after = static_cast<uint32_t>(names + moduleName.size() - neHeader);
    w.U16(after), w.U16(0); // entry table, its length
    w.U32(0);               // CRC
    w.U16(0x8300);          // library, protected mode
    w.U16(0), w.U16(0), w.U16(0);
    w.U32(0), w.U32(0); // CS:IP, SS:SP
    w.U16(0), w.U16(0), w.U16(0);
    w.U16(0x40);                                             // segment table
    w.U16(0x40);                                             // resource table
    w.U16(static_cast<uint32_t>(names - neHeader));          // resident names
    w.U16(after), w.U16(after);                              // module references, imported names
    w.U32(static_cast<uint32_t>(names + moduleName.size())); // non-resident names
    w.U16(0), w.U16(kShift), w.U16(0);
    w.U8(2), w.U8(0); // Windows
    w.U16(0), w.U16(0), w.U16(0), w.U16(0x30A);
    TNeImage img;
    img.ResourceTable = w.Size();
    w.U16(kShift);
    std::vector<std::pair<size_t, size_t>> placed;
    for (auto& [type, list] : types) {
        w.U16(0x8000 | type), w.U16(static_cast<uint32_t>(list.size())), w.U32(0);
        for (size_t i : list) {
            const size_t length = (resources[i].Data.size() + (1u << kShift) - 1) >> kShift;
            w.U16(static_cast<uint32_t>(dataPos >> kShift)), w.U16(static_cast<uint32_t>(length));
            w.U16(0x0030), w.U16(0x8000 | resources[i].Name), w.U16(0), w.U16(0);
            placed.push_back({dataPos, i});
            dataPos += length << kShift;
        }
    }
    w.U16(0);
    w.Raw(moduleName);
    for (auto& [at, i] : placed) {
        w.Fill(at - w.Size());
        w.Raw(resources[i].Data);
    }
    w.AlignTo(1u << kShift);
    img.Bytes = w.Bytes();
    return img;
}

} // namespace sw::test
