// The language a form is shown in.
#pragma once

#include "controls/Forms.h"

#include <string>

namespace sw::viewer {

// Translates `form` from English into the language named `language` (as the
// translator names languages, case ignored), fonts first, then texts. The
// translator is the one the form's stream brought (a project's main form);
// a form without one is given one, with the English table and the target's
// loaded from `tablesFolder` (the tables' conventional file names). Raises
// for an unknown language name, a missing or bad table, and a language
// without a face ("Unrecognized language").
void ApplyLanguage(TCustomForm& form, const std::string& language, const std::string& tablesFolder);

} // namespace sw::viewer
