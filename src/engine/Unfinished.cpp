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

#include <algorithm>
#include <optional>

namespace sw {

namespace {

constexpr RegistryRoot hklm = RegistryRoot::LocalMachine;
constexpr const char* kRestartValueName = "PellmoorUnfinished";

// A replacement batch may run for a few seconds on a slow machine; one that
// has not ended by then is left alone.
constexpr uint32_t kBatchTimeout = 120000;

std::string UnfinishedKey() {
    const std::string& record = InstallRecordKeyPath();
    if (record.empty())
        throw IEInstall("The TInstall could not either write or read unfinished business from the registry");
    return record + "\\Unfinished";
}

struct UnfinishedEntry {
    std::string Subject;
    std::optional<int32_t> Kind; // none when the kind is not a number
};

// An entry as ReadUnfinished gives it: subject ";" kind.
UnfinishedEntry ParseUnfinished(const std::string& entry) {
    const std::string kindText = GetField(entry, 2);
    UnfinishedEntry parsed{GetField(entry, 1), std::nullopt};
    try {
        parsed.Kind = StrToInt(kindText.substr(0, kindText.find(';')));
    } catch (const EConvertError&) {
        // No number: the entry has no kind.
    }
    return parsed;
}

// Runs a replacement batch that is still there and waits for it; false when
// it could not be run to its end. Windows promises no order for RunOnce
// commands, so the batch's own command may come after this run: once run
// here, that command is withdrawn (the batch is deleted afterwards).
bool RunReplacementBatch(const std::string& batch) {
    Platform& platform = GetPlatform();
    if (!SameText(ExtractFileExt(batch), ".bat") || !platform.Files->FileExists(batch))
        return true;
    if (!platform.Processes->RunAndWait("\"" + batch + "\"", WindowState::Hidden, kBatchTimeout))
        return false;
    RemoveRunOnce(batch);
    return true;
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
    // The batches put the files in use in place: they run before anything
    // is registered, and before they are deleted. One that could not be run
    // is kept for its own RunOnce command.
    std::vector<std::string> keep;
    for (const std::string& entry : entries.Lines) {
        const UnfinishedEntry parsed = ParseUnfinished(entry);
        if (parsed.Kind == 1 && !RunReplacementBatch(parsed.Subject))
            keep.push_back(parsed.Subject);
    }
    for (const std::string& entry : entries.Lines)
        FinishEntry(entry, keep);
    EndGoodInstall();
}

void TCustomInstall::FinishEntry(const std::string& entry, const std::vector<std::string>& keep) {
    const UnfinishedEntry parsed = ParseUnfinished(entry);
    if (!parsed.Kind)
        throw IEInstall("There is an invalid entry for the unfinished install list %s", {entry});
    const std::string& subject = parsed.Subject;
    if (parsed.Kind == 1) {
        if (std::none_of(keep.begin(), keep.end(), [&](const std::string& kept) { return SameText(kept, subject); }))
            GetPlatform().Files->DeleteFile(subject);
    } else if (parsed.Kind == 0) {
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
