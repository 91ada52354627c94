// The progress window of the copy stage: the file being processed with its
// progress and the progress of the whole pass, a picture that tells a
// download from an extraction, and Cancel, which asks the install driver and
// then raises the flags the copying and download loops poll.
#pragma once

#include "dialogs/BaseForms.h"

#include <string>

namespace sw {

class TButton;
class TImage;
class TLabel;
class TProgressBar;

class TCopyFileForm : public TBaseDuringCopyForm {
    SW_DECLARE_CLASS()
  public:
    // Reads TCOPYFILEFORM; its manager is the dmDuringCopyFiles one.
    explicit TCopyFileForm(TComponent* owner);

    // When the driver's QueryUserAbort agrees (or there is no driver): sets
    // the main archive engine's Abort and the download-abort flag. The window
    // stays until the manager closes it.
    void CancelCopy() override;
    // A file status moves both bars and hides the transfer picture; a
    // download status shows it and moves the file bar only. The window shows
    // the first status, and one that brings or takes the transfer picture, at
    // once; the others when a tenth of a second has passed since it last
    // showed one, the figures of a status that came sooner then going with
    // the next. What changed is painted at once.
    void UpdateStatus(TFileStatusParameter* file, TDownloadStatusParameter* download) override;

    TImage* UnZipImage = nullptr;
    TImage* TransferBitmap = nullptr;
    TLabel* lblCopyingFile = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TProgressBar* ProgressBar2 = nullptr;
    TButton* CancelBtn = nullptr;

  private:
    struct TFigures {
        bool Transfer = false;
        int32_t File = 0;
        int32_t Total = 0;
        std::string Name = "---";
    };
    // Puts the wanted figures into the controls and paints what changed
    // (`whole`: the whole window).
    void ShowWanted(bool whole);

    TFigures wanted_;
    // The whole window was painted once.
    bool painted_ = false;
    // The tick count when a status was last shown.
    uint32_t shownAt_ = 0;
};

} // namespace sw
