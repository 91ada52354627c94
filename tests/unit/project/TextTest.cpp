#include "project/Text.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

// Names fold ASCII letters only, so that no locale changes which names match.
TEST(TextTest, NamesCompareWithoutRegardToTheCaseOfAsciiLetters) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"C:\\Program Files\\App\\a.txt", "c:\\PROGRAM FILES\\app\\A.TXT", true},
        {"C:\\App\\file1.dat", "C:\\App\\file2.dat", false},
        {"C:\\App\\file1.dat", "D:\\App\\file1.dat", false},
        {"abc", "abcd", false},
        {"", "", true},
        {"[@`{", "[@`{", true},
        {"@", "`", false}, // neighbours of the letters are not letters
        {"\xE9t\xE9", "\xC9T\xC9", false},
        {"\xE9t\xE9", "\xE9T\xE9", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SameText(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(UpperCase("Setup \xE9 z{"), "SETUP \xE9 Z{");
    EXPECT_EQ(LowerCase("SETUP \xC9 Z["), "setup \xC9 z[");
    const TLessText less;
    EXPECT_FALSE(less("ABC", "abc"));
    EXPECT_FALSE(less("abc", "ABC"));
    EXPECT_TRUE(less("abc", "ABD"));
    EXPECT_TRUE(less("Z", "_")); // 'Z' < '_' once both sides are folded up
    EXPECT_TRUE(less("ab", "ABC"));
}

TEST(TextTest, UpperHexPadsToItsDigitsAndNeverCuts) {
    EXPECT_EQ(UpperHex(0, 4), "0000");
    EXPECT_EQ(UpperHex(0x409, 4), "0409");
    EXPECT_EQ(UpperHex(0x4E4, 4), "04E4");
    EXPECT_EQ(UpperHex(0xABCDEF12u, 8), "ABCDEF12");
    EXPECT_EQ(UpperHex(0xFFFFFFFFu, 0), "FFFFFFFF");
    EXPECT_EQ(UpperHex(0x12345, 4), "12345");
    EXPECT_EQ(UpperHex(7, 0), "7");
}

TEST(TextTest, FormatFillsPlaceholdersInOrder) {
    EXPECT_EQ(Format("%s of %d%%", {"part", 3}), "part of 3%");
    EXPECT_EQ(Format("%s and %s", {"one"}), "one and %s");
}

} // namespace
} // namespace sw::test
