#include "platform/fake/FakeControl.h"

#include "platform/BmpFile.h"
#include "platform/GridCells.h"

#include "platform/fake/FakeForm.h"
#include "platform/fake/FakeGui.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace sw::fake {

FakeControl::FakeControl(FakeGui& gui, FakeForm& form, FakeControl* parent, ControlKind kind, std::string name,
                         const Bounds& bounds, IControlEvents& events)
    : gui_(gui), form_(form), parent_(parent), kind_(kind), name_(std::move(name)), bounds_(bounds), events_(events) {
    if (kind == ControlKind::TreeView)
        rowHeight_ = kTreeRowHeight;
}

FakeControl::~FakeControl() {
    if (gui_.focused_ == this)
        gui_.focused_ = nullptr;
    if (gui_.mouseHolder_ == this)
        gui_.mouseHolder_ = nullptr;
    if (gui_.pressed_ == this)
        gui_.pressed_ = nullptr;
    form_.Forget(this);
}

void FakeControl::SetText(const std::string& text) {
    text_ = text;
    waiting_ = true;
    if (kind_ == ControlKind::Edit || kind_ == ControlKind::Memo || kind_ == ControlKind::RichEdit)
        events_.OnChange();
}

int FakeControl::Count() const {
    if (kind_ != ControlKind::Grid)
        return static_cast<int>(items_.size());
    return static_cast<int>(items_.size() * columns_.size());
}

void FakeControl::SetItems(const std::vector<std::string>& items) {
    items_ = items;
    itemIndex_ = -1;
    if (kind_ == ControlKind::TreeView) {
        nodes_ = TreeItems(items);
        expanded_.assign(nodes_.size(), false);
        topNode_ = nodes_.empty() ? -1 : 0;
    }
    itemImages_.assign(kind_ == ControlKind::ListView ? items_.size() : 0, ItemImages{});
}

void FakeControl::SetImageList(ImageListRole role, const ImageListSpec& images) {
    if (kind_ == ControlKind::ListView)
        imageLists_[static_cast<size_t>(role)] = images;
}

// As Windows cuts them: each file gives as many images as fit across it.
ImageListInfo FakeControl::GetImageList(ImageListRole role) {
    const ImageListSpec& list = imageLists_[static_cast<size_t>(role)];
    if (list.Strips.empty() || list.Width <= 0)
        return {};
    ImageListInfo info{0, list.Width, list.Height};
    for (const auto& strip : list.Strips)
        if (std::optional<BmpSize> size = BmpDimensions(strip.Bmp))
            info.Count += size->Width / list.Width;
    return info;
}

void FakeControl::SetItemImages(const std::vector<ItemImages>& images) {
    for (size_t i = 0; i < itemImages_.size() && i < images.size(); ++i)
        itemImages_[i] = images[i];
}

void FakeControl::Repaint() {
    ++repaints_;
    waiting_ = false;
    if (kind_ != ControlKind::Grid && kind_ != ControlKind::Painted && kind_ != ControlKind::PaintedPanel)
        return;
    drawn_.clear();
    FakeCanvas canvas(drawn_);
    try {
        if (kind_ == ControlKind::Grid)
            PaintGrid(canvas);
        else
            events_.OnPaint(canvas);
    } catch (...) {
        if (!gui_.HandlesErrors())
            throw;
        gui_.handler_(std::current_exception());
    }
}

// The window's own drawing fills the cell and writes its text; the owner's follows.
void FakeControl::PaintGrid(ICanvas& canvas) {
    int cols = static_cast<int>(columns_.size());
    for (const GridCell& cell : GridCells(columns_, static_cast<int>(items_.size()), rowHeight_)) {
        bool selected = cell.Row * cols + cell.Col == itemIndex_;
        if (cellDrawing_ != CellDrawing::Owner) {
            canvas.FillRect(cell.Rect, selected ? kColorHighlight : color_);
            std::vector<std::string> cells = RowCells(items_[static_cast<size_t>(cell.Row)]);
            std::string text = static_cast<size_t>(cell.Col) < cells.size() ? cells[static_cast<size_t>(cell.Col)] : "";
            if (!text.empty())
                canvas.TextOut(cell.Rect.Left + 2, cell.Rect.Top, text, font_,
                               selected ? kColorHighlightText : fontColor_, std::nullopt);
        }
        if (cellDrawing_ != CellDrawing::Default)
            events_.OnDrawCell(cell.Col, cell.Row, cell.Rect, selected, canvas);
    }
}

