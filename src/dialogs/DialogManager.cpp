#include "dialogs/DialogManager.h"

#include "controls/StdCtrls.h"
#include "dialogs/BaseForms.h"
#include "dialogs/BaseInstallDlg.h"
#include "dialogs/DialogRegistries.h"
#include "dialogs/FormContainer.h"
#include "lang/Translator.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "objects/InstallMessages.h"
#include "objects/InstallParameters.h"
#include "system/InstallDriverContext.h"
#include "system/InstallErrors.h"

#include <algorithm>
#include <memory>

namespace sw {

SW_CLASS_INFO(TDialogManager, TInstallObject, prop::Reference("Container", &Self::Container, &Self::SetContainer),
              prop::Integer("Height", &Self::Height, 395),
              prop::Enumeration("ManagerType", &Self::ManagerType, ManagerTypeNames(),
                                std::optional(TManagerType::dmBeforeInstall)),
              prop::Enumeration("Position", &Self::Position, DialogPositionNames(),
                                std::optional(TPellmoorDialogPosition::pdpCenter)),
              prop::Integer("RelativeLeftOffset", &Self::RelativeLeftOffset, 0),
              prop::Integer("RelativeTopOffset", &Self::RelativeTopOffset, 0),
              prop::Integer("Width", &Self::Width, 478))

namespace {
// Frees a window made for one stage when the stage ends, also on errors.
struct TFreeAtEnd {
    TComponent* Component;
    ~TFreeAtEnd() { TComponent::Free(Component); }
};

// A failure of the change-disk request's parameter; not translated.
class EChangeDiskParameter : public ECustomPellmoorAbnormal {
    using ECustomPellmoorAbnormal::ECustomPellmoorAbnormal;
};
} // namespace

TDialogManager::TDialogManager(TComponent* owner) : TInstallObject(owner) {}

TDialogManager::~TDialogManager() { CloseProgressWindows(); }

TDialogManager* FindDialogManager(TManagerType type) {
    IInstallDriverContext* driver = InstallDriverContext();
    if (!driver)
        return nullptr;
    for (TInstallContainer* c : InstallContainers().ItemList()) {
        auto* manager = dynamic_cast<TDialogManager*>(c);
        if (manager && manager->ManagerType == type && manager->Container() &&
            manager->Container() == driver->DriverComponent())
            return manager;
    }
    return nullptr;
}

void TDialogManager::HandleInstallMessage(TInstallContainer*, int code, TPersistent* parameter) {
    switch (code) {
    case msg::BeforeInstall:
        if (ManagerType == TManagerType::dmBeforeInstall)
            Execute();
        break;
    case msg::AfterGoodInstall:
        if (ManagerType == TManagerType::dmAfterGoodInstall)
            Execute();
        break;
    case msg::AfterBadInstall:
        if (ManagerType == TManagerType::dmAfterBadInstall)
            Execute();
        break;
    case msg::RebootStage:
        if (ManagerType == TManagerType::dmReboot)
            Execute();
        break;
    case msg::Progress:
        if (ManagerType == TManagerType::dmDuringCopyFiles)
            UpdateProgress(StatusParameter<TFileStatusParameter>(parameter, "TFileStatusParameter"), nullptr);
        break;
    case msg::DownloadProgressShown:
        if (ManagerType == TManagerType::dmDuringCopyFiles)
            UpdateProgress(nullptr, StatusParameter<TDownloadStatusParameter>(parameter, "TDownloadStatusParameter"));
        break;
    case msg::PassEnded:
        if (ManagerType == TManagerType::dmDuringCopyFiles)
            CloseProgressWindows();
        break;
    case msg::DiskNeeded:
        if (ManagerType == TManagerType::dmChangeDisk)
            ShowChangeDisk(parameter);
        break;
    default:
        break;
    }
}

template <class P> P* TDialogManager::StatusParameter(TPersistent* parameter, const char* className) const {
    if (!parameter)
        throw IException("%s got a nil PO parameter", {Name()});
    auto* status = dynamic_cast<P*>(parameter);
    if (!status)
        throw IException(std::string("The PO object passed to %s is not a ") + className + " object", {Name()});
    return status;
}

void TDialogManager::Execute() {
    TRunningManager running(this);
    auto* container = new TBaseFormContainer(nullptr);
    TFreeAtEnd freeContainer{container};
    container->Position = TPosition::poDesigned;
    container->SetHeight(Height);
    container->SetWidth(Width);
    container->PlaceOnScreen(Position, RelativeLeftOffset, RelativeTopOffset);
    if (FillPages(container) == 0)
        return;
    if (container->ShowModal() == mrAbort)
        throw EAIUserAbort();
    if (TCustomForm* main = Application().MainForm())
        main->Repaint();
    Application().ProcessMessages();
}

int TDialogManager::FillPages(TBaseFormContainer* container) {
    TDialogManager* running = DialogsState().RunningManager;
    if (!running)
        throw IException("The current dialog manager is not defined");
    TBIFList* pages = DialogsState().Pages.get();
    if (!pages)
        throw IException("The BIFList is NIL");
    for (int i = 0; i < pages->Count(); ++i) {
        const TBIFEntry& entry = pages->Items(i);
        TCustomBaseInstallDlg* dialog = entry.Dialog;
        if (dialog && (dialog->DialogManager() != running || !dialog->ShowOrNot()))
            continue;
        TBaseInstallForm* page = entry.Create(container);
        if (!dialog && page->DM() != running) {
            TComponent::Free(page);
            continue;
        }
        if (dialog) {
            page->InstallContainer = dialog->InstallContainer;
            page->Order = dialog->Order();
            dialog->SetDialog(page);
            dialog->AssignDialogProperties();
        }
        container->AddPage(page);
    }
    container->SortPages();
    return static_cast<int>(container->Pages().size());
}

void TDialogManager::ShowChangeDisk(TPersistent* list) {
    TBCDFList* forms = DialogsState().ChangeDiskForms.get();
    if (!forms || forms->empty())
        return;
    TBaseChangeDiskForm* form = forms->front().Create(nullptr);
    TFreeAtEnd freeForm{form};
    TRunningManager running(this);
    if (form->DM() != this)
        return;
    if (!list)
        throw IException("The ParameterObject is Nil in the TDialogManager. Cannot show the change disk form");
    auto* pair = dynamic_cast<TFileDiskList*>(list);
    if (!pair)
        throw IException("TChangeDiskDlg--PO is not a TList object");
    if (!pair->File || !pair->Parameter)
        throw IException("TChangeDiskDlg--Not engouh parameters for status event");
    auto* file = dynamic_cast<TCustomInstallFile*>(pair->File);
    if (!file)
        throw EChangeDiskParameter("TChangeDiskDlg says bad first parameter");
    file->Tag = 1;
    form->DiskParameter = pair->Parameter;
    form->UpdatePage();
    form->Translate();
    if (form->ShowModal() == mrAbort)
        throw EAIUserAbort();
}

void TDialogManager::OpenProgressWindows() {
    TDCFList* forms = DialogsState().ProgressForms.get();
    if (!forms)
        return;
    for (const TDCFEntry& entry : *forms) {
        TBaseDuringCopyForm* window = entry.Create(nullptr);
        if (window->DM() != this) {
            TComponent::Free(window);
            continue;
        }
        progress_.push_back(window);
        if (entry.Dialog) {
            entry.Dialog->SetDialog(window);
            entry.Dialog->AssignDialogProperties();
            entry.Dialog->PlaceDialog();
        }
        window->UpdatePage();
        window->Translate();
        window->Show();
    }
}

void TDialogManager::UpdateProgress(TFileStatusParameter* file, TDownloadStatusParameter* download) {
    if (progress_.empty())
        OpenProgressWindows();
    for (TBaseDuringCopyForm* window : progress_)
        window->UpdateStatus(file, download);
}

void TDialogManager::CloseProgressWindows() {
    // A closed window is not shown again: the next copy opens new ones.
    std::vector<TBaseDuringCopyForm*> windows = std::move(progress_);
    progress_.clear();
    for (TBaseDuringCopyForm* window : windows) {
        window->Hide();
        TComponent::Free(window);
    }
}

void TDialogManager::AddDialog(TComponent* dialog) {
    if (!dialog)
        throw IException("Cannot add a NIL Dialog to the Dialog Manager %s", {Name()});
    if (std::find(dialogs_.begin(), dialogs_.end(), dialog) != dialogs_.end())
        return;
    dialogs_.push_back(dialog);
    dialog->FreeNotification(this);
}

void TDialogManager::RemoveDialog(TComponent* dialog) { std::erase(dialogs_, dialog); }

void TDialogManager::Notification(TComponent* component, TOperation operation) {
    TInstallObject::Notification(component, operation);
    if (operation == TOperation::opRemove)
        RemoveDialog(component);
}

} // namespace sw
