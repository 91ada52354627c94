// The translator: the sixteen languages of a project and the lookups that
// turn a text of one language into the same text of another. The first
// translator created in the process is the global one that dialogs and
// configuration errors use.
#pragma once

#include "lang/Language.h"
#include "project/Component.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sw {

class TTranslator : public TComponent {
    SW_DECLARE_CLASS()
  public:
    explicit TTranslator(TComponent* owner);
    ~TTranslator() override;

    // The language with that ident; none for plUser or an unknown value.
    TLanguage* FindLanguage(TPlmrLanguage ident) const;
    // The language of the user's default Windows language; none when the
    // platform cannot say.
    TLanguage* UserDefaultLanguage() const;
    // The target language: the user's default for plUser.
    TLanguage* CurrentLanguage() const;
    // Stands for FindLanguage, with plUser resolved to the user's default.
    TLanguage* ResolveLanguage(TPlmrLanguage ident) const;

    TPlmrLanguage TranslateIntoLanguage() const { return translateInto_; }
    // Fires OnLanguageChanged after every assignment.
    void SetTranslateIntoLanguage(TPlmrLanguage language);
    std::function<void(TTranslator*)> OnLanguageChanged;

    // The text of the target language whose id is that of the source entry
    // matching `text` (case ignored); `text` itself when either is missing.
    std::string TranslateString(TPlmrLanguage source, const std::string& text) const;
    // The text with that id in the target language, else `fallback`.
    std::string GetString(int32_t glid, const std::string& fallback) const;
    // The lines of the target memo whose id is that of the source memo
    // holding `lines`; a copy of `lines` when either is missing.
    std::vector<std::string> TranslateLines(TPlmrLanguage source, const std::vector<std::string>& lines) const;

    int LanguageCount() const { return kLanguageCount; }
    TLanguage* Languages(int index) const { return languages_.at(static_cast<size_t>(index)).get(); }

  private:
    std::array<std::unique_ptr<TLanguage>, kLanguageCount> languages_;
    TPlmrLanguage translateInto_ = plUser;
};

// The program-wide slot of the global translator: the first one created,
// until it is destroyed.
struct TTranslatorSlot {
    TTranslator* Global = nullptr;
};
TTranslator* GlobalTranslator();

// TranslateString(plEnglish, text) on the global translator; `text` when
// there is none.
std::string TranslateEnglish(const std::string& text);

// Registers TTranslator with the stream reader.
void RegisterLanguageClasses();

} // namespace sw
