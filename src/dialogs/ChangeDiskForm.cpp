#include "dialogs/ChangeDiskForm.h"

#include "controls/Edits.h"
#include "controls/StdCtrls.h"
#include "dialogs/DialogDriver.h"
#include "dialogs/DialogManager.h"
#include "dialogs/OpenFolderDialog.h"
#include "lang/Translator.h"
#include "objects/InstallParameters.h"
#include "project/Text.h"
#include "system/SystemHelpers.h"

namespace sw {

SW_CLASS_INFO(TChangeDiskForm, TBaseChangeDiskForm)

namespace {
constexpr const char* kChangeDiskResource = "TCHANGEDISKFORM";
}

TChangeDiskForm::TChangeDiskForm(TComponent* owner) : TBaseChangeDiskForm(owner) {
    ReadFormResource(kChangeDiskResource);
    SetDM(FindDialogManager(TManagerType::dmChangeDisk));
    PromptDiskLabel = PageChild<TLabel>(*this, kChangeDiskResource, "PromptDiskLabel");
    PathEdit = PageChild<TEdit>(*this, kChangeDiskResource, "PathEdit");
    BrowseBtn = PageChild<TButton>(*this, kChangeDiskResource, "BrowseBtn");
    InstallBtn = PageChild<TButton>(*this, kChangeDiskResource, "InstallBtn");
    CancelBtn = PageChild<TButton>(*this, kChangeDiskResource, "CancelBtn");
    PathEdit->SetReadOnly(true);
    BrowseBtn->OnClick = TNotifyEvent("BrowseBtnClick", [this](TPersistent*) { Browse(); });
    CancelBtn->OnClick = TNotifyEvent("CancelBtnClick", [this](TPersistent*) { CancelDisk(); });
    OnShow = TNotifyEvent("FormShow", [this](TPersistent*) { ShowRequest(); });
    // The window takes the focus only once it is on the screen.
    OnActivate = TNotifyEvent("FormActivate", [this](TPersistent*) {
        if (InstallBtn->Visible() && InstallBtn->Enabled())
            InstallBtn->SetFocus();
    });
}

void TChangeDiskForm::ShowRequest() {
    if (!DiskParameter)
        return;
    PromptDiskLabel->SetCaption(
        Format(TranslateEnglish("Please insert disk number %d"), {static_cast<int>(DiskParameter->DiskNumber)}));
    PathEdit->SetText(DiskParameter->Path);
}

void TChangeDiskForm::Browse() {
    if (!DiskParameter)
        return;
    TOpenFolderDialog dialog;
    dialog.ShowCreateButton = false;
    dialog.ShowPathEdit = false;
    dialog.Folder = DiskParameter->Path;
    if (dialog.Execute())
        DiskParameter->Path = ExcludeTrailingBackslash(dialog.Folder);
    PathEdit->SetText(DiskParameter->Path);
}

void TChangeDiskForm::CancelDisk() {
    IDialogDriver* driver = DialogDriver();
    if (!driver || driver->QueryUserAbort())
        SetModalResult(mrAbort);
}

} // namespace sw
