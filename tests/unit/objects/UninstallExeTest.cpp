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
