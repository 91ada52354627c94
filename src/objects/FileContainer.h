// Install objects that hold files and other file containers: the file group
// the user sees, and the base of the install driver.
#pragma once

#include "objects/InstallObject.h"
#include "project/StringList.h"

#include <memory>

namespace sw {

class TCustomInstallFile;

using TInstallFileStatusEvent = TEvent<TCustomInstallFile*, int32_t, int32_t>;
using TInstallFileNewDiskEvent = TEvent<TCustomInstallFile*, int32_t, std::string&>;
using TInstallFileNotifyEvent = TEvent<TCustomInstallFile*>;
using TAfterInstallObjectsEvent = TEvent<TInstallContainer*, bool>;

enum class TProcessingState { Idle, Compressing, Installing, Copying };

class TFileContainer : public TFileRelated {
    SW_DECLARE_CLASS()
  public:
    explicit TFileContainer(TComponent* owner);

    int GetObjectKind() const override { return kKindFileContainer; }

    bool AllowChangeDir() const { return allowChangeDir_; }
    void SetAllowChangeDir(bool allow) { allowChangeDir_ = allow; }
    bool AllowChoice() const { return allowChoice_; }
    void SetAllowChoice(bool allow) { allowChoice_ = allow; }
    TStrings* Description() const { return description_.get(); }
    void SetDescription(const TStrings& lines) { description_->Lines = lines.Lines; }
    std::string GroupName() const { return groupName_; }
    void SetGroupName(const std::string& name) { groupName_ = name; }
    TProcessingState ProcessingState() const { return state_; }

    // The passes over the files; they come with file installation.
    void InstallObjects() override;
    virtual void Compress(uint32_t options);
    virtual void Copy();
    virtual void ReadInfoFromArchive();
    void DoInformationEventControl(TPersistent* sender, int code, TPersistent* parameter) override;
    // The local copy of a downloaded archive; IEFileContainer when there is none.
    virtual std::string GetDownloadedArchivePath() const;

    TInstallFileStatusEvent OnStatus;
    TInstallFileNewDiskEvent OnNewDisk;
    TInstallFileNotifyEvent OnReplacing;
    TAfterInstallObjectsEvent OnAfterInstallObjects;
    TInstallContainerNotifyEvent OnBeforeInstallObjects;

  protected:
    std::string groupName_;

  private:
    bool allowChangeDir_ = true;
    bool allowChoice_ = true;
    std::unique_ptr<TStrings> description_;
    TProcessingState state_ = TProcessingState::Idle;
};

// A group of files the user may include or exclude.
class TInstallFileGroup : public TFileContainer {
    SW_DECLARE_CLASS()
  public:
    explicit TInstallFileGroup(TComponent* owner);
};

} // namespace sw
