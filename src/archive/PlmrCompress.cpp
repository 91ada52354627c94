#include "archive/PlmrCompress.h"

#include "archive/ArchiveErrors.h"
#include "archive/ArchivePaths.h"
#include "archive/CompressAhead.h"
#include "archive/InflateAhead.h"
#include "platform/FileSystem.h"
#include "platform/Gui.h"
#include "platform/Platform.h"
#include "platform/PlatformErrors.h"
#include "project/Text.h"
#include "system/MessagePump.h"
#include "system/SystemHelpers.h"

#include <algorithm>
#include <vector>

namespace sw {

namespace {
constexpr int kVolumeAttempts = 4;
} // namespace

const TEnumInfo& CompressionLevelNames() {
    static const TEnumInfo names{{"colNone", "colFastest", "colDefault", "colMax"}};
    return names;
}

int ZlibLevel(TCompressionLevel level) {
    switch (level) {
    case TCompressionLevel::colNone:
        return 0;
    case TCompressionLevel::colFastest:
        return 1;
    case TCompressionLevel::colDefault:
        return -1;
    case TCompressionLevel::colMax:
        return 9;
    }
    return 9;
}

SW_CLASS_INFO(TPlmrCompress, TComponent, prop::Boolean("Abort", &Self::Abort, std::optional(false)),
              prop::String("CompressedFile", &Self::CompressedFile, &Self::SetCompressedFile),
              prop::Enumeration("CompressionLevel", &Self::CompressionLevel, CompressionLevelNames(),
                                std::optional(TCompressionLevel::colMax)),
              prop::String("ExtractDirectory", &Self::ExtractDirectory),
              prop::Object("FilesToProcess", &Self::FilesToProcess), prop::Integer("Offset", &Self::Offset),
              prop::Enumeration("Overwrite", &Self::Overwrite, OverwriteTypeNames(),
                                std::optional(TOverwriteType::owAlways)),
              prop::Event("OnAborted", &Self::OnAborted), prop::Event("OnAfterAdding", &Self::OnAfterAdding),
              prop::Event("OnBeforeAdding", &Self::OnBeforeAdding),
              prop::Event("OnBeforeExtracting", &Self::OnBeforeExtracting),
              prop::Event("OnFullDisk", &Self::OnFullDisk), prop::Event("OnNewDisk", &Self::OnNewDisk),
              prop::Event("OnReplace", &Self::OnReplace), prop::Event("OnStatus", &Self::OnStatus))

TPlmrCompress::TPlmrCompress(TComponent* owner) : TComponent(owner), filesToProcess_(new TStrings) {}

TPlmrCompress::~TPlmrCompress() { delete filesToProcess_; }

void TPlmrCompress::SetCompressAhead(std::unique_ptr<TCompressAhead> ahead) { compressAhead_ = std::move(ahead); }

void TPlmrCompress::SetInflateAhead(bool on) {
    inflateAheadWanted_ = on;
    if (!on)
        inflateAhead_.reset();
}

TInflateAhead* TPlmrCompress::InflateAheadFor(int index) {
    if (inflateAhead_ && inflateAhead_->Offset() != Offset)
        inflateAhead_.reset();
    if (!inflateAheadWanted_ || headers_.MultiVolume)
        return nullptr;
    if (!inflateAhead_) {
        std::vector<std::unique_ptr<IFile>> volumes;
        const int workers = std::min(ProcessorCount(), TInflateAhead::kMostWorkers);
        while (static_cast<int>(volumes.size()) < workers) {
            std::unique_ptr<IFile> volume = GetPlatform().Files->OpenFile(compressedFile_, FileMode::Read);
            if (!volume)
                break;
            volumes.push_back(std::move(volume));
        }
        if (volumes.empty())
            return nullptr;
        inflateAhead_ = std::make_unique<TInflateAhead>(std::move(volumes), Offset, headers_, index);
    }
    return inflateAhead_.get();
}

void TPlmrCompress::SetCompressedFile(const std::string& path) {
    if (SameText(path, compressedFile_))
        return;
    inflateAhead_.reset();
    if (headersLoaded_ && !SameText(archive::ChangeFileExt(path, ".1"), archive::ChangeFileExt(compressedFile_, ".1")))
        headersLoaded_ = false;
    compressedFile_ = path;
}

void TPlmrCompress::SetFilesToProcess(const std::vector<std::string>& lines) {
    filesToProcess_->Clear();
    for (const std::string& line : lines)
        if (!Trim(line).empty())
            filesToProcess_->Add(line);
}

void TPlmrCompress::ReadHeaders() {
    IFileSystem& files = *GetPlatform().Files;
    std::unique_ptr<IFile> file;
    if (files.FileExists(compressedFile_))
        file = files.OpenFile(compressedFile_, FileMode::Read);
    if (!file)
        throw EPlmrCompress(Format("Cannot open the compressed file %s", {compressedFile_}));
    headersLoaded_ = false;
    inflateAhead_.reset();
    identifiers_.fill(0);
    try {
        headers_.ReadFromStream(*file, Offset);
    } catch (const Exception&) {
        // A table read in part is not used.
        headers_.Clear();
        throw EpcHeadersUnreadable();
    }
    for (int i = 0; i < headers_.Count(); ++i) {
        const int32_t id = headers_.GetFileHeaders(i).Record.FileID;
        if (id >= 0 && id < kIdentifierSlots)
            identifiers_[static_cast<size_t>(id)] = i;
    }
    headersLoaded_ = true;
}

void TPlmrCompress::LoadHeadersIfNeeded() {
    if (!headersLoaded_)
        ReadHeaders();
}

int TPlmrCompress::FileCount() {
    if (!headersLoaded_ && mode_ != TOperationMode::Adding)
        ReadHeaders();
    return headers_.Count();
}

TlzhFileStats TPlmrCompress::GetFileStats(int index) {
    if (!headersLoaded_ && mode_ != TOperationMode::Adding)
        ReadHeaders();
    if (index < 0 || index >= headers_.Count())
        throw EPlmrCompress(Format("Tried to access the %dth file. This file is not defined", {index}));
    headers_.SumSizes(stats_);
    FillEntryStats(headers_.GetFileHeaders(index));
    return stats_;
}

int TPlmrCompress::IndexOfFileID(int id) {
    LoadHeadersIfNeeded();
    if (id < 0 || id >= kIdentifierSlots)
        return -1;
    return identifiers_[static_cast<size_t>(id)];
}

void TPlmrCompress::FillEntryStats(const TFileHeader& header) {
    stats_.EntryName = header.SourcePath();
    stats_.EntrySize = header.Record.SourceSize;
    stats_.EntryCompressedSize = header.Record.CompressedSize;
    SetPercentage(stats_.EntryRatio, stats_.EntryCompressedSize, stats_.EntrySize);
    stats_.Header = header.Record;
    stats_.EntryBytesDone = 0;
    stats_.EntryPercent = 0;
    stats_.EntryDone = false;
}

void TPlmrCompress::CheckAbort() const {
    if (Abort)
        throw EpcAborted();
}

void ProcessPendingMessages() { LetPendingMessagesRunWhenDue(); }

void TPlmrCompress::AddStatus() {
    if (!destFile_ || !source_) {
        CheckAbort();
        ProcessPendingMessages();
        throw EPlmrCompress("AddStatus has Nil DestFile");
    }
    AddingStep(static_cast<int64_t>(source_->Seek(0, SeekOrigin::Current)), static_cast<int64_t>(destFile_->Size()));
}

void TPlmrCompress::AddingStep(int64_t sourcePosition, int64_t compressedSize) {
    CheckAbort();
    ProcessPendingMessages();
    stats_.TotalBytesDone += static_cast<int32_t>(sourcePosition - stats_.EntryBytesDone);
    stats_.EntryBytesDone = static_cast<int32_t>(sourcePosition);
    stats_.EntryCompressedSize = static_cast<int32_t>(compressedSize);
    SetPercentage(stats_.EntryPercent, stats_.EntryBytesDone, stats_.EntrySize);
    SetPercentage(stats_.TotalPercent, stats_.TotalBytesDone, stats_.TotalSize);
    OnStatus(this, stats_);
}

std::unique_ptr<IFile> TPlmrCompress::OpenVolume(int disk, FileMode mode, std::string& path) {
    IFileSystem& files = *GetPlatform().Files;
    for (int attempt = 0; attempt < kVolumeAttempts; ++attempt) {
        if (headers_.MultiVolume)
            path = archive::VolumeName(path, disk);
        if (!files.FileExists(path)) {
            if (!OnNewDisk)
                throw EPlmrCompress(Format("Could not open the correct disk file %d", {disk}));
            std::string folder = ExtractFileDir(path);
            OnNewDisk(this, disk, folder);
            path = IncludeTrailingBackslash(folder) + ExtractFileName(path);
            if (!files.FileExists(path))
                continue;
        }
        if (std::unique_ptr<IFile> volume = files.OpenFile(path, mode))
            return volume;
        break;
    }
    throw EPlmrCompress(Format("Cannot open the compressed file %s", {path}));
}

void TPlmrCompress::DiskFull() {
    if (!OnFullDisk)
        throw EpcDiskFull();
    OnFullDisk(this);
}

size_t TPlmrCompress::WriteSome(IFile& file, const void* data, size_t size) {
    const uint64_t start = file.Seek(0, SeekOrigin::Current);
    try {
        file.Write(data, size);
        return size;
    } catch (const EFileIOError& e) {
        if (!e.DiskFull)
            throw;
        return static_cast<size_t>(file.Seek(0, SeekOrigin::Current) - start);
    }
}

void TPlmrCompress::RunOperation(const std::function<void()>& body, bool listOperation) {
    struct TEnd {
        TPlmrCompress& self;
        bool list;
        ~TEnd() {
            self.source_ = self.destFile_ = nullptr;
            if (list)
                self.filesToProcess_->Clear();
        }
    };
    try {
        TEnd end{*this, listOperation};
        body();
    } catch (const EpcAborted&) {
        inflateAhead_.reset();
        OnAborted(this);
    } catch (const EAbort&) {
        inflateAhead_.reset();
        if (!listOperation) {
            Abort = true;
            throw;
        }
    } catch (...) {
        inflateAhead_.reset();
        Abort = true;
        throw;
    }
}

} // namespace sw
