// The archive on disk. Every byte below is binding: archives written by one
// build are read by any other reader of this layout.
//
// All integers little-endian; Int32 signed. A position is a byte offset from
// the archive's own first byte. A short string of capacity N takes N + 1
// bytes: a length byte L, L characters (8-bit system code page), zeros to the
// field's end. Padding is written as zeros and ignored when read.
//
// Single-volume layout (MultiVolume = 0), the one adding produces:
//
//   0    Int32 count   byte MultiVolume = 0
//   5    record 1 (172 bytes)          DataStart = 177
//   177  data 1 (one zlib stream)      ... DataEnd
//        record 2 at NextHeader(1) = DataEnd(1) + 1
//        data 2 ...                    record N, data N, end of file
//
// Spanned layout (MultiVolume = 1), made by spanning onto disks:
//
//   files.1:  count, MultiVolume = 1, record 1 .. record N (NextHeader of
//             record k = its position + 172), then data from 5 + 172 N
//   files.2, files.3, ...: data only, continuing byte for byte
//   StartDisk/DataStart and EndDisk/DataEnd locate each entry (disks from 1)
//
// Carried archive: a single-volume archive inside another file at Offset.
// Positions inside it stay relative to its first byte; a reader adds Offset
// to the prefix position, to each NextHeader it follows, to DataStart and to
// DataEnd.
//
// Header record (TFileHeader), 172 bytes:
//
//   0   Int32   Sequence         1-based position in the list added from
//   4   double  SourceDate       days since 30 Dec 1899, local time
//   12  byte    EndDisk          volume of the last data byte (0: single)
//   16  Int32   DataEnd          position of the last data byte
//   20  str100  SourcePath       path as added, the lookup key
//   124 Int32   NextHeader       position of the following record
//   128 Int32   SourceSize       uncompressed size
//   132 Int32   DataStart        position of the first data byte
//   136 Int32   CompressedSize   length of the zlib stream
//   140 byte    StartDisk        volume of the first data byte (0: single)
//   144 Int32   FileID           install object's UniqueID
//   148 str20   SourceVersion    FileVersion text, empty without one
//   (13, 121, 141, 169: three bytes of padding each)
//
// Self-extracting setup: the loading program (L bytes), then setup.1
// (S bytes), then files.1 (F bytes, optional), then a 56-byte trailer.
// Offsets count from the setup file's first byte:
//
//   0        loading program
//   L        setup.1            the setup program first, then the presetup files
//   L+S      files.1            (absent: both files.1 fields are 0)
//   L+S+F    trailer (TSelfExtractTrailer), the last 56 bytes:
//     0   byte      14, the signature's length
//     1   char[14]  "SELFEXTRACTING"
//     15  byte      0
//     16  UInt32    Setup1Start   L
//     20  UInt32    Setup1End     L + S - 1 (inclusive)
//     24  UInt32    Files1Start   L + S, or 0
//     28  UInt32    Files1End     L + S + F - 1, or 0
//     32  24 bytes  0
//   Readers take the last 56 bytes as the trailer without checking the
//   signature, and check the offsets against the file.
//
// filelist.lst, the sizes, dates and versions of a net distribution's files:
//
//   0   Int32  count
//   4   count records (TFileListRecord), 72 bytes each:
//     0   Int32     SourceSize
//     4   double    SourceDate   days since 30 Dec 1899, local time
//     12  char[40]  Name         the file component's name, zero-terminated
//                                when shorter (FileListName shortens longer ones)
//     52  char[20]  Version      FileVersion text, zero-terminated when shorter
//   Bytes after a terminator are padding.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace sw::archive {

inline constexpr size_t kPrefixSize = 5;
inline constexpr size_t kRecordSize = 172;
inline constexpr size_t kPathCapacity = 100;
inline constexpr size_t kVersionCapacity = 20;
// Volume numbers are one byte.
inline constexpr int kMaxVolumes = 255;
// Positions and sizes are Int32.
inline constexpr int64_t kMaxPosition = std::numeric_limits<int32_t>::max();

static_assert(std::endian::native == std::endian::little, "records are copied as they lie in memory");
static_assert(std::numeric_limits<double>::is_iec559 && sizeof(double) == 8);

