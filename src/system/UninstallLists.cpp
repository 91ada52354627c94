#include "system/UninstallLists.h"

#include "platform/PlatformErrors.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/RegistryHelpers.h"
#include "system/StringHelpers.h"

#include <algorithm>

namespace sw {

namespace {

constexpr RegistryRoot kHklm = RegistryRoot::LocalMachine;
// A registry that refuses every write must not keep the install busy.
constexpr int kMaxFileLists = 16;
constexpr int32_t kMaxEntries = 65535;

std::string FileList(const std::string& uninstallKey, int k) {
    return uninstallKey + "\\Files" + (k == 0 ? std::string() : std::to_string(k));
}

} // namespace

void AppendUninstallFile(const std::string& uninstallKey, const std::string& path) {
    for (int k = 0;; ++k) {
        const std::string list = FileList(uninstallKey, k);
        try {
            const int32_t n = StrToInt(ReadRegString(kHklm, list, "Entries", "0")) + 1;
            WriteRegString(kHklm, list, "File" + std::to_string(n), path);
            WriteRegString(kHklm, list, "Entries", std::to_string(n));
            return;
        } catch (const Exception&) {
            if (k + 1 == kMaxFileLists)
                throw;
        }
    }
}

bool UninstallFileListed(const std::string& uninstallKey, const std::string& path) {
    for (int k = 0; k < kMaxFileLists; ++k) {
        const std::string list = FileList(uninstallKey, k);
        const std::optional<std::string> entries = ReadRegStringValue(kHklm, list, "Entries");
        if (!entries)
            continue;
        int32_t count = 0;
        try {
            count = StrToInt(*entries);
        } catch (const Exception&) {
            continue;
        }
        // A corrupt count must not make the search endless.
        count = std::min(count, kMaxEntries);
        for (int32_t n = 1; n <= count; ++n)
            if (SameText(ReadRegString(kHklm, list, "File" + std::to_string(n), ""), path))
                return true;
    }
    return false;
}

} // namespace sw
