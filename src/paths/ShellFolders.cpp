#include "paths/ShellFolders.h"

#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

#include <functional>

namespace sw {

namespace {

// The registry value when it can be read (even empty), otherwise the fallback.
std::string Folder(RegistryRoot root, const char* key, const char* name, const std::function<std::string()>& fallback) {
    std::optional<std::string> value = ReadRegStringValue(root, key, name);
    return ExcludeTrailingBackslash(value ? *value : fallback());
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

} // namespace sw
