// Folders of shortcuts: the project's main program folder in the Programs
// menu, named after the product, and folders inside it.
#pragma once

#include "objects/InstallObject.h"

namespace sw {

class TCustomShellLinkGroup : public TInstallObject {
    SW_DECLARE_CLASS()
  public:
    explicit TCustomShellLinkGroup(TComponent* owner);

    int GetObjectKind() const override { return kKindShellLinkGroup; }
    // Creates the folder with all missing levels, then installs the children.
    void InstallObjects() override;
    // A folder goes with its container.
    void ContainerDestroyed(TInstallContainer* container) override;
};

// The main program folder: at most one; always in the Programs menu.
class TMainLinkGroup : public TCustomShellLinkGroup {
    SW_DECLARE_CLASS()
  public:
    // Raises IEShellLinkGroup when one lives already.
    explicit TMainLinkGroup(TComponent* owner);
    ~TMainLinkGroup() override;

    // Keeps the folder's name: it is the main folder wherever it hangs.
    void SetContainer(TInstallContainer* container) override;
    // Always psProgramMenu, whatever is asked.
    void SetDestDirType(TCustomPathSpecifier* specifier) override;
};

// A folder inside the main program folder.
class TSubLinkGroup : public TCustomShellLinkGroup {
    SW_DECLARE_CLASS()
  public:
    // Raises IEShellLinkGroup without a main program folder.
    explicit TSubLinkGroup(TComponent* owner);

    // Only the main program folder; IEShellLinkGroup otherwise.
    void SetContainer(TInstallContainer* container) override;
    // Always psContainerDestDir, whatever is asked.
    void SetDestDirType(TCustomPathSpecifier* specifier) override;
};

// The message for a container other than the main program folder.
inline constexpr const char* kMainGroupMustContain =
    "The TMainLinkGroup component must be the Container for TInstallMainLink and TSubLinkGroup components";

} // namespace sw
