// One fake of each platform service, wired together: drive C: with the
// folders C:\WINDOWS, C:\WINDOWS\SYSTEM and C:\WINDOWS\TEMP (the temporary
// folder) and the program C:\SETUP\SETUP.EXE, Windows 98 as the version;
// no internet servers; Program Manager with no groups.
#pragma once

#include "platform/Platform.h"
#include "platform/fake/FakeCodePages.h"
#include "platform/fake/FakeDde.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeFolderBrowser.h"
#include "platform/fake/FakeGui.h"
#include "platform/fake/FakeInternet.h"
#include "platform/fake/FakeProcesses.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeResources.h"
#include "platform/fake/FakeShellLinks.h"
#include "platform/fake/FakeSystemInfo.h"
#include "platform/VersionResources.h"

namespace sw::fake {

class FakePlatform {
  public:
    FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    FakeRegistry& Registry() { return registry_; }
    FakeFileSystem& Files() { return files_; }
    FakeSystemInfo& System() { return system_; }
    FakeProcesses& Processes() { return processes_; }
    FakeResources& Resources() { return resources_; }
    FakeGui& Gui() { return gui_; }
    FakeInternet& Internet() { return internet_; }
    FakeCodePages& CodePages() { return codePages_; }
    FakeDde& Dde() { return dde_; }
    FakeShellLinks& ShellLinks() { return shellLinks_; }
    FakeFolderBrowser& FolderBrowser() { return folderBrowser_; }
    // The portable version reader over the fake files, unless replaced.
    void SetVersions(IVersionResources* versions) { versions_ = versions; }

    Platform Get();

  private:
    FakeRegistry registry_;
    FakeFileSystem files_;
    FakeSystemInfo system_{files_};
    FakeProcesses processes_{files_};
    FakeResources resources_;
    FakeGui gui_;
    FakeInternet internet_;
    FakeCodePages codePages_;
    FakeDde dde_;
    FakeShellLinks shellLinks_{files_};
    FakeFolderBrowser folderBrowser_{files_};
    TPortableVersionResources portableVersions_{files_};
    IVersionResources* versions_ = &portableVersions_;
};

} // namespace sw::fake
