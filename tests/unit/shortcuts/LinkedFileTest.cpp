// Shortcuts to the files of a group installed beside them: a skipped file
// gets none, a file in use is linked by the name it has after the restart.
#include "unit/objects/FileTestFixture.h"

#include "paths/ShellFolders.h"
#include "paths/StandardSpecifiers.h"
#include "platform/ShellLinks.h"
#include "shortcuts/InstallShellLink.h"

namespace sw::test {
namespace {

constexpr const char* kDesktop = "C:\\WINDOWS\\Desktop";

class LinkedFileTest : public FileTestFixture {
  protected:
    void SetUp() override {
        FileTestFixture::SetUp();
        fake_.Registry().WriteString(RegistryRoot::CurrentUser, kShellFoldersKey, "Desktop", kDesktop);
        fake_.Files().ForceDirectories(kDesktop);
    }
    // A shortcut on the desktop to `file`, installed after the group's files.
    TInstallShellLink* LinkTo(TInstallFile* file) {
        auto* link = new TInstallShellLink(form_);
        link->SetName(file->Name() + "Link");
        link->SetObjectLink(file);
        link->SetContainer(group_);
        link->SetDestDirType(StandardPathSpecifiers().FindByClass<TpsDesktopMenu>());
        return link;
    }
    std::optional<ShellLink> LinkAt(const std::string& name) {
        return fake_.ShellLinks().Load(std::string(kDesktop) + "\\" + name);
    }
};

TEST_F(LinkedFileTest, AShortcutToASkippedFileIsNotMade) {
    TInstallFile* skipped = AddFile("tool.exe", 10);
    TInstallFile* installed = AddFile("help.txt", 10);
    LinkTo(skipped);
    LinkTo(installed);
    Build();
    skipped->OnBeforeInstall = TInstallFileNotifyEvent("Skip", [](TCustomInstallFile*) { throw EAbort(); });
    group_->Install();
    EXPECT_FALSE(LinkAt("tool.lnk").has_value());
    ASSERT_TRUE(LinkAt("help.lnk").has_value());
    EXPECT_EQ(LinkAt("help.lnk")->Target, installed->DestPath());
}

TEST_F(LinkedFileTest, AShortcutToAFileInUseNamesTheFileItReplaces) {
    UseWindowsNT();
    SetInstallRecordKeyPath("\\SOFTWARE\\Pellmoor\\Install\\1");
    TInstallFile* file = AddFile("tool.exe", 10);
    LinkTo(file);
    Build();
    const std::string folder = install_->GetDestPath() + "\\App";
    fake_.Files().ForceDirectories(folder);
    fake_.Files().PutFile(folder + "\\tool.exe", "old");
    fake_.Files().SetInUse(folder + "\\tool.exe", true);
    group_->Install();
    EXPECT_EQ(file->DestName(), "tool.1");
    std::optional<ShellLink> link = LinkAt("tool.lnk");
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->Target, folder + "\\tool.exe");
    EXPECT_EQ(link->WorkingDirectory, folder);
}

} // namespace
} // namespace sw::test
