#include "archive/FileHeaders.h"

#include "archive/ArchiveErrors.h"
#include "archive/VersionResource.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/PlatformErrors.h"
#include "project/Text.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace sw {

namespace {

const char* const kReadCountFailed = "Could not read the file header count for the compressed file";
const char* const kWriteFailed = "Could not write the file headers for the compressed file";

template <size_t N> std::string_view ShortStringView(const uint8_t (&field)[N]) {
    const size_t length = std::min<size_t>(field[0], N - 1);
    return std::string_view(reinterpret_cast<const char*>(field + 1), length);
}

template <size_t N> void SetShortString(uint8_t (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    const size_t length = std::min(text.size(), N - 1);
    field[0] = static_cast<uint8_t>(length);
    std::memcpy(field + 1, text.data(), length);
}

// The data of an entry lie where its layout says they can.
bool PlausibleData(const archive::TFileHeaderRecord& r, bool multiVolume, int64_t archiveSize) {
    if (r.SourceSize < 0 || r.CompressedSize < 0 || r.DataStart < 0 || r.DataEnd < -1)
        return false;
    if (multiVolume)
        return r.StartDisk >= 1 && r.EndDisk >= r.StartDisk;
    return r.DataStart <= int64_t(r.DataEnd) + 1 && r.DataEnd < archiveSize;
}

void WriteAll(IFile& file, const void* data, size_t size) {
    try {
        file.Write(data, size);
    } catch (const EFileIOError&) {
        throw EPlmrCompress(kWriteFailed);
    }
}

} // namespace

std::string TFileHeader::SourcePath() const { return std::string(ShortStringView(Record.SourcePath)); }
void TFileHeader::SetSourcePath(const std::string& path) { SetShortString(Record.SourcePath, path); }
std::string TFileHeader::SourceVersion() const { return std::string(ShortStringView(Record.SourceVersion)); }
void TFileHeader::SetSourceVersion(const std::string& version) { SetShortString(Record.SourceVersion, version); }

std::string ListLinePath(const std::string& line) { return line.substr(0, line.find(';')); }

std::unique_ptr<TFileHeader> MakeFileHeader(const std::string& line) {
    auto header = std::make_unique<TFileHeader>();
    header->SourceFile = ListLinePath(line);
    header->SetSourcePath(header->SourceFile);
    std::unique_ptr<IFile> file = GetPlatform().Files->OpenFile(header->SourceFile, FileMode::Read);
    if (!file)
        throw EPlmrCompress(Format("Cannot open the file %s", {header->SourceFile}));
    const uint64_t size = file->Size();
    if (size > uint64_t(archive::kMaxPosition))
        throw EPlmrCompress(Format("The file %s is too large for an archive", {header->SourceFile}));
    header->Record.SourceDate = DateTimeToDayCount(DecodeFileStamp(file->Stamp()));
    header->Record.SourceSize = static_cast<int32_t>(size);
    file.reset();
    TVersionResource& versions = SharedVersionResource();
    versions.SetFileName(header->SourceFile);
    header->SetSourceVersion(versions.VersionInfo()->FileVersion);
    return header;
}

TFileHeader& TFileHeaders::GetFileHeaders(int index) const {
    if (index < 0 || index >= Count())
        throw EPlmrCompress(Format("%d is an invalid TFileHeader index in TFileHeaders.GetFileHeaders", {index}));
    return *headers_[static_cast<size_t>(index)];
}

void TFileHeaders::Add(std::unique_ptr<TFileHeader> header) {
    if (!header || Trim(header->SourcePath()).empty())
        throw EPlmrCompress("Tried to add an invalid file header");
    headers_.push_back(std::move(header));
}

void TFileHeaders::LoadFromList(const std::vector<std::string>& lines, bool append) {
    if (!append)
        Clear();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::unique_ptr<TFileHeader> header = MakeFileHeader(lines[i]);
        header->Record.Sequence = static_cast<int32_t>(i + 1);
        Add(std::move(header));
    }
}

void TFileHeaders::Clear() {
    headers_.clear();
    byName_.clear();
    indexed_ = 0;
}

