#include "archive/FileList.h"

#include "archive/ArchiveErrors.h"
#include "archive/ArchiveFormat.h"
#include "platform/FileSystem.h"
#include "project/Text.h"
#include "system/InstallErrors.h"

#include <cmath>
#include <cstring>
#include <set>

namespace sw {

namespace {

constexpr size_t kHashedPrefix = archive::kFileListNameSize - 9;

uint32_t NameHash(const std::string& name) {
    uint32_t hash = 2166136261u;
    for (char c : UpperCase(name)) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 16777619u;
    }
    return hash;
}

std::string FieldText(const char* field, size_t capacity) {
    return std::string(field, strnlen(field, capacity));
}

} // namespace

std::string FileListName(const std::string& componentName) {
    if (componentName.size() <= archive::kFileListNameSize)
        return componentName;
    return componentName.substr(0, kHashedPrefix) + "~" + UpperHex(NameHash(componentName), 8);
}

void WriteFileList(IFile& file, const std::vector<TFileListEntry>& entries) {
    std::vector<uint8_t> bytes(archive::kFileListCountSize + entries.size() * archive::kFileListRecordSize);
    const int32_t count = static_cast<int32_t>(entries.size());
    std::memcpy(bytes.data(), &count, sizeof count);
    std::set<std::string> names;
    uint8_t* at = bytes.data() + archive::kFileListCountSize;
    for (const TFileListEntry& entry : entries) {
        const std::string name = FileListName(entry.Name);
        if (!names.insert(UpperCase(name)).second)
            throw IEInstall("Cannot write the file list: two file components are both named %s in it", {name});
        archive::TFileListRecord record;
        record.SourceSize = entry.SourceSize;
        record.SourceDate = entry.SourceDate;
        std::memcpy(record.Name, name.data(), name.size());
        std::memcpy(record.Version, entry.Version.data(), std::min(entry.Version.size(), sizeof record.Version));
        std::memcpy(at, &record, sizeof record);
        at += sizeof record;
    }
    file.Write(bytes);
}

std::vector<TFileListEntry> ReadFileList(IFile& file, const std::string& path) {
    auto damaged = [&](const std::string& what) {
        return EFileListError("The file list " + path + " is damaged: " + what);
    };
    const std::vector<uint8_t> bytes = file.ReadAll();
    int32_t count = 0;
    if (bytes.size() < sizeof count)
        throw damaged("it has no record count");
    std::memcpy(&count, bytes.data(), sizeof count);
    if (count < 0 ||
        bytes.size() != archive::kFileListCountSize + static_cast<uint64_t>(count) * archive::kFileListRecordSize)
        throw damaged("its size does not match its count of " + std::to_string(count) + " records");
    std::vector<TFileListEntry> entries;
    std::set<std::string> names;
    for (int32_t i = 0; i < count; ++i) {
        archive::TFileListRecord record;
        std::memcpy(&record, bytes.data() + archive::kFileListCountSize + size_t(i) * sizeof record, sizeof record);
        TFileListEntry entry;
        entry.SourceSize = record.SourceSize;
        entry.SourceDate = record.SourceDate;
        entry.Name = FieldText(record.Name, sizeof record.Name);
        entry.Version = FieldText(record.Version, sizeof record.Version);
        const std::string which = "record " + std::to_string(i + 1);
        if (entry.Name.empty())
            throw damaged(which + " has no name");
        if (entry.SourceSize < 0 || !std::isfinite(entry.SourceDate))
            throw damaged(which + " (" + entry.Name + ") has an impossible size or date");
        if (!names.insert(UpperCase(entry.Name)).second)
            throw damaged(entry.Name + " is listed twice");
        entries.push_back(std::move(entry));
    }
    return entries;
}

const TFileListEntry* FindFileListEntry(const std::vector<TFileListEntry>& entries, const std::string& componentName) {
    const std::string name = FileListName(componentName);
    for (const TFileListEntry& entry : entries)
        if (SameText(entry.Name, name))
            return &entry;
    return nullptr;
}

} // namespace sw
