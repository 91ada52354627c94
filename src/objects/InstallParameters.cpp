#include "objects/InstallParameters.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace sw {

TDownloadStatusParameter::TDownloadStatusParameter(int32_t bytes, std::string fileName, int32_t fileSize,
                                                   int32_t totalBytes)
    : Bytes(bytes), FileName(std::move(fileName)), FileSize(fileSize), TotalBytes(totalBytes), PercentDone(0) {
    if (fileSize == 0)
        return;
    // A server that sends more than it announced must not overflow the record.
    const double percent = std::nearbyint(static_cast<double>(totalBytes) * 100.0 / fileSize);
    PercentDone = static_cast<int32_t>(std::clamp(percent, double(INT32_MIN), double(INT32_MAX)));
}

} // namespace sw
