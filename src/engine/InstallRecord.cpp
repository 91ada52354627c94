#include "engine/InstallRecord.h"

#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

#include <cmath>
#include <cstring>
#include <optional>

namespace sw {

namespace {

std::string recordKeyPath;

// Days since 30 December 1899, the fraction being the time of day.
double DayCount(const FileDateTime& dt) {
    // Days from the civil date to 1 January 1970 (proleptic Gregorian).
    const int y = dt.Year - (dt.Month <= 2 ? 1 : 0);
    const int era = y / 400;
    const int yoe = y - era * 400;
    const int mp = (dt.Month + 9) % 12;
    const int doy = (153 * mp + 2) / 5 + dt.Day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long days1970 = static_cast<long>(era) * 146097 + doe - 719468;
    constexpr long kDays1899To1970 = 25569;
    return static_cast<double>(days1970 + kDays1899To1970) + (dt.Hour * 3600 + dt.Minute * 60 + dt.Second) / 86400.0;
}

std::optional<double> ReadDate(IRegistry& reg, const std::string& key, const char* name) {
    std::vector<uint8_t> bytes = reg.ReadBinary(RegistryRoot::LocalMachine, key, name, {});
    if (bytes.size() != sizeof(double))
        return std::nullopt;
    double value;
    std::memcpy(&value, bytes.data(), sizeof value);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

// An integer value; none when it is missing or of another kind.
std::optional<int32_t> ReadInt(IRegistry& reg, const std::string& key, const char* name) {
    int32_t a = reg.ReadInteger(RegistryRoot::LocalMachine, key, name, 0);
    int32_t b = reg.ReadInteger(RegistryRoot::LocalMachine, key, name, 1);
    if (a != b)
        return std::nullopt;
    return a;
}

bool HasString(IRegistry& reg, const std::string& key, const char* name) {
    return reg.ReadString(RegistryRoot::LocalMachine, key, name, "a") ==
           reg.ReadString(RegistryRoot::LocalMachine, key, name, "b");
}

} // namespace

std::string LookUpInstallRecord() {
    Platform& platform = GetPlatform();
    const std::string program = platform.System->ModulePath();
    std::optional<uint64_t> size = platform.Files->FileSize(program);
    std::optional<FileStamp> stamp = platform.Files->GetFileStamp(program);
    if (!size || !stamp)
        return {};
    const double date = DayCount(DecodeFileStamp(*stamp));
    IRegistry& reg = *platform.Registry;
    if (!reg.KeyExists(RegistryRoot::LocalMachine, kInstallRecordRoot))
        return {};
    for (const std::string& name : reg.SubKeyNames(RegistryRoot::LocalMachine, kInstallRecordRoot)) {
        const std::string key = std::string(kInstallRecordRoot) + "\\" + name;
        if (!HasString(reg, key, "Path"))
            continue;
        std::optional<double> created = ReadDate(reg, key, "CreationDate");
        std::optional<int32_t> recordedSize = ReadInt(reg, key, "Size");
        if (!created || !recordedSize)
            continue;
        if (std::fabs(*created - date) < 1e-7 && static_cast<uint64_t>(static_cast<uint32_t>(*recordedSize)) == *size)
            return key;
    }
    return {};
}

const std::string& InstallRecordKeyPath() { return recordKeyPath; }

void SetInstallRecordKeyPath(const std::string& path) { recordKeyPath = path; }

} // namespace sw
