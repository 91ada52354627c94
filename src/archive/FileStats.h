// The progress and statistics record of the archive engine, received by
// every status event.
#pragma once

#include "archive/ArchiveFormat.h"

#include <cstdint>
#include <string>

namespace sw {

struct TlzhFileStats {
    uint8_t EntryPercent = 0;
    int32_t EntryBytesDone = 0;
    std::string EntryName;
    int32_t EntryCompressedSize = 0;
    uint8_t EntryRatio = 0;
    int32_t EntrySize = 0;
    archive::TFileHeaderRecord Header;
    bool EntryDone = false;
    uint8_t TotalPercent = 0;
    int32_t TotalBytesDone = 0;
    int32_t TotalCompressedSize = 0;
    uint8_t TotalRatio = 0;
    int32_t TotalSize = 0;
};

// field = round(a / b x 100), ties to even, held to 0..255; unchanged when b is 0.
void SetPercentage(uint8_t& field, int64_t a, int64_t b);

} // namespace sw
