#include "controls/ComCtrls.h"

#include "controls/ControlProps.h"

#include <algorithm>

namespace sw {

namespace {
const TEnumInfo kViewStyles{{"vsIcon", "vsSmallIcon", "vsList", "vsReport"}};

template <class C> std::vector<TPropInfo> Common(TColor color, bool tabStop) {
    return ctlprop::Join({ctlprop::Placement(), ctlprop::State(), ctlprop::Looks(color), ctlprop::Tabs(tabStop)});
}

std::string JoinCells(const std::string& first, const std::vector<std::string>& rest) {
    std::string row = first;
    for (const auto& cell : rest)
        row += "\t" + cell;
    return row;
}
} // namespace

SW_CLASS_INFO(TProgressBar, TWinControl,
              ctlprop::Join({Common<TProgressBar>(clBtnFace, false),
                             {prop::Integer("Min", &Self::Min, &Self::SetMin, 0),
                              prop::Integer("Max", &Self::Max, &Self::SetMax, 100),
                              prop::Integer("Position", &Self::Position, &Self::SetPosition, 0),
                              prop::Integer("Step", &Self::Step, 10)}}))

SW_CLASS_INFO(TTabControl, TWinControl,
              ctlprop::Join({Common<TTabControl>(clBtnFace, true),
                             {prop::Object("Tabs", &Self::Tabs),
                              prop::Integer("TabIndex", &Self::TabIndex, &Self::SetTabIndex, -1),
                              prop::Event("OnChange", &Self::OnChange), prop::Event("OnChanging", &Self::OnChanging)}}))

SW_CLASS_INFO(
    TTreeView, TWinControl,
    ctlprop::Join(
        {Common<TTreeView>(clWindow, true),
         {prop::Enumeration("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle, BorderStyleNames(),
                            std::optional(TBorderStyle::bsSingle)),
          prop::Boolean("ReadOnly", &Self::ReadOnly, false), prop::Boolean("HideSelection", &Self::HideSelection, true),
          prop::Boolean("ShowButtons", &Self::ShowButtons, true), prop::Boolean("ShowLines", &Self::ShowLines, true),
          prop::Boolean("ShowRoot", &Self::ShowRoot, true), prop::Integer("Indent", &Self::Indent, 19),
          prop::Event("OnChange", &Self::OnChange), prop::Event("OnExpanded", &Self::OnExpanded),
          prop::Event("OnCollapsed", &Self::OnCollapsed), prop::Event("OnKeyDown", &Self::OnKeyDown)},
         ctlprop::Click<TTreeView>()}))

SW_CLASS_INFO(TListColumn, TPersistent, prop::String("Caption", &Self::Caption),
              prop::Integer("Width", &Self::Width, 50))

SW_CLASS_INFO(TListView, TWinControl,
              ctlprop::Join({Common<TListView>(clWindow, true),
                             {prop::Collection("Columns", &Self::Columns),
                              prop::Enumeration("ViewStyle", &Self::ViewStyle, kViewStyles,
                                                std::optional(TViewStyle::vsIcon)),
                              prop::Boolean("ReadOnly", &Self::ReadOnly, false),
                              prop::Boolean("ColumnClick", &Self::ColumnClick, true),
                              prop::Boolean("HideSelection", &Self::HideSelection, true),
                              prop::Reference("SmallImages", &Self::SmallImages, &Self::SetSmallImages),
                              prop::Reference("StateImages", &Self::StateImages, &Self::SetStateImages)},
                             ctlprop::Click<TListView>()}))

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds({0, 0, 150, 16}); }

void TProgressBar::SetMin(int32_t v) {
    min_ = v;
    max_ = std::max(max_, min_);
    SetPosition(position_);
    if (Handle())
        Handle()->SetRange(min_, max_);
}

void TProgressBar::SetMax(int32_t v) {
    max_ = v;
    min_ = std::min(min_, max_);
    SetPosition(position_);
    if (Handle())
        Handle()->SetRange(min_, max_);
}

void TProgressBar::SetPosition(int32_t v) {
    position_ = std::clamp(v, min_, max_);
    if (Handle())
        Handle()->SetPosition(position_);
}

void TProgressBar::ApplyTo(IControl& window) {
    TWinControl::ApplyTo(window);
    window.SetRange(min_, max_);
    window.SetPosition(position_);
}

TTabControl::TTabControl(TComponent* owner) : TWinControl(owner), tabs_(std::make_unique<TStrings>()) {
    SetBounds({0, 0, 289, 193});
    SetTabStop(true);
}

void TTabControl::SetTabs(const std::vector<std::string>& tabs) {
    tabs_->Lines = tabs;
    tabIndex_ = tabs.empty() ? -1 : std::clamp(tabIndex_, 0, static_cast<int32_t>(tabs.size()) - 1);
    if (Handle())
        ApplyTo(*Handle());
}

