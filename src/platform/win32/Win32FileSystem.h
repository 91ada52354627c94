// Files and folders through the Win32 ANSI API.
#pragma once

#include "platform/FileSystem.h"

namespace sw::win32 {

class Win32FileSystem : public IFileSystem {
  public:
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
};

// The root folder that GetDiskFreeSpaceA takes for path ("C:\" or "\\server\share\"), empty for a
// relative path (the current drive).
std::string RootFolder(const std::string& path);
// Free space from GetDiskFreeSpaceA, where GetDiskFreeSpaceExA is missing: the free space of the drive
// that holds path (at most 2 GB on the systems that need it).
std::optional<uint64_t> FreeSpaceOfRoot(const std::string& path);

} // namespace sw::win32
