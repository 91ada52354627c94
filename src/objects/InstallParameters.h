// Records carried by the downward broadcasts and upward reports of the install
// object tree; the sender creates and frees them around the call. Components
// travel on the same channels, so both share TPersistent.
#pragma once

#include "archive/FileStats.h"
#include "project/Persistent.h"

#include <cstdint>
#include <string>

namespace sw {

class TFileStatusParameter : public TPersistent {
  public:
    int32_t BytesDone = 0;
    int32_t FilePercentDone = 0;
    std::string FileName;
    // A copy of the archive engine's record for the current file: its
    // file-finished flag and file size.
    TlzhFileStats Progress;
    // Bytes of the whole running container pass, this file's included.
    int32_t TotalBytesDone = 0;
    int32_t TotalPercentDone = 0;
};

class TDownloadStatusParameter : public TPersistent {
  public:
    // PercentDone is TotalBytes of FileSize, rounded half to even; 0 when
    // FileSize is 0.
    TDownloadStatusParameter(int32_t bytes, std::string fileName, int32_t fileSize, int32_t totalBytes);
    int32_t Bytes;
    std::string FileName;
    int32_t FileSize;
    int32_t TotalBytes;
    int32_t PercentDone;
};

class TDiskParameter : public TPersistent {
  public:
    TDiskParameter(int32_t diskNumber, std::string path) : DiskNumber(diskNumber), Path(std::move(path)) {}
    int32_t DiskNumber;
    // Where the volume is expected; a handler may change it.
    std::string Path;
};

class TMessageParameter : public TPersistent {
  public:
    explicit TMessageParameter(std::string text) : Text(std::move(text)) {}
    std::string Text;
};

// The parameter of the progress and new-disk reports: the file and its record.
template <class P> class TFileParameterPair : public TPersistent {
  public:
    TFileParameterPair(TPersistent* file, P* parameter) : File(file), Parameter(parameter) {}
    TPersistent* File;
    P* Parameter;
};
using TFileStatusList = TFileParameterPair<TFileStatusParameter>;
using TFileDiskList = TFileParameterPair<TDiskParameter>;

} // namespace sw
