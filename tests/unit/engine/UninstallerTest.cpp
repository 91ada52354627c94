// The uninstaller on the fake platform: what an uninstall key lists goes,
// nothing else does, and bad keys give a report instead of damage.
#include "engine/Uninstaller.h"

#include "platform/Gui.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

constexpr RegistryRoot hklm = RegistryRoot::LocalMachine;
const std::string kFolder = "C:\\Program Files\\My Product";
const std::string kProgram = kFolder + "\\uninstall.exe";
const std::string kKey = std::string(kUninstallKeyRoot) + "My Product";
const std::string kShared = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kGroup = "C:\\WINDOWS\\Start Menu\\Programs\\My Product";

TEST(UninstallCommandTest, TheProductNameFollowsTheProgramQuotedOrNot) {
    struct Case {
        const char* Line;
        const char* Product;
        bool Silent;
    };
    const Case cases[] = {
        {R"("C:\Program Files\My Product\uninstall.exe" My Product)", "My Product", false},
        {R"(C:\Program Files\My Product\uninstall.exe My Product)", "My Product", false},
        {R"(C:\PROGRA~1\MYPROD~1\UNINSTALL.EXE /S My  Product  )", "My  Product", true},
        {R"("C:\Program Files\My Product\uninstall.exe" -s Tools 2.0)", "Tools 2.0", true},
        {R"("C:\Program Files\My Product\uninstall.exe" /Small Tools)", "/Small Tools", false},
        {R"(uninstall My Product)", "My Product", false},
        {R"("C:\Program Files\My Product\uninstall.exe")", "", false},
        {R"("C:\Program Files\My Product\uninstall.exe" /S "My Product")", "My Product", true},
        {R"(uninstall "My Product" )", "My Product", false},
        {R"(uninstall "")", "", false},
    };
    for (const Case& c : cases) {
        TUninstallCommand command = ParseUninstallCommand(c.Line, kProgram);
        EXPECT_EQ(command.ProductName, c.Product) << c.Line;
        EXPECT_EQ(command.Silent, c.Silent) << c.Line;
    }
    // Another program's folder with blanks, unquoted: its name ends in ".exe".
    EXPECT_EQ(ParseUninstallCommand(R"(D:\Old Apps\un inst.exe Old App)", kProgram).ProductName, "Old App");
}

TEST(UninstallCommandTest, TheProgramPathOfTheUninstallString) {
    EXPECT_EQ(UninstallProgramPath(R"("C:\Program Files\My Product\uninstall.exe" My Product)"), kProgram);
    EXPECT_EQ(UninstallProgramPath(R"(C:\Program Files\My Product\uninstall.exe My Product)"), kProgram);
    EXPECT_EQ(UninstallProgramPath(""), "");
}

class UninstallerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fake_.Files().ForceDirectories(kFolder + "\\Data");
        fake_.Files().ForceDirectories(kGroup);
        fake_.Files().PutFile(kProgram, "uninstaller");
        fake_.System().SetModulePath(kProgram);
        Silent("My Product");
        reg().WriteString(hklm, kKey, "DisplayName", "My Product");
        reg().WriteString(hklm, kKey, "UninstallString", kProgram + " My Product");
    }
    fake::FakeRegistry& reg() { return fake_.Registry(); }
    fake::FakeFileSystem& files() { return fake_.Files(); }
    void Silent(const std::string& product) { fake_.System().SetCommandLine("\"" + kProgram + "\" /S " + product); }

    // Appends the way the install does: File<n>, then "Entries".
    void List(const std::string& list, const std::string& value) {
        const std::string key = kKey + "\\" + list;
        const int n = std::stoi(reg().ReadString(hklm, key, "Entries", "0")) + 1;
        reg().WriteString(hklm, key, "File" + std::to_string(n), value);
        reg().WriteString(hklm, key, "Entries", std::to_string(n));
    }
    void Installed(const std::string& path, const std::string& list = "Files") {
        files().PutFile(path, "installed");
        List(list, path);
    }
    void ListRegistryKey(int n, int root, const std::string& key, const std::vector<std::string>& values) {
        const std::string own = kKey + "\\RegistryKeys\\RegistryKey" + std::to_string(n);
        reg().WriteString(hklm, kKey + "\\RegistryKeys", "Entries", std::to_string(n));
        reg().WriteString(hklm, own, "Key", key);
        reg().WriteInteger(hklm, own, "Root", root);
        for (const std::string& value : values)
            reg().WriteString(hklm, own + "\\Entries", value, "description");
    }
    TUninstallReport RunUninstaller() { return TUninstaller("My Product", kFolder).Run(); }

    fake::FakePlatform fake_;
    ScopedPlatform platform_{fake_.Get()};
};

