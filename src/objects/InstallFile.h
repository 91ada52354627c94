// One file of the install project: compressed into an archive under its
// identifier at build time, extracted at install time under its overwrite
// rule (or replaced at the next start of Windows when the destination is in
// use), then registered as the project asks.
#pragma once

#include "objects/FileContainer.h"
#include "system/ArchiveTypes.h"

#include <functional>
#include <string>

namespace sw {

class TPlmrCompress;
struct TlzhFileStats;

enum class TInstallFileType { iftNormal, iftJustADLL, iftApplicationSpecificDLL, iftVendorSharedDLL, iftSystemWideDLL };
const TEnumInfo& InstallFileTypeNames();

enum class TInstallFileState { ifsNone, ifsCompress, ifsInstall, ifsCopying };
const TEnumInfo& InstallFileStateNames();

// "Cannot compress,copy, or install ... File is :%s", for a file whose destination folder is blank.
extern const char* const kDestinationBlank;

class TCustomInstallFile : public TFileRelated {
    SW_DECLARE_CLASS()
  public:
    explicit TCustomInstallFile(TComponent* owner);
    // IncludeFromDir and FileName from the source path.
    TCustomInstallFile(TComponent* owner, const std::string& sourcePath);
    TCustomInstallFile(TComponent* owner, TInstallContainer* container, const std::string& sourcePath);
    ~TCustomInstallFile() override;

    int GetObjectKind() const override { return kKindFile; }

    bool ActiveX() const { return activeX_; }
    virtual void SetActiveX(bool activeX);
    std::string DestName() const { return destName_; }
    virtual void SetDestName(const std::string& name);
    std::string FileName() const { return fileName_; }
    virtual void SetFileName(const std::string& name);
    TInstallFileType FileType() const { return fileType_; }
    virtual void SetFileType(TInstallFileType type);
    std::string IncludeFromDir() const { return includeFromDir_; }
    virtual void SetIncludeFromDir(const std::string& dir);
    TOverwriteType OverwriteMode() const { return overwriteMode_; }
    void SetOverwriteMode(TOverwriteType mode) { overwriteMode_ = mode; }
    bool RegisterAsHelp() const { return registerAsHelp_; }
    void SetRegisterAsHelp(bool on) { registerAsHelp_ = on; }
    bool RunAfterInstall() const { return runAfterInstall_; }
    void SetRunAfterInstall(bool on) { runAfterInstall_ = on; }
    bool UpdateDLLCounter() const { return updateDLLCounter_; }
    void SetUpdateDLLCounter(bool on) { updateDLLCounter_ = on; }
    TInstallFileState State() const { return state_; }
    // Runs the pass of that state; ifsNone afterwards, also after a failure.
    virtual void SetState(TInstallFileState state);
    int32_t UniqueID() const { return uniqueID_; }
    void SetUniqueID(int32_t id) { uniqueID_ = id; }

    int32_t Size() const { return size_; }
    int32_t StoredSize() const { return storedSize_; }
    double Date() const { return date_; }
    const std::string& Version() const { return version_; }
    bool ArchiveInfoRead() const { return archiveInfoRead_; }
    bool DestinationExisted() const { return destExists_; }
    bool LeftForRestart() const { return leftForRestart_; }
    bool Replaced() const { return replace_; }
    uint8_t CompressedMark() const { return compressedMark_; }
    uint8_t NetMark() const { return netMark_; }
    void SetNetMark(uint8_t mark) { netMark_ = mark; }
    // Both build marks cleared, before a build packs the files again.
    void ClearBuildMarks() {
        compressedMark_ = 0;
        netMark_ = 0;
    }
    const std::string& WrittenArchive() const { return writtenArchive_; }
    // Size, date and version as a file list record gives them.
    void SetFileInformation(int32_t size, double date, const std::string& version);

    // IncludeFromDir, a backslash and FileName.
    std::string SourcePath() const;
    // The destination folder, a backslash and DestName (for a file in use,
    // the temporary name it is extracted under).
    std::string DestPath() const;
    // Where the file lives once in place: for a file that waits for the
    // restart, its own name rather than the temporary one.
    std::string InstalledPath() const;
    // It fetches its own archive: it names a location or compares versions or dates.
    bool DownloadsByItself() const;

    void SetContainer(TInstallContainer* container) override;
    void SetDestDir(const std::string& dir) override;
    void SetDestDirType(TCustomPathSpecifier* specifier) override;
    std::string GetArchivePath() const override;

    // Raises EAIUserAbort; the archive engine's abort handler.
    virtual void UserAbort();
    virtual void RegisterDll();
    virtual void RegisterExe();
    virtual void PrepareReplace();
    virtual void Compress();
    virtual void Copy();
    virtual void ReadInfoFromArchive();
    virtual void ReadInfoFromSource();
    virtual bool HasOLESelfRegister();
    virtual bool IncrementSharedDLLCount();
    // RegisterExe for an .EXE, RegisterDll otherwise.
    void RegisterActiveX();

    void InstallObjects() override;
    void FinishAfterRestart() override;
    void WriteUninstallInfo(const std::string& key) override;
    void Loaded() override;

