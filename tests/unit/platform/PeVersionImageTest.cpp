// Finding the version resource in PE and NE images, whole and damaged.
#include "platform/PeVersion.h"
#include "platform/VersionResources.h"

#include "unit/platform/PeVersionTestImage.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sw {
namespace {

using test::BuildBlock;
using test::BuildNe;
using test::BuildPe;
using test::Patch16;
using test::Patch32;
using test::StandardVersionInfo;
using test::TResource;

const std::string kCompanyNameKey = "\\StringFileInfo\\040904E4\\CompanyName";

std::string Block() { return BuildBlock(StandardVersionInfo()); }

// Another resource before and after the version in the directory order.
std::vector<TResource> TypicalResources() {
    return {{10, 7, 0x409, "rcdata"}, {16, 1, 0x409, Block()}, {24, 1, 0x409, "<assembly/>"}};
}

TEST(PeVersionImage, FindsTheBlockInPe32AndPe32Plus) {
    for (bool plus : {false, true}) {
        SCOPED_TRACE(plus ? "PE32+" : "PE32");
        const test::TPeImage img = BuildPe(TypicalResources(), plus);
        const auto found = FindVersionResource(img.Bytes);
        ASSERT_TRUE(found);
        EXPECT_EQ(*found, Block());
        const auto info = QueryFixedFileInfo(*found);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->FileVersionMS, 0x00010002u);
        EXPECT_EQ(info->FileVersionLS, 0x00030004u);
        EXPECT_EQ(info->FileOS, 0x40004u);
        EXPECT_EQ(QueryStringValue(*found, kCompanyNameKey), "Setwright Test Company");
    }
}

TEST(PeVersionImage, FindsTheBlockInNe) {
    const std::string block16 = BuildBlock(StandardVersionInfo(), true);
    const test::TNeImage img = BuildNe({{10, 3, 0, "rcdata"}, {16, 1, 0, block16}, {14, 1, 0, "group icon"}});
    const auto found = FindVersionResource(img.Bytes);
    ASSERT_TRUE(found);
    // The table gives lengths in alignment units, so the view may run past the block.
    EXPECT_EQ(found->substr(0, block16.size()), block16);
    EXPECT_LT(found->size(), block16.size() + 16);
    EXPECT_EQ(QueryStringValue(*found, kCompanyNameKey), "Setwright Test Company");
    ASSERT_TRUE(QueryFixedFileInfo(*found));
    EXPECT_EQ(QueryFixedFileInfo(*found)->FileVersionLS, 0x00030004u);
}

TEST(PeVersionImage, LanguageChoice) {
    auto pick = [](std::vector<uint32_t> languages) {
        std::vector<TResource> list;
        for (uint32_t lang : languages)
            list.push_back({16, 1, lang, "lang" + std::to_string(lang)});
        const std::string image = BuildPe(list).Bytes;
        const auto found = FindVersionResource(image);
        return found ? std::string(*found) : std::string("none");
    };
    EXPECT_EQ(pick({0x407, 0x409, 0x40C}), "lang1033");
    EXPECT_EQ(pick({0x407, 0x409, 0}), "lang0");
    EXPECT_EQ(pick({0x40C, 0x407}), "lang1031"); // the first in directory order
}

TEST(PeVersionImage, NoVersionResource) {
    EXPECT_FALSE(FindVersionResource(BuildPe({}).Bytes));                        // no .rsrc at all
    EXPECT_FALSE(FindVersionResource(BuildPe({{10, 1, 0x409, Block()}}).Bytes)); // other types only
    EXPECT_FALSE(FindVersionResource(BuildPe({{16, 2, 0x409, Block()}}).Bytes)); // not name 1
    EXPECT_FALSE(FindVersionResource(BuildNe({{10, 1, 0, Block()}}).Bytes));
    EXPECT_FALSE(FindVersionResource(BuildNe({{16, 2, 0, Block()}}).Bytes));
    EXPECT_FALSE(FindVersionResource(""));
    EXPECT_FALSE(FindVersionResource(std::string(4096, 'M')));
}

