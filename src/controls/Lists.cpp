#include "controls/Lists.h"

#include "controls/ControlProps.h"
#include "project/Text.h"

#include <algorithm>

namespace sw {

namespace {
const TEnumInfo kComboStyles{{"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};

template <class C> std::vector<TPropInfo> ListCommon() {
    return ctlprop::Join({ctlprop::Placement(),
                          ctlprop::State(),
                          ctlprop::Looks(clWindow),
                          ctlprop::Tabs(true),
                          {prop::Object("Items", &C::Items), prop::Boolean("Sorted", &C::Sorted, &C::SetSorted, false)},
                          ctlprop::Click<C>()});
}
} // namespace

SW_CLASS_INFO(TCustomListControl, TWinControl)

SW_CLASS_INFO(TListBox, TCustomListControl, ListCommon<TListBox>())

SW_CLASS_INFO(TComboBox, TCustomListControl,
              ctlprop::Join({ListCommon<TComboBox>(),
                             ctlprop::Text(),
                             {prop::Enumeration("Style", &Self::Style, kComboStyles,
                                                std::optional(TComboBoxStyle::csDropDown)),
                              prop::Event("OnChange", &Self::OnChange)}}))

TCustomListControl::TCustomListControl(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStrings>()) {
    SetColor(clWindow);
    SetTabStop(true);
}

void TCustomListControl::SetItems(const std::vector<std::string>& items) {
    items_->Lines = items;
    ItemsChanged();
}

void TCustomListControl::AddItem(const std::string& item) {
    items_->Lines.push_back(item);
    ItemsChanged();
}

void TCustomListControl::SetSorted(bool on) {
    sorted_ = on;
    ItemsChanged();
}

void TCustomListControl::Loaded() {
    TWinControl::Loaded();
    ItemsChanged();
}

void TCustomListControl::ItemsChanged() {
    if (InLoading())
        return;
    auto& lines = items_->Lines;
    if (sorted_)
        std::stable_sort(lines.begin(), lines.end(),
                         [](const std::string& a, const std::string& b) { return UpperCase(a) < UpperCase(b); });
    itemIndex_ = -1;
    if (Handle())
        Handle()->SetItems(lines);
}

void TCustomListControl::SetItemIndex(int32_t index) {
    itemIndex_ = index >= 0 && index < items_->Count() ? index : -1;
    if (Handle())
        Handle()->SetItemIndex(itemIndex_);
}

// Items first: filling a combo box's list clears its text.
void TCustomListControl::ApplyTo(IControl& window) {
    window.SetItems(items_->Lines);
    window.SetItemIndex(itemIndex_);
    TWinControl::ApplyTo(window);
}

void TCustomListControl::WindowClicked() {
    itemIndex_ = Handle()->ItemIndex();
    Selected();
    Click();
}

TListBox::TListBox(TComponent* owner) : TCustomListControl(owner) { SetBounds({0, 0, 121, 97}); }

TComboBox::TComboBox(TComponent* owner) : TCustomListControl(owner) { SetBounds({0, 0, 145, 21}); }

void TComboBox::Selected() {
    if (ItemIndex() >= 0)
        SetText(Items()->Lines[static_cast<size_t>(ItemIndex())]);
}

void TComboBox::WindowChanged() { SetCaption(Handle()->Text()); }

void TComboBox::TextChanged() {
    if (!InLoading())
        OnChange(this);
}

} // namespace sw
