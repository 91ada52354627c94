// Shortcuts against the real shell, files, registry and Program Manager
// under Wine. With Wine's default version the shell's link interface makes
// the .lnk files; with SW_WINE_VERSION=nt351 (shortcuts-nt351.sh) Program
// Manager makes groups and items over DDE.
#include "EngineWineFixture.h"

#include "objects/UninstallExe.h"
#include "paths/ShellFolders.h"
#include "paths/StandardSpecifiers.h"
#include "platform/FileSystem.h"
#include "platform/ShellLinks.h"
#include "project/StringList.h"
#include "shortcuts/InstallShellLink.h"
#include "shortcuts/ProgramManagerErrors.h"
#include "shortcuts/ShellLinkGroups.h"
#include "shortcuts/ShortcutsState.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

#include <algorithm>

namespace sw::test {
namespace {

constexpr const char* kLinksProduct = "Sw Links Test";
constexpr const char* kUninstallKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sw Links Test";

// A main folder with a sub-folder, shortcuts to a program with arguments and
// a hot key, to a web address, and one in the Programs menu itself.
constexpr std::string_view kLinksProject = R"(object Form1: TForm
  object Install1: TInstall
    Information.ProductName = 'Sw Links Test'
    RunAutomatic = False
  end
  object MainGroup: TMainLinkGroup
    Container = Install1
    DestDir = '\Sw Links Test'
  end
  object Extras: TSubLinkGroup
    DestDir = '\Extras'
  end
  object ToolLink: TInstallMainLink
    HotKey = 1620
    LinkName = 'Tool.lnk'
    ObjectLocation = '\Sw Links Test\tool.exe'
    ObjectLocationType = psProgramFiles
    Parameters = '-w %w'
  end
  object WebLink: TInstallMainLink
    LinkName = 'Site.URL'
    ObjectLocation = 'http://example.com/tool'
  end
  object MenuLink: TInstallShellLink
    Container = Install1
    DestDirType = psProgramMenu
    DestDir = '\Sw Links Test'
    LinkName = 'Menu Tool.lnk'
    ObjectLocation = '\Sw Links Test\tool.exe'
    ObjectLocationType = psProgramFiles
    Parameters = 'menu'
  end
end
)";

class ShortcutsWineTest : public EngineWineTest {
  protected:
    void SetUp() override {
        EngineWineTest::SetUp();
        DeleteRegKeyTree(kHklm, kUninstallKey);
        programs_ = GetProgramsMenuFolder();
        folder_ = programs_ + "\\" + kLinksProduct;
        target_ = GetProgramFilesFolder() + "\\" + kLinksProduct + "\\tool.exe";
        RemoveTree(folder_);
    }
    void TearDown() override {
        FreeRoots();
        RemoveTree(folder_);
        DeleteRegKeyTree(kHklm, kUninstallKey);
        EngineWineTest::TearDown();
    }
    std::vector<std::string> UninstallFiles() {
        std::vector<std::string> listed;
        const std::string list = std::string(kUninstallKey) + "\\Files";
        const int count = std::stoi(ReadRegString(kHklm, list, "Entries", "0"));
        for (int n = 1; n <= count; ++n)
            listed.push_back(ReadRegString(kHklm, list, "File" + std::to_string(n), ""));
        return listed;
    }
    TMainLinkGroup* LoadProject() {
        form_ = Load(kLinksProject);
        return static_cast<TMainLinkGroup*>(form_->FindComponent("MainGroup"));
    }

    TComponent* form_ = nullptr;
    std::string programs_;
    std::string folder_;
    std::string target_;
};

TEST_F(ShortcutsWineTest, TheShellMakesTheLinksWhereTheProjectPutsThem) {
    if (WindowsVersion() != wvWindows95 && WindowsVersion() != wvWindowsNT)
        GTEST_SKIP() << "Wine's personality has no shell links";
    LoadProject()->Install();
    static_cast<TInstallShellLink*>(form_->FindComponent("MenuLink"))->Install();
    IShellLinks& links = *GetPlatform().ShellLinks;
    IFileSystem& files = *GetPlatform().Files;
    EXPECT_TRUE(files.DirectoryExists(folder_ + "\\Extras"));
    std::optional<ShellLink> tool = links.Load(folder_ + "\\Tool.lnk");
    ASSERT_TRUE(tool.has_value()) << folder_ + "\\Tool.lnk";
    EXPECT_TRUE(SameText(tool->Target, target_)) << tool->Target;
    EXPECT_EQ(tool->Arguments, "-w " + WindowsDirectory());
    EXPECT_TRUE(SameText(tool->WorkingDirectory, ExtractFileDir(target_))) << tool->WorkingDirectory;
    EXPECT_EQ(tool->HotKey, 1620);
    EXPECT_EQ(tool->IconPath, "") << "no icon is set";
    std::optional<ShellLink> menu = links.Load(folder_ + "\\Menu Tool.lnk");
    ASSERT_TRUE(menu.has_value());
    EXPECT_EQ(menu->Arguments, "menu");
    auto url = files.OpenFile(folder_ + "\\Site.URL", FileMode::Read);
    ASSERT_NE(url, nullptr);
    std::vector<uint8_t> bytes = url->ReadAll();
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "[InternetShortcut]\r\nURL=http://example.com/tool\r\n");
    EXPECT_EQ(UninstallFiles(),
              (std::vector<std::string>{folder_ + "\\Tool.lnk", folder_ + "\\Site.URL", folder_ + "\\Menu Tool.lnk"}));
}

