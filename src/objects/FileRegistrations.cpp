// What an installed (or kept) file registers with Windows: help files,
// shared-DLL counters and self-registering COM servers; and what it records
// under the product's uninstall key.
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/PlatformErrors.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/VersionResources.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/RegistryHelpers.h"
#include "system/UninstallLists.h"

namespace sw {

namespace {

constexpr RegistryRoot kRoot = RegistryRoot::LocalMachine;
constexpr const char* kHelpKey = "\\SOFTWARE\\Microsoft\\Windows\\Help";
constexpr const char* kSharedDLLsKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

bool IsExe(const std::string& fileName) {
    const std::string upper = UpperCase(fileName);
    return upper.size() >= 4 && upper.compare(upper.size() - 4, 4, ".EXE") == 0;
}

// Changes into a folder and back again when it goes out of scope.
class TCurrentDirectory {
  public:
    explicit TCurrentDirectory(const std::string& folder) : previous_(GetPlatform().System->CurrentDirectory()) {
        GetPlatform().System->SetCurrentDirectory(folder);
    }
    ~TCurrentDirectory() { GetPlatform().System->SetCurrentDirectory(previous_); }
    TCurrentDirectory(const TCurrentDirectory&) = delete;
    TCurrentDirectory& operator=(const TCurrentDirectory&) = delete;

  private:
    std::string previous_;
};

} // namespace

std::string TCustomInstallFile::InstalledPath() const {
    return GetDestPath() + "\\" + (inUseName_.empty() ? destName_ : inUseName_);
}

void TCustomInstallFile::RegisterAfterInstall() {
    if (registerAsHelp_)
        WriteRegString(kRoot, kHelpKey, UpperCase(inUseName_.empty() ? destName_ : inUseName_), GetDestPath());
    if (updateDLLCounter_)
        IncrementSharedDLLCount();
    IInstallDriverContext* driver = InstallDriverContext();
    if (leftForRestart_ && driver) {
        driver->AddUnfinished(Name(), 0);
        return;
    }
    if (!activeX_)
        return;
    try {
        RegisterActiveX();
    } catch (const Exception&) {
        if (!InstallObjectsState().InstallRunStarted)
            throw;
        RetryRegistrationFiles().Add(this);
    }
}

bool TCustomInstallFile::IncrementSharedDLLCount() {
    Platform& platform = GetPlatform();
    IRegistry& registry = *platform.Registry;
    try {
        registry.CreateKey(kRoot, kSharedDLLsKey);
    } catch (const ERegistryError& e) {
        throw IECustomInstallFile(
            "Could not open the key SharedDLLs key in the registry. File component %s. GetLastError return: %d",
            {Name(), static_cast<int32_t>(e.Code)});
    }
    const std::string path = InstalledPath();
    if (std::optional<std::string> shortPath = platform.Files->ShortPathName(path)) {
        if (std::optional<int32_t> count = registry.FindInteger(kRoot, kSharedDLLsKey, *shortPath)) {
            try {
                registry.WriteInteger(kRoot, kSharedDLLsKey, *shortPath, *count + 1);
                return true;
            } catch (const ERegistryError&) {
            }
        }
    }
    std::optional<int32_t> count = registry.FindInteger(kRoot, kSharedDLLsKey, path);
    if (!count && registry.ValueExists(kRoot, kSharedDLLsKey, path))
        SendMessageText(Format("The shared-DLL counter of %s was not a number; it starts again at 1", {path}));
    WriteRegInteger(kRoot, kSharedDLLsKey, path, count.value_or(0) + 1);
    return true;
}

void TCustomInstallFile::RegisterActiveX() {
    if (IsExe(fileName_))
        RegisterExe();
    else
        RegisterDll();
}

void TCustomInstallFile::RegisterDll() {
    const std::string path = InstalledPath();
    if (Trim(GetDestPath() + destName_).empty() || !GetPlatform().Files->FileExists(path))
        throw IECustomInstallFile(kDestinationBlank, {Name()});
    TCurrentDirectory directory(GetDestPath());
    const LibraryCallResult result = GetPlatform().Processes->CallLibraryFunction(path, "DllRegisterServer");
    switch (result.Result) {
    case LibraryCallResult::Outcome::NotLoaded:
        throw IECustomInstallFile("Could not register the ActiveX component, %s, because the LoadLibrary(%s) "
                                  "procedure returned a value of 0. The file component is %s. The following value is "
                                  "the value of the GetLastError function: %d",
                                  {path, path, Name(), static_cast<int32_t>(result.LastError)});
    case LibraryCallResult::Outcome::NoExport:
        throw IECustomInstallFile("Could not register the ActiveX component, %s, because the DllRegisterServer "
                                  "function could not be found. The file component is %s. The following value is the "
                                  "value of the GetLastError function: %d",
                                  {path, Name(), static_cast<int32_t>(result.LastError)});
    case LibraryCallResult::Outcome::Called:
        if (result.Returned != 0)
            throw IECustomInstallFile("Could not register the ActiveX component, %s, because the DllRegisterServer "
                                      "function returned a value of %d. The file component is %s",
                                      {path, result.Returned, Name()});
        return;
    }
}

void TCustomInstallFile::RegisterExe() {
    const std::string path = InstalledPath();
    if (Trim(GetDestPath() + destName_).empty() || !GetPlatform().Files->FileExists(path))
        throw IECustomInstallFile(kDestinationBlank, {Name()});
    TCurrentDirectory directory(GetDestPath());
    // A path with blanks is quoted, so that no shorter program is started.
    const std::string program = path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
    const StartResult result = GetPlatform().Processes->Start(program + " /REGSERVER", WindowState::Hidden);
    if (result.Code < 32)
        throw IECustomInstallFile("Could not register the ActiveX component, %s, because the WinExec(%s,SW_HIDE) "
                                  "function returned a value < 32. The file component is %s. The following value is "
                                  "the value of the GetLastError function: %d",
                                  {path, path, Name(), static_cast<int32_t>(result.LastError)});
}

bool TCustomInstallFile::HasOLESelfRegister() { return HasOLESelfRegisterAt(SourcePath()); }

bool TCustomInstallFile::HasOLESelfRegisterAt(const std::string& sourcePath) {
    std::optional<std::string> block = GetPlatform().Versions->GetFileVersionInfo(sourcePath);
    if (!block || block->empty())
        return false;
    std::optional<std::vector<uint32_t>> translations = QueryTranslations(*block);
    if (!translations || translations->empty())
        return false;
    const std::string table = UpperHex((*translations)[0] & 0xFFFF, 4) + UpperHex((*translations)[0] >> 16, 4);
    return QueryStringValue(*block, std::string("\\StringFileInfo\\") + table + "\\OLESelfRegister").has_value();
}

void TCustomInstallFile::FinishAfterRestart() {
    if (activeX_)
        RegisterActiveX();
}

void TCustomInstallFile::WriteUninstallInfo(const std::string& key) {
    const std::string path = InstalledPath();
    if (activeX_)
        AppendUninstallEntry(key, kUninstallActiveXKey, path + ";" + (IsExe(fileName_) ? "1" : "0"));
    else
        AppendUninstallFile(key, path);
}

} // namespace sw
