// Files installed under Wine from archives the engine makes in the test,
// from one volume and from a set spanned over small disks: the real registry
// (shared-DLL counters, help, COM servers registering themselves) and real
// files, including one held open by another process.
#include "FilesWineFixture.h"

#include "archive/PlmrCompress.h"
#include "platform/SizeLimitedFiles.h"
#include "system/InstallRecord.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

#include "platform/win32/Win32Api.h"
#include "project/Text.h"

#include <algorithm>
#include <cctype>

namespace sw::test {
namespace {

// Bytes that do not compress, so that a file fills its disks.
std::string Noise(size_t size) {
    std::string bytes(size, '\0');
    uint32_t x = 12345;
    for (char& c : bytes)
        c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
    return bytes;
}

class GroupWineTest : public FilesWineTest {
  protected:
    // A file of every FileType (the libraries carry version resources), a
    // help file, a counted library and both COM servers.
    void AddEveryKindOfFile() {
        AddFile("readme.txt", std::string(3000, 'r'));
        AddFile("data.bin", Noise(30000));
        justA_ = AddCopy(kVersion1, "justa.dll");
        justA_->SetFileType(TInstallFileType::iftJustADLL);
        application_ = AddCopy(kVersion2, "appdll.dll");
        application_->SetFileType(TInstallFileType::iftApplicationSpecificDLL);
        vendor_ = AddCopy(kVersion2_10, "swvendor.dll");
        vendor_->SetFileType(TInstallFileType::iftVendorSharedDLL);
        system_ = AddCopy(kVersion1, "swsystem.dll");
        system_->SetFileType(TInstallFileType::iftSystemWideDLL);
        shared_ = AddFile("shared.dll", "a shared library");
        shared_->SetUpdateDLLCounter(true);
        AddFile("manual.hlp", "help");
        TInstallFile* dll = AddCopy(kComDll, "comdll.dll");
        dll->SetActiveX(true);
        KeepInDest(dll);
        TInstallFile* exe = AddCopy(kComExe, "comexe.exe");
        exe->SetActiveX(true);
        KeepInDest(exe);
        for (TInstallFile* f : {dll, exe})
            f->SetOverwriteMode(TOverwriteType::owAlways);
    }

    // After the n-th install: every file in its place with its bytes and
    // date, counted, registered and listed; the libraries kept on a second
    // install are counted all the same.
    void ExpectEveryKindInstalled(int n) {
        for (TInstallFile* f : files_) {
            EXPECT_TRUE(Text(f->DestPath()) == Text(f->SourcePath())) << f->DestPath() << ": not the packed bytes";
            EXPECT_EQ(Files().GetFileStamp(f->DestPath()), Files().GetFileStamp(f->SourcePath())) << f->DestPath();
        }
        EXPECT_TRUE(SameText(ExtractFileDir(system_->DestPath()), SystemDirectory())) << system_->DestPath();
        EXPECT_TRUE(SameText(ExtractFileDir(application_->DestPath()), install_->GetDestPath() + "\\System"));
        const std::string common =
            ReadRegString(kHklm, "\\Software\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir", "");
        EXPECT_TRUE(SameText(ExtractFileDir(vendor_->DestPath()), common + "\\System")) << vendor_->DestPath();
        for (TInstallFile* counted : {vendor_, system_, shared_})
            EXPECT_EQ(Counter(counted), n) << counted->DestPath();
        EXPECT_EQ(Counter(justA_), std::nullopt);
        EXPECT_EQ(RegText(kHklm, "\\SOFTWARE\\Microsoft\\Windows\\Help", "MANUAL.HLP"), scratch_ + "\\dest");
        const std::string dest = scratch_ + "\\dest\\";
        EXPECT_TRUE(SameText(RegText(RegistryRoot::ClassesRoot, kComDllClass, ""), dest + "comdll.dll"));
        ASSERT_TRUE(WaitForKey(RegistryRoot::ClassesRoot, kComExeClass));
        const std::string activeX = std::string(kFilesProduct) + "\\ActiveX";
        EXPECT_EQ(RegText(kHklm, activeX, "File1"), dest + "comdll.dll;0");
        EXPECT_EQ(RegText(kHklm, activeX, "File2"), dest + "comexe.exe;1");
        EXPECT_EQ(RegText(kHklm, activeX, "Entries"), std::to_string(2 * n));
        EXPECT_EQ(RegText(kHklm, std::string(kFilesProduct) + "\\Files", "Entries"), std::to_string(8 * n));
    }

