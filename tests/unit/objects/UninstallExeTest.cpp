// The uninstaller file: installed like a file, it writes the product's display
// name and uninstall command instead of joining the file list.
#include "FileTestFixture.h"

#include "objects/UninstallExe.h"

namespace sw::test {
namespace {

using UninstallExeTest = FileTestFixture;

TEST_F(UninstallExeTest, InstallsAndWritesTheUnquotedCommandWithTheProductName) {
    install_->Information()->ProductName = "My Tool";
    auto* uninstaller = new TUninstallEXE(form_);
    EXPECT_TRUE(uninstaller->Net());
    uninstaller->SetName("Uninstall1");
    uninstaller->SetIncludeFromDir("C:\\Src");
    uninstaller->SetFileName("uninstall.exe");
    uninstaller->SetContainer(group_);
    PutSource("uninstall.exe", 64, 'u');
    Build();
    group_->Install();
    const std::string key = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\My Tool";
    EXPECT_EQ(Text(uninstaller->DestPath()), std::string(64, 'u'));
    EXPECT_EQ(RegText(key, "DisplayName"), "My Tool");
    EXPECT_EQ(RegText(key, "UninstallString"), "\"" + install_->GetDestPath() + "\\App\\uninstall.exe\" My Tool");
    EXPECT_EQ(RegText(key + "\\Files", "Entries"), "<none>") << "the uninstaller does not list itself";
}

TEST_F(UninstallExeTest, AnUninstallerInUseIsNamedByTheNameItHasAfterTheRestart) {
    UseWindowsNT();
    SetInstallRecordKeyPath("\\SOFTWARE\\Pellmoor\\Install\\1");
    auto* uninstaller = new TUninstallEXE(form_);
    uninstaller->SetName("Uninstall1");
    uninstaller->SetIncludeFromDir("C:\\Src");
    uninstaller->SetFileName("uninstall.exe");
    uninstaller->SetContainer(group_);
    PutSource("uninstall.exe", 64, 'u');
    Build();
    const std::string folder = install_->GetDestPath() + "\\App";
    fake_.Files().ForceDirectories(folder);
    fake_.Files().PutFile(folder + "\\uninstall.exe", "old");
    fake_.Files().SetInUse(folder + "\\uninstall.exe", true);
    group_->Install();
    EXPECT_EQ(uninstaller->DestName(), "uninstall.1");
    EXPECT_EQ(RegText(std::string(kProductKey), "UninstallString"), "\"" + folder + "\\uninstall.exe\" Tool");
}

TEST_F(UninstallExeTest, WithoutADriverItCannotWriteTheUninstallInformation) {
    auto* uninstaller = new TUninstallEXE(form_);
    uninstaller->SetName("Uninstall1");
    TComponent::Free(install_);
    EXPECT_EQ(ErrorOf<IEUninstallEXE>([&] { uninstaller->WriteUninstallInfo("\\Software\\X"); }),
              "Uninstall1 could not write information about the uninstall to the registry because there was no "
              "TInstall component");
}

} // namespace
} // namespace sw::test
