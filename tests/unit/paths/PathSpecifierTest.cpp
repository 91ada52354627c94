// Path specifiers: the standard set, the lists, validation and the paths they give.
#include "support/EngineFixture.h"
#include "support/ErrorOf.h"

#include "paths/ShellFolders.h"
#include "paths/StandardSpecifiers.h"
#include "system/InstallErrors.h"

namespace sw::test {
namespace {

class PathSpecifierTest : public EngineFixture {
  protected:
    TInstall* LoadDriver(const std::string& arguments = "") {
        SetArguments(arguments);
        return static_cast<TInstall*>(Load(kBasicForm)->FindComponent("Install1"));
    }
    TCustomPathSpecifier* Specifier(TComponent* form, const char* name) {
        return static_cast<TCustomPathSpecifier*>(form->FindComponent(name));
    }
};

TEST_F(PathSpecifierTest, EnsureAddsTheMissingStandardOnesInOrder) {
    TTestForm* form = NewForm();
    auto* system = new TpsSystem(form);
    system->SetName("MySystem");
    auto* custom = new TPathSpecifier(form);
    custom->SetName("Custom");
    EnsureStandardSpecifiers(form);
    std::vector<std::string> names;
    for (int i = 0; i < form->ComponentCount(); ++i)
        names.push_back(form->Components(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"MySystem", "Custom", "psBDEDLL", "psCommonFiles",
                                               "psContainerArchiveFile", "psContainerDestDir", "psDesktopMenu",
                                               "psInstallSource", "psMainInstall", "psProgramFiles", "psProgramMenu",
                                               "psStartMenu", "psStartupMenu", "psMainArchiveFile", "psWindow"}));
    EXPECT_EQ(AllPathSpecifiers().Count(), 15);
    EXPECT_EQ(StandardPathSpecifiers().Count(), 14);
    EnsureStandardSpecifiers(form);
    EXPECT_EQ(form->ComponentCount(), 15);
    EXPECT_EQ(StandardPathSpecifiers().FindByClass<TpsSystem>(), system);
    TComponent::Free(system);
    EXPECT_EQ(AllPathSpecifiers().Count(), 14);
    EXPECT_EQ(StandardPathSpecifiers().Count(), 13);
}

TEST_F(PathSpecifierTest, SavedSpecifiersComeFirstAndNothingIsAdded) {
    const char* text = R"(object Form1: TTestForm
  object Sys: TpsSystem
  end
  object Install1: TInstall
    DestDirType = Sys
    RunAutomatic = False
  end
end
)";
    TComponent* form = Load(text);
    EXPECT_EQ(form->FindComponent("psSystem"), nullptr);
    EXPECT_EQ(static_cast<TInstall*>(form->FindComponent("Install1"))->GetDestPath(),
              "C:\\WINDOWS\\SYSTEM\\MyApplication");
}

TEST_F(PathSpecifierTest, ListsRefuseBlanksAndReportMissingClasses) {
    TPathSpecifierList list;
    try {
        list.Add(nullptr);
        FAIL();
    } catch (const IEPathSpecifierList& e) {
        EXPECT_STREQ(e.what(), "Tried to add a nil object to the path specifier list");
    }
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { list.FindByClass<TpsWindow>(); }), "Could not find the path specifier");
    TTestForm* form = NewForm();
    auto* window = new TpsWindow(form);
    list.Add(window);
    EXPECT_EQ(list.FindByClass(TStandardPathSpecifier::StaticClassInfo()), window);
    list.Remove(window);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(PathSpecifierTest, ProjectSpecifierAsksItsHandler) {
    TTestForm* form = NewForm();
    TPathSpecifier custom(nullptr);
    EXPECT_EQ(custom.GetDescription(), "My cool new path specifier");
    EXPECT_EQ(custom.GetPath(form), "");
    custom.OnGetPath = TGetPathEvent("GetPath", [&](TComponent* c, std::string& path) {
        EXPECT_EQ(c, form);
        path = "D:\\Data\\";
    });
    EXPECT_EQ(custom.GetPath(form), "D:\\Data\\");
    EXPECT_EQ(TpsStartMenu(nullptr).GetComponentDescription(form), "Path of Start Menu");
}