void TTabControl::SetTabIndex(int32_t index) {
    if (InLoading()) {
        tabIndex_ = index;
        return;
    }
    tabIndex_ = index >= 0 && index < tabs_->Count() ? index : -1;
    if (Handle())
        Handle()->SetItemIndex(tabIndex_);
}

void TTabControl::Loaded() {
    TWinControl::Loaded();
    SetTabIndex(tabIndex_);
}

void TTabControl::ApplyTo(IControl& window) {
    TWinControl::ApplyTo(window);
    window.SetItems(tabs_->Lines);
    window.SetItemIndex(tabIndex_);
}

void TTabControl::WindowClicked() {
    int chosen = Handle()->ItemIndex();
    bool allow = true;
    OnChanging(this, allow);
    if (!allow) {
        Handle()->SetItemIndex(tabIndex_);
        return;
    }
    tabIndex_ = chosen;
    OnChange(this);
}

int TTreeNode::AbsoluteIndex() const {
    std::vector<TTreeNode*> nodes = tree_.Nodes();
    return static_cast<int>(std::find(nodes.begin(), nodes.end(), this) - nodes.begin());
}

void TTreeNode::SetExpanded(bool on) { tree_.ExpandNode(*this, on); }

void TTreeNode::Expand(bool recurse) {
    SetExpanded(true);
    if (recurse)
        for (const auto& child : children_)
            child->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
    if (recurse)
        for (const auto& child : children_)
            child->Collapse(true);
    SetExpanded(false);
}

bool TTreeNode::IsVisible() const {
    for (const TTreeNode* p = parent_; p; p = p->parent_)
        if (!p->expanded_)
            return false;
    return true;
}

bool TTreeNode::HasAsParent(const TTreeNode* ancestor) const {
    for (const TTreeNode* p = parent_; p; p = p->parent_)
        if (p == ancestor)
            return true;
    return false;
}

std::optional<Bounds> TTreeNode::DisplayRect() const {
    if (!tree_.Handle())
        return std::nullopt;
    return tree_.Handle()->ItemRect(AbsoluteIndex());
}

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner) {
    SetBounds({0, 0, 121, 97});
    SetColor(clWindow);
    SetTabStop(true);
}

TTreeNode* TTreeView::AddChild(TTreeNode* parent, const std::string& text, void* data) {
    auto& list = parent ? parent->children_ : roots_;
    list.push_back(std::make_unique<TTreeNode>(*this, parent, text, data));
    TTreeNode* node = list.back().get();
    NodesChanged();
    return node;
}

void TTreeView::Clear() {
    selected_ = nullptr;
    roots_.clear();
    NodesChanged();
}

std::vector<TTreeNode*> TTreeView::Nodes() const {
    std::vector<TTreeNode*> all;
    auto walk = [&](auto& self, const std::vector<std::unique_ptr<TTreeNode>>& list) -> void {
        for (const auto& n : list) {
            all.push_back(n.get());
            self(self, n->children_);
        }
    };
    walk(walk, roots_);
    return all;
}

std::vector<std::string> TTreeView::Lines() const {
    std::vector<std::string> lines;
    for (TTreeNode* n : Nodes())
        lines.push_back(std::string(static_cast<size_t>(n->Level()), '\t') + n->Text);
    return lines;
}

void TTreeView::NodesChanged() {
    if (Handle())
        ApplyTo(*Handle());
}

void TTreeView::ExpandNode(TTreeNode& node, bool expanded) {
    if (node.expanded_ == expanded || (expanded && node.children_.empty()))
        return;
    node.expanded_ = expanded;
    if (Handle())
        Handle()->SetExpanded(node.AbsoluteIndex(), expanded);
    if (!expanded)
        Collapsed(node);
    (expanded ? OnExpanded : OnCollapsed)(this, &node);
}

void TTreeView::ExpandParents(TTreeNode& node) {
    std::vector<TTreeNode*> parents;
    for (TTreeNode* p = node.parent_; p; p = p->parent_)
        parents.push_back(p);
    for (auto p = parents.rbegin(); p != parents.rend(); ++p)
        ExpandNode(**p, true);
}

void TTreeView::Collapsed(TTreeNode& node) {
    if (!selected_ || !selected_->HasAsParent(&node))
        return;
    selected_ = &node;
    OnChange(this, selected_);
}

void TTreeView::SetSelected(TTreeNode* node) {
    auto nodes = Nodes();
    auto it = std::find(nodes.begin(), nodes.end(), node);
    selected_ = it == nodes.end() ? nullptr : node;
    if (selected_)
        ExpandParents(*selected_);
    if (Handle())
        Handle()->SetItemIndex(selected_ ? static_cast<int>(it - nodes.begin()) : -1);
    OnChange(this, selected_);
}

namespace {
// The border is the window's sunken edge.
BevelKind TreeEdge(TBorderStyle style) {
    return style == TBorderStyle::bsSingle ? BevelKind::Lowered : BevelKind::None;
}
} // namespace

