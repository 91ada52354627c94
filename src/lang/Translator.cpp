#include "lang/Translator.h"

#include "project/ClassRegistry.h"
#include "project/ProgramState.h"
#include "project/TranslateHook.h"
#include "project/Text.h"

namespace sw {

namespace {

TPropInfo LanguageProperty(int index) {
    TPropInfo p = prop::MakeProp(std::string("lg") + LanguageData(LanguageAt(index)).Name, TPropKind::Object);
    p.GetObject = [index](const TPersistent& o) -> TPersistent* {
        return static_cast<const TTranslator&>(o).Languages(index);
    };
    return p;
}

std::vector<TPropInfo> TranslatorProperties() {
    std::vector<TPropInfo> props;
    for (int i = 0; i < kLanguageCount; ++i)
        props.push_back(LanguageProperty(i));
    props.push_back(prop::Enumeration("TranslateIntoLanguage", &TTranslator::TranslateIntoLanguage,
                                      &TTranslator::SetTranslateIntoLanguage, PlmrLanguageNames(),
                                      std::optional<TPlmrLanguage>(plUser)));
    return props;
}

} // namespace

const TClassInfo& TTranslator::StaticClassInfo() {
    static const TClassInfo info("TTranslator", &TComponent::StaticClassInfo(), TranslatorProperties());
    return info;
}

TTranslator::TTranslator(TComponent* owner) : TComponent(owner) {
    for (int i = 0; i < kLanguageCount; ++i)
        languages_[static_cast<size_t>(i)] = std::make_unique<TLanguage>(this, LanguageAt(i));
    TTranslatorSlot& slot = ProgramPart<TTranslatorSlot>();
    if (!slot.Global) {
        slot.Global = this;
        SetTranslateEnglishHook(&TranslateEnglish);
    }
}

TTranslator::~TTranslator() {
    if (!HasProgramState())
        return;
    TTranslatorSlot& slot = ProgramPart<TTranslatorSlot>();
    if (slot.Global == this) {
        slot.Global = nullptr;
        SetTranslateEnglishHook(nullptr);
    }
}

TLanguage* TTranslator::FindLanguage(TPlmrLanguage ident) const {
    for (const auto& language : languages_)
        if (language->LanguageIdent() == ident)
            return language.get();
    return nullptr;
}

TLanguage* TTranslator::UserDefaultLanguage() const {
    const auto ident = UserDefaultLanguageIdent();
    return ident ? FindLanguage(*ident) : nullptr;
}

TLanguage* TTranslator::ResolveLanguage(TPlmrLanguage ident) const {
    return ident == plUser ? UserDefaultLanguage() : FindLanguage(ident);
}

TLanguage* TTranslator::CurrentLanguage() const { return ResolveLanguage(translateInto_); }

void TTranslator::SetTranslateIntoLanguage(TPlmrLanguage language) {
    translateInto_ = language;
    if (OnLanguageChanged)
        OnLanguageChanged(this);
}

std::string TTranslator::TranslateString(TPlmrLanguage source, const std::string& text) const {
    const TLanguage* from = ResolveLanguage(source);
    const TLanguageString* entry = from ? from->FindStringByText(text) : nullptr;
    const TLanguage* to = entry ? CurrentLanguage() : nullptr;
    const TLanguageString* target = to ? to->FindString(entry->Id) : nullptr;
    return target ? target->Text : text;
}

std::string TTranslator::GetString(int32_t glid, const std::string& fallback) const {
    const TLanguage* to = CurrentLanguage();
    const TLanguageString* target = to ? to->FindString(glid) : nullptr;
    return target ? target->Text : fallback;
}

std::vector<std::string> TTranslator::TranslateLines(TPlmrLanguage source,
                                                     const std::vector<std::string>& lines) const {
    const TLanguage* from = ResolveLanguage(source);
    const TLanguageMemo* entry = from ? from->FindMemoByLines(lines) : nullptr;
    const TLanguage* to = entry ? CurrentLanguage() : nullptr;
    const TLanguageMemo* target = to ? to->FindMemo(entry->Id) : nullptr;
    return target ? target->Lines : lines;
}

TTranslator* GlobalTranslator() { return HasProgramState() ? ProgramPart<TTranslatorSlot>().Global : nullptr; }

std::string TranslateEnglish(const std::string& text) {
    const TTranslator* global = GlobalTranslator();
    return global ? global->TranslateString(plEnglish, text) : text;
}

void RegisterLanguageClasses() { RegisterClass<TTranslator>(); }

} // namespace sw
