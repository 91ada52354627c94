// The file list under a product's uninstall key: subkey "Files", then
// "Files1", "Files2", ... when a write into one fails. Each holds "Entries"
// (the count, decimal text) and "File1", "File2", ...
#pragma once

#include <string>

namespace sw {

// Appends `path` to the list under `uninstallKey` (HKEY_LOCAL_MACHINE).
// Raises EIRCannotWriteValue when no subkey of the series takes it.
void AppendUninstallFile(const std::string& uninstallKey, const std::string& path);
// Whether the list under `uninstallKey` holds `path` (compared without
// regard to case).
bool UninstallFileListed(const std::string& uninstallKey, const std::string& path);

} // namespace sw
