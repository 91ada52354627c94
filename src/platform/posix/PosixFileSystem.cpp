#include "platform/posix/PosixFileSystem.h"

#include "platform/FileNames.h"
#include "platform/PlatformErrors.h"
#include "project/Text.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>

namespace sw::posix {

namespace {

constexpr uint32_t kMemoryAttributes = attr::Hidden | attr::System | attr::Archive;

std::string Join(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::optional<struct stat> Stat(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return st;
}

bool IsFile(const std::string& path) {
    auto st = Stat(path);
    return st && S_ISREG(st->st_mode);
}

bool IsFolder(const std::string& path) {
    auto st = Stat(path);
    return st && S_ISDIR(st->st_mode);
}

bool ReadOnly(const struct stat& st) { return (st.st_mode & S_IWUSR) == 0; }

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The 8.3 name of every entry of a folder, given in sorted order.
std::map<std::string, std::string> ShortNames(const std::vector<std::string>& names) {
    std::map<std::string, std::string> result;
    std::set<std::string> taken;
    for (const std::string& name : names)
        if (IsShortName(name))
            taken.insert(UpperCase(name)), result[name] = name;
    for (const std::string& name : names) {
        if (result.count(name))
            continue;
        for (int n = 1;; ++n) {
            const std::string candidate = ShortNameCandidate(name, n);
            if (taken.insert(UpperCase(candidate)).second) {
                result[name] = candidate;
                break;
            }
        }
    }
    return result;
}

FileStamp StampOf(time_t t) {
    struct tm local;
    if (!::localtime_r(&t, &local) || local.tm_year + 1900 < 1980)
        return EncodeFileStamp({1980, 1, 1, 0, 0, 0});
    if (local.tm_year + 1900 > 2107)
        return EncodeFileStamp({2107, 12, 31, 23, 59, 58});
    return EncodeFileStamp({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                            std::min(local.tm_sec, 59)});
}

timespec TimeOf(FileStamp stamp) {
    const FileDateTime dt = DecodeFileStamp(stamp);
    struct tm local {};
    local.tm_year = dt.Year - 1900;
    local.tm_mon = dt.Month - 1;
    local.tm_mday = dt.Day;
    local.tm_hour = dt.Hour;
    local.tm_min = dt.Minute;
    local.tm_sec = dt.Second;
    local.tm_isdst = -1;
    return timespec{::mktime(&local), 0};
}

bool SetTimes(int fd, const std::string& path, FileStamp stamp) {
    const timespec times[2] = {TimeOf(stamp), TimeOf(stamp)};
    return fd >= 0 ? ::futimens(fd, times) == 0 : ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

std::string ErrorText(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

} // namespace

class PosixFileSystem::File : public IFile {
  public:
    File(PosixFileSystem& fs, int fd, std::string path, bool write)
        : fs_(fs), fd_(fd), path_(std::move(path)), write_(write) {}
    ~File() override {
        ::close(fd_);
        fs_.Opened(path_, write_, -1);
    }

    size_t Read(void* buffer, size_t size) override {
        size_t done = 0;
        while (done < size) {
            const ssize_t got = ::read(fd_, static_cast<char*>(buffer) + done, size - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw EFileIOError(ErrorText("Cannot read", path_), false);
            if (got == 0)
                break;
            done += static_cast<size_t>(got);
        }
        return done;
    }

    void Write(const void* data, size_t size) override {
        if (!write_)
            throw EFileIOError("Cannot write to " + path_ + ": opened for reading", false);
        size_t done = 0;
        while (done < size) {
            const ssize_t put = ::write(fd_, static_cast<const char*>(data) + done, size - done);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                throw EFileIOError(ErrorText("Cannot write", path_), put == 0 || errno == ENOSPC || errno == EDQUOT);
            done += static_cast<size_t>(put);
        }
    }

    uint64_t Seek(int64_t offset, SeekOrigin origin) override {
        const int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
        const off_t at = ::lseek(fd_, static_cast<off_t>(offset), whence);
        if (at < 0)
            throw EFileIOError(ErrorText("Cannot seek in", path_), false);
        return static_cast<uint64_t>(at);
    }

    uint64_t Size() override {
        struct stat st;
        if (::fstat(fd_, &st) != 0)
            throw EFileIOError(ErrorText("Cannot get the size of", path_), false);
        return static_cast<uint64_t>(st.st_size);
    }

    FileStamp Stamp() override {
        struct stat st;
        if (::fstat(fd_, &st) != 0)
            throw EFileIOError(ErrorText("Cannot get the date of", path_), false);
        return StampOf(st.st_mtime);
    }

    void SetStamp(FileStamp stamp) override {
        if (!write_ || !SetTimes(fd_, path_, stamp))
            throw EFileIOError("Cannot set the date of " + path_, false);
    }

  private:
    PosixFileSystem& fs_;
    int fd_;
    std::string path_;
    bool write_;
};

PosixFileSystem::PosixFileSystem() = default;
PosixFileSystem::~PosixFileSystem() = default;

void PosixFileSystem::MapDrive(char letter, const std::string& folder) {
    std::string f = folder;
    while (f.size() > 1 && f.back() == '/')
        f.pop_back();
    drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))] = f;
}

std::optional<std::string> PosixFileSystem::WindowsPath(const std::string& posixPath) const {
    std::string path = posixPath;
    if (path.empty() || path[0] != '/') {
        char cwd[4096];
        if (!::getcwd(cwd, sizeof cwd))
            return std::nullopt;
        path = std::string(cwd) + "/" + path;
    }
    std::vector<std::string> parts;
    for (size_t start = 0; start <= path.size();) {
        size_t end = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            if (part.find('\\') != std::string::npos)
                return std::nullopt;
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::optional<std::string> best;
    size_t bestDepth = 0;
    for (const auto& [letter, folder] : drives_) {
        std::vector<std::string> root;
        for (size_t start = 1; start < folder.size();) {
            size_t end = std::min(folder.find('/', start), folder.size());
            root.push_back(folder.substr(start, end - start));
            start = end + 1;
        }
        if (root.size() > parts.size() || !std::equal(root.begin(), root.end(), parts.begin()))
            continue;
        if (best && root.size() < bestDepth)
            continue;
        std::string w = std::string(1, letter) + ":";
        for (size_t i = root.size(); i < parts.size(); ++i)
            w += "\\" + parts[i];
        best = parts.size() == root.size() ? w + "\\" : w;
        bestDepth = root.size();
    }
    return best;
}

std::optional<std::string> PosixFileSystem::WithDrive(const std::string& windowsPath) const {
    if (windowsPath.size() >= 2 && windowsPath[1] == ':')
        return windowsPath;
    const std::optional<std::string> current = currentDirectory_.empty() ? WindowsPath(".") : currentDirectory_;
    if (!current || current->size() < 2 || (*current)[1] != ':')
        return std::nullopt;
    if (!windowsPath.empty() && (windowsPath[0] == '\\' || windowsPath[0] == '/'))
        return current->substr(0, 2) + windowsPath;
    return *current + "\\" + windowsPath;
}

std::optional<PosixFileSystem::Resolved> PosixFileSystem::Resolve(const std::string& givenPath, bool wantShort) const {
    const std::optional<std::string> full = WithDrive(givenPath);
    if (!full)
        return std::nullopt;
    const std::string& windowsPath = *full;
    auto drive = drives_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0]))));
    if (drive == drives_.end())
        return std::nullopt;
    std::vector<std::string> parts;
    for (size_t start = 2; start <= windowsPath.size();) {
        size_t end = std::min(windowsPath.find_first_of("\\/", start), windowsPath.size());
        const std::string part = windowsPath.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    Resolved r{drive->second, std::string(1, drive->first) + ":", true};
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        const bool last = i + 1 == parts.size();
        std::string found;
        std::vector<std::string> names;
        // The name as given is the common case; the folder is listed only
        // for another letter case, an 8.3 name, or the 8.3 form asked for.
        if (Stat(Join(r.path, part)))
            found = part;
        if (found.empty() || wantShort) {
            names = Names(r.path);
            for (const std::string& name : names)
                if (found.empty() && SameText(name, part))
                    found = name;
        }
        // The 8.3 alias of a long name always holds a "~" (a short name is
        // its own alias, found above): a new file's name needs no aliases.
        std::map<std::string, std::string> shorts;
        if (wantShort || (found.empty() && part.find('~') != std::string::npos))
            shorts = ShortNames(names);
        if (found.empty())
            for (const auto& [name, alias] : shorts)
                if (SameText(alias, part)) {
                    found = name;
                    break;
                }
        if (found.empty()) {
            if (!last)
                return std::nullopt;
            r.path = Join(r.path, part);
            r.shortPath += "\\" + part;
            r.exists = false;
            return r;
        }
        r.path = Join(r.path, found);
        if (wantShort)
            r.shortPath += "\\" + shorts.at(found);
        if (!last && !IsFolder(r.path))
            return std::nullopt;
    }
    if (parts.empty())
        r.shortPath += "\\";
    r.exists = Stat(r.path).has_value();
    return r;
}

