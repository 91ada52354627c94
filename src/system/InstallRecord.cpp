#include "system/InstallRecord.h"

#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

#include "project/Errors.h"
#include "project/ProgramState.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/RegistryHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace sw {

namespace {

TInstallRecordState& RecordState() { return ProgramPart<TInstallRecordState>(); }

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

std::vector<uint8_t> DateBytes(double date) {
    std::vector<uint8_t> bytes(sizeof date);
    std::memcpy(bytes.data(), &date, sizeof date);
    return bytes;
}

} // namespace

double DayCountOf(const FileDateTime& dt) { return DateTimeToDayCount(dt); }

std::string FindInstallRecord(bool create, const std::string& selfExtract) {
    Platform& platform = GetPlatform();
    const std::string program = platform.System->ModulePath();
    std::optional<uint64_t> size = platform.Files->FileSize(program);
    std::optional<FileStamp> stamp = platform.Files->GetFileStamp(program);
    if (!size || !stamp)
        return {};
    const double date = DateTimeToDayCount(DecodeFileStamp(*stamp));
    const auto sizeValue = static_cast<int32_t>(static_cast<uint32_t>(*size));
    IRegistry& reg = *platform.Registry;
    constexpr RegistryRoot hklm = RegistryRoot::LocalMachine;
    try {
        reg.CreateKey(hklm, kInstallRecordRoot);
        const std::vector<std::string> names = reg.SubKeyNames(hklm, kInstallRecordRoot);
        for (const std::string& name : names) {
            const std::string key = std::string(kInstallRecordRoot) + "\\" + name;
            if (!ReadRegStringValue(hklm, key, "Path"))
                continue;
            std::optional<double> created = ReadDate(reg, key, "CreationDate");
            std::optional<int32_t> recordedSize = ReadRegIntegerValue(hklm, key, "Size");
            if (!created || !recordedSize)
                continue;
            if (std::fabs(*created - date) < 1e-7 && *recordedSize == sizeValue) {
                reg.WriteBinary(hklm, key, "LastRunDate", DateBytes(RunStartTime()));
                reg.WriteString(hklm, key, "Path", program);
                return key;
            }
        }
        if (!create)
            return {};
        int n = 0;
        auto taken = [&](int i) {
            return std::any_of(names.begin(), names.end(),
                               [&](const std::string& name) { return SameText(name, "Install" + std::to_string(i)); });
        };
        while (taken(n))
            ++n;
        const std::string key = std::string(kInstallRecordRoot) + "\\Install" + std::to_string(n);
        reg.CreateKey(hklm, key);
        reg.WriteString(hklm, key, "Path", program);
        reg.WriteBinary(hklm, key, "LastRunDate", DateBytes(RunStartTime()));
        reg.WriteBinary(hklm, key, "CreationDate", DateBytes(date));
        reg.WriteInteger(hklm, key, "Size", sizeValue);
        if (!selfExtract.empty())
            reg.WriteString(hklm, key, "SelfExtract", selfExtract);
        return key;
    } catch (const Exception&) {
        // Registry trouble never stops the lookup: there is simply no record.
        return {};
    }
}

double RunStartTime() { return RecordState().RunStartTime; }

void SetRunStartTime(double dayCount) { RecordState().RunStartTime = dayCount; }

const std::string& InstallRecordKeyPath() { return RecordState().KeyPath; }

void SetInstallRecordKeyPath(const std::string& path) { RecordState().KeyPath = path; }

void RemoveInstallRecord() {
    const std::string key = InstallRecordKeyPath();
    if (key.empty())
        return;
    Platform& platform = GetPlatform();
    IRegistry& reg = *platform.Registry;
    constexpr RegistryRoot hklm = RegistryRoot::LocalMachine;
    if (!reg.KeyExists(hklm, key))
        return;
    for (const std::string& name : reg.SubKeyNames(hklm, key)) {
        const std::string sub = key + "\\" + name;
        const std::string localFile = Trim(reg.ReadString(hklm, sub, "LocalFile", ""));
        if (!localFile.empty())
            platform.Files->DeleteFile(localFile);
        DeleteRegKeyTree(hklm, sub);
    }
    DeleteRegKeyTree(hklm, key);
    // The record is gone: nothing may be written below it any more.
    SetInstallRecordKeyPath("");
    if (!reg.HasSubKeys(hklm, kInstallRecordRoot))
        reg.DeleteKey(hklm, kInstallRecordRoot);
    if (!reg.HasSubKeys(hklm, kPellmoorKey))
        reg.DeleteKey(hklm, kPellmoorKey);
}

void SaveInstallLanguage(int32_t language) {
    const std::string& key = InstallRecordKeyPath();
    // Without a record the value would land in the root of the hive.
    if (key.empty())
        throw EIRCannotWriteValue(key);
    WriteRegInteger(RegistryRoot::LocalMachine, key, "Language", language);
}

int32_t ReadSavedInstallLanguage(int32_t current) {
    const std::string& key = InstallRecordKeyPath();
    if (key.empty())
        return current;
    return ReadRegInteger(RegistryRoot::LocalMachine, key, "Language", current);
}

} // namespace sw
