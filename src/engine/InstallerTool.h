// Where a build finds the loading program: the installer tool's folder,
// the first folder of the library search path that holds the marker file.
//
// The library search path is the string value "LibrarySearchPath" of
// HKEY_CURRENT_USER\Software\Setwright\Build, folders separated by ";"
// (docs/distribution.md says how a machine gets it).
#pragma once

#include <string>

namespace sw {

inline constexpr const char* kLibrarySearchPathKey = "\\Software\\Setwright\\Build";
inline constexpr const char* kLibrarySearchPathValue = "LibrarySearchPath";
inline constexpr const char* kInstallerToolMarker = "M41R08.TXT";
inline constexpr const char* kLoadingProgramName = "PellmoorLoadProgram.exe";

// The folder, without a trailing backslash. Raises IEInstall when the value
// is missing or no folder of it holds the marker.
std::string FindInstallerToolDirectory();

} // namespace sw