TEST_F(UninstallerTest, EverythingListedGoesAndWhatTheUserAddedStays) {
    Installed(kFolder + "\\App.exe");
    Installed(kFolder + "\\Data\\data.dat");
    Installed(kFolder + "\\App.hlp");
    Installed(kGroup + "\\App.lnk");
    Installed("C:\\WINDOWS\\SYSTEM\\shared.dll", "Files1");
    reg().WriteInteger(hklm, kShared, "C:\\WINDOWS\\SYSTEM\\shared.dll", 1);
    files().PutFile(kFolder + "\\server.dll", "library");
    List("ActiveX", kFolder + "\\server.dll;0");
    fake_.Processes().AddLibraryFunction(kFolder + "\\server.dll", "DllUnregisterServer", 0);
    files().PutFile(kFolder + "\\Server.EXE", "program");
    List("ActiveX", kFolder + "\\Server.EXE;1");
    files().PutFile(kFolder + "\\notes.txt", "the user's");
    reg().WriteString(RegistryRoot::CurrentUser, "\\Software\\My Company\\My Product", "Path", kFolder);
    reg().WriteInteger(RegistryRoot::CurrentUser, "\\Software\\My Company\\My Product", "Runs", 3);
    ListRegistryKey(1, 2, "\\Software\\My Company\\My Product", {"Path", "Runs"});
    reg().WriteString(hklm, "\\Software\\Other\\Settings", "Kept", "x");
    reg().WriteString(hklm, "\\Software\\Other\\Settings", "Listed", "x");
    ListRegistryKey(2, 4, "\\Software\\Other\\Settings", {"Listed"});

    EXPECT_EQ(RunUninstallProgram(), 0);

    for (const std::string& gone : {kFolder + "\\App.exe", kFolder + "\\Data\\data.dat", kFolder + "\\App.hlp",
                                    kGroup + "\\App.lnk", std::string("C:\\WINDOWS\\SYSTEM\\shared.dll"),
                                    kFolder + "\\server.dll", kFolder + "\\Server.EXE"})
        EXPECT_FALSE(files().FileExists(gone)) << gone;
    EXPECT_TRUE(files().FileExists(kFolder + "\\notes.txt"));
    EXPECT_FALSE(files().DirectoryExists(kFolder + "\\Data"));
    EXPECT_FALSE(files().DirectoryExists(kGroup));
    EXPECT_TRUE(files().DirectoryExists("C:\\WINDOWS\\Start Menu\\Programs"));
    EXPECT_TRUE(files().DirectoryExists(kFolder));
    EXPECT_FALSE(reg().ValueExists(hklm, kShared, "C:\\WINDOWS\\SYSTEM\\shared.dll"));
    // Servers were unregistered before their files went.
    EXPECT_EQ(fake_.Processes().LibraryCalls(), std::vector<std::string>{kFolder + "\\server.dll!DllUnregisterServer"});
    ASSERT_EQ(fake_.Processes().StartedPrograms().size(), 1u);
    EXPECT_EQ(fake_.Processes().StartedPrograms()[0].CommandLine, "\"" + kFolder + "\\Server.EXE\" /UNREGSERVER");
    // The listed registry key and its emptied parent went; the first level stays.
    EXPECT_FALSE(reg().KeyExists(RegistryRoot::CurrentUser, "\\Software\\My Company"));
    EXPECT_TRUE(reg().KeyExists(RegistryRoot::CurrentUser, "\\Software"));
    EXPECT_FALSE(reg().ValueExists(hklm, "\\Software\\Other\\Settings", "Listed"));
    EXPECT_TRUE(reg().ValueExists(hklm, "\\Software\\Other\\Settings", "Kept"));
    EXPECT_FALSE(reg().KeyExists(hklm, kKey));
    EXPECT_TRUE(reg().KeyExists(hklm, kUninstallKeyRoot));
    // On Windows 98 the running uninstaller goes at the next start of Windows.
    ASSERT_EQ(files().PendingRenames().size(), 1u);
    EXPECT_EQ(files().PendingRenames()[0], std::make_pair(kProgram, std::string()));
    EXPECT_TRUE(fake_.Gui().Boxes().empty());
}

