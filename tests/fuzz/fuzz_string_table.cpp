// The string-table reader on untrusted bytes: the first byte picks a
// language, the rest is loaded as its table, then looked up and edited.
#include "lang/Translator.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "project/Errors.h"
#include "project/ProgramState.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static sw::fake::FakePlatform fake;
    static sw::ScopedPlatform platform(fake.Get());
    if (size == 0)
        return 0;
    sw::TProgramState state;
    sw::TOwned<sw::TTranslator> translator(new sw::TTranslator(nullptr));
    sw::TLanguage& language = *translator->Languages(data[0] % sw::kLanguageCount);
    sw::TLangFormatStrings& lines = *language.Strings();
    try {
        lines.LoadFromStream(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    } catch (const sw::Exception&) {
        if (!language.StringEntries().empty() || !language.MemoEntries().empty())
            std::abort(); // a failed parse keeps no entries
        return 0;
    }
    for (const sw::TLanguageString& s : language.StringEntries()) {
        if (s.Text.size() > sw::TLanguageString::kMaxLength || s.LineIndex < 0 || s.LineIndex >= lines.Count())
            std::abort();
        if (language.FindString(s.Id) == nullptr || language.FindStringByText(s.Text) == nullptr)
            std::abort();
    }
    for (const sw::TLanguageMemo& m : language.MemoEntries())
        if (m.Lines.size() >= static_cast<size_t>(lines.Count()) || language.FindMemoByLines(m.Lines) == nullptr)
            std::abort();
    translator->SetTranslateIntoLanguage(language.LanguageIdent());
    if (lines.Count() > 0) {
        lines.Delete(0);
        for (const sw::TLanguageString& s : language.StringEntries())
            if (s.LineIndex < 0 || s.LineIndex > lines.Count())
                std::abort();
    }
    return 0;
}
