// The common controls: progress bar, tab strip, tree view and report list.
#pragma once

#include "controls/Control.h"
#include "controls/ExtCtrls.h"
#include "controls/ImgList.h"
#include "project/Collection.h"
#include "project/StringList.h"

#include <memory>
#include <optional>
#include <vector>

namespace sw {

class TProgressBar : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TProgressBar(TComponent* owner);

    int32_t Min() const { return min_; }
    void SetMin(int32_t v);
    int32_t Max() const { return max_; }
    void SetMax(int32_t v);
    // Kept within Min..Max.
    int32_t Position() const { return position_; }
    void SetPosition(int32_t v);
    int32_t Step = 10;
    void StepIt() { SetPosition(position_ + Step); }

  protected:
    ControlKind WindowKind() const override { return ControlKind::ProgressBar; }
    void ApplyTo(IControl& window) override;

  private:
    int32_t min_ = 0;
    int32_t max_ = 100;
    int32_t position_ = 0;
};

// A row of tabs. A user's choice asks OnChanging (which may refuse), then
// selects the tab and runs OnChange; setting TabIndex runs neither.
class TTabControl : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TTabControl(TComponent* owner);

    TStrings* Tabs() const { return tabs_.get(); }
    void SetTabs(const std::vector<std::string>& tabs);
    int32_t TabIndex() const { return tabIndex_; }
    void SetTabIndex(int32_t index);

    TNotifyEvent OnChange;
    TEvent<TPersistent*, bool&> OnChanging;

    void Loaded() override;

  protected:
    ControlKind WindowKind() const override { return ControlKind::TabStrip; }
    void ApplyTo(IControl& window) override;
    void WindowClicked() override;

  private:
    std::unique_ptr<TStrings> tabs_;
    int32_t tabIndex_ = -1;
};

class TTreeView;

class TTreeNode {
  public:
    TTreeNode(TTreeView& tree, TTreeNode* parent, std::string text, void* data)
        : Text(std::move(text)), Data(data), tree_(tree), parent_(parent) {}
    std::string Text;
    void* Data;
    TTreeView& TreeView() const { return tree_; }
    TTreeNode* Parent() const { return parent_; }
    int Level() const { return parent_ ? parent_->Level() + 1 : 0; }
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int i) const { return children_.at(static_cast<size_t>(i)).get(); }
    // The place among all nodes of the tree, each before its children.
    int AbsoluteIndex() const;

    // An expanded node shows its children; one without children stays
    // collapsed. Expanding goes one level down, or through every level below
    // with `recurse`; so does collapsing.
    bool Expanded() const { return expanded_; }
    void SetExpanded(bool on);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    // Shown in the tree: every parent expanded.
    bool IsVisible() const;
    // Whether `ancestor` holds this node, at any depth.
    bool HasAsParent(const TTreeNode* ancestor) const;
    // The node's row in the tree's client area (above it when scrolled past:
    // a negative top); none while the node is not shown or the tree has no
    // window.
    std::optional<Bounds> DisplayRect() const;

  private:
    friend class TTreeView;
    TTreeView& tree_;
    TTreeNode* parent_;
    bool expanded_ = false;
    std::vector<std::unique_ptr<TTreeNode>> children_;
};

// Nodes with data, the root nodes collapsed when added. The window shows the
// nodes whose parents are expanded, indented by level. A user's choice
// selects a node and runs OnChange with it; a user's click on a node's button
// expands or collapses it (OnExpanded, OnCollapsed), and scrolling runs
// OnScroll. Collapsing a node that holds the selection selects the node.
class TTreeView : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TTreeView(TComponent* owner);

    // Adds a node under `parent` (none: a root node), last among its siblings.
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text, void* data = nullptr);
    void Clear();
    // Every node, each before its children.
    std::vector<TTreeNode*> Nodes() const;
    TTreeNode* Selected() const { return selected_; }
    // Selects a node (expanding its parents) or none.
    void SetSelected(TTreeNode* node);

    // bsSingle: a sunken edge around the tree; bsNone: none.
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    bool ReadOnly = false;
    bool HideSelection = true;
    bool ShowButtons = true;
    bool ShowLines = true;
    bool ShowRoot = true;
    int32_t Indent = 19;
    TEvent<TPersistent*, TTreeNode*> OnChange;
    TEvent<TPersistent*, TTreeNode*> OnExpanded;
    TEvent<TPersistent*, TTreeNode*> OnCollapsed;
    TNotifyEvent OnScroll;

  protected:
    ControlKind WindowKind() const override { return ControlKind::TreeView; }
    void ApplyTo(IControl& window) override;
    void WindowClicked() override;
    void WindowExpanded(int index, bool expanded) override;
    void WindowScrolled() override { OnScroll(this); }

  private:
    friend class TTreeNode;
    void NodesChanged();
    std::vector<std::string> Lines() const;
    // Sets a node's state, tells the window and runs the event.
    void ExpandNode(TTreeNode& node, bool expanded);
    // Expands the node's parents, the outermost first.
    void ExpandParents(TTreeNode& node);
    // The node now holds the selection if it held the selected node.
    void Collapsed(TTreeNode& node);

    std::vector<std::unique_ptr<TTreeNode>> roots_;
    TTreeNode* selected_ = nullptr;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
};

class TListColumn : public TCollectionItem {
    SW_DECLARE_CLASS()
  public:
    std::string Caption;
    int32_t Width = 50;
};

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

struct TListItem {
    std::string Caption;
    std::vector<std::string> SubItems;
    int32_t ImageIndex = -1;
    int32_t StateIndex = -1;
    void* Data = nullptr;
};

// A report: a row per item, its caption and sub-items under the columns, and
// the item's image and state image from the image lists.
class TListView : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TListView(TComponent* owner);
    ~TListView() override;

    TImageList* SmallImages() const { return images_[0]; }
    void SetSmallImages(TImageList* list) { SetImages(ImageListRole::Small, list); }
    TImageList* StateImages() const { return images_[1]; }
    void SetStateImages(TImageList* list) { SetImages(ImageListRole::State, list); }

    TCollection* Columns() const { return columns_.get(); }
    TListColumn* AddColumn(const std::string& caption, int32_t width);
    const std::vector<TListItem>& Items() const { return items_; }
    void AddItem(TListItem item);
    void Clear();
    int32_t ItemIndex() const { return itemIndex_; }

    TViewStyle ViewStyle = TViewStyle::vsIcon;
    bool ReadOnly = false;
    bool ColumnClick = true;
    bool HideSelection = true;

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

  protected:
    ControlKind WindowKind() const override { return ControlKind::ListView; }
    void ApplyTo(IControl& window) override;
    void WindowClicked() override;

  private:
    void ColumnsChanged();
    void ItemsChanged();
    void SetImages(ImageListRole role, TImageList* list);
    void ImagesChanged(ImageListRole role);

    std::unique_ptr<TCollection> columns_;
    TImageList* images_[2] = {nullptr, nullptr};
    std::vector<TListItem> items_;
    int32_t itemIndex_ = -1;
};

} // namespace sw
