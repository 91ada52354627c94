#include "platform/fake/FakeFileSystem.h"

#include "platform/FileNames.h"
#include "platform/PlatformErrors.h"
#include "project/Text.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

namespace sw::fake {

namespace {
// The code Windows gives a write to a full disk.
constexpr uint32_t kErrorDiskFull = 112;
} // namespace

namespace {
constexpr uint32_t kSettableAttributes = attr::ReadOnly | attr::Hidden | attr::System | attr::Archive;
constexpr uint64_t kDefaultFreeSpace = uint64_t(1) << 30;

bool ValidName(const std::string& name) {
    return !name.empty() && name.find_first_of("<>:\"|?*/") == std::string::npos;
}

} // namespace

struct FakeFileSystem::Node {
    std::string name;
    std::string shortName;
    bool folder = false;
    uint32_t attributes = 0;
    FileStamp stamp = 0;
    std::vector<uint8_t> data;
    std::map<std::string, std::unique_ptr<Node>, TLessText> children;
    Drive* drive = nullptr;
    Node* parent = nullptr;
    int readers = 0;
    int writers = 0;
    bool inUse = false;

    bool Open() const { return readers + writers > 0; }
};

struct FakeFileSystem::Drive {
    char letter;
    Node root;
    std::atomic<uint64_t> free = kDefaultFreeSpace;
};

class FakeFileSystem::File : public IFile {
  public:
    File(FakeFileSystem& fs, Node& node, bool write) : fs_(fs), node_(node), write_(write) {
        (write ? node_.writers : node_.readers)++;
    }
    ~File() override { (write_ ? node_.writers : node_.readers)--; }

    size_t Read(void* buffer, size_t size) override {
        if (position_ >= node_.data.size())
            return 0;
        size_t n = std::min<uint64_t>(size, node_.data.size() - position_);
        std::memcpy(buffer, node_.data.data() + position_, n);
        position_ += n;
        return n;
    }

    void Write(const void* data, size_t size) override {
        if (!write_)
            throw EFileIOError("Cannot write to " + node_.name + ": opened for reading", false);
        uint64_t end = position_ + size;
        uint64_t growth = end > node_.data.size() ? end - node_.data.size() : 0;
        // Files of one drive may be written from several threads at once.
        std::atomic<uint64_t>& free = node_.drive->free;
        uint64_t available = free.load();
        while (!free.compare_exchange_weak(available, available - std::min(growth, available))) {
        }
        const bool full = growth > available;
        if (full) {
            end -= growth - available;
            growth = available;
        }
        if (end > node_.data.size())
            node_.data.resize(end);
        if (end > position_)
            std::memcpy(node_.data.data() + position_, data, end - position_);
        position_ = end;
        if (!stampSet_)
            node_.stamp = fs_.now_;
        if (full)
            throw EFileIOError("Cannot write to " + node_.name + ": the disk is full", true, kErrorDiskFull);
    }

    uint64_t Seek(int64_t offset, SeekOrigin origin) override {
        int64_t base = origin == SeekOrigin::Begin     ? 0
                       : origin == SeekOrigin::Current ? static_cast<int64_t>(position_)
                                                       : static_cast<int64_t>(node_.data.size());
        if (base + offset < 0)
            throw EFileIOError("Cannot seek before the start of " + node_.name, false);
        position_ = static_cast<uint64_t>(base + offset);
        return position_;
    }

    uint64_t Size() override { return node_.data.size(); }
    FileStamp Stamp() override { return node_.stamp; }

    void SetStamp(FileStamp stamp) override {
        if (!write_)
            throw EFileIOError("Cannot set the date of " + node_.name + ": opened for reading", false);
        node_.stamp = stamp;
        stampSet_ = true;
    }

