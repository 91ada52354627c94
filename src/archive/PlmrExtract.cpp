// ExtractFiles: each named entry is inflated into its destination under the
// replace rule, in 64 KiB windows, reading the archive in 64 KiB chunks that
// never pass the entry's last byte. An entry that inflates past its size,
// ends early or lies outside its volumes is an error, and its partly written
// file is removed.
#include "archive/ArchiveErrors.h"
#include "archive/ArchivePaths.h"
#include "archive/EntryInflater.h"
#include "archive/InflateAhead.h"
#include "archive/PlmrCompress.h"
#include "archive/VersionResource.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "project/Text.h"
#include "system/SystemHelpers.h"

#include <algorithm>
#include <vector>

namespace sw {

namespace {

std::string SizeMismatch(const TFileHeader& header) {
    return Format("The decompressed file's size does not match with the actual size of the file.  The file is %s",
                  {header.SourcePath()});
}

} // namespace

void TPlmrCompress::ExtractFiles() {
    // A name for the first entry does not outlive the call, however it ends.
    struct TClearName {
        std::string& name;
        ~TClearName() { name.clear(); }
    } clearName{ExtractName};
    RunOperation(
        [&] {
            Abort = false;
            mode_ = TOperationMode::Extracting;
            LoadHeadersIfNeeded();
            currentDisk_ = 0;
            headers_.SumSizes(stats_);
            const std::vector<std::string> lines = filesToProcess_->Lines;
            for (const std::string& line : lines)
                ExtractEntry(line);
        },
        true);
}

// The destination of the entry being extracted: ExtractName below
// ExtractDirectory, never a name that would leave it.
std::string TPlmrCompress::Destination() const {
    if (!archive::IsSafeFileName(ExtractName))
        throw EPlmrCompress(Format("The file name <%s> cannot be extracted into %s", {ExtractName, ExtractDirectory}));
    return IncludeTrailingBackslash(ExtractDirectory) + ExtractName;
}

void TPlmrCompress::ExtractEntry(const std::string& line) {
    IFileSystem& files = *GetPlatform().Files;
    const int index = headers_.IndexOfName(line);
    if (index < 0)
        throw EPlmrCompress(Format("The file <%s> was not found in the archive <%s>", {line, compressedFile_}));
    const TFileHeader& header = headers_.GetFileHeaders(index);
    FillEntryStats(header);
    if (Trim(ExtractName).empty())
        ExtractName = ExtractFileName(header.SourcePath());
    OnBeforeExtracting(this, stats_);
    ExtractName = ExtractFileName(ExtractName);
    std::string dest = Destination();
    // Under owAlways an existing destination matters only to an OnReplace
    // handler; without one the lookup, costly for a name not there, is spared.
    if ((Overwrite != TOverwriteType::owAlways || OnReplace) && files.FileExists(dest)) {
        switch (
            TVersionResource::IsFileNewerByVersion(header.SourceVersion(), dest, Overwrite, header.Record.SourceDate)) {
        case TFileCompareResult::fcError:
            throw EPlmrCompress("Error comparing file versions in TPlmrCompress");
        case TFileCompareResult::fcSame:
        case TFileCompareResult::fcKeep:
            stats_.EntryDone = true;
            OnStatus(this, stats_);
            ExtractName.clear();
            return;
        case TFileCompareResult::fcReplace:
            OnReplace(this, stats_);
            dest = Destination();
            break;
        }
    }

    // The inflation ahead reads through a handle of its own: the volume is
    // opened here only for an entry that is inflated here.
    TInflateAhead* ahead = InflateAheadFor(index);
    std::string volumePath = compressedFile_;
    std::unique_ptr<IFile> volume;
    if (!ahead) {
        volume = OpenVolume(std::max<int>(header.Record.StartDisk, 1), FileMode::Read, volumePath);
        compressedFile_ = volumePath;
    }
    currentDisk_ = header.Record.StartDisk;
    const std::string folder = ExtractFileDir(dest);
    if (!folder.empty())
        files.ForceDirectories(folder);
    std::unique_ptr<IFile> out = files.OpenFile(dest, FileMode::Create);
    if (!out)
        throw EPlmrCompress(Format("Cannot create the file %s", {dest}));
    destFile_ = out.get();
    try {
        ExtractData(index, header, ahead, volume, volumePath, *out);
        compressedFile_ = volumePath;
        stats_.EntryDone = true;
        OnStatus(this, stats_);
        if (out->Size() != uint64_t(header.Record.SourceSize))
            throw EPlmrCompress(SizeMismatch(header));
    } catch (const EpcAborted&) {
        // A user's abort keeps what was written.
        throw;
    } catch (...) {
        destFile_ = nullptr;
        out.reset();
        files.DeleteFile(dest);
        throw;
    }
    try {
        out->SetStamp(EncodeFileStamp(DayCountToDateTime(header.Record.SourceDate)));
    } catch (const Exception&) {
        throw EPlmrCompress("Cannot set the date of the file just extracted.");
    }
    destFile_ = nullptr;
    ExtractName.clear();
}

void TPlmrCompress::ExtractData(int index, const TFileHeader& header, TInflateAhead* ahead,
                                std::unique_ptr<IFile>& volume, std::string& volumePath, IFile& dest) {
    int64_t written = 0;
    const auto put = [&](const uint8_t* data, size_t size) { PutWindow(header, dest, data, size, written); };
    if (ahead && ahead->Take(index, put))
        return;
    if (!volume)
        volume = OpenVolume(std::max<int>(header.Record.StartDisk, 1), FileMode::Read, volumePath);
    volume->Seek(int64_t(Offset) + header.Record.DataStart, SeekOrigin::Begin);
    TEntryInflater inflater(header, *volume, currentDisk_, Offset, [&](int disk) -> IFile& {
        volume.reset();
        volume = OpenVolume(disk, FileMode::Read, volumePath);
        volume->Seek(0, SeekOrigin::Begin);
        currentDisk_ = disk;
        return *volume;
    });
    const auto window = std::make_unique_for_overwrite<uint8_t[]>(TEntryInflater::kWindow);
    while (const size_t size = inflater.Next(window.get()))
        put(window.get(), size);
    if (written == 0) {
        // An entry without data is still a step where the user may cancel.
        CheckAbort();
        ProcessPendingMessages();
    }
}

void TPlmrCompress::PutWindow(const TFileHeader& header, IFile& dest, const uint8_t* data, size_t size,
                              int64_t& written) {
    CheckAbort();
    ProcessPendingMessages();
    if (written + int64_t(size) > header.Record.SourceSize)
        throw EPlmrCompress(SizeMismatch(header));
    const size_t put = WriteSome(dest, data, size);
    if (put < size)
        DiskFull();
    written += static_cast<int64_t>(put);
    stats_.EntryBytesDone += static_cast<int32_t>(put);
    stats_.TotalBytesDone += static_cast<int32_t>(put);
    SetPercentage(stats_.EntryPercent, stats_.EntryBytesDone, stats_.EntrySize);
    SetPercentage(stats_.TotalPercent, stats_.TotalBytesDone, stats_.TotalSize);
    OnStatus(this, stats_);
}

} // namespace sw
