// AddFiles: each new file is compressed into a temporary file, so that its
// compressed length is known, then copied into the archive behind its
// record. With more than one thread, files are compressed side by side and
// written, with their events, in list order.
#include "archive/ArchiveErrors.h"
#include "archive/ArchivePaths.h"
#include "archive/CompressionStream.h"
#include "archive/PlmrCompress.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Threads.h"
#include "project/Text.h"
#include "system/SystemHelpers.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace sw {

namespace {
constexpr size_t kChunk = 65536;
// Files are compressed side by side in windows of about this much source
// per worker (and at most this many files per worker) before their results
// are written; a window large enough that one big file does not leave the
// other workers idle.
constexpr int64_t kWindowBytesPerWorker = 32 << 20;
constexpr size_t kWindowFilesPerWorker = 64;
} // namespace

// One new entry between its compression and its place in the archive.
struct TPlmrCompress::TCompressedEntry {
    std::unique_ptr<IFile> Source;
    std::unique_ptr<IFile> Temp;
    std::string TempPath;
    // (source position, compressed size) at each full output buffer, for
    // entries compressed away from the calling thread.
    std::vector<std::pair<int64_t, int64_t>> Steps;
    int64_t SourceBytes = 0;
    int64_t CompressedSize = 0;

    TCompressedEntry() = default;
    TCompressedEntry(const TCompressedEntry&) = delete;
    TCompressedEntry& operator=(const TCompressedEntry&) = delete;
    ~TCompressedEntry() {
        Source.reset();
        Temp.reset();
        // A temporary file that cannot be deleted is left behind.
        if (!TempPath.empty())
            GetPlatform().Files->DeleteFile(TempPath);
    }

    // Deflates all of Source into Temp; step runs at each full output buffer
    // with the source position and the compressed size.
    void Compress(int level, const std::function<void(int64_t, int64_t)>& step) {
        TCompressionStream* current = nullptr;
        TCompressionStream stream(*Temp, level, [&] {
            step(static_cast<int64_t>(current->Position()), static_cast<int64_t>(current->CompressedSize()));
        });
        current = &stream;
        std::vector<uint8_t> buffer(kChunk);
        while (size_t got = Source->Read(buffer.data(), buffer.size()))
            stream.Write(buffer.data(), got);
        stream.Close();
        SourceBytes = static_cast<int64_t>(stream.Position());
        CompressedSize = static_cast<int64_t>(stream.CompressedSize());
    }
};

void TPlmrCompress::AddFiles(TlzhCommand command, int32_t fileID) {
    RunOperation(
        [&] {
            Abort = false;
            mode_ = TOperationMode::Adding;
            headersLoaded_ = false;
            headers_.MultiVolume = false;
            Offset = 0;
            IFileSystem& files = *GetPlatform().Files;
            const std::string folder = ExtractFileDir(compressedFile_);
            if (!folder.empty())
                files.ForceDirectories(folder);
            const bool append = command == TlzhCommand::lzcOnlyAdd && files.FileExists(compressedFile_);
            std::unique_ptr<IFile> archive =
                files.OpenFile(compressedFile_, append ? FileMode::ReadWrite : FileMode::Create);
            if (!archive)
                throw EPlmrCompress(Format("Cannot create the file %s", {compressedFile_}));
            if (append)
                headers_.ReadFromStream(*archive, 0);
            headers_.LoadFromList(filesToProcess_->Lines, append);
            headers_.WriteToStream(*archive);
            archive->Seek(0, SeekOrigin::End);
            headers_.SumSizes(stats_);
            stats_.TotalCompressedSize = 0;
            AddEntries(*archive, fileID);
            headersLoaded_ = false;
        },
        true);
}

void TPlmrCompress::AddEntries(IFile& archive, int32_t fileID) {
    std::vector<int> fresh;
    for (int i = 0; i < headers_.Count(); ++i)
        if (!headers_.GetFileHeaders(i).Loaded)
            fresh.push_back(i);
    const int level = ZlibLevel(CompressionLevel);
    if (Threads <= 1) {
        for (int index : fresh) {
            TCompressedEntry entry;
            OpenEntry(index, entry);
            BeginEntry(index);
            source_ = entry.Source.get();
            destFile_ = entry.Temp.get();
            entry.Compress(level, [this](int64_t, int64_t) { AddStatus(); });
            FinishEntry(entry);
            WriteEntry(archive, index, entry, fileID);
            source_ = destFile_ = nullptr;
        }
        return;
    }
    const int64_t windowBytes = kWindowBytesPerWorker * Threads;
    const size_t windowFiles = kWindowFilesPerWorker * static_cast<size_t>(Threads);
    for (size_t first = 0; first < fresh.size();) {
        size_t count = 0;
        int64_t bytes = 0;
        while (first + count < fresh.size() && count < windowFiles && bytes < windowBytes)
            bytes += std::max(0, headers_.GetFileHeaders(fresh[first + count++]).Record.SourceSize);
        std::vector<TCompressedEntry> batch(count);
        for (size_t k = 0; k < count; ++k)
            OpenEntry(fresh[first + k], batch[k]);
        // The largest files start first, so the window ends evenly.
        std::vector<size_t> order(count);
        for (size_t k = 0; k < count; ++k)
            order[k] = k;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return headers_.GetFileHeaders(fresh[first + a]).Record.SourceSize >
                   headers_.GetFileHeaders(fresh[first + b]).Record.SourceSize;
        });
        RunJobs(static_cast<int>(count), Threads, [&](int job) {
            TCompressedEntry& entry = batch[order[static_cast<size_t>(job)]];
            entry.Compress(level,
                           [&entry](int64_t position, int64_t size) { entry.Steps.emplace_back(position, size); });
        });
        for (size_t k = 0; k < count; ++k) {
            BeginEntry(fresh[first + k]);
            for (const auto& [position, size] : batch[k].Steps)
                AddingStep(position, size);
            FinishEntry(batch[k]);
            WriteEntry(archive, fresh[first + k], batch[k], fileID);
        }
        first += count;
    }
}