// A combo box shows the selected item in its edit, or nothing; a tree
// expands the parents of its selected node (the nearest first) and scrolls
// it into view.
void FakeControl::SetItemIndex(int index) {
    itemIndex_ = index >= 0 && index < Count() ? index : -1;
    if (kind_ == ControlKind::ComboBox)
        text_ = itemIndex_ >= 0 ? items_[static_cast<size_t>(itemIndex_)] : std::string();
    if (IsNode(itemIndex_)) {
        for (int p = nodes_[static_cast<size_t>(itemIndex_)].Parent; p >= 0; p = nodes_[static_cast<size_t>(p)].Parent)
            ExpandNode(p);
        ShowRow(itemIndex_);
    }
}

void FakeControl::SetRowHeight(int height) {
    rowHeight_ = std::max(1, height);
    if (kind_ == ControlKind::TreeView)
        SetTopRow(TopRow());
}

int FakeControl::TopRow() const {
    return topNode_ < 0 ? 0 : ShownRows(nodes_, expanded_)[static_cast<size_t>(topNode_)];
}

void FakeControl::SetTopRow(int top) {
    std::vector<int> rows = ShownRows(nodes_, expanded_);
    int shown = static_cast<int>(std::count_if(rows.begin(), rows.end(), [](int r) { return r >= 0; }));
    top = std::clamp(top, 0, std::max(0, shown - FullRows()));
    auto at = std::find(rows.begin(), rows.end(), top);
    topNode_ = at == rows.end() ? -1 : static_cast<int>(at - rows.begin());
}

void FakeControl::ExpandNode(int index) {
    if (!HasChildren(nodes_, index) || expanded_[static_cast<size_t>(index)])
        return;
    expanded_[static_cast<size_t>(index)] = true;
    std::vector<int> rows = ShownRows(nodes_, expanded_);
    int row = rows[static_cast<size_t>(index)];
    if (row < 0)
        return;
    int lastChild = index + 1;
    for (int i = index + 1; i < Count(); ++i)
        if (nodes_[static_cast<size_t>(i)].Parent == index)
            lastChild = i;
    int children = rows[static_cast<size_t>(lastChild)] - row;
    int above = row - TopRow(), below = FullRows() - above - 1;
    if (above > 0 && children > below)
        SetTopRow(TopRow() + std::min(children - below, above));
}

void FakeControl::ShowRow(int index) {
    int row = ShownRows(nodes_, expanded_)[static_cast<size_t>(index)], top = TopRow();
    if (row < top)
        SetTopRow(row);
    else if (row - top >= FullRows() && row > top)
        SetTopRow(row - FullRows() + 1);
}

void FakeControl::SetExpanded(int index, bool expanded) {
    if (!IsNode(index))
        return;
    if (expanded) {
        ExpandNode(index);
        return;
    }
    if (!expanded_[static_cast<size_t>(index)])
        return;
    if (IsBelow(nodes_, topNode_, index))
        topNode_ = index;
    expanded_[static_cast<size_t>(index)] = false;
    if (IsBelow(nodes_, itemIndex_, index))
        itemIndex_ = index;
    SetTopRow(TopRow());
}

bool FakeControl::Expanded(int index) { return IsNode(index) && expanded_[static_cast<size_t>(index)]; }

std::optional<Bounds> FakeControl::ItemRect(int index) {
    if (!IsNode(index))
        return std::nullopt;
    int row = ShownRows(nodes_, expanded_)[static_cast<size_t>(index)];
    if (row < 0)
        return std::nullopt;
    return Bounds{0, (row - TopRow()) * rowHeight_, std::max(0, bounds_.Width - 4), rowHeight_};
}

void FakeControl::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    SetPosition(position_);
}

