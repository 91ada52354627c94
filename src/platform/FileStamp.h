// File date-time stamps in the DOS form: the date in the high 16 bits
// (bits 9-15 year since 1980, 5-8 month, 0-4 day) and the time in the low
// 16 bits (bits 11-15 hour, 5-10 minute, 0-4 seconds / 2), local time.
#pragma once

#include <cstdint>

namespace sw {

using FileStamp = uint32_t;

struct FileDateTime {
    int Year = 1980;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;

    bool operator==(const FileDateTime&) const = default;
};

// Seconds are rounded down to an even number. Raises sw::Exception when the
// fields are out of range (years 1980..2107).
FileStamp EncodeFileStamp(const FileDateTime& dt);
FileDateTime DecodeFileStamp(FileStamp stamp);

// Day-count dates: days since 30 December 1899 00:00, the fraction being the
// time of day. The inverse rounds to the nearest second; a day count outside
// the years 1 to 9999 raises sw::Exception.
double DateTimeToDayCount(const FileDateTime& dt);
FileDateTime DayCountToDateTime(double dayCount);

} // namespace sw