void TPlmrCompress::OpenEntry(int index, TCompressedEntry& entry) {
    IFileSystem& files = *GetPlatform().Files;
    const TFileHeader& header = headers_.GetFileHeaders(index);
    const std::string folder = files.TempDirectory();
    const std::optional<std::string> temp = files.MakeTempFile(folder, "plm");
    if (!temp)
        throw EPlmrCompress(Format("Cannot create the file %s", {IncludeTrailingBackslash(folder) + "plm"}));
    entry.TempPath = *temp;
    const std::string source = header.SourceFile.empty() ? header.SourcePath() : header.SourceFile;
    entry.Source = files.OpenFile(source, FileMode::Read);
    if (!entry.Source)
        throw EPlmrCompress(Format("Cannot open the file %s", {source}));
    entry.Temp = files.OpenFile(entry.TempPath, FileMode::Create);
    if (!entry.Temp)
        throw EPlmrCompress(Format("Cannot create the file %s", {entry.TempPath}));
}

void TPlmrCompress::BeginEntry(int index) {
    FillEntryStats(headers_.GetFileHeaders(index));
    stats_.EntryCompressedSize = 0;
    OnBeforeAdding(this, stats_);
}

void TPlmrCompress::FinishEntry(TCompressedEntry& entry) {
    SetPercentage(stats_.EntryRatio, entry.CompressedSize, stats_.EntrySize);
    stats_.EntryDone = true;
    AddingStep(entry.SourceBytes, entry.CompressedSize);
    stats_.EntryDone = false;
}

void TPlmrCompress::WriteEntry(IFile& archive, int index, TCompressedEntry& entry, int32_t fileID) {
    TFileHeader& header = headers_.GetFileHeaders(index);
    archive::TFileHeaderRecord& r = header.Record;
    const int64_t recordAt = static_cast<int64_t>(archive.Seek(0, SeekOrigin::Current));
    // Every position of the format is an Int32.
    if (entry.SourceBytes > archive::kMaxPosition ||
        recordAt + int64_t(archive::kRecordSize) + entry.CompressedSize > archive::kMaxPosition)
        throw EPlmrCompress(Format("The archive %s would grow past 2 GiB with the file %s; its format cannot hold that",
                                   {compressedFile_, header.SourcePath()}));
    // The size of what was compressed, should the file have changed since
    // its header was made.
    r.SourceSize = static_cast<int32_t>(entry.SourceBytes);
    TFileHeaders::WriteRecord(archive, header);
    r.DataStart = static_cast<int32_t>(archive.Seek(0, SeekOrigin::Current));
    entry.Temp->Seek(0, SeekOrigin::Begin);
    std::vector<uint8_t> buffer(kChunk);
    int64_t copied = 0;
    while (size_t got = entry.Temp->Read(buffer.data(), buffer.size())) {
        const size_t written = WriteSome(archive, buffer.data(), got);
        copied += static_cast<int64_t>(written);
        if (written < got)
            break;
    }
    if (copied < entry.CompressedSize)
        DiskFull();
    stats_.TotalCompressedSize += static_cast<int32_t>(entry.CompressedSize);
    const int64_t end = static_cast<int64_t>(archive.Seek(0, SeekOrigin::Current));
    r.DataEnd = static_cast<int32_t>(end - 1);
    r.NextHeader = static_cast<int32_t>(end);
    r.CompressedSize = static_cast<int32_t>(entry.CompressedSize);
    r.FileID = fileID;
    if (fileID >= 0 && fileID < kIdentifierSlots)
        identifiers_[static_cast<size_t>(fileID)] = index;
    archive.Seek(recordAt, SeekOrigin::Begin);
    TFileHeaders::WriteRecord(archive, header);
    archive.Seek(0, SeekOrigin::End);
    OnAfterAdding(this, stats_);
}

} // namespace sw
