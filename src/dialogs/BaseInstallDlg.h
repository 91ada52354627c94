// The optional non-visual component that carries the settings of one dialog
// (placement, size, language) and runs it on its own. No concrete class of
// it is part of the program; an author may derive one.
#pragma once

#include "controls/Control.h"
#include "controls/Graphics.h"
#include "dialogs/DialogTypes.h"
#include "lang/Language.h"
#include "objects/InstallObject.h"

#include <memory>

namespace sw {

class TBasePellmoorForm;
class TDialogManager;

class TCustomBaseInstallDlg : public TInstallObject {
    SW_DECLARE_CLASS()
  public:
    using TFormFactory = TBasePellmoorForm* (*)(TComponent* owner);

    explicit TCustomBaseInstallDlg(TComponent* owner);
    ~TCustomBaseInstallDlg() override;

    bool ApplyFont = true;
    bool DoTranslate = true;
    TPlmrLanguage TextLanguage = TPlmrLanguage::plEnglish;
    int32_t Height = 0;
    int32_t Width = 0;
    bool UseFixedLanguage = false;
    TPellmoorDialogPosition Position = TPellmoorDialogPosition::pdpCenter;
    int32_t LeftOffset = 0;
    int32_t TopOffset = 0;
    TPlmrLanguage FixedLanguage = TPlmrLanguage::plUser;
    TInstallContainer* InstallContainer = nullptr;
    TNotifyEvent OnBeforeRun;
    TNotifyEvent OnAfterRun;

    int GetObjectKind() const override { return kKindDialog; }

    TBasePellmoorForm* Dialog() const { return dialog_; }
    void SetDialog(TBasePellmoorForm* dialog) { dialog_ = dialog; }
    TDialogManager* DialogManager() const { return manager_; }
    // Attaches to the manager and detaches from the previous one.
    virtual void SetDialogManager(TDialogManager* manager);
    TPicture* ThemePicture() const { return theme_.get(); }
    virtual void SetThemePicture(const TPicture& picture);

    // The Translate rules on the dialog, with this component's language.
    virtual void ApplyLanguage();
    // Copies the settings into the dialog; raises IException without one.
    virtual void AssignDialogProperties();
    // Shows the dialog modally: true for OK, false when EAbort passed;
    // any other result raises EAIUserAbort.
    virtual bool Run();
    virtual void Show();
    // The dialog class the component runs; none here.
    virtual TFormFactory FormClass() const { return nullptr; }
    virtual bool ShowOrNot() const { return true; }
    // Places the dialog by Position, the offsets and the size.
    void PlaceDialog();

    void LanguageChanged() override { ApplyLanguage(); }
    void Notification(TComponent* component, TOperation operation) override;

  private:
    TBasePellmoorForm* dialog_ = nullptr;
    TDialogManager* manager_ = nullptr;
    std::unique_ptr<TPicture> theme_;
};

} // namespace sw
