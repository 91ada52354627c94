// Queries on version blocks in both forms, and on damaged blocks.
#include "platform/VersionResources.h"

#include "unit/platform/PeVersionTestImage.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using test::BuildBlock;
using test::StandardVersionInfo;

const std::string kCompany = "\\StringFileInfo\\040904E4\\CompanyName";

TEST(PeVersionBlock, FixedInfoFieldsInBothForms) {
    test::TFixedFields f;
    f.FileMS = 0x00010002, f.FileLS = 0x00030004, f.ProductMS = 0x000A0000, f.ProductLS = 0x0000FFFF;
    f.Flags = 0x2, f.OS = 0x40004, f.Type = 3, f.Subtype = 7, f.DateMS = 0x11, f.DateLS = 0x22;
    for (bool ansi : {false, true}) {
        SCOPED_TRACE(ansi ? "16-bit form" : "32-bit form");
        const auto info = QueryFixedFileInfo(BuildBlock(StandardVersionInfo(f), ansi));
        ASSERT_TRUE(info);
        EXPECT_EQ(info->Signature, 0xFEEF04BDu);
        EXPECT_EQ(info->StrucVersion, 0x00010000u);
        EXPECT_EQ(info->FileVersionMS, 0x00010002u);
        EXPECT_EQ(info->FileVersionLS, 0x00030004u);
        EXPECT_EQ(info->ProductVersionMS, 0x000A0000u);
        EXPECT_EQ(info->ProductVersionLS, 0x0000FFFFu);
        EXPECT_EQ(info->FileFlagsMask, 0x3Fu);
        EXPECT_EQ(info->FileFlags, 2u);
        EXPECT_EQ(info->FileOS, 0x40004u);
        EXPECT_EQ(info->FileType, 3u);
        EXPECT_EQ(info->FileSubtype, 7u);
        EXPECT_EQ(info->FileDateMS, 0x11u);
        EXPECT_EQ(info->FileDateLS, 0x22u);
    }
}

TEST(PeVersionBlock, FixedInfoRejectedWhenMissingShortOrUnsigned) {
    test::TFixedFields wrong;
    wrong.Signature = 0xFEEF04BE;
    EXPECT_FALSE(QueryFixedFileInfo(BuildBlock(StandardVersionInfo(wrong))));

    test::TVersionNode shortValue = StandardVersionInfo();
    shortValue.Binary.resize(48);
    EXPECT_FALSE(QueryFixedFileInfo(BuildBlock(shortValue)));

    test::TVersionNode noValue = StandardVersionInfo();
    noValue.Binary.clear();
    const std::string block = BuildBlock(noValue);
    EXPECT_FALSE(QueryFixedFileInfo(block));
    EXPECT_EQ(QueryStringValue(block, kCompany), "Setwright Test Company"); // the strings are still there

    EXPECT_FALSE(QueryFixedFileInfo(""));
}

TEST(PeVersionBlock, StringsByPath) {
    const std::string block = BuildBlock(StandardVersionInfo());
    EXPECT_EQ(QueryStringValue(block, kCompany), "Setwright Test Company");
    EXPECT_EQ(QueryStringValue(block, "\\StringFileInfo\\040904E4\\ProductVersion"), "5.6 beta");
    EXPECT_EQ(QueryStringValue(block, "\\StringFileInfo\\040904E4\\FileVersion"), "1.2.3.4");
    // Keys match without regard to case; empty components are skipped.
    EXPECT_EQ(QueryStringValue(block, "\\stringfileinfo\\040904e4\\COMPANYNAME"), "Setwright Test Company");
    EXPECT_EQ(QueryStringValue(block, "StringFileInfo\\\\040904E4\\CompanyName\\"), "Setwright Test Company");
    // A present but empty string is an empty text, not a failure.
    EXPECT_EQ(QueryStringValue(block, "\\StringFileInfo\\040904E4\\Comments"), "");
    // A node without a value has no text, even when children follow its key.
    EXPECT_EQ(QueryStringValue(block, "\\StringFileInfo\\040904E4"), "");
    // Only whole keys match.
    EXPECT_FALSE(QueryStringValue(block, "\\StringFileInfo\\040904E4\\Company"));
    EXPECT_FALSE(QueryStringValue(block, "\\StringFileInfo\\040904E4\\CompanyNameX"));
    EXPECT_FALSE(QueryStringValue(block, "\\StringFileInfo\\040704E4\\CompanyName"));
    EXPECT_FALSE(QueryStringValue(block, "\\StringFileInfo\\040904E4\\PrivateBuild"));
    EXPECT_FALSE(QueryStringValue(block, "\\VarFileInfo\\CompanyName"));
}

