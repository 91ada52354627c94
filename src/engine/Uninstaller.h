// The uninstaller: reads a product's uninstall key and removes what its lists
// name, and nothing else. The key holds "DisplayName", "UninstallString",
// the file lists "Files", "Files1", ... and "ActiveX" ("File<n>" values, the
// ActiveX ones ending in ";0" for a library and ";1" for a program), and
// "RegistryKeys\RegistryKey<n>" with "Key", "Root" and the subkey "Entries"
// whose value names are the values written.
#pragma once

#include "system/InstallInformation.h"

#include <string>
#include <vector>

namespace sw {

// The product name and the silent switch of the uninstaller's command line:
// the program (quoted or not, as "UninstallString" gives it), then
// optionally /S or -S, then the product name, which may hold blanks and may
// be quoted.
struct TUninstallCommand {
    std::string ProductName;
    bool Silent = false;
};
TUninstallCommand ParseUninstallCommand(const std::string& commandLine, const std::string& modulePath);

// The path of the program that "UninstallString" starts, quoted or not;
// empty when it names none.
std::string UninstallProgramPath(const std::string& uninstallString);

struct TUninstallReport {
    // Things that are still there, each with the reason.
    std::vector<std::string> NotRemoved;
    // Files that go at the next start of Windows.
    std::vector<std::string> AtRestart;
    // The key held lists that were not what the install writes.
    std::vector<std::string> Malformed;
    bool KeyFound = false;
};

class TUninstaller {
  public:
    // productFolder: the folder of the product's uninstaller, where its own
    // files live; files outside it are removed only when they are shared
    // libraries with a reference count or shortcut files.
    TUninstaller(std::string productName, std::string productFolder);

    // Removes what the uninstall key lists, then the key. Never raises for
    // a single item: what cannot go is reported.
    TUninstallReport Run();

  private:
    struct FileEntry {
        std::string Path;
        bool ActiveX = false;
        bool Program = false; // an ActiveX server that registers itself with a switch
    };

    std::vector<FileEntry> ReadFileLists();
    void ReadFileList(const std::string& key, bool activeX, std::vector<FileEntry>& files);
    void RemoveFile(const FileEntry& file);
    bool Unregister(const FileEntry& file);
    void DeleteFileNow(const std::string& path);
    void RemoveRegistryKeys();
    void RemoveRegistryKey(const std::string& listKey);
    void RemoveEmptyFolders();
    bool InProductFolder(const std::string& path) const;
    bool IsProtectedFolder(const std::string& folder);

    std::string product_;
    std::string productFolder_;
    std::string key_;
    TUninstallReport report_;
    std::vector<std::string> emptiedCandidates_;
};

// The uninstaller program: parses the command line, asks the user unless
// silent, removes the product, shows what was left unless silent, and
// removes the program itself. Returns the exit code: 0 when everything
// went, 1 when something stayed, 2 when nothing was done.
int RunUninstallProgram();

// Has the running uninstaller removed once it has ended, with the folders
// above it that are then empty, up to and including productFolder.
void RemoveUninstallerAfterExit(const std::string& productFolder);

} // namespace sw
