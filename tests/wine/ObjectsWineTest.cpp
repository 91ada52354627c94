// Bookkeeping, shell folders, registry objects and RunOnce names against the
// real registry and files under Wine. Run with Wine's default version and,
// by objects-win98.sh, with SW_WINE_VERSION=win98.
#include "EngineWineFixture.h"

#include "objects/InstallRegistry.h"
#include "paths/ShellFolders.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "system/InstallRecord.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

#include <cstdlib>
#include <cstring>

namespace sw::test {
namespace {

class ObjectsWineTest : public EngineWineTest {
  protected:
    void SetUp() override {
        EngineWineTest::SetUp();
        DeleteRegKeyTree(kHklm, kPellmoorKey);
    }
    void TearDown() override {
        FreeRoots();
        // While the real registry is still the platform's.
        DeleteRegKeyTree(kHklm, kPellmoorKey);
        EngineWineTest::TearDown();
    }
    static IRegistry& Reg() { return *GetPlatform().Registry; }
    static IFileSystem& Files() { return *GetPlatform().Files; }
    // A record that matches no program.
    static void PutForeignRecord(const std::string& name) {
        const std::string key = std::string(kInstallRecordRoot) + "\\" + name;
        const double date = 1234.5;
        std::vector<uint8_t> bytes(sizeof date);
        std::memcpy(bytes.data(), &date, sizeof date);
        Reg().WriteString(kHklm, key, "Path", "C:\\elsewhere.exe");
        Reg().WriteBinary(kHklm, key, "CreationDate", bytes);
        Reg().WriteInteger(kHklm, key, "Size", 1);
    }
    // A copy of the running program with the same size and date.
    std::string CopyProgram() {
        const std::string program = GetPlatform().System->ModulePath();
        const std::string folder = ExtractFileDir(program) + "\\objects-wine-copy";
        Files().CreateDirectory(folder);
        const std::string copy = folder + "\\" + ExtractFileName(program);
        EXPECT_TRUE(Files().CopyFile(program, copy, false));
        Files().SetFileStamp(copy, *Files().GetFileStamp(program));
        return copy;
    }
};

TEST_F(ObjectsWineTest, TheSameProgramFindsItsRecordAgainAndACopyTakesItOver) {
    TInstall* install = LoadDriver({});
    const std::string key = install->FindInstallRecord(true);
    ASSERT_EQ(key, std::string(kInstallRecordRoot) + "\\Install0");
    const std::string program = GetPlatform().System->ModulePath();
    EXPECT_EQ(Reg().ReadString(kHklm, key, "Path", ""), program);
    EXPECT_EQ(Reg().ReadBinary(kHklm, key, "CreationDate", {}).size(), 8u);
    FreeRoots();
    LoadDriver({});
    EXPECT_EQ(InstallRecordKeyPath(), key);
    FreeRoots();
    const std::string copy = CopyProgram();
    system_.SetModulePath(copy);
    LoadDriver({});
    EXPECT_EQ(InstallRecordKeyPath(), key);
    EXPECT_EQ(Reg().ReadString(kHklm, key, "Path", ""), copy);
    EXPECT_EQ(Reg().SubKeyNames(kHklm, kInstallRecordRoot).size(), 1u);
    system_.SetModulePath("");
    Files().DeleteFile(copy);
    Files().RemoveDirectory(ExtractFileDir(copy));
}

TEST_F(ObjectsWineTest, ANewRecordTakesTheFirstFreeNumber) {
    PutForeignRecord("Install0");
    PutForeignRecord("Install2");
    TInstall* install = LoadDriver({"-eSetup.exe", "-sC:\\Dist"});
    EXPECT_EQ(install->FindInstallRecord(true), std::string(kInstallRecordRoot) + "\\Install1");
    EXPECT_EQ(Reg().ReadString(kHklm, std::string(kInstallRecordRoot) + "\\Install1", "SelfExtract", ""),
              "C:\\Dist\\Setup.exe");
    // A malformed size is skipped, not deleted.
    Reg().WriteString(kHklm, std::string(kInstallRecordRoot) + "\\Install1", "Size", "big");
    EXPECT_EQ(install->FindInstallRecord(false), "");
    EXPECT_TRUE(Reg().KeyExists(kHklm, std::string(kInstallRecordRoot) + "\\Install1"));
}

TEST_F(ObjectsWineTest, RemovalTakesTheLocalCopiesAndTheEmptyParents) {
    TInstall* install = LoadDriver({});
    SetInstallRecordKeyPath(install->FindInstallRecord(true));
    const std::string local = ChangeFileExt(MakeTempFileName(true), ".1");
    Files().OpenFile(local, FileMode::Create)->Write("x", 1);
    install->StoreLocalArchive(local);
    SaveInstallLanguage(3);
    EXPECT_EQ(ReadSavedInstallLanguage(0), 3);
    install->RemoveInstallRecord();
    EXPECT_FALSE(Files().FileExists(local));
    EXPECT_FALSE(Reg().KeyExists(kHklm, kInstallRecordRoot));
    EXPECT_FALSE(Reg().KeyExists(kHklm, kPellmoorKey));
    Files().DeleteFile(ChangeFileExt(local, ".tmp"));
}

TEST_F(ObjectsWineTest, TheVersionCodeFollowsWinesPersonality) {
    const char* version = std::getenv("SW_WINE_VERSION");
    const bool win98 = version && std::strcmp(version, "win98") == 0;
    EXPECT_EQ(WindowsVersion(), win98 ? wvWindows95 : wvWindowsNT);
}

TEST_F(ObjectsWineTest, ShellFoldersComeFromTheRegistryWithTheirFallbacks) {
    const std::string programFiles = ReadRegString(kHklm, kCurrentVersionKey, "ProgramFilesDir", "");
    ASSERT_FALSE(programFiles.empty());
    EXPECT_EQ(GetProgramFilesFolder(), ExcludeTrailingBackslash(programFiles));
    EXPECT_TRUE(Files().DirectoryExists(GetProgramFilesFolder()));
    // Without the user's values the folders lie below the Windows directory.
    const RegistryRoot hkcu = RegistryRoot::CurrentUser;
    const std::optional<std::string> startMenu = ReadRegStringValue(hkcu, kShellFoldersKey, "Start Menu");
    const std::optional<std::string> programs = ReadRegStringValue(hkcu, kShellFoldersKey, "Programs");
    Reg().DeleteValue(hkcu, kShellFoldersKey, "Start Menu");
    Reg().DeleteValue(hkcu, kShellFoldersKey, "Programs");
    const std::string windows = WindowsDirectory();
    EXPECT_EQ(GetStartMenuFolder(), windows + "\\Startmen");
    EXPECT_EQ(GetProgramsMenuFolder(), windows + "\\Startmen\\Programs");
    WriteRegString(hkcu, kShellFoldersKey, "Start Menu", "C:\\Menu\\");
    EXPECT_EQ(GetStartMenuFolder(), "C:\\Menu");
    EXPECT_EQ(GetProgramsMenuFolder(), "C:\\Menu\\Programs");
    Reg().DeleteValue(hkcu, kShellFoldersKey, "Start Menu");
    if (startMenu)
        WriteRegString(hkcu, kShellFoldersKey, "Start Menu", *startMenu);
    if (programs)
        WriteRegString(hkcu, kShellFoldersKey, "Programs", *programs);
}

TEST_F(ObjectsWineTest, RunOnceNamesAreNumbered) {
    const char* name = "SetwrightObjectsTest";
    EXPECT_TRUE(AddRunOnce(name, "first", true));
    EXPECT_TRUE(AddRunOnce(name, "second", true));
    EXPECT_EQ(Reg().ReadString(kHklm, kRunOnceKey, name, ""), "first");
    EXPECT_EQ(Reg().ReadString(kHklm, kRunOnceKey, std::string(name) + "1", ""), "second");
    Reg().DeleteValue(kHklm, kRunOnceKey, name);
    Reg().DeleteValue(kHklm, kRunOnceKey, std::string(name) + "1");
}

constexpr std::string_view kRegistryProject = R"(object Form1: TForm
  object psProgramFiles: TpsProgramFiles
  end
  object Install1: TInstall
    Information.CompanyName = 'Setwright Wine'
    Information.ProductName = 'Objects Test'
    Information.Version = '1.2'
    RunAutomatic = False
  end
  object Settings: TInstallRegistry
    Container = Install1
    Key = '\Software\Setwright Wine\Settings\'
    RootKey = hkCurrentUser
    Entries = <
      item
        Boolean = False
        EntryType = retText
        Ident = 'Home'
        Integer = 0
        PathSpecifier = psProgramFiles
        Text = '%p\bin'
      end
      item
        Boolean = True
        EntryType = retBoolean
        Ident = 'Enabled'
        Integer = 0
        Text = ''
      end>
  end
  object Product: TInstallRegistry
    Container = Install1
    KeySpecifierType = ksVersion
    Entries = <
      item
        Boolean = False
        EntryType = retInteger
        Ident = 'Count'
        Integer = 42
        Text = '42'
      end>
  end
end
)";

TEST_F(ObjectsWineTest, RegistryObjectsFromAProjectWriteAndRecordTheirKeys) {
    const std::string uninstall = std::string(kUninstallKeyRoot) + "Objects Test";
    DeleteRegKeyTree(kHklm, uninstall);
    TComponent* form = Load(kRegistryProject);
    for (const char* name : {"Settings", "Product"})
        static_cast<TInstallRegistry*>(form->FindComponent(name))->Install();
    const RegistryRoot hkcu = RegistryRoot::CurrentUser;
    EXPECT_EQ(Reg().ReadString(hkcu, "\\Software\\Setwright Wine\\Settings", "Home", ""),
              GetProgramFilesFolder() + "\\bin");
    EXPECT_EQ(Reg().ReadInteger(hkcu, "\\Software\\Setwright Wine\\Settings", "Enabled", -1), 1);
    EXPECT_EQ(Reg().ReadInteger(kHklm, "\\SOFTWARE\\Setwright Wine\\Objects Test\\1.2", "Count", -1), 42);
    const std::string list = uninstall + "\\RegistryKeys";
    EXPECT_EQ(Reg().ReadString(kHklm, list, "Entries", ""), "2");
    EXPECT_EQ(Reg().ReadString(kHklm, list + "\\RegistryKey1", "Key", ""), "\\Software\\Setwright Wine\\Settings");
    EXPECT_EQ(Reg().ReadInteger(kHklm, list + "\\RegistryKey1", "Root", -1), 2);
    EXPECT_EQ(Reg().ReadString(kHklm, list + "\\RegistryKey1\\Entries", "Home", ""), GetProgramFilesFolder() + "\\bin");
    EXPECT_EQ(Reg().ReadString(kHklm, list + "\\RegistryKey2", "Key", ""),
              "\\SOFTWARE\\Setwright Wine\\Objects Test\\1.2");
    EXPECT_EQ(Reg().ReadInteger(kHklm, list + "\\RegistryKey2", "Root", -1), 4);
    EXPECT_EQ(Reg().ReadString(kHklm, list + "\\RegistryKey2\\Entries", "Count", ""), "42");
    DeleteRegKeyTree(kHklm, uninstall);
    DeleteRegKeyTree(hkcu, "\\Software\\Setwright Wine");
    DeleteRegKeyTree(kHklm, "\\SOFTWARE\\Setwright Wine");
}

} // namespace
} // namespace sw::test
