// A project with a driver, the main program folder and shortcuts of each
// kind, on the fake platform with its shell folders set.
#pragma once

#include "support/EngineFixture.h"
#include "support/ErrorOf.h"

#include "objects/InstallFile.h"
#include "objects/InstallObject.h"
#include "objects/UninstallExe.h"
#include "paths/ShellFolders.h"
#include "project/ClassRegistry.h"
#include "shortcuts/InstallShellLink.h"
#include "shortcuts/ShellLinkGroups.h"

namespace sw::test {

inline constexpr const char* kPrograms = "C:\\WINDOWS\\Start Menu\\Programs";
inline constexpr const char* kUninstallFiles = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool\\Files";

inline constexpr std::string_view kShortcutProject = R"(object Form1: TTestForm
  object Install1: TInstall
    Information.ProductName = 'Tool'
    RunAutomatic = False
  end
  object MainGroup: TMainLinkGroup
    Container = Install1
    DestDir = '\Tool'
  end
  object ToolLink: TInstallMainLink
    HotKey = 1620
    LinkName = 'Tool.lnk'
    ObjectLocation = '\Tool\tool.exe'
    ObjectLocationType = psProgramFiles
    Parameters = '-d %d'
  end
  object WebLink: TInstallMainLink
    LinkName = 'Site.URL'
    Method = mtProgramManager
    ObjectLocation = 'http://example.com/tool'
  end
  object Extras: TSubLinkGroup
    DestDir = '\Extras'
  end
  object MenuLink: TInstallShellLink
    Container = Install1
    DestDirType = psProgramMenu
    DestDir = '\Tool'
    LinkName = 'Menu Tool.lnk'
    ObjectLocation = 'C:\Program Files\Tool\tool.exe'
    Parameters = 'x'
  end
end
)";

class ShortcutFixture : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        auto& registry = fake_.Registry();
        registry.WriteString(RegistryRoot::LocalMachine, kCurrentVersionKey, "ProgramFilesDir", "C:\\Program Files");
        registry.WriteString(RegistryRoot::CurrentUser, kShellFoldersKey, "Programs", kPrograms);
        registry.WriteString(RegistryRoot::CurrentUser, kShellFoldersKey, "Desktop", "C:\\WINDOWS\\Desktop");
        fake_.Files().ForceDirectories("C:\\WINDOWS\\Desktop");
    }
    TComponent* LoadProject() {
        form_ = Load(kShortcutProject);
        main_ = Find<TMainLinkGroup>("MainGroup");
        tool_ = Find<TInstallMainLink>("ToolLink");
        web_ = Find<TInstallMainLink>("WebLink");
        menu_ = Find<TInstallShellLink>("MenuLink");
        extras_ = Find<TSubLinkGroup>("Extras");
        return form_;
    }
    template <class T> T* Find(const char* name) { return dynamic_cast<T*>(form_->FindComponent(name)); }
    void SetNt351() { fake_.System().SetVersion(OSVersion{3, 51, 1057, PlatformId::NT}); }
    std::string UninstallFile(int n) {
        return fake_.Registry().ReadString(RegistryRoot::LocalMachine, kUninstallFiles, "File" + std::to_string(n), "");
    }
    std::string UninstallEntries() {
        return fake_.Registry().ReadString(RegistryRoot::LocalMachine, kUninstallFiles, "Entries", "");
    }

    TComponent* form_ = nullptr;
    TMainLinkGroup* main_ = nullptr;
    TInstallMainLink* tool_ = nullptr;
    TInstallMainLink* web_ = nullptr;
    TInstallShellLink* menu_ = nullptr;
    TSubLinkGroup* extras_ = nullptr;
};

} // namespace sw::test
