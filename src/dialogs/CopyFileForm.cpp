#include "dialogs/CopyFileForm.h"

#include "archive/MainArchiveEngine.h"
#include "controls/ComCtrls.h"
#include "controls/ExtCtrls.h"
#include "controls/StdCtrls.h"
#include "dialogs/DialogDriver.h"
#include "dialogs/DialogManager.h"
#include "objects/InstallParameters.h"
#include "objects/NetInstallLocation.h"

namespace sw {

SW_CLASS_INFO(TCopyFileForm, TBaseDuringCopyForm)

namespace {
constexpr const char* kResource = "TCOPYFILEFORM";
}

TCopyFileForm::TCopyFileForm(TComponent* owner) : TBaseDuringCopyForm(owner) {
    ReadFormResource(kResource);
    SetDM(FindDialogManager(TManagerType::dmDuringCopyFiles));
    UnZipImage = PageChild<TImage>(*this, kResource, "UnZipImage");
    TransferBitmap = PageChild<TImage>(*this, kResource, "TransferBitmap");
    lblCopyingFile = PageChild<TLabel>(*this, kResource, "lblCopyingFile");
    ProgressBar1 = PageChild<TProgressBar>(*this, kResource, "ProgressBar1");
    ProgressBar2 = PageChild<TProgressBar>(*this, kResource, "ProgressBar2");
    CancelBtn = PageChild<TButton>(*this, kResource, "CancelBtn");
    CancelBtn->OnClick = TNotifyEvent("CancelBtnClick", [this](TPersistent*) { CancelCopy(); });
}

void TCopyFileForm::CancelCopy() {
    IDialogDriver* driver = DialogDriver();
    if (driver && !driver->QueryUserAbort())
        return;
    MainArchiveEngine().Abort = true;
    SetDownloadAbort(true);
}

TCopyFileForm::TShown TCopyFileForm::Shown() const {
    return {TransferBitmap->Visible(), ProgressBar1->Position(), ProgressBar2->Position(), lblCopyingFile->Caption()};
}

void TCopyFileForm::UpdateStatus(TFileStatusParameter* file, TDownloadStatusParameter* download) {
    const TShown before = Shown();
    if (file) {
        TransferBitmap->SetVisible(false);
        ProgressBar2->SetPosition(file->TotalPercentDone);
        ProgressBar1->SetPosition(file->FilePercentDone);
        lblCopyingFile->SetCaption(file->FileName);
    } else if (download) {
        TransferBitmap->SetVisible(true);
        ProgressBar1->SetPosition(download->PercentDone);
        lblCopyingFile->SetCaption(download->FileName);
    } else {
        return;
    }
    // The copying code does not return to the message loop between its
    // steps: what changed paints now. Only the controls that changed paint,
    // so the rest of the window is never seen erased; a step that changed
    // nothing (most steps of a large file move no bar by a whole percent)
    // costs no paint. The picture that comes or goes repaints the window, and
    // so does the first status.
    const TShown after = Shown();
    // The first status comes just after the window was shown, before the
    // message loop could paint it: all of it paints now.
    if (!painted_ || after.Transfer != before.Transfer) {
        painted_ = true;
        Repaint();
        return;
    }
    if (after.File != before.File)
        ProgressBar1->Repaint();
    if (after.Total != before.Total)
        ProgressBar2->Repaint();
    if (after.Name != before.Name)
        lblCopyingFile->Repaint();
}

} // namespace sw
