// The shortcut and folder components outside an install: their property
// rules, the main program folder's uniqueness, and their lifetimes.
#include "ShortcutFixture.h"

#include "shortcuts/ShortcutsState.h"
#include "system/InstallErrors.h"

namespace sw::test {
namespace {

class ShellLinkPropertiesTest : public ShortcutFixture {
  protected:
    TInstallShellLink* NewLink(TComponent* owner, const char* name) {
        auto* link = new TInstallShellLink(owner);
        link->SetName(name);
        return link;
    }
};

TEST_F(ShellLinkPropertiesTest, AStreamGivesEveryShortcutItsPlace) {
    LoadProject();
    EXPECT_EQ(main_->GetObjectKind(), 7000);
    EXPECT_EQ(tool_->GetObjectKind(), 8000);
    EXPECT_EQ(ShortcutsState().MainLinkGroup, main_);
    EXPECT_EQ(ShortcutsState().ShellLinks.size(), 3u);
    EXPECT_EQ(ShortcutsState().MainLinks.size(), 2u);
    EXPECT_EQ(main_->GetDestPath(), std::string(kPrograms) + "\\Tool");
    EXPECT_EQ(tool_->Container(), main_);
    EXPECT_EQ(tool_->ShortcutFile(), std::string(kPrograms) + "\\Tool\\Tool.lnk");
    EXPECT_EQ(tool_->ObjectPath(), "C:\\Program Files\\Tool\\tool.exe");
    EXPECT_EQ(tool_->HotKey(), 1620);
    EXPECT_EQ(web_->Method(), TMethodType::mtProgramManager);
    EXPECT_EQ(extras_->GetDestPath(), std::string(kPrograms) + "\\Tool\\Extras");
    EXPECT_NE(form_->FindComponent("psObjectLink"), nullptr) << "made by the first shortcut";
}

TEST_F(ShellLinkPropertiesTest, LinkNamesKeepALinkOrInternetExtension) {
    LoadProject();
    menu_->SetLinkName("Help.lnk");
    menu_->SetLinkName("Readme");
    EXPECT_EQ(menu_->LinkName(), "Readme.LNK");
    menu_->SetLinkName("Notes.txt");
    EXPECT_EQ(menu_->LinkName(), "Notes.LNK");
    auto* file = new TInstallFile(form_);
    file->SetName("ToolFile");
    file->SetDestName("tool.exe");
    menu_->SetObjectLink(file);
    EXPECT_EQ(menu_->LinkName(), "tool.lnk");
    menu_->SetLinkName("Site.url");
    EXPECT_EQ(menu_->LinkName(), "Site.url");
    EXPECT_EQ(menu_->ObjectLink(), nullptr);
    EXPECT_EQ(menu_->ObjectLocationType(), nullptr);
    menu_->SetLinkName("Home");
    EXPECT_EQ(menu_->LinkName(), "Home.url") << "the previous extension carries over";
}

TEST_F(ShellLinkPropertiesTest, LocationsNameAnEmptyLink) {
    TTestForm* form = NewForm();
    TInstallShellLink* link = NewLink(form, "Web");
    link->SetObjectLocation("http://host/page");
    EXPECT_EQ(link->LinkName(), "host/page.URL");
    link->SetLinkName(".LNK");
    link->SetObjectLocation("see ftp://files/get");
    EXPECT_EQ(link->LinkName(), "files/get.URL");
    link->SetLinkName("");
    link->SetObjectLocation("C:\\Tools\\app.exe\\");
    EXPECT_EQ(link->LinkName(), "") << "a folder path has no file name";
    link->SetLinkName("");
    link->SetObjectLocation("C:\\Tools\\app.exe");
    EXPECT_EQ(link->LinkName(), "app.LNK");
    link->SetObjectLocation("http://other/");
    EXPECT_EQ(link->LinkName(), "app.LNK") << "a name is kept";
    EXPECT_EQ(link->ObjectPath(), "http://other/");
}

TEST_F(ShellLinkPropertiesTest, ObjectLinksSetTheTargetAndTheName) {
    LoadProject();
    auto* group = new TInstallFileGroup(form_);
    group->SetName("Docs");
    group->SetGroupName("Documentation");
    TInstallShellLink* link = NewLink(form_, "DocsLink");
    link->SetObjectLocation("C:\\x.exe");
    link->SetObjectLink(group);
    EXPECT_EQ(link->LinkName(), "Documentation.lnk");
    EXPECT_EQ(link->ObjectLocation(), "");
    EXPECT_EQ(link->ObjectLocationType(), StandardPathSpecifiers().FindByClass<TpsObjectLink>());
    EXPECT_EQ(link->Container(), group) << "a link without a container hangs below its object";
    link->SetObjectLocation("ignored");
    EXPECT_EQ(link->ObjectLocation(), "");
    link->SetObjectLink(nullptr);
    EXPECT_EQ(link->ObjectLink(), nullptr);
    EXPECT_EQ(link->ObjectLocationType(), nullptr);
    menu_->SetObjectLink(tool_);
    EXPECT_EQ(menu_->LinkName(), "ToolLink.lnk");
    EXPECT_EQ(menu_->Container(), Find<TInstallContainer>("Install1")) << "a container is kept";
}

TEST_F(ShellLinkPropertiesTest, ObjectLinkPathsServeShortcutsWithALink) {
    LoadProject();
    auto* specifier = StandardPathSpecifiers().FindByClass<TpsObjectLink>();
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { menu_->SetObjectLocationType(specifier); }),
              "Cannot use ddObjectLink for MenuLink unless you assign a value to ObjectLink");
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { specifier->GetPath(main_); }),
              "MainGroup must be a TCustomInstallShellLink to use the psObjectLink path specifier");
    menu_->SetObjectLink(extras_);
    EXPECT_EQ(menu_->ObjectPath(), std::string(kPrograms) + "\\Tool\\Extras");
}

