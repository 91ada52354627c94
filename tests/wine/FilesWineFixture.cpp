#include "FilesWineFixture.h"

#include "project/Text.h"
#include "system/InstallRecord.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

#include "platform/win32/Win32Api.h"

#include <cstdlib>

namespace sw::test {

void FilesWineTest::SetUp() {
    EngineWineTest::SetUp();
    install_ = LoadDriver({});
    install_->Information()->ProductName = "SetwrightFiles";
    here_ = ExtractFileDir(GetPlatform().System->ModulePath());
    // tests/wine/in-use-restart.sh names a folder to keep for the restart it performs afterwards.
    const char* kept = std::getenv("SW_RESTART_SCRATCH");
    keep_ = kept && *kept;
    scratch_ =
        keep_ ? std::string(kept) : Files().TempDirectory() + "\\swfiles" + std::to_string(GetCurrentProcessId());
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

void FilesWineTest::TearDown() {
    RemovePlacedFiles();
    FreeRoots();
    if (!keep_)
        Clean();
    EngineWineTest::TearDown();
}

void FilesWineTest::Clean() {
    DeleteRegKeyTree(kHklm, kFilesProduct);
    DeleteRegKeyTree(kHklm, kPellmoorKey);
    DeleteRegKeyTree(RegistryRoot::ClassesRoot, kComDllClass);
    DeleteRegKeyTree(RegistryRoot::ClassesRoot, kComExeClass);
    DeleteRegKeyTree(RegistryRoot::ClassesRoot, ExtractFileDir(kComDllClass));
    DeleteRegKeyTree(RegistryRoot::ClassesRoot, ExtractFileDir(kComExeClass));
    RemoveTree(scratch_);
}

void FilesWineTest::RemovePlacedFiles() {
    for (TInstallFile* file : files_) {
        const std::string dest = file->DestPath();
        Reg().DeleteValue(kHklm, kSharedDLLs, dest);
        if (!SameText(dest.substr(0, scratch_.size()), scratch_))
            Files().DeleteFile(dest);
    }
    // The folders of the application-specific libraries are the driver's own.
    Files().RemoveDirectory(install_->GetDestPath() + "\\System");
    Files().RemoveDirectory(install_->GetDestPath());
    files_.clear();
}

TInstallFile* FilesWineTest::AddFile(const std::string& name, const std::string& contents) {
    const std::string path = scratch_ + "\\src\\" + name;
    Files().OpenFile(path, FileMode::Create)->Write(contents.data(), contents.size());
    return AddSource(path);
}

TInstallFile* FilesWineTest::AddCopy(const std::string& built, const std::string& name) {
    const std::string path = scratch_ + "\\src\\" + name;
    EXPECT_TRUE(Files().CopyFile(here_ + "\\" + built, path, false)) << built;
    return AddSource(path);
}

TInstallFile* FilesWineTest::AddSource(const std::string& path) {
    auto* file = new TInstallFile(install_->Owner(), group_, path);
    file->SetName("File" + std::to_string(files_.size() + 1));
    files_.push_back(file);
    return file;
}

void FilesWineTest::KeepInDest(TInstallFile* file) {
    file->SetFileType(TInstallFileType::iftNormal);
    file->SetDestDirType(nullptr);
    file->SetDestDir(scratch_ + "\\dest");
}

void FilesWineTest::Stamp(const std::string& path, const FileDateTime& when) {
    ASSERT_TRUE(Files().SetFileStamp(path, EncodeFileStamp(when))) << path;
}

std::string FilesWineTest::RegText(RegistryRoot root, const std::string& key, const std::string& name) {
    return ReadRegString(root, key, name, "<none>");
}

bool FilesWineTest::WaitForKey(RegistryRoot root, const std::string& key) {
    for (int i = 0; i < 200 && !Reg().KeyExists(root, key); ++i)
        Sleep(100);
    return Reg().KeyExists(root, key);
}

std::optional<int32_t> FilesWineTest::Counter(const TInstallFile* file) {
    return ReadRegIntegerValue(kHklm, kSharedDLLs, file->DestPath());
}

} // namespace sw::test
