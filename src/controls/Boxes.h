// Check boxes, radio buttons, group boxes and radio groups.
#pragma once

#include "controls/Control.h"
#include "project/StringList.h"

namespace sw {

// Setting Checked to a new value runs OnClick, as a click does.
class TCheckBox : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TCheckBox(TComponent* owner);

    bool Checked() const { return checked_; }
    void SetChecked(bool on);
    TAlignment Alignment = TAlignment::taRightJustify;

  protected:
    ControlKind WindowKind() const override { return ControlKind::CheckBox; }
    void ApplyTo(IControl& window) override;
    void WindowClicked() override { SetChecked(!checked_); }

  private:
    bool checked_ = false;
};

// Checking one clears the radio buttons beside it (same parent).
class TRadioButton : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return checked_; }
    void SetChecked(bool on);

  protected:
    ControlKind WindowKind() const override { return ControlKind::RadioButton; }
    void ApplyTo(IControl& window) override;
    void WindowClicked() override { SetChecked(true); }

  private:
    bool checked_ = false;
};

class TGroupBox : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TGroupBox(TComponent* owner);
    // Inside the frame, below the caption.
    Bounds AlignRect() const override;

  protected:
    ControlKind WindowKind() const override { return ControlKind::GroupBox; }
};

// A group box of radio buttons, one per item, in Columns columns. OnClick
// runs when the user or the program selects another item.
class TRadioGroup : public TGroupBox {
    SW_DECLARE_CLASS()
  public:
    explicit TRadioGroup(TComponent* owner);

    TStrings* Items() const { return items_.get(); }
    void SetItems(const std::vector<std::string>& items);
    int32_t ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int32_t index);
    int32_t Columns() const { return columns_; }
    void SetColumns(int32_t columns);
    // The button of an item (named Item0, Item1, ... and owned by the group).
    TRadioButton* Button(int index) const;

    void Loaded() override;

  protected:
    // The buttons follow the group's size.
    void PushBounds() override;

  private:
    // One button per item, placed in columns.
    void UpdateButtons();
    void ButtonClicked(int index);

    std::unique_ptr<TStrings> items_;
    int32_t itemIndex_ = -1;
    int32_t columns_ = 1;
    std::vector<TRadioButton*> buttons_;
};

} // namespace sw
