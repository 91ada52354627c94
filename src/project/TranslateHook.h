// How layers below the translator reach it: the English text of a message in
// the active language. The translator installs the hook while a global
// translator exists; without one every text stays English.
#pragma once

#include <string>

namespace sw {

using TTranslateEnglishHook = std::string (*)(const std::string& english);

// The program-wide slot of the hook.
struct TTranslateHookSlot {
    TTranslateEnglishHook Hook = nullptr;
};

void SetTranslateEnglishHook(TTranslateEnglishHook hook);
// The hook's answer, or `english` unchanged when no hook is installed (or no
// program state exists).
std::string TranslateEnglishMessage(const std::string& english);

} // namespace sw
