// The translator's walk over controls: texts by id or by wording, and fonts.
#include "lang/TranslateControls.h"
#include "lang/Translator.h"

#include "controls/Boxes.h"
#include "controls/ComCtrls.h"
#include "controls/Edits.h"
#include "controls/ExtCtrls.h"
#include "controls/Forms.h"
#include "controls/Lists.h"
#include "project/Errors.h"
#include "project/Text.h"

namespace sw {

namespace {

// Hides a control while it is worked on (forms and images stay), switches a
// label's auto-size off, and restores both, re-aligning a windowed control.
class WorkingOn {
  public:
    explicit WorkingOn(TComponent& component) : control_(dynamic_cast<TControl*>(&component)) {
        if (!control_)
            return;
        wasVisible_ = control_->Visible();
        hidden_ = !dynamic_cast<TCustomForm*>(control_) && !dynamic_cast<TImage*>(control_);
        if (hidden_)
            control_->SetVisible(false);
        if (auto* label = dynamic_cast<TLabel*>(control_)) {
            autoSize_ = label->AutoSize();
            label->SetAutoSize(false);
        }
    }
    ~WorkingOn() {
        if (!control_)
            return;
        if (auto* label = dynamic_cast<TLabel*>(control_))
            label->SetAutoSize(autoSize_);
        if (hidden_)
            control_->SetVisible(wasVisible_);
        if (auto* windowed = dynamic_cast<TWinControl*>(control_))
            windowed->Realign();
    }
    WorkingOn(const WorkingOn&) = delete;
    WorkingOn& operator=(const WorkingOn&) = delete;

  private:
    TControl* control_;
    bool wasVisible_ = true;
    bool hidden_ = false;
    bool autoSize_ = false;
};

void ApplyFontTree(const TLanguage& language, const TLanguageData* data, TControl& control) {
    TFont& font = *control.Font();
    if (language.FontOverride) {
        font.Assign(*language.Font());
    } else {
        font.SetCharset(data->Charset);
        font.SetName(data->Face);
        if (font.Size() < data->MinSize)
            font.SetSize(data->MinSize);
    }
    if (auto* windowed = dynamic_cast<TWinControl*>(&control))
        for (int i = 0; i < windowed->ControlCount(); ++i)
            ApplyFontTree(language, data, *windowed->Controls(i));
}

} // namespace

// Restores the target it replaced, also when an error passes.
class TTranslator::TargetGuard {
  public:
    TargetGuard(TTranslator& translator, TPlmrLanguage target)
        : translator_(translator), previous_(translator.TranslateIntoLanguage()) {
        translator_.SetTranslateIntoLanguage(target);
    }
    ~TargetGuard() { translator_.SetTranslateIntoLanguage(previous_); }
    TargetGuard(const TargetGuard&) = delete;
    TargetGuard& operator=(const TargetGuard&) = delete;

  private:
    TTranslator& translator_;
    TPlmrLanguage previous_;
};

TPlmrLanguage TTranslator::TranslateComponent(TPlmrLanguage source, TComponent* component) {
    if (!component)
        return source;
    TranslateTree(source, *component);
    const TLanguage* target = CurrentLanguage();
    return target && target->Strings()->Count() > 0 ? translateInto_ : source;
}

TPlmrLanguage TTranslator::TranslateComponentInto(TPlmrLanguage source, TPlmrLanguage target, TComponent* component) {
    TargetGuard guard(*this, target);
    return TranslateComponent(source, component);
}

void TTranslator::TranslateTree(TPlmrLanguage source, TComponent& component) {
    WorkingOn working(component);
    const int32_t glid = GlidOf(component);
    if (glid > 0) {
        auto& control = static_cast<TControl&>(component);
        control.SetCaption(GetString(glid, control.Caption()));
    } else if (glid == 0) {
        TranslateProperties(source, component);
        TranslateItems(source, component);
    }
    for (int i = 0; i < component.ComponentCount(); ++i)
        if (!dynamic_cast<TCustomForm*>(component.Components(i)))
            TranslateTree(source, *component.Components(i));
}

void TTranslator::TranslateProperties(TPlmrLanguage source, TComponent& component) {
    for (const TPropInfo& prop : component.ClassInfo().Properties) {
        if (prop.Kind != TPropKind::String || SameText(prop.Name, "NAME") || !prop.SetString)
            continue;
        const std::string value = prop.GetString(component);
        if (!Trim(value).empty())
            prop.SetString(component, TranslateString(source, value));
    }
}

void TTranslator::TranslateItems(TPlmrLanguage source, TComponent& component) {
    const auto translateEach = [&](std::vector<std::string> items) {
        for (std::string& item : items)
            item = TranslateString(source, item);
        return items;
    };
    if (dynamic_cast<TRichEdit*>(&component)) {
        return; // rich text keeps its own wording
    } else if (auto* memo = dynamic_cast<TMemo*>(&component)) {
        memo->SetLines(TranslateLines(source, memo->Lines()->Lines));
    } else if (auto* list = dynamic_cast<TCustomListControl*>(&component)) {
        list->SetItems(translateEach(list->Items()->Lines));
    } else if (auto* group = dynamic_cast<TRadioGroup*>(&component)) {
        group->SetItems(translateEach(group->Items()->Lines));
    } else if (auto* view = dynamic_cast<TListView*>(&component)) {
        std::vector<std::pair<std::string, int32_t>> columns;
        for (int i = 0; i < view->Columns()->Count(); ++i) {
            const auto* column = static_cast<const TListColumn*>(view->Columns()->Items(i));
            columns.emplace_back(TranslateString(source, column->Caption), column->Width);
        }
        view->Columns()->Clear();
        for (const auto& [caption, width] : columns)
            view->AddColumn(caption, width);
    }
}

void TTranslator::ApplyLanguageFont(TControl* control, bool keepEmptyLanguage) {
    const TLanguage* language = CurrentLanguage();
    if (!language || !control)
        return;
    if (language->Strings()->Count() == 0 && !keepEmptyLanguage)
        language = FindLanguage(plEnglish);
    const TLanguageData* data = nullptr;
    if (!language->FontOverride) {
        data = &LanguageData(language->LanguageIdent());
        if (!data->Face)
            throw Exception("Unrecognized language");
    }
    ApplyFontTree(*language, data, *control);
}

void TTranslator::ApplyLanguageFontInto(TPlmrLanguage target, TControl* control, bool keepEmptyLanguage) {
    TargetGuard guard(*this, target);
    ApplyLanguageFont(control, keepEmptyLanguage);
}

TPlmrLanguage TranslateComponent(TPlmrLanguage source, TComponent* component) {
    TTranslator* global = GlobalTranslator();
    return global ? global->TranslateComponent(source, component) : source;
}

TPlmrLanguage TranslateComponentInto(TPlmrLanguage source, TPlmrLanguage target, TComponent* component) {
    TTranslator* global = GlobalTranslator();
    return global ? global->TranslateComponentInto(source, target, component) : source;
}

void ApplyLanguageFont(TControl* control, bool keepEmptyLanguage) {
    if (TTranslator* global = GlobalTranslator())
        global->ApplyLanguageFont(control, keepEmptyLanguage);
}

void ApplyLanguageFontInto(TPlmrLanguage target, TControl* control, bool keepEmptyLanguage) {
    if (TTranslator* global = GlobalTranslator())
        global->ApplyLanguageFontInto(target, control, keepEmptyLanguage);
}

} // namespace sw
