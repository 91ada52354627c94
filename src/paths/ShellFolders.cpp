#include "paths/ShellFolders.h"

#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

#include <functional>
#include <map>
#include <utility>

namespace sw {

namespace {

// The folders a snapshot keeps, by root and value path; snapshots alive.
std::map<std::pair<RegistryRoot, std::string>, std::string> kept;
int snapshots = 0;

// The registry value when it can be read (even empty), otherwise the fallback.
std::string Folder(RegistryRoot root, const char* key, const char* name, const std::function<std::string()>& fallback) {
    const std::pair<RegistryRoot, std::string> id{root, std::string(key) + "\\" + name};
    if (snapshots > 0)
        if (auto it = kept.find(id); it != kept.end())
            return it->second;
    std::optional<std::string> value = ReadRegStringValue(root, key, name);
    std::string folder = ExcludeTrailingBackslash(value ? *value : fallback());
    if (snapshots > 0)
        kept[id] = folder;
    return folder;
}

std::string ShellFolder(const char* name, const std::function<std::string()>& fallback) {
    return Folder(RegistryRoot::CurrentUser, kShellFoldersKey, name, fallback);
}

std::function<std::string()> UnderWindows(const char* folder) {
    return [folder] { return ExcludeTrailingBackslash(WindowsDirectory()) + "\\" + folder; };
}

std::function<std::string()> OnCurrentDrive(const char* folder) {
    return [folder] { return ExtractFileDrive(GetPlatform().System->CurrentDirectory()) + "\\" + folder; };
}

} // namespace

std::string GetStartMenuFolder() { return ShellFolder("Start Menu", UnderWindows("Startmen")); }

std::string GetProgramsMenuFolder() {
    return ShellFolder("Programs", [] { return GetStartMenuFolder() + "\\Programs"; });
}

std::string GetDesktopFolder() { return ShellFolder("Desktop", UnderWindows("Desktop")); }

std::string GetStartupFolder() { return ShellFolder("Startup", UnderWindows("Startup")); }

std::string GetProgramFilesFolder() {
    return Folder(RegistryRoot::LocalMachine, kCurrentVersionKey, "ProgramFilesDir", OnCurrentDrive("Program Files"));
}

std::string GetCommonFilesFolder() {
    return Folder(RegistryRoot::LocalMachine, kCurrentVersionKey, "CommonFilesDir",
                  OnCurrentDrive("Program Files\\Common Files"));
}

TShellFolderSnapshot::TShellFolderSnapshot() { ++snapshots; }

TShellFolderSnapshot::~TShellFolderSnapshot() {
    if (--snapshots == 0)
        kept.clear();
}

} // namespace sw