TEST(PeVersionImage, DamagedHeaders) {
    const test::TPeImage img = BuildPe(TypicalResources());
    ASSERT_TRUE(FindVersionResource(img.Bytes));
    auto patched = [&img](size_t at, uint32_t v, bool wide = true) {
        std::string b = img.Bytes;
        wide ? Patch32(b, at, v) : Patch16(b, at, v);
        return FindVersionResource(b).has_value();
    };
    EXPECT_FALSE(patched(0, 'Z' | 'M' << 8, false)); // not MZ
    EXPECT_FALSE(patched(0x3C, 0xFFFFFFFF));         // header offset beyond the file
    EXPECT_FALSE(patched(0x3C, static_cast<uint32_t>(img.Bytes.size() - 2)));
    EXPECT_FALSE(patched(img.PeHeader, 'P' | 'X' << 8, false));  // neither PE nor NE
    EXPECT_FALSE(patched(img.OptionalHeader, 0x107, false));     // unknown optional header
    EXPECT_FALSE(patched(img.PeHeader + 4 + 16, 0xFFFF, false)); // optional header past the end
    EXPECT_FALSE(patched(img.PeHeader + 4 + 16, 64, false));     // too short for directory 2
    EXPECT_FALSE(patched(img.OptionalHeader + 92, 2));           // only two directories
    EXPECT_FALSE(patched(img.OptionalHeader + 96 + 16, 0));      // resource RVA 0
    EXPECT_FALSE(patched(img.OptionalHeader + 96 + 16, 0x9000)); // resource RVA in no section
    EXPECT_FALSE(patched(img.PeHeader + 4 + 2, 0xFFFF, false));  // section table past the end
    EXPECT_FALSE(patched(img.PeHeader + 4 + 2, 1, false));       // .rsrc not listed
    const size_t rsrcSection = img.SectionTable + 40;
    EXPECT_FALSE(patched(rsrcSection + 20, 0xFFFFFE00)); // raw data past the end
    std::string rawPastEnd = img.Bytes;
    Patch32(rawPastEnd, rsrcSection + 8, 0); // no virtual size: the raw size counts
    ASSERT_TRUE(FindVersionResource(rawPastEnd));
    Patch32(rawPastEnd, rsrcSection + 16, 0x7FFFFFFF);
    EXPECT_FALSE(FindVersionResource(rawPastEnd));
}

TEST(PeVersionImage, DamagedResourceDirectory) {
    const test::TPeImage img = BuildPe(TypicalResources());
    const size_t root = img.Rsrc;
    const size_t versionType = root + 16 + 8; // second type entry: 16
    ASSERT_EQ(static_cast<uint8_t>(img.Bytes[versionType]), 16);
    auto patched = [&img](size_t at, uint32_t v) {
        std::string b = img.Bytes;
        Patch32(b, at, v);
        return FindVersionResource(b);
    };
    EXPECT_FALSE(patched(root + 14, 0xFFFF));           // more entries than bytes (16-bit count)
    EXPECT_FALSE(patched(root + 12, 0xFFFFFFFF));       // named and id counts both full
    EXPECT_FALSE(patched(versionType + 4, 0x80FFFFF0)); // subdirectory beyond the section
    EXPECT_FALSE(patched(versionType + 4, 0x00000010)); // a data entry where a directory belongs
    const uint32_t dataEntry = static_cast<uint32_t>(img.DataEntries[1]);
    EXPECT_FALSE(patched(dataEntry, 0x7FFFFFF0)); // data RVA in no section
    EXPECT_FALSE(patched(dataEntry, 0xFFFFFFFF));
    EXPECT_FALSE(patched(dataEntry + 4, 0x1000000)); // data size beyond the section
    EXPECT_FALSE(patched(dataEntry + 4, 0xFFFFFFFF));
    EXPECT_FALSE(patched(dataEntry, img.RsrcRva + 0xFFF)); // starts in the section's unbacked tail
    const auto empty = patched(dataEntry + 4, 0);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    EXPECT_FALSE(QueryFixedFileInfo(*empty));
}

