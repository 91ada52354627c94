// Field access in ";"-separated lists and name helpers.
#include "system/InstallErrors.h"
#include "system/StringHelpers.h"

#include <climits>

#include <gtest/gtest.h>

namespace sw::test {
namespace {

TEST(StringHelpersTest, FieldCountCountsSeparatorsAndAnOpenLastField) {
    EXPECT_EQ(FieldCount("a;b;"), 2);
    EXPECT_EQ(FieldCount("a;b"), 2);
    EXPECT_EQ(FieldCount(""), 0);
    EXPECT_EQ(FieldCount(";"), 1);
    EXPECT_EQ(FieldCount("a;;b"), 3);
}

TEST(StringHelpersTest, FieldsFromOne) {
    EXPECT_EQ(GetField("C:\\x.dll;1", 1), "C:\\x.dll");
    EXPECT_EQ(GetField("C:\\x.dll;1", 2), "1");
    EXPECT_EQ(GetField("a;;b", 2), "");
    EXPECT_EQ(GetField("a;;b", 3), "b");
    EXPECT_EQ(GetField("a;b;", 2), "b");
    EXPECT_EQ(GetField("a;b", 3), "");
    EXPECT_EQ(GetField("a;b", 0), "");
    EXPECT_EQ(GetField("", 1), "");
    EXPECT_EQ(SplitFields("a;b;"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitFields(";x"), (std::vector<std::string>{"", "x"}));
    EXPECT_TRUE(SplitFields("").empty());
}

TEST(StringHelpersTest, IntegersOfTexts) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("  12"), 12);
    EXPECT_EQ(StrToInt("+3"), 3);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    for (const char* bad : {"", " ", "two", "1 ", "1.5", "+", "+-1", "2147483648", "0x10"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST(StringHelpersTest, TextAfterTheFirstColon) {
    EXPECT_EQ(TextAfterColon("1:C:\\x"), "C:\\x");
    EXPECT_EQ(TextAfterColon("plain"), "plain");
    EXPECT_EQ(TextAfterColon("x:"), "");
}

TEST(StringHelpersTest, DirectorySafeNamesDropReservedCharacters) {
    EXPECT_EQ(DirectorySafeName("Acme/Tools: \"Best\" <1|2>?*;\\x"), "Acme-Tools Best 12x");
    EXPECT_EQ(DirectorySafeName("Plain Name.1"), "Plain Name.1");
    EXPECT_EQ(DirectorySafeName(""), "");
}

} // namespace
} // namespace sw::test
