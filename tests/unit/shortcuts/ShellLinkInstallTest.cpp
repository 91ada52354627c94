// Installing shortcuts on the fake platform: shell links, internet
// shortcuts and Program Manager items by method and Windows version, the
// uninstall list, and every failure.
#include "ShortcutFixture.h"

#include "objects/InstallParameters.h"
#include "platform/ShellLinks.h"
#include "shortcuts/ProgramManagerErrors.h"
#include "system/InstallErrors.h"

namespace sw::test {
namespace {

class ShellLinkInstallTest : public ShortcutFixture {
  protected:
    std::optional<ShellLink> LinkAt(const std::string& file) { return fake_.ShellLinks().Load(file); }
};

TEST_F(ShellLinkInstallTest, TheMainFolderGetsItsShellLinksAndInternetShortcuts) {
    LoadProject();
    main_->Install();
    const std::string folder = std::string(kPrograms) + "\\Tool";
    EXPECT_TRUE(fake_.Files().DirectoryExists(folder));
    EXPECT_TRUE(fake_.Files().DirectoryExists(folder + "\\Extras"));
    std::optional<ShellLink> tool = LinkAt(folder + "\\Tool.lnk");
    ASSERT_TRUE(tool.has_value());
    EXPECT_EQ(tool->Target, "C:\\Program Files\\Tool\\tool.exe");
    EXPECT_EQ(tool->Arguments, "-d C:\\WINDOWS\\Desktop");
    EXPECT_EQ(tool->WorkingDirectory, "C:\\Program Files\\Tool");
    EXPECT_EQ(tool->HotKey, 1620);
    // A .URL name makes an internet shortcut whatever the method.
    EXPECT_EQ(fake_.Files().FileText(folder + "\\Site.URL"), "[InternetShortcut]\r\nURL=http://example.com/tool\r\n");
    EXPECT_TRUE(fake_.Dde().Commands().empty());
    EXPECT_EQ(UninstallEntries(), "2");
    EXPECT_EQ(UninstallFile(1), folder + "\\Tool.lnk");
    EXPECT_EQ(UninstallFile(2), folder + "\\Site.URL");
}

TEST_F(ShellLinkInstallTest, NtFourMakesShellLinksAndNt351ProgramManagerItems) {
    LoadProject();
    fake_.System().SetVersion(OSVersion{4, 0, 1381, PlatformId::NT});
    menu_->Install();
    EXPECT_TRUE(LinkAt(std::string(kPrograms) + "\\Tool\\Menu Tool.lnk").has_value());
    EXPECT_TRUE(fake_.Dde().Commands().empty());
}

TEST_F(ShellLinkInstallTest, Nt351MakesItemsOnlyForProgramMenuShortcuts) {
    LoadProject();
    SetNt351();
    main_->Install();
    menu_->Install();
    const std::vector<std::string> expected{
        "[CreateGroup(\"Tool\")]", "[ShowGroup(Tool,8)]",
        "[AddItem(\"C:\\Program Files\\Tool\\tool.exe\" x,Menu Tool,,0,,,\"C:\\Program Files\\Tool\",)]"};
    EXPECT_EQ(fake_.Dde().Commands(), expected) << "the main link (psContainerDestDir) gets no item";
    EXPECT_FALSE(fake_.Files().FileExists(std::string(kPrograms) + "\\Tool\\Tool.lnk"));
    const fake::FakeDde::Group* group = fake_.Dde().FindGroup("Tool");
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->Items.size(), 1u);
    EXPECT_EQ(group->Items[0].Name, "Menu Tool");
    // The internet shortcut and the item are recorded; the main link made nothing.
    EXPECT_EQ(UninstallEntries(), "2");
    EXPECT_EQ(UninstallFile(1), std::string(kPrograms) + "\\Tool\\Site.URL");
    EXPECT_EQ(UninstallFile(2), std::string(kPrograms) + "\\Tool\\Menu Tool.lnk");
}

TEST_F(ShellLinkInstallTest, AnExistingItemIsReplacedInItsPlace) {
    LoadProject();
    fake_.Dde().AddGroup({"Tool", {{"Menu Tool", "old.exe", "", "0", "C:\\", ""}, {"Other", "o.exe", "", "0", "", ""}}});
    menu_->SetMethod(TMethodType::mtProgramManager);
    menu_->Install();
    const auto& commands = fake_.Dde().Commands();
    ASSERT_EQ(commands.size(), 5u);
    EXPECT_EQ(commands[2], "[ReplaceItem(\"Menu Tool\")]");
    const fake::FakeDde::Group* group = fake_.Dde().FindGroup("Tool");
    ASSERT_EQ(group->Items.size(), 2u);
    EXPECT_EQ(group->Items[0].CommandLine, "\"C:\\Program Files\\Tool\\tool.exe\" x");
}

TEST_F(ShellLinkInstallTest, ARefusedGroupEndsTheInstall) {
    LoadProject();
    menu_->SetMethod(TMethodType::mtProgramManager);
    fake_.Dde().RefuseCommands("[CreateGroup(");
    EXPECT_EQ(ErrorOf<EAIPMCannotCreateGroup>([&] { menu_->Install(); }),
              "The TProgramManager object was unable to create the following program group: Tool");
    EXPECT_EQ(UninstallEntries(), "") << "nothing made, nothing recorded";
}

TEST_F(ShellLinkInstallTest, ARefusedReplaceEndsTheInstall) {
    LoadProject();
    menu_->SetMethod(TMethodType::mtProgramManager);
    fake_.Dde().AddGroup({"Tool", {{"Menu Tool", "old.exe", "", "0", "C:\\", ""}}});
    fake_.Dde().RefuseCommands("[ReplaceItem(");
    EXPECT_EQ(ErrorOf<EAIPMCannotReplaceItem>([&] { menu_->Install(); }),
              "The TProgramManager object was unable to replace the following program item: Menu Tool to the "
              "following group: Tool");
}

TEST_F(ShellLinkInstallTest, ARefusedItemEndsTheInstall) {
    LoadProject();
    menu_->SetMethod(TMethodType::mtProgramManager);
    fake_.Dde().RefuseCommands("[AddItem(");
    EXPECT_EQ(ErrorOf<EAIPMCannotAddItem>([&] { menu_->Install(); }),
              "The TProgramManager object was unable to add the following program item: Menu Tool to the following "
              "group: Tool. The arguments passed to  Program Manager were: [AddItem(\"C:\\Program "
              "Files\\Tool\\tool.exe\" x,Menu Tool,,0,,,\"C:\\Program Files\\Tool\",)]");
}

TEST_F(ShellLinkInstallTest, AGroupThatCannotBeShownEndsTheInstall) {
    LoadProject();
    menu_->SetMethod(TMethodType::mtProgramManager);
    fake_.Dde().RefuseCommands("[ShowGroup(");
    EXPECT_EQ(ErrorOf<EAIPMCannotOpenGroup>([&] { menu_->Install(); }),
              "The TProgramManager object was unable to open the following program group: Tool");
}

TEST_F(ShellLinkInstallTest, NoProgramManagerEndsTheInstall) {
    LoadProject();
    menu_->SetMethod(TMethodType::mtProgramManager);
    fake_.Dde().SetAvailable(false);
    EXPECT_EQ(ErrorOf<EAIPMCannotOpen>([&] { menu_->Install(); }),
              "The TProgramManager object was unable to establish a link with Program Manager");
}

TEST_F(ShellLinkInstallTest, ABlankLinkNameFails) {
    LoadProject();
    tool_->SetLinkName("  ");
    EXPECT_EQ(ErrorOf<IEInstallShellLink>([&] { tool_->Install(); }),
              "The LinkName is blank for ToolLink and therefore could not be installed");
}

TEST_F(ShellLinkInstallTest, AShortcutToAnObjectNotInstalledIsSkippedSilently) {
    LoadProject();
    auto* file = new TInstallFile(form_);
    file->SetName("ReadmeFile");
    file->SetDestName("readme.txt");
    menu_->SetObjectLink(file);
    menu_->Install();
    EXPECT_FALSE(fake_.Files().FileExists(std::string(kPrograms) + "\\Tool\\readme.lnk"));
    EXPECT_EQ(UninstallEntries(), "");
}

TEST_F(ShellLinkInstallTest, TheUninstallersShortcutGetsTheProductName) {
    LoadProject();
    auto* uninstaller = new TUninstallEXE(form_);
    uninstaller->SetName("Uninstaller");
    uninstaller->SetDestName("uninstall.exe");
    auto* link = new TInstallShellLink(form_);
    link->SetName("RemoveLink");
    link->SetObjectLink(uninstaller);
    EXPECT_EQ(link->LinkName(), "uninstall.lnk");
    EXPECT_EQ(link->Container(), uninstaller);
    link->SetContainer(main_);
    link->SetObjectLocationType(StandardPathSpecifiers().FindByClass<TpsProgramFiles>());
    link->SetObjectLocation("\\Tool\\uninstall.exe");
    uninstaller->SetProcessed(true);
    link->Install();
    std::optional<ShellLink> saved = LinkAt(std::string(kPrograms) + "\\Tool\\uninstall.lnk");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->Arguments, "Tool");
    EXPECT_EQ(link->Parameters(), "Tool");
}

