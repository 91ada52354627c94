// The data of one archive entry, inflated window by window. Reading stops at
// the entry's last byte on its last volume; an entry whose stream ends early,
// runs past its volumes or does not inflate is an error.
#pragma once

#include "archive/FileHeaders.h"

#include <zlib.h>

#include <cstdint>
#include <functional>
#include <memory>

namespace sw {

class IFile;

class TEntryInflater {
  public:
    static constexpr size_t kWindow = 65536;

    // Opens the volume `disk` of the entry, read from its start; none for
    // an entry on one volume.
    using TNextVolume = std::function<IFile&(int disk)>;

    // `volume` is volume `disk`, positioned where its share of the entry's
    // data begins; `offset` is where the archive starts in its first volume.
    TEntryInflater(const TFileHeader& header, IFile& volume, int disk, int64_t offset, TNextVolume nextVolume);
    ~TEntryInflater();
    TEntryInflater(const TEntryInflater&) = delete;
    TEntryInflater& operator=(const TEntryInflater&) = delete;

    // Inflates up to kWindow bytes into window: how many, 0 once the stream
    // has ended.
    size_t Next(uint8_t* window);

  private:
    const TFileHeader& header_;
    IFile* volume_;
    int disk_;
    const int64_t offset_;
    TNextVolume nextVolume_;
    z_stream z_{};
    std::unique_ptr<uint8_t[]> input_;
    bool ended_ = false;
};

} // namespace sw
