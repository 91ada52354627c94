#include "dialogs/CopyFileForm.h"

#include "archive/MainArchiveEngine.h"
#include "controls/ComCtrls.h"
#include "controls/ExtCtrls.h"
#include "controls/StdCtrls.h"
#include "dialogs/DialogDriver.h"
#include "dialogs/DialogManager.h"
#include "objects/InstallParameters.h"
#include "objects/NetInstallLocation.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "system/MessagePump.h"

namespace sw {

SW_CLASS_INFO(TCopyFileForm, TBaseDuringCopyForm)

namespace {
constexpr const char* kCopyFileResource = "TCOPYFILEFORM";
// The least time in ms between two statuses shown.
constexpr uint32_t kStatusInterval = 200;
}

TCopyFileForm::TCopyFileForm(TComponent* owner) : TBaseDuringCopyForm(owner) {
    ReadFormResource(kCopyFileResource);
    SetDM(FindDialogManager(TManagerType::dmDuringCopyFiles));
    UnZipImage = PageChild<TImage>(*this, kCopyFileResource, "UnZipImage");
    TransferBitmap = PageChild<TImage>(*this, kCopyFileResource, "TransferBitmap");
    lblCopyingFile = PageChild<TLabel>(*this, kCopyFileResource, "lblCopyingFile");
    ProgressBar1 = PageChild<TProgressBar>(*this, kCopyFileResource, "ProgressBar1");
    ProgressBar2 = PageChild<TProgressBar>(*this, kCopyFileResource, "ProgressBar2");
    CancelBtn = PageChild<TButton>(*this, kCopyFileResource, "CancelBtn");
    CancelBtn->OnClick = TNotifyEvent("CancelBtnClick", [this](TPersistent*) { CancelCopy(); });
}

void TCopyFileForm::CancelCopy() {
    IDialogDriver* driver = DialogDriver();
    if (driver && !driver->QueryUserAbort())
        return;
    MainArchiveEngine().Abort = true;
    SetDownloadAbort(true);
}

void TCopyFileForm::UpdateStatus(TFileStatusParameter* file, TDownloadStatusParameter* download) {
    if (file) {
        wanted_.Transfer = false;
        wanted_.Total = file->TotalPercentDone;
        wanted_.File = file->FilePercentDone;
        wanted_.Name = file->FileName;
    } else if (download) {
        wanted_.Transfer = true;
        wanted_.File = download->PercentDone;
        wanted_.Name = download->FileName;
    } else {
        return;
    }
    // The window shows a status at once when it is the first, when the
    // transfer picture comes or goes, or when kStatusInterval ms have passed
    // since it last showed one; otherwise the next status that comes in time
    // shows the figures then. Each change of a control costs a paint (the
    // system's on Wine more than the copying of a small file), and five
    // changes a second look smooth. Messages still run every kPumpInterval
    // ms, so Cancel answers sooner than the figures change.
    ISystemInfo* system = GetPlatform().System.get();
    const uint32_t now = system ? system->TickCount() : 0;
    const bool whole = !painted_ || wanted_.Transfer != TransferBitmap->Visible();
    if (!whole && now - shownAt_ < kStatusInterval)
        return;
    shownAt_ = now;
    ShowWanted(whole);
}

void TCopyFileForm::ShowWanted(bool whole) {
    TransferBitmap->SetVisible(wanted_.Transfer);
    ProgressBar1->SetPosition(wanted_.File);
    ProgressBar2->SetPosition(wanted_.Total);
    lblCopyingFile->SetCaption(wanted_.Name);
    // The copying code does not return to the message loop between its
    // steps: what changed paints now. The first time (just after the window
    // was shown, before the message loop could paint it) and when the picture
    // comes or goes, all of it; otherwise only what changed (a progress bar
    // may have painted itself already), so the rest of the window is never
    // seen erased and nothing paints twice.
    if (whole) {
        painted_ = true;
        Repaint();
    } else {
        Update();
    }
}

} // namespace sw