std::optional<std::string> PosixFileSystem::PosixPath(const std::string& windowsPath) const {
    const auto r = Resolve(windowsPath);
    return r ? std::optional<std::string>(r->path) : std::nullopt;
}

bool PosixFileSystem::IsOpen(const std::string& posixPath) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = open_.find(posixPath);
    return it != open_.end() && (it->second.first > 0 || it->second.second > 0);
}

void PosixFileSystem::Opened(const std::string& posixPath, bool write, int delta) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto& [readers, writers] = open_[posixPath];
    (write ? writers : readers) += delta;
    if (readers == 0 && writers == 0)
        open_.erase(posixPath);
}

bool PosixFileSystem::TryOpen(const std::string& posixPath, bool write) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto& [readers, writers] = open_[posixPath];
    if (write && writers > 0)
        return false;
    (write ? writers : readers)++;
    return true;
}

bool PosixFileSystem::FileExists(const std::string& path) {
    auto r = Resolve(path);
    return r && r->exists && IsFile(r->path);
}

bool PosixFileSystem::DirectoryExists(const std::string& path) {
    auto r = Resolve(path);
    return r && r->exists && IsFolder(r->path);
}

std::unique_ptr<IFile> PosixFileSystem::OpenFile(const std::string& path, FileMode mode) {
    auto r = Resolve(path);
    if (!r)
        return nullptr;
    const auto st = Stat(r->path);
    if (st && !S_ISREG(st->st_mode))
        return nullptr;
    const bool write = mode != FileMode::Read;
    if (!st && mode != FileMode::Create)
        return nullptr;
    if (write && st && ReadOnly(*st))
        return nullptr;
    if (!TryOpen(r->path, write))
        return nullptr;
    const int flags = mode == FileMode::Read        ? O_RDONLY
                      : mode == FileMode::ReadWrite ? O_RDWR
                                                    : O_RDWR | O_CREAT | O_TRUNC;
    const int fd = ::open(r->path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) {
        Opened(r->path, write, -1);
        return nullptr;
    }
    return std::make_unique<File>(*this, fd, r->path, write);
}

