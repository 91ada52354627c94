#include "dialogs/SelectLanguageForm.h"

#include "controls/StdCtrls.h"
#include "dialogs/DialogRegistries.h"
#include "lang/Translator.h"
#include "objects/InstallContainer.h"
#include "objects/InstallLists.h"
#include "platform/Platform.h"
#include "project/Errors.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace sw {

SW_CLASS_INFO(TSelectLanguageForm, TBaseInstallForm)

namespace {
constexpr const char* kBlankFlag = "BM_LANG_NONE";
constexpr const char* kSelectLanguageResource = "TSELECTLANGUAGEFORM";

// Raises a flag for a scope and lowers it at its end.
class TFlagRaised {
  public:
    explicit TFlagRaised(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagRaised() { flag_ = false; }
    TFlagRaised(const TFlagRaised&) = delete;
    TFlagRaised& operator=(const TFlagRaised&) = delete;

  private:
    bool& flag_;
};

bool OffersLanguage(const TLanguage& language) { return language.Strings()->Count() > 1; }
} // namespace

TSelectLanguageForm::TSelectLanguageForm(TComponent* owner) : TBaseInstallForm(owner) {
    ReadPageResource(kSelectLanguageResource);
    SetStage(TManagerType::dmBeforeInstall, 0);
    for (TBitmap& bitmap : bitmaps_) {
        bitmap.LoadFromResourceName(kBlankFlag);
        bitmap.TransparentColor = clOlive;
    }
    grid_ = PageChild<TStringGrid>(*this, kSelectLanguageResource, "LanguageGrid");
    grid_->OnClick = TNotifyEvent("", [this](TPersistent*) { ChooseLanguage(); });
    grid_->OnDrawCell = TDrawCellEvent("", [this](TPersistent*, int32_t col, int32_t row, const Bounds& rect,
                                                  TGridDrawState) { DrawCell(col, row, rect); });
    Button("BackBtn")->OnClick = TNotifyEvent("", [this](TPersistent*) { PreviousPage(); });
    Button("ProceedBtn")->OnClick = TNotifyEvent("", [this](TPersistent*) { NextPage(); });
    Button("CancelBtn")->OnClick = TNotifyEvent("", [this](TPersistent*) { CancelStage(); });
}

TButton* TSelectLanguageForm::Button(const char* name) const {
    return PageChild<TButton>(*this, kSelectLanguageResource, name);
}

bool TSelectLanguageForm::SkipPage() { return GlobalTranslator() == nullptr; }

void TSelectLanguageForm::UpdatePage() {
    FillGrid();
    Button("BackBtn")->SetVisible(!IsFirstPage());
    TButton* proceed = Button("ProceedBtn");
    if (proceed->Visible() && Visible())
        proceed->SetFocus();
}

TLanguage* TSelectLanguageForm::CellLanguage(int32_t col, int32_t row) const {
    return static_cast<TLanguage*>(grid_->Object(col, row));
}

void TSelectLanguageForm::FillGrid() {
    TTranslator* translator = GlobalTranslator();
    if (!translator)
        return;
    int offered = 0;
    for (int i = 0; i < translator->LanguageCount(); ++i)
        offered += OffersLanguage(*translator->Languages(i)) ? 1 : 0;
    // round(n / 2 + 0.1) is n / 2 rounded up; a grid keeps one row.
    grid_->SetRowCount(std::max(1, static_cast<int>(std::lround(offered / 2.0 + 0.1))));
    for (int row = 0; row < grid_->RowCount(); ++row)
        for (int col = 0; col < grid_->ColCount(); ++col)
            grid_->SetObject(col, row, nullptr);

    TLanguage* current = translator->CurrentLanguage();
    int cell = 0;
    for (int i = 0; i < translator->LanguageCount(); ++i) {
        TLanguage* language = translator->Languages(i);
        if (!OffersLanguage(*language))
            continue;
        TBitmap& bitmap = bitmaps_.at(language->LanguageIdent());
        bitmap.LoadFromResourceName(language->FlagResource());
        bitmap.TransparentColor = clOlive;
        const int col = cell % 2, row = cell / 2;
        ++cell;
        grid_->SetObject(col, row, language);
        grid_->SetCell(col, row, LangIdToString(language->LanguageIdent()));
        if (language == current) {
            TFlagRaised suppress(suppressClick_);
            grid_->Select(col, row);
        }
    }
}

void TSelectLanguageForm::ChooseLanguage() {
    if (suppressClick_)
        return;
    TLanguage* language = CellLanguage(grid_->Col(), grid_->Row());
    TTranslator* translator = GlobalTranslator();
    if (!language || !translator)
        return;

    IGui& gui = *GetPlatform().Gui;
    // Disabling and re-translating hide the focused control; it gets the
    // focus back at the end.
    TWinControl* focused = FocusedControl();
    struct TRestore {
        IGui& Gui;
        TStringGrid* Grid;
        TWinControl* Focused;
        ~TRestore() {
            Grid->SetEnabled(true);
            Gui.SetCursor(CursorKind::Default);
            if (Focused && Focused->CanFocus())
                Focused->SetFocus();
        }
    } restore{gui, grid_, focused};
    gui.SetCursor(CursorKind::Hourglass);
    grid_->SetEnabled(false);

    const TPlmrLanguage ident = language->LanguageIdent();
    translator->SetTranslateIntoLanguage(ident);
    // Copies: a container or form may go away while another one reacts.
    const std::vector<TInstallContainer*> containers = InstallContainers().ItemList();
    for (TInstallContainer* container : containers)
        if (InstallContainers().Contains(container))
            container->LanguageChanged();
    const std::vector<TBasePellmoorForm*> forms = DialogsState().Forms;
    for (TBasePellmoorForm* form : forms)
        if (std::find(DialogsState().Forms.begin(), DialogsState().Forms.end(), form) != DialogsState().Forms.end())
            form->Retranslate(ident);
    // The font changes can leave drawing behind on the grid and Cancel.
    grid_->Repaint();
    Button("CancelBtn")->Repaint();
}

void TSelectLanguageForm::DrawCell(int32_t col, int32_t row, const Bounds& rect) {
    try {
        TCanvas& canvas = grid_->Canvas();
        canvas.FillRect(rect);
        TLanguage* language = CellLanguage(col, row);
        if (!language)
            return;
        const TBitmap& bitmap = bitmaps_.at(language->LanguageIdent());
        // Halves round to even.
        const int top = rect.Top + static_cast<int>(std::nearbyint(rect.Height / 2.0 - bitmap.Height() / 2.0));
        canvas.Draw(rect.Left + 2, top, bitmap);
    } catch (const std::exception&) {
        // A cell that cannot be drawn stays as it is.
    }
}

} // namespace sw
