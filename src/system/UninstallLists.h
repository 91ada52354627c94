// The lists under a product's uninstall key that the uninstaller reads:
// "Files" (falling over to "Files1", "Files2", ... when a key refuses the
// write), "ActiveX" and the other counted lists, each holding "Entries" and
// the values "File1" to "File<Entries>".
#pragma once

#include <cstdint>
#include <string>

namespace sw {

inline constexpr const char* kUninstallFilesKey = "Files";
inline constexpr const char* kUninstallActiveXKey = "ActiveX";
// How many keys of the "Files" series are tried before a write error is
// reported, so a registry that refuses every write ends the search.
inline constexpr int kUninstallFileKeyLimit = 16;

// The number in "Entries" of uninstallKey\subkey: 0 when the value is
// missing; EConvertError when it is not a number.
int32_t UninstallEntryCount(const std::string& uninstallKey, const std::string& subkey);

// Appends "File"+n := value to uninstallKey\subkey and stores n in
// "Entries"; returns n. Failures raise EIRCannotWriteValue (or EConvertError
// for an "Entries" that is not a number).
int32_t AppendUninstallEntry(const std::string& uninstallKey, const std::string& subkey, const std::string& value);

// Appends an installed file (or shortcut) to the "Files" list, trying the
// next key of the series when reading, converting or writing fails; after
// kUninstallFileKeyLimit keys the last error is raised.
void AppendUninstallFile(const std::string& uninstallKey, const std::string& path);

// Whether a key of the "Files" series holds `path` (compared without regard
// to case). Keys with a missing or malformed "Entries" are passed over.
bool UninstallFileListed(const std::string& uninstallKey, const std::string& path);

} // namespace sw