#pragma pack(push, 4)
struct TFileHeaderRecord {
    int32_t Sequence = 0;
    double SourceDate = 0;
    uint8_t EndDisk = 0;
    uint8_t Padding1[3] = {};
    int32_t DataEnd = 0;
    uint8_t SourcePath[kPathCapacity + 1] = {};
    uint8_t Padding2[3] = {};
    int32_t NextHeader = 0;
    int32_t SourceSize = 0;
    int32_t DataStart = 0;
    int32_t CompressedSize = 0;
    uint8_t StartDisk = 0;
    uint8_t Padding3[3] = {};
    int32_t FileID = 0;
    uint8_t SourceVersion[kVersionCapacity + 1] = {};
    uint8_t Padding4[3] = {};
};
#pragma pack(pop)

static_assert(sizeof(TFileHeaderRecord) == kRecordSize);
static_assert(offsetof(TFileHeaderRecord, Sequence) == 0);
static_assert(offsetof(TFileHeaderRecord, SourceDate) == 4);
static_assert(offsetof(TFileHeaderRecord, EndDisk) == 12);
static_assert(offsetof(TFileHeaderRecord, DataEnd) == 16);
static_assert(offsetof(TFileHeaderRecord, SourcePath) == 20);
static_assert(offsetof(TFileHeaderRecord, NextHeader) == 124);
static_assert(offsetof(TFileHeaderRecord, SourceSize) == 128);
static_assert(offsetof(TFileHeaderRecord, DataStart) == 132);
static_assert(offsetof(TFileHeaderRecord, CompressedSize) == 136);
static_assert(offsetof(TFileHeaderRecord, StartDisk) == 140);
static_assert(offsetof(TFileHeaderRecord, FileID) == 144);
static_assert(offsetof(TFileHeaderRecord, SourceVersion) == 148);

inline constexpr size_t kTrailerSize = 56;
inline constexpr char kTrailerSignature[] = "SELFEXTRACTING";
inline constexpr size_t kTrailerSignatureSize = sizeof(kTrailerSignature) - 1;

struct TSelfExtractTrailer {
    uint8_t SignatureLength = kTrailerSignatureSize;
    char Signature[kTrailerSignatureSize] = {'S', 'E', 'L', 'F', 'E', 'X', 'T', 'R', 'A', 'C', 'T', 'I', 'N', 'G'};
    uint8_t Spare = 0;
    uint32_t Setup1Start = 0;
    uint32_t Setup1End = 0;
    uint32_t Files1Start = 0;
    uint32_t Files1End = 0;
    uint8_t Reserved[24] = {};
};

static_assert(sizeof(TSelfExtractTrailer) == kTrailerSize);
static_assert(offsetof(TSelfExtractTrailer, Signature) == 1);
static_assert(offsetof(TSelfExtractTrailer, Spare) == 15);
static_assert(offsetof(TSelfExtractTrailer, Setup1Start) == 16);
static_assert(offsetof(TSelfExtractTrailer, Setup1End) == 20);
static_assert(offsetof(TSelfExtractTrailer, Files1Start) == 24);
static_assert(offsetof(TSelfExtractTrailer, Files1End) == 28);
static_assert(offsetof(TSelfExtractTrailer, Reserved) == 32);

// The offsets of a trailer read from the last 56 bytes of a file of
// fileSize bytes lie inside what comes before the trailer, in order.
inline bool TrailerFitsFile(const TSelfExtractTrailer& t, uint64_t fileSize) {
    if (fileSize < kTrailerSize)
        return false;
    const uint64_t payloadEnd = fileSize - kTrailerSize;
    if (t.Setup1Start > t.Setup1End || t.Setup1End >= payloadEnd)
        return false;
    if (t.Files1Start == 0 && t.Files1End == 0)
        return true;
    return t.Files1Start > t.Setup1End && t.Files1Start <= t.Files1End && t.Files1End < payloadEnd;
}

inline constexpr size_t kFileListCountSize = 4;
inline constexpr size_t kFileListRecordSize = 72;
inline constexpr size_t kFileListNameSize = 40;
inline constexpr size_t kFileListVersionSize = 20;

#pragma pack(push, 4)
struct TFileListRecord {
    int32_t SourceSize = 0;
    double SourceDate = 0;
    char Name[kFileListNameSize] = {};
    char Version[kFileListVersionSize] = {};
};
#pragma pack(pop)

static_assert(sizeof(TFileListRecord) == kFileListRecordSize);
static_assert(offsetof(TFileListRecord, SourceDate) == 4);
static_assert(offsetof(TFileListRecord, Name) == 12);
static_assert(offsetof(TFileListRecord, Version) == 52);

} // namespace sw::archive
