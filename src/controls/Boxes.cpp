#include "controls/Boxes.h"

#include "controls/ControlProps.h"

#include <algorithm>
#include <cstdlib>

namespace sw {

SW_CLASS_INFO(TCheckBox, TWinControl,
              ctlprop::Join({ctlprop::Placement(),
                             ctlprop::State(),
                             ctlprop::Looks(clBtnFace),
                             ctlprop::Caption(),
                             ctlprop::Tabs(true),
                             {prop::Boolean("Checked", &Self::Checked, &Self::SetChecked, false),
                              prop::Enumeration("Alignment", &Self::Alignment, AlignmentNames(),
                                                std::optional(TAlignment::taRightJustify))},
                             ctlprop::Click<TCheckBox>()}))

SW_CLASS_INFO(TRadioButton, TWinControl,
              ctlprop::Join({ctlprop::Placement(),
                             ctlprop::State(),
                             ctlprop::Looks(clBtnFace),
                             ctlprop::Caption(),
                             ctlprop::Tabs(false),
                             {prop::Boolean("Checked", &Self::Checked, &Self::SetChecked, false)},
                             ctlprop::Click<TRadioButton>()}))

SW_CLASS_INFO(TGroupBox, TWinControl,
              ctlprop::Join({ctlprop::Placement(), ctlprop::State(),
                             ctlprop::Looks(clBtnFace), ctlprop::Caption(),
                             ctlprop::Tabs(false), ctlprop::Click<TGroupBox>()}))

SW_CLASS_INFO(TRadioGroup, TGroupBox, prop::Object("Items", &Self::Items),
              prop::Integer("ItemIndex", &Self::ItemIndex, &Self::SetItemIndex, -1),
              prop::Integer("Columns", &Self::Columns, &Self::SetColumns, 1))

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    SetBounds({0, 0, 97, 17});
    SetTabStop(true);
}

void TCheckBox::SetChecked(bool on) {
    if (on == checked_)
        return;
    checked_ = on;
    if (Handle())
        Handle()->SetChecked(on);
    if (!InLoading())
        Click();
}

void TCheckBox::ApplyTo(IControl& window) {
    TWinControl::ApplyTo(window);
    window.SetChecked(checked_);
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) { SetBounds({0, 0, 113, 17}); }

void TRadioButton::SetChecked(bool on) {
    if (on == checked_)
        return;
    checked_ = on;
    SetTabStop(on);
    if (Handle())
        Handle()->SetChecked(on);
    if (!on)
        return;
    if (TWinControl* parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i)); other && other != this)
                other->SetChecked(false);
    if (!InLoading())
        Click();
}

void TRadioButton::ApplyTo(IControl& window) {
    TWinControl::ApplyTo(window);
    window.SetChecked(checked_);
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) { SetBounds({0, 0, 185, 105}); }

Bounds TGroupBox::AlignRect() const {
    int caption = std::abs(Font()->Height()) + 2;
    return {2, caption, std::max(0, Width() - 4), std::max(0, Height() - caption - 2)};
}

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner), items_(std::make_unique<TStrings>()) {}

TRadioButton* TRadioGroup::Button(int index) const {
    return index >= 0 && static_cast<size_t>(index) < buttons_.size() ? buttons_[static_cast<size_t>(index)] : nullptr;
}

void TRadioGroup::SetItems(const std::vector<std::string>& items) {
    items_->Lines = items;
    UpdateButtons();
}

void TRadioGroup::SetItemIndex(int32_t index) {
    if (InLoading()) {
        itemIndex_ = index;
        return;
    }
    if (TRadioButton* b = Button(index)) {
        b->SetChecked(true); // unchecks the others; its click selects the item
        return;
    }
    itemIndex_ = -1;
    for (TRadioButton* other : buttons_)
        other->SetChecked(false);
}

void TRadioGroup::SetColumns(int32_t columns) {
    columns_ = std::clamp(columns, 1, 16);
    UpdateButtons();
}

void TRadioGroup::Loaded() {
    TGroupBox::Loaded();
    UpdateButtons();
    SetItemIndex(itemIndex_);
}

void TRadioGroup::ButtonClicked(int index) {
    if (index == itemIndex_ || !Button(index)->Checked())
        return;
    itemIndex_ = index;
    Click();
}

void TRadioGroup::PushBounds() {
    TGroupBox::PushBounds();
    UpdateButtons();
}

void TRadioGroup::UpdateButtons() {
    if (InLoading())
        return;
    while (buttons_.size() > static_cast<size_t>(items_->Count())) {
        TComponent::Free(buttons_.back());
        buttons_.pop_back();
    }
    while (buttons_.size() < static_cast<size_t>(items_->Count())) {
        auto* b = new TRadioButton(this);
        int index = static_cast<int>(buttons_.size());
        b->SetName("Item" + std::to_string(index));
        b->OnClick = TNotifyEvent("", [this, index](TPersistent*) { ButtonClicked(index); });
        b->SetParent(this);
        buttons_.push_back(b);
    }
    // Rows of equal height below the caption, the spare pixels split above and below.
    int count = static_cast<int>(buttons_.size());
    if (count == 0)
        return;
    int perColumn = (count + columns_ - 1) / columns_;
    int textHeight = std::abs(Font()->Height()) + 2;
    int width = (Width() - 10) / columns_;
    int space = Height() - textHeight - 5;
    int height = space / perColumn;
    int top = textHeight + 1 + (space % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        TRadioButton* b = buttons_[static_cast<size_t>(i)];
        b->SetCaption(items_->Lines[static_cast<size_t>(i)]);
        b->SetBounds({(i / perColumn) * width + 8, (i % perColumn) * height + top, width, height});
    }
}

} // namespace sw
