#include "platform/win32/Win32FileSystem.h"

#include "platform/FileNames.h"
#include "platform/PlatformErrors.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32LaterApi.h"

namespace sw::win32 {

namespace {
constexpr uint32_t kKnownAttributes = attr::ReadOnly | attr::Hidden | attr::System | attr::Directory | attr::Archive;

// A failure of an open file, with the system's code in the message and the error.
[[noreturn]] void FileFailed(const std::string& what, DWORD error) {
    throw EFileIOError(what + " (error " + std::to_string(error) + ")", false, error);
}

class Win32File : public IFile {
  public:
    Win32File(HANDLE h, std::string path) : h_(h), path_(std::move(path)) {}

    size_t Read(void* buffer, size_t size) override {
        DWORD got = 0;
        if (!ReadFile(h_.Get(), buffer, static_cast<DWORD>(size), &got, nullptr))
            FileFailed("Cannot read " + path_, GetLastError());
        return got;
    }

    void Write(const void* data, size_t size) override {
        DWORD written = 0;
        if (!WriteFile(h_.Get(), data, static_cast<DWORD>(size), &written, nullptr)) {
            DWORD error = GetLastError();
            throw EFileIOError("Cannot write " + path_ + " (error " + std::to_string(error) + ")",
                               error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL, error);
        }
        if (written < size)
            throw EFileIOError("Cannot write " + path_ + ": the disk is full", true, ERROR_DISK_FULL);
    }

    uint64_t Seek(int64_t offset, SeekOrigin origin) override {
        LONG high = static_cast<LONG>(offset >> 32);
        DWORD method = origin == SeekOrigin::Begin     ? FILE_BEGIN
                       : origin == SeekOrigin::Current ? FILE_CURRENT
                                                       : FILE_END;
        SetLastError(NO_ERROR);
        DWORD low = SetFilePointer(h_.Get(), static_cast<LONG>(offset & 0xFFFFFFFF), &high, method);
        if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
            FileFailed("Cannot seek in " + path_, GetLastError());
        return (uint64_t(static_cast<DWORD>(high)) << 32) | low;
    }

    uint64_t Size() override {
        DWORD high = 0;
        SetLastError(NO_ERROR);
        DWORD low = GetFileSize(h_.Get(), &high);
        if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
            FileFailed("Cannot get the size of " + path_, GetLastError());
        return (uint64_t(high) << 32) | low;
    }

    FileStamp Stamp() override {
        FILETIME utc, local;
        WORD date = 0, time = 0;
        if (!GetFileTime(h_.Get(), nullptr, nullptr, &utc) || !FileTimeToLocalFileTime(&utc, &local) ||
            !FileTimeToDosDateTime(&local, &date, &time))
            FileFailed("Cannot get the date of " + path_, GetLastError());
        return (FileStamp(date) << 16) | time;
    }

    void SetStamp(FileStamp stamp) override {
        FILETIME local, utc;
        if (!DosDateTimeToFileTime(static_cast<WORD>(stamp >> 16), static_cast<WORD>(stamp & 0xFFFF), &local) ||
            !LocalFileTimeToFileTime(&local, &utc) || !SetFileTime(h_.Get(), nullptr, nullptr, &utc))
            FileFailed("Cannot set the date of " + path_, GetLastError());
    }

  private:
    FileHandle h_;
    std::string path_;
};

HANDLE OpenHandle(const std::string& path, FileMode mode) {
    switch (mode) {
    case FileMode::Read:
        return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    case FileMode::ReadWrite:
        return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    case FileMode::Create:
        return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return INVALID_HANDLE_VALUE;
}

bool HasWildcards(const std::string& path) { return path.find_first_of("*?") != std::string::npos; }
} // namespace

bool Win32FileSystem::FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::DirectoryExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::unique_ptr<IFile> Win32FileSystem::OpenFile(const std::string& path, FileMode mode) {
    if (mode == FileMode::Create) {
        // A new file needs none of the checks below, and the lookup of a name
        // that is not there is the dearest one: it is made only once.
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            return std::make_unique<Win32File>(h, path);
        if (const DWORD error = GetLastError(); error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return nullptr;
    }
    // Checked here as well, because a privileged user on a Unix host could
    // otherwise write a read-only file under Wine.
    DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES
            ? mode != FileMode::Create
            : (a & FILE_ATTRIBUTE_DIRECTORY) || (mode != FileMode::Read && (a & FILE_ATTRIBUTE_READONLY)))
        return nullptr;
    HANDLE h = OpenHandle(path, mode);
    if (h == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<Win32File>(h, path);
}

std::optional<uint64_t> Win32FileSystem::FileSize(const std::string& path) {
    WIN32_FIND_DATAA data;
    if (HasWildcards(path))
        return std::nullopt;
    FindHandle h(FindFirstFileA(path.c_str(), &data));
    if (!h || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<FileStamp> Win32FileSystem::GetFileStamp(const std::string& path) {
    if (!FileExists(path))
        return std::nullopt;
    FileHandle h(OpenHandle(path, FileMode::Read));
    if (!h)
        return std::nullopt;
    FILETIME utc, local;
    WORD date = 0, time = 0;
    if (!GetFileTime(h.Get(), nullptr, nullptr, &utc) || !FileTimeToLocalFileTime(&utc, &local) ||
        !FileTimeToDosDateTime(&local, &date, &time))
        return std::nullopt;
    return (FileStamp(date) << 16) | time;
}

bool Win32FileSystem::SetFileStamp(const std::string& path, FileStamp stamp) {
    if (!FileExists(path))
        return false;
    FileHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME local, utc;
    return h && DosDateTimeToFileTime(static_cast<WORD>(stamp >> 16), static_cast<WORD>(stamp & 0xFFFF), &local) &&
           LocalFileTimeToFileTime(&local, &utc) && SetFileTime(h.Get(), nullptr, nullptr, &utc);
}

std::optional<uint32_t> Win32FileSystem::GetAttributes(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return a & kKnownAttributes;
}

bool Win32FileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    DWORD a = attributes & (attr::ReadOnly | attr::Hidden | attr::System | attr::Archive);
    return SetFileAttributesA(path.c_str(), a ? a : FILE_ATTRIBUTE_NORMAL);
}

bool Win32FileSystem::DeleteFile(const std::string& path) { return DeleteFileA(path.c_str()); }

bool Win32FileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    return CopyFileA(from.c_str(), to.c_str(), failIfExists);
}

bool Win32FileSystem::MoveFile(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str());
}

bool Win32FileSystem::CreateDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr); }