TEST_F(UninstallerTest, ASharedLibraryGoesWithTheLastProductThatUsesIt) {
    const std::string dll = "C:\\WINDOWS\\SYSTEM\\shared.dll";
    Installed(dll);
    reg().WriteInteger(hklm, kShared, dll, 2);
    TUninstallReport first = RunUninstaller();
    EXPECT_TRUE(first.NotRemoved.empty());
    EXPECT_TRUE(files().FileExists(dll));
    EXPECT_EQ(reg().ReadInteger(hklm, kShared, dll, 0), 1);

    // The other product lists it as well, and its counter is under the 8.3 name.
    const std::string shortName = *files().ShortPathName(dll);
    reg().DeleteValue(hklm, kShared, dll);
    reg().WriteInteger(hklm, kShared, shortName, 1);
    List("Files", dll);
    TUninstallReport second = RunUninstaller();
    EXPECT_TRUE(second.NotRemoved.empty());
    EXPECT_FALSE(files().FileExists(dll));
    EXPECT_FALSE(reg().ValueExists(hklm, kShared, shortName));
    EXPECT_TRUE(files().DirectoryExists("C:\\WINDOWS\\SYSTEM"));
}

TEST_F(UninstallerTest, AServerStillUsedByAnotherProductIsNeitherUnregisteredNorRemoved) {
    const std::string ocx = "C:\\WINDOWS\\SYSTEM\\grid.ocx";
    files().PutFile(ocx, "control");
    List("ActiveX", ocx + ";0");
    fake_.Processes().AddLibraryFunction(ocx, "DllUnregisterServer", 0);
    reg().WriteInteger(hklm, kShared, ocx, 3);
    EXPECT_TRUE(RunUninstaller().NotRemoved.empty());
    EXPECT_TRUE(files().FileExists(ocx));
    EXPECT_TRUE(fake_.Processes().LibraryCalls().empty());
    EXPECT_EQ(reg().ReadInteger(hklm, kShared, ocx, 0), 2);
}

TEST_F(UninstallerTest, PathsOutsideTheProductAndMalformedPathsAreReportedNotRemoved) {
    files().PutFile("C:\\WINDOWS\\WIN.INI", "system");
    files().PutFile("C:\\AUTOEXEC.BAT", "system");
    for (const std::string& path :
         {std::string("C:\\WINDOWS\\WIN.INI"), kFolder + "\\..\\..\\AUTOEXEC.BAT", std::string("..\\AUTOEXEC.BAT"),
          std::string("C:\\*.*"), std::string("C:\\"), std::string(""), kFolder, kFolder + "\\.\\notes.txt",
          std::string("AUTOEXEC.BAT")})
        List("Files", path);
    files().PutFile(kFolder + "\\notes.txt", "the user's");
    TUninstallReport report = RunUninstaller();
    EXPECT_TRUE(files().FileExists("C:\\WINDOWS\\WIN.INI"));
    EXPECT_TRUE(files().FileExists("C:\\AUTOEXEC.BAT"));
    EXPECT_TRUE(files().FileExists(kFolder + "\\notes.txt"));
    EXPECT_TRUE(files().DirectoryExists(kFolder));
    ASSERT_EQ(report.NotRemoved.size(), 1u) << ::testing::PrintToString(report.NotRemoved);
    EXPECT_EQ(report.NotRemoved[0],
              "C:\\WINDOWS\\WIN.INI: outside the product's folder " + kFolder + "; left in place");
    EXPECT_EQ(report.Malformed.size(), 8u);
    EXPECT_FALSE(reg().KeyExists(hklm, kKey));
}

