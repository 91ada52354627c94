#include "platform/FileStamp.h"

#include "project/Errors.h"
#include "project/Text.h"

namespace sw {

namespace {
bool LeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && LeapYear(year) ? 29 : days[month - 1];
}
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

} // namespace sw