TEST_F(PathSpecifierTest, SystemAndWindowsDirectories) {
    TInstall* install = LoadDriver();
    TComponent* form = install->Owner();
    EXPECT_EQ(Specifier(form, "psSystem")->GetPath(install), "C:\\WINDOWS\\SYSTEM");
    fake_.System().SetWindowsDirectory("D:\\WIN\\");
    EXPECT_EQ(Specifier(form, "psWindow")->GetPath(install), "D:\\WIN");
    fake_.System().SetSystemDirectory("");
    fake_.System().SetWindowsDirectory("");
    EXPECT_EQ(ErrorOf<EAPIRoutines>([&] { Specifier(form, "psSystem")->GetPath(install); }),
              "Could not retrieve the system directroy from windows");
    EXPECT_EQ(ErrorOf<EAPIRoutines>([&] { Specifier(form, "psWindow")->GetPath(install); }),
              "Could not retrieve the windows directory from windows");
}

TEST_F(PathSpecifierTest, ContainerSpecifiersValidateTheComponent) {
    TInstall* install = LoadDriver();
    TComponent* form = install->Owner();
    auto* destDir = Specifier(form, "psContainerDestDir");
    auto* archive = Specifier(form, "psContainerArchiveFile");
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { destDir->GetPath(form); }),
              "Form1 must be a TInstallObject to use the psContainerDestDir path specifier");
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { archive->ValidateComponent(form); }),
              "Form1 must be a TInstallObject to use the psContainerArchiveFile path specifier");
    auto* group = new TInstallFileGroup(form);
    group->SetName("Group1");
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { group->SetDestDirType(destDir); }),
              "Cannot use ddContainerDestDir for Group1 unless you assign a Container");
    EXPECT_EQ(group->DestDirType(), nullptr);
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { group->SetArchiveFileType(archive); }),
              "Cannot use ddContainerArchiveFile for Group1 unless you assign a Container");
    EXPECT_EQ(destDir->GetComponentDescription(group), "Path of the group (container)");
    group->SetContainer(install);
    EXPECT_EQ(destDir->GetComponentDescription(group), "Path of the <Main> group");
    EXPECT_EQ(archive->GetPath(group), "C:\\SETUP\\files.1");
}

TEST_F(PathSpecifierTest, ContainerArchiveNeedsAFileRelatedContainer) {
    TInstall* install = LoadDriver();
    TComponent* form = install->Owner();
    auto* archive = Specifier(form, "psContainerArchiveFile");
    auto* holder = new TInstallObject(form);
    holder->SetName("Holder");
    auto* group = new TInstallFileGroup(form);
    group->SetName("Group1");
    group->SetContainer(install);
    EXPECT_EQ(group->ArchiveFileType(), archive);
    group->SetContainer(holder);
    EXPECT_EQ(group->ArchiveFileType(), nullptr);
    EXPECT_EQ(group->DestDirType(), Specifier(form, "psContainerDestDir"));
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { archive->GetPath(group); }),
              "Cannot use the ddContainerArchiveFile path specifier for Group1 because the Container is not a "
              "TFileRelated descendant");
    // The holder's own destination is its bare relative part.
    holder->SetDestDir("\\Holder");
    EXPECT_EQ(group->GetDestPath(), "\\Holder");
}

TEST_F(PathSpecifierTest, DriverSpecifiersNeedADriver) {
    TTestForm* form = NewForm();
    form->SetName("Form1");
    EnsureStandardSpecifiers(form);
    for (const char* name : {"psInstallSource", "psMainInstall", "psMainArchiveFile"})
        EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { Specifier(form, name)->GetPath(form); }),
                  "There is no TInstall component so the path specifier could not be expanded for Form1")
            << name;
}

TEST_F(PathSpecifierTest, MainInstallRefusesTheDriverItself) {
    TInstall* install = LoadDriver("-sD:\\Dist");
    TComponent* form = install->Owner();
    auto* mainInstall = Specifier(form, "psMainInstall");
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { install->SetDestDirType(mainInstall); }),
              "Cannot use the ddMainInstallDir path specifier for a TInstall component");
    install->SetDestDirType(Specifier(form, "psInstallSource"));
    auto* group = new TInstallFileGroup(form);
    group->SetDestDirType(mainInstall);
    group->SetDestDir("\\Extras");
    EXPECT_EQ(group->GetDestPath(), "D:\\Dist\\MyApplication\\Extras");
}

TEST_F(PathSpecifierTest, MainArchiveFollowsTheSelfExtractor) {
    TInstall* install = LoadDriver("-sD:\\Dist\\");
    auto* mainArchive = Specifier(install->Owner(), "psMainArchiveFile");
    EXPECT_EQ(mainArchive->GetPath(install), "D:\\Dist\\files.1");
    EXPECT_EQ(Specifier(install->Owner(), "psInstallSource")->GetPath(install), "D:\\Dist");
    FreeRoots();
    install = LoadDriver(R"("-sD:\My Dist" -eSetup.exe)");
    EXPECT_EQ(Specifier(install->Owner(), "psMainArchiveFile")->GetPath(install), "D:\\My Dist\\Setup.exe");
    FreeRoots();
    install = LoadDriver(R"(-sD:\Dist "-e   ")");
    EXPECT_EQ(ErrorOf<IEInstall>([&] { Specifier(install->Owner(), "psMainArchiveFile")->GetPath(install); }),
              "You forgot to pass in the name of the self-extracting executable. Usage example: \"-eSetup.exe\"");
}

