#include "archive/CompressionStream.h"

#include "project/Errors.h"

#include <zlib.h>

namespace sw {

struct TCompressionStream::TZStream {
    z_stream s{};
};

TCompressionStream::TCompressionStream(IFile& dest, int level, std::function<void()> progress)
    : dest_(dest), progress_(std::move(progress)), z_(std::make_unique<TZStream>()),
      buffer_(std::make_unique<uint8_t[]>(kBufferSize)) {
    if (deflateInit(&z_->s, level) != Z_OK)
        throw Exception("error");
    z_->s.next_out = buffer_.get();
    z_->s.avail_out = kBufferSize;
}

TCompressionStream::~TCompressionStream() { deflateEnd(&z_->s); }

void TCompressionStream::Write(const void* data, size_t size) {
    if (closed_)
        throw Exception("Invalid stream operation");
    z_->s.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    z_->s.avail_in = static_cast<uInt>(size);
    position_ += size;
    Deflate(Z_NO_FLUSH);
}

void TCompressionStream::Close() {
    if (closed_)
        return;
    closed_ = true;
    z_->s.next_in = nullptr;
    z_->s.avail_in = 0;
    Deflate(Z_FINISH);
    const size_t pending = kBufferSize - z_->s.avail_out;
    if (pending > 0) {
        dest_.Write(buffer_.get(), pending);
        compressed_ += pending;
    }
}

void TCompressionStream::Deflate(int flush) {
    for (;;) {
        const int result = deflate(&z_->s, flush);
        if (result == Z_STREAM_ERROR)
            throw Exception("error");
        if (z_->s.avail_out == 0) {
            dest_.Write(buffer_.get(), kBufferSize);
            compressed_ += kBufferSize;
            z_->s.next_out = buffer_.get();
            z_->s.avail_out = kBufferSize;
            if (progress_)
                progress_();
            continue;
        }
        // Room left in the buffer: all input taken, or the stream finished.
        if (flush == Z_NO_FLUSH || result == Z_STREAM_END)
            return;
    }
}

size_t TCompressionStream::Read(void*, size_t) { throw Exception("Invalid stream operation"); }

uint64_t TCompressionStream::Seek(int64_t offset, SeekOrigin origin) {
    if (offset != 0 || origin != SeekOrigin::Current)
        throw Exception("Invalid stream operation");
    return position_;
}

} // namespace sw
