// A fake platform and a global translator for the language tests.
#pragma once

#include "lang/Translator.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace langtest {

// Windows language ids of the fake's user default.
inline constexpr uint16_t kEnglishUs = 0x0409;
inline constexpr uint16_t kItalian = 0x0410;
inline constexpr uint16_t kFrench = 0x040C;

class LangFixture : public ::testing::Test {
  protected:
    LangFixture() { fake.System().SetUserDefaultLangId(kEnglishUs); }

    sw::TLanguage& Lang(sw::TPlmrLanguage ident) { return *translator->FindLanguage(ident); }
    void SetTable(sw::TPlmrLanguage ident, const std::vector<std::string>& lines) {
        Lang(ident).Strings()->Assign(lines);
    }

    sw::fake::FakePlatform fake;
    sw::ScopedPlatform platform{fake.Get()};
    sw::TOwned<sw::TTranslator> translator{new sw::TTranslator(nullptr)};
};

} // namespace langtest
