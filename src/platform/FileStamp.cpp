#include "platform/FileStamp.h"

#include "project/Errors.h"
#include "project/Text.h"

#include <cmath>

namespace sw {

namespace {
bool LeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && LeapYear(year) ? 29 : days[month - 1];
}
constexpr int64_t kDays1899To1970 = 25569;
constexpr int64_t kMaxDays = 2958466; // 31 December 9999, 24:00
} // namespace

FileStamp EncodeFileStamp(const FileDateTime& dt) {
    bool valid = dt.Year >= 1980 && dt.Year <= 2107 && dt.Month >= 1 && dt.Month <= 12 && dt.Day >= 1 &&
                 dt.Day <= DaysInMonth(dt.Year, dt.Month) && dt.Hour >= 0 && dt.Hour <= 23 && dt.Minute >= 0 &&
                 dt.Minute <= 59 && dt.Second >= 0 && dt.Second <= 59;
    if (!valid)
        throw Exception(
            Format("Invalid file date %d-%d-%d %d:%d:%d", {dt.Year, dt.Month, dt.Day, dt.Hour, dt.Minute, dt.Second}));
    uint32_t date = static_cast<uint32_t>(((dt.Year - 1980) << 9) | (dt.Month << 5) | dt.Day);
    uint32_t time = static_cast<uint32_t>((dt.Hour << 11) | (dt.Minute << 5) | (dt.Second / 2));
    return (date << 16) | time;
}

FileDateTime DecodeFileStamp(FileStamp stamp) {
    uint32_t date = stamp >> 16, time = stamp & 0xFFFF;
    FileDateTime dt;
    dt.Year = static_cast<int>(1980 + (date >> 9));
    dt.Month = static_cast<int>((date >> 5) & 0x0F);
    dt.Day = static_cast<int>(date & 0x1F);
    dt.Hour = static_cast<int>(time >> 11);
    dt.Minute = static_cast<int>((time >> 5) & 0x3F);
    dt.Second = static_cast<int>((time & 0x1F) * 2);
    return dt;
}

double DateTimeToDayCount(const FileDateTime& dt) {
    // Days from the civil date to 1 January 1970 (proleptic Gregorian).
    const int y = dt.Year - (dt.Month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int mp = (dt.Month + 9) % 12;
    const int doy = (153 * mp + 2) / 5 + dt.Day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t days1970 = int64_t(era) * 146097 + doe - 719468;
    return static_cast<double>(days1970 + kDays1899To1970) + (dt.Hour * 3600 + dt.Minute * 60 + dt.Second) / 86400.0;
}

FileDateTime DayCountToDateTime(double dayCount) {
    if (!std::isfinite(dayCount) || dayCount < -693593 || dayCount >= kMaxDays)
        throw Exception("Invalid day-count date");
    const int64_t seconds = static_cast<int64_t>(std::llround(dayCount * 86400.0));
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    if (rest < 0)
        rest += 86400, --days;
    // The civil date of a day count (inverse of the above).
    const int64_t z = days - kDays1899To1970 + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    FileDateTime dt;
    dt.Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    dt.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    dt.Year = static_cast<int>(yoe + era * 400 + (dt.Month <= 2 ? 1 : 0));
    dt.Hour = static_cast<int>(rest / 3600);
    dt.Minute = static_cast<int>(rest / 60 % 60);
    dt.Second = static_cast<int>(rest % 60);
    return dt;
}

} // namespace sw
