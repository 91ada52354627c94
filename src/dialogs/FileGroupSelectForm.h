// The wizard page on which the user chooses the file groups to install and
// where each goes: the groups as a tree with a check box and a size beside
// each shown row, the selected group's description and folder, and the space
// the chosen groups need on each drive against the space free.
#pragma once

#include "controls/Boxes.h"
#include "controls/ComCtrls.h"
#include "controls/StdCtrls.h"
#include "dialogs/BaseForms.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sw {

class TFileContainer;
class TFileGroupSelectForm;
class TPanel;
class TEdit;
class TMemo;
class TGroupBox;
class TImageList;

// Read-only, keeping its selection drawn; each node's data is a file
// container (the driver at the root).
class TGroupTreeView : public TTreeView {
  public:
    explicit TGroupTreeView(TComponent* owner);
    static TFileContainer* GroupOf(const TTreeNode* node) {
        return node ? static_cast<TFileContainer*>(node->Data) : nullptr;
    }
};

class TIncludeCheckBox : public TCheckBox {
  public:
    TIncludeCheckBox(TComponent* owner, TFileGroupSelectForm& page) : TCheckBox(owner), Page(page) {}
    TFileGroupSelectForm& Page;
    TFileContainer* Group = nullptr;
    // Raised while the page sets the check mark, so it is not taken as a click.
    bool Suppress = false;
};

class TSizeLabel : public TLabel {
  public:
    TSizeLabel(TComponent* owner, TFileGroupSelectForm& page) : TLabel(owner), Page(page) {}
    TFileGroupSelectForm& Page;
    TFileContainer* Group = nullptr;
};

// Controls made on demand, one per shown row, and reused.
template <class T> class TRowControlList {
  public:
    T* At(size_t index) const { return index < items_.size() ? items_[index] : nullptr; }
    size_t Count() const { return items_.size(); }
    void Add(T* item) { items_.push_back(item); }

  private:
    std::vector<T*> items_;
};
using TIncludeList = TRowControlList<TIncludeCheckBox>;
using TSizeList = TRowControlList<TSizeLabel>;

class TDriveSpaceListView : public TListView {
  public:
    TDriveSpaceListView(TComponent* owner, TImageList* images);
};

// One drive of the drive list.
struct TDriveSpace {
    std::string Drive;
    int32_t Required = 0;
    int64_t Free = 0;
};

class TFileGroupSelectForm : public TBaseInstallForm {
    SW_DECLARE_CLASS()
  public:
    explicit TFileGroupSelectForm(TComponent* owner);

    static constexpr size_t kMaxDrives = 25;

    bool SkipPage() override;
    void UpdatePage() override;

    TGroupTreeView* GroupTree() const { return tree_; }
    TDriveSpaceListView* DriveList() const { return driveList_; }
    const std::vector<TDriveSpace>& Drives() const { return drives_; }
    const TIncludeList& IncludeList() const { return includes_; }
    const TSizeList& SizeList() const { return sizes_; }

    void FillTree();
    void RefreshCheckBoxes();
    void RefreshSizeLabels();
    void RefreshDetails();
    void RefreshDriveList();
    void IncludeClicked(TIncludeCheckBox& box);
    void Browse();

  private:
    TFileContainer* CheckedContainer(const std::string& componentName) const;
    // The shown nodes whose rows lie inside the tree, top to bottom.
    template <class F> void ForEachShownRow(F&& f);
    void AddDriveUsage(TFileContainer& group);
    void RefreshRows();

    TGroupTreeView* tree_ = nullptr;
    TDriveSpaceListView* driveList_ = nullptr;
    TImageList* images_ = nullptr;
    TPanel* pnlInclude_ = nullptr;
    TPanel* pnlSize_ = nullptr;
    TPanel* pnlDriveSpace_ = nullptr;
    TEdit* directory_ = nullptr;
    TMemo* memo_ = nullptr;
    TControl* descLabel_ = nullptr;
    TControl* browseBtn_ = nullptr;
    TIncludeList includes_;
    TSizeList sizes_;
    std::vector<TDriveSpace> drives_;
    bool updating_ = false;
};

// "%0.0n": the whole number with thousands separators.
std::string FormatThousands(int64_t value);

} // namespace sw
