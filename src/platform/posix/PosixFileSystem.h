// Real Linux files behind the files interface, for the native tools and the
// benchmark. Windows-form paths reach them through drive letters mapped onto
// folders ("C:" onto "/"), relative ones through the current folder; names match without regard to case and through
// their generated 8.3 names; sharing follows the open modes among the files
// this object opened. The Hidden, System and Archive attributes and the
// renames at reboot are kept in memory.
#pragma once

#include "platform/FileSystem.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sw::posix {

class PosixFileSystem : public IFileSystem {
  public:
    PosixFileSystem();
    ~PosixFileSystem() override;

    // Paths on the drive name files below folder.
    void MapDrive(char letter, const std::string& folder);
    // The Windows form of a Linux path (absolute, or relative to the working
    // directory) on a mapped drive.
    std::optional<std::string> WindowsPath(const std::string& posixPath) const;
    // The Linux path a Windows-form path names (the last part as given when
    // it does not exist); nothing when its drive or a folder is missing.
    std::optional<std::string> PosixPath(const std::string& windowsPath) const;
    // A folder given in Windows form; by default the system's temporary folder.
    void SetTempDirectory(const std::string& path) { tempDirectory_ = path; }
    // The folder (Windows form) that paths without a drive are relative to;
    // by default the process's working folder, when it is on a mapped drive.
    void SetCurrentDirectory(const std::string& path) { currentDirectory_ = path; }
    const std::vector<std::pair<std::string, std::string>>& PendingRenames() const { return pendingRenames_; }

    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    std::unique_ptr<IFile> OpenFile(const std::string& path, FileMode mode) override;
    std::optional<uint64_t> FileSize(const std::string& path) override;
    std::optional<FileStamp> GetFileStamp(const std::string& path) override;
    bool SetFileStamp(const std::string& path, FileStamp stamp) override;
    std::optional<uint32_t> GetAttributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, uint32_t attributes) override;
    bool DeleteFile(const std::string& path) override;
    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
    bool MoveFile(const std::string& from, const std::string& to) override;
    bool CreateDirectory(const std::string& path) override;
    bool ForceDirectories(const std::string& path) override;
    bool RemoveDirectory(const std::string& path) override;
    std::vector<DirectoryEntry> ListDirectory(const std::string& folder, const std::string& pattern) override;
    std::optional<uint64_t> FreeSpace(const std::string& path) override;
    std::optional<std::string> ShortPathName(const std::string& path) override;
    std::string TempDirectory() override;
    std::optional<std::string> MakeTempFile(const std::string& folder, const std::string& prefix) override;
    bool MoveFileAtReboot(const std::string& from, const std::string& to) override;
    bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                            const std::string& value) override;

    class File;

  private:
    struct Resolved {
        std::string path;      // the Linux path
        std::string shortPath; // the Windows form with 8.3 names, when asked for
        bool exists = false;
    };
    std::optional<Resolved> Resolve(const std::string& windowsPath, bool wantShort = false) const;
    // A path with a drive: one without is taken from the current folder.
    std::optional<std::string> WithDrive(const std::string& windowsPath) const;
    bool IsOpen(const std::string& posixPath);
    void Opened(const std::string& posixPath, bool write, int delta);
    // Checks sharing and registers the open file under the lock.
    bool TryOpen(const std::string& posixPath, bool write);

    std::map<char, std::string> drives_;
    std::string tempDirectory_;
    std::string currentDirectory_;
    std::mutex mutex_;
    std::map<std::string, std::pair<int, int>> open_; // readers, writers
    std::map<std::string, uint32_t> extraAttributes_;
    std::vector<std::pair<std::string, std::string>> pendingRenames_;
    unsigned tempCounter_ = 0;
};

} // namespace sw::posix
