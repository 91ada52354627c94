// Rules of Windows file names that every file system backend follows: 8.3
// short names, wildcard patterns, and the text of initialization files.
#pragma once

#include <string>
#include <string_view>

namespace sw {

// A name that needs no generated short name: up to eight characters, an
// optional dot and up to three more, none of the characters 8.3 names forbid.
bool IsShortName(const std::string& name);
// The n-th short name for a long name: six characters of the base, "~n",
// three of the extension, upper case.
std::string ShortNameCandidate(const std::string& name, int n);
// "*" and "?" patterns, without regard to case; "*.*" matches every name.
bool MatchesWildcard(std::string_view pattern, std::string_view name);
// A folder without its trailing backslash, as the system's calls want it; a
// drive's root ("C:\\") keeps it.
std::string WithoutTrailingBackslash(std::string path);
// The text of an initialization file with key=value set in the section, as
// Windows rewrites it: blank lines dropped, blanks around names and values
// removed, a missing section added at the end.
std::string SetProfileString(const std::string& text, const std::string& section, const std::string& key,
                             const std::string& value);

} // namespace sw
