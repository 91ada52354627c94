#include "shortcuts/LinkTargets.h"

#include "controls/Forms.h"
#include "objects/FileContainer.h"
#include "objects/InstallFile.h"
#include "paths/StandardSpecifiers.h"
#include "system/SystemHelpers.h"

namespace sw {

std::string LinkNameFor(const TInstallObject& object) {
    if (const auto* file = dynamic_cast<const TCustomInstallFile*>(&object))
        return ChangeFileExt(file->DestName(), ".lnk");
    if (const auto* group = dynamic_cast<const TInstallFileGroup*>(&object))
        return group->GroupName() + ".lnk";
    return object.Name() + ".lnk";
}

bool IsUninstaller(const TInstallObject& object) {
    for (const TClassInfo* cls = &object.ClassInfo(); cls; cls = cls->Parent)
        if (cls->Name == "TUninstallEXE")
            return true;
    return false;
}

void EnsureObjectLinkSpecifier(TComponent* owner) {
    if (!owner || !(dynamic_cast<TCustomForm*>(owner) || dynamic_cast<TDataModule*>(owner)) ||
        AllPathSpecifiers().HasClass(TpsObjectLink::StaticClassInfo()))
        return;
    auto* specifier = new TpsObjectLink(owner);
    try {
        specifier->SetName(specifier->StandardName());
    } catch (...) {
        TComponent::Free(specifier);
        throw;
    }
}

} // namespace sw
