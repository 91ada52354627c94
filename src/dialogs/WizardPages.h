// The before-install pages: welcome, licence, readme and the program folder
// in the Start menu. They share one frame: a button bar with Back, Next and
// Cancel below a content area.
#pragma once

#include "dialogs/BaseForms.h"

#include <functional>

namespace sw {

class TButton;
class TEdit;
class TListBox;
class TMainLinkGroup;

// Runs `focus` when the page's container is activated with nothing focused
// inside: its first page becomes current before the container is on the
// screen, when no control can take the focus yet.
void FocusOnActivation(TBaseInstallForm& page, std::function<void()> focus);

// Puts the top-aligned controls of the page's ContentPanel back in the order
// the stream gives them, one below the other, at their current heights:
// hiding and showing them while translating lets alignment reorder them.
void RestackContent(TComponent& page);

// A page of the before-install stage with the common frame.
class TWizardPage : public TBaseInstallForm {
    SW_DECLARE_CLASS()
  public:
    // Back shows unless this is the first page; Next takes the focus.
    void UpdatePage() override;
    // Also when the container first comes on the screen with nothing focused.
    void ActivatePage() override;
    void Translate() override;

  protected:
    using TBaseInstallForm::TBaseInstallForm;
    // For the constructor of a page class (the stream's root is of that
    // class): reads the page's stream, finds its manager, binds the buttons.
    void ReadPage(const char* resource, int32_t order);
    void ShowBackButton();
    void FocusProceed();

    TButton* BackBtn = nullptr;
    TButton* ProceedBtn = nullptr;
    TButton* CancelBtn = nullptr;
};

class TWelcomeForm : public TWizardPage {
    SW_DECLARE_CLASS()
  public:
    explicit TWelcomeForm(TComponent* owner);
};

// Agreement shows the product's licence; Next means agreement and is not
// the default button.
class TLicenseForm : public TWizardPage {
    SW_DECLARE_CLASS()
  public:
    explicit TLicenseForm(TComponent* owner);
};

// Information shows the product's readme.
class TReadmeForm : public TWizardPage {
    SW_DECLARE_CLASS()
  public:
    explicit TReadmeForm(TComponent* owner);
};

// The folder of the main link group in the Programs menu: typed into
// FolderEdit or picked from the existing folders.
class TSelectFolderForm : public TWizardPage {
    SW_DECLARE_CLASS()
  public:
    explicit TSelectFolderForm(TComponent* owner);

    // Without a main link group there is nothing to choose.
    bool SkipPage() override { return mainLinkGroup_ == nullptr; }
    // Lists the existing folders and shows the group's folder, or the first
    // existing one when the group has none.
    void UpdatePage() override;

    TMainLinkGroup* MainLinkGroup() const { return mainLinkGroup_; }

  private:
    // The folders of the Programs menu, or Program Manager's groups where
    // the system has no Programs menu.
    void FillFolderList();
    // Makes the group's folder \<edit text> in the Programs menu.
    void FolderEditChange();
    void KeepSpacers();

    TEdit* FolderEdit = nullptr;
    TListBox* FolderListBox = nullptr;
    TMainLinkGroup* mainLinkGroup_ = nullptr;
};

} // namespace sw