TEST_F(PathSpecifierTest, BdeDllPathIsTheFirstEntryOfTheRegisteredList) {
    TInstall* install = LoadDriver();
    TCustomPathSpecifier* bde = Specifier(install->Owner(), "psBDEDLL");
    EXPECT_EQ(bde->GetPath(install), "C:\\Program Files\\Borland\\Common Files\\BDE");
    fake_.Registry().WriteString(RegistryRoot::LocalMachine, kCurrentVersionKey, "ProgramFilesDir", "E:\\Apps;F:\\");
    EXPECT_EQ(bde->GetPath(install), "E:\\Apps");
    const std::string key = "\\Software\\Borland\\Database Engine";
    fake_.Registry().WriteString(RegistryRoot::LocalMachine, key, "DLLPath", "C:\\BDE;C:\\IDAPI");
    EXPECT_EQ(bde->GetPath(install), "C:\\BDE");
    fake_.Registry().WriteString(RegistryRoot::LocalMachine, key, "DLLPath", "C:\\IDAPI\\");
    EXPECT_EQ(bde->GetPath(install), "C:\\IDAPI\\") << "the entry is taken as read";
}

TEST_F(PathSpecifierTest, EveryStandardSpecifierGivesItsFolder) {
    auto& reg = fake_.Registry();
    reg.WriteString(RegistryRoot::CurrentUser, kShellFoldersKey, "Start Menu", "C:\\Profile\\Start Menu\\");
    reg.WriteString(RegistryRoot::CurrentUser, kShellFoldersKey, "Programs", "C:\\Profile\\Programs");
    reg.WriteString(RegistryRoot::CurrentUser, kShellFoldersKey, "Desktop", "C:\\Profile\\Desktop");
    reg.WriteString(RegistryRoot::CurrentUser, kShellFoldersKey, "Startup", "C:\\Profile\\Startup");
    reg.WriteString(RegistryRoot::LocalMachine, kCurrentVersionKey, "ProgramFilesDir", "D:\\Apps\\");
    reg.WriteString(RegistryRoot::LocalMachine, kCurrentVersionKey, "CommonFilesDir", "D:\\Apps\\Common");
    TInstall* install = LoadDriver("-sE:\\Dist");
    TComponent* form = install->Owner();
    auto* group = new TInstallFileGroup(form);
    group->SetName("Group1");
    group->SetContainer(install);
    const std::pair<const char*, const char*> expected[] = {
        {"psCommonFiles", "D:\\Apps\\Common"},
        {"psContainerArchiveFile", "E:\\Dist\\files.1"},
        {"psContainerDestDir", "D:\\Apps\\MyApplication"},
        {"psDesktopMenu", "C:\\Profile\\Desktop"},
        {"psInstallSource", "E:\\Dist"},
        {"psMainInstall", "D:\\Apps\\MyApplication"},
        {"psProgramFiles", "D:\\Apps"},
        {"psProgramMenu", "C:\\Profile\\Programs"},
        {"psStartMenu", "C:\\Profile\\Start Menu"},
        {"psStartupMenu", "C:\\Profile\\Startup"},
        {"psSystem", "C:\\WINDOWS\\SYSTEM"},
        {"psMainArchiveFile", "E:\\Dist\\files.1"},
        {"psWindow", "C:\\WINDOWS"},
    };
    for (const auto& [name, path] : expected)
        EXPECT_EQ(Specifier(form, name)->GetPath(group), path) << name;
}