  private:
    FakeFileSystem& fs_;
    Node& node_;
    bool write_;
    bool stampSet_ = false;
    uint64_t position_ = 0;
};

FakeFileSystem::FakeFileSystem() : tempDirectory_("C:\\WINDOWS\\TEMP"), now_(EncodeFileStamp({2000, 1, 1, 12, 0, 0})) {}

FakeFileSystem::~FakeFileSystem() = default;

void FakeFileSystem::AddDrive(char letter) {
    letter = UpperCase(std::string(1, letter))[0];
    auto& drive = drives_[letter];
    if (!drive) {
        drive = std::make_unique<Drive>();
        drive->letter = letter;
        drive->root.folder = true;
        drive->root.attributes = attr::Directory;
        drive->root.drive = drive.get();
    }
}

void FakeFileSystem::SetFreeSpace(char letter, uint64_t bytes) {
    auto it = drives_.find(UpperCase(std::string(1, letter))[0]);
    if (it == drives_.end())
        throw Exception(std::string("No drive ") + letter);
    it->second->free = bytes;
}

std::optional<std::vector<std::string>> FakeFileSystem::Split(const std::string& path, char& drive) const {
    std::string full = path;
    std::replace(full.begin(), full.end(), '/', '\\');
    if (full.size() >= 2 && full[1] == ':') {
        drive = full[0];
        full = full.substr(2);
    } else {
        drive = currentDirectory_[0];
        if (full.empty() || full[0] != '\\')
            full = currentDirectory_.substr(2) + "\\" + full;
    }
    drive = UpperCase(std::string(1, drive))[0];
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= full.size()) {
        size_t end = full.find('\\', start);
        if (end == std::string::npos)
            end = full.size();
        std::string part = full.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        if (!ValidName(part))
            return std::nullopt;
        parts.push_back(part);
    }
    return parts;
}

FakeFileSystem::Location FakeFileSystem::Locate(const std::string& path) {
    Location loc;
    char letter = 0;
    auto parts = Split(path, letter);
    auto drive = drives_.find(letter);
    if (!parts || drive == drives_.end())
        return loc;
    loc.drive = drive->second.get();
    if (parts->empty()) {
        loc.node = &loc.drive->root;
        return loc;
    }
    Node* folder = &loc.drive->root;
    for (size_t i = 0; i + 1 < parts->size(); ++i) {
        Node* next = Child(*folder, (*parts)[i]);
        if (!next || !next->folder)
            return loc;
        folder = next;
    }
    loc.parent = folder;
    loc.node = Child(*folder, parts->back());
    loc.given = parts->back();
    loc.name = loc.node ? loc.node->name : loc.given;
    return loc;
}

FakeFileSystem::Node* FakeFileSystem::FindFile(const std::string& path) {
    Node* node = Locate(path).node;
    return node && !node->folder ? node : nullptr;
}

FakeFileSystem::Node* FakeFileSystem::FindFolder(const std::string& path) {
    Node* node = Locate(path).node;
    return node && node->folder ? node : nullptr;
}

FakeFileSystem::Node* FakeFileSystem::Child(Node& folder, const std::string& name) {
    auto it = folder.children.find(name);
    if (it != folder.children.end())
        return it->second.get();
    for (auto& [childName, child] : folder.children)
        if (SameText(child->shortName, name))
            return child.get();
    return nullptr;
}

std::string FakeFileSystem::MakeShortName(const Node& parent, const std::string& name) {
    if (IsShortName(name))
        return name;
    for (int n = 1;; ++n) {
        std::string candidate = ShortNameCandidate(name, n);
        bool taken = std::any_of(parent.children.begin(), parent.children.end(),
                                 [&](const auto& c) { return SameText(c.second->shortName, candidate); });
        if (!taken)
            return candidate;
    }
}

FakeFileSystem::Node& FakeFileSystem::AddChild(Node& parent, const std::string& name, bool folder) {
    auto node = std::make_unique<Node>();
    node->name = name;
    node->shortName = MakeShortName(parent, name);
    node->folder = folder;
    node->attributes = folder ? 0 : attr::Archive;
    node->stamp = now_;
    node->drive = parent.drive;
    node->parent = &parent;
    Node& added = *node;
    parent.children[name] = std::move(node);
    return added;
}

void FakeFileSystem::SetInUse(const std::string& path, bool inUse) {
    Node* node = FindFile(path);
    if (!node)
        throw Exception("No file " + path);
    node->inUse = inUse;
}

void FakeFileSystem::PutFile(const std::string& path, const std::string& contents) {
    Location loc = Locate(path);
    if (!loc.parent || (loc.node && loc.node->folder))
        throw Exception("Cannot put the file " + path);
    Node& node = loc.node ? *loc.node : AddChild(*loc.parent, loc.name, false);
    loc.drive->free += node.data.size();
    node.data.assign(contents.begin(), contents.end());
    loc.drive->free -= std::min<uint64_t>(loc.drive->free, node.data.size());
    node.stamp = now_;
}

