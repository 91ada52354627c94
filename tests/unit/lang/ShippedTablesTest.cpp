// The string tables shipped in src/resources/lang: every one parses in its
// own code page and translates every text of the English table.
#include "LangFixture.h"

#include "lang/TableText.h"
#include "platform/CodePages.h"
#include "project/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

using namespace sw;

namespace {

std::string ReadShipped(const std::string& name) {
    std::ifstream in(std::string(SW_SOURCE_DIR) + "/src/resources/lang/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The %d and %s placeholders of a text, in order.
std::string Placeholders(const std::string& text) {
    std::string found;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '%' && (text[i + 1] == 'd' || text[i + 1] == 's'))
            found += text.substr(i++, 2);
    return found;
}

class ShippedTables : public langtest::LangFixture {
  protected:
    // Loads the language's shipped table through the platform's files.
    TLanguage& Load(TPlmrLanguage ident) {
        TLanguage& language = Lang(ident);
        const std::string bytes = ReadShipped(language.TextFileName());
        EXPECT_FALSE(bytes.empty()) << language.TextFileName();
        const std::string path = "C:\\SETUP\\" + language.TextFileName();
        fake.Files().PutFile(path, bytes);
        language.Strings()->LoadFromFile(path);
        return language;
    }
};

TEST_F(ShippedTables, EnglishHoldsEveryIdOfTheStandardDialogs) {
    const TLanguage& english = Load(plEnglish);
    std::set<int32_t> ids;
    for (const TLanguageString& s : english.StringEntries())
        EXPECT_TRUE(ids.insert(s.Id).second) << "duplicate id " << s.Id;
    std::set<int32_t> expected{4,  5,  6,  26, 72, 71, 49, 9,  10, 11, 12, 1,  2,  3,  7,  8,  17, 18,
                               19, 20, 21, 22, 23, 24, 25, 58, 59, 40, 41, 42, 43, 27, 28, 29, 30, 31,
                               32, 33, 34, 13, 14, 15, 16, 37, 38, 39, 44, 45, 46, 47, 48, 51, 52, 53,
                               54, 55, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 56, 57, 75, 76};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(english.FindString(45)->Text, "Please insert disk number %d");
    EXPECT_EQ(english.FindStringByText("Destination Directory")->Id, 25);
    EXPECT_EQ(english.FindStringByText("Bytes")->Text, "bytes");
    EXPECT_LT(english.FindString(25)->LineIndex, english.FindString(30)->LineIndex);
}

TEST_F(ShippedTables, EveryLanguageTranslatesEveryEnglishTextKeepingPlaceholdersAndAccelerators) {
    const TLanguage& english = Load(plEnglish);
    for (int i = 0; i < translator->LanguageCount(); ++i) {
        const TPlmrLanguage ident = translator->Languages(i)->LanguageIdent();
        SCOPED_TRACE(LangIdToString(ident));
        const TLanguage& language = Load(ident);
        EXPECT_EQ(language.StringEntries().size(), english.StringEntries().size());
        for (const TLanguageString& source : english.StringEntries()) {
            const TLanguageString* target = language.FindString(source.Id);
            ASSERT_NE(target, nullptr) << "id " << source.Id;
            EXPECT_EQ(Placeholders(target->Text), Placeholders(source.Text)) << "id " << source.Id;
            const auto ampersands = [](const std::string& t) { return std::count(t.begin(), t.end(), '&'); };
            EXPECT_EQ(ampersands(target->Text), ampersands(source.Text)) << "id " << source.Id;
            // Nothing was cut: the whole text after the id stands in the line.
            const std::string& line = language.Strings()->Lines()[static_cast<size_t>(target->LineIndex)];
            EXPECT_TRUE(line.ends_with(target->Text)) << "id " << source.Id;
        }
    }
}

TEST_F(ShippedTables, EveryTableRoundTripsThroughItsCodePage) {
    ICodePages& pages = fake.CodePages();
    for (int i = 0; i < translator->LanguageCount(); ++i) {
        const TLanguage& language = *translator->Languages(i);
        SCOPED_TRACE(language.TextFileName());
        const std::string bytes = ReadShipped(language.TextFileName());
        const unsigned codePage = LanguageData(language.LanguageIdent()).CodePage;
        const auto text = pages.ToUnicode(codePage, bytes);
        ASSERT_TRUE(text);
        EXPECT_EQ(pages.FromUnicode(codePage, *text), bytes);
        EXPECT_EQ(JoinTableText(SplitTableText(bytes, codePage)), bytes); // CR LF throughout
    }
}

TEST_F(ShippedTables, ATableLoadedIntoAnotherLanguageIsRefused) {
    const std::string russian = ReadShipped("plmiRussian.txt");
    fake.Files().PutFile("C:\\SETUP\\wrong.txt", russian);
    for (TPlmrLanguage ident : {plJapanese, plKorean, plChineseSimplified, plGreek})
        EXPECT_THROW(Lang(ident).Strings()->LoadFromFile("C:\\SETUP\\wrong.txt"), Exception) << LangIdToString(ident);
    fake.Files().PutFile("C:\\SETUP\\utf8.txt", ReadShipped("utf8/plmiFrench.txt"));
    EXPECT_THROW(Lang(plFrench).Strings()->LoadFromFile("C:\\SETUP\\utf8.txt"), Exception);
}

} // namespace
