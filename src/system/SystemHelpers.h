// Small helpers over the system and over path texts, shared by the engine,
// the install objects and the path specifiers.
#pragma once

#include <string>

namespace sw {

// Appends "\" to a non-empty text that does not end with one.
std::string IncludeTrailingBackslash(const std::string& path);
// Removes one final "\" from a non-empty text.
std::string ExcludeTrailingBackslash(const std::string& path);
// The folder part of a path, without a trailing backslash.
std::string ExtractFileDir(const std::string& path);
// The part after the last "\" or ":".
std::string ExtractFileName(const std::string& path);

// The Windows and system directories; EAPIRoutines when the system has none.
std::string WindowsDirectory();
std::string SystemDirectory();

} // namespace sw
