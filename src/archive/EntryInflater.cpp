#include "archive/EntryInflater.h"

#include "archive/ArchiveErrors.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace sw {

namespace {
constexpr size_t kInputChunk = 65536;
} // namespace

TEntryInflater::TEntryInflater(const TFileHeader& header, IFile& volume, int disk, int64_t offset,
                               TNextVolume nextVolume)
    : header_(header), volume_(&volume), disk_(disk), offset_(offset), nextVolume_(std::move(nextVolume)),
      input_(std::make_unique_for_overwrite<uint8_t[]>(kInputChunk)) {
    if (inflateInit(&z_) != Z_OK)
        throw Exception("error");
}

TEntryInflater::~TEntryInflater() { inflateEnd(&z_); }

size_t TEntryInflater::Next(uint8_t* window) {
    const archive::TFileHeaderRecord& r = header_.Record;
    while (!ended_) {
        z_.next_out = window;
        z_.avail_out = kWindow;
        bool exhausted = false;
        while (z_.avail_out > 0 && !ended_) {
            if (z_.avail_in == 0) {
                size_t want = kInputChunk;
                if (disk_ == r.EndDisk) {
                    // On the last volume reading stops at the entry's last byte.
                    const int64_t last = offset_ + r.DataEnd;
                    const int64_t position = static_cast<int64_t>(volume_->Seek(0, SeekOrigin::Current));
                    want = position > last ? 0
                                           : static_cast<size_t>(std::min<int64_t>(int64_t(want), last - position + 1));
                }
                const size_t got = want ? volume_->Read(input_.get(), want) : 0;
                exhausted = got == 0;
                z_.next_in = input_.get();
                z_.avail_in = static_cast<uInt>(got);
            }
            // Without input inflate still hands out what it holds.
            const int result = inflate(&z_, Z_NO_FLUSH);
            if (result == Z_STREAM_END)
                ended_ = true;
            else if (result == Z_BUF_ERROR && exhausted)
                break;
            else if (result != Z_OK)
                throw Exception("error");
        }
        const size_t n = kWindow - z_.avail_out;
        if (n > 0)
            return n;
        if (exhausted) {
            // This volume's share is used up: the entry goes on at the start
            // of the next volume, or its data end before the stream does.
            if (disk_ >= r.EndDisk)
                throw EpcIncompleteData(header_.SourcePath());
            ++disk_;
            volume_ = &nextVolume_(disk_);
        }
    }
    return 0;
}

} // namespace sw
