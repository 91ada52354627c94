#include "ContractBackends.h"

#include "platform/CodePages.h"

using namespace sw;

namespace {

template <typename Backend> class CodePagesContract : public ::testing::Test {
  protected:
    ICodePages& pages() { return backend.CodePages(); }
    Backend backend;
};

TYPED_TEST_SUITE(CodePagesContract, contract::Backends, contract::BackendNames);

struct Sample {
    unsigned CodePage;
    std::string Bytes;
    std::u16string Text;
};

// One word of each code page the string tables use, with its bytes.
const Sample kSamples[] = {
    {1250, "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD", u"P\u0159\u00edli\u0161 \u017elu\u0165ou\u010dk\u00fd"},
    {1251, "\xD0\xF3\xF1\xF1\xEA\xE8\xE9", u"\u0420\u0443\u0441\u0441\u043a\u0438\u0439"},
    {1252,
     "Fran\xE7"
     "ais \x80",
     u"Fran\u00e7ais \u20ac"},
    {1253, "\xC5\xEB\xEB\xE7\xED\xE9\xEA\xDC", u"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"},
    {1255, "\xF2\xE1\xF8\xE9\xFA", u"\u05e2\u05d1\u05e8\u05d9\u05ea"},
    {1258, "Ti\xEA\xECng Vi\xEA\xF2t", u"Ti\u00ea\u0301ng Vi\u00ea\u0323t"},
    {932, "\x93\xFA\x96\x7B\x8C\xEA \xB6\xC0\xB6\xC5", u"\u65e5\u672c\u8a9e \uff76\uff80\uff76\uff85"},
    {936, "\xD6\xD0\xCE\xC4", u"\u4e2d\u6587"},
    {949, "\xC7\xD1\xB1\xB9\xBE\xEE", u"\ud55c\uad6d\uc5b4"},
};

TYPED_TEST(CodePagesContract, TextOfEachCodePageConvertsBothWays) {
    for (const Sample& s : kSamples) {
        auto text = this->pages().ToUnicode(s.CodePage, s.Bytes);
        ASSERT_TRUE(text) << s.CodePage;
        EXPECT_TRUE(*text == s.Text) << s.CodePage;
        auto bytes = this->pages().FromUnicode(s.CodePage, s.Text);
        ASSERT_TRUE(bytes) << s.CodePage;
        EXPECT_EQ(*bytes, s.Bytes) << s.CodePage;
    }
    EXPECT_EQ(this->pages().ToUnicode(1252, ""), std::u16string());
    EXPECT_EQ(this->pages().FromUnicode(932, u""), std::string());
}

TYPED_TEST(CodePagesContract, BrokenDoubleByteCharactersFail) {
    EXPECT_FALSE(this->pages().ToUnicode(932, "\x93"));     // lead byte at the end
    EXPECT_FALSE(this->pages().ToUnicode(949, "ab\xC7"));   // the same after text
    EXPECT_FALSE(this->pages().ToUnicode(936, "\xFF\xFF")); // no such character
}

TYPED_TEST(CodePagesContract, CharactersWithoutAFormFail) {
    EXPECT_FALSE(this->pages().FromUnicode(1252, u"\u0416"));    // Cyrillic in Western
    EXPECT_FALSE(this->pages().FromUnicode(1251, u"\u00e7"));    // c cedilla in Cyrillic
    EXPECT_FALSE(this->pages().FromUnicode(1250, u"\u00e3"));    // a tilde in Central European
    EXPECT_FALSE(this->pages().FromUnicode(932, u"\ud55c"));     // Hangul in Japanese
    EXPECT_FALSE(this->pages().FromUnicode(1253, u"abc\u05d0")); // Hebrew in Greek
}

} // namespace

namespace {

TYPED_TEST(CodePagesContract, TextsCompareWithoutRegardToCaseInTheirCodePage) {
    EXPECT_TRUE(this->pages().SameText(1252, "\xC9l\xE9ments", "\xE9L\xC9MENTS"));
    EXPECT_TRUE(this->pages().SameText(1250, "\x8ELU\x8DOU\xC8K\xDD", "\x9Elu\x9Dou\xE8k\xFD"));
    EXPECT_TRUE(this->pages().SameText(1251, "\xCE\xD2\xCC\xC5\xCD\xC0", "\xEE\xF2\xEC\xE5\xED\xE0"));
    EXPECT_TRUE(this->pages().SameText(1253, "\xC1\xCA\xD5\xD1\xCF", "\xE1\xEA\xF5\xF1\xEF"));
    EXPECT_TRUE(this->pages().SameText(932, "\x82\x60", "\x82\x81"));  // full-width A and a
    EXPECT_FALSE(this->pages().SameText(932, "\x83\x61", "\x83\x41")); // trail bytes differ by ASCII case only
    EXPECT_FALSE(this->pages().SameText(1252, "Cancel", "Cancelled"));
    EXPECT_FALSE(this->pages().SameText(1252, "\xE9", "e"));
    // Bytes that are not text of the code page compare as they are.
    EXPECT_TRUE(this->pages().SameText(932, "\x83", "\x83"));
    EXPECT_FALSE(this->pages().SameText(932, "a\x83", "A\x83"));
}

} // namespace
