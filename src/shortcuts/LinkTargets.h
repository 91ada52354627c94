// What shortcuts need to know of the objects they link to (found through the
// object model and the published properties, so that every kind of object
// serves) and of the path specifiers they take.
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
