#include "dialogs/BaseInstallDlg.h"

#include "controls/StdCtrls.h"
#include "dialogs/BaseForms.h"
#include "dialogs/DialogManager.h"
#include "project/Errors.h"
#include "system/InstallErrors.h"

namespace sw {

SW_CLASS_INFO(TCustomBaseInstallDlg, TInstallObject)

TCustomBaseInstallDlg::TCustomBaseInstallDlg(TComponent* owner)
    : TInstallObject(owner), theme_(std::make_unique<TPicture>()) {}

TCustomBaseInstallDlg::~TCustomBaseInstallDlg() {
    if (manager_)
        manager_->RemoveDialog(this);
}

void TCustomBaseInstallDlg::SetDialogManager(TDialogManager* manager) {
    if (manager_ == manager)
        return;
    if (manager_)
        manager_->RemoveDialog(this);
    manager_ = manager;
    if (manager_)
        manager_->AddDialog(this);
}

void TCustomBaseInstallDlg::SetThemePicture(const TPicture& picture) { theme_->Assign(picture); }

void TCustomBaseInstallDlg::ApplyLanguage() {
    if (dialog_)
        TextLanguage =
            ApplyDialogLanguage(dialog_, ApplyFont, DoTranslate, UseFixedLanguage, FixedLanguage, TextLanguage);
}

void TCustomBaseInstallDlg::AssignDialogProperties() {
    if (!dialog_)
        throw IException("Cannot AssignDialogProperties for %s because the Dialog is Nil", {Name()});
    dialog_->ApplyFont = ApplyFont;
    dialog_->DoTranslate = DoTranslate;
    dialog_->UseFixedLanguage = UseFixedLanguage;
    dialog_->FixedLanguage = FixedLanguage;
    dialog_->InstallContainer = InstallContainer;
    if (auto* page = dynamic_cast<TBaseInstallForm*>(dialog_))
        page->SetDC(this);
    ApplyLanguage();
}

void TCustomBaseInstallDlg::PlaceDialog() {
    if (!dialog_)
        return;
    Bounds size = dialog_->BoundsRect();
    if (Width > 0)
        size.Width = Width;
    if (Height > 0)
        size.Height = Height;
    dialog_->SetBounds(PlaceWindow(Position, LeftOffset, TopOffset, size, CurrentScreen()));
}

bool TCustomBaseInstallDlg::Run() {
    OnBeforeRun(this);
    bool result = true;
    try {
        TFormFactory create = FormClass();
        if (ShowOrNot() && create) {
            TBasePellmoorForm* form = create(nullptr);
            struct TFreeForm {
                TCustomBaseInstallDlg& dlg;
                TBasePellmoorForm* form;
                ~TFreeForm() {
                    dlg.dialog_ = nullptr;
                    TComponent::Free(form);
                }
            } freeForm{*this, form};
            dialog_ = form;
            AssignDialogProperties();
            PlaceDialog();
            if (form->ShowModal() != mrOk)
                throw EAIUserAbort();
        }
    } catch (const EAbort&) {
        result = false;
    }
    Application().ProcessMessages();
    OnAfterRun(this);
    return result;
}

void TCustomBaseInstallDlg::Show() { Run(); }

void TCustomBaseInstallDlg::Notification(TComponent* component, TOperation operation) {
    TInstallObject::Notification(component, operation);
    if (operation == TOperation::opRemove && component == manager_)
        manager_ = nullptr;
    if (operation == TOperation::opRemove && component == dialog_)
        dialog_ = nullptr;
}

} // namespace sw
