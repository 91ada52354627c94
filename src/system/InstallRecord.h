// The install record: a registry key under HKEY_LOCAL_MACHINE that the
// install keeps about itself while it runs, found again by the identity of
// the setup program's file.
#pragma once

#include "platform/FileStamp.h"

#include <cstdint>
#include <string>

namespace sw {

inline constexpr const char* kPellmoorKey = "\\Software\\Pellmoor";
inline constexpr const char* kInstallRecordRoot = "\\SOFTWARE\\Pellmoor\\Install";

// The key path of this setup program's record, found by the size and date of
// the running program's file. A record found is marked with the run's start
// time and the program's path; with `create` a new one is made when none
// matches ("SelfExtract" written when not empty). Empty when none is found or
// made: registry trouble never raises here.
std::string FindInstallRecord(bool create, const std::string& selfExtract);

// Deletes the record in use with the local archive copies it lists, then
// "\SOFTWARE\Pellmoor\Install" and "\Software\Pellmoor" when they are left
// empty. Nothing happens without a record; registry trouble never raises.
void RemoveInstallRecord();

// The language selected for the install, kept in the record's "Language"
// across a restart. Saving without a record or failing to write raises
// EIRCannotWriteValue with the key path; reading gives `current` when there
// is no saved value.
void SaveInstallLanguage(int32_t language);
int32_t ReadSavedInstallLanguage(int32_t current);

// The install record's part of the program state.
struct TInstallRecordState {
    std::string KeyPath;
    double RunStartTime = 0;
};

// The start time of the current run, as a day count; set at start-up.
double RunStartTime();
void SetRunStartTime(double dayCount);
// Days since 30 December 1899, the fraction being the time of day.
double DayCountOf(const FileDateTime& dt);

// The program-wide key path of the record in use; empty when none.
const std::string& InstallRecordKeyPath();
void SetInstallRecordKeyPath(const std::string& path);

} // namespace sw
