#include "dialogs/BaseForms.h"

#include "controls/ExtCtrls.h"
#include "controls/StdCtrls.h"
#include "dialogs/BaseInstallDlg.h"
#include "dialogs/DialogDriver.h"
#include "dialogs/DialogManager.h"
#include "dialogs/DialogRegistries.h"
#include "dialogs/FormContainer.h"
#include "lang/Translator.h"
#include "project/PropInfo.h"
#include "system/InstallDriverContext.h"
#include "system/ProgramResources.h"

#include <algorithm>

namespace sw {

IDialogDriver* DialogDriver() {
    IInstallDriverContext* driver = InstallDriverContext();
    return driver ? dynamic_cast<IDialogDriver*>(driver->DriverComponent()) : nullptr;
}

SW_CLASS_INFO(TBasePellmoorForm, TForm)

SW_CLASS_INFO(TBaseInstallForm, TBasePellmoorForm, prop::Reference("DC", &Self::DC, &Self::SetDC),
              prop::Reference("DM", &Self::DM, &Self::SetDM), prop::Integer("Order", &Self::Order, 0))

SW_CLASS_INFO(TBaseDuringCopyForm, TBasePellmoorForm, prop::Reference("DM", &Self::DM, &Self::SetDM))

SW_CLASS_INFO(TBaseChangeDiskForm, TBasePellmoorForm, prop::Reference("DM", &Self::DM, &Self::SetDM))

TBasePellmoorForm::TBasePellmoorForm(TComponent* owner) : TForm(owner) {
    DialogsState().Forms.push_back(this);
    Font()->SetCharset(0);
}

TBasePellmoorForm::~TBasePellmoorForm() { std::erase(DialogsState().Forms, this); }

void TBasePellmoorForm::Retranslate(TPlmrLanguage) { Translate(); }

TPlmrLanguage ApplyDialogLanguage(TControl* dialog, bool applyFont, bool translate, bool useFixed, TPlmrLanguage fixed,
                                  TPlmrLanguage textLanguage) {
    if (applyFont) {
        if (useFixed)
            ApplyLanguageFontInto(fixed, dialog, false);
        else
            ApplyLanguageFont(dialog, false);
    }
    if (translate)
        textLanguage =
            useFixed ? TranslateComponentInto(textLanguage, fixed, dialog) : TranslateComponent(textLanguage, dialog);
    Application().ProcessMessages();
    return textLanguage;
}

void TBasePellmoorForm::Translate() {
    TextLanguage = ApplyDialogLanguage(this, ApplyFont, DoTranslate, UseFixedLanguage, FixedLanguage, TextLanguage);
}

void TBasePellmoorForm::ReadFormResource(std::string_view name) { ReadComponentResource(name, this); }

TBaseInstallForm::TBaseInstallForm(TComponent* owner) : TBasePellmoorForm(owner) {}

void TBaseInstallForm::SetStage(TManagerType type, int32_t order) {
    SetDM(FindDialogManager(type));
    Order = order;
}

void TBaseInstallForm::ReadPageResource(std::string_view name) {
    ReadFormResource(name);
    if (auto* host = dynamic_cast<TCustomForm*>(Owner())) {
        SetVisible(false);
        Position = TPosition::poDefault;
        BorderIcons = 0;
        BorderStyle = TFormBorderStyle::bsNone;
        SetHostForm(host);
        SetBounds({0, 0, host->ClientWidth(), host->Height()});
    }
    auto* theme = dynamic_cast<TImage*>(FindComponent("ThemeBitmap"));
    IDialogDriver* driver = DialogDriver();
    if (theme && theme->Picture()->Bitmap().Empty() && driver && driver->DialogThemeBitmap()) {
        theme->Picture()->Assign(*driver->DialogThemeBitmap());
        theme->PictureChanged();
    }
}

namespace {
TBaseFormContainer* ContainerOf(const TBaseInstallForm& page) {
    return dynamic_cast<TBaseFormContainer*>(page.Owner());
}
} // namespace

bool TBaseInstallForm::IsFirstPage() {
    TBaseFormContainer* container = ContainerOf(*this);
    if (!container)
        return false;
    const auto& pages = container->Pages();
    const int current = container->CurrentIndex();
    for (int i = 0; i < current && i < static_cast<int>(pages.size()); ++i)
        if (!pages[static_cast<size_t>(i)]->SkipPage())
            return false;
    return true;
}

bool TBaseInstallForm::IsLastPage() {
    TBaseFormContainer* container = ContainerOf(*this);
    return container && container->CurrentIndex() + 1 == static_cast<int>(container->Pages().size());
}

void TBaseInstallForm::AbortStage() {
    TBaseFormContainer* container = ContainerOf(*this);
    (container ? static_cast<TCustomForm*>(container) : this)->SetModalResult(mrAbort);
}

void TBaseInstallForm::CancelStage() {
    IDialogDriver* driver = DialogDriver();
    if (!driver || driver->QueryUserAbort())
        AbortStage();
}

void TBaseInstallForm::NextPage() {
    if (TBaseFormContainer* container = ContainerOf(*this))
        container->NextPage();
}

void TBaseInstallForm::PreviousPage() {
    if (TBaseFormContainer* container = ContainerOf(*this))
        container->PreviousPage();
}

void TBaseInstallForm::ActivatePage() {
    UpdatePage();
    BringToFront();
    // Keys typed next go to the page in front.
    if (!FocusedControl())
        SelectNext(nullptr, true);
}

} // namespace sw
