// A headless child window: it keeps what it is told and notifies its owner as
// the Win32 control would (an edit on every change of its text, a click on a
// button or box, an item chosen from a list).
#pragma once

#include "platform/Gui.h"
#include "platform/TreeRows.h"
#include "platform/fake/FakeCanvas.h"

#include <algorithm>
#include <array>

namespace sw::fake {

class FakeGui;
class FakeForm;

class FakeControl : public IControl {
  public:
    FakeControl(FakeGui& gui, FakeForm& form, FakeControl* parent, ControlKind kind, std::string name,
                const Bounds& bounds, IControlEvents& events);
    ~FakeControl() override;
    FakeControl(const FakeControl&) = delete;
    FakeControl& operator=(const FakeControl&) = delete;

    ControlKind Kind() override { return kind_; }
    const std::string& Name() override { return name_; }
    Bounds GetBounds() override { return bounds_; }
    void SetBounds(const Bounds& bounds) override { bounds_ = bounds; }
    std::string Text() override { return text_; }
    void SetText(const std::string& text) override;
    void SetAlignment(TextAlign align) override { align_ = align; }
    void SetWordWrap(bool wrap) override { wordWrap_ = wrap; }
    void SetReadOnly(bool readOnly) override { readOnly_ = readOnly; }
    std::vector<std::string> Items() override { return items_; }
    void SetItems(const std::vector<std::string>& items) override;
    int ItemIndex() override { return itemIndex_; }
    void SetItemIndex(int index) override;
    void SetColumns(const std::vector<ColumnSpec>& columns) override { columns_ = columns; }
    void SetRowHeight(int height) override;
    void SetExpanded(int index, bool expanded) override;
    bool Expanded(int index) override;
    std::optional<Bounds> ItemRect(int index) override;
    bool Checked() override { return checked_; }
    void SetChecked(bool checked) override { checked_ = checked; }
    void SetDefault(bool on) override { default_ = on; }
    bool DrawnAsDefault() override;
    void SetRange(int min, int max) override;
    int Position() override { return position_; }
    void SetPosition(int position) override;
    void SetImageList(ImageListRole role, const ImageListSpec& images) override;
    ImageListInfo GetImageList(ImageListRole role) override;
    void SetItemImages(const std::vector<ItemImages>& images) override;
    std::vector<ItemImages> GetItemImages() override { return itemImages_; }
    void SetCellDrawing(CellDrawing drawing) override { cellDrawing_ = drawing; }
    // A grid draws its cells at once, a painted control itself, and each
    // keeps what was drawn.
    void Repaint() override;
    // Counted; the control waits to be painted (as after a change of its
    // text, position or visibility) until it paints or its form's Update.
    void Invalidate() override {
        ++invalidations_;
        waiting_ = true;
    }
    void SetPicture(const std::string& bmp, bool stretch) override;
    void SetBevel(BevelKind bevel) override { bevel_ = bevel; }
    void SetScrollBars(bool horizontal, bool vertical) override;
    bool ScrollBarShown(bool horizontal) override { return horizontal ? horizontalBar_ : verticalBar_; }
    bool Enabled() override { return enabled_; }
    void SetEnabled(bool enabled) override;
    bool Visible() override { return visible_; }
    void SetVisible(bool visible) override;
    void SetFocus() override;
    bool Focused() override;
    void SetTabStop(bool on) override { tabStop_ = on; }
    FontSpec Font() override { return font_; }
    void SetFont(const FontSpec& font, ColorRef color) override;
    void SetColor(ColorRef color) override { color_ = color; }
    void Click() override;
    void Choose(int index) override;
    void Toggle(int index) override;
    void Scroll(int rows) override;
    void PressKey(int key, bool shift) override;
    // Hit-tested among the painted controls of the parent, as Win32 does.
    void Mouse(const MouseInput& input) override;

