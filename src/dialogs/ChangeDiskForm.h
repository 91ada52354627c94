// The change-disk window: asks for the disk the archive engine misses, shows
// where its volume is looked for and lets the user pick another folder with
// the folder browser; Proceed goes on, Cancel ends the install when the
// install driver agrees.
#pragma once

#include "dialogs/BaseForms.h"

namespace sw {

class TButton;
class TEdit;
class TLabel;

class TChangeDiskForm : public TBaseChangeDiskForm {
    SW_DECLARE_CLASS()
  public:
    // Reads TCHANGEDISKFORM; its manager is the dmChangeDisk one.
    explicit TChangeDiskForm(TComponent* owner);

    // When the driver's QueryUserAbort agrees (or there is no driver): closes
    // the window with the abort result.
    void CancelDisk() override;
    // The folder browser, without its create button and path edit, opened
    // at the parameter's path; OK makes the chosen folder the path. PathEdit
    // shows the parameter's path afterwards in any case.
    void Browse();

    TLabel* PromptDiskLabel = nullptr;
    TEdit* PathEdit = nullptr;
    TButton* BrowseBtn = nullptr;
    TButton* InstallBtn = nullptr;
    TButton* CancelBtn = nullptr;

  private:
    // On showing (after the manager translated the window): the prompt
    // "Please insert disk number %d" in the current language with the disk's
    // number and the parameter's path; Proceed takes the focus when the
    // window is activated.
    void ShowRequest();
};

} // namespace sw
