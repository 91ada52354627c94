// Shell folders with their fallbacks, and meta variables in texts.
#include "support/EngineFixture.h"
#include "support/ErrorOf.h"

#include "paths/MetaVariables.h"
#include "paths/PathSpecifier.h"
#include "paths/ShellFolders.h"
#include "system/InstallErrors.h"

#include <functional>

namespace sw::test {
namespace {

class PathExpansionTest : public EngineFixture {
  protected:
    void ShellValue(const char* name, const std::string& value) {
        fake_.Registry().WriteString(RegistryRoot::CurrentUser, kShellFoldersKey, name, value);
    }
    void VersionValue(const char* name, const std::string& value) {
        fake_.Registry().WriteString(RegistryRoot::LocalMachine, kCurrentVersionKey, name, value);
    }
};

TEST_F(PathExpansionTest, FallbacksBelowTheWindowsDirectory) {
    EXPECT_EQ(GetStartMenuFolder(), "C:\\WINDOWS\\Startmen");
    EXPECT_EQ(GetProgramsMenuFolder(), "C:\\WINDOWS\\Startmen\\Programs");
    EXPECT_EQ(GetDesktopFolder(), "C:\\WINDOWS\\Desktop");
    EXPECT_EQ(GetStartupFolder(), "C:\\WINDOWS\\Startup");
    ShellValue("Start Menu", "C:\\Menu\\");
    EXPECT_EQ(GetProgramsMenuFolder(), "C:\\Menu\\Programs");
    fake_.System().SetWindowsDirectory("C:\\WIN\\");
    EXPECT_EQ(GetDesktopFolder(), "C:\\WIN\\Desktop");
}

TEST_F(PathExpansionTest, FallbacksOnTheCurrentDrive) {
    EXPECT_EQ(GetProgramFilesFolder(), "C:\\Program Files");
    EXPECT_EQ(GetCommonFilesFolder(), "C:\\Program Files\\Common Files");
    fake_.Files().AddDrive('D');
    fake_.Files().ForceDirectories("D:\\Work\\Here");
    ASSERT_TRUE(fake_.System().SetCurrentDirectory("D:\\Work\\Here"));
    EXPECT_EQ(GetProgramFilesFolder(), "D:\\Program Files");
    EXPECT_EQ(GetCommonFilesFolder(), "D:\\Program Files\\Common Files");
}

TEST_F(PathExpansionTest, StoredValuesWinEvenWhenEmpty) {
    ShellValue("Desktop", "");
    ShellValue("Startup", "C:\\Profile\\Startup\\");
    VersionValue("ProgramFilesDir", "E:\\Apps\\");
    VersionValue("CommonFilesDir", "E:\\Common");
    EXPECT_EQ(GetDesktopFolder(), "");
    EXPECT_EQ(GetStartupFolder(), "C:\\Profile\\Startup");
    EXPECT_EQ(GetProgramFilesFolder(), "E:\\Apps");
    EXPECT_EQ(GetCommonFilesFolder(), "E:\\Common");
    // A value that is not a string cannot be read as a folder.
    fake_.Registry().WriteInteger(RegistryRoot::CurrentUser, kShellFoldersKey, "Programs", 5);
    EXPECT_EQ(GetProgramsMenuFolder(), "C:\\WINDOWS\\Startmen\\Programs");
    // With the registry read, the Windows directory is not asked.
    fake_.System().SetWindowsDirectory("");
    EXPECT_EQ(GetStartupFolder(), "C:\\Profile\\Startup");
    EXPECT_EQ(ErrorOf<EAPIRoutines>([] { GetStartMenuFolder(); }),
              "Could not retrieve the windows directory from windows");
}

TEST_F(PathExpansionTest, MetaVariablesScanOnce) {
    VersionValue("ProgramFilesDir", "C:\\Program Files\\");
    EXPECT_EQ(ExpandMetaVariables("%p\\Tools", nullptr), "C:\\Program Files\\Tools");
    EXPECT_EQ(ExpandMetaVariables("%P\\Tools", nullptr), "C:\\Program Files\\Tools");
    EXPECT_EQ(ExpandMetaVariables("100%%", nullptr), "100%");
    EXPECT_EQ(ExpandMetaVariables("50%x", nullptr), "50");
    EXPECT_EQ(ExpandMetaVariables("abc%", nullptr), "abc");
    EXPECT_EQ(ExpandMetaVariables("", nullptr), "");
    EXPECT_EQ(ExpandMetaVariables("%%p", nullptr), "%p");
    EXPECT_EQ(ExpandMetaVariables("%s|%w|%m|%b|%d|%f", nullptr),
              "C:\\WINDOWS\\SYSTEM|C:\\WINDOWS|C:\\WINDOWS\\Startmen|C:\\WINDOWS\\Startmen\\Programs|"
              "C:\\WINDOWS\\Desktop|C:\\Program Files\\Common Files");
    // A folder holding "%" is not expanded again.
    ShellValue("Desktop", "C:\\100%p\\");
    EXPECT_EQ(ExpandMetaVariables("%d\\x", nullptr), "C:\\100%p\\x");
}

TEST_F(PathExpansionTest, ObjectFoldersNeedTheirObjects) {
    EXPECT_EQ(ErrorOf<EAICannotExpandContainerDirMV>([] { ExpandMetaVariables("%a", nullptr); }),
              "Cannot expand the %a meta variable because the component is Nil");
    EXPECT_EQ(ErrorOf<EAICannotExpandContainerDirMV>([] { ExpandMetaVariables("%C", nullptr); }),
              "Cannot expand the %c meta variable because the component is Nil");
    EXPECT_EQ(ErrorOf<EAICannotExpandInstallDirMV>([] { ExpandMetaVariables("%i", nullptr); }),
              "Cannot expand the %i meta variable because there is no TInstall component");
    auto* install = static_cast<TInstall*>(Load(kBasicForm)->FindComponent("Install1"));
    auto* group = new TInstallFileGroup(install->Owner());
    group->SetName("Group1");
    EXPECT_EQ(ErrorOf<EAICannotExpandContainerDirMV>([&] { ExpandMetaVariables("%c", group); }),
              "Cannot expand the %c meta variable because the Container property is Nil");
    group->SetContainer(install);
    group->SetDestDir("\\Docs");
    EXPECT_EQ(
        ExpandMetaVariables("%I|%c|%a", group),
        "C:\\Program Files\\MyApplication|C:\\Program Files\\MyApplication|C:\\Program Files\\MyApplication\\Docs");
    // An error of the object's own destination passes through unchanged.
    auto* failing = new TPathSpecifier(install->Owner());
    auto* destDir = static_cast<TCustomPathSpecifier*>(install->Owner()->FindComponent("psContainerDestDir"));
    auto* loose = new TInstallFileGroup(install->Owner());
    loose->SetName("Loose");
    failing->OnGetPath =
        TGetPathEvent("GetPath", [&](TComponent*, std::string& path) { path = destDir->GetPath(loose); });
    group->SetDestDirType(failing);
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { ExpandMetaVariables("%a", group); }),
              "Cannot use ddContainerDestDir for Loose unless you assign a Container");
    FreeRoots();
    EXPECT_EQ(ErrorOf<EAICannotExpandInstallDirMV>([] { ExpandMetaVariables("x%iy", nullptr); }),
              "Cannot expand the %i meta variable because there is no TInstall component");
}

} // namespace
} // namespace sw::test