std::optional<uint64_t> PosixFileSystem::FileSize(const std::string& path) {
    auto r = Resolve(path);
    auto st = r ? Stat(r->path) : std::nullopt;
    if (!st || !S_ISREG(st->st_mode))
        return std::nullopt;
    return static_cast<uint64_t>(st->st_size);
}

std::optional<FileStamp> PosixFileSystem::GetFileStamp(const std::string& path) {
    auto r = Resolve(path);
    auto st = r ? Stat(r->path) : std::nullopt;
    if (!st || !S_ISREG(st->st_mode))
        return std::nullopt;
    return StampOf(st->st_mtime);
}

bool PosixFileSystem::SetFileStamp(const std::string& path, FileStamp stamp) {
    auto r = Resolve(path);
    return r && IsFile(r->path) && SetTimes(-1, r->path, stamp);
}

std::optional<uint32_t> PosixFileSystem::GetAttributes(const std::string& path) {
    auto r = Resolve(path);
    auto st = r ? Stat(r->path) : std::nullopt;
    if (!st)
        return std::nullopt;
    std::lock_guard<std::mutex> lock(mutex_);
    auto extra = extraAttributes_.find(r->path);
    if (S_ISDIR(st->st_mode))
        return attr::Directory | (extra != extraAttributes_.end() ? extra->second : 0);
    return (ReadOnly(*st) ? attr::ReadOnly : 0) | (extra != extraAttributes_.end() ? extra->second : attr::Archive);
}

bool PosixFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    auto r = Resolve(path);
    auto st = r ? Stat(r->path) : std::nullopt;
    if (!st)
        return false;
    if (S_ISREG(st->st_mode)) {
        const mode_t mode =
            (attributes & attr::ReadOnly) ? st->st_mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH) : st->st_mode | S_IWUSR;
        if (::chmod(r->path.c_str(), mode & 07777) != 0)
            return false;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    extraAttributes_[r->path] = attributes & kMemoryAttributes;
    return true;
}

bool PosixFileSystem::DeleteFile(const std::string& path) {
    auto r = Resolve(path);
    auto st = r ? Stat(r->path) : std::nullopt;
    if (!st || !S_ISREG(st->st_mode) || ReadOnly(*st) || IsOpen(r->path) || ::unlink(r->path.c_str()) != 0)
        return false;
    std::lock_guard<std::mutex> lock(mutex_);
    extraAttributes_.erase(r->path);
    return true;
}

bool PosixFileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    auto source = Resolve(from);
    auto target = Resolve(to);
    if (!source || !target || !IsFile(source->path) || source->path == target->path)
        return false;
    if (auto st = Stat(target->path)) {
        if (failIfExists || !S_ISREG(st->st_mode) || ReadOnly(*st) || IsOpen(target->path))
            return false;
    }
    const int in = ::open(source->path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out = ::open(target->path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    bool ok = out >= 0;
    std::vector<char> buffer(1 << 20);
    while (ok) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        ok = ::write(out, buffer.data(), static_cast<size_t>(got)) == got;
    }
    struct stat st;
    if (ok && ::fstat(in, &st) == 0)
        ok = SetTimes(out, target->path, StampOf(st.st_mtime));
    ::close(in);
    if (out >= 0)
        ::close(out);
    return ok;
}

