#include "LangFixture.h"

#include "lang/StringTable.h"
#include "project/Errors.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

std::string ParseError(const std::vector<std::string>& lines) {
    try {
        ParseStringTable(lines, nullptr);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

TEST(StringTableParse, StringEntriesTakeTheTextBetweenTheFirstTwoSemicolons) {
    auto t = ParseStringTable({"12;Click Next;more text", "  5; Next >  ", "$1A;Hex", "-3;Negative"}, nullptr);
    ASSERT_EQ(t.Strings.size(), 4u);
    EXPECT_EQ(t.Strings[0].Id, 12);
    EXPECT_EQ(t.Strings[0].Text, "Click Next");
    EXPECT_EQ(t.Strings[1].Text, " Next >"); // the leading blank stays, the line's trailing ones go
    EXPECT_EQ(t.Strings[1].LineIndex, 1);
    EXPECT_EQ(t.Strings[2].Id, 0x1A);
    EXPECT_EQ(t.Strings[3].Id, -3);
}

TEST(StringTableParse, CommentsAndEmptyLinesAreSkippedEvenInsideAMemo) {
    auto t = ParseStringTable({"* Common strings", "", "#10;licence", "first", "* not memo text", "  ", "  second  ",
                               "#more", "#", "4;< Previous"},
                              nullptr);
    ASSERT_EQ(t.Memos.size(), 1u);
    EXPECT_EQ(t.Memos[0].Id, 10);
    EXPECT_EQ(t.Memos[0].LineIndex, 2);
    EXPECT_EQ(t.Memos[0].Lines, (std::vector<std::string>{"first", "second", "#more"}));
    ASSERT_EQ(t.Strings.size(), 1u);
    EXPECT_EQ(t.Strings[0].LineIndex, 9);
}

TEST(StringTableParse, AMemoLeftOpenIsDroppedWithoutAnError) {
    auto t = ParseStringTable({"4;< Previous", "#5", "line one", "line two"}, nullptr);
    EXPECT_TRUE(t.Memos.empty());
    EXPECT_EQ(t.Strings.size(), 1u);
}

TEST(StringTableParse, LongTextsAreCutTo255Characters) {
    auto t = ParseStringTable({"1;" + std::string(300, 'x')}, nullptr);
    EXPECT_EQ(t.Strings[0].Text, std::string(255, 'x'));
}

TEST(StringTableParse, SyntaxErrorsNameTheZeroBasedLineAndTheTrimmedText) {
    EXPECT_EQ(ParseError({"1;a", "2;b", "3;c", "* x", "", "4;d", "5;e", "#"}),
              "Found the end of memo marker # at line 7. Was not in a memo however");
    EXPECT_EQ(ParseError({"abc;Text"}),
              "The 0'th string (abc;Text) does not have the proper format of GLID;Text or .GLID;");
    EXPECT_EQ(ParseError({"1;a", " ;Text "}), "The 1'th string (;Text) does not have the proper format of GLID;Text");
    EXPECT_EQ(ParseError({"12;"}), "The 0'th string (12;) does not have the proper format of GLID;Text");
    EXPECT_EQ(ParseError({"12;   ;x"}), "The 0'th string (12;   ;x) does not have the proper format of GLID;Text");
    EXPECT_EQ(ParseError({"12"}), "The 0'th string (12) does not have the proper format of GLID;Text");
    EXPECT_EQ(ParseError({"#;note"}), "The 0'th string (#;note) does not have the proper format of GLID;Text");
    EXPECT_EQ(ParseError({"#x1"}), "The 0'th string (#x1) does not have the proper format of GLID;Text or .GLID;");
}

TEST(StringTableParse, IdsAreThirtyTwoBitIntegers) {
    int32_t id = 0;
    EXPECT_TRUE(ParseGlid("+7", id));
    EXPECT_EQ(id, 7);
    EXPECT_TRUE(ParseGlid("-2147483648", id));
    EXPECT_EQ(id, INT32_MIN);
    EXPECT_TRUE(ParseGlid("$FFFFFFFF", id));
    EXPECT_EQ(id, -1);
    for (const char* bad : {"", "-", "$", "2147483648", "$100000000", "1 2", " 1", "--1", "$-1", "+-1", "0x10", "1e3"})
        EXPECT_FALSE(ParseGlid(bad, id)) << bad;
}

class LangFormatStringsTest : public langtest::LangFixture {
  protected:
    TLanguage& english() { return Lang(plEnglish); }
    TLangFormatStrings& lines() { return *english().Strings(); }
};

TEST_F(LangFormatStringsTest, EachAddedLineReparsesTheTable) {
    lines().Add("* comment");
    lines().Add("4;< Previous");
    EXPECT_EQ(english().FindString(4)->Text, "< Previous");
    lines().AddStrings({"#10", "memo", "#"});
    EXPECT_EQ(english().FindMemo(10)->Lines, std::vector<std::string>{"memo"});
    lines().Insert(0, "5;Next >");
    EXPECT_EQ(english().FindString(4)->LineIndex, 2);
    lines().Move(0, 1);
    EXPECT_EQ(english().FindString(5)->LineIndex, 1);
    lines().Clear();
    EXPECT_EQ(english().FindString(4), nullptr);
}

TEST_F(LangFormatStringsTest, ASyntaxErrorLeavesTheLineAndNoEntries) {
    lines().Assign({"4;< Previous", "5;Next >"});
    EXPECT_THROW(lines().Add("bad line"), Exception);
    EXPECT_EQ(lines().Count(), 3);
    EXPECT_TRUE(english().StringEntries().empty());
    lines().Delete(2);
    EXPECT_TRUE(english().StringEntries().empty()); // deleting does not re-parse
    lines().Add("6;Cancel");
    EXPECT_EQ(english().StringEntries().size(), 3u);
}

TEST_F(LangFormatStringsTest, DeletingShiftsTheStringEntriesAfterTheLineOnly) {
    lines().Assign({"4;< Previous", "#10", "memo", "#", "5;Next >", "6;Cancel"});
    lines().Delete(2);
    EXPECT_EQ(english().FindString(4)->LineIndex, 0);
    EXPECT_EQ(english().FindMemo(10)->LineIndex, 1);
    EXPECT_EQ(english().FindMemo(10)->Lines, std::vector<std::string>{"memo"}); // kept until the next change
    EXPECT_EQ(english().FindString(5)->LineIndex, 3);
    EXPECT_EQ(english().FindString(6)->LineIndex, 4);
}

TEST_F(LangFormatStringsTest, ReplacingAndExchangingLinesDoNotReparse) {
    lines().Assign({"4;< Previous", "5;Next >"});
    lines().Put(0, "4;Back");
    lines().Exchange(0, 1);
    EXPECT_EQ(english().FindString(4)->Text, "< Previous");
    EXPECT_EQ(lines()[0], "5;Next >");
    lines().Add("* now");
    EXPECT_EQ(english().FindString(4)->Text, "Back");
    EXPECT_EQ(english().FindString(4)->LineIndex, 1);
}

TEST_F(LangFormatStringsTest, BadIndexesRaiseAndChangeNothing) {
    lines().Assign({"4;< Previous"});
    EXPECT_THROW(lines().Delete(1), Exception);
    EXPECT_THROW(lines().Put(-1, "x"), Exception);
    EXPECT_THROW(lines().Insert(3, "x"), Exception);
    EXPECT_THROW(lines().Move(0, 1), Exception);
    EXPECT_THROW((void)lines()[1], Exception);
    EXPECT_EQ(lines().Lines(), std::vector<std::string>{"4;< Previous"});
}

TEST_F(LangFormatStringsTest, LoadingAFileParsesOnceAndAFailedLoadKeepsTheTable) {
    lines().Assign({"4;< Previous"});
    fake.Files().PutFile("C:\\SETUP\\plmiEnglish.txt", "* English\r\n5;Next >\n6;Cancel\r7;Readme information");
    lines().LoadFromFile("C:\\SETUP\\plmiEnglish.txt");
    EXPECT_EQ(lines().Count(), 4);
    EXPECT_EQ(english().FindString(7)->LineIndex, 3);
    EXPECT_EQ(english().FindString(4), nullptr);

    EXPECT_THROW(lines().LoadFromFile("C:\\SETUP\\missing.txt"), Exception);
    EXPECT_TRUE(english().ParseEnabled());
    EXPECT_EQ(lines().Count(), 4);
    EXPECT_NE(english().FindString(5), nullptr);
}

TEST_F(LangFormatStringsTest, ATableInTheWrongCodePageIsRefusedAndLosesNothing) {
    TLangFormatStrings& russian = *Lang(plRussian).Strings();
    russian.Assign({"6;\xCE\xF2\xEC\xE5\xED\xE0"}); // "Отмена" in 1251
    const auto refuse = [&](const std::string& bytes, unsigned codePage) {
        try {
            russian.LoadFromStream(bytes);
            ADD_FAILURE() << "loaded";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "The string table is not in code page " + std::to_string(codePage));
        }
        EXPECT_EQ(russian.Count(), 1);
        EXPECT_EQ(Lang(plRussian).FindString(6)->Text, "\xCE\xF2\xEC\xE5\xED\xE0");
    };
    refuse("6;\xD0\x9E\xD1\x82\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB0", 1251); // UTF-8
    refuse("\xEF\xBB\xBF"
           "6;Cancel",
           1251);           // byte-order mark
    refuse("6;\x98", 1251); // undefined in 1251

    TLangFormatStrings& japanese = *Lang(plJapanese).Strings();
    try {
        japanese.LoadFromStream("6;\xCE\xF2\xEC\xE5\xED\xE0"); // 1251 bytes: ends in a lone lead byte
        ADD_FAILURE() << "loaded";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "The string table is not in code page 932");
    }
    EXPECT_EQ(japanese.Count(), 0);
}

} // namespace
