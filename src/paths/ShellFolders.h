// The well-known folders of the target machine: read from the shell's
// registry values, with a folder below the Windows directory or the current
// drive when a value cannot be read. Each is returned without a trailing
// backslash; only a failure to learn the Windows directory raises.
#pragma once

#include <string>

namespace sw {

inline constexpr const char* kShellFoldersKey =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* kCurrentVersionKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

std::string GetStartMenuFolder();
std::string GetProgramsMenuFolder();
std::string GetDesktopFolder();
std::string GetStartupFolder();
std::string GetProgramFilesFolder();
std::string GetCommonFilesFolder();

// While one lives, each of the folders above is read from the registry once
// and then kept: an install that copies its files asks for its destination
// folders many times for every file, and the system's folders do not move
// meanwhile. Nested snapshots share the outermost one's folders.
class TShellFolderSnapshot {
  public:
    TShellFolderSnapshot();
    ~TShellFolderSnapshot();
    TShellFolderSnapshot(const TShellFolderSnapshot&) = delete;
    TShellFolderSnapshot& operator=(const TShellFolderSnapshot&) = delete;
};

} // namespace sw
