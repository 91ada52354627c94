// The language page: a grid of flags, one cell per language the project has
// a string table for. Choosing a cell switches the global translator's
// target and translates every dialog form again at once.
#pragma once

#include "controls/Grids.h"
#include "dialogs/BaseForms.h"

#include <array>

namespace sw {

class TButton;
class TLanguage;

class TSelectLanguageForm : public TBaseInstallForm {
    SW_DECLARE_CLASS()
  public:
    // Reads TSELECTLANGUAGEFORM; every bitmap slot starts as BM_LANG_NONE.
    explicit TSelectLanguageForm(TComponent* owner);

    // Without a global translator there is nothing to choose.
    bool SkipPage() override;
    void UpdatePage() override;

    // One cell per language whose table has more than one line, two to a
    // row in the translator's list order; the current language's cell is
    // selected without counting as a choice.
    void FillGrid();
    // Switches to the selected cell's language and translates every dialog
    // form into it; the grid and cursor come back also when an error passes.
    void ChooseLanguage();
    // The cell's fill, then its flag 2 pixels from the left, centred
    // vertically, olive left out. Drawing errors are ignored.
    void DrawCell(int32_t col, int32_t row, const Bounds& rect);

    TStringGrid* LanguageGrid() const { return grid_; }
    // The bitmap slot of a language ordinal (plUser included).
    const TBitmap& LanguageBitmap(TPlmrLanguage ident) const { return bitmaps_.at(ident); }
    TLanguage* CellLanguage(int32_t col, int32_t row) const;

    // A button of the stream; raises when the stream has none of that name.
    TButton* Button(const char* name) const;

  private:
    TStringGrid* grid_ = nullptr;
    std::array<TBitmap, kLanguageCount + 1> bitmaps_;
    bool suppressClick_ = false;
};

} // namespace sw
