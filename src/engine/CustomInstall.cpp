#include "engine/CustomInstall.h"

#include "controls/Graphics.h"
#include "engine/SetupExit.h"
#include "objects/NetInstallLocation.h"
#include "paths/StandardSpecifiers.h"
#include "platform/Gui.h"
#include "platform/PhaseProfile.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "platform/SystemInfo.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/InstallRecord.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

#include <algorithm>
#include <cstring>

namespace sw {

TCustomInstall* InstallDriver() { return dynamic_cast<TCustomInstall*>(InstallDriverContext()); }

SW_CLASS_INFO(TCustomInstall, TFileContainer)

TCustomInstall::TCustomInstall(TComponent* owner)
    : TFileContainer(owner), buildInfo_(std::make_unique<TBuildInfo>()),
      dialogThemeBitmap_(std::make_unique<TPicture>()), information_(std::make_unique<TInstallInformation>()),
      presetupFiles_(std::make_unique<TStrings>()) {
    if (InstallDriverContext())
        throw IEInstall("The TInstall component does not currently support the use of 2 TInstall components in the "
                        "same project");
    if (!dynamic_cast<TCustomForm*>(owner) && !dynamic_cast<TDataModule*>(owner))
        throw IEInstall("The owner of the TInstall component must be a form class (TCustomForm or TForm)");
    installable_ = true;
    dialogThemeBitmap_->Bitmap().LoadFromResourceName("INSTALLTHEME1");
    dialogThemeBitmap_->Bitmap().SetSize(117, 290);
    AssignArchiveFileType(StandardPathSpecifiers().FindByClass<TpsMainArchiveFile>());
    SetDestDirType(StandardPathSpecifiers().FindByClass<TpsProgramFiles>());
    SetDestDir("\\MyApplication");
    SetAllowChoice(false);
    groupName_ = "Main";
    SetInstallDriverContext(this);
    Application().OnException = [this](std::exception_ptr e) { HandleException(e); };
}

TCustomInstall::~TCustomInstall() {
    if (!IsDesigning() && targetForm_ && !targetForm_->IsDestroying())
        RestoreActivationHandler();
    if (InstallDriverContext() == this)
        SetInstallDriverContext(nullptr);
    Application().OnException = nullptr;
    StartCleanupBatch();
}

void TCustomInstall::StartCleanupBatch() {
    if (!cleanupPending_)
        return;
    cleanupPending_ = false;
    MarkPhase("setup: start the cleanup batch");
    try {
        // The batch starts in its own folder, not in the program's (the current folder of the setup program the
        // loading program started): no folder can be removed while a running program has it as its current one.
        GetPlatform().System->SetCurrentDirectory(ExtractFileDir(cleanupBatch_));
        GetPlatform().Processes->Start("\"" + cleanupBatch_ + "\"", WindowState::Hidden);
    } catch (const std::exception&) {
        // The program is ending: a batch that cannot start leaves the files.
    }
}

int TCustomInstall::SwitchIndex(char letter) {
    const char lower = static_cast<char>(letter >= 'A' && letter <= 'Z' ? letter - 'A' + 'a' : letter);
    const char* found = lower ? std::strchr(kSwitchLetters, lower) : nullptr;
    return found ? static_cast<int>(found - kSwitchLetters) : -1;
}

bool TCustomInstall::SwitchGiven(char letter) const {
    const int index = SwitchIndex(letter);
    return index >= 0 && (switches_ & (1u << index)) != 0;
}

const std::string& TCustomInstall::SwitchValue(char letter) const {
    static const std::string none;
    const int index = SwitchIndex(letter);
    return index >= 0 ? values_[static_cast<size_t>(index)] : none;
}

std::string TCustomInstall::ProjectTitle() const { return information_->ProductName + " Installation"; }


std::string TCustomInstall::FindInstallRecord(bool create) {
    const std::string selfExtract =
        SwitchGiven('e') ? IncludeTrailingBackslash(installSource_) + SwitchValue('e') : std::string();
    return sw::FindInstallRecord(create, selfExtract);
}

void TCustomInstall::RemoveInstallRecord() { sw::RemoveInstallRecord(); }

void TCustomInstall::ParseCommandLine() {
    switches_ = 0;
    values_ = {};
    for (const std::string& arg : GetPlatform().System->Arguments()) {
        const int index = arg.size() >= 2 && arg[0] == '-' ? SwitchIndex(arg[1]) : -1;
        if (index < 0)
            throw IException("Invalid parameter <%s>. Valid command line parameters are: -b (Build), -d "
                             "(Debug), -f (Transfer to floppies), -e (Called by self-extractor), -r (After "
                             "reboot)",
                             {arg});
        switches_ |= 1u << index;
        values_[static_cast<size_t>(index)] = arg.substr(2);
    }
}

void TCustomInstall::SetAutoMaximizeWindow(bool on) {
    autoMaximizeWindow_ = on;
    if (on && !IsLoading())
        hideMainForm_ = false;
}

void TCustomInstall::SetHideMainForm(bool on) {
    hideMainForm_ = on;
    if (on && !IsLoading())
        autoMaximizeWindow_ = false;
}

void TCustomInstall::SetBuildInfo(const TBuildInfo& info) { buildInfo_->Assign(info); }

void TCustomInstall::SetDialogThemeBitmap(const TPicture& picture) { dialogThemeBitmap_->Assign(picture); }

void TCustomInstall::SetDistributeType(TDistributeType type) {
    if (IsLoading() || type == distributeType_) {
        distributeType_ = type;
        return;
    }
    if (!IsDesigning())
        throw IEInstall("DistributeType can only be set at design-time");
    if (type != TDistributeType::dtTraditional && !NetLocation())
        throw IEInstallNetLocNil("Must assign a net location via the NetLocation property before you can set the "
                                 "distribute type");
    distributeType_ = type;
}

void TCustomInstall::SetNetLocation(TCustomNetInstallLocation* location) {
    TFileContainer::SetNetLocation(location);
    SetGlobalNetLocation(location);
    if (!location)
        distributeType_ = TDistributeType::dtTraditional;
}

void TCustomInstall::SetPresetupFiles(const TStrings& files) {
    std::vector<std::string> lines = files.Lines;
    for (size_t i = lines.size(); i-- > 0;)
        if (Trim(lines[i]).empty())
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
    presetupFiles_->Lines = std::move(lines);
}

void TCustomInstall::SetUseLoadingProgram(bool on) {
    useLoadingProgram_ = on;
    if (on && !IsLoading())
        SetArchiveFileType(StandardPathSpecifiers().FindByClass<TpsMainArchiveFile>());
}

void TCustomInstall::AddPresetupFile(const std::string& path, bool checkDuplicates) {
    if (checkDuplicates) {
        const std::string name = ExtractFileName(path);
        const auto& lines = presetupFiles_->Lines;
        if (std::any_of(lines.begin(), lines.end(),
                        [&](const std::string& line) { return SameText(ExtractFileName(line), name); }))
            return;
    }
    presetupFiles_->Add(path);
}


void TCustomInstall::Loaded() {
    TFileContainer::Loaded();
    ParseCommandLine();
    if (SwitchGiven('d') && (!SwitchGiven('s') || Trim(SwitchValue('s')).empty()))
        throw IEInstall("You forgot to pass in the build directory. In Run | Parameters, follow this format: -d "
                        "\"-sC:\\My Build\"");
    installSource_ = SwitchGiven('s') ? SwitchValue('s')
                                      : ExcludeTrailingBackslash(ExtractFileDir(GetPlatform().System->ModulePath()));
    // Until an install run records its own start, the run began with the program.
    SetRunStartTime(DayCountOf(GetPlatform().System->LocalTime()));
    SetInstallRecordKeyPath(FindInstallRecord(false));
    downloadedMainArchive_ = RecordedLocalArchive();
    if (!downloadedMainArchive_.empty())
        localArchivePath_ = downloadedMainArchive_;
    ChooseTargetForm();
    SelectInstallType();
    Dispatch();
}

void TCustomInstall::ChooseTargetForm() {
    targetForm_ = Application().MainForm();
    if (!targetForm_)
        targetForm_ = dynamic_cast<TCustomForm*>(Owner());
    if (!targetForm_ && RunAutomatic)
        throw IEInstall("Application.MainForm is undefined and the TInstall is not on a form. Therefore, therefore "
                        "the TInstall can't run the installation automatically");
    if (targetForm_)
        FreeNotification(targetForm_);
}

void TCustomInstall::SelectInstallType() {
    SetCurrentInstallType(TInstallType::itAlways);
    for (TInstallType type :
         {TInstallType::itDefault, TInstallType::itCompact, TInstallType::itFull, TInstallType::itCustom}) {
        if (InstallTypes() & InstallTypeBit(type)) {
            SetCurrentInstallType(type);
            return;
        }
    }
}

template <class Mode> void TCustomInstall::RunToolMode(Mode mode) {
    try {
        mode();
    } catch (const std::exception& e) {
        SetSetupExitCode(TSetupExit::Failed);
        GetPlatform().Gui->MessageBox(e.what(), Application().Title(), mb::Ok);
    }
    Application().Terminate();
}

void TCustomInstall::Dispatch() {
    if (SwitchGiven('b')) {
        RunToolMode([this] { BuildFromBuildInf(); });
    } else if (SwitchGiven('f')) {
        RunToolMode([this] { TransferToFloppies("a:"); });
    } else if (SwitchGiven('r')) {
        FinishAfterRestart();
    } else if (targetForm_) {
        HookTargetForm();
        if (hideMainForm_) {
            targetForm_->SetLeft(-2 * targetForm_->Width());
            targetForm_->SetTop(-2 * targetForm_->Height());
        }
    }
}

void TCustomInstall::HookTargetForm() {
    if (!dynamic_cast<TForm*>(targetForm_))
        return;
    savedActivate_ = targetForm_->OnActivate;
    targetForm_->OnActivate = TNotifyEvent(savedActivate_.Name, [this](TPersistent*) { FormActivated(); });
    hooked_ = true;
}

void TCustomInstall::RestoreActivationHandler() {
    if (!hooked_)
        return;
    targetForm_->OnActivate = savedActivate_;
    hooked_ = false;
}

void TCustomInstall::FormActivated() {
    if (activated_)
        return;
    savedActivate_(Owner());
    activated_ = true;
    if (autoMaximizeWindow_) {
        targetForm_->SetWindowState(TWindowState::wsMaximized);
        targetForm_->Repaint();
    }
    if (!RunAutomatic)
        return;
    if (savedActivate_ && !(Owner() && Owner()->IsDestroying()))
        RestoreActivationHandler();
    Install();
}

void TCustomInstall::Notification(TComponent* component, TOperation operation) {
    TFileContainer::Notification(component, operation);
    if (operation == TOperation::opRemove && component && component == targetForm_) {
        targetForm_ = nullptr;
        hooked_ = false;
    }
}

} // namespace sw
