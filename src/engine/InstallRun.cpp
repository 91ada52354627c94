// The install run of the driver: the stages from the first activation to the
// good or bad end, with their events and broadcasts.
#include "engine/CustomInstall.h"
#include "engine/SetupExit.h"

#include "archive/ArchiveErrors.h"
#include "archive/FileList.h"
#include "archive/MainArchiveEngine.h"
#include "archive/SelfExtract.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "objects/InstallMessages.h"
#include "objects/NetInstallLocation.h"
#include "paths/ShellFolders.h"
#include "paths/StandardSpecifiers.h"
#include "platform/FileSystem.h"
#include "platform/Gui.h"
#include "platform/PhaseProfile.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "platform/SystemInfo.h"
#include "system/InstallErrors.h"
#include "system/InstallRecord.h"
#include "system/SystemHelpers.h"

namespace sw {

void TCustomInstall::Install() {
    MarkPhase("install: start, the install record");
    SetRunStartTime(DayCountOf(GetPlatform().System->LocalTime()));
    InstallObjectsState().InstallRunStarted = true;
    RetryRegistrationFiles().Clear();
    unfinishedCount_ = 0;
    cleanupPending_ = false;
    running_ = true;
    if (useLoadingProgram_ && !SwitchGiven('s'))
        throw IEInstall("The path of the loading program was not passed correctly. If you are running your install "
                        "project in the IDE, then you need to add two command line parameters. In Run | Parameters | "
                        "\"Run Parameters\", type in: -d \"-sBUILDPATH\" where BUILDPATH is the path into which you "
                        "built the distributables. Example: -d \"-sC:\\My Build\".");
    SetInstallRecordKeyPath(FindInstallRecord(true));
    ClearUnfinished();
    if (SwitchGiven('e')) {
        // Every extraction from the main archive reads files.1 inside the self-extracting setup.
        const std::string setup = StandardPathSpecifiers().FindByClass<TpsMainArchiveFile>()->GetPath(this);
        MainArchiveEngine().Offset = static_cast<int32_t>(ReadSelfExtractTrailer(setup).Files1Start);
    }
    MarkPhase("install: archive headers");
    ReadInfoFromArchive();
    MarkPhase("install: start stages");
    OnAfterInitialized(this);
    Broadcast(msg::AfterInitialized, nullptr);
    for (int code : msg::StartStages)
        Broadcast(code, nullptr);
    Broadcast(msg::BeforeInstall, nullptr);

    MarkPhase("install: files, uninstall key");
    {
        const TShellFolderSnapshot folders;
        TFileContainer::Install();
    }
    MarkPhase("install: registrations");
    RetryRegistrations();
    if (unfinishedCount_ > 0 || Reboot)
        RegisterRestart();

    // Work left for the restart keeps the record for the run after it, even
    // when Reboot was cleared before this point.
    const bool restartPending = Reboot || unfinishedCount_ > 0;
    if (Reboot)
        Broadcast(msg::RebootStage, nullptr);
    if (Reboot && OnBeforeReboot) {
        bool proceed = Reboot;
        OnBeforeReboot(this, proceed);
        Reboot = proceed;
    }
    // The run after the restart ends the install in the language chosen
    // now, whether Windows restarts now or later.
    if (restartPending)
        SaveLanguage();
    if (Reboot) {
        RebootWindows();
        Application().Terminate();
    }
    if (restartPending) {
        // The run after the restart ends the install.
        Application().Terminate();
        running_ = false;
        return;
    }
    EndGoodInstall();
}

void TCustomInstall::EndGoodInstall() {
    MarkPhase("install: good end");
    NotifyGoodInstall();
    MarkPhase("install: cleanup");
    Cleanup();
    MarkPhase("install: remove the install record");
    RemoveInstallRecord();
    if (RunAutomatic)
        Shutdown();
    RunFilesAfterInstall();
    MarkPhase("install: ended");
    running_ = false;
}

void TCustomInstall::RetryRegistrations() {
    // A failure now ends the install.
    const std::vector<TCustomInstallFile*> files = RetryRegistrationFiles().ItemList();
    for (TCustomInstallFile* file : files)
        file->RegisterActiveX();
}

void TCustomInstall::ReadArchiveHeaders() { TFileContainer::ReadInfoFromArchive(); }

void TCustomInstall::ReadInfoFromArchive() {
    if (archiveInfoRead_)
        return;
    OnBeforeReadArchiveInfo(this);
    Broadcast(msg::BeforeReadArchiveInfo, nullptr);
    IGui* gui = targetForm_ ? GetPlatform().Gui.get() : nullptr;
    if (gui)
        gui->SetCursor(CursorKind::Hourglass);
    try {
        SendMessageText("Reading file information...");
        ReadArchiveHeaders();
        if (distributeType_ != TDistributeType::dtTraditional)
            ReadRemoteFileList();
    } catch (...) {
        if (gui)
            gui->SetCursor(CursorKind::Default);
        Broadcast(msg::StatusTextDone, nullptr);
        throw;
    }
    if (gui)
        gui->SetCursor(CursorKind::Default);
    Broadcast(msg::StatusTextDone, nullptr);
    archiveInfoRead_ = true;
    OnAfterReadArchiveInfo(this);
    Broadcast(msg::AfterReadArchiveInfo, nullptr);
}

void TCustomInstall::NotifyGoodInstall() {
    OnBeforeNotifyGoodInstall(this);
    Broadcast(msg::GoodInstall, nullptr);
    Broadcast(msg::AfterGoodInstall, nullptr);
    OnAfterNotifyGoodInstall(this);
}

void TCustomInstall::NotifyBadInstall() {
    OnBeforeNotifyBadInstall(this);
    Broadcast(msg::BadInstall, nullptr);
    Broadcast(msg::AfterBadInstall, nullptr);
    OnAfterNotifyBadInstall(this);
}

void TCustomInstall::Shutdown() {
    bool quit = true;
    OnBeforeShutdown(this, quit);
    if (quit)
        Application().Terminate();
}

bool TCustomInstall::QueryUserAbort() {
    bool quit = true;
    OnUserAbort(this, quit);
    return quit;
}

void TCustomInstall::HandleException(std::exception_ptr e) {
    if (!running_) {
        GetPlatform().Gui->MessageBox(ExceptionText(e), Application().Title(), mb::Ok | mb::IconError);
        return;
    }
    running_ = false;
    try {
        EndBadInstall(e);
    } catch (...) {
        // A failure while ending the install ends it; it is not shown.
        if (SetupExitCode() == TSetupExit::Good)
            SetSetupExitCode(TSetupExit::Failed);
        if (RunAutomatic)
            Application().Terminate();
    }
}

void TCustomInstall::EndBadInstall(std::exception_ptr e) {
    try {
        std::rethrow_exception(e);
    } catch (const EAIUserAbort&) {
        SetSetupExitCode(TSetupExit::UserAbort);
        NotifyBadInstall();
        Cleanup();
        RemoveInstallRecord();
        if (RunAutomatic)
            Shutdown();
        return;
    } catch (...) {
    }
    SetSetupExitCode(TSetupExit::Failed);
    NotifyBadInstall();
    GetPlatform().Gui->MessageBox(ExceptionText(e), Application().Title(), mb::Ok | mb::IconError);
    Shutdown();
}

void TCustomInstall::Cleanup() {
    if (!useLoadingProgram_ || SwitchGiven('d') || !SwitchGiven('c'))
        return;
    bool proceed = true;
    OnBeforeCleanup(this, proceed);
    if (!proceed)
        return;
    Platform& platform = GetPlatform();
    const std::string program = platform.System->ModulePath();
    const std::string folder = ExtractFileDir(program);
    for (const std::string& entry : presetupFiles_->Lines)
        platform.Files->DeleteFile(IncludeTrailingBackslash(folder) + ExtractFileName(entry));
    // A loading program that names this folder with c removes it once this
    // program has ended: a batch would only race it, at the cost of a process.
    if (!SwitchValue('c').empty() && SameText(ExcludeTrailingBackslash(SwitchValue('c')), folder))
        return;
    const std::string batch = ChangeFileExt(MakeTempFileName(false), ".bat");
    // Paths are quoted: a blank in a path would otherwise split it into
    // several names, each of which ERASE or DELTREE would remove. Windows NT
    // has no DELTREE; its RMDIR removes a tree.
    auto quoted = [](const std::string& path) { return "\"" + path + "\""; };
    bool nt = false;
    try {
        nt = WindowsVersion() == wvWindowsNT;
    } catch (const EAPIRoutines&) {
        // An unknown system gets the batch of the Windows 95 family.
    }
    const std::string text = "ERASE " + quoted(program) + "\r\n" +
                             (nt ? "RMDIR /S /Q " : "DELTREE /Y ") + quoted(ExcludeTrailingBackslash(folder)) +
                             "\r\n" + "ERASE " + quoted(ChangeFileExt(batch, ".PIF")) + "\r\n" + "ERASE " +
                             quoted(batch) + "\r\n";
    std::unique_ptr<IFile> file = platform.Files->OpenFile(batch, FileMode::Create);
    if (!file)
        throw EAPIRoutines("Could not create the cleanup file " + batch);
    file->Write(text.data(), text.size());
    cleanupBatch_ = batch;
    cleanupPending_ = true;
}

void TCustomInstall::ReadRemoteFileList() {
    TCustomNetInstallLocation* location = NetLocation();
    if (!location)
        throw IEInstallNetLocNil("Must assign a net location via the NetLocation property before you can set the "
                                 "distribute type");
    const std::string path = MakeTempFileName(false);
    IFileSystem& files = *GetPlatform().Files;
    std::vector<TFileListEntry> entries;
    try {
        location->Download("filelist.lst", path);
        const std::unique_ptr<IFile> file = files.OpenFile(path, FileMode::Read);
        if (!file)
            throw IEInstall("Cannot read the remote list of files: %s", {path});
        entries = ReadFileList(*file, path);
    } catch (const EFileListError&) {
        files.DeleteFile(path);
        throw IEInstall("Cannot read the remote list of files: %s", {path});
    } catch (...) {
        files.DeleteFile(path);
        throw;
    }
    files.DeleteFile(path);
    for (TCustomInstallFile* file : InstallFiles().ItemList())
        if (const TFileListEntry* entry = FindFileListEntry(entries, file->Name()))
            file->SetFileInformation(entry->SourceSize, entry->SourceDate, entry->Version);
}

void TCustomInstall::RunFilesAfterInstall() {
    // By index: a handler may add or remove file components.
    for (int i = 0; i < InstallFiles().Count(); ++i) {
        TCustomInstallFile* file = InstallFiles().Items(i);
        if (!file->RunAfterInstall())
            continue;
        // A file this run skipped or left out is not there to start. (The
        // run after a restart installed nothing itself: it starts them all.)
        if (InstallObjectsState().InstallRunStarted && !file->Processed())
            continue;
        bool defaultAction = true;
        OnBeforeRunFile(this, file, defaultAction);
        // Quoted, so that a path with blanks never starts a shorter program.
        if (defaultAction)
            GetPlatform().Processes->Start("\"" + file->InstalledPath() + "\"", WindowState::Normal);
    }
}

} // namespace sw
