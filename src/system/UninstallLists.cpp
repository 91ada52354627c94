#include "system/UninstallLists.h"

#include "platform/Registry.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/RegistryHelpers.h"
#include "system/StringHelpers.h"

#include <exception>

namespace sw {

namespace {

constexpr RegistryRoot kRoot = RegistryRoot::LocalMachine;

std::string ListKey(const std::string& uninstallKey, const std::string& subkey) {
    return uninstallKey + "\\" + subkey;
}

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
        const std::string subkey = kUninstallFilesKey + (k == 0 ? std::string() : std::to_string(k));
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

} // namespace sw
