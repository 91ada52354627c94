// The install record: a registry key under HKEY_LOCAL_MACHINE that the
// install keeps about itself while it runs, found again by the identity of
// the setup program's file.
#pragma once

#include <string>

namespace sw {

inline constexpr const char* kInstallRecordRoot = "\\SOFTWARE\\Pellmoor\\Install";

// The key path of this setup program's record; empty when there is none.
// Only looks: it neither creates a record nor writes to one.
std::string LookUpInstallRecord();

// The program-wide key path of the record in use; empty when none.
const std::string& InstallRecordKeyPath();
void SetInstallRecordKeyPath(const std::string& path);

} // namespace sw