bool PosixFileSystem::MoveFile(const std::string& from, const std::string& to) {
    auto source = Resolve(from);
    auto target = Resolve(to);
    if (!source || !source->exists || !target || IsOpen(source->path))
        return false;
    // Only a change of letter case may name the source itself.
    if (target->exists && target->path != source->path)
        return false;
    const std::string destination =
        target->exists ? Join(source->path.substr(0, source->path.rfind('/')), to.substr(to.find_last_of("\\/:") + 1))
                       : target->path;
    return ::rename(source->path.c_str(), destination.c_str()) == 0;
}

bool PosixFileSystem::CreateDirectory(const std::string& path) {
    auto r = Resolve(path);
    return r && !r->exists && ::mkdir(r->path.c_str(), 0777) == 0;
}

bool PosixFileSystem::ForceDirectories(const std::string& givenPath) {
    const std::optional<std::string> full = WithDrive(givenPath);
    if (!full)
        return false;
    const std::string& path = *full;
    if (DirectoryExists(path))
        return true;
    const size_t cut = path.find_last_of('\\');
    if (cut == std::string::npos || cut < 2)
        return false;
    const std::string parent = path.substr(0, cut);
    if (parent.size() > 2 && !ForceDirectories(parent))
        return false;
    return CreateDirectory(path) || DirectoryExists(path);
}

bool PosixFileSystem::RemoveDirectory(const std::string& path) {
    auto r = Resolve(path);
    return r && IsFolder(r->path) && ::rmdir(r->path.c_str()) == 0;
}

std::vector<DirectoryEntry> PosixFileSystem::ListDirectory(const std::string& folder, const std::string& pattern) {
    std::vector<DirectoryEntry> entries;
    auto r = Resolve(folder);
    if (!r || !IsFolder(r->path))
        return entries;
    for (const std::string& name : Names(r->path))
        if (MatchesWildcard(pattern, name)) {
            const std::string path = folder.back() == '\\' ? folder + name : folder + "\\" + name;
            entries.push_back({name, GetAttributes(path).value_or(0)});
        }
    return entries;
}

std::optional<uint64_t> PosixFileSystem::FreeSpace(const std::string& path) {
    auto r = Resolve(path);
    struct statvfs vfs;
    if (!r || !r->exists || ::statvfs(r->path.c_str(), &vfs) != 0)
        return std::nullopt;
    return static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
}

std::optional<std::string> PosixFileSystem::ShortPathName(const std::string& path) {
    auto r = Resolve(path, true);
    if (!r || !r->exists)
        return std::nullopt;
    return r->shortPath;
}

std::string PosixFileSystem::TempDirectory() {
    if (tempDirectory_.empty()) {
        const char* tmpdir = std::getenv("TMPDIR");
        tempDirectory_ = WindowsPath(tmpdir && *tmpdir == '/' ? tmpdir : "/tmp").value_or("");
    }
    std::string t = tempDirectory_;
    if (t.size() > 3 && t.back() == '\\')
        t.pop_back();
    return t;
}

std::optional<std::string> PosixFileSystem::MakeTempFile(const std::string& folder, const std::string& prefix) {
    auto r = Resolve(folder);
    if (!r || !IsFolder(r->path))
        return std::nullopt;
    for (int attempt = 0; attempt < 0x10000; ++attempt) {
        tempCounter_ = (tempCounter_ + 1) & 0xFFFF;
        char name[32];
        std::snprintf(name, sizeof name, "%.3s%X.tmp", prefix.c_str(), tempCounter_ ? tempCounter_ : 1u);
        const int fd = ::open(Join(r->path, name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return (folder.back() == '\\' ? folder : folder + "\\") + name;
        }
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

bool PosixFileSystem::MoveFileAtReboot(const std::string& from, const std::string& to) {
    auto r = Resolve(from);
    if (!r || !r->exists)
        return false;
    pendingRenames_.emplace_back(from, to);
    return true;
}

bool PosixFileSystem::WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                                         const std::string& value) {
    auto r = Resolve(file);
    if (!r || (r->exists && (!IsFile(r->path) || IsOpen(r->path))))
        return false;
    std::string text;
    if (r->exists) {
        auto in = OpenFile(file, FileMode::Read);
        if (!in)
            return false;
        const auto bytes = in->ReadAll();
        text.assign(bytes.begin(), bytes.end());
    }
    auto out = OpenFile(file, FileMode::Create);
    if (!out)
        return false;
    const std::string updated = SetProfileString(text, section, key, value);
    out->Write(updated.data(), updated.size());
    return true;
}

} // namespace sw::posix