TEST_F(ShortcutsWineTest, TheUninstallersShortcutGetsTheProductName) {
    if (WindowsVersion() != wvWindows95 && WindowsVersion() != wvWindowsNT)
        GTEST_SKIP() << "Wine's personality has no shell links";
    TMainLinkGroup* group = LoadProject();
    auto* uninstaller = new TUninstallEXE(form_);
    uninstaller->SetName("Uninstaller");
    uninstaller->SetDestName("uninstall.exe");
    auto* link = new TInstallShellLink(form_);
    link->SetName("RemoveLink");
    link->SetObjectLink(uninstaller);
    link->SetContainer(group);
    link->SetObjectLocationType(StandardPathSpecifiers().FindByClass<TpsProgramFiles>());
    link->SetObjectLocation(std::string("\\") + kLinksProduct + "\\uninstall.exe");
    uninstaller->SetProcessed(true);
    link->Install();
    std::optional<ShellLink> saved = GetPlatform().ShellLinks->Load(folder_ + "\\uninstall.lnk");
    ASSERT_TRUE(saved.has_value());
    EXPECT_TRUE(SameText(saved->Target, GetProgramFilesFolder() + "\\" + kLinksProduct + "\\uninstall.exe"))
        << saved->Target;
    EXPECT_EQ(saved->Arguments, kLinksProduct);
    EXPECT_EQ(UninstallFiles(), std::vector<std::string>{folder_ + "\\uninstall.lnk"});
}

// Wine's Program Manager keeps a group as a folder of the Programs menu and
// answers the "Groups" request, but no request for a group's items (its
// shell32 leaves that request a stub). So a selected group stays unselected
// and AddItem, which needs one, adds nothing here; items are covered against
// the fake DDE backend and the AddItem command by the DDE contract suite.
void ExpectGroupUnansweredByWine(const std::string& group) {
    TProgramManager& pm = ProgramManager();
    pm.SelectGroup(group);
    EXPECT_EQ(pm.CurrentGroup(), "");
    EXPECT_EQ(pm.ItemCount(), 0);
    EXPECT_TRUE(GetPlatform().Files->DirectoryExists(GetProgramsMenuFolder() + "\\" + group));
}

TEST_F(ShortcutsWineTest, Nt351MakesProgramManagerGroups) {
    if (WindowsVersion() != wvWindowsNT35)
        GTEST_SKIP() << "Wine does not report Windows NT 3.51";
    LoadProject()->Install();
    static_cast<TInstallShellLink*>(form_->FindComponent("MenuLink"))->Install();
    EXPECT_FALSE(GetPlatform().Files->FileExists(folder_ + "\\Tool.lnk")) << "the main link gets no item";
    TStrings groups;
    ProgramManager().GroupNames(groups);
    EXPECT_NE(std::find(groups.Lines.begin(), groups.Lines.end(), kLinksProduct), groups.Lines.end());
    ExpectGroupUnansweredByWine(kLinksProduct);
    EXPECT_EQ(UninstallFiles(), (std::vector<std::string>{folder_ + "\\Site.URL", folder_ + "\\Menu Tool.lnk"}));
}

TEST_F(ShortcutsWineTest, ProgramManagerAnswersOverDde) {
    TProgramManager& pm = ProgramManager();
    pm.CreateGroup("Sw Links Test");
    ExpectGroupUnansweredByWine("Sw Links Test");
    TStrings groups;
    pm.GroupNames(groups);
    EXPECT_NE(std::find(groups.Lines.begin(), groups.Lines.end(), "Sw Links Test"), groups.Lines.end());
    EXPECT_THROW(pm.CreateGroup("Sw \"Links\""), EAIPMCannotCreateGroup);
}

} // namespace
} // namespace sw::test
