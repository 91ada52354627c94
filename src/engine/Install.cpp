#include "engine/Install.h"

#include "archive/MainArchiveEngine.h"
#include "controls/Forms.h"
#include "controls/Graphics.h"
#include "dialogs/DialogManager.h"
#include "dialogs/DialogRegistries.h"
#include "lang/Translator.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "objects/InstallRegistry.h"
#include "objects/NetInstallLocation.h"
#include "objects/UninstallExe.h"
#include "paths/StandardSpecifiers.h"
#include "project/ClassRegistry.h"
#include "project/ProgramState.h"
#include "project/TranslateHook.h"
#include "shortcuts/InstallShellLink.h"
#include "shortcuts/ShortcutsState.h"
#include "system/InstallDriverContext.h"
#include "system/InstallRecord.h"
#include "visual/VisualState.h"

namespace sw {

SW_CLASS_INFO(TInstall, TCustomInstall,
              prop::Boolean("AllowChangeDir", &Self::AllowChangeDir, &Self::SetAllowChangeDir, true),
              prop::Boolean("AutoMaximizeWindow", &Self::AutoMaximizeWindow, &Self::SetAutoMaximizeWindow, true),
              prop::Object("BuildInfo", &Self::BuildInfo), prop::Object("Description", &Self::Description),
              prop::String("DestDir", &Self::DestDir, &Self::SetDestDir, std::nullopt),
              prop::Reference("DestDirType", &Self::DestDirType, &Self::SetDestDirType),
              prop::Object("DialogThemeBitmap", &Self::DialogThemeBitmap),
              prop::Enumeration("DistributeType", &Self::DistributeType, &Self::SetDistributeType,
                                DistributeTypeNames(), std::optional(TDistributeType::dtTraditional)),
              prop::String("GroupName", &Self::GroupName, &Self::SetGroupName, std::nullopt),
              prop::Boolean("HideMainForm", &Self::HideMainForm, &Self::SetHideMainForm, std::nullopt),
              prop::Object("Information", &Self::Information),
              prop::Set("InstallTypes", &Self::InstallTypes, &Self::SetInstallTypes, InstallTypeNames(),
                        InstallTypeBit(TInstallType::itAlways)),
              prop::Reference("NetLocation", &Self::NetLocation, &Self::SetNetLocation),
              prop::Object("PresetupFiles", &Self::PresetupFiles), prop::Boolean("Reboot", &Self::Reboot, std::nullopt),
              prop::Boolean("RunAutomatic", &Self::RunAutomatic, true),
              prop::Boolean("UseLoadingProgram", &Self::UseLoadingProgram, &Self::SetUseLoadingProgram, std::nullopt),
              prop::Event("OnAfterInitialized", &Self::OnAfterInitialized),
              prop::Event("OnAfterInstallObjects", &Self::OnAfterInstallObjects),
              prop::Event("OnAfterNotifyBadInstall", &Self::OnAfterNotifyBadInstall),
              prop::Event("OnAfterNotifyGoodInstall", &Self::OnAfterNotifyGoodInstall),
              prop::Event("OnAfterReadArchiveInfo", &Self::OnAfterReadArchiveInfo),
              prop::Event("OnBeforeCleanup", &Self::OnBeforeCleanup),
              prop::Event("OnBeforeInstallObjects", &Self::OnBeforeInstallObjects),
              prop::Event("OnBeforeNotifyBadInstall", &Self::OnBeforeNotifyBadInstall),
              prop::Event("OnBeforeNotifyGoodInstall", &Self::OnBeforeNotifyGoodInstall),
              prop::Event("OnBeforeReadArchiveInfo", &Self::OnBeforeReadArchiveInfo),
              prop::Event("OnBeforeReboot", &Self::OnBeforeReboot),
              prop::Event("OnBeforeRunFile", &Self::OnBeforeRunFile),
              prop::Event("OnBeforeShutdown", &Self::OnBeforeShutdown),
              prop::Event("OnFailedReboot", &Self::OnFailedReboot), prop::Event("OnNewDisk", &Self::OnNewDisk),
              prop::Event("OnReplacing", &Self::OnReplacing), prop::Event("OnStatus", &Self::OnStatus),
              prop::Event("OnUserAbort", &Self::OnUserAbort))

void RegisterInstallerClasses() {
    RegisterClass<TInstall>();
    RegisterClass<TInstallFile>();
    RegisterClass<TInstallFileGroup>();
    RegisterClass<TInstallRegistry>();
    RegisterClass<TNetInstallLocation>();
    RegisterClass<TUninstallEXE>();
    RegisterClass<TDialogManager>();
    RegisterPathSpecifierClasses();
    RegisterShortcutClasses();
}

void CreateProgramWideObjects(TProgramState& state) {
    state.Part<TClassRegistry>();
    state.Part<TInstallRecordState>();
    state.Part<TDriverSlot>();
    state.Part<TInstallObjectsState>();
    state.Part<TMainArchiveEngineSlot>();
    state.Part<TNetLocationState>();
    state.Part<TPathSpecifierLists>();
    state.Part<TShortcutsState>();
    state.Part<TTranslateHookSlot>();
    state.Part<TTranslatorSlot>();
    state.Part<TDialogsState>();
    state.Part<TVisualState>();
    // Last, so that it goes first: it frees the project's forms, whose
    // components leave the lists above.
    state.Part<TApplication>();
}

} // namespace sw
