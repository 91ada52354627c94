#include "dialogs/FinishPages.h"

#include "controls/Boxes.h"
#include "controls/StdCtrls.h"
#include "dialogs/DialogDriver.h"
#include "dialogs/WizardPages.h"
#include "project/Errors.h"
#include "project/Text.h"

namespace sw {

SW_CLASS_INFO(TFinishPage, TBaseInstallForm)
SW_CLASS_INFO(TGoodInstallForm, TFinishPage)
SW_CLASS_INFO(TBadInstallForm, TFinishPage)
SW_CLASS_INFO(TRebootForm, TFinishPage)

void TFinishPage::ReadPage(const char* resource, TManagerType stage) {
    ReadPageResource(resource);
    SetStage(stage, 10);
    BackBtn = PageChild<TButton>(*this, resource, "BackBtn");
    ProceedBtn = PageChild<TButton>(*this, resource, "ProceedBtn");
    FinishBtn = PageChild<TButton>(*this, resource, "FinishBtn");
    BackBtn->OnClick = TNotifyEvent("BackBtnClick", [this](TPersistent*) { PreviousPage(); });
    ProceedBtn->OnClick = TNotifyEvent("ProceedBtnClick", [this](TPersistent*) { NextPage(); });
    FinishBtn->OnClick = TNotifyEvent("FinishBtnClick", [this](TPersistent*) { NextPage(); });
}

void TFinishPage::ShowButtons() {
    BackBtn->SetVisible(!IsFirstPage());
    ProceedBtn->SetVisible(!IsLastPage());
    FinishBtn->SetVisible(!ProceedBtn->Visible());
}

void TFinishPage::UpdatePage() {
    ShowButtons();
    FocusButton();
}

void TFinishPage::Translate() {
    TBaseInstallForm::Translate();
    RestackContent(*this);
}

void TFinishPage::ActivatePage() {
    TBaseInstallForm::ActivatePage();
    FocusOnActivation(*this, [this] { FocusButton(); });
}

void TFinishPage::FocusButton() {
    TButton* shown = ProceedBtn->Visible() ? ProceedBtn : FinishBtn;
    if (Visible())
        shown->SetFocus();
}

void TRebootForm::FocusButton() {
    if (ProceedBtn->Visible() && Visible())
        ProceedBtn->SetFocus();
}

TGoodInstallForm::TGoodInstallForm(TComponent* owner) : TFinishPage(owner) {
    ReadPage("TGOODINSTALLFORM", TManagerType::dmAfterGoodInstall);
}

TBadInstallForm::TBadInstallForm(TComponent* owner) : TFinishPage(owner) {
    ReadPage("TBADINSTALLFORM", TManagerType::dmAfterBadInstall);
}

TRebootForm::TRebootForm(TComponent* owner) : TFinishPage(owner) {
    ReadPage("TREBOOTFORM", TManagerType::dmReboot);
    RG = PageChild<TRadioGroup>(*this, "TREBOOTFORM", "RG");
    RG->OnClick = TNotifyEvent("RGClick", [this](TPersistent*) { RGClick(); });
}

void TRebootForm::UpdatePage() {
    TFinishPage::UpdatePage();
    IDialogDriver* driver = DialogDriver();
    preset_ = true;
    RG->SetItemIndex(1);
    if (driver && driver->GetReboot())
        RG->SetItemIndex(0);
    preset_ = false;
}

void TRebootForm::RGClick() {
    IDialogDriver* driver = DialogDriver();
    if (!preset_ && driver)
        driver->SetReboot(RG->ItemIndex() == 0);
}

} // namespace sw