std::string FakeFileSystem::FileText(const std::string& path) {
    Node* node = FindFile(path);
    if (!node)
        throw Exception("No file " + path);
    return std::string(node->data.begin(), node->data.end());
}

bool FakeFileSystem::SetCurrentDirectory(const std::string& path) {
    char letter = 0;
    auto parts = Split(path, letter);
    if (!parts || !FindFolder(path))
        return false;
    std::string dir = std::string(1, letter) + ":";
    for (const auto& p : *parts)
        dir += "\\" + p;
    currentDirectory_ = parts->empty() ? dir + "\\" : dir;
    return true;
}

bool FakeFileSystem::FileExists(const std::string& path) {
    if (FindFile(path))
        return true;
    ++missedFileLookups_;
    return false;
}

bool FakeFileSystem::DirectoryExists(const std::string& path) { return FindFolder(path) != nullptr; }

std::unique_ptr<IFile> FakeFileSystem::OpenFile(const std::string& path, FileMode mode) {
    Location loc = Locate(path);
    if (mode == FileMode::Read) {
        ++readOpens_;
        if (!loc.node || loc.node->folder)
            return nullptr;
        return std::make_unique<File>(*this, *loc.node, false);
    }
    if (loc.node) {
        Node& node = *loc.node;
        if (node.folder || node.inUse || node.writers > 0 || (node.attributes & attr::ReadOnly))
            return nullptr;
        if (mode == FileMode::Create) {
            loc.drive->free += node.data.size();
            node.data.clear();
            node.stamp = now_;
        }
        return std::make_unique<File>(*this, node, true);
    }
    if (mode != FileMode::Create || !loc.parent)
        return nullptr;
    return std::make_unique<File>(*this, AddChild(*loc.parent, loc.name, false), true);
}

std::optional<uint64_t> FakeFileSystem::FileSize(const std::string& path) {
    Node* node = FindFile(path);
    return node ? std::optional<uint64_t>(node->data.size()) : std::nullopt;
}

std::optional<FileStamp> FakeFileSystem::GetFileStamp(const std::string& path) {
    Node* node = FindFile(path);
    return node ? std::optional<FileStamp>(node->stamp) : std::nullopt;
}

bool FakeFileSystem::SetFileStamp(const std::string& path, FileStamp stamp) {
    Node* node = FindFile(path);
    if (!node || node->inUse || node->writers > 0 || (node->attributes & attr::ReadOnly))
        return false;
    node->stamp = stamp;
    return true;
}

std::optional<uint32_t> FakeFileSystem::GetAttributes(const std::string& path) {
    Node* node = Locate(path).node;
    if (!node)
        return std::nullopt;
    return node->folder ? (node->attributes | attr::Directory) : node->attributes;
}

bool FakeFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    Node* node = Locate(path).node;
    if (!node)
        return false;
    node->attributes = attributes & kSettableAttributes;
    return true;
}

bool FakeFileSystem::DeleteFile(const std::string& path) {
    Location loc = Locate(path);
    Node* node = loc.node;
    if (!node || node->folder || node->Open() || node->inUse || (node->attributes & attr::ReadOnly))
        return false;
    loc.drive->free += node->data.size();
    loc.parent->children.erase(loc.name);
    return true;
}

bool FakeFileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    Node* source = FindFile(from);
    Location target = Locate(to);
    if (!source || !target.parent || source == target.node)
        return false;
    if (target.node) {
        Node& t = *target.node;
        if (failIfExists || t.folder || t.Open() || t.inUse || (t.attributes & attr::ReadOnly))
            return false;
    }
    uint64_t old = target.node ? target.node->data.size() : 0;
    if (source->data.size() > old && source->data.size() - old > target.drive->free)
        return false;
    Node& copy = target.node ? *target.node : AddChild(*target.parent, target.name, false);
    target.drive->free = target.drive->free + old - source->data.size();
    copy.data = source->data;
    copy.stamp = source->stamp;
    copy.attributes = source->attributes | attr::Archive;
    return true;
}

