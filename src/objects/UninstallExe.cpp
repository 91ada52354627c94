#include "objects/UninstallExe.h"

#include "objects/NetInstallLocation.h"
#include "paths/PathSpecifier.h"
#include "system/InstallDriverContext.h"
#include "system/InstallErrors.h"
#include "system/InstallInformation.h"
#include "system/RegistryHelpers.h"

namespace sw {

SW_CLASS_INFO(TUninstallEXE, TCustomInstallFile,
              SW_INSTALL_FILE_PLACEMENT_PROPERTIES,
              prop::Integer("Order", &Self::Order, &Self::SetOrder, -1),
              prop::String("DestName", &Self::DestName, &Self::SetDestName),
              prop::String("FileName", &Self::FileName, &Self::SetFileName),
              prop::Enumeration("FileType", &Self::FileType, &Self::SetFileType, InstallFileTypeNames(),
                                std::optional(TInstallFileType::iftNormal)),
              prop::String("IncludeFromDir", &Self::IncludeFromDir, &Self::SetIncludeFromDir),
              prop::Boolean("Net", &Self::Net, &Self::SetNet, true),
              prop::Reference("NetLocation", &Self::NetLocation, &Self::SetNetLocation),
              prop::Enumeration("OverwriteMode", &Self::OverwriteMode, &Self::SetOverwriteMode,
                                OverwriteTypeNames(), std::optional(TOverwriteType::owAlways)),
              prop::Enumeration("State", &Self::State, &Self::SetState, InstallFileStateNames(),
                                std::optional(TInstallFileState::ifsNone)),
              prop::Boolean("UpdateDLLCounter", &Self::UpdateDLLCounter, &Self::SetUpdateDLLCounter, false),
              SW_INSTALL_FILE_EVENTS)

TUninstallEXE::TUninstallEXE(TComponent* owner) : TCustomInstallFile(owner) { net_ = true; }

void TUninstallEXE::WriteUninstallInfo(const std::string& key) {
    IInstallDriverContext* driver = InstallDriverContext();
    if (!driver)
        throw IEUninstallEXE("%s could not write information about the uninstall to the registry because there was "
                             "no TInstall component",
                             {Name()});
    const std::string& product = driver->Information()->ProductName;
    WriteRegString(RegistryRoot::LocalMachine, key, "DisplayName", product);
    // The program path is quoted: unquoted, a folder with blanks makes Windows try "C:\Program.exe" first.
    WriteRegString(RegistryRoot::LocalMachine, key, "UninstallString", "\"" + InstalledPath() + "\" " + product);
}

} // namespace sw
