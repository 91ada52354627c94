// The install driver: the root file container of the project. It takes over
// from the main form's end-of-loading, parses the command line, and either
// runs a tool mode at once or starts the install at the main form's first
// activation.
#pragma once

#include "controls/Forms.h"
#include "dialogs/DialogDriver.h"
#include "engine/BuildInfo.h"
#include "objects/FileContainer.h"
#include "objects/InstallLists.h"
#include "system/InstallDriverContext.h"
#include "system/InstallInformation.h"

#include <array>
#include <exception>
#include <memory>

namespace sw {

class IFile;
class TCustomInstall;
class TPicture;

using TRebootWindowsEvent = TEvent<TCustomInstall*, bool&>;
using TCleanupEvent = TEvent<TCustomInstall*, bool&>;
using TUserAbortEvent = TEvent<TCustomInstall*, bool&>;
using TBeforeRunFileEvent = TEvent<TCustomInstall*, TCustomInstallFile*, bool&>;

class TCustomInstall : public TFileContainer, public IInstallDriverContext, public IDialogDriver {
    SW_DECLARE_CLASS()
  public:
    // Raises IEInstall when a driver exists already or the owner is no form.
    explicit TCustomInstall(TComponent* owner);
    ~TCustomInstall() override;

    // The command-line switches, either case; values_ follows this order.
    static constexpr const char* kSwitchLetters = "bfdersc";
    bool SwitchGiven(char letter) const override;
    // The value given with the switch; empty when it was not given.
    const std::string& SwitchValue(char letter) const override;
    const std::string& InstallSourceDirectory() const override { return installSource_; }
    TComponent* DriverComponent() override { return this; }
    std::string MainDestPath() override { return GetDestPath(); }
    TCustomForm* TargetForm() const { return targetForm_; }
    // The recorded local copy of this driver's archive, if any.
    const std::string& DownloadedMainArchive() const { return downloadedMainArchive_; }
    bool Activated() const { return activated_; }

    // The application title: the product name and " Installation".
    std::string ProjectTitle() const;

    // The whole install run, from the first activation to the good or bad end.
    void Install() override;
    // The r mode: completes the unfinished business after a restart.
    void FinishAfterRestart() override;
    void Compress(uint32_t options) override;
    // Reads the archive information once per process.
    void ReadInfoFromArchive() override;
    virtual void NotifyGoodInstall();
    virtual void NotifyBadInstall();
    // Asks the application to terminate unless OnBeforeShutdown objects.
    virtual void Shutdown();
    // True when the user's request to abort is to be honoured.
    bool QueryUserAbort() override;
    // Writes the batch that removes the unpacked setup at exit.
    virtual void Cleanup();
    virtual void RunFilesAfterInstall();

    // The unfinished business kept in the install record: kind 0 names an
    // install object, kind 1 a file to delete after the restart.
    void AddUnfinished(const std::string& subject, int32_t kind) override;
    void ClearUnfinished();
    // Each entry as subject + ";" + kind, in the registry's order.
    void ReadUnfinished(TStrings& list);
    virtual void RegisterRestart();
    virtual void RebootWindows();
    // The restart command RegisterRestart writes into RunOnce.
    std::string RestartCommand() const;

    // Whether an install run has started in this process.
    bool InstallRunStarted() const { return InstallObjectsState().InstallRunStarted; }
    bool Running() const { return running_; }
    // Entries added during this run.
    int32_t UnfinishedCount() const { return unfinishedCount_; }
    // The cleanup batch, started with a hidden window when the driver goes.
    const std::string& CleanupBatch() const { return cleanupBatch_; }
    bool CleanupPending() const { return cleanupPending_; }
    // Deletes the install record in use, with the local archive copies it lists.
    virtual void RemoveInstallRecord();
    // The key path of this setup program's install record; empty when none.
    virtual std::string FindInstallRecord(bool create);
    virtual void ParseCommandLine();
    virtual void SetAutoMaximizeWindow(bool on);
    virtual void SetBuildInfo(const TBuildInfo& info);
    virtual void SetDialogThemeBitmap(const TPicture& picture);
    virtual void SetDistributeType(TDistributeType type);
    virtual void SetHideMainForm(bool on);
    virtual void SetPresetupFiles(const TStrings& files);
    virtual void SetUseLoadingProgram(bool on);
    // Appends a path unless duplicates are checked and an entry has the same
    // file name (directories ignored, without regard to case).
    virtual void AddPresetupFile(const std::string& path, bool checkDuplicates);
    // The application's handler for exceptions that reach the message loop.
    virtual void HandleException(std::exception_ptr e);
    // Mode b: builds into the folder the first line of BUILD.INF, beside the
    // running program, names.
    virtual void BuildFromBuildInf();
    // setup.exe (or the program), setup.1 and files.1 in buildDirectory;
    // with standAlone they are joined into the self-extracting setup.exe.
    virtual void Build(const std::string& executable, const std::string& buildDirectory, bool standAlone);
    virtual void CopySetupProgram(const std::string& buildDirectory, const std::string& executable);
    // Packs the executable, then the presetup files, into a new setup.1.
    virtual void CreateSetupArchive(const std::string& buildDirectory, const std::string& executable);
    // filelist.lst of the files this build packed, in the net folder below
    // the archive's folder.
    virtual void WriteFileList();
    // Mode f: copies the self-extracting setup that -e names onto disks in drive.
    virtual void TransferToFloppies(const std::string& drive);

