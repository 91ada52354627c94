#include "platform/CommandLine.h"

#include <gtest/gtest.h>

using namespace sw;
using Args = std::vector<std::string>;

TEST(SplitCommandLine, BlanksSeparateAndQuotesGroupAndVanish) {
    EXPECT_EQ(SplitCommandLine("setup.exe -r \"-sC:\\My Build\" -c"),
              (Args{"setup.exe", "-r", "-sC:\\My Build", "-c"}));
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\App\\setup.exe\"  -b"),
              (Args{"C:\\Program Files\\App\\setup.exe", "-b"}));
    EXPECT_EQ(SplitCommandLine("-s\"C:\\My Build\"x"), (Args{"-sC:\\My Buildx"}));
}

TEST(SplitCommandLine, ControlCharactersAreBlanksAndBackslashesAreLiteral) {
    EXPECT_EQ(SplitCommandLine("\t a\tb \r\n"), (Args{"a", "b"}));
    EXPECT_EQ(SplitCommandLine("-sC:\\Dir\\ \"x\\\"y"), (Args{"-sC:\\Dir\\", "x\\y"}));
}

TEST(SplitCommandLine, EmptyAndUnclosedQuotes) {
    EXPECT_TRUE(SplitCommandLine("").empty());
    EXPECT_TRUE(SplitCommandLine("   ").empty());
    EXPECT_EQ(SplitCommandLine("a \"\" b"), (Args{"a", "", "b"}));
    EXPECT_EQ(SplitCommandLine("a \"b c"), (Args{"a", "b c"}));
}
