// The real Windows services. Create one in the program entry and install it
// with SetPlatform or ScopedPlatform.
#pragma once

#include "platform/Platform.h"

#include <memory>

namespace sw::win32 {

class Win32Registry;
class Win32FileSystem;
class Win32SystemInfo;
class Win32Processes;
class Win32Resources;
class Win32Gui;
class Win32VersionResources;
class Win32CodePages;
class Win32Internet;
class Win32Dde;
class Win32ShellLinks;
class Win32FolderBrowser;

class Win32Platform {
  public:
    Win32Platform();
    ~Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Win32Registry& Registry() { return *registry_; }
    Win32FileSystem& Files() { return *files_; }
    Win32SystemInfo& System() { return *system_; }
    Win32Processes& Processes() { return *processes_; }
    Win32Resources& Resources() { return *resources_; }
    Win32Gui& Gui() { return *gui_; }
    Win32CodePages& CodePages() { return *codePages_; }
    Win32Internet& Internet() { return *internet_; }
    Win32Dde& Dde() { return *dde_; }
    Win32ShellLinks& ShellLinks() { return *shellLinks_; }
    Win32FolderBrowser& FolderBrowser() { return *folderBrowser_; }
    void SetVersions(IVersionResources* versions) { versions_ = versions; }

    Platform Get();

  private:
    std::unique_ptr<Win32Registry> registry_;
    std::unique_ptr<Win32FileSystem> files_;
    std::unique_ptr<Win32SystemInfo> system_;
    std::unique_ptr<Win32Processes> processes_;
    std::unique_ptr<Win32Resources> resources_;
    std::unique_ptr<Win32Gui> gui_;
    std::unique_ptr<Win32VersionResources> systemVersions_;
    std::unique_ptr<Win32Internet> internet_;
    IVersionResources* versions_;
    std::unique_ptr<Win32CodePages> codePages_;
    std::unique_ptr<Win32Dde> dde_;
    std::unique_ptr<Win32ShellLinks> shellLinks_;
    std::unique_ptr<Win32FolderBrowser> folderBrowser_;
};

} // namespace sw::win32
