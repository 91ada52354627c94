// An in-memory file system: drives holding a case-insensitive tree of
// folders and files, with the sharing, attribute and free-space rules of
// Windows, and fault injection for tests. Open files may be read and written
// from several threads at once, one thread per file; everything else runs
// on one thread.
#pragma once

#include "platform/FileSystem.h"

#include <map>
#include <utility>

namespace sw::fake {

class FakeFileSystem : public IFileSystem {
  public:
    FakeFileSystem();
    ~FakeFileSystem() override;

    // A drive with its root folder; free space is unlimited until set.
    void AddDrive(char letter);
    // Writes that would grow the drive's contents beyond this many more bytes
    // fail as a full disk.
    void SetFreeSpace(char letter, uint64_t bytes);
    // A file in use cannot be deleted, moved or opened for writing.
    void SetInUse(const std::string& path, bool inUse);
    // Folder creation fails while set.
    void FailDirectoryCreation(bool fail) { failDirectories_ = fail; }
    // The stamp given to files when they are created or written.
    void SetNow(FileStamp stamp) { now_ = stamp; }
    // MoveFileAtReboot fails while set.
    void FailMoveAtReboot(bool fail) { failMoveAtReboot_ = fail; }
    // The renames asked for by MoveFileAtReboot, in order (from, to).
    const std::vector<std::pair<std::string, std::string>>& PendingRenames() const { return pendingRenames_; }
    // FileExists calls that found nothing: on Windows and Wine the dearest lookups.
    int MissedFileLookups() const { return missedFileLookups_; }
    // OpenFile calls in read mode, found or not.
    int ReadOpens() const { return readOpens_; }

    // Whole-file helpers for tests; they ignore the fault injection.
    void PutFile(const std::string& path, const std::string& contents);
    std::string FileText(const std::string& path);

    std::string CurrentDirectory() const { return currentDirectory_; }
    bool SetCurrentDirectory(const std::string& path);
    void SetTempDirectory(const std::string& path) { tempDirectory_ = path; }

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

    struct Node;
    struct Drive;
    class File;

  private:
    struct Location {
        Drive* drive = nullptr;
        Node* parent = nullptr; // null for a drive's root
        Node* node = nullptr;   // null when the last part does not exist
        std::string name;       // the last part as stored, or as given when it does not exist
        std::string given;      // the last part as given
    };

    std::optional<std::vector<std::string>> Split(const std::string& path, char& drive) const;
    Location Locate(const std::string& path);
    Node* FindFile(const std::string& path);
    Node* FindFolder(const std::string& path);
    // A child by its name or its short name.
    static Node* Child(Node& folder, const std::string& name);
    static std::string MakeShortName(const Node& parent, const std::string& name);
    Node& AddChild(Node& parent, const std::string& name, bool folder);

    std::map<char, std::unique_ptr<Drive>> drives_;
    std::string currentDirectory_ = "C:\\";
    std::string tempDirectory_;
    FileStamp now_;
    bool failDirectories_ = false;
    bool failMoveAtReboot_ = false;
    unsigned tempCounter_ = 0;
    int readOpens_ = 0;
    std::vector<std::pair<std::string, std::string>> pendingRenames_;
    int missedFileLookups_ = 0;
};

} // namespace sw::fake
