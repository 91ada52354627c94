// The install driver: the root file container of the project. It takes over
// from the main form's end-of-loading, parses the command line, and either
// runs a tool mode at once or starts the install at the main form's first
// activation.
#pragma once

#include "controls/Forms.h"
#include "engine/BuildInfo.h"
#include "objects/FileContainer.h"
#include "system/InstallDriverContext.h"
#include "system/InstallInformation.h"

#include <array>
#include <exception>
#include <memory>

namespace sw {

class TCustomInstall;
class TPicture;

using TRebootWindowsEvent = TEvent<TCustomInstall*, bool&>;
using TCleanupEvent = TEvent<TCustomInstall*, bool&>;
using TUserAbortEvent = TEvent<TCustomInstall*, bool&>;
using TBeforeRunFileEvent = TEvent<TCustomInstall*, TCustomInstallFile*, bool&>;

class TCustomInstall : public TFileContainer, public IInstallDriverContext {
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

    void Install() override;
    void FinishAfterRestart() override;
    void Compress(uint32_t options) override;
    void ReadInfoFromArchive() override;
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
    virtual void Build();
    virtual void TransferToFloppies(const std::string& drive);

    // Installed on the target form's activation event.
    void FormActivated();

    void SetNetLocation(TCustomNetInstallLocation* location) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    bool AutoMaximizeWindow() const { return autoMaximizeWindow_; }
    TBuildInfo* BuildInfo() const { return buildInfo_.get(); }
    TPicture* DialogThemeBitmap() const { return dialogThemeBitmap_.get(); }
    TDistributeType DistributeType() const { return distributeType_; }
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

  private:
    static int SwitchIndex(char letter);
    void ChooseTargetForm();
    void SelectInstallType();
    void Dispatch();
    // Runs a tool mode that ends the program: its error is shown in a plain
    // message box, then the application terminates.
    template <class Mode> void RunToolMode(Mode mode);
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
