// List boxes and combo boxes. Change the items through the control's own
// methods, so that a shown window follows.
#pragma once

#include "controls/Control.h"
#include "project/StringList.h"

namespace sw {

class TCustomListControl : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TCustomListControl(TComponent* owner);

    TStrings* Items() const { return items_.get(); }
    void SetItems(const std::vector<std::string>& items);
    void AddItem(const std::string& item);
    void Clear() { SetItems({}); }
    int32_t ItemIndex() const { return itemIndex_; }
    // An index outside the items selects nothing.
    void SetItemIndex(int32_t index);
    // Items stay in ascending order, without regard to case.
    bool Sorted() const { return sorted_; }
    void SetSorted(bool on);

    void Loaded() override;

  protected:
    void ApplyTo(IControl& window) override;
    void WindowClicked() override;
    virtual void Selected() {}

  private:
    void ItemsChanged();

    std::unique_ptr<TStrings> items_;
    int32_t itemIndex_ = -1;
    bool sorted_ = false;
};

class TListBox : public TCustomListControl {
    SW_DECLARE_CLASS()
  public:
    explicit TListBox(TComponent* owner);

  protected:
    ControlKind WindowKind() const override { return ControlKind::ListBox; }
};

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// Choosing an item puts it into the text and runs OnClick and OnChange.
class TComboBox : public TCustomListControl {
    SW_DECLARE_CLASS()
  public:
    explicit TComboBox(TComponent* owner);

    TComboBoxStyle Style = TComboBoxStyle::csDropDown;
    TNotifyEvent OnChange;

  protected:
    ControlKind WindowKind() const override { return ControlKind::ComboBox; }
    void Selected() override;
    void WindowChanged() override;
    void TextChanged() override;
};

} // namespace sw