TEST_F(PathSpecifierTest, ASnapshotKeepsTheFoldersItReadUntilItEnds) {
    auto& reg = fake_.Registry();
    reg.WriteString(RegistryRoot::LocalMachine, kCurrentVersionKey, "ProgramFilesDir", "D:\\Apps");
    reg.WriteString(RegistryRoot::CurrentUser, kShellFoldersKey, "Desktop", "C:\\Desk");
    {
        const TShellFolderSnapshot outer;
        EXPECT_EQ(GetProgramFilesFolder(), "D:\\Apps");
        EXPECT_EQ(GetDesktopFolder(), "C:\\Desk");
        reg.WriteString(RegistryRoot::LocalMachine, kCurrentVersionKey, "ProgramFilesDir", "E:\\Moved");
        {
            const TShellFolderSnapshot inner;
        }
        // Still the outer snapshot's; a folder not read before is read now.
        EXPECT_EQ(GetProgramFilesFolder(), "D:\\Apps");
        reg.WriteString(RegistryRoot::LocalMachine, kCurrentVersionKey, "CommonFilesDir", "E:\\Common");
        EXPECT_EQ(GetCommonFilesFolder(), "E:\\Common");
    }
    EXPECT_EQ(GetProgramFilesFolder(), "E:\\Moved");
    EXPECT_EQ(GetDesktopFolder(), "C:\\Desk");
}

TEST_F(PathSpecifierTest, DescriptionsOfTheStandardSet) {
    TInstall* install = LoadDriver();
    TComponent* form = install->Owner();
    const std::pair<const char*, const char*> expected[] = {
        {"psBDEDLL", "Borland Database Engine DLL Path"},
        {"psCommonFiles", "Path of the common files directory under the program files directory"},
        {"psContainerArchiveFile", "Path to the archive file of the container"},
        {"psContainerDestDir", "Path of the group (container)"},
        {"psDesktopMenu", "Path of the Desktop"},
        {"psInstallSource", "Path from which the user ran the install"},
        {"psMainInstall", "Path of the destination directory of the TInstall"},
        {"psProgramFiles", "Path of the program files directory"},
        {"psProgramMenu", "Path of the Programs folder under the Start Menu"},
        {"psStartMenu", "Path of Start Menu"},
        {"psStartupMenu", "Path of the Startup folder in the Programs folder under the Start Menu"},
        {"psSystem", "Path of system directory"},
        {"psMainArchiveFile", "Archive containing most or all non-internet installation files"},
        {"psWindow", "Path of the Windows directory"},
    };
    for (const auto& [name, text] : expected) {
        EXPECT_EQ(Specifier(form, name)->GetDescription(), text) << name;
        EXPECT_EQ(Specifier(form, name)->GetComponentDescription(install), text) << name;
    }
    EXPECT_EQ(TpsObjectLink(nullptr).GetDescription(), "Path of the file or file group in the ObjectLink property");
}

// A shortcut as psObjectLink sees it.
class TLinkHolder : public TInstallObject, public IObjectLinkShortcut {
  public:
    using TInstallObject::TInstallObject;
    int GetObjectKind() const override { return kKindShellLink; }
    TInstallObject* LinkedObject() const override { return Linked; }
    TInstallObject* Linked = nullptr;
};

TEST_F(PathSpecifierTest, ObjectLinkServesShortcutsOnly) {
    TInstall* install = LoadDriver();
    TComponent* form = install->Owner();
    EXPECT_EQ(form->FindComponent("psObjectLink"), nullptr) << "the shortcuts create it";
    auto* link = new TpsObjectLink(form);
    EXPECT_EQ(link->StandardName(), "psObjectLink");
    EXPECT_EQ(StandardPathSpecifiers().FindByClass<TpsObjectLink>(), link);
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { link->GetPath(install); }),
              "Install1 must be a TCustomInstallShellLink to use the psObjectLink path specifier");
    auto* shortcut = new TLinkHolder(form);
    shortcut->SetName("Shortcut1");
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { link->GetPath(shortcut); }),
              "Cannot use ddObjectLink for Shortcut1 unless you assign a value to ObjectLink");
    auto* group = new TInstallFileGroup(form);
    group->SetContainer(install);
    group->SetDestDir("\\Docs\\");
    shortcut->Linked = group;
    EXPECT_EQ(link->GetPath(shortcut), "C:\\Program Files\\MyApplication\\Docs");
}

TEST_F(PathSpecifierTest, ADestroyedSpecifierLeavesTheBareRelativePath) {
    TInstall* install = LoadDriver();
    auto* custom = new TPathSpecifier(install->Owner());
    custom->OnGetPath = TGetPathEvent("GetPath", [](TComponent*, std::string& path) { path = "D:\\Base"; });
    auto* group = new TInstallFileGroup(install->Owner());
    group->SetDestDirType(custom);
    group->SetDestDir("\\Docs");
    EXPECT_EQ(group->GetDestPath(), "D:\\Base\\Docs");
    TComponent::Free(custom);
    EXPECT_EQ(group->DestDirType(), nullptr);
    EXPECT_EQ(group->GetDestPath(), "\\Docs");
}

} // namespace
} // namespace sw::test
