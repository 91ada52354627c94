// A grid of text cells, each of which may carry an object of the program's.
#pragma once

#include "controls/Canvas.h"
#include "controls/Control.h"

#include <algorithm>
#include <vector>

namespace sw {

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};

// What a cell is while it is drawn: bits of TGridDrawStateBit.
enum TGridDrawStateBit { gdSelected, gdFocused, gdFixed };
using TGridDrawState = uint32_t;
// Sender, column, row, the cell's rectangle without its grid lines, state.
using TDrawCellEvent = TEvent<TPersistent*, int32_t, int32_t, const Bounds&, TGridDrawState>;

// Choosing a cell (the user's click or key) selects it and runs OnClick.
// Each cell is drawn by the window (its fill and text) unless DefaultDrawing
// is off, then by OnDrawCell on Canvas, whose brush and font are those of the
// cell (fixed, selected or plain) when it is called.
class TStringGrid : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TStringGrid(TComponent* owner);

    int32_t ColCount() const { return colCount_; }
    void SetColCount(int32_t n);
    int32_t RowCount() const { return rowCount_; }
    void SetRowCount(int32_t n);
    int32_t FixedCols() const { return fixedCols_; }
    void SetFixedCols(int32_t n) { fixedCols_ = std::max(0, n); }
    int32_t FixedRows() const { return fixedRows_; }
    void SetFixedRows(int32_t n) { fixedRows_ = std::max(0, n); }
    int32_t DefaultColWidth() const { return colWidth_; }
    void SetDefaultColWidth(int32_t w);
    int32_t DefaultRowHeight = 24;
    uint32_t Options = (1u << goFixedVertLine) | (1u << goFixedHorzLine) | (1u << goVertLine) | (1u << goHorzLine) |
                       (1u << goRangeSelect);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool on);
    TColor FixedColor = clBtnFace;
    TDrawCellEvent OnDrawCell;
    TCanvas& Canvas() { return canvas_; }

    // Cells outside the grid read as empty and ignore writes.
    std::string Cell(int col, int row) const;
    void SetCell(int col, int row, const std::string& text);
    void* Object(int col, int row) const;
    void SetObject(int col, int row, void* object);
    // The selected cell.
    int32_t Col() const { return col_; }
    int32_t Row() const { return row_; }
    void Select(int col, int row);

  protected:
    ControlKind WindowKind() const override { return ControlKind::Grid; }
    void ApplyTo(IControl& window) override;
    void WindowClicked() override;
    void WindowDrawCell(int col, int row, const Bounds& rect, bool selected, ICanvas& target) override;

  private:
    struct CellData {
        std::string Text;
        void* Object = nullptr;
    };
    void Resize();
    void CellsChanged();
    CellData* At(int col, int row);

    int32_t colCount_ = 5;
    int32_t rowCount_ = 5;
    int32_t fixedCols_ = 1;
    int32_t fixedRows_ = 1;
    int32_t colWidth_ = 64;
    int32_t col_ = 0;
    int32_t row_ = 0;
    bool defaultDrawing_ = true;
    std::vector<CellData> cells_;
    TCanvas canvas_;
};

} // namespace sw