void FakeControl::SetPosition(int position) {
    const int before = position_;
    position_ = std::clamp(position, min_, max_);
    waiting_ = waiting_ || position_ != before;
}

// Kept as told. (Windows' lists and trees also show and hide theirs as their
// rows need; the headless ones never do by themselves.)
void FakeControl::SetScrollBars(bool horizontal, bool vertical) {
    if (kind_ == ControlKind::Painted)
        return;
    horizontalBar_ = horizontal;
    verticalBar_ = vertical;
}

void FakeControl::SetPicture(const std::string& bmp, bool) { picture_ = bmp; }

void FakeControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled && gui_.focused_ == this)
        gui_.focused_ = nullptr;
}

void FakeControl::SetVisible(bool visible) {
    waiting_ = waiting_ || visible != visible_;
    visible_ = visible;
    if (!visible && gui_.focused_ && !gui_.focused_->Showing())
        gui_.focused_ = nullptr;
}

bool FakeControl::VisibleInForm() const {
    for (const FakeControl* c = this; c; c = c->parent_)
        if (!c->visible_)
            return false;
    return true;
}

bool FakeControl::Showing() const { return VisibleInForm() && form_.Visible(); }

bool FakeControl::Usable() const {
    for (const FakeControl* c = this; c; c = c->parent_)
        if (!c->enabled_)
            return false;
    return true;
}

bool FakeControl::TakesInput() const {
    if (!Showing() || !Usable())
        return false;
    for (FakeForm* f = &form_; f; f = f->Host())
        if (!f->Enabled())
            return false;
    return true;
}

void FakeControl::SetFocus() {
    if (Showing() && Usable())
        gui_.focused_ = this;
}

bool FakeControl::Focused() { return gui_.focused_ == this; }

bool FakeControl::DrawnAsDefault() {
    if (kind_ != ControlKind::Button)
        return false;
    FakeControl* focused = gui_.focused_;
    bool buttonFocused = focused && focused->kind_ == ControlKind::Button && &focused->form_ == &form_;
    return buttonFocused ? focused == this : default_;
}

void FakeControl::SetFont(const FontSpec& font, ColorRef color) {
    font_ = font;
    fontColor_ = color;
}

void FakeControl::Click() {
    if (TakesInput())
        events_.OnClick();
}

void FakeControl::Mouse(const MouseInput& input) {
    if (kind_ != ControlKind::Painted || !TakesInput())
        return;
    int x = input.X + bounds_.Left, y = input.Y + bounds_.Top; // in the parent's client area
    auto under = [&](const FakeControl* c) {
        const Bounds& b = c->bounds_;
        return c->parent_ == parent_ && c->kind_ == ControlKind::Painted && c->TakesInput() && x >= b.Left &&
               y >= b.Top && x < b.Left + b.Width && y < b.Top + b.Height;
    };
    FakeControl* to = gui_.mouseHolder_;
    if (!to || to->parent_ != parent_ || &to->form_ != &form_) {
        const auto& all = form_.Controls();
        auto hit = std::find_if(all.rbegin(), all.rend(), under);
        if (hit == all.rend())
            return;
        to = *hit;
    }
    MouseInput at = input;
    at.X = x - to->bounds_.Left;
    at.Y = y - to->bounds_.Top;
    if (input.Action == MouseAction::Down || input.Action == MouseAction::DoubleClick) {
        if (!gui_.mouseHolder_)
            gui_.mouseHolder_ = to;
        if (input.Action == MouseAction::Down && input.Button == mk::Left)
            gui_.pressed_ = to;
    } else if (input.Action == MouseAction::Up) {
        bool click = input.Button == mk::Left && gui_.pressed_ == to && under(to);
        if (input.Button == mk::Left)
            gui_.pressed_ = nullptr;
        if (!(input.Keys & (mk::Left | mk::Right | mk::Middle)))
            gui_.mouseHolder_ = nullptr;
        if (click) {
            // The handler may destroy the control, or its form.
            FakeGui& gui = gui_;
            FakeForm* form = &form_;
            to->events_.OnClick();
            if (std::find(gui.forms_.begin(), gui.forms_.end(), form) == gui.forms_.end())
                return;
            const auto& all = form->Controls();
            if (std::find(all.begin(), all.end(), to) == all.end())
                return;
        }
    }
    to->events_.OnMouse(at);
}