TEST(PeVersionImage, CyclicDirectoriesEnd) {
    // Type 1 and name 1 make the root a match at every level.
    const test::TPeImage img = BuildPe({{1, 1, 0x409, "cursor"}, {16, 1, 0x409, Block()}});
    const size_t root = img.Rsrc;
    // Every directory pointer of the root and below leads back to the root.
    std::string all = img.Bytes;
    const size_t treeEnd = *std::min_element(img.DataEntries.begin(), img.DataEntries.end());
    for (size_t at = root + 16; at + 8 <= treeEnd; at += 8)
        if (static_cast<uint8_t>(all[at + 7]) & 0x80)
            Patch32(all, at + 4, 0x80000000);
    EXPECT_FALSE(FindVersionResource(all));
    // The version type points at the root, whose entry 16 points at the root again.
    std::string self = img.Bytes;
    Patch32(self, root + 16 + 8 + 4, 0x80000000);
    EXPECT_FALSE(FindVersionResource(self));
}

TEST(PeVersionImage, TruncatedAtEveryLength) {
    for (bool plus : {false, true}) {
        const test::TPeImage img = BuildPe(TypicalResources(), plus);
        // The file alignment padding after the section's data may go.
        const size_t needed = img.Rsrc + img.RsrcSize;
        for (size_t cut = 0; cut < img.Bytes.size(); ++cut) {
            const std::string part = img.Bytes.substr(0, cut);
            const auto found = FindVersionResource(part);
            ASSERT_EQ(found.has_value(), cut >= needed) << cut;
            if (found) {
                ASSERT_EQ(*found, Block());
            }
        }
    }
}

TEST(PeVersionImage, TruncatedNe) {
    const std::string block16 = BuildBlock(StandardVersionInfo(), true);
    const std::string bytes = BuildNe({{16, 1, 0, block16}}).Bytes;
    ASSERT_TRUE(FindVersionResource(bytes));
    // The resource's declared length reaches the end of the file.
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        ASSERT_FALSE(FindVersionResource(bytes.substr(0, cut))) << cut;
}

TEST(PeVersionImage, DamagedNe) {
    const std::string block16 = BuildBlock(StandardVersionInfo(), true);
    const test::TNeImage img = BuildNe({{16, 1, 0, block16}});
    ASSERT_TRUE(FindVersionResource(img.Bytes));
    auto patched = [&img](size_t at, uint32_t v) {
        std::string b = img.Bytes;
        Patch16(b, at, v);
        return FindVersionResource(b).has_value();
    };
    const size_t table = img.ResourceTable;
    EXPECT_FALSE(patched(0x80 + 0x24, 0xFFFF)); // resource table beyond the file
    EXPECT_FALSE(patched(table, 0xFFFF));       // alignment shift wider than any offset
    EXPECT_FALSE(patched(table, 12));           // data moved beyond the file
    EXPECT_FALSE(patched(table + 4, 0xFFFF));   // more names than bytes
    EXPECT_FALSE(patched(table + 10, 0xFFFF));  // data offset beyond the file
    EXPECT_FALSE(patched(table + 12, 0xFFFF));  // data length beyond the file
    // A type list that never ends runs into the end of the file.
    std::string endless = img.Bytes;
    for (size_t at = table + 2; at + 8 <= endless.size(); at += 8) {
        Patch16(endless, at, 0x8002);
        Patch16(endless, at + 2, 0);
        Patch32(endless, at + 4, 0);
    }
    EXPECT_FALSE(FindVersionResource(endless));
}

} // namespace
} // namespace sw
