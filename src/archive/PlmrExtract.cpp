// ExtractFiles: each named entry is inflated into its destination under the
// replace rule, in 4 KiB windows, reading the archive in 64 KiB chunks that
// never pass the entry's last byte. An entry that inflates past its size,
// ends early or lies outside its volumes is an error, and its partly written
// file is removed.
#include "archive/ArchiveErrors.h"
#include "archive/ArchivePaths.h"
#include "archive/PlmrCompress.h"
#include "archive/VersionResource.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "project/Text.h"
#include "system/SystemHelpers.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

namespace sw {

namespace {

constexpr size_t kInputChunk = 65536;
constexpr size_t kWindow = 65536;

class TInflater {
  public:
    TInflater() {
        if (inflateInit(&z) != Z_OK)
            throw Exception("error");
    }
    ~TInflater() { inflateEnd(&z); }
    TInflater(const TInflater&) = delete;
    TInflater& operator=(const TInflater&) = delete;

    z_stream z{};
};

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
    if (files.FileExists(dest)) {
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

    std::string volumePath = compressedFile_;
    std::unique_ptr<IFile> volume = OpenVolume(std::max<int>(header.Record.StartDisk, 1), FileMode::Read, volumePath);
    compressedFile_ = volumePath;
    currentDisk_ = header.Record.StartDisk;
    const std::string folder = ExtractFileDir(dest);
    if (!folder.empty())
        files.ForceDirectories(folder);
    std::unique_ptr<IFile> out = files.OpenFile(dest, FileMode::Create);
    if (!out)
        throw EPlmrCompress(Format("Cannot create the file %s", {dest}));
    destFile_ = out.get();
    try {
        volume->Seek(int64_t(Offset) + header.Record.DataStart, SeekOrigin::Begin);
        ExtractData(header, volume, volumePath, *out);
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

void TPlmrCompress::ExtractData(const TFileHeader& header, std::unique_ptr<IFile>& volume, std::string& volumePath,
                                IFile& dest) {
    const archive::TFileHeaderRecord& r = header.Record;
    TInflater inflater;
    z_stream& z = inflater.z;
    std::vector<uint8_t> input(kInputChunk), window(kWindow);
    int64_t written = 0;
    bool ended = false;
    while (!ended) {
        z.next_out = window.data();
        z.avail_out = kWindow;
        bool exhausted = false;
        while (z.avail_out > 0 && !ended) {
            if (z.avail_in == 0) {
                size_t want = kInputChunk;
                if (currentDisk_ == r.EndDisk) {
                    // On the last volume reading stops at the entry's last byte.
                    const int64_t last = int64_t(Offset) + r.DataEnd;
                    const int64_t position = static_cast<int64_t>(volume->Seek(0, SeekOrigin::Current));
                    want = position > last ? 0 : static_cast<size_t>(std::min<int64_t>(want, last - position + 1));
                }
                const size_t got = want ? volume->Read(input.data(), want) : 0;
                exhausted = got == 0;
                z.next_in = input.data();
                z.avail_in = static_cast<uInt>(got);
            }
            // Without input inflate still hands out what it holds.
            const int result = inflate(&z, Z_NO_FLUSH);
            if (result == Z_STREAM_END)
                ended = true;
            else if (result == Z_BUF_ERROR && exhausted)
                break;
            else if (result != Z_OK)
                throw Exception("error");
        }
        CheckAbort();
        ProcessPendingMessages();
        const size_t n = kWindow - z.avail_out;
        if (n > 0) {
            if (written + int64_t(n) > r.SourceSize)
                throw EPlmrCompress(SizeMismatch(header));
            const size_t put = WriteSome(dest, window.data(), n);
            if (put < n)
                DiskFull();
            written += static_cast<int64_t>(put);
            stats_.EntryBytesDone += static_cast<int32_t>(put);
            stats_.TotalBytesDone += static_cast<int32_t>(put);
            SetPercentage(stats_.EntryPercent, stats_.EntryBytesDone, stats_.EntrySize);
            SetPercentage(stats_.TotalPercent, stats_.TotalBytesDone, stats_.TotalSize);
            OnStatus(this, stats_);
        } else if (exhausted) {
            // This volume's share is used up: the entry goes on at the start
            // of the next volume, or its data end before the stream does.
            if (currentDisk_ >= r.EndDisk)
                throw EPlmrCompress(Format("The compressed data of the file %s are incomplete", {header.SourcePath()}));
            ++currentDisk_;
            volume.reset();
            volume = OpenVolume(currentDisk_, FileMode::Read, volumePath);
            volume->Seek(0, SeekOrigin::Begin);
        }
    }
}

} // namespace sw
