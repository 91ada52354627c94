#include "controls/StdCtrls.h"

#include "controls/ControlProps.h"
#include "controls/Forms.h"
#include "platform/Platform.h"

namespace sw {

namespace {
const TEnumInfo kTextLayouts{{"tlTop", "tlCenter", "tlBottom"}};
const TEnumInfo kBitBtnKinds{
    {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"}};
const TEnumInfo kButtonLayouts{{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
const TIdentMap kModalResults{{{"mrNone", mrNone},
                               {"mrOk", mrOk},
                               {"mrCancel", mrCancel},
                               {"mrAbort", mrAbort},
                               {"mrRetry", mrRetry},
                               {"mrIgnore", mrIgnore},
                               {"mrYes", mrYes},
                               {"mrNo", mrNo},
                               {"mrAll", mrAll}}};
} // namespace

SW_CLASS_INFO(TLabel, TControl,
              ctlprop::Join({ctlprop::Placement(),
                             ctlprop::State(),
                             ctlprop::Looks(clBtnFace),
                             ctlprop::Caption(),
                             {prop::Enumeration("Alignment", &Self::Alignment, &Self::SetAlignment, AlignmentNames(),
                                                std::optional(TAlignment::taLeftJustify)),
                              prop::Boolean("AutoSize", &Self::AutoSize, &Self::SetAutoSize, true),
                              prop::Boolean("WordWrap", &Self::WordWrap, &Self::SetWordWrap, false),
                              prop::Boolean("Transparent", &Self::Transparent, false),
                              prop::Boolean("ShowAccelChar", &Self::ShowAccelChar, true),
                              prop::Enumeration("Layout", &Self::Layout, kTextLayouts,
                                                std::optional(TTextLayout::tlTop)),
                              prop::Reference("FocusControl", &Self::FocusControl, &Self::SetFocusControl)},
                             ctlprop::Click<TLabel>()}))

TLabel::TLabel(TComponent* owner) : TControl(owner) { SetBounds({0, 0, 65, 13}); }

void TLabel::SetAlignment(TAlignment a) {
    alignment_ = a;
    if (Handle())
        Handle()->SetAlignment(ToTextAlign(a));
}

void TLabel::SetAutoSize(bool on) {
    autoSize_ = on;
    AdjustSize();
}

void TLabel::SetWordWrap(bool on) {
    wordWrap_ = on;
    if (Handle())
        Handle()->SetWordWrap(on);
    AdjustSize();
}

void TLabel::FontChanged() {
    TControl::FontChanged();
    AdjustSize();
}

void TLabel::Loaded() {
    TControl::Loaded();
    AdjustSize();
}

void TLabel::AdjustSize() {
    if (!autoSize_ || InLoading())
        return;
    Bounds text = GetPlatform().Gui->MeasureText(Font()->Spec(), Caption(), wordWrap_ ? Width() : 0);
    Bounds b = BoundsRect();
    int width = wordWrap_ ? b.Width : text.Width;
    if (alignment_ == TAlignment::taRightJustify)
        b.Left += b.Width - width;
    SetBounds({b.Left, b.Top, width, text.Height});
}

void TLabel::ApplyTo(IControl& window) {
    TControl::ApplyTo(window);
    window.SetAlignment(ToTextAlign(alignment_));
    window.SetWordWrap(wordWrap_);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_)
        focusControl_ = nullptr;
}

SW_CLASS_INFO(TButton, TWinControl,
              ctlprop::Join({ctlprop::Placement(),
                             ctlprop::State(),
                             ctlprop::Looks(clBtnFace),
                             ctlprop::Caption(),
                             ctlprop::Tabs(true),
                             {prop::Boolean("Default", &Self::Default, false),
                              prop::Boolean("Cancel", &Self::Cancel, false),
                              prop::Integer("ModalResult", &Self::ModalResult, mrNone, &kModalResults)},
                             ctlprop::Click<TButton>()}))

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetBounds({0, 0, 75, 25});
    SetTabStop(true);
}

void TButton::ApplyTo(IControl& window) {
    TWinControl::ApplyTo(window);
    window.SetDefault(Default);
}

void TButton::Click() {
    if (TCustomForm* form = ParentForm(this); form && ModalResult != mrNone)
        form->SetModalResult(ModalResult);
    TWinControl::Click();
}

SW_CLASS_INFO(TBitBtn, TButton, prop::Object("Glyph", &Self::Glyph),
              prop::Enumeration("Kind", &Self::Kind, &Self::SetKind, kBitBtnKinds,
                                std::optional(TBitBtnKind::bkCustom)),
              prop::Enumeration("Layout", &Self::Layout, kButtonLayouts, std::optional(TButtonLayout::blGlyphLeft)),
              prop::Integer("Margin", &Self::Margin, -1), prop::Integer("Spacing", &Self::Spacing, 4),
              prop::Integer("NumGlyphs", &Self::NumGlyphs, 1))

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>()) {}

void TBitBtn::ApplyTo(IControl& window) {
    TButton::ApplyTo(window);
    if (!glyph_->Empty())
        window.SetPicture(glyph_->FileBytes(), false);
}

void TBitBtn::SetKind(TBitBtnKind kind) {
    kind_ = kind;
    static const int32_t results[] = {mrNone, mrOk,    mrCancel, mrNone,   mrYes, mrNo,
                                      mrNone, mrAbort, mrRetry,  mrIgnore, mrAll};
    if (kind == TBitBtnKind::bkCustom)
        return;
    ModalResult = results[static_cast<int>(kind)];
    Default = kind == TBitBtnKind::bkOK || kind == TBitBtnKind::bkYes;
    Cancel = kind == TBitBtnKind::bkCancel || kind == TBitBtnKind::bkNo;
}

} // namespace sw
