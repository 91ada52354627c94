// Files as a set of disks of one size, over another file system: every file
// opened for writing through it (below a folder, when one is given) holds at
// most that many bytes; a write past them stores what fits and fails as on a
// full disk. The archive tool spans archives onto volumes of a chosen size
// with it, the Wine tests onto small floppies.
#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <memory>
#include <string>

namespace sw {

class SizeLimitedFiles : public IFileSystem {
  public:
    // An empty folder limits the files everywhere.
    SizeLimitedFiles(IFileSystem& files, uint64_t limit, std::string folder = {})
        : files_(files), limit_(limit), folder_(std::move(folder)) {}

    std::unique_ptr<IFile> OpenFile(const std::string& path, FileMode mode) override;

    bool FileExists(const std::string& path) override { return files_.FileExists(path); }
    bool DirectoryExists(const std::string& path) override { return files_.DirectoryExists(path); }
    std::optional<uint64_t> FileSize(const std::string& path) override { return files_.FileSize(path); }
    std::optional<FileStamp> GetFileStamp(const std::string& path) override { return files_.GetFileStamp(path); }
    bool SetFileStamp(const std::string& path, FileStamp stamp) override { return files_.SetFileStamp(path, stamp); }
    std::optional<uint32_t> GetAttributes(const std::string& path) override { return files_.GetAttributes(path); }
    bool SetAttributes(const std::string& path, uint32_t attributes) override {
        return files_.SetAttributes(path, attributes);
    }
    bool DeleteFile(const std::string& path) override { return files_.DeleteFile(path); }
    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
        return files_.CopyFile(from, to, failIfExists);
    }
    bool MoveFile(const std::string& from, const std::string& to) override { return files_.MoveFile(from, to); }
    bool CreateDirectory(const std::string& path) override { return files_.CreateDirectory(path); }
    bool ForceDirectories(const std::string& path) override { return files_.ForceDirectories(path); }
    bool RemoveDirectory(const std::string& path) override { return files_.RemoveDirectory(path); }
    std::vector<DirectoryEntry> ListDirectory(const std::string& folder, const std::string& pattern) override {
        return files_.ListDirectory(folder, pattern);
    }
    std::optional<uint64_t> FreeSpace(const std::string& path) override { return files_.FreeSpace(path); }
    std::optional<std::string> ShortPathName(const std::string& path) override { return files_.ShortPathName(path); }
    std::string TempDirectory() override { return files_.TempDirectory(); }
    std::optional<std::string> MakeTempFile(const std::string& folder, const std::string& prefix) override {
        return files_.MakeTempFile(folder, prefix);
    }
    bool MoveFileAtReboot(const std::string& from, const std::string& to) override {
        return files_.MoveFileAtReboot(from, to);
    }
    bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                            const std::string& value) override {
        return files_.WriteProfileString(file, section, key, value);
    }

  private:
    IFileSystem& files_;
    const uint64_t limit_;
    const std::string folder_;
};

} // namespace sw
