// TPlmrCompress: the component that does all work on archives. It adds files
// to an archive, extracts entries under the replace rules, spans an archive
// onto numbered volumes and copies plain files, reporting progress after
// every chunk and stopping when Abort is set.
#pragma once

#include "archive/FileHeaders.h"
#include "archive/FileStats.h"
#include "project/Component.h"
#include "project/StringList.h"
#include "system/ArchiveTypes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace sw {

class IFile;
enum class FileMode;

enum class TCompressionLevel { colNone, colFastest, colDefault, colMax };
const TEnumInfo& CompressionLevelNames();
// The zlib level of each: 0, 1, -1 (zlib's default) and 9.
int ZlibLevel(TCompressionLevel level);

// Lets the GUI process pending messages, when there is a GUI and their time
// has come (LetPendingMessagesRunWhenDue, system/MessagePump.h).
void ProcessPendingMessages();

class TPlmrCompress;
class TCompressAhead;
class TInflateAhead;
struct TCompressedEntry;
using TNotifyEvent = TEvent<TPersistent*>;
using TlzhFileStatsEvent = TEvent<TPlmrCompress*, const TlzhFileStats&>;
// Path holds the folder where the volume was expected; the handler asks for
// the disk and may return another folder.
using TlzhNewDiskEvent = TEvent<TPlmrCompress*, int32_t, std::string&>;

class TPlmrCompress : public TComponent {
    SW_DECLARE_CLASS()
  public:
    static constexpr int kIdentifierSlots = 2000;

    explicit TPlmrCompress(TComponent* owner);
    ~TPlmrCompress() override;

    bool Abort = false;
    TCompressionLevel CompressionLevel = TCompressionLevel::colMax;
    std::string ExtractDirectory;
    int32_t Offset = 0;
    TOverwriteType Overwrite = TOverwriteType::owAlways;
    TNotifyEvent OnAborted;
    TlzhFileStatsEvent OnBeforeAdding;
    TlzhFileStatsEvent OnAfterAdding;
    TlzhFileStatsEvent OnBeforeExtracting;
    TlzhFileStatsEvent OnReplace;
    TlzhFileStatsEvent OnStatus;
    TNotifyEvent OnFullDisk;
    TlzhNewDiskEvent OnNewDisk;

    // The file name for the next extracted entry; empty: the stored name.
    std::string ExtractName;
    // Files AddFiles compresses side by side; the archive is the same for
    // every number, and events come in list order.
    int Threads = 1;

    // Compression done ahead of the AddFiles calls of a build; none: each
    // call compresses its own files.
    TCompressAhead* CompressAhead() const { return compressAhead_.get(); }
    void SetCompressAhead(std::unique_ptr<TCompressAhead> ahead);

    // While on, ExtractFiles inflates the entries of a single-volume archive
    // ahead on worker threads, in the order of their data (an install's
    // copy stage); off, the threads stop.
    void SetInflateAhead(bool on);
    // The inflation running ahead; null when none runs.
    const TInflateAhead* InflateAhead() const { return inflateAhead_.get(); }

    std::string CompressedFile() const { return compressedFile_; }
    // Switching between volumes of one set keeps the loaded table.
    void SetCompressedFile(const std::string& path);
    TStrings* FilesToProcess() const { return filesToProcess_; }
    // Copies the lines, leaving out blank ones.
    void SetFilesToProcess(const std::vector<std::string>& lines);

    void ReadHeaders();
    int FileCount();
    TlzhFileStats GetFileStats(int index);
    int IndexOfFileID(int id);
    void AddFiles(TlzhCommand command, int32_t fileID);
    void ExtractFiles();
    void SpanToDisks(const std::string& destDir, const std::string& volumeName);
    void CopyUncompressed(const std::string& source, const std::string& dest);

    // Opens volume `disk` of the set that path names (path itself for a
    // single volume), asking for the disk through OnNewDisk when it is
    // missing; path ends naming the volume opened.
    std::unique_ptr<IFile> OpenVolume(int disk, FileMode mode, std::string& path);
    // A write fell short: OnFullDisk, or EpcDiskFull without a handler.
    virtual void DiskFull();
    // A progress step while adding, from the positions of the source and of
    // the compressed file.
    void AddStatus();

    const TFileHeaders& Headers() const { return headers_; }
    bool HeadersLoaded() const { return headersLoaded_; }
    int CurrentDisk() const { return currentDisk_; }
    const TlzhFileStats& Stats() const { return stats_; }

  private:
    enum class TOperationMode { None, Adding, Extracting };

    void LoadHeadersIfNeeded();
    void FillEntryStats(const TFileHeader& header);
    void CheckAbort() const;
    // Abort check, pending messages, and a progress step while adding.
    void AddingStep(int64_t sourcePosition, int64_t compressedSize);
    // Runs an operation's body with its ending rules: a user abort raises
    // OnAborted and returns; the list operations (adding, extracting) also
    // stop quietly on EAbort and clear FilesToProcess however they end.
    void RunOperation(const std::function<void()>& body, bool listOperation);

    void AddEntries(IFile& archive, int32_t fileID);
    // The file entry `index` is added from.
    std::string SourceOf(int index) const;
    void BeginEntry(int index);
    void FinishEntry(TCompressedEntry& entry);
    void WriteEntry(IFile& archive, int index, TCompressedEntry& entry, int32_t fileID);
    void ExtractEntry(const std::string& line);
    std::string Destination() const;
    // Inflates the entry into dest: handed by the inflation ahead when it
    // holds it, else read here from the volume, opened when still closed.
    void ExtractData(int index, const TFileHeader& header, TInflateAhead* ahead, std::unique_ptr<IFile>& volume,
                     std::string& volumePath, IFile& dest);
    // Writes one inflated window of the entry and reports it.
    void PutWindow(const TFileHeader& header, IFile& dest, const uint8_t* data, size_t size, int64_t& written);
    // The inflation ahead that may hold entry `index`, started when wanted;
    // null when none runs.
    TInflateAhead* InflateAheadFor(int index);
    // SpanToDisks: copies one entry's data onto the volumes.
    void SpanEntry(IFile& source, TFileHeader& header, std::unique_ptr<IFile>& volume, std::string& folder,
                   const std::string& volumeName, std::string& volumePath);
    std::unique_ptr<IFile> CreateVolume(const std::string& path);
    // Writes what fits; the number of bytes written.
    static size_t WriteSome(IFile& file, const void* data, size_t size);

    std::string compressedFile_;
    std::unique_ptr<TCompressAhead> compressAhead_;
    bool inflateAheadWanted_ = false;
    std::unique_ptr<TInflateAhead> inflateAhead_;
    TStrings* filesToProcess_;
    TFileHeaders headers_;
    bool headersLoaded_ = false;
    TOperationMode mode_ = TOperationMode::None;
    int currentDisk_ = 0;
    TlzhFileStats stats_;
    std::array<int32_t, kIdentifierSlots> identifiers_{};
    IFile* source_ = nullptr;
    IFile* destFile_ = nullptr;
};

} // namespace sw
