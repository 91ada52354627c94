// The language page on the fake platform: which flags it offers and where,
// how it draws a cell, and what a choice translates.
#include "unit/dialogs/DialogsFixture.h"

#include "dialogs/SelectLanguageForm.h"
#include "engine/CustomInstall.h"
#include "lang/Translator.h"
#include "objects/InstallMessages.h"
#include "platform/fake/FakeControl.h"
#include "platform/fake/FakeGui.h"
#include "support/SourceFiles.h"

#include <memory>
#include <sstream>

namespace sw::test {
namespace {

using enum TManagerType;

// An install object that counts the language changes it is told of.
class TLanguageWatcher : public TInstallContainer {
  public:
    using TInstallContainer::TInstallContainer;
    void LanguageChanged() override { ++Changes; }
    int Changes = 0;
};

// A dialog form that records, when it is translated again, the state the
// language page is in; one may fail.
class TWatchingForm : public TBasePellmoorForm {
  public:
    using TBasePellmoorForm::TBasePellmoorForm;
    void Retranslate(TPlmrLanguage language) override {
        auto& gui = static_cast<fake::FakeGui&>(*GetPlatform().Gui);
        Seen.push_back(std::string(LangIdToString(language)) + (gui.Cursor() == CursorKind::Hourglass ? " busy" : "") +
                       (Grid && !Grid->Enabled() ? " grid off" : ""));
        if (Fails)
            throw Exception("retranslate failed");
    }
    TStringGrid* Grid = nullptr;
    std::vector<std::string> Seen;
    bool Fails = false;
};

std::vector<std::string> ShippedTable(const std::string& language) {
    std::istringstream in(ReadSourceFile("src/resources/lang/plmi" + language + ".txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class SelectLanguageFormTest : public DialogsFixture {
  protected:
    void SetUp() override {
        DialogsFixture::SetUp();
        RegisterLanguageClasses();
        LoadManagers({dmBeforeInstall});
    }
    void TearDown() override {
        page_.reset();
        DialogsFixture::TearDown();
        translator_.reset();
    }
    // A global translator with the shipped tables of these languages.
    TTranslator& Translator(const std::vector<TPlmrLanguage>& languages, TPlmrLanguage target = plEnglish) {
        translator_.reset(); // the first translator alive is the global one
        translator_ = std::make_unique<TTranslator>(nullptr);
        for (TPlmrLanguage ident : languages)
            translator_->FindLanguage(ident)->Strings()->Assign(ShippedTable(LangIdToString(ident)));
        translator_->SetTranslateIntoLanguage(target);
        return *translator_;
    }
    // A page outside any container, shown.
    TSelectLanguageForm& Page() {
        page_ = std::make_unique<TSelectLanguageForm>(nullptr);
        page_->Show();
        page_->UpdatePage();
        return *page_;
    }
    static std::vector<std::string> Cells(const TSelectLanguageForm& page) {
        std::vector<std::string> cells;
        TStringGrid& grid = *page.LanguageGrid();
        for (int row = 0; row < grid.RowCount(); ++row)
            for (int col = 0; col < grid.ColCount(); ++col)
                cells.push_back(page.CellLanguage(col, row) ? grid.Cell(col, row) : "-");
        return cells;
    }
    // The page of the running stage.
    static TSelectLanguageForm* StagePage() {
        for (TBasePellmoorForm* form : DialogsState().Forms)
            if (auto* page = dynamic_cast<TSelectLanguageForm*>(form); page && page->Owner())
                return page;
        return nullptr;
    }
    fake::FakeControl& GridWindow(TSelectLanguageForm& page) {
        return static_cast<fake::FakeControl&>(*page.LanguageGrid()->Handle());
    }

    std::unique_ptr<TTranslator> translator_;
    std::unique_ptr<TSelectLanguageForm> page_;
};

TEST_F(SelectLanguageFormTest, OffersTheLanguagesWithTablesTwoToARowInListOrder) {
    const struct {
        std::vector<TPlmrLanguage> Tables;
        std::vector<std::string> Cells;
    } cases[] = {
        {{plSpanish, plGerman, plFrench, plEnglish}, {"English", "French", "German", "Spanish"}},
        {{plEnglish}, {"English", "-"}},
        {{plVietnamese, plEnglish, plJapanese}, {"English", "Japanese", "Vietnamese", "-"}},
        {{}, {"-", "-"}},
    };
    for (const auto& c : cases) {
        Translator(c.Tables);
        EXPECT_EQ(Cells(Page()), c.Cells) << ::testing::PrintToString(c.Cells);
    }
    // A table of a single line is not offered.
    Translator({plEnglish, plFrench, plItalian}).FindLanguage(plItalian)->Strings()->Assign({"4;< Precedente"});
    EXPECT_EQ(Cells(Page()), (std::vector<std::string>{"English", "French"}));
}

TEST_F(SelectLanguageFormTest, TheCurrentLanguageIsSelectedAndThatIsNoChoice) {
    Translator({plEnglish, plFrench, plGerman}, plGerman);
    auto watcher = std::make_unique<TWatchingForm>(nullptr);
    TSelectLanguageForm& page = Page();
    EXPECT_EQ(page.LanguageGrid()->Col(), 0);
    EXPECT_EQ(page.LanguageGrid()->Row(), 1);
    EXPECT_EQ(GridWindow(page).ItemIndex(), 2);
    EXPECT_TRUE(watcher->Seen.empty());
    const auto& calls = fake_.Gui().Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "SetCursor Hourglass"), 0);
}

TEST_F(SelectLanguageFormTest, ACellIsFilledAndItsFlagDrawnTwoPixelsInAndCentred) {
    Translator({plEnglish, plFrench, plGerman});
    TSelectLanguageForm& page = Page();
    EXPECT_EQ(page.LanguageBitmap(plRussian).FileBytes(), page.LanguageBitmap(plUser).FileBytes())
        << "a slot without a language keeps the blank flag";
    EXPECT_NE(page.LanguageBitmap(plFrench).FileBytes(), page.LanguageBitmap(plRussian).FileBytes());
    GridWindow(page).Repaint();
    using Op = fake::CanvasOp;
    auto flag = [&](TPlmrLanguage ident, int x, int y) {
        return Op{
            Op::Kind::Draw, {x, y, 126, 45}, 0, "", {}, page.LanguageBitmap(ident).FileBytes(), 0x008080, {}, {}, {}};
    };
    auto fill = [](Bounds rect, ColorRef color) {
        return Op{Op::Kind::FillRect, rect, color, "", {}, "", {}, {}, {}, {}};
    };
    const std::vector<Op> expected{
        fill({0, 0, 139, 47}, kColorHighlight), flag(plEnglish, 2, 1),
        fill({140, 0, 139, 47}, kColorWindow),  flag(plFrench, 142, 1),
        fill({0, 48, 139, 47}, kColorWindow),   flag(plGerman, 2, 49),
        fill({140, 48, 139, 47}, kColorWindow),
    };
    EXPECT_EQ(GridWindow(page).Drawn(), expected);
}

TEST_F(SelectLanguageFormTest, WithoutAGlobalTranslatorThePageIsSkipped) {
    RegisterPageForm<TSelectLanguageForm>();
    RegisterPageForm<TPage<5>>();
    PressThrough("ProceedBtn");
    Driver()->Broadcast(msg::BeforeInstall, nullptr);
    EXPECT_EQ(PageScript().Log, std::vector<std::string>{"show Page 5"});
}

TEST_F(SelectLanguageFormTest, AClickTranslatesEveryFormAtOnceAndKeepsTheFocus) {
    Translator({plEnglish, plFrench, plGerman});
    RegisterPageForm<TSelectLanguageForm>();
    RegisterPageForm<TPage<5>>();
    auto hidden = std::make_unique<TSelectLanguageForm>(nullptr);
    auto* watcher = new TLanguageWatcher(nullptr);
    std::unique_ptr<TLanguageWatcher> owned(watcher);
    std::vector<std::string> seen;
    fake_.Gui().WhenShownModally([&](IForm& container) {
        TSelectLanguageForm* page = StagePage();
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(container.Caption(), "Select a language");
        page->LanguageGrid()->SetFocus();
        GridWindow(*page).Choose(1); // French
        EXPECT_EQ(translator_->TranslateIntoLanguage(), plFrench);
        EXPECT_EQ(page->Caption(), "Choisissez une langue");
        EXPECT_EQ(static_cast<TButton*>(page->FindComponent("ProceedBtn"))->Caption(), "Suivant >");
        EXPECT_EQ(static_cast<TButton*>(hidden->FindComponent("CancelBtn"))->Caption(), "Annuler");
        EXPECT_EQ(PageScript().Log.size(), 0u) << "the choice stays on the page";
        EXPECT_TRUE(page->LanguageGrid()->Focused()) << "the focus survives the switch";
        EXPECT_TRUE(page->LanguageGrid()->Enabled());
        EXPECT_EQ(fake_.Gui().Cursor(), CursorKind::Default);
        page->Button("ProceedBtn")->Handle()->Click();
        ASSERT_NE(PageScript().Active, nullptr);
        EXPECT_EQ(container.Caption(), "Page 5") << "the container's caption follows at the page change";
        EXPECT_EQ(static_cast<TScriptedPage*>(PageScript().Active)->Button("ProceedBtn")->Caption(), "Suivant >");
        static_cast<TScriptedPage*>(PageScript().Active)->Button("ProceedBtn")->Handle()->Click();
    });
    Driver()->Broadcast(msg::BeforeInstall, nullptr);
    EXPECT_EQ(watcher->Changes, 1);
}

// English, French / German, Spanish: each key that moves the selection
// chooses its cell's language; Tab leaves the grid and Enter goes on to the
// next page with the language chosen.
TEST_F(SelectLanguageFormTest, TheGridsKeysChooseTabLeavesAndEnterGoesOn) {
    Translator({plEnglish, plFrench, plGerman, plSpanish});
    RegisterPageForm<TSelectLanguageForm>();
    RegisterPageForm<TPage<5>>();
    fake_.Gui().WhenShownModally([&](IForm& container) {
        TSelectLanguageForm* page = StagePage();
        ASSERT_NE(page, nullptr);
        page->LanguageGrid()->SetFocus();
        const std::pair<int, TPlmrLanguage> steps[] = {
            {vk::End, plFrench}, {vk::Next, plSpanish}, {vk::Home, plGerman}, {vk::Prior, plEnglish}};
        for (const auto& [key, language] : steps) {
            GridWindow(*page).PressKey(key, false);
            EXPECT_EQ(translator_->TranslateIntoLanguage(), language) << key;
        }
        GridWindow(*page).PressKey(vk::Right, false);
        container.PressTab(false);
        EXPECT_FALSE(page->LanguageGrid()->Focused());
        container.PressKey(FormKey::Enter);
        ASSERT_NE(PageScript().Active, nullptr);
        EXPECT_EQ(static_cast<TScriptedPage*>(PageScript().Active)->Button("ProceedBtn")->Caption(), "Suivant >");
        static_cast<TScriptedPage*>(PageScript().Active)->Button("ProceedBtn")->Handle()->Click();
    });
    Driver()->Broadcast(msg::BeforeInstall, nullptr);
    EXPECT_EQ(translator_->TranslateIntoLanguage(), plFrench);
}

TEST_F(SelectLanguageFormTest, ChoosingTheCurrentLanguageRunsTheWholeSequence) {
    Translator({plEnglish, plFrench, plGerman});
    TSelectLanguageForm& page = Page();
    TWatchingForm watcher(nullptr);
    watcher.Grid = page.LanguageGrid();
    auto changes = std::make_unique<TLanguageWatcher>(nullptr);
    const size_t before = fake_.Gui().Calls().size();
    GridWindow(page).Choose(0); // English, already current
    EXPECT_EQ(watcher.Seen, std::vector<std::string>{"English busy grid off"});
    EXPECT_EQ(changes->Changes, 1);
    const auto& calls = fake_.Gui().Calls();
    EXPECT_EQ(std::count(calls.begin() + static_cast<std::ptrdiff_t>(before), calls.end(), "SetCursor Hourglass"), 1);
    EXPECT_EQ(fake_.Gui().Cursor(), CursorKind::Default);
    EXPECT_EQ(static_cast<TButton*>(page.FindComponent("ProceedBtn"))->Caption(), "Next >");

    // A cell without a language is no choice.
    watcher.Seen.clear();
    GridWindow(page).Choose(3);
    EXPECT_TRUE(watcher.Seen.empty());
}

TEST_F(SelectLanguageFormTest, AnErrorOfTheSwitchGoesOnWithTheGridAndCursorBack) {
    Translator({plEnglish, plFrench});
    TSelectLanguageForm& page = Page();
    TWatchingForm failing(nullptr);
    failing.Fails = true;
    page.LanguageGrid()->Select(1, 0);
    EXPECT_THROW(page.ChooseLanguage(), Exception);
    EXPECT_TRUE(page.LanguageGrid()->Enabled());
    EXPECT_EQ(fake_.Gui().Cursor(), CursorKind::Default);
    EXPECT_EQ(failing.Seen, std::vector<std::string>{"French busy"});
}

} // namespace
} // namespace sw::test