int TFileHeaders::IndexOfName(const std::string& name) const {
    for (; indexed_ < headers_.size(); ++indexed_)
        byName_.emplace(UpperCase(ShortStringView(headers_[indexed_]->Record.SourcePath)), static_cast<int>(indexed_));
    const std::string key = ListLinePath(name);
    const auto found = byName_.find(UpperCase(key));
    // A record changed in place is not in the index: it is checked, and a
    // name not found is looked for in the table itself.
    if (found != byName_.end() &&
        SameText(ShortStringView(headers_[static_cast<size_t>(found->second)]->Record.SourcePath), key))
        return found->second;
    for (int i = 0; i < Count(); ++i)
        if (SameText(ShortStringView(headers_[static_cast<size_t>(i)]->Record.SourcePath), key))
            return i;
    return -1;
}

void TFileHeaders::ReadFromStream(IFile& file, int64_t offset) {
    Clear();
    const int64_t fileSize = static_cast<int64_t>(file.Size());
    if (offset < 0 || offset > fileSize)
        throw EPlmrCompress(kReadCountFailed);
    // Positions are relative to the archive's first byte.
    const int64_t size = fileSize - offset;
    file.Seek(offset, SeekOrigin::Begin);
    uint8_t prefix[archive::kPrefixSize];
    if (file.Read(prefix, sizeof prefix) != sizeof prefix)
        throw EPlmrCompress(kReadCountFailed);
    int32_t count;
    std::memcpy(&count, prefix, 4);
    MultiVolume = prefix[4] != 0;
    // Every record takes 172 bytes of the file, so a larger count is corrupt.
    if (count < 0 || int64_t(count) > (size - int64_t(archive::kPrefixSize)) / int64_t(archive::kRecordSize))
        throw EpcHeadersUnreadable();
    int64_t p = archive::kPrefixSize;
    for (int32_t i = 0; i < count; ++i) {
        file.Seek(offset + p, SeekOrigin::Begin);
        auto header = std::make_unique<TFileHeader>();
        if (file.Read(&header->Record, archive::kRecordSize) != archive::kRecordSize)
            throw EpcHeadersUnreadable();
        header->Loaded = true;
        const archive::TFileHeaderRecord& r = header->Record;
        if (!PlausibleData(r, MultiVolume, size))
            throw EpcHeadersUnreadable();
        // The next record lies after this one and inside the file: the walk
        // only moves forward, so it ends.
        if (i + 1 < count &&
            (r.NextHeader < p + int64_t(archive::kRecordSize) || r.NextHeader > size - int64_t(archive::kRecordSize)))
            throw EpcHeadersUnreadable();
        p = r.NextHeader;
        Add(std::move(header));
    }
}

void TFileHeaders::WriteToStream(IFile& file) {
    file.Seek(0, SeekOrigin::Begin);
    uint8_t prefix[archive::kPrefixSize];
    const int32_t count = Count();
    std::memcpy(prefix, &count, 4);
    prefix[4] = MultiVolume ? 1 : 0;
    WriteAll(file, prefix, sizeof prefix);
    if (!MultiVolume)
        return;
    for (auto& header : headers_) {
        const uint64_t position = file.Seek(0, SeekOrigin::Current);
        header->Record.NextHeader = static_cast<int32_t>(position + archive::kRecordSize);
        WriteRecord(file, *header);
    }
}

void TFileHeaders::WriteRecord(IFile& file, const TFileHeader& header) {
    WriteAll(file, &header.Record, archive::kRecordSize);
}

void TFileHeaders::SumSizes(TlzhFileStats& stats) const {
    int64_t size = 0, compressed = 0;
    for (const auto& header : headers_) {
        size += header->Record.SourceSize;
        compressed += header->Record.CompressedSize;
    }
    stats.TotalSize = static_cast<int32_t>(size);
    stats.TotalCompressedSize = static_cast<int32_t>(compressed);
    SetPercentage(stats.TotalRatio, compressed, size);
    stats.TotalBytesDone = 0;
    stats.TotalPercent = 0;
    stats.EntryDone = false;
}

} // namespace sw
