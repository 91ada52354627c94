#include "controls/Edits.h"

#include "controls/ControlProps.h"
#include "project/Text.h"

namespace sw {

namespace {
const TEnumInfo kCharCases{{"ecNormal", "ecUpperCase", "ecLowerCase"}};
const TEnumInfo kScrollStyles{{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\r\n" : "") + lines[i];
    return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

template <class C> std::vector<TPropInfo> EditCommon() {
    return ctlprop::Join(
        {ctlprop::Placement(),
         ctlprop::State(),
         ctlprop::Looks(clWindow),
         ctlprop::Tabs(true),
         {prop::Boolean("ReadOnly", &C::ReadOnly, &C::SetReadOnly, false), prop::Event("OnChange", &C::OnChange)},
         ctlprop::Click<C>()});
}
} // namespace

SW_CLASS_INFO(TCustomEdit, TWinControl)

SW_CLASS_INFO(TEdit, TCustomEdit,
              ctlprop::Join({EditCommon<TEdit>(),
                             ctlprop::Text(),
                             {prop::Enumeration("CharCase", &Self::CharCase, &Self::SetCharCase, kCharCases,
                                                std::optional(TEditCharCase::ecNormal)),
                              prop::Integer("MaxLength", &Self::MaxLength, 0)}}))

SW_CLASS_INFO(TMemo, TCustomEdit,
              ctlprop::Join({EditCommon<TMemo>(),
                             {prop::Object("Lines", &Self::Lines),
                              prop::Boolean("WordWrap", &Self::WordWrap, &Self::SetWordWrap, true),
                              prop::Enumeration("ScrollBars", &Self::ScrollBars, kScrollStyles,
                                                std::optional(TScrollStyle::ssNone)),
                              prop::Enumeration("Alignment", &Self::Alignment, AlignmentNames(),
                                                std::optional(TAlignment::taLeftJustify))}}))

SW_CLASS_INFO(TRichEdit, TMemo, prop::Boolean("PlainText", &Self::PlainText, false))

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetColor(clWindow);
    SetTabStop(true);
}

void TCustomEdit::SetReadOnly(bool on) {
    readOnly_ = on;
    if (Handle())
        Handle()->SetReadOnly(on);
}

void TCustomEdit::ApplyTo(IControl& window) {
    TWinControl::ApplyTo(window);
    window.SetReadOnly(readOnly_);
}

void TCustomEdit::TextChanged() {
    if (!InLoading() && !quiet_)
        OnChange(this);
}

// Typed into the window: keep the text as the control keeps it.
void TCustomEdit::WindowChanged() {
    std::string typed = Handle()->Text();
    std::string kept = AdjustText(typed);
    if (kept != typed)
        Handle()->SetText(kept);
    else
        SetCaption(kept);
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) { SetBounds({0, 0, 121, 21}); }

void TEdit::SetCharCase(TEditCharCase c) {
    charCase_ = c;
    SetText(Text());
}

std::string TEdit::AdjustText(const std::string& text) const {
    switch (charCase_) {
    case TEditCharCase::ecUpperCase:
        return UpperCase(text);
    case TEditCharCase::ecLowerCase:
        return LowerCase(text);
    case TEditCharCase::ecNormal:
        break;
    }
    return text;
}

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TStrings>()) {
    SetBounds({0, 0, 185, 89});
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
    lines_->Lines = lines;
    LinesChanged();
}

void TMemo::LinesChanged() { SetCaption(JoinLines(lines_->Lines)); }

void TMemo::Loaded() {
    TCustomEdit::Loaded();
    quiet_ = true;
    LinesChanged();
    quiet_ = false;
}

void TMemo::TextChanged() {
    lines_->Lines = SplitLines(Text());
    TCustomEdit::TextChanged();
}

void TMemo::SetWordWrap(bool on) {
    wordWrap_ = on;
    if (Handle())
        Handle()->SetWordWrap(on);
}

void TMemo::ApplyTo(IControl& window) {
    TCustomEdit::ApplyTo(window);
    window.SetWordWrap(wordWrap_);
    window.SetAlignment(ToTextAlign(Alignment));
}

} // namespace sw
