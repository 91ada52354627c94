// The install object that shows the dialogs of one stage when the install
// driver broadcasts it: the wizard pages in a container, the progress
// windows during copying, the change-disk window.
#pragma once

#include "dialogs/DialogTypes.h"
#include "objects/InstallObject.h"

#include <vector>

namespace sw {

class TBaseDuringCopyForm;
class TBaseFormContainer;
class TFileStatusParameter;
class TDownloadStatusParameter;

class TDialogManager : public TInstallObject {
    SW_DECLARE_CLASS()
  public:
    explicit TDialogManager(TComponent* owner);
    ~TDialogManager() override;

    int32_t Height = 395;
    TManagerType ManagerType = TManagerType::dmBeforeInstall;
    TPellmoorDialogPosition Position = TPellmoorDialogPosition::pdpCenter;
    int32_t RelativeLeftOffset = 0;
    int32_t RelativeTopOffset = 0;
    int32_t Width = 478;

    int GetObjectKind() const override { return kKindDialog; }
    void HandleInstallMessage(TInstallContainer* sender, int code, TPersistent* parameter) override;

    // Shows this stage's pages in a modal container; a confirmed cancel
    // raises EAIUserAbort.
    virtual void Execute();
    // Creates the pages of the running manager in `container`; their number.
    int FillPages(TBaseFormContainer* container);
    // `list` is the TFileDiskList of the disk request.
    void ShowChangeDisk(TPersistent* list);
    void OpenProgressWindows();
    void UpdateProgress(TFileStatusParameter* file, TDownloadStatusParameter* download);
    void CloseProgressWindows();
    const std::vector<TBaseDuringCopyForm*>& ProgressWindows() const { return progress_; }

    // The dialog components attached to this manager.
    void AddDialog(TComponent* dialog);
    void RemoveDialog(TComponent* dialog);
    const std::vector<TComponent*>& Dialogs() const { return dialogs_; }

    void Notification(TComponent* component, TOperation operation) override;

  private:
    // The status of a progress broadcast; raises IException when it is
    // missing or not a `className`.
    template <class P> P* StatusParameter(TPersistent* parameter, const char* className) const;

    std::vector<TBaseDuringCopyForm*> progress_;
    std::vector<TComponent*> dialogs_;
};

// The first manager of `type`, in creation order, whose Container is the
// current install driver; none.
TDialogManager* FindDialogManager(TManagerType type);

} // namespace sw
