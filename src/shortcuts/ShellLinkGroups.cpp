#include "shortcuts/ShellLinkGroups.h"

#include "objects/InstallMessages.h"
#include "paths/StandardSpecifiers.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "shortcuts/LinkTargets.h"
#include "shortcuts/ShortcutPlacement.h"
#include "shortcuts/ShortcutsState.h"
#include "system/InstallDriverContext.h"
#include "system/InstallErrors.h"
#include "system/InstallInformation.h"

namespace sw {

SW_CLASS_INFO(TCustomShellLinkGroup, TInstallObject)

#define SW_LINK_GROUP_PROPERTIES                                                                                       \
    prop::String("DestDir", &Self::DestDir, &Self::SetDestDir, std::nullopt),                                         \
        prop::Boolean("Include", &Self::Include, &Self::SetInclude, true),                                            \
        prop::Event("OnAfterProcess", &Self::OnAfterProcess), prop::Event("OnBeforeProcess", &Self::OnBeforeProcess)

SW_CLASS_INFO(TMainLinkGroup, TCustomShellLinkGroup,
              prop::Reference("Container", &Self::Container, &Self::SetContainer), SW_LINK_GROUP_PROPERTIES)
SW_CLASS_INFO(TSubLinkGroup, TCustomShellLinkGroup, SW_LINK_GROUP_PROPERTIES)

#undef SW_LINK_GROUP_PROPERTIES

TCustomShellLinkGroup::TCustomShellLinkGroup(TComponent* owner) : TInstallObject(owner) { installable_ = true; }

void TCustomShellLinkGroup::InstallObjects() {
    Broadcast(msg::LinkGroupStarts, nullptr);
    if (DestDirType() && !StaysBelow(DestDir()))
        throw IEShellLinkGroup("The folder %s of %s leaves the folder it belongs to and could not be installed",
                               {DestDir(), Name()});
    const std::string folder = GetDestPath();
    if (!GetPlatform().Files->ForceDirectories(folder))
        throw IEShellLinkGroup("The folder %s of %s could not be created", {folder, Name()});
    TInstallObject::InstallObjects();
}

void TCustomShellLinkGroup::ContainerDestroyed(TInstallContainer* container) {
    const bool mine = container == Container();
    TInstallObject::ContainerDestroyed(container);
    if (mine && !IsDestroying())
        TComponent::Free(this);
}

TMainLinkGroup::TMainLinkGroup(TComponent* owner) : TCustomShellLinkGroup(owner) {
    TShortcutsState& state = ShortcutsState();
    if (state.MainLinkGroup)
        throw IEShellLinkGroup("You can only have one TMainLinkGroup component in your project");
    state.MainLinkGroup = this;
    SetDestDirType(nullptr);
    IInstallDriverContext* driver = InstallDriverContext();
    SetDestDir("\\" + (driver ? driver->Information()->ProductName : std::string("MainFolderName")));
}

TMainLinkGroup::~TMainLinkGroup() {
    TShortcutsState& state = ShortcutsState();
    if (state.MainLinkGroup == this)
        state.MainLinkGroup = nullptr;
}

void TMainLinkGroup::SetContainer(TInstallContainer* container) {
    const std::string dir = DestDir();
    TCustomShellLinkGroup::SetContainer(container);
    SetDestDirType(nullptr);
    SetDestDir(dir);
}

void TMainLinkGroup::SetDestDirType(TCustomPathSpecifier*) {
    TCustomShellLinkGroup::SetDestDirType(FindStandardSpecifier<TpsProgramMenu>());
}

TSubLinkGroup::TSubLinkGroup(TComponent* owner) : TCustomShellLinkGroup(owner) {
    TMainLinkGroup* main = ShortcutsState().MainLinkGroup;
    if (!main)
        throw IEShellLinkGroup(kMainGroupMustContain);
    SetContainer(main);
}

void TSubLinkGroup::SetContainer(TInstallContainer* container) {
    if (!container || container != ShortcutsState().MainLinkGroup)
        throw IEShellLinkGroup(kMainGroupMustContain);
    TCustomShellLinkGroup::SetContainer(container);
}

void TSubLinkGroup::SetDestDirType(TCustomPathSpecifier*) {
    TCustomShellLinkGroup::SetDestDirType(FindStandardSpecifier<TpsContainerDestDir>());
}

} // namespace sw