    // What the headless realization knows beyond the interface.
    FakeControl* Parent() const { return parent_; }
    FakeForm& Form() const { return form_; }
    const Bounds& GetBoundsConst() const { return bounds_; }
    TextAlign Alignment() const { return align_; }
    bool WordWrap() const { return wordWrap_; }
    bool ReadOnly() const { return readOnly_; }
    const std::vector<ColumnSpec>& Columns() const { return columns_; }
    ColorRef Color() const { return color_; }
    ColorRef FontColor() const { return fontColor_; }
    BevelKind Bevel() const { return bevel_; }
    const std::string& Picture() const { return picture_; }
    int RowHeight() const { return rowHeight_; }
    bool TabStop() const { return tabStop_; }
    const ImageListSpec& ImageList(ImageListRole role) const { return imageLists_[static_cast<size_t>(role)]; }
    CellDrawing CellDrawingMode() const { return cellDrawing_; }
    // What the last Repaint drew.
    const std::vector<CanvasOp>& Drawn() const { return drawn_; }
    // How often the control painted at once: by Repaint, or waiting when its
    // form's Update came.
    int Repaints() const { return repaints_; }
    bool Waiting() const { return waiting_; }
    // Its form painted whole: nothing of it waits.
    void FormPainted() { waiting_ = false; }
    int Invalidations() const { return invalidations_; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    // Visible with every parent.
    bool VisibleInForm() const;
    // Shown on the screen: visible in a visible form.
    bool Showing() const;
    // Enabled with every parent.
    bool Usable() const;
    // Shown and usable in an enabled form: what a user's click or key needs
    // (the owner of a modal dialog takes none).
    bool TakesInput() const;

    // A tree's rows are this high until told otherwise: what Windows gives
    // the default font.
    static constexpr int kTreeRowHeight = 16;

  private:
    int Count() const;
    void PaintGrid(ICanvas& canvas);
    bool TakesKeys() const { return kind_ == ControlKind::Grid || kind_ == ControlKind::TreeView; }
    bool IsNode(int index) const { return kind_ == ControlKind::TreeView && index >= 0 && index < Count(); }
    // The height of a tree's client area (inside its sunken edge), and the
    // rows that show in full in it.
    int ClientHeight() const { return std::max(0, bounds_.Height - 4); }
    int FullRows() const { return ClientHeight() / rowHeight_; }
    // Scrolls a tree to `top`, kept so that no empty rows show below the last.
    void SetTopRow(int top);
    // Expands a node as the tree does: rows scroll up to show as many of its
    // children as fit.
    void ExpandNode(int index);
    // A key moving a tree's selection or expanding its selected node.
    void TreeKey(int key);
    // Scrolls a tree until the node's row shows.
    void ShowRow(int index);
    int TopRow() const;

    FakeGui& gui_;
    FakeForm& form_;
    FakeControl* parent_;
    ControlKind kind_;
    std::string name_;
    Bounds bounds_;
    IControlEvents& events_;
    std::string text_;
    TextAlign align_ = TextAlign::Left;
    bool wordWrap_ = false;
    bool readOnly_ = false;
    std::vector<std::string> items_;
    std::vector<ColumnSpec> columns_;
    int itemIndex_ = -1;
    int rowHeight_ = 24;
    std::array<ImageListSpec, 2> imageLists_;
    std::vector<ItemImages> itemImages_;
    CellDrawing cellDrawing_ = CellDrawing::Default;
    std::vector<CanvasOp> drawn_;
    int repaints_ = 0;
    int invalidations_ = 0;
    bool waiting_ = false;
    bool horizontalBar_ = false;
    bool verticalBar_ = false;
    bool checked_ = false;
    bool default_ = false;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    std::string picture_;
    BevelKind bevel_ = BevelKind::None;
    std::vector<TreeItem> nodes_;
    std::vector<bool> expanded_;
    int topNode_ = -1; // the node in a tree's first row
    bool tabStop_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    FontSpec font_;
    ColorRef fontColor_ = kColorWindowText;
    ColorRef color_ = kColorBtnFace;
};

} // namespace sw::fake
