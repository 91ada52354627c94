#include "project/Text.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

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
