// The error families of the install engine, its objects and its helpers.
// Configuration errors (IException and below) pass their English message
// through the translator, so the English texts double as lookup keys.
#pragma once

#include "project/Errors.h"
#include "project/Text.h"
#include "project/TranslateHook.h"

#include <initializer_list>
#include <string>

namespace sw {

class ECustomPellmoorAbnormal : public Exception {
    using Exception::Exception;
};

class IException : public ECustomPellmoorAbnormal {
  public:
    explicit IException(const std::string& english) : ECustomPellmoorAbnormal(TranslateEnglishMessage(english)) {}
    // Formats the arguments into the translated format.
    IException(const std::string& englishFormat, std::initializer_list<FormatArg> args)
        : ECustomPellmoorAbnormal(Format(TranslateEnglishMessage(englishFormat), args)) {}
};

#define SW_INSTALL_ERROR(Name, Base)                                                                                   \
    class Name : public Base {                                                                                         \
        using Base::Base;                                                                                              \
    };

SW_INSTALL_ERROR(IEInstall, IException)
SW_INSTALL_ERROR(IEInstallNetLocNil, IException)
SW_INSTALL_ERROR(IEInstallContainer, IException)
SW_INSTALL_ERROR(IEContainerList, IException)
SW_INSTALL_ERROR(IEFileRelated, IException)
SW_INSTALL_ERROR(IEFileRel_NoNetLocation, IException)
SW_INSTALL_ERROR(IEFileContainer, IException)
SW_INSTALL_ERROR(IEfcDuplicateFile, IException)
SW_INSTALL_ERROR(IECustomInstallFile, IException)
SW_INSTALL_ERROR(IECustomInstallFileList, IException)
SW_INSTALL_ERROR(IEFileGroupSelectForm, IException)
SW_INSTALL_ERROR(IEInstallRegistry, IException)
SW_INSTALL_ERROR(IEInstallRegistryList, IException)
SW_INSTALL_ERROR(IERegistryEntries, IException)
SW_INSTALL_ERROR(IERegistryEntry, IException)
SW_INSTALL_ERROR(IEInstallShellLink, IException)
SW_INSTALL_ERROR(IEInstallShellLinkList, IException)
SW_INSTALL_ERROR(IEShellLinkGroup, IException)
SW_INSTALL_ERROR(IEUninstallEXE, IException)
SW_INSTALL_ERROR(IEPathSpecifier, IException)
SW_INSTALL_ERROR(IEPathSpecifierList, IException)
SW_INSTALL_ERROR(IENoPellmoorPath, IException)

// Failures of the system helpers and, below it, of the archive engine.
SW_INSTALL_ERROR(EPellmoorAbnormal, ECustomPellmoorAbnormal)
SW_INSTALL_ERROR(EAPIRoutines, EPellmoorAbnormal)

// Errors of a running install; EAIUserAbort ends the whole install.
SW_INSTALL_ERROR(EAI, Exception)
class EAIUserAbort : public EAI {
  public:
    EAIUserAbort() : EAI("Installation aborted by the user") {}
};

#undef SW_INSTALL_ERROR

} // namespace sw
