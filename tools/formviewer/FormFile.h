// Reads a form for viewing: a text form or a binary stream, its event
// properties left out (the viewer has no handlers) and a root of a class the
// viewer does not know shown as a plain TForm.
#pragma once

#include "controls/Forms.h"

#include <string>

namespace sw::viewer {

// Raises the reader's errors ("Error reading ...") and the text form's.
TCustomForm* ReadFormForViewing(const std::string& bytes, const std::string& fileName);

} // namespace sw::viewer