    // Spans the group's archive over disks of that many bytes, each a
    // folder diskN below `disks`; returns the number of disks.
    int SpanOntoDisks(const std::string& disks, uint64_t bytesPerDisk) {
        Files().ForceDirectories(disks + "\\disk1");
        Platform p = GetPlatform();
        SizeLimitedFiles small(*p.Files, bytesPerDisk, disks);
        p.Files = &small;
        ScopedPlatform scoped(p);
        TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
        engine->SetCompressedFile(scratch_ + "\\dist\\files.1");
        int last = 1;
        engine->OnNewDisk = TlzhNewDiskEvent("", [&](TPlmrCompress*, int32_t disk, std::string& path) {
            path = disks + "\\disk" + std::to_string(disk);
            small.ForceDirectories(path);
            last = std::max(last, disk);
        });
        engine->SpanToDisks(disks + "\\disk1", "files.1");
        return last;
    }

    TInstallFile* justA_ = nullptr;
    TInstallFile* application_ = nullptr;
    TInstallFile* vendor_ = nullptr;
    TInstallFile* system_ = nullptr;
    TInstallFile* shared_ = nullptr;
};

TEST_F(GroupWineTest, EveryKindOfFileInstallsFromOneVolume) {
    AddEveryKindOfFile();
    group_->Compress(coForceNetFilesLocal | coIncludeExcluded);
    ASSERT_TRUE(Files().FileExists(scratch_ + "\\dist\\files.1"));
    group_->Install();
    ExpectEveryKindInstalled(1);
    group_->Install();
    ExpectEveryKindInstalled(2);
}

TEST_F(GroupWineTest, EveryKindOfFileInstallsFromASetSpannedOverSmallDisks) {
    AddEveryKindOfFile();
    group_->Compress(coForceNetFilesLocal | coIncludeExcluded);
    const std::string disks = scratch_ + "\\disks";
    const int count = SpanOntoDisks(disks, 12000);
    ASSERT_GE(count, 4);
    for (int n = 1; n <= count; ++n) {
        const auto size = Files().FileSize(disks + "\\disk" + std::to_string(n) + "\\files." + std::to_string(n));
        ASSERT_TRUE(size.has_value()) << n;
        EXPECT_LE(*size, 12000u) << n;
    }

    // Each disk is a folder of its own: the group's handler names it.
    group_->SetArchiveFile(disks + "\\disk1\\files.1");
    std::vector<int32_t> asked;
    group_->OnNewDisk = TInstallFileNewDiskEvent("", [&](TCustomInstallFile*, int32_t disk, std::string& path) {
        EXPECT_EQ(path, disks + "\\disk1");
        asked.push_back(disk);
        path = disks + "\\disk" + std::to_string(disk);
    });
    group_->Install();
    ExpectEveryKindInstalled(1);
    for (int n = 2; n <= count; ++n)
        EXPECT_NE(std::find(asked.begin(), asked.end(), n), asked.end()) << "disk " << n << " never asked for";
    EXPECT_EQ(std::find(asked.begin(), asked.end(), count + 1), asked.end());
    group_->Install();
    ExpectEveryKindInstalled(2);
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
    std::string command = "\"" + here_ + "\\" + kComExe + "\" /HOLD \"" + dest + "\" 60";
    ASSERT_TRUE(
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
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