TEST(PeVersionBlock, WideTextBecomesEightBit) {
    // U+00A9 keeps its byte, U+03A9 has none.
    const std::string block = BuildBlock(StandardVersionInfo());
    EXPECT_EQ(QueryStringValue(block, "\\StringFileInfo\\040904E4\\LegalCopyright"), "\xA9 1999 ? Ltd");
    // A key with a code unit above 0xFF matches no 8-bit key.
    test::TVersionNode root = StandardVersionInfo();
    root.Children[0].Children[0].Children.push_back(test::TextNode(u"K\u0141", u"x"));
    EXPECT_FALSE(QueryStringValue(BuildBlock(root), "\\StringFileInfo\\040904E4\\K?"));
    EXPECT_FALSE(QueryStringValue(BuildBlock(root), "\\StringFileInfo\\040904E4\\KA"));
}

TEST(PeVersionBlock, SixteenBitFormStrings) {
    const std::string block = BuildBlock(StandardVersionInfo(), true);
    EXPECT_EQ(QueryStringValue(block, kCompany), "Setwright Test Company");
    EXPECT_EQ(QueryStringValue(block, "\\stringfileinfo\\040904E4\\internalname"), "verimage");
    EXPECT_FALSE(QueryStringValue(block, "\\StringFileInfo\\040904E4\\Company"));
    EXPECT_EQ(QueryTranslations(block), std::vector<uint32_t>{0x04E40409});
}

TEST(PeVersionBlock, Translations) {
    EXPECT_EQ(QueryTranslations(BuildBlock(StandardVersionInfo())), std::vector<uint32_t>{0x04E40409});
    test::TVersionNode root = StandardVersionInfo();
    root.Children[1].Children[0].Binary = std::string("\x07\x04\xB0\x04\x09\x04\xE4\x04\x01", 9);
    EXPECT_EQ(QueryTranslations(BuildBlock(root)), (std::vector<uint32_t>{0x04B00407, 0x04E40409}));
    root.Children.pop_back();
    EXPECT_FALSE(QueryTranslations(BuildBlock(root)));
}

TEST(PeVersionBlock, TruncatedBlockAnswersNothing) {
    for (bool ansi : {false, true}) {
        const std::string block = BuildBlock(StandardVersionInfo(), ansi);
        for (size_t cut = 0; cut < block.size(); ++cut) {
            const std::string part = block.substr(0, cut);
            ASSERT_FALSE(QueryFixedFileInfo(part)) << cut;
            ASSERT_FALSE(QueryStringValue(part, kCompany)) << cut;
            ASSERT_FALSE(QueryTranslations(part)) << cut;
        }
    }
}

TEST(PeVersionBlock, ExtraBytesAfterTheRootAreIgnored) {
    // The system hands out the block with spare room after it.
    std::string block = BuildBlock(StandardVersionInfo());
    block.append(block.size() + 4, '\xEE');
    EXPECT_TRUE(QueryFixedFileInfo(block));
    EXPECT_EQ(QueryStringValue(block, kCompany), "Setwright Test Company");
}

TEST(PeVersionBlock, DamagedNodes) {
    const std::string good = BuildBlock(StandardVersionInfo());
    const size_t table = good.find(std::string("0\0"
                                               "4\0"
                                               "0\0"
                                               "9\0",
                                               8)) -
                         6; // the 040904E4 node
    ASSERT_LT(table, good.size());

    std::string zeroLength = good;
    test::Patch16(zeroLength, table, 0);
    EXPECT_FALSE(QueryStringValue(zeroLength, kCompany));
    EXPECT_TRUE(QueryFixedFileInfo(zeroLength));

    std::string tooLong = good;
    test::Patch16(tooLong, table, 0xFFFF);
    EXPECT_FALSE(QueryStringValue(tooLong, kCompany));

    std::string rootTooLong = good;
    test::Patch16(rootTooLong, 0, static_cast<uint32_t>(good.size() + 2));
    EXPECT_FALSE(QueryFixedFileInfo(rootTooLong));

    // A key that runs to the end of its node has no terminator.
    std::string unterminated = good;
    test::Patch16(unterminated, table, 6 + 2 * 8);
    EXPECT_FALSE(QueryStringValue(unterminated, kCompany));

    // A text longer than its node ends with the node.
    const size_t company = good.find(std::string("C\0o\0m\0p\0a\0n\0y\0N", 15)) - 6;
    std::string longText = good;
    test::Patch16(longText, company + 2, 0x7FFF);
    EXPECT_EQ(QueryStringValue(longText, kCompany), "Setwright Test Company");
}

TEST(PeVersionBlock, EveryByteDamagedStaysInsideTheBlock) {
    const std::string good = BuildBlock(StandardVersionInfo());
    for (size_t i = 0; i < good.size(); ++i)
        for (char v : {'\0', '\x01', '\x7F', '\xFF'}) {
            std::string bad = good;
            bad[i] = v;
            const auto text = QueryStringValue(bad, kCompany);
            if (text) {
                ASSERT_LE(text->size(), bad.size() / 2) << i;
            }
            const auto list = QueryTranslations(bad);
            if (list) {
                ASSERT_LE(list->size() * 4, bad.size()) << i;
            }
            (void)QueryFixedFileInfo(bad);
        }
}

} // namespace
} // namespace sw