bool FakeFileSystem::MoveFile(const std::string& from, const std::string& to) {
    Location source = Locate(from);
    Location target = Locate(to);
    if (!source.node || !source.parent || !target.parent)
        return false;
    Node* node = source.node;
    if (node->Open() || node->inUse || (target.node && target.node != node))
        return false;
    uint64_t bytes = node->data.size();
    if (source.drive != target.drive && (node->folder || bytes > target.drive->free))
        return false;
    for (Node* up = target.parent; up; up = up->parent)
        if (up == node)
            return false;
    auto owned = std::move(source.parent->children.at(source.name));
    source.parent->children.erase(source.name);
    source.drive->free += bytes;
    target.drive->free -= bytes;
    owned->name = target.given;
    if (target.node != node)
        owned->shortName = MakeShortName(*target.parent, target.given);
    owned->parent = target.parent;
    owned->drive = target.drive;
    target.parent->children[target.given] = std::move(owned);
    return true;
}

bool FakeFileSystem::CreateDirectory(const std::string& path) {
    Location loc = Locate(path);
    if (failDirectories_ || loc.node || !loc.parent)
        return false;
    AddChild(*loc.parent, loc.name, true);
    return true;
}

bool FakeFileSystem::ForceDirectories(const std::string& path) {
    if (DirectoryExists(path))
        return true;
    char letter = 0;
    auto parts = Split(path, letter);
    if (!parts)
        return false;
    std::string dir = std::string(1, letter) + ":";
    for (const auto& part : *parts) {
        dir += "\\" + part;
        if (!DirectoryExists(dir) && !CreateDirectory(dir))
            return false;
    }
    return DirectoryExists(path);
}

bool FakeFileSystem::RemoveDirectory(const std::string& path) {
    Location loc = Locate(path);
    if (!loc.node || !loc.node->folder || !loc.parent || !loc.node->children.empty())
        return false;
    loc.parent->children.erase(loc.name);
    return true;
}

std::vector<DirectoryEntry> FakeFileSystem::ListDirectory(const std::string& folder, const std::string& pattern) {
    std::vector<DirectoryEntry> entries;
    Node* dir = FindFolder(folder);
    if (!dir)
        return entries;
    for (const auto& [name, node] : dir->children)
        if (MatchesWildcard(pattern, node->name))
            entries.push_back({node->name, node->folder ? (node->attributes | attr::Directory) : node->attributes});
    return entries;
}

std::optional<uint64_t> FakeFileSystem::FreeSpace(const std::string& path) {
    Location loc = Locate(path);
    if (!loc.node || !loc.node->folder)
        return std::nullopt;
    return loc.drive->free;
}

std::optional<std::string> FakeFileSystem::ShortPathName(const std::string& path) {
    char letter = 0;
    auto parts = Split(path, letter);
    auto drive = drives_.find(letter);
    if (!parts || drive == drives_.end())
        return std::nullopt;
    std::string result = path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string(1, letter) + ":";
    Node* node = &drive->second->root;
    for (const auto& part : *parts) {
        node = node->folder ? Child(*node, part) : nullptr;
        if (!node)
            return std::nullopt;
        result += "\\" + (IsShortName(part) ? part : node->shortName);
    }
    return parts->empty() ? result + "\\" : result;
}

std::string FakeFileSystem::TempDirectory() { return tempDirectory_; }

std::optional<std::string> FakeFileSystem::MakeTempFile(const std::string& folder, const std::string& prefix) {
    Node* dir = FindFolder(folder);
    if (!dir)
        return std::nullopt;
    std::string base = folder;
    if (!base.empty() && base.back() != '\\')
        base += '\\';
    for (int attempt = 0; attempt < 0x10000; ++attempt) {
        tempCounter_ = (tempCounter_ + 1) & 0xFFFF;
        if (tempCounter_ == 0)
            tempCounter_ = 1;
        char hex[8];
        std::snprintf(hex, sizeof hex, "%X", tempCounter_);
        std::string name = prefix.substr(0, 3) + hex + ".TMP";
        if (!Child(*dir, name)) {
            AddChild(*dir, name, false);
            return base + name;
        }
    }
    return std::nullopt;
}

bool FakeFileSystem::MoveFileAtReboot(const std::string& from, const std::string& to) {
    if (failMoveAtReboot_ || !Locate(from).node)
        return false;
    pendingRenames_.emplace_back(from, to);
    return true;
}

bool FakeFileSystem::WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                                        const std::string& value) {
    Location loc = Locate(file);
    if (!loc.parent || (loc.node && (loc.node->folder || loc.node->Open() || loc.node->inUse)))
        return false;
    const std::string text = loc.node ? std::string(loc.node->data.begin(), loc.node->data.end()) : std::string();
    PutFile(file, SetProfileString(text, section, key, value));
    return true;
}

} // namespace sw::fake
