// Files and folders. Paths are Windows-form 8-bit text ("C:\Dir\File.ext");
// names compare without regard to case. Operations that the engine answers
// with its own message return false or an empty result; reading and writing
// an open file raise EFileIOError.
#pragma once

#include "platform/FileStamp.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sw {

// Attribute bits, with the values Windows gives them.
namespace attr {
inline constexpr uint32_t ReadOnly = 0x01;
inline constexpr uint32_t Hidden = 0x02;
inline constexpr uint32_t System = 0x04;
inline constexpr uint32_t Directory = 0x10;
inline constexpr uint32_t Archive = 0x20;
} // namespace attr

enum class FileMode {
    Read,      // existing file, shared with other readers and writers
    ReadWrite, // existing file, others may read
    Create,    // new or truncated file, others may read
};

enum class SeekOrigin { Begin, Current, End };

// An open file, closed on destruction.
class IFile {
  public:
    virtual ~IFile() = default;
    // Reads up to size bytes; returns how many were read, 0 at the end.
    virtual size_t Read(void* buffer, size_t size) = 0;
    virtual void Write(const void* data, size_t size) = 0;
    // Returns the new position.
    virtual uint64_t Seek(int64_t offset, SeekOrigin origin) = 0;
    virtual uint64_t Size() = 0;
    virtual FileStamp Stamp() = 0;
    virtual void SetStamp(FileStamp stamp) = 0;

    // Everything from the current position to the end.
    std::vector<uint8_t> ReadAll();
    void Write(const std::vector<uint8_t>& data) { Write(data.data(), data.size()); }
};

struct DirectoryEntry {
    std::string Name;
    uint32_t Attributes = 0;
};

class IFileSystem {
  public:
    virtual ~IFileSystem() = default;

    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;

    // Null when the file cannot be opened or created (missing, in use, denied).
    virtual std::unique_ptr<IFile> OpenFile(const std::string& path, FileMode mode) = 0;
    virtual std::optional<uint64_t> FileSize(const std::string& path) = 0;
    virtual std::optional<FileStamp> GetFileStamp(const std::string& path) = 0;
    virtual bool SetFileStamp(const std::string& path, FileStamp stamp) = 0;
    virtual std::optional<uint32_t> GetAttributes(const std::string& path) = 0;
    // Sets ReadOnly, Hidden, System and Archive; other bits are ignored.
    virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;

    // False when the file is missing, open, in use, read-only or denied.
    virtual bool DeleteFile(const std::string& path) = 0;
    virtual bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
    // Renames or moves a file or folder; false when the target exists.
    virtual bool MoveFile(const std::string& from, const std::string& to) = 0;

    // One level; false when it exists already or its parent is missing.
    virtual bool CreateDirectory(const std::string& path) = 0;
    // All missing levels; true when the folder exists afterwards.
    virtual bool ForceDirectories(const std::string& path) = 0;
    // An empty folder only.
    virtual bool RemoveDirectory(const std::string& path) = 0;
    // Entries matching a pattern with * and ? ("*.*" for all), without "." and "..".
    virtual std::vector<DirectoryEntry> ListDirectory(const std::string& folder, const std::string& pattern) = 0;

    // Bytes free for the caller on the drive of the path.
    virtual std::optional<uint64_t> FreeSpace(const std::string& path) = 0;
    // The 8.3 form of an existing path.
    virtual std::optional<std::string> ShortPathName(const std::string& path) = 0;
    // The folder for temporary files, without a trailing backslash.
    virtual std::string TempDirectory() = 0;
    // Creates an empty file with a unique name in the folder, named after the
    // first three characters of the prefix, and returns its path.
    virtual std::optional<std::string> MakeTempFile(const std::string& folder, const std::string& prefix) = 0;

    // Has the system rename from to to at the next start of Windows (an empty
    // to deletes from). The file in use stays where it is until then.
    virtual bool MoveFileAtReboot(const std::string& from, const std::string& to) = 0;
    // Writes key=value into a section of an initialization file (full path),
    // creating the file and the section when needed.
    virtual bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
};

} // namespace sw