    TInstallFileNotifyEvent OnAfterCompress;
    TInstallFileNotifyEvent OnAfterCopy;
    TInstallFileNotifyEvent OnAfterInstall;
    TInstallFileNotifyEvent OnBeforeCompress;
    TInstallFileNotifyEvent OnBeforeCopy;
    TInstallFileNotifyEvent OnBeforeInstall;
    TInstallFileStatusEvent OnStatus;
    TInstallFileNewDiskEvent OnNewDisk;
    TInstallFileNotifyEvent OnReplacing;

  protected:
    // The values the settings rule works on.
    struct TSettings {
        TInstallContainer* Container;
        std::string IncludeFromDir;
        bool ActiveX;
        TInstallFileType FileType;
        TCustomPathSpecifier* DestDirType;
        std::string DestName;
        std::string DestDir;
        std::string FileName;
    };
    TSettings CurrentSettings() const;
    // Keeps the file consistent after one change (outside loading).
    void ApplySettings(TSettings next);
    // Reports to the container, when there is one.
    void Report(int code, TPersistent* parameter);

  private:
    friend class TFileInstallRun;

    void ReadArchiveEntry(const std::string& archivePath);
    // Raises the archive-blank error for a blank path.
    void RequireArchivePath(const std::string& archivePath) const;
    static bool HasOLESelfRegisterAt(const std::string& sourcePath);
    void FinishPass(TPlmrCompress& engine, bool temporary);
    // Runs a compress or copy pass on the main engine; a quiet abort skips it.
    void RunPass(TInstallFileState state, const std::function<void(TPlmrCompress&)>& body);
    void AttachProgress(TPlmrCompress& engine);
    void RegisterAfterInstall();
    void ExtractFile();
    std::string NewDisk(TPlmrCompress* engine, int32_t disk, const std::string& path);
    void Progress(TPlmrCompress* engine, const TlzhFileStats& stats);
    std::string CheckedDestPath() const;
    void ScheduleReplacement();
    void WriteBatchReplacement(const std::string& inUseShort, const std::string& newShort);

    bool destExists_ = false;
    bool leftForRestart_ = false;
    bool replace_ = false;
    bool activeX_ = false;
    int32_t storedSize_ = 0;
    uint8_t compressedMark_ = 0;
    uint8_t netMark_ = 0;
    std::string writtenArchive_;
    double date_ = 0;
    std::string destName_;
    std::string fileName_;
    TInstallFileType fileType_ = TInstallFileType::iftNormal;
    std::string includeFromDir_;
    TOverwriteType overwriteMode_ = TOverwriteType::owAlways;
    bool registerAsHelp_ = false;
    bool runAfterInstall_ = false;
    int32_t size_ = 0;
    TInstallFileState state_ = TInstallFileState::ifsNone;
    int32_t uniqueID_ = 0;
    bool updateDLLCounter_ = false;
    std::string version_;
    bool archiveInfoRead_ = false;
    bool applying_ = false;
    // DestName before a temporary name was taken for a file in use.
    std::string inUseName_;
    // The 8.3 path of the file in use that the new file replaces at the restart.
    std::string inUseShort_;
};

// The published properties that every install file class lists in the same
// place: where the file goes and how it is packed, then its events.
#define SW_INSTALL_FILE_PLACEMENT_PROPERTIES                                                                           \
    prop::String("ArchiveFile", &Self::ArchiveFile, &Self::SetArchiveFile),                                            \
        prop::Reference("ArchiveFileType", &Self::ArchiveFileType, &Self::SetArchiveFileType),                         \
        prop::Enumeration("AddToArchive", &Self::AddToArchive, &Self::SetAddToArchive, LzhCommandNames(),              \
                          std::optional(TlzhCommand::lzcOverwrite)),                                                   \
        prop::Reference("Container", &Self::Container, &Self::SetContainer),                                           \
        prop::String("DestDir", &Self::DestDir, &Self::SetDestDir),                                                    \
        prop::Reference("DestDirType", &Self::DestDirType, &Self::SetDestDirType),                                     \
        prop::Boolean("Include", &Self::Include, &Self::SetInclude, true),                                             \
        prop::Set("InstallTypes", &Self::InstallTypes, &Self::SetInstallTypes, InstallTypeNames(),                     \
                  InstallTypeBit(TInstallType::itAlways))

#define SW_INSTALL_FILE_EVENTS                                                                                         \
    prop::Event("OnAfterCompress", &Self::OnAfterCompress), prop::Event("OnAfterCopy", &Self::OnAfterCopy),            \
        prop::Event("OnAfterInstall", &Self::OnAfterInstall),                                                          \
        prop::Event("OnBeforeCompress", &Self::OnBeforeCompress), prop::Event("OnBeforeCopy", &Self::OnBeforeCopy),    \
        prop::Event("OnBeforeInstall", &Self::OnBeforeInstall), prop::Event("OnStatus", &Self::OnStatus),              \
        prop::Event("OnNewDisk", &Self::OnNewDisk), prop::Event("OnReplacing", &Self::OnReplacing),                    \
        prop::Integer("UniqueID", &Self::UniqueID, &Self::SetUniqueID, std::nullopt)

class TInstallFile : public TCustomInstallFile {
    SW_DECLARE_CLASS()
  public:
    using TCustomInstallFile::TCustomInstallFile;
};

} // namespace sw