void TTreeView::SetBorderStyle(TBorderStyle style) {
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    if (Handle())
        Handle()->SetBevel(TreeEdge(style));
}

void TTreeView::ApplyTo(IControl& window) {
    TWinControl::ApplyTo(window);
    window.SetBevel(TreeEdge(borderStyle_));
    window.SetItems(Lines());
    auto nodes = Nodes();
    for (size_t i = 0; i < nodes.size(); ++i)
        if (nodes[i]->expanded_)
            window.SetExpanded(static_cast<int>(i), true);
    auto it = std::find(nodes.begin(), nodes.end(), selected_);
    window.SetItemIndex(it == nodes.end() ? -1 : static_cast<int>(it - nodes.begin()));
}

void TTreeView::WindowClicked() {
    int index = Handle()->ItemIndex();
    auto nodes = Nodes();
    selected_ = index >= 0 && static_cast<size_t>(index) < nodes.size() ? nodes[static_cast<size_t>(index)] : nullptr;
    // The window shows the chosen node: its parents are expanded there.
    if (selected_)
        ExpandParents(*selected_);
    OnChange(this, selected_);
    Click();
}

void TTreeView::WindowExpanded(int index, bool expanded) {
    auto nodes = Nodes();
    if (index < 0 || static_cast<size_t>(index) >= nodes.size())
        return;
    TTreeNode& node = *nodes[static_cast<size_t>(index)];
    node.expanded_ = expanded;
    if (!expanded)
        Collapsed(node);
    (expanded ? OnExpanded : OnCollapsed)(this, &node);
}

TListView::TListView(TComponent* owner)
    : TWinControl(owner), columns_(std::make_unique<TCollection>([] { return std::make_unique<TListColumn>(); })) {
    SetBounds({0, 0, 250, 150});
    SetColor(clWindow);
    SetTabStop(true);
}

TListView::~TListView() {
    for (TImageList* list : images_)
        if (list)
            list->UnRegisterChanges(this);
}

void TListView::SetImages(ImageListRole role, TImageList* list) {
    TImageList*& slot = images_[static_cast<size_t>(role)];
    if (list == slot)
        return;
    if (slot && slot != images_[1 - static_cast<size_t>(role)])
        slot->UnRegisterChanges(this);
    slot = list;
    if (list) {
        list->FreeNotification(this);
        list->RegisterChanges(this, [this] {
            ImagesChanged(ImageListRole::Small);
            ImagesChanged(ImageListRole::State);
        });
    }
    ImagesChanged(role);
}

void TListView::ImagesChanged(ImageListRole role) {
    if (!Handle())
        return;
    TImageList* list = images_[static_cast<size_t>(role)];
    Handle()->SetImageList(role, list ? list->Spec() : ImageListSpec{});
}

void TListView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    for (auto role : {ImageListRole::Small, ImageListRole::State})
        if (component == images_[static_cast<size_t>(role)]) {
            images_[static_cast<size_t>(role)] = nullptr;
            ImagesChanged(role);
        }
}

TListColumn* TListView::AddColumn(const std::string& caption, int32_t width) {
    auto* column = static_cast<TListColumn*>(columns_->Add());
    column->Caption = caption;
    column->Width = width;
    ColumnsChanged();
    return column;
}

void TListView::AddItem(TListItem item) {
    items_.push_back(std::move(item));
    ItemsChanged();
}

void TListView::Clear() {
    items_.clear();
    itemIndex_ = -1;
    ItemsChanged();
}

void TListView::Loaded() {
    TWinControl::Loaded();
    ColumnsChanged();
}

void TListView::ColumnsChanged() {
    if (!Handle())
        return;
    std::vector<ColumnSpec> specs;
    for (int i = 0; i < columns_->Count(); ++i) {
        auto* c = static_cast<TListColumn*>(columns_->Items(i));
        specs.push_back({c->Caption, c->Width});
    }
    Handle()->SetColumns(specs);
}

void TListView::ItemsChanged() {
    if (!Handle())
        return;
    std::vector<std::string> rows;
    std::vector<ItemImages> images;
    for (const auto& item : items_) {
        rows.push_back(JoinCells(item.Caption, item.SubItems));
        images.push_back({item.ImageIndex, item.StateIndex});
    }
    Handle()->SetItems(rows);
    Handle()->SetItemImages(images);
    Handle()->SetItemIndex(itemIndex_);
}

void TListView::ApplyTo(IControl& window) {
    TWinControl::ApplyTo(window);
    ImagesChanged(ImageListRole::Small);
    ImagesChanged(ImageListRole::State);
    ColumnsChanged();
    ItemsChanged();
}

void TListView::WindowClicked() {
    itemIndex_ = Handle()->ItemIndex();
    Click();
}

} // namespace sw
