// The pages at the end of an install: setup complete, setup incomplete, and
// the question whether Windows restarts now. They have no Cancel: Next, or
// Finish on the last page, is the only way on.
#pragma once

#include "dialogs/BaseForms.h"

namespace sw {

class TButton;
class TRadioGroup;

class TFinishPage : public TBaseInstallForm {
    SW_DECLARE_CLASS()
  public:
    // Back shows unless this is the first page; Finish stands in for Next on
    // the last page, and whichever shows takes the focus.
    void UpdatePage() override;
    // Also when the container first comes on the screen with nothing focused.
    void ActivatePage() override;
    void Translate() override;

  protected:
    using TBaseInstallForm::TBaseInstallForm;
    virtual void FocusButton();
    // For the constructor of a page class (the stream's root is of that
    // class): reads the page's stream, finds its manager, binds the buttons.
    void ReadPage(const char* resource, TManagerType stage);
    void ShowButtons();

    TButton* BackBtn = nullptr;
    TButton* ProceedBtn = nullptr;
    TButton* FinishBtn = nullptr;
};

class TGoodInstallForm : public TFinishPage {
    SW_DECLARE_CLASS()
  public:
    explicit TGoodInstallForm(TComponent* owner);
};

class TBadInstallForm : public TFinishPage {
    SW_DECLARE_CLASS()
  public:
    explicit TBadInstallForm(TComponent* owner);
};

// RG shows the driver's Reboot ("Yes" or "No"); the user's choice sets it.
class TRebootForm : public TFinishPage {
    SW_DECLARE_CLASS()
  public:
    explicit TRebootForm(TComponent* owner);
    // Presets the choice from the driver's Reboot each time the page shows.
    void UpdatePage() override;

  protected:
    // Only Next: Finish is not focused here.
    void FocusButton() override;

  private:
    void RGClick();

    TRadioGroup* RG = nullptr;
    // Raised while the page itself sets RG.
    bool preset_ = false;
};

} // namespace sw
