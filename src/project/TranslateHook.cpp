#include "project/TranslateHook.h"

namespace sw {

namespace {
TTranslateEnglishHook g_hook = nullptr;
}

void SetTranslateEnglishHook(TTranslateEnglishHook hook) { g_hook = hook; }

std::string TranslateEnglishMessage(const std::string& english) { return g_hook ? g_hook(english) : english; }

} // namespace sw