TEST_F(ShellLinkInstallTest, TheUninstallersShortcutNeedsADriver) {
    TTestForm* form = NewForm();
    auto* uninstaller = new TUninstallEXE(form);
    uninstaller->SetName("Uninstaller");
    uninstaller->SetProcessed(true);
    auto* link = new TInstallShellLink(form);
    link->SetName("RemoveLink");
    link->SetObjectLink(uninstaller);
    EXPECT_EQ(ErrorOf<IEInstallShellLink>([&] { link->InstallObjects(); }),
              "RemoveLink cannot perform operation because there is no TInstall component");
}

TEST_F(ShellLinkInstallTest, ShellFailuresNameTheCall) {
    LoadProject();
    const std::pair<int32_t, std::string> cases[] = {
        {hresult::Unexpected, "Indicates an unexpected error occurred"},
        {hresult::NoAggregation, "Indicates this class cannot be created as part of an aggregate"},
        {hresult::ClassNotRegistered, "Indicates that a specified class is not registered in the registration database"},
        {hresult::OutOfMemory, "Out of memory"},
        {hresult::InvalidArgument, "Indicates one or more arguments are invalid"},
        {hresult::AccessDenied, "System error -2147024891"},
    };
    for (const auto& [code, text] : cases) {
        fake_.ShellLinks().FailNextSave(code);
        EXPECT_EQ(ErrorOf<IEInstallShellLink>([&] { tool_->Install(); }),
                  "The TCustomInstallShellLink ToolLink name could not be installed. The following error was reported " +
                      text + ". Error code " + std::to_string(code));
    }
    EXPECT_FALSE(fake_.Files().FileExists(std::string(kPrograms) + "\\Tool\\Tool.lnk"));
}

