#include "archive/FileStats.h"

#include <algorithm>
#include <cmath>

namespace sw {

void SetPercentage(uint8_t& field, int64_t a, int64_t b) {
    if (b == 0)
        return;
    const double percent = std::nearbyint(static_cast<double>(a) / static_cast<double>(b) * 100.0);
    field = static_cast<uint8_t>(std::clamp(percent, 0.0, 255.0));
}

} // namespace sw
