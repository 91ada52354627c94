// SpanToDisks copies a single-volume archive onto numbered volumes, a new
// disk being asked for whenever one is full; CopyUncompressed copies one
// plain file under the replace rules.
#include "archive/ArchiveErrors.h"
#include "archive/ArchivePaths.h"
#include "archive/PlmrCompress.h"
#include "archive/VersionResource.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "project/Text.h"
#include "system/SystemHelpers.h"

#include <algorithm>

namespace sw {

namespace {
constexpr size_t kCopyChunk = 8192;
} // namespace

void TPlmrCompress::SpanToDisks(const std::string& destDir, const std::string& volumeName) {
    RunOperation(
        [&] {
            Abort = false;
            // Always the table as the file holds it: a span before this one
            // rewrote the positions of the table in memory.
            ReadHeaders();
            // The data of a spanned table lie on other volumes.
            if (headers_.MultiVolume)
                throw EPlmrCompress(Format("The compressed file %s is a volume of a set already", {compressedFile_}));
            currentDisk_ = 1;
            headers_.MultiVolume = true;
            headers_.SumSizes(stats_);
            std::unique_ptr<IFile> source = GetPlatform().Files->OpenFile(compressedFile_, FileMode::Read);
            if (!source)
                throw EPlmrCompress(Format("Cannot open the compressed file %s", {compressedFile_}));
            std::string folder = destDir;
            std::string volumePath = IncludeTrailingBackslash(folder) + ExtractFileName(volumeName);
            std::unique_ptr<IFile> volume = CreateVolume(volumePath);
            headers_.WriteToStream(*volume);
            for (int i = 0; i < headers_.Count(); ++i)
                SpanEntry(*source, headers_.GetFileHeaders(i), volume, folder, volumeName, volumePath);
            volume.reset();
            volume = OpenVolume(1, FileMode::ReadWrite, volumePath);
            headers_.WriteToStream(*volume);
        },
        false);
}

std::unique_ptr<IFile> TPlmrCompress::CreateVolume(const std::string& path) {
    std::unique_ptr<IFile> volume = GetPlatform().Files->OpenFile(path, FileMode::Create);
    if (!volume)
        throw EPlmrCompress(Format("Cannot create the file %s", {path}));
    return volume;
}

void TPlmrCompress::SpanEntry(IFile& source, TFileHeader& header, std::unique_ptr<IFile>& volume, std::string& folder,
                              const std::string& volumeName, std::string& volumePath) {
    archive::TFileHeaderRecord& r = header.Record;
    FillEntryStats(header);
    const int64_t last = int64_t(r.DataEnd) + Offset;
    source.Seek(int64_t(r.DataStart) + Offset, SeekOrigin::Begin);
    r.DataStart = static_cast<int32_t>(volume->Seek(0, SeekOrigin::Current));
    r.StartDisk = static_cast<uint8_t>(currentDisk_);
    uint8_t buffer[kCopyChunk];
    for (;;) {
        CheckAbort();
        const int64_t position = static_cast<int64_t>(source.Seek(0, SeekOrigin::Current));
        if (position > last)
            break;
        const size_t n = static_cast<size_t>(std::min<int64_t>(kCopyChunk, last - position + 1));
        if (source.Read(buffer, n) != n)
            throw EPlmrCompress(Format("Cannot read the compressed file %s", {compressedFile_}));
        ProcessPendingMessages();
        const size_t written = WriteSome(*volume, buffer, n);
        if (written < n) {
            volume.reset();
            if (currentDisk_ == archive::kMaxVolumes)
                throw EPlmrCompress(Format("A volume set cannot have more than %d volumes", {archive::kMaxVolumes}));
            ++currentDisk_;
            if (!OnNewDisk)
                throw EPlmrCompress(
                    "There was no event handler for the OnNewDisk event, therefore no new disk could be inserted");
            OnNewDisk(this, currentDisk_, folder);
            volumePath =
                IncludeTrailingBackslash(folder) + ExtractFileName(archive::VolumeName(volumeName, currentDisk_));
            volume = CreateVolume(volumePath);
            if (WriteSome(*volume, buffer + written, n - written) < n - written)
                throw EPlmrCompress("There is too little space on this disk to operate");
        }
        stats_.EntryBytesDone += static_cast<int32_t>(n);
        SetPercentage(stats_.EntryPercent, stats_.EntryBytesDone, stats_.EntryCompressedSize);
        stats_.TotalBytesDone += static_cast<int32_t>(n);
        SetPercentage(stats_.TotalPercent, stats_.TotalBytesDone, stats_.TotalCompressedSize);
        OnStatus(this, stats_);
    }
    r.DataEnd = static_cast<int32_t>(volume->Seek(0, SeekOrigin::Current)) - 1;
    r.EndDisk = static_cast<uint8_t>(currentDisk_);
}

void TPlmrCompress::CopyUncompressed(const std::string& source, const std::string& dest) {
    IFileSystem& files = *GetPlatform().Files;
    Abort = false;
    Offset = 0;
    ExtractDirectory = ExtractFileDir(dest);
    ExtractName = ExtractFileName(dest);
    std::string target = dest;
    if (files.FileExists(target)) {
        switch (TVersionResource::IsFileNewerByName(source, target, Overwrite)) {
        case TFileCompareResult::fcError:
            throw EPlmrCompress("Error comparing file versions in TPlmrCompress");
        case TFileCompareResult::fcSame:
        case TFileCompareResult::fcKeep:
            return;
        case TFileCompareResult::fcReplace:
            OnReplace(this, TlzhFileStats{});
            target = IncludeTrailingBackslash(ExtractDirectory) + ExtractName;
            break;
        }
    }
    // Creating the destination would empty the source.
    if (SameText(source, target))
        throw EPlmrCompress(Format("Cannot copy the file %s onto itself", {source}));
    TlzhFileStats stats;
    stats.EntryName = source;
    std::unique_ptr<IFile> in = files.OpenFile(source, FileMode::Read);
    if (!in)
        throw EPlmrCompress(Format("Cannot open the file %s", {source}));
    const FileStamp stamp = in->Stamp();
    stats.EntrySize = static_cast<int32_t>(std::min<uint64_t>(in->Size(), uint64_t(archive::kMaxPosition)));
    std::unique_ptr<IFile> out = files.OpenFile(target, FileMode::Create);
    if (!out)
        throw EPlmrCompress(Format("Cannot create the file %s", {target}));
    uint8_t buffer[kCopyChunk];
    for (;;) {
        if (Abort)
            return;
        const size_t n = in->Read(buffer, kCopyChunk);
        if (n > 0 && WriteSome(*out, buffer, n) < n)
            DiskFull();
        stats.EntryBytesDone += static_cast<int32_t>(n);
        stats.TotalBytesDone += static_cast<int32_t>(n);
        SetPercentage(stats.EntryPercent, stats.EntryBytesDone, stats.EntrySize);
        stats.TotalPercent = stats.EntryPercent;
        OnStatus(this, stats);
        ProcessPendingMessages();
        if (n < kCopyChunk) {
            out->SetStamp(stamp);
            stats.EntryDone = true;
            OnStatus(this, stats);
            return;
        }
    }
}

} // namespace sw
