// Checks that keep a shortcut inside the menu folder it belongs to.
#pragma once

#include <string>

namespace sw {

// A name of one file in a folder: no folder separators, drive or stream
// colons, "." or "..", wildcard or reserved characters, and no device name
// (CON, NUL, COM1, ...) whatever its extension.
bool IsPlainFileName(const std::string& name);
// A folder below another: none of its parts is "..", a drive or a device
// name, and it does not start a path of its own ("\\server").
bool StaysBelow(const std::string& relativeFolder);

} // namespace sw
