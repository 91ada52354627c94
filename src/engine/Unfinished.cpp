// Work left for the next start of Windows: the unfinished list in the install
// record, the RunOnce command, the restart itself and the r mode that
// completes the list.
#include "engine/CustomInstall.h"

#include "lang/Translator.h"
#include "objects/InstallLists.h"
#include "platform/FileSystem.h"
#include "platform/Gui.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/InstallRecord.h"
#include "system/RegistryHelpers.h"
#include "system/StringHelpers.h"
#include "system/SystemHelpers.h"

namespace sw {

namespace {

constexpr RegistryRoot hklm = RegistryRoot::LocalMachine;
constexpr const char* kRestartValueName = "PellmoorUnfinished";

std::string UnfinishedKey() {
    const std::string& record = InstallRecordKeyPath();
    if (record.empty())
        throw IEInstall("The TInstall could not either write or read unfinished business from the registry");
    return record + "\\Unfinished";
}

} // namespace

void TCustomInstall::AddUnfinished(const std::string& subject, int32_t kind) {
    const std::string key = UnfinishedKey();
    ++unfinishedCount_;
    WriteRegString(hklm, key, subject, std::to_string(kind));
}

void TCustomInstall::ClearUnfinished() { DeleteRegKeyTree(hklm, UnfinishedKey()); }

void TCustomInstall::ReadUnfinished(TStrings& list) {
    list.Clear();
    const std::string key = UnfinishedKey();
    IRegistry& reg = *GetPlatform().Registry;
    if (!reg.KeyExists(hklm, key))
        return;
    for (const std::string& name : reg.ValueNames(hklm, key))
        list.Add(name + ";" + reg.ReadString(hklm, key, name, ""));
}

std::string TCustomInstall::RestartCommand() const {
    Platform& platform = GetPlatform();
    const std::string program = platform.System->ModulePath();
    std::string launcher = program;
    if (SwitchGiven('e')) {
        launcher = IncludeTrailingBackslash(installSource_) + SwitchValue('e');
    } else if (useLoadingProgram_) {
        const std::vector<std::string> args = platform.System->Arguments();
        launcher = IncludeTrailingBackslash(installSource_) + (args.size() > 1 ? args[1] : std::string());
    }
    std::string command = "\"" + program + "\" -r";
    if (SwitchGiven('e'))
        command += " \"-e" + ExtractFileName(launcher) + "\"";
    command += " \"-s" + ExcludeTrailingBackslash(ExtractFileDir(launcher)) + "\"";
    if (SwitchGiven('c'))
        command += " -c";
    return command;
}

void TCustomInstall::RegisterRestart() {
    if (!AddRunOnce(kRestartValueName, RestartCommand(), true))
        throw IEInstall("Cannot register the install to be run on reboot in the RunOnce key in the registry");
}

void TCustomInstall::RebootWindows() {
    int version = wvOther;
    try {
        version = WindowsVersion();
    } catch (const EAPIRoutines&) {
        // An unknown system is not restarted.
    }
    bool restarted = false;
    if (version == wvWindows95 || version == wvWindowsNT)
        restarted = GetPlatform().Processes->RebootWindows(version == wvWindowsNT);
    if (restarted)
        return;
    if (OnFailedReboot)
        OnFailedReboot(this);
    else
        GetPlatform().Gui->MessageBox(TranslateEnglish("Could not reboot windows. Please manually reboot windows."),
                                      Application().Title(), mb::Ok);
}

void TCustomInstall::SaveLanguage() {
    if (TTranslator* translator = GlobalTranslator())
        SaveInstallLanguage(static_cast<int32_t>(translator->TranslateIntoLanguage()));
}

void TCustomInstall::SelectSavedLanguage() {
    TTranslator* translator = GlobalTranslator();
    if (!translator)
        return;
    const auto current = static_cast<int32_t>(translator->TranslateIntoLanguage());
    const int32_t saved = ReadSavedInstallLanguage(current);
    // A value outside the enumeration is no language: the selection stays.
    if (saved >= 0 && saved <= static_cast<int32_t>(plVietnamese))
        translator->SetTranslateIntoLanguage(static_cast<TPlmrLanguage>(saved));
}

void TCustomInstall::FinishAfterRestart() {
    running_ = true;
    SetInstallRecordKeyPath(FindInstallRecord(false));
    SelectSavedLanguage();
    TStrings entries;
    ReadUnfinished(entries);
    ClearUnfinished();
    for (const std::string& entry : entries.Lines)
        FinishEntry(entry);
    EndGoodInstall();
}

void TCustomInstall::FinishEntry(const std::string& entry) {
    const std::string subject = GetField(entry, 1);
    const std::string kindText = GetField(entry, 2);
    int32_t kind = 0;
    try {
        kind = StrToInt(kindText.substr(0, kindText.find(';')));
    } catch (const EConvertError&) {
        throw IEInstall("There is an invalid entry for the unfinished install list %s", {entry});
    }
    if (kind == 1) {
        GetPlatform().Files->DeleteFile(subject);
    } else if (kind == 0) {
        // A container that finishes may free others: the list is read anew.
        // The driver itself is this very run.
        for (int i = 0; i < InstallContainers().Count(); ++i) {
            TInstallContainer* container = InstallContainers().Items(i);
            if (container != this && SameText(container->Name(), subject))
                container->FinishAfterRestart();
        }
    }
}

} // namespace sw