TEST_F(UninstallerTest, MalformedCountsAreReportedAndTheValuesStillRead) {
    Installed(kFolder + "\\a.txt");
    Installed(kFolder + "\\b.txt");
    reg().WriteString(hklm, kKey + "\\Files", "Entries", "lots");
    Installed(kFolder + "\\c.txt", "Files2");
    reg().WriteString(hklm, kKey + "\\Files2", "Entries", "-4");
    Installed(kFolder + "\\d.txt", "Files3");
    reg().DeleteValue(hklm, kKey + "\\Files3", "Entries");
    reg().WriteInteger(hklm, kKey + "\\Files3", "File2", 12);
    files().PutFile(kFolder + "\\e.ocx", "x");
    List("ActiveX", kFolder + "\\e.ocx");
    TUninstallReport report = RunUninstaller();
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"})
        EXPECT_FALSE(files().FileExists(kFolder + "\\" + name)) << name;
    EXPECT_TRUE(files().FileExists(kFolder + "\\e.ocx"));
    EXPECT_EQ(report.Malformed.size(), 5u);
    EXPECT_FALSE(reg().KeyExists(hklm, kKey));
}

TEST_F(UninstallerTest, MalformedRegistryListsRemoveNothing) {
    reg().WriteString(hklm, "\\Software\\Keep", "Value", "x");
    ListRegistryKey(1, 42, "\\Software\\Keep", {"Value"});
    ListRegistryKey(2, 4, "", {"Value"});
    ListRegistryKey(3, 4, "\\", {"Value"});
    TUninstallReport report = RunUninstaller();
    EXPECT_EQ(report.Malformed.size(), 3u);
    EXPECT_TRUE(reg().ValueExists(hklm, "\\Software\\Keep", "Value"));
}

TEST_F(UninstallerTest, FilesInUseGoAtTheRestartAndReadOnlyFilesGoNow) {
    Installed(kFolder + "\\busy.dll");
    Installed(kFolder + "\\locked.txt");
    files().SetInUse(kFolder + "\\busy.dll", true);
    files().SetAttributes(kFolder + "\\locked.txt", attr::ReadOnly);
    TUninstallReport report = RunUninstaller();
    EXPECT_EQ(report.AtRestart, std::vector<std::string>{kFolder + "\\busy.dll"});
    ASSERT_FALSE(files().PendingRenames().empty());
    EXPECT_EQ(files().PendingRenames()[0].first, kFolder + "\\busy.dll");
    EXPECT_FALSE(files().FileExists(kFolder + "\\locked.txt"));
    EXPECT_TRUE(report.NotRemoved.empty());
}

TEST_F(UninstallerTest, AServerThatCannotUnregisterStaysAndIsReported) {
    files().PutFile(kFolder + "\\bad.dll", "x");
    files().PutFile(kFolder + "\\plain.dll", "x");
    files().PutFile(kFolder + "\\srv.exe", "x");
    List("ActiveX", kFolder + "\\bad.dll;0");
    List("ActiveX", kFolder + "\\plain.dll;0");
    List("ActiveX", kFolder + "\\srv.exe;1");
    fake_.Processes().AddLibraryFunction(kFolder + "\\bad.dll", "DllUnregisterServer", static_cast<int32_t>(0x80004005));
    fake_.Processes().AddLibraryFunction(kFolder + "\\plain.dll", "DllMain", 1);
    fake_.Processes().SetExitCode(1);
    TUninstallReport report = RunUninstaller();
    EXPECT_TRUE(files().FileExists(kFolder + "\\bad.dll"));
    EXPECT_TRUE(files().FileExists(kFolder + "\\plain.dll"));
    EXPECT_TRUE(files().FileExists(kFolder + "\\srv.exe"));
    EXPECT_EQ(report.NotRemoved.size(), 3u);
}