TEST_F(ShellLinkInstallTest, ComThatDoesNotInitializeFails) {
    LoadProject();
    fake_.ShellLinks().FailCom(hresult::OutOfMemory);
    EXPECT_EQ(ErrorOf<IEInstallShellLink>([&] { tool_->Install(); }),
              "Could not initialize IShellLink with following error code returned: -2147024882");
}

TEST_F(ShellLinkInstallTest, ComIsInitializedOncePerShortcut) {
    LoadProject();
    tool_->Install();
    tool_->SetLinkName("Second.lnk");
    tool_->Install();
    EXPECT_EQ(fake_.ShellLinks().ComInitializations(), 1);
}

TEST_F(ShellLinkInstallTest, OtherErrorsAreReportedWithTheirMessage) {
    TTestForm* form = NewForm();
    auto* link = new TInstallShellLink(form);
    link->SetName("Loose");
    link->SetDestDirType(StandardPathSpecifiers().FindByClass<TpsDesktopMenu>());
    link->SetObjectLocation("C:\\tool.exe");
    link->SetParameters("%c");
    link->SetMethod(TMethodType::mtShellLinkInterface);
    EXPECT_EQ(ErrorOf<IEInstallShellLink>([&] { link->InstallObjects(); }),
              "The TCustomInstallShellLink Loose name could not be installed. The following error was reported Cannot "
              "expand the %c meta variable because the Container property is Nil");
}

