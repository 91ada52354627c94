#include "system/UninstallLists.h"

#include "platform/Platform.h"
#include "platform/PlatformErrors.h"
#include "platform/Registry.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/RegistryHelpers.h"
#include "system/StringHelpers.h"

#include <algorithm>
#include <exception>
#include <memory>

namespace sw {

namespace {

constexpr RegistryRoot kRoot = RegistryRoot::LocalMachine;
// A corrupt count must not make a search of the list endless.
constexpr int32_t kMaxEntries = 65535;

std::string ListKey(const std::string& uninstallKey, const std::string& subkey) { return uninstallKey + "\\" + subkey; }

std::string FilesKey(int k) { return kUninstallFilesKey + (k == 0 ? std::string() : std::to_string(k)); }

// A list's key held open while an entry is appended: its count read, the
// entry and the new count written through one handle.
struct TOpenList {
    std::string Path;
    std::unique_ptr<IRegistryKey> Key;
    int32_t Next = 0; // the number of the entry appended

    void WriteEntry(const std::string& value) const { WriteRegString(*Key, Path, EntryName(Next), value); }
    void WriteCount() const { WriteRegString(*Key, Path, "Entries", std::to_string(Next)); }
    static std::string EntryName(int32_t n) { return "File" + std::to_string(n); }
};

// A key that cannot be created is reported as the refused write of the entry.
TOpenList OpenList(const std::string& uninstallKey, const std::string& subkey, const std::string& value) {
    TOpenList list{ListKey(uninstallKey, subkey), nullptr};
    try {
        list.Key = GetPlatform().Registry->CreateOpenKey(kRoot, list.Path);
    } catch (const ERegistryError&) {
        CannotWriteRegString(list.Path, TOpenList::EntryName(UninstallEntryCount(uninstallKey, subkey) + 1), value);
    }
    list.Next = StrToInt(list.Key->FindString("Entries").value_or("0")) + 1;
    return list;
}

} // namespace

int32_t UninstallEntryCount(const std::string& uninstallKey, const std::string& subkey) {
    return StrToInt(ReadRegString(kRoot, ListKey(uninstallKey, subkey), "Entries", "0"));
}

int32_t AppendUninstallEntry(const std::string& uninstallKey, const std::string& subkey, const std::string& value) {
    TOpenList list = OpenList(uninstallKey, subkey, value);
    list.WriteEntry(value);
    list.WriteCount();
    return list.Next;
}

void AppendUninstallFile(const std::string& uninstallKey, const std::string& path) {
    std::exception_ptr last;
    for (int k = 0; k < kUninstallFileKeyLimit; ++k) {
        TOpenList list;
        try {
            list = OpenList(uninstallKey, FilesKey(k), path);
            list.WriteEntry(path);
        } catch (const Exception&) {
            last = std::current_exception();
            continue;
        }
        list.WriteCount();
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
            if (SameText(ReadRegString(kRoot, key, TOpenList::EntryName(n), ""), path))
                return true;
    }
    return false;
}

} // namespace sw
