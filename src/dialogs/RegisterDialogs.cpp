#include "dialogs/RegisterDialogs.h"

#include "dialogs/BaseForms.h"
#include "dialogs/ChangeDiskForm.h"
#include "dialogs/CopyFileForm.h"
#include "dialogs/DialogRegistries.h"
#include "dialogs/FileGroupSelectForm.h"
#include "dialogs/FinishPages.h"
#include "dialogs/SelectLanguageForm.h"
#include "dialogs/WizardPages.h"

namespace sw {

void RegisterDialogClasses() {
    CreateDialogRegistries();
    RegisterPageForm<TSelectLanguageForm>();
    RegisterPageForm<TWelcomeForm>();
    RegisterPageForm<TLicenseForm>();
    RegisterPageForm<TReadmeForm>();
    RegisterPageForm<TFileGroupSelectForm>();
    RegisterPageForm<TSelectFolderForm>();
    RegisterPageForm<TGoodInstallForm>();
    RegisterPageForm<TBadInstallForm>();
    RegisterPageForm<TRebootForm>();
    RegisterProgressForm<TCopyFileForm>();
    RegisterChangeDiskForm<TChangeDiskForm>();
}

void CreateDialogInstances() {
    // A tool run (-b, -f) has ended already: no dialog of it will show.
    if (Application().Terminated())
        return;
    TDialogsState& state = DialogsState();
    if (state.Pages)
        for (int i = 0; i < state.Pages->Count(); ++i)
            Application().Adopt(state.Pages->Items(i).Create(nullptr));
    if (state.ProgressForms)
        for (const TDCFEntry& entry : *state.ProgressForms)
            Application().Adopt(entry.Create(nullptr));
    if (state.ChangeDiskForms)
        for (const TBCDFEntry& entry : *state.ChangeDiskForms)
            Application().Adopt(entry.Create(nullptr));
}

} // namespace sw