TEST_F(ShellLinkInstallTest, ShortcutsStayInTheirFolder) {
    LoadProject();
    for (const char* name : {"..\\..\\evil.lnk", "sub\\x.lnk", "C:evil.lnk", "CON.lnk", "lpt1.lnk", "a/b.URL"}) {
        tool_->SetLinkName(name);
        EXPECT_EQ(ErrorOf<IEInstallShellLink>([&] { tool_->Install(); }),
                  std::string("The LinkName ") + tool_->LinkName() +
                      " of ToolLink is not a plain file name and could not be installed");
    }
    menu_->SetDestDir("\\Tool\\..\\..\\..");
    EXPECT_EQ(ErrorOf<IEInstallShellLink>([&] { menu_->Install(); }),
              "The folder \\Tool\\..\\..\\.. of MenuLink leaves the folder it belongs to and could not be installed");
    extras_->SetDestDir("\\..\\Startup");
    EXPECT_EQ(ErrorOf<IEShellLinkGroup>([&] { extras_->Install(); }),
              "The folder \\..\\Startup of Extras leaves the folder it belongs to and could not be installed");
    EXPECT_EQ(fake_.ShellLinks().ComInitializations(), 0) << "nothing was saved";
}

// A dialog under a shortcut: the texts the shortcut sends it.
class TMessageRecorder : public TInstallObject {
  public:
    using TInstallObject::TInstallObject;
    int GetObjectKind() const override { return 9000; }
    void HandleInstallMessage(TInstallContainer*, int code, TPersistent* parameter) override {
        if (auto* message = dynamic_cast<TMessageParameter*>(parameter); message && code == -974)
            Texts.push_back(message->Text);
    }
    std::vector<std::string> Texts;
};

TEST_F(ShellLinkInstallTest, AForeignShortcutFileIsKeptAndTheInstallGoesOn) {
    LoadProject();
    const std::string folder = std::string(kPrograms) + "\\Tool";
    fake_.Files().ForceDirectories(folder);
    fake_.Files().PutFile(folder + "\\Tool.lnk", "someone else's");
    fake_.Files().PutFile(folder + "\\Site.URL", "[InternetShortcut]\r\nURL=http://other/\r\n");
    auto* dialog = new TMessageRecorder(form_);
    dialog->SetContainer(tool_);
    main_->Install();
    EXPECT_EQ(fake_.Files().FileText(folder + "\\Tool.lnk"), "someone else's");
    EXPECT_EQ(fake_.Files().FileText(folder + "\\Site.URL"), "[InternetShortcut]\r\nURL=http://other/\r\n");
    EXPECT_EQ(dialog->Texts, std::vector<std::string>{"The shortcut file " + folder +
                                                      "\\Tool.lnk of ToolLink exists already and was not made by "
                                                      "this product, so it was not replaced"});
    // Neither is recorded as the product's to remove.
    EXPECT_EQ(UninstallEntries(), "");
    EXPECT_TRUE(main_->Processed());
}

TEST_F(ShellLinkInstallTest, ASecondInstallReplacesItsOwnShortcuts) {
    LoadProject();
    main_->Install();
    tool_->SetParameters("again");
    main_->Install();
    std::optional<ShellLink> tool = LinkAt(std::string(kPrograms) + "\\Tool\\Tool.lnk");
    ASSERT_TRUE(tool.has_value());
    EXPECT_EQ(tool->Arguments, "again");
    EXPECT_EQ(UninstallEntries(), "4") << "the list continues";
}

TEST_F(ShellLinkInstallTest, ALinkToAFolderMakesTheFolderFirst) {
    LoadProject();
    auto* link = new TInstallShellLink(form_);
    link->SetName("ExtrasLink");
    link->SetObjectLink(extras_);
    EXPECT_EQ(link->LinkName(), "Extras.lnk");
    EXPECT_EQ(link->ObjectLocationType(), StandardPathSpecifiers().FindByClass<TpsObjectLink>());
    link->SetContainer(Find<TInstallContainer>("Install1"));
    link->SetDestDirType(StandardPathSpecifiers().FindByClass<TpsDesktopMenu>());
    extras_->SetProcessed(true);
    link->Install();
    EXPECT_TRUE(fake_.Files().DirectoryExists(std::string(kPrograms) + "\\Tool\\Extras"));
    std::optional<ShellLink> saved = LinkAt("C:\\WINDOWS\\Desktop\\Extras.lnk");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->Target, std::string(kPrograms) + "\\Tool\\Extras");
}

} // namespace
} // namespace sw::test
