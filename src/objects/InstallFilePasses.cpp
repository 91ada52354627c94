// The passes over one file: install (with the replace decision and the
// replacement of a file in use at the next start of Windows), compress and
// copy, with the engine's disk and progress handlers.
#include "archive/ArchiveErrors.h"
#include "archive/ArchivePaths.h"
#include "archive/MainArchiveEngine.h"
#include "archive/VersionResource.h"
#include "objects/FileArchiveEngine.h"
#include "objects/InstallFile.h"
#include "objects/InstallMessages.h"
#include "objects/InstallParameters.h"
#include "platform/FileSystem.h"
#include "platform/Gui.h"
#include "platform/Platform.h"
#include "project/Text.h"
#include "project/TranslateHook.h"
#include "system/InstallErrors.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

namespace sw {

namespace {} // namespace

void TCustomInstallFile::UserAbort() { throw EAIUserAbort(); }

void TCustomInstallFile::Report(int code, TPersistent* parameter) {
    if (Container())
        Container()->DoInformationEventControl(this, code, parameter);
}

void TCustomInstallFile::RequireArchivePath(const std::string& archivePath) const {
    if (Trim(archivePath).empty())
        throw IECustomInstallFile("Cannot either compress or decompress the following file because it's archive file "
                                  "property is blank. File is :%s",
                                  {fileName_});
}

std::string TCustomInstallFile::CheckedDestPath() const {
    if (Trim(GetDestPath()).empty())
        throw IECustomInstallFile(kDestinationBlank, {Name()});
    // The stored name must name a file inside the destination folder.
    if (!archive::IsSafeFileName(destName_))
        throw IECustomInstallFile("The destination name %s of %s does not name a file in its destination directory",
                                  {destName_, Name()});
    return DestPath();
}

void TCustomInstallFile::SetState(TInstallFileState state) {
    if (IsLoading())
        return;
    try {
        switch (state) {
        case TInstallFileState::ifsCompress:
            Compress();
            break;
        case TInstallFileState::ifsInstall:
            Install();
            break;
        case TInstallFileState::ifsCopying:
            Copy();
            break;
        case TInstallFileState::ifsNone:
            break;
        }
    } catch (...) {
        state_ = TInstallFileState::ifsNone;
        throw;
    }
    state_ = TInstallFileState::ifsNone;
}

void TCustomInstallFile::InstallObjects() {
    leftForRestart_ = false;
    inUseName_.clear();
    try {
        Report(msg::FileInstallStarts, this);
        OnBeforeInstall(this);
    } catch (const EAbort&) {
        Report(msg::FileSkipped, this);
        passSkipped_ = true;
        return;
    }
    const std::string dest = CheckedDestPath();
    destExists_ = GetPlatform().Files->FileExists(dest);
    // A missing destination has nothing to keep: an unversioned file would
    // otherwise equal it under owVersion and never be installed.
    const TFileCompareResult decision =
        destExists_ ? TVersionResource::IsFileNewerByVersion(version_, dest, overwriteMode_, date_)
                    : TFileCompareResult::fcReplace;
    replace_ = decision == TFileCompareResult::fcError || decision == TFileCompareResult::fcReplace;
    if (replace_) {
        try {
            PrepareReplace();
        } catch (const EAbort&) {
            replace_ = false;
        }
    }
    if (!replace_) {
        Report(msg::FileKept, this);
        RegisterAfterInstall();
        OnAfterInstall(this);
        Report(msg::FileInstalled, this);
        TInstallContainer::InstallObjects();
        return;
    }
    ExtractFile();
}

void TCustomInstallFile::ExtractFile() {
    const std::string recorded = RecordedLocalArchive();
    if (!recorded.empty())
        localArchivePath_ = recorded;
    const TDistributeType type = CurrentDistributeType();
    const bool fromServer = type != TDistributeType::dtTraditional && (Net() || type == TDistributeType::dtWeb);
    if (fromServer) {
        if (DownloadsByItself()) {
            DownloadArchive();
        } else if (auto* container = dynamic_cast<TFileContainer*>(Container());
                   container && !container->HasLocalArchive()) {
            container->DownloadArchive();
        }
    }
    state_ = TInstallFileState::ifsInstall;
    TFileArchiveEngine choice(GetArchivePath(), !fromServer);
    TPlmrCompress& engine = choice.Engine();
    IFileSystem& files = *GetPlatform().Files;
    try {
        const std::string folder = GetDestPath();
        files.ForceDirectories(folder);
        const std::string archivePath = GetArchivePath();
        RequireArchivePath(archivePath);
        const std::string dest = CheckedDestPath();
        engine.SetCompressedFile(archivePath);
        engine.ExtractDirectory = folder;
        engine.ExtractName = destName_;
        engine.Overwrite = overwriteMode_;
        engine.OnAborted = TNotifyEvent("UserAbort", [this](TPersistent*) { UserAbort(); });
        engine.OnNewDisk = TlzhNewDiskEvent(
            "NewDisk", [this](TPlmrCompress* e, int32_t disk, std::string& path) { path = NewDisk(e, disk, path); });
        AttachProgress(engine);
        engine.SetFilesToProcess({SourcePath()});
        try {
            engine.ExtractFiles();
            if (engine.Abort)
                UserAbort();
            if (leftForRestart_)
                ScheduleReplacement();
        } catch (...) {
            // Whatever stands under the name now was written by this
            // extraction (the old file was deleted first): it is not whole.
            if (files.FileExists(dest))
                files.DeleteFile(dest);
            throw;
        }
        RegisterAfterInstall();
        OnAfterInstall(this);
        Report(msg::FileInstalled, this);
        TInstallContainer::InstallObjects();
    } catch (...) {
        try {
            FinishPass(engine, choice.Temporary());
        } catch (...) {
        }
        throw;
    }
    FinishPass(engine, choice.Temporary());
}

void TCustomInstallFile::FinishPass(TPlmrCompress& engine, bool temporary) {
    engine.OnNewDisk = {};
    engine.OnStatus = {};
    engine.OnAborted = {};
    if (temporary && engine.Abort)
        MainArchiveEngine().Abort = true;
    state_ = TInstallFileState::ifsNone;
    try {
        Broadcast(msg::PassEnded, nullptr);
    } catch (...) {
        MainArchiveEngine().Abort = true;
        throw;
    }
}

void TCustomInstallFile::PrepareReplace() {
    OnReplacing(this);
    Broadcast(msg::Replacing, this);
    Report(msg::FileReplacing, this);
    replace_ = true;
    IFileSystem& files = *GetPlatform().Files;
    const std::string dest = DestPath();
    // Nothing to replace, or replaced by writing the new file under its name.
    if (!destExists_ || !files.FileExists(dest) || files.DeleteFile(dest))
        return;

    // The destination is in use: the new file waits under a temporary name.
    leftForRestart_ = true;
    const std::string folder = GetDestPath();
    std::string temporary;
    for (int n = 1;; ++n) {
        temporary = ChangeFileExt(destName_, "." + std::to_string(n));
        if (!files.FileExists(folder + "\\" + temporary))
            break;
    }
    inUseShort_ = ShortPathName(dest);
    inUseName_ = destName_;
    destName_ = temporary;
}

// The new file stands whole under its temporary name: have it moved over the
// file in use when Windows next starts. Registered only now, so a failed
// extraction never leaves a pending move of an incomplete file.
void TCustomInstallFile::ScheduleReplacement() {
    IFileSystem& files = *GetPlatform().Files;
    const std::string inUseShort = inUseShort_;
    const std::string newShort = ExtractFileDir(inUseShort) + "\\" + destName_;
    IInstallDriverContext* driver = InstallDriverContext();
    if (WindowsVersion() == wvWindows95) {
        if (!files.WriteProfileString(WindowsDirectory() + "\\WININIT.INI", "Rename", inUseShort, newShort))
            throw IECustomInstallFile(
                "%s cannot register a routine in the register to move the files after the computer is reboot",
                {Name()});
        if (driver)
            driver->RequestReboot();
        return;
    }
    if (driver)
        driver->RequestReboot();
    if (files.MoveFileAtReboot(newShort, inUseShort))
        return;
    WriteBatchReplacement(inUseShort, newShort);
}

void TCustomInstallFile::WriteBatchReplacement(const std::string& inUseShort, const std::string& newShort) {
    IFileSystem& files = *GetPlatform().Files;
    const std::string batch = ChangeFileExt(MakeTempFileName(false), ".bat");
    // Both its RunOnce command and the run after the restart may run the
    // batch, in either order: each line runs only while the new file is
    // there, so a second run leaves alone the file the first one put in place.
    const std::string guard = "if exist \"" + newShort + "\" ";
    // Once the file in use is erased its 8.3 alias is gone: the move names
    // the file by its own name, or it would be made under the alias.
    const std::string target = ExtractFileDir(inUseShort) + "\\" + inUseName_;
    const std::string text =
        guard + "erase \"" + inUseShort + "\"\r\n" + guard + "move \"" + newShort + "\" \"" + target + "\"\r\n";
    bool written = false;
    if (std::unique_ptr<IFile> file = files.OpenFile(batch, FileMode::Create)) {
        try {
            file->Write(text.data(), text.size());
            written = true;
        } catch (const Exception&) {
        }
    }
    if (written) {
        // Without a driver nobody deletes the batch afterwards; it still runs.
        if (IInstallDriverContext* driver = InstallDriverContext())
            driver->AddUnfinished(batch, 1);
        written = AddRunOnce("PellmoorBatFile", batch, true);
    } else {
        files.DeleteFile(batch);
    }
    if (!written)
        throw IECustomInstallFile(
            "%s cannot register a routine in the register to move the files after the computer is reboot", {Name()});
}

std::string TCustomInstallFile::NewDisk(TPlmrCompress* engine, int32_t disk, const std::string&) {
    Tag = 0;
    TDiskParameter parameter(disk, ExcludeTrailingBackslash(ExtractFileDir(GetArchivePath())));
    TFileDiskList list(this, &parameter);
    struct TResetMark {
        int32_t& tag;
        ~TResetMark() { tag = 0; }
    } resetMark{Tag};
    if (OnNewDisk)
        OnNewDisk(this, disk, parameter.Path);
    Broadcast(msg::DiskNeeded, &list);
    Report(msg::NewDiskNeeded, &list);
    if (!OnNewDisk && Tag == 0) {
        const std::string text = Format(TranslateEnglishMessage("Please insert disk #%d"), {disk});
        if (GetPlatform().Gui->MessageBox(text, "", mb::OkCancel | mb::IconInformation) == id::Cancel) {
            engine->Abort = true;
            // The engine ends the operation through its abort handler.
            throw EpcAborted();
        }
    }
    return ExcludeTrailingBackslash(parameter.Path);
}

void TCustomInstallFile::Progress(TPlmrCompress* engine, const TlzhFileStats& stats) {
    // The progress window's Cancel sets the main engine's Abort: a temporary
    // engine takes it at its next step.
    if (engine && engine != &MainArchiveEngine() && MainArchiveEngine().Abort)
        engine->Abort = true;
    TFileStatusParameter parameter;
    parameter.BytesDone = stats.EntryBytesDone;
    parameter.FilePercentDone = stats.EntryPercent;
    parameter.FileName = fileName_;
    parameter.Progress = stats;
    parameter.TotalBytesDone = stats.TotalBytesDone;
    parameter.TotalPercentDone = stats.TotalPercent;
    OnStatus(this, parameter.FilePercentDone, parameter.TotalPercentDone);
    Broadcast(msg::Progress, &parameter);
    TFileStatusList list(this, &parameter);
    const int code = state_ == TInstallFileState::ifsCompress  ? msg::CompressProgress
                     : state_ == TInstallFileState::ifsCopying ? msg::CopyProgress
                                                               : msg::InstallProgress;
    Report(code, &list);
}

void TCustomInstallFile::RunPass(TInstallFileState state, const std::function<void(TPlmrCompress&)>& body) {
    TPlmrCompress& engine = MainArchiveEngine();
    state_ = state;
    try {
        body(engine);
    } catch (const EAbort&) {
        // Skipped quietly.
    } catch (...) {
        try {
            FinishPass(engine, false);
        } catch (...) {
        }
        throw;
    }
    FinishPass(engine, false);
}

void TCustomInstallFile::Compress() {
    RunPass(TInstallFileState::ifsCompress, [this](TPlmrCompress& engine) {
        OnBeforeCompress(this);
        Report(msg::CompressStarts, this);
        const std::string archivePath = GetArchivePath();
        RequireArchivePath(archivePath);
        if (!Include())
            throw EAbort();
        GetPlatform().Files->ForceDirectories(ExtractFileDir(archivePath));
        engine.SetCompressedFile(archivePath);
        engine.OnAborted = TNotifyEvent("UserAbort", [this](TPersistent*) { UserAbort(); });
        AttachProgress(engine);
        engine.SetFilesToProcess({SourcePath()});
        engine.AddFiles(AddToArchive(), uniqueID_);
        compressedMark_ = 2;
        writtenArchive_ = engine.CompressedFile();
        OnAfterCompress(this);
        Report(msg::CompressEnds, this);
    });
}

void TCustomInstallFile::Copy() {
    RunPass(TInstallFileState::ifsCopying, [this](TPlmrCompress& engine) {
        OnBeforeCopy(this);
        Report(msg::CopyStarts, this);
        if (!Include())
            throw EAbort();
        const std::string dest = CheckedDestPath();
        GetPlatform().Files->ForceDirectories(GetDestPath());
        AttachProgress(engine);
        engine.CopyUncompressed(SourcePath(), dest);
        OnAfterCopy(this);
        Report(msg::CopyEnds, this);
    });
}

void TCustomInstallFile::AttachProgress(TPlmrCompress& engine) {
    engine.OnStatus =
        TlzhFileStatsEvent("Status", [this](TPlmrCompress* e, const TlzhFileStats& s) { Progress(e, s); });
}

} // namespace sw
