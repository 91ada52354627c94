// A write-only stream that deflates what is written to it into a zlib
// stream on a file, through a 64 KiB output buffer.
#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace sw {

class TCompressionStream {
  public:
    static constexpr size_t kBufferSize = 65536;

    // progress runs each time the full buffer has been written to dest.
    TCompressionStream(IFile& dest, int level, std::function<void()> progress);
    ~TCompressionStream();
    TCompressionStream(const TCompressionStream&) = delete;
    TCompressionStream& operator=(const TCompressionStream&) = delete;

    void Write(const void* data, size_t size);
    // Finishes the zlib stream and writes what remains; once.
    void Close();
    // Bytes written to the stream so far.
    uint64_t Position() const { return position_; }
    // Bytes of the zlib stream written to dest so far.
    uint64_t CompressedSize() const { return compressed_; }

    // The stream cannot be read, and seeks only report the position.
    [[noreturn]] size_t Read(void* buffer, size_t size);
    uint64_t Seek(int64_t offset, SeekOrigin origin);

  private:
    struct TZStream;
    void Deflate(int flush);

    IFile& dest_;
    std::function<void()> progress_;
    std::unique_ptr<TZStream> z_;
    std::unique_ptr<uint8_t[]> buffer_;
    uint64_t position_ = 0;
    uint64_t compressed_ = 0;
    bool closed_ = false;
};

} // namespace sw