TEST_F(ShellLinkPropertiesTest, ThereIsOneMainFolderInTheProgramsMenu) {
    LoadProject();
    EXPECT_EQ(ErrorOf<IEShellLinkGroup>([&] { new TMainLinkGroup(form_); }),
              "You can only have one TMainLinkGroup component in your project");
    main_->SetDestDirType(StandardPathSpecifiers().FindByClass<TpsDesktopMenu>());
    EXPECT_EQ(main_->DestDirType(), StandardPathSpecifiers().FindByClass<TpsProgramMenu>());
    main_->SetContainer(nullptr);
    main_->SetContainer(Find<TInstallContainer>("Install1"));
    EXPECT_EQ(main_->DestDir(), "\\Tool") << "the folder keeps its name";
}

TEST_F(ShellLinkPropertiesTest, TheMainFolderIsNamedAfterTheProduct) {
    TTestForm* form = NewForm();
    auto* unnamed = new TMainLinkGroup(form);
    EXPECT_EQ(unnamed->DestDir(), "\\MainFolderName");
    TComponent::Free(unnamed);
    Load(kBasicForm);
    TTestForm* other = NewForm();
    auto* named = new TMainLinkGroup(other);
    EXPECT_EQ(named->DestDir(), "\\My product");
    EXPECT_EQ(named->DestDirType(), StandardPathSpecifiers().FindByClass<TpsProgramMenu>());
}

TEST_F(ShellLinkPropertiesTest, MainLinksLiveInTheMainFolderOnly) {
    TTestForm* form = NewForm();
    EXPECT_EQ(ErrorOf<IEInstallShellLink>([&] { new TInstallMainLink(form); }),
              "To create a TInstallMainLink you must first have a TMainLinkGroup component in your project");
    EXPECT_EQ(ErrorOf<IEShellLinkGroup>([&] { new TSubLinkGroup(form); }),
              "The TMainLinkGroup component must be the Container for TInstallMainLink and TSubLinkGroup components");
    auto* main = new TMainLinkGroup(form);
    auto* link = new TInstallMainLink(form);
    EXPECT_EQ(link->Container(), main);
    EXPECT_EQ(link->DestDirType(), StandardPathSpecifiers().FindByClass<TpsContainerDestDir>());
    link->SetDestDirType(StandardPathSpecifiers().FindByClass<TpsDesktopMenu>());
    EXPECT_EQ(link->DestDirType(), StandardPathSpecifiers().FindByClass<TpsContainerDestDir>());
    auto* other = NewLink(form, "Other");
    EXPECT_EQ(ErrorOf<IEInstallShellLink>([&] { link->SetContainer(other); }),
              "The TMainLinkGroup component must be the Container for TInstallMainLink and TSubLinkGroup components");
    EXPECT_EQ(link->Container(), main);
}

TEST_F(ShellLinkPropertiesTest, ShortcutsGoWithTheirContainerOrTheirObject) {
    LoadProject();
    auto* file = new TInstallFile(form_);
    file->SetName("ToolFile");
    menu_->SetObjectLink(file);
    TComponent::Free(file);
    EXPECT_EQ(form_->FindComponent("MenuLink"), nullptr);
    EXPECT_EQ(ShortcutsState().ShellLinks.size(), 2u);
    TComponent::Free(main_);
    EXPECT_EQ(form_->FindComponent("ToolLink"), nullptr);
    EXPECT_EQ(form_->FindComponent("WebLink"), nullptr);
    EXPECT_EQ(form_->FindComponent("Extras"), nullptr);
    EXPECT_EQ(ShortcutsState().MainLinkGroup, nullptr);
    EXPECT_TRUE(ShortcutsState().ShellLinks.empty());
    EXPECT_TRUE(ShortcutsState().MainLinks.empty());
}

} // namespace
} // namespace sw::test
