#include "project/TranslateHook.h"

#include "project/ProgramState.h"

namespace sw {

void SetTranslateEnglishHook(TTranslateEnglishHook hook) { ProgramPart<TTranslateHookSlot>().Hook = hook; }

std::string TranslateEnglishMessage(const std::string& english) {
    const TTranslateEnglishHook hook = HasProgramState() ? ProgramPart<TTranslateHookSlot>().Hook : nullptr;
    return hook ? hook(english) : english;
}

} // namespace sw
