// Meta variables in texts: %p, %i, ... stand for folders of the target
// machine and of the install objects.
#pragma once

#include <string>

namespace sw {

class TInstallObject;

// Replaces the meta variables of `text` (the letter after "%" in either
// case; "%%" is one "%"; an unknown letter vanishes with its "%"), scanning
// once. `component` is the object the text is expanded for, or none.
// Raises EAICannotExpandContainerDirMV for %a or %c without what they need,
// EAICannotExpandInstallDirMV for %i without a driver.
std::string ExpandMetaVariables(const std::string& text, TInstallObject* component);

} // namespace sw