    // Installed on the target form's activation event.
    void FormActivated();

    void SetNetLocation(TCustomNetInstallLocation* location) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    bool AutoMaximizeWindow() const { return autoMaximizeWindow_; }
    TBuildInfo* BuildInfo() const { return buildInfo_.get(); }
    TPicture* DialogThemeBitmap() const override { return dialogThemeBitmap_.get(); }
    bool GetReboot() const override { return Reboot; }
    void SetReboot(bool reboot) override { Reboot = reboot; }
    TDistributeType DistributeType() const override { return distributeType_; }
    void RequestReboot() override { Reboot = true; }
    bool HideMainForm() const { return hideMainForm_; }
    TInstallInformation* Information() const override { return information_.get(); }
    TStrings* PresetupFiles() const { return presetupFiles_.get(); }
    bool UseLoadingProgram() const { return useLoadingProgram_; }

    bool Reboot = false;
    bool RunAutomatic = true;

    TNotifyEvent OnAfterInitialized;
    TNotifyEvent OnBeforeReadArchiveInfo;
    TNotifyEvent OnAfterReadArchiveInfo;
    TNotifyEvent OnBeforeNotifyGoodInstall;
    TNotifyEvent OnAfterNotifyGoodInstall;
    TNotifyEvent OnBeforeNotifyBadInstall;
    TNotifyEvent OnAfterNotifyBadInstall;
    TNotifyEvent OnFailedReboot;
    TRebootWindowsEvent OnBeforeReboot;
    TCleanupEvent OnBeforeCleanup;
    TUserAbortEvent OnBeforeShutdown;
    TUserAbortEvent OnUserAbort;
    TBeforeRunFileEvent OnBeforeRunFile;

  protected:
    // The file container's reading of its archives' header tables.
    virtual void ReadArchiveHeaders();

  private:
    static int SwitchIndex(char letter);
    void RetryRegistrations();
    // The sizes, dates and versions of filelist.lst on the net location
    // given to the file components it names.
    void ReadRemoteFileList();
    // Good-install pages, cleanup, the record removed, shutdown, the files run.
    void EndGoodInstall();
    // The bad end of HandleException; errors inside it end it quietly.
    void EndBadInstall(std::exception_ptr e);
    void SelectSavedLanguage();
    void SaveLanguage();
    // Works one entry of the unfinished list; the batches in keep are not deleted.
    void FinishEntry(const std::string& entry, const std::vector<std::string>& keep);
    // Starts the cleanup batch with a hidden window, once.
    void StartCleanupBatch();
    void ChooseTargetForm();
    void SelectInstallType();
    void Dispatch();
    // Runs a tool mode that ends the program: its error is shown in a plain
    // message box, then the application terminates.
    template <class Mode> void RunToolMode(Mode mode);
    // Copies bytes [from, to) of source into a new file; false when it falls short.
    bool CopyRangeToDisk(IFile& source, uint64_t from, uint64_t to, const std::string& target);
    void HookTargetForm();
    void RestoreActivationHandler();

    uint32_t switches_ = 0;
    std::array<std::string, 7> values_;
    std::string installSource_;
    TCustomForm* targetForm_ = nullptr;
    TNotifyEvent savedActivate_;
    bool hooked_ = false;
    bool activated_ = false;
    std::string downloadedMainArchive_;
    bool running_ = false;
    bool archiveInfoRead_ = false;
    int32_t unfinishedCount_ = 0;
    std::string cleanupBatch_;
    bool cleanupPending_ = false;

    bool autoMaximizeWindow_ = true;
    std::unique_ptr<TBuildInfo> buildInfo_;
    std::unique_ptr<TPicture> dialogThemeBitmap_;
    TDistributeType distributeType_ = TDistributeType::dtTraditional;
    bool hideMainForm_ = false;
    std::unique_ptr<TInstallInformation> information_;
    std::unique_ptr<TStrings> presetupFiles_;
    bool useLoadingProgram_ = true;
};

// The program-wide install driver; none when no driver lives.
TCustomInstall* InstallDriver();

} // namespace sw
