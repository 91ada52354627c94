// Install objects that hold files and other file containers: the file group
// the user sees, and the base of the install driver.
#pragma once

#include "objects/InstallObject.h"
#include "project/StringList.h"

#include <functional>
#include <memory>

namespace sw {

class TCustomInstallFile;

using TInstallFileStatusEvent = TEvent<TCustomInstallFile*, int32_t, int32_t>;
using TInstallFileNewDiskEvent = TEvent<TCustomInstallFile*, int32_t, std::string&>;
using TInstallFileNotifyEvent = TEvent<TCustomInstallFile*>;
using TAfterInstallObjectsEvent = TEvent<TInstallContainer*, bool>;

enum class TProcessingState { Idle, Compressing, Installing, Copying };

// The option bits of the compress pass.
inline constexpr uint32_t coBuildRelocate = 2;
inline constexpr uint32_t coForceNetFilesLocal = 8;
inline constexpr uint32_t coForceFilesNet = 16;
inline constexpr uint32_t coIncludeExcluded = 32;

class TCustomNetInstallLocation;
class TFileStatusParameter;
class TDiskParameter;

// The folder a location's archives go to in a build: the host name and the
// directory (or the protocol's root-directory name), made safe for a path.
std::string NetFolderOf(const TCustomNetInstallLocation& location);

class TFileContainer : public TFileRelated {
    SW_DECLARE_CLASS()
  public:
    explicit TFileContainer(TComponent* owner);
    ~TFileContainer() override;

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

    // Bytes of the running pass: all included files, and those finished.
    int32_t TotalSize() const { return totalSize_; }
    int32_t BytesDone() const { return bytesDone_; }

    virtual void DoNewDisk(TCustomInstallFile* file, TDiskParameter* parameter);
    virtual void DoReplacing(TCustomInstallFile* file);
    virtual void DoStatus(TCustomInstallFile* file, TFileStatusParameter* parameter);
    // Sizes of the included files (all with `all`), with the sub-containers' when `recurse`.
    virtual int32_t SumSizes(bool all, bool recurse);
    // 1 compress, 2 install, 3 copy; idle afterwards, also after a failure.
    virtual void Process(int pass);
    virtual void Copy();
    // Destroys every file child.
    virtual void DeleteFiles();
    virtual void Compress(uint32_t options);
    virtual TCustomInstallFile* FindFileBySource(const std::string& path) const;
    // Compressed sizes of the file children, read from the archive, and of the sub-containers.
    virtual int32_t GetArchiveSize(bool all);
    // The local copy of a downloaded archive; IEFileContainer when there is none.
    virtual std::string GetDownloadedArchivePath() const;
    int32_t GetFilesSize(bool all) { return SumSizes(all, false); }
    int32_t GetTotalSize(bool all) { return SumSizes(all, true); }
    virtual void ReadInfoFromArchive();
    virtual void ReadInfoFromSource();
    virtual bool HasUnlocatedNetFiles() const;

    void InstallObjects() override;
    void DoInformationEventControl(TPersistent* sender, int code, TPersistent* parameter) override;

    TInstallFileStatusEvent OnStatus;
    TInstallFileNewDiskEvent OnNewDisk;
    TInstallFileNotifyEvent OnReplacing;
    TAfterInstallObjectsEvent OnAfterInstallObjects;
    TInstallContainerNotifyEvent OnBeforeInstallObjects;

    bool ArchiveInfoRead() const { return archiveInfoRead_; }

  protected:
    std::string groupName_;
    bool archiveInfoRead_ = false;

  private:
    void HandleStatus(TPersistent* parameter);
    void HandleFinishedFile(TPersistent* parameter);
    void HandleNewDisk(TPersistent* parameter);
    void HandleDownload(TPersistent* parameter);
    int32_t PercentOfTotal(int32_t bytes) const;
    // Sets the child's archive for the compress pass (step 7 of the build).
    void PlaceChildArchive(TFileRelated* child, uint32_t options, const std::string& netArchive);
    // Compresses a child into its placed archive and restores its settings.
    void CompressChild(TFileRelated* child, uint32_t options, const std::string& netArchive);
    std::string ArchiveFolder() const;
    void DeleteArchive(const std::string& path) const;
    // Resets the state and broadcasts the pass's end.
    void EndPass();
    // The outermost pass clears the cancel flags of the archive engine and
    // the downloads.
    void ResetCancelFlags() const;
    // Not inside another file container: its pass is the whole copy stage.
    bool Outermost() const;
    // The frame of the copy and compress passes around the work on the children.
    void RunProcessPass(TProcessingState state, uint32_t sizeOptions, const std::function<void()>& body);

    int32_t totalSize_ = 0;
    int32_t bytesDone_ = 0;
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