bool Win32FileSystem::ForceDirectories(const std::string& path) {
    std::string dir = WithoutTrailingBackslash(path);
    if (dir.empty() || DirectoryExists(dir))
        return !dir.empty();
    size_t cut = dir.rfind('\\');
    if (cut != std::string::npos && cut > 0 && dir[cut - 1] != ':' && !ForceDirectories(dir.substr(0, cut)))
        return false;
    return CreateDirectoryA(dir.c_str(), nullptr) || DirectoryExists(dir);
}

bool Win32FileSystem::RemoveDirectory(const std::string& path) { return RemoveDirectoryA(path.c_str()); }

std::vector<DirectoryEntry> Win32FileSystem::ListDirectory(const std::string& folder, const std::string& pattern) {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAA data;
    std::string base = folder;
    if (!base.empty() && base.back() != '\\')
        base += '\\';
    FindHandle h(FindFirstFileA((base + pattern).c_str(), &data));
    if (!h)
        return entries;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..")
            entries.push_back({name, data.dwFileAttributes & kKnownAttributes});
    } while (FindNextFileA(h.Get(), &data));
    return entries;
}

std::string RootFolder(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2) + '\\';
    if (path.rfind("\\\\", 0) != 0)
        return "";
    // \\server\share\: the backslash after the share name, or the end.
    size_t server = path.find('\\', 2);
    if (server == std::string::npos)
        return "";
    size_t share = path.find('\\', server + 1);
    return (share == std::string::npos ? path : path.substr(0, share)) + '\\';
}

std::optional<uint64_t> FreeSpaceOfRoot(const std::string& path) {
    std::string root = RootFolder(path);
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA(root.empty() ? nullptr : root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
        return std::nullopt;
    return uint64_t{freeClusters} * sectorsPerCluster * bytesPerSector;
}

std::optional<uint64_t> Win32FileSystem::FreeSpace(const std::string& path) {
    using GetDiskFreeSpaceExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    // Windows 95 before OSR2 has only GetDiskFreeSpaceA.
    static const auto getDiskFreeSpaceEx = LaterApi<GetDiskFreeSpaceExFn>("kernel32.dll", "GetDiskFreeSpaceExA");
    if (!getDiskFreeSpaceEx)
        return FreeSpaceOfRoot(path);
    ULARGE_INTEGER available, total, free;
    std::string dir = path;
    if (!dir.empty() && dir.back() != '\\')
        dir += '\\';
    if (!getDiskFreeSpaceEx(dir.c_str(), &available, &total, &free))
        return std::nullopt;
    return available.QuadPart;
}

std::optional<std::string> Win32FileSystem::ShortPathName(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer)
        return std::nullopt;
    return std::string(buffer, n);
}

std::string Win32FileSystem::TempDirectory() {
    char buffer[MAX_PATH];
    DWORD n = GetTempPathA(sizeof buffer, buffer);
    if (n == 0 || n >= sizeof buffer)
        return "";
    return WithoutTrailingBackslash(std::string(buffer, n));
}

std::optional<std::string> Win32FileSystem::MakeTempFile(const std::string& folder, const std::string& prefix) {
    char buffer[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, buffer))
        return std::nullopt;
    return std::string(buffer);
}

bool Win32FileSystem::MoveFileAtReboot(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.empty() ? nullptr : to.c_str(),
                       MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING);
}

bool Win32FileSystem::WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                                         const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

} // namespace sw::win32