// As a click on the node's button: the tree takes the focus too.
void FakeControl::Toggle(int index) {
    std::optional<Bounds> row = ItemRect(index);
    // The button must be on the screen: a row scrolled out of the client area has none to click.
    if (!TakesInput() || !row || row->Top < 0 || row->Top >= ClientHeight() || !HasChildren(nodes_, index))
        return;
    gui_.focused_ = this;
    int top = TopRow();
    bool expand = !expanded_[static_cast<size_t>(index)];
    SetExpanded(index, expand);
    events_.OnExpand(index, expand);
    if (TopRow() != top)
        events_.OnScroll();
}

void FakeControl::Scroll(int rows) {
    if (kind_ != ControlKind::TreeView || !TakesInput())
        return;
    for (int step = 0; step < std::abs(rows); ++step) {
        int top = TopRow();
        SetTopRow(top + (rows > 0 ? 1 : -1));
        if (TopRow() != top)
            events_.OnScroll();
    }
}

void FakeControl::Choose(int index) {
    if (!TakesInput() || index < 0 || index >= Count())
        return;
    SetItemIndex(index);
    events_.OnClick();
}

} // namespace sw::fake

namespace sw::fake {

// Handled as Windows' controls do: a grid's arrows move the selection by a
// cell or row; a tree's keys as below (TreeKey). A tree whose first row
// moved tells its owner once the key is handled.
void FakeControl::PressKey(int key, bool shift) {
    if (!TakesInput())
        return;
    gui_.focused_ = this;
    if (!TakesKeys())
        return;
    events_.OnKeyDown(key, shift);
    int cols = static_cast<int>(columns_.size());
    if (kind_ == ControlKind::Grid && cols > 0) {
        int to = GridKeyTarget(itemIndex_, key, cols, static_cast<int>(items_.size()), ClientHeight() / rowHeight_);
        if (to >= 0 && to != itemIndex_)
            Choose(to);
    } else if (kind_ == ControlKind::TreeView && IsNode(itemIndex_)) {
        int top = TopRow();
        TreeKey(key);
        if (TopRow() != top)
            events_.OnScroll();
    }
}

// Up and Down go to the shown node before or after, Page Up and Page Down as
// many nodes as rows show in full (no further than the first or last), Home
// and End to the first and last shown node. Left collapses an expanded node,
// else goes to its parent; Right expands a collapsed node, else goes to its
// first child.
void FakeControl::TreeKey(int key) {
    std::vector<int> rows = ShownRows(nodes_, expanded_);
    int row = rows[static_cast<size_t>(itemIndex_)];
    int last = *std::max_element(rows.begin(), rows.end());
    auto chooseRow = [&](int to) {
        to = std::clamp(to, 0, last);
        if (to != row)
            Choose(static_cast<int>(std::find(rows.begin(), rows.end(), to) - rows.begin()));
    };
    const int page = std::max(1, FullRows());
    const size_t at = static_cast<size_t>(itemIndex_);
    switch (key) {
    case vk::Up:
        return chooseRow(row - 1);
    case vk::Down:
        return chooseRow(row + 1);
    case vk::Prior:
        return chooseRow(row - page);
    case vk::Next:
        return chooseRow(row + page);
    case vk::Home:
        return chooseRow(0);
    case vk::End:
        return chooseRow(last);
    case vk::Left:
        if (expanded_[at]) {
            SetExpanded(itemIndex_, false);
            events_.OnExpand(itemIndex_, false);
        } else if (nodes_[at].Parent >= 0) {
            Choose(nodes_[at].Parent);
        }
        return;
    case vk::Right:
        if (!HasChildren(nodes_, itemIndex_))
            return;
        if (!expanded_[at]) {
            ExpandNode(itemIndex_);
            events_.OnExpand(itemIndex_, true);
        } else {
            Choose(itemIndex_ + 1);
        }
        return;
    default:
        return;
    }
}

} // namespace sw::fake
