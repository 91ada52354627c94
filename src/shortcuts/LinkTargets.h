// What a shortcut needs to know of the install object it links to, found
// through the object model and the published properties, so that it works
// with every kind of object.
#pragma once

#include "paths/PathSpecifier.h"

#include <string>

namespace sw {

class TComponent;
class TInstallObject;

// The linked object's name for a shortcut's file name: a file's DestName
// with the extension ".lnk", a file group's GroupName plus ".lnk", any other
// object's component name plus ".lnk".
std::string LinkNameFor(const TInstallObject& object);
// Whether the object is the uninstaller (a TUninstallEXE).
bool IsUninstaller(const TInstallObject& object);
// Creates a psObjectLink specifier owned by a form or data module unless one lives.
void EnsureObjectLinkSpecifier(TComponent* owner);
// The live standard specifier of class T, or none.
template <class T> T* FindStandardSpecifier() {
    TStandardPathSpecList& standard = StandardPathSpecifiers();
    return standard.HasClass(T::StaticClassInfo()) ? standard.FindByClass<T>() : nullptr;
}

} // namespace sw
