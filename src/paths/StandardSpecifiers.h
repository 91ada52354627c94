// The fourteen standard path specifiers, in their fixed order, and psObjectLink.
#pragma once

#include "paths/PathSpecifier.h"

namespace sw {

class TInstallObject;

// What psObjectLink asks of a shortcut: the install object it links to.
class IObjectLinkShortcut {
  public:
    virtual ~IObjectLinkShortcut() = default;
    virtual TInstallObject* LinkedObject() const = 0;
};

#define SW_STANDARD_SPECIFIER(Class, Extra)                                                                            \
    class Class : public TStandardPathSpecifier {                                                                      \
        SW_DECLARE_CLASS()                                                                                             \
      public:                                                                                                          \
        explicit Class(TComponent* owner);                                                                             \
        std::string GetDescription() const override;                                                                   \
        std::string GetPath(TComponent* component) const override;                                                     \
        Extra                                                                                                          \
    };

#define SW_VALIDATES void ValidateComponent(TComponent* component) const override;

SW_STANDARD_SPECIFIER(TpsBDEDLL, )
SW_STANDARD_SPECIFIER(TpsCommonFiles, )
SW_STANDARD_SPECIFIER(TpsContainerArchiveFile, SW_VALIDATES)
SW_STANDARD_SPECIFIER(TpsContainerDestDir,
                      SW_VALIDATES std::string GetComponentDescription(TComponent* component) const override;)
SW_STANDARD_SPECIFIER(TpsDesktopMenu, )
SW_STANDARD_SPECIFIER(TpsInstallSource, SW_VALIDATES)
SW_STANDARD_SPECIFIER(TpsMainInstall, SW_VALIDATES)
SW_STANDARD_SPECIFIER(TpsProgramFiles, )
SW_STANDARD_SPECIFIER(TpsProgramMenu, )
SW_STANDARD_SPECIFIER(TpsStartMenu, )
SW_STANDARD_SPECIFIER(TpsStartupMenu, )
SW_STANDARD_SPECIFIER(TpsSystem, )
SW_STANDARD_SPECIFIER(TpsMainArchiveFile, SW_VALIDATES)
SW_STANDARD_SPECIFIER(TpsWindow, )
// The folder of the object a shortcut links to; created by the shortcuts.
SW_STANDARD_SPECIFIER(TpsObjectLink, SW_VALIDATES)

#undef SW_VALIDATES
#undef SW_STANDARD_SPECIFIER

// Registers the specifier classes with the stream reader.
void RegisterPathSpecifierClasses();

} // namespace sw
