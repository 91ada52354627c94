// The language a form is shown in: the hook the translator fills in.
#pragma once

#include "controls/Forms.h"

#include <string>

namespace sw::viewer {

// Translates `form` from English into the language named `language` (as the
// translator names languages). Raises ENotBuiltYet until the translator is
// wired in here.
void ApplyLanguage(TCustomForm& form, const std::string& language);

} // namespace sw::viewer
