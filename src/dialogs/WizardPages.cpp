#include "dialogs/WizardPages.h"

#include "controls/Edits.h"
#include "controls/Lists.h"
#include "controls/StdCtrls.h"
#include "paths/PathSpecifier.h"
#include "paths/ShellFolders.h"
#include "paths/StandardSpecifiers.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "project/Errors.h"
#include "project/StringList.h"
#include "project/Text.h"
#include "shortcuts/LinkTargets.h"
#include "shortcuts/ShellLinkGroups.h"
#include "shortcuts/ShortcutsState.h"
#include "system/SystemHelpers.h"

namespace sw {

SW_CLASS_INFO(TWizardPage, TBaseInstallForm)
SW_CLASS_INFO(TWelcomeForm, TWizardPage)
SW_CLASS_INFO(TLicenseForm, TWizardPage)
SW_CLASS_INFO(TReadmeForm, TWizardPage)
SW_CLASS_INFO(TSelectFolderForm, TWizardPage)

void TWizardPage::ReadPage(const char* resource, int32_t order) {
    ReadPageResource(resource);
    SetStage(TManagerType::dmBeforeInstall, order);
    BackBtn = PageChild<TButton>(*this, resource, "BackBtn");
    ProceedBtn = PageChild<TButton>(*this, resource, "ProceedBtn");
    CancelBtn = PageChild<TButton>(*this, resource, "CancelBtn");
    BackBtn->OnClick = TNotifyEvent("BackBtnClick", [this](TPersistent*) { PreviousPage(); });
    ProceedBtn->OnClick = TNotifyEvent("ProceedBtnClick", [this](TPersistent*) { NextPage(); });
    CancelBtn->OnClick = TNotifyEvent("CancelBtnClick", [this](TPersistent*) { CancelStage(); });
}

void TWizardPage::ShowBackButton() { BackBtn->SetVisible(!IsFirstPage()); }

void TWizardPage::FocusProceed() {
    if (ProceedBtn->Visible() && Visible())
        ProceedBtn->SetFocus();
}

void FocusOnActivation(TBaseInstallForm& page, std::function<void()> focus) {
    if (auto* container = dynamic_cast<TCustomForm*>(page.Owner()))
        container->OnActivate = TNotifyEvent("PageActivate", [container, focus](TPersistent*) {
            if (!container->FocusedControl())
                focus();
        });
}

void RestackContent(TComponent& page) {
    auto* content = dynamic_cast<TWinControl*>(page.FindComponent("ContentPanel"));
    if (!content)
        return;
    int top = 0;
    for (int i = 0; i < content->ControlCount(); ++i) {
        TControl* control = content->Controls(i);
        if (control->Align() != TAlign::alTop || !control->Visible())
            continue;
        control->SetTop(top);
        top += control->Height();
    }
    content->Realign();
}

void TWizardPage::Translate() {
    TBaseInstallForm::Translate();
    RestackContent(*this);
}

void TWizardPage::ActivatePage() {
    TBaseInstallForm::ActivatePage();
    FocusOnActivation(*this, [this] { FocusProceed(); });
}

void TWizardPage::UpdatePage() {
    ShowBackButton();
    FocusProceed();
}

TWelcomeForm::TWelcomeForm(TComponent* owner) : TWizardPage(owner) { ReadPage("TWELCOMEFORM", 5); }

TLicenseForm::TLicenseForm(TComponent* owner) : TWizardPage(owner) { ReadPage("TLICENSEFORM", 20); }

TReadmeForm::TReadmeForm(TComponent* owner) : TWizardPage(owner) { ReadPage("TREADMEFORM", 30); }

TSelectFolderForm::TSelectFolderForm(TComponent* owner)
    : TWizardPage(owner), mainLinkGroup_(ShortcutsState().MainLinkGroup) {
    ReadPage("TSELECTFOLDERFORM", 60);
    FolderEdit = PageChild<TEdit>(*this, "TSELECTFOLDERFORM", "FolderEdit");
    FolderListBox = PageChild<TListBox>(*this, "TSELECTFOLDERFORM", "FolderListBox");
    FolderEdit->OnChange = TNotifyEvent("FolderEditChange", [this](TPersistent*) { FolderEditChange(); });
    FolderListBox->OnClick = TNotifyEvent("FolderListBoxClick", [this](TPersistent*) {
        const int index = FolderListBox->ItemIndex();
        if (index >= 0)
            FolderEdit->SetText(FolderListBox->Items()->Lines[static_cast<size_t>(index)]);
    });
    OnResize = TNotifyEvent("FormResize", [this](TPersistent*) { KeepSpacers(); });
}

void TSelectFolderForm::UpdatePage() {
    ShowBackButton();
    FillFolderList();
    std::string folder;
    if (mainLinkGroup_ && dynamic_cast<TpsProgramMenu*>(mainLinkGroup_->DestDirType())) {
        const std::string dir = mainLinkGroup_->DestDir();
        folder = dir.substr(dir.find_last_of('\\') + 1);
    }
    FolderEdit->SetText(folder);
    if (FolderEdit->Text().empty() && FolderListBox->Items()->Count() > 0)
        FolderEdit->SetText(FolderListBox->Items()->Lines.front());
    FocusProceed();
}

void TSelectFolderForm::FillFolderList() {
    FolderListBox->Clear();
    std::vector<std::string> folders;
    const int version = WindowsVersion();
    if (version == wvWindows95 || version == wvWindowsNT) {
        for (const DirectoryEntry& entry : GetPlatform().Files->ListDirectory(GetProgramsMenuFolder(), "*.*"))
            if (entry.Attributes & attr::Directory)
                folders.push_back(entry.Name);
    } else {
        TStrings groups;
        ProgramManager().GroupNames(groups);
        folders = groups.Lines;
    }
    FolderListBox->SetItems(folders);
}

void TSelectFolderForm::FolderEditChange() {
    if (!mainLinkGroup_)
        return;
    auto* programMenu = FindStandardSpecifier<TpsProgramMenu>();
    if (!programMenu) {
        EnsureStandardSpecifiers(mainLinkGroup_->Owner());
        programMenu = FindStandardSpecifier<TpsProgramMenu>();
    }
    mainLinkGroup_->SetDestDirType(programMenu);
    mainLinkGroup_->SetDestDir("\\" + FolderEdit->Text());
}

void TSelectFolderForm::KeepSpacers() {
    const std::pair<const char*, int> spacers[] = {{"Spacer1", 18}, {"Spacer2", 8}, {"Spacer3", 8}};
    for (const auto& [name, height] : spacers)
        if (auto* spacer = dynamic_cast<TControl*>(FindComponent(name)))
            spacer->SetHeight(height);
    RestackContent(*this);
}

} // namespace sw
