// Splitting a command line into arguments the Windows way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sw {

// Arguments are separated by blanks and control characters; double quotes
// group blanks into an argument and are removed ("-sC:\My Build" gives
// -sC:\My Build). A backslash has no special meaning.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

} // namespace sw
