// Files installed under Wine from archives the engine makes in the test:
// the real registry (shared-DLL counters, help, COM servers registering
// themselves) and real files, including one held open by another process.
#include "EngineWineFixture.h"

#include "archive/MainArchiveEngine.h"
#include "objects/FileContainer.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "system/InstallRecord.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

#include "platform/win32/Win32Api.h"
#include "project/Text.h"

#include <cctype>
#include <cstdlib>

namespace sw::test {
namespace {

constexpr RegistryRoot kHklm = RegistryRoot::LocalMachine;
constexpr const char* kProduct = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\SetwrightFiles";
constexpr const char* kSharedDLLs = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr const char* kDllClass = "CLSID\\{5E7A1C2B-3F4D-4E5F-8A9B-0C1D2E3F4A5B}\\InprocServer32";
constexpr const char* kExeClass = "CLSID\\{6F8B2D3C-4A5E-4F60-9BAC-1D2E3F4A5B6C}\\LocalServer32";

class FilesWineTest : public EngineWineTest {
  protected:
    void SetUp() override {
        EngineWineTest::SetUp();
        install_ = LoadDriver({});
        install_->Information()->ProductName = "SetwrightFiles";
        here_ = ExtractFileDir(GetPlatform().System->ModulePath());
        // tests/wine/in-use-restart.sh names a folder to keep for the restart it performs afterwards.
        const char* kept = std::getenv("SW_RESTART_SCRATCH");
        keep_ = kept && *kept;
        scratch_ = keep_ ? std::string(kept)
                         : Files().TempDirectory() + "\\swfiles" + std::to_string(GetCurrentProcessId());
        Clean();
        Files().ForceDirectories(scratch_ + "\\src");
        group_ = new TInstallFileGroup(install_->Owner());
        group_->SetName("Group1");
        group_->SetContainer(install_);
        group_->SetDestDirType(nullptr);
        group_->SetDestDir(scratch_ + "\\dest");
        group_->SetArchiveFileType(nullptr);
        group_->SetArchiveFile(scratch_ + "\\dist\\files.1");
    }
    void TearDown() override {
        FreeRoots();
        if (!keep_)
            Clean();
        EngineWineTest::TearDown();
    }
    void Clean() {
        DeleteRegKeyTree(kHklm, kProduct);
        DeleteRegKeyTree(kHklm, kPellmoorKey);
        DeleteRegKeyTree(RegistryRoot::ClassesRoot, kDllClass);
        DeleteRegKeyTree(RegistryRoot::ClassesRoot, kExeClass);
        for (const char* name : {"shared.dll", "comdll.dll", "comexe.exe", "inuse.txt"})
            Reg().DeleteValue(kHklm, kSharedDLLs, scratch_ + "\\dest\\" + name);
        RemoveTree(scratch_);
    }
    static IRegistry& Reg() { return *GetPlatform().Registry; }
    static IFileSystem& Files() { return *GetPlatform().Files; }

    TInstallFile* AddFile(const std::string& name, const std::string& contents) {
        const std::string path = scratch_ + "\\src\\" + name;
        Files().OpenFile(path, FileMode::Create)->Write(contents.data(), contents.size());
        return AddSource(path);
    }
    TInstallFile* AddCopy(const std::string& built, const std::string& name) {
        const std::string path = scratch_ + "\\src\\" + name;
        EXPECT_TRUE(Files().CopyFile(here_ + "\\" + built, path, false)) << built;
        return AddSource(path);
    }
    TInstallFile* AddSource(const std::string& path) {
        auto* file = new TInstallFile(install_->Owner(), group_, path);
        file->SetName("File" + std::to_string(++count_));
        return file;
    }
    // A COM server stays beside the other files.
    void KeepInDest(TInstallFile* file) {
        file->SetFileType(TInstallFileType::iftNormal);
        file->SetDestDirType(nullptr);
        file->SetDestDir(scratch_ + "\\dest");
    }
    std::string RegText(RegistryRoot root, const std::string& key, const std::string& name) {
        return ReadRegString(root, key, name, "<none>");
    }
    // The EXE server registers itself in its own time.
    bool WaitForKey(RegistryRoot root, const std::string& key) {
        for (int i = 0; i < 200 && !Reg().KeyExists(root, key); ++i)
            Sleep(100);
        return Reg().KeyExists(root, key);
    }