TEST_F(UninstallerTest, ARegistryThatRefusesWritesKeepsTheSharedCountAndReports) {
    const std::string dll = "C:\\WINDOWS\\SYSTEM\\shared.dll";
    Installed(dll);
    reg().WriteInteger(hklm, kShared, dll, 4);
    fake_.Registry().FailNextWrites(1);
    TUninstallReport report = RunUninstaller();
    ASSERT_EQ(report.NotRemoved.size(), 1u);
    EXPECT_EQ(report.NotRemoved[0], dll + ": its shared use count could not be lowered");
    EXPECT_EQ(reg().ReadInteger(hklm, kShared, dll, 0), 4);
    EXPECT_TRUE(files().FileExists(dll));
}

TEST_F(UninstallerTest, TheUserIsAskedAndToldUnlessSilent) {
    Installed(kFolder + "\\App.exe");
    fake_.System().SetCommandLine(kProgram + " My Product");
    fake_.Gui().QueueAnswer(id::No);
    EXPECT_EQ(RunUninstallProgram(), 2);
    EXPECT_TRUE(files().FileExists(kFolder + "\\App.exe"));
    EXPECT_TRUE(reg().KeyExists(hklm, kKey));
    ASSERT_EQ(fake_.Gui().Boxes().size(), 1u);
    EXPECT_EQ(fake_.Gui().Boxes()[0].Text, "Are you sure you want to remove My Product and all of its components?");

    fake_.Gui().QueueAnswer(id::Yes);
    EXPECT_EQ(RunUninstallProgram(), 0);
    EXPECT_FALSE(files().FileExists(kFolder + "\\App.exe"));
    ASSERT_EQ(fake_.Gui().Boxes().size(), 3u);
    EXPECT_EQ(fake_.Gui().Boxes()[2].Text, "My Product was removed from your computer.");
}

TEST_F(UninstallerTest, AMissingOrForeignProductIsRefused) {
    for (const char* product : {"Other Product", "..\\..\\Run", ""}) {
        fake_.System().SetCommandLine("\"" + kProgram + "\" " + product);
        EXPECT_EQ(RunUninstallProgram(), 2) << product;
    }
    EXPECT_EQ(fake_.Gui().Boxes()[0].Text,
              "Other Product is not installed on this computer: its uninstall information is missing.");
    EXPECT_EQ(fake_.Gui().Boxes()[2].Text, "Start the uninstaller with the name of the product to remove.");
    EXPECT_TRUE(reg().KeyExists(hklm, kKey));
}

TEST_F(UninstallerTest, OnWindowsNTAHiddenBatchRemovesTheProgramAndItsFolder) {
    fake_.System().SetVersion(OSVersion{5, 1, 2600, PlatformId::NT});
    Installed(kFolder + "\\App.exe");
    EXPECT_EQ(RunUninstallProgram(), 0);
    ASSERT_EQ(fake_.Processes().StartedPrograms().size(), 1u);
    const auto& started = fake_.Processes().StartedPrograms()[0];
    EXPECT_EQ(started.State, WindowState::Hidden);
    const std::string batch = started.CommandLine.substr(1, started.CommandLine.size() - 2);
    const std::string text = files().FileText(batch);
    EXPECT_NE(text.find("DEL \"" + kProgram + "\""), std::string::npos);
    EXPECT_NE(text.find("RMDIR \"" + kFolder + "\""), std::string::npos);
    EXPECT_EQ(text.find("RMDIR \"C:\\Program Files\""), std::string::npos);
    EXPECT_NE(text.find("DEL \"" + batch + "\""), std::string::npos);
    EXPECT_TRUE(files().PendingRenames().empty());
}

} // namespace
} // namespace sw
