// AddFiles: each new file is compressed into a temporary file, so that its
// compressed length is known, then copied into the archive behind its
// record. With more than one thread, files are compressed side by side and
// written, with their events, in list order.
#include "archive/ArchiveErrors.h"
#include "archive/ArchivePaths.h"
#include "archive/CompressAhead.h"
#include "archive/CompressedEntry.h"
#include "archive/PlmrCompress.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "project/Text.h"
#include "system/SystemHelpers.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace sw {

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
            const std::string source = SourceOf(index);
            entry.OpenSource(source);
            BeginEntry(index);
            if (compressAhead_ && compressAhead_->Take(source, level, entry)) {
                for (const auto& [position, size] : entry.Steps)
                    AddingStep(position, size);
            } else {
                entry.CreateTemp();
                source_ = entry.Source.get();
                destFile_ = entry.Temp.get();
                entry.Compress(level, [this](int64_t, int64_t) { AddStatus(); });
            }
            FinishEntry(entry);
            WriteEntry(archive, index, entry, fileID);
            source_ = destFile_ = nullptr;
        }
        return;
    }
    for (size_t first = 0; first < fresh.size();) {
        TWindow extent(Threads);
        size_t count = 0;
        while (first + count < fresh.size() && !extent.Full())
            extent.Add(headers_.GetFileHeaders(fresh[first + count++]).Record.SourceSize);
        std::vector<TCompressedEntry> batch(count);
        std::vector<TCompressedEntry*> window;
        for (size_t k = 0; k < count; ++k) {
            batch[k].Open(SourceOf(fresh[first + k]));
            window.push_back(&batch[k]);
        }
        CompressSideBySide(window, level, Threads, false);
        for (size_t k = 0; k < count; ++k) {
            if (batch[k].Error)
                std::rethrow_exception(batch[k].Error);
            BeginEntry(fresh[first + k]);
            for (const auto& [position, size] : batch[k].Steps)
                AddingStep(position, size);
            FinishEntry(batch[k]);
            WriteEntry(archive, fresh[first + k], batch[k], fileID);
        }
        first += count;
    }
}

std::string TPlmrCompress::SourceOf(int index) const {
    const TFileHeader& header = headers_.GetFileHeaders(index);
    return header.SourceFile.empty() ? header.SourcePath() : header.SourceFile;
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
    std::vector<uint8_t> buffer(kFileChunk);
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
