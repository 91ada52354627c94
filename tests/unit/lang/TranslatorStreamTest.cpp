// A translator carried by a project stream: its tables, fonts and target
// language read and written through the property tables.
#include "lang/Translator.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "project/ClassRegistry.h"
#include "project/Reader.h"
#include "project/TextForm.h"
#include "project/Writer.h"

#include "controls/Controls.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

class TranslatorStream : public ::testing::Test {
  protected:
    TranslatorStream() {
        RegisterControlClasses();
        RegisterLanguageClasses();
    }
    ~TranslatorStream() override { TComponent::Free(root); }

    TTranslator& Read(const std::string& text) {
        root = ReadComponentRecords(TextToRecords(text, "project.txt"), nullptr);
        return *static_cast<TTranslator*>(root->FindComponent("Translator1"));
    }

    fake::FakePlatform fake;
    ScopedPlatform platform{fake.Get()};
    TComponent* root = nullptr;
};

const char* const kProject = R"(object Form1: TDataModule
  object Translator1: TTranslator
    lgEnglish.Strings.Strings = (
      '* Common strings for standard dialogs'
      '4;< Previous'
      '6;Cancel')
    lgFrench.FontOverride = True
    lgFrench.Strings.Strings = (
      '6;Annuler')
    TranslateIntoLanguage = plFrench
  end
end
)";

TEST_F(TranslatorStream, TablesAndTheTargetLanguageComeFromTheStream) {
    TTranslator& t = Read(kProject);
    EXPECT_EQ(t.TranslateIntoLanguage(), plFrench);
    EXPECT_TRUE(t.FindLanguage(plFrench)->FontOverride);
    EXPECT_FALSE(t.FindLanguage(plEnglish)->FontOverride);
    EXPECT_EQ(t.FindLanguage(plEnglish)->StringEntries().size(), 2u);
    EXPECT_EQ(t.TranslateString(plEnglish, "Cancel"), "Annuler");
    EXPECT_EQ(GlobalTranslator(), &t);
}

TEST_F(TranslatorStream, WritingAndReadingAgainGivesTheSameText) {
    Read(kProject);
    const std::string text = RecordsToText(ComponentToRecords(*root));
    EXPECT_NE(text.find("lgFrench.Strings.Strings"), std::string::npos) << text;
    EXPECT_EQ(text.find("lgGerman"), std::string::npos) << text; // empty languages are not written
    TComponent::Free(root);
    root = nullptr;
    Read(text);
    EXPECT_EQ(RecordsToText(ComponentToRecords(*root)), text);
}

TEST_F(TranslatorStream, ATableSyntaxErrorFailsTheReadWithItsLine) {
    const std::string bad = R"(object Form1: TDataModule
  object Translator1: TTranslator
    lgCzech.Strings.Strings = (
      '4;Zp'#236't'
      '5')
  end
end
)";
    try {
        Read(bad);
        ADD_FAILURE() << "read";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("The 1'th string (5) does not have the proper format of GLID;Text"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_EQ(GlobalTranslator(), nullptr); // the failed read freed its translator
}

TEST_F(TranslatorStream, AnUnknownTargetLanguageIsRefused) {
    const std::string bad = R"(object Form1: TDataModule
  object Translator1: TTranslator
    TranslateIntoLanguage = plKlingon
  end
end
)";
    EXPECT_THROW(Read(bad), Exception);
}

} // namespace
