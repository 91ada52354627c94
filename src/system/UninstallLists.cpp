#include "system/UninstallLists.h"

#include "platform/Registry.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/RegistryHelpers.h"
#include "system/StringHelpers.h"

#include <algorithm>
#include <exception>

namespace sw {

namespace {

constexpr RegistryRoot kRoot = RegistryRoot::LocalMachine;
// A corrupt count must not make a search of the list endless.
constexpr int32_t kMaxEntries = 65535;

std::string ListKey(const std::string& uninstallKey, const std::string& subkey) {
    return uninstallKey + "\\" + subkey;
}

std::string FilesKey(int k) { return kUninstallFilesKey + (k == 0 ? std::string() : std::to_string(k)); }

} // namespace

int32_t UninstallEntryCount(const std::string& uninstallKey, const std::string& subkey) {
    return StrToInt(ReadRegString(kRoot, ListKey(uninstallKey, subkey), "Entries", "0"));
}

int32_t AppendUninstallEntry(const std::string& uninstallKey, const std::string& subkey, const std::string& value) {
    const int32_t n = UninstallEntryCount(uninstallKey, subkey) + 1;
    const std::string key = ListKey(uninstallKey, subkey);
    WriteRegString(kRoot, key, "File" + std::to_string(n), value);
    WriteRegString(kRoot, key, "Entries", std::to_string(n));
    return n;
}

void AppendUninstallFile(const std::string& uninstallKey, const std::string& path) {
    std::exception_ptr last;
    for (int k = 0; k < kUninstallFileKeyLimit; ++k) {
        const std::string subkey = FilesKey(k);
        int32_t n = 0;
        try {
            n = UninstallEntryCount(uninstallKey, subkey) + 1;
            WriteRegString(kRoot, ListKey(uninstallKey, subkey), "File" + std::to_string(n), path);
        } catch (const Exception&) {
            last = std::current_exception();
            continue;
        }
        WriteRegString(kRoot, ListKey(uninstallKey, subkey), "Entries", std::to_string(n));
        return;
    }
    std::rethrow_exception(last);
}

bool UninstallFileListed(const std::string& uninstallKey, const std::string& path) {
    for (int k = 0; k < kUninstallFileKeyLimit; ++k) {
        const std::string key = ListKey(uninstallKey, FilesKey(k));
        int32_t count = 0;
        try {
            count = std::min(UninstallEntryCount(uninstallKey, FilesKey(k)), kMaxEntries);
        } catch (const Exception&) {
            continue;
        }
        for (int32_t n = 1; n <= count; ++n)
            if (SameText(ReadRegString(kRoot, key, "File" + std::to_string(n), ""), path))
                return true;
    }
    return false;
}

} // namespace sw