    TInstall* install_ = nullptr;
    TInstallFileGroup* group_ = nullptr;
    std::string here_, scratch_;
    bool keep_ = false;
    int count_ = 0;
};

TEST_F(FilesWineTest, AGroupInstallsItsFilesRegistersItsServersAndCountsSharedDlls) {
    TInstallFile* text = AddFile("readme.txt", std::string(3000, 'r'));
    TInstallFile* shared = AddFile("shared.dll", "a shared library");
    shared->SetUpdateDLLCounter(true);
    TInstallFile* help = AddFile("manual.hlp", "help");
    TInstallFile* dll = AddCopy("sw_com_dll.dll", "comdll.dll");
    dll->SetActiveX(true);
    KeepInDest(dll);
    TInstallFile* exe = AddCopy("sw_com_exe.exe", "comexe.exe");
    exe->SetActiveX(true);
    KeepInDest(exe);
    for (TInstallFile* f : {text, shared, help, dll, exe})
        f->SetOverwriteMode(TOverwriteType::owAlways);
    group_->Compress(coForceNetFilesLocal | coIncludeExcluded);
    ASSERT_TRUE(Files().FileExists(scratch_ + "\\dist\\files.1"));

    group_->Install();
    const std::string dest = scratch_ + "\\dest\\";
    EXPECT_EQ(Text(dest + "readme.txt"), std::string(3000, 'r'));
    EXPECT_EQ(Files().FileSize(dest + "comdll.dll"), Files().FileSize(here_ + "\\sw_com_dll.dll"));
    EXPECT_EQ(Files().GetFileStamp(dest + "readme.txt"), Files().GetFileStamp(scratch_ + "\\src\\readme.txt"));
    EXPECT_EQ(ReadRegIntegerValue(kHklm, kSharedDLLs, dest + "shared.dll"), 1);
    EXPECT_EQ(RegText(kHklm, "\\SOFTWARE\\Microsoft\\Windows\\Help", "MANUAL.HLP"), scratch_ + "\\dest");
    EXPECT_TRUE(SameText(RegText(RegistryRoot::ClassesRoot, kDllClass, ""), dest + "comdll.dll"));
    ASSERT_TRUE(WaitForKey(RegistryRoot::ClassesRoot, kExeClass));
    const std::string activeX = std::string(kProduct) + "\\ActiveX";
    EXPECT_EQ(RegText(kHklm, activeX, "File1"), dest + "comdll.dll;0");
    EXPECT_EQ(RegText(kHklm, activeX, "File2"), dest + "comexe.exe;1");
    EXPECT_EQ(RegText(kHklm, std::string(kProduct) + "\\Files", "Entries"), "3");

    // A second install counts the shared DLL again and lists on.
    group_->Install();
    EXPECT_EQ(ReadRegIntegerValue(kHklm, kSharedDLLs, dest + "shared.dll"), 2);
    EXPECT_EQ(RegText(kHklm, activeX, "Entries"), "4");
}

TEST_F(FilesWineTest, AFileHeldOpenByAnotherProgramIsReplacedAtTheRestart) {
    SetInstallRecordKeyPath(std::string(kInstallRecordRoot) + "\\FilesWineTest");
    TInstallFile* file = AddFile("inuse.txt", "new contents");
    group_->Compress(coForceNetFilesLocal | coIncludeExcluded);
    const std::string dest = scratch_ + "\\dest\\inuse.txt";
    Files().ForceDirectories(scratch_ + "\\dest");
    Files().OpenFile(dest, FileMode::Create)->Write("old", 3);

    // Another process holds the file open without sharing.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + here_ + "\\sw_com_exe.exe\" /HOLD \"" + dest + "\" 60";
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    bool held = false;
    for (int i = 0; i < 200 && !held; ++i) {
        HANDLE probe = CreateFileA(dest.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (probe == INVALID_HANDLE_VALUE)
            held = true;
        else
            CloseHandle(probe), Sleep(100);
    }
    ASSERT_TRUE(held) << "the holding process did not open the file";

    group_->Install();
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    EXPECT_TRUE(file->LeftForRestart());
    EXPECT_EQ(file->DestName(), "inuse.1");
    EXPECT_EQ(Text(dest), "old");
    EXPECT_EQ(Text(scratch_ + "\\dest\\inuse.1"), "new contents");
    EXPECT_TRUE(install_->Reboot);
    if (WindowsVersion() == wvWindows95) {
        const std::string wininit = Text(WindowsDirectory() + "\\WININIT.INI");
        EXPECT_NE(wininit.find("[Rename]"), std::string::npos) << wininit;
        EXPECT_NE(wininit.find("inuse.1"), std::string::npos) << wininit;
    } else {
        // The system keeps the pending renames as a list of texts.
        std::string text;
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                          &key) == ERROR_SUCCESS) {
            DWORD size = 0;
            if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) ==
                ERROR_SUCCESS) {
                text.resize(size);
                RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(text.data()), &size);
            }
            RegCloseKey(key);
        }
        std::string lower;
        for (char c : text)
            if (c != '\0')
                lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_NE(lower.find("inuse.1"), std::string::npos) << "no pending rename of the new file";
    }
    EXPECT_EQ(RegText(kHklm, std::string(kInstallRecordRoot) + "\\FilesWineTest\\Unfinished", "File1"), "0");
}

} // namespace
} // namespace sw::test
