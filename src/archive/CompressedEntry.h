// One new archive entry between its compression and its place in the
// archive: the zlib stream of its source in a temporary file, so that its
// compressed length is known before its record is written.
#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sw {

// The buffer size of the loops that read a file to compress or check it.
constexpr size_t kFileChunk = 65536;

// A source's length and two checksums of its bytes: whether a file still
// holds what was compressed from it.
struct TSourceDigest {
    int64_t Bytes = 0;
    uint32_t Crc = 0;
    uint32_t Adler = 1;

    void Add(const uint8_t* data, size_t size);
    bool operator==(const TSourceDigest&) const = default;
};

// Reads source from where it stands to its end.
TSourceDigest DigestOf(IFile& source);

struct TCompressedEntry {
    std::unique_ptr<IFile> Source;
    std::unique_ptr<IFile> Temp;
    std::string TempPath;
    // (source position, compressed size) at each full output buffer, for
    // entries compressed away from the calling thread.
    std::vector<std::pair<int64_t, int64_t>> Steps;
    int64_t SourceBytes = 0;
    int64_t CompressedSize = 0;
    // Kept by CompressSideBySide when asked to.
    TSourceDigest Digest;
    // What stopped a compression run side by side.
    std::exception_ptr Error;

    TCompressedEntry() = default;
    TCompressedEntry(const TCompressedEntry&) = delete;
    TCompressedEntry& operator=(const TCompressedEntry&) = delete;
    // Closes both files and deletes the temporary one (a temporary file that
    // cannot be deleted is left behind).
    ~TCompressedEntry();

    // Opens source for reading and a new temporary file; EPlmrCompress
    // "Cannot open the file ..." or "Cannot create the file ..." when either
    // fails.
    void Open(const std::string& source);
    void OpenSource(const std::string& source);
    void CreateTemp();
    // Deflates all of Source into Temp; step runs at each full output buffer
    // with the source position and the compressed size. With digest, the
    // source bytes are summed into it as they are read.
    void Compress(int level, const std::function<void(int64_t, int64_t)>& step, TSourceDigest* digest = nullptr);
};

// A window of files compressed side by side: about 32 MB of source per
// worker (and at most 64 files per worker), large enough that one big file
// does not leave the other workers idle.
class TWindow {
  public:
    explicit TWindow(int threads);
    void Add(int64_t sourceSize);
    bool Full() const { return files_ >= maxFiles_ || bytes_ >= maxBytes_; }

  private:
    const int64_t maxBytes_;
    const size_t maxFiles_;
    int64_t bytes_ = 0;
    size_t files_ = 0;
};

// Compresses the open entries on up to `threads` workers, the largest
// sources first, recording each one's Steps (and Digest when asked). A
// failing entry keeps its exception in Error; the others go on.
void CompressSideBySide(const std::vector<TCompressedEntry*>& entries, int level, int threads, bool digest);

} // namespace sw
