#include "controls/Grids.h"

#include "controls/ControlProps.h"

#include <algorithm>

namespace sw {

namespace {
const TEnumInfo kGridOptions{{"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
                              "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving",
                              "goEditing", "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"}};
// Keeps a grid of a stream within what a window can hold.
constexpr int32_t kMaxCells = 1 << 20;
} // namespace

SW_CLASS_INFO(TStringGrid, TWinControl,
              ctlprop::Join({ctlprop::Placement(),
                             ctlprop::State(),
                             ctlprop::Looks(clWindow),
                             ctlprop::Tabs(true),
                             {prop::Integer("ColCount", &Self::ColCount, &Self::SetColCount, 5),
                              prop::Integer("RowCount", &Self::RowCount, &Self::SetRowCount, 5),
                              prop::Integer("FixedCols", &Self::FixedCols, &Self::SetFixedCols, 1),
                              prop::Integer("FixedRows", &Self::FixedRows, &Self::SetFixedRows, 1),
                              prop::Integer("DefaultColWidth", &Self::DefaultColWidth, &Self::SetDefaultColWidth, 64),
                              prop::Integer("DefaultRowHeight", &Self::DefaultRowHeight, 24),
                              prop::Set("Options", &Self::Options, kGridOptions, 0x1Fu),
                              prop::Boolean("DefaultDrawing", &Self::DefaultDrawing, &Self::SetDefaultDrawing, true),
                              prop::Integer("FixedColor", &Self::FixedColor, clBtnFace, &ColorIdents()),
                              prop::Event("OnDrawCell", &Self::OnDrawCell), prop::Event("OnKeyDown", &Self::OnKeyDown)},
                             ctlprop::Click<TStringGrid>()}))

TStringGrid::TStringGrid(TComponent* owner) : TWinControl(owner) {
    SetBounds({0, 0, 320, 120});
    SetColor(clWindow);
    SetTabStop(true);
    Resize();
}

void TStringGrid::SetColCount(int32_t n) {
    if (n < 1 || int64_t{n} * rowCount_ > kMaxCells)
        RaiseInvalidPropertyValue();
    std::vector<CellData> old = std::move(cells_);
    int32_t oldCols = colCount_;
    colCount_ = n;
    cells_.assign(static_cast<size_t>(colCount_) * static_cast<size_t>(rowCount_), {});
    for (int r = 0; r < rowCount_; ++r)
        for (int c = 0; c < std::min(oldCols, colCount_); ++c)
            cells_[static_cast<size_t>(r * colCount_ + c)] = old[static_cast<size_t>(r * oldCols + c)];
    col_ = std::min(col_, colCount_ - 1);
    CellsChanged();
}

void TStringGrid::SetRowCount(int32_t n) {
    if (n < 1 || int64_t{n} * colCount_ > kMaxCells)
        RaiseInvalidPropertyValue();
    rowCount_ = n;
    cells_.resize(static_cast<size_t>(colCount_) * static_cast<size_t>(rowCount_));
    row_ = std::min(row_, rowCount_ - 1);
    CellsChanged();
}

void TStringGrid::SetDefaultColWidth(int32_t w) {
    colWidth_ = std::max(0, w);
    if (Handle())
        ApplyTo(*Handle());
}

void TStringGrid::SetDefaultDrawing(bool on) {
    defaultDrawing_ = on;
    if (Handle())
        Handle()->SetCellDrawing(on ? CellDrawing::DefaultThenOwner : CellDrawing::Owner);
}

void TStringGrid::Resize() { cells_.assign(static_cast<size_t>(colCount_) * static_cast<size_t>(rowCount_), {}); }

TStringGrid::CellData* TStringGrid::At(int col, int row) {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        return nullptr;
    return &cells_[static_cast<size_t>(row * colCount_ + col)];
}

std::string TStringGrid::Cell(int col, int row) const {
    CellData* cell = const_cast<TStringGrid*>(this)->At(col, row);
    return cell ? cell->Text : std::string();
}

void TStringGrid::SetCell(int col, int row, const std::string& text) {
    if (CellData* cell = At(col, row)) {
        cell->Text = text;
        CellsChanged();
    }
}

void* TStringGrid::Object(int col, int row) const {
    CellData* cell = const_cast<TStringGrid*>(this)->At(col, row);
    return cell ? cell->Object : nullptr;
}

void TStringGrid::SetObject(int col, int row, void* object) {
    if (CellData* cell = At(col, row))
        cell->Object = object;
}

void TStringGrid::Select(int col, int row) {
    if (!At(col, row))
        return;
    col_ = col;
    row_ = row;
    if (Handle())
        Handle()->SetItemIndex(row_ * colCount_ + col_);
}

void TStringGrid::CellsChanged() {
    if (Handle())
        ApplyTo(*Handle());
}

void TStringGrid::ApplyTo(IControl& window) {
    TWinControl::ApplyTo(window);
    window.SetColumns(std::vector<ColumnSpec>(static_cast<size_t>(colCount_), ColumnSpec{"", colWidth_}));
    window.SetRowHeight(DefaultRowHeight);
    std::vector<std::string> rows;
    for (int r = 0; r < rowCount_; ++r) {
        std::string row;
        for (int c = 0; c < colCount_; ++c)
            row += (c ? "\t" : "") + cells_[static_cast<size_t>(r * colCount_ + c)].Text;
        rows.push_back(row);
    }
    window.SetItems(rows);
    window.SetItemIndex(row_ * colCount_ + col_);
    window.SetCellDrawing(defaultDrawing_ ? CellDrawing::DefaultThenOwner : CellDrawing::Owner);
}

void TStringGrid::WindowClicked() {
    int index = Handle()->ItemIndex();
    if (index >= 0) {
        col_ = index % colCount_;
        row_ = index / colCount_;
    }
    Click();
}

void TStringGrid::WindowDrawCell(int col, int row, const Bounds& rect, bool selected, ICanvas& target) {
    if (!OnDrawCell)
        return;
    bool fixed = col < fixedCols_ || row < fixedRows_;
    canvas_.Font().Assign(*Font());
    canvas_.Brush.Color = fixed ? FixedColor : selected ? clHighlight : Color();
    if (selected && !fixed)
        canvas_.Font().SetColor(clHighlightText);
    TGridDrawState state = (selected ? 1u << gdSelected : 0u) | (selected && Focused() ? 1u << gdFocused : 0u) |
                           (fixed ? 1u << gdFixed : 0u);
    TCanvas::Painting painting(canvas_, target);
    OnDrawCell(this, col, row, rect, state);
}

} // namespace sw
