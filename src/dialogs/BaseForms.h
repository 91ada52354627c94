// The bases of every dialog form: translated forms that know their language,
// wizard pages that live in a page container and navigate through it,
// progress windows and the change-disk window.
#pragma once

#include "controls/Forms.h"
#include "dialogs/DialogTypes.h"
#include "lang/Language.h"
#include "project/Errors.h"
#include "project/Text.h"

#include <string_view>

namespace sw {

class TInstallContainer;
class TDialogManager;
class TCustomBaseInstallDlg;
class TFileStatusParameter;
class TDownloadStatusParameter;
class TDiskParameter;

// The language rules of a dialog: the language's font when `applyFont`, the
// texts translated from `textLanguage` when `translate` (into `fixed` when
// `useFixed`, else into the target language), then pending messages run.
// Returns the language the texts are in afterwards.
TPlmrLanguage ApplyDialogLanguage(TControl* dialog, bool applyFont, bool translate, bool useFixed, TPlmrLanguage fixed,
                                  TPlmrLanguage textLanguage);

// The component `name` of class T that the stream `resource` made in `page`;
// raises EComponentError "The form %s has no %s" when there is none.
template <class T> T* PageChild(const TComponent& page, const char* resource, const char* name) {
    auto* found = dynamic_cast<T*>(page.FindComponent(name));
    if (!found)
        throw EComponentError(Format("The form %s has no %s", {resource, name}));
    return found;
}

class TBasePellmoorForm : public TForm {
    SW_DECLARE_CLASS()
  public:
    // Joins the dialog form list; the font's character set becomes 0.
    explicit TBasePellmoorForm(TComponent* owner);
    ~TBasePellmoorForm() override;

    bool ApplyFont = true;
    bool DoTranslate = true;
    TInstallContainer* InstallContainer = nullptr;
    // The language the form's texts are in now.
    TPlmrLanguage TextLanguage = TPlmrLanguage::plEnglish;
    bool UseFixedLanguage = false;
    TPlmrLanguage FixedLanguage = TPlmrLanguage::plUser;

    // Translates again after a language change (the language is not used).
    virtual void Retranslate(TPlmrLanguage language);
    // Refreshes the controls from what they show.
    virtual void UpdatePage() {}
    // Applies the language's font and translates the texts from TextLanguage,
    // then lets pending messages run.
    virtual void Translate();

  protected:
    // Reads the form's stream, the RCDATA resource `name`, into this form.
    void ReadFormResource(std::string_view name);
};

// A wizard page. Owned by a form, it is shown as a borderless child window
// of that form.
class TBaseInstallForm : public TBasePellmoorForm {
    SW_DECLARE_CLASS()
  public:
    explicit TBaseInstallForm(TComponent* owner);

    TCustomBaseInstallDlg* DC() const { return dc_; }
    void SetDC(TCustomBaseInstallDlg* dc) { dc_ = dc; }
    TDialogManager* DM() const { return dm_; }
    void SetDM(TDialogManager* dm) { dm_ = dm; }
    int32_t Order = 0;

    // Every page before the current one is skipped (or there is none).
    virtual bool IsFirstPage();
    // The current page is the last of the container (skipped pages after it count).
    virtual bool IsLastPage();
    virtual void LeavePage() {}
    // Ends the stage with the abort result without asking.
    virtual void AbortStage();
    virtual void NextPage();
    virtual void PreviousPage();
    // Refreshes the page and brings it to the front.
    virtual void ActivatePage();
    virtual bool SkipPage() { return false; }
    // Ends the stage with the abort result when the install driver agrees.
    virtual void CancelStage();

  protected:
    // For a page's constructor: its manager and its place among the pages.
    void SetStage(TManagerType type, int32_t order);
    // Reads the page's stream; a page owned by a form becomes a borderless
    // child window of it, and an empty ThemeBitmap image shows the driver's
    // theme picture.
    void ReadPageResource(std::string_view name);

  private:
    TCustomBaseInstallDlg* dc_ = nullptr;
    TDialogManager* dm_ = nullptr;
};

class TBaseDuringCopyForm : public TBasePellmoorForm {
    SW_DECLARE_CLASS()
  public:
    using TBasePellmoorForm::TBasePellmoorForm;

    TDialogManager* DM() const { return dm_; }
    void SetDM(TDialogManager* dm) { dm_ = dm; }

    virtual void CancelCopy() {}
    // Either status may be none.
    virtual void UpdateStatus(TFileStatusParameter* /*file*/, TDownloadStatusParameter* /*download*/) {}

  private:
    TDialogManager* dm_ = nullptr;
};

class TBaseChangeDiskForm : public TBasePellmoorForm {
    SW_DECLARE_CLASS()
  public:
    using TBasePellmoorForm::TBasePellmoorForm;

    TDiskParameter* DiskParameter = nullptr;
    TDialogManager* DM() const { return dm_; }
    void SetDM(TDialogManager* dm) { dm_ = dm; }

    virtual void CancelDisk() {}

  private:
    TDialogManager* dm_ = nullptr;
};

} // namespace sw
