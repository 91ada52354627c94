#include "objects/InstallFile.h"

#include "archive/MainArchiveEngine.h"
#include "archive/VersionResource.h"
#include "objects/FileArchiveEngine.h"
#include "objects/InstallLists.h"
#include "objects/NetInstallLocation.h"
#include "paths/StandardSpecifiers.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/InstallRecord.h"
#include "system/SystemHelpers.h"

namespace sw {

const TEnumInfo& InstallFileTypeNames() {
    static const TEnumInfo names{
        {"iftNormal", "iftJustADLL", "iftApplicationSpecificDLL", "iftVendorSharedDLL", "iftSystemWideDLL"}};
    return names;
}

const TEnumInfo& InstallFileStateNames() {
    static const TEnumInfo names{{"ifsNone", "ifsCompress", "ifsInstall", "ifsCopying"}};
    return names;
}

SW_CLASS_INFO(TCustomInstallFile, TFileRelated)

SW_CLASS_INFO(TInstallFile, TCustomInstallFile, SW_INSTALL_FILE_PLACEMENT_PROPERTIES,
              prop::Boolean("Net", &Self::Net, &Self::SetNet, false),
              prop::Reference("NetLocation", &Self::NetLocation, &Self::SetNetLocation),
              prop::Integer("Order", &Self::Order, &Self::SetOrder, -1),
              prop::Boolean("ActiveX", &Self::ActiveX, &Self::SetActiveX, false),
              prop::String("DestName", &Self::DestName, &Self::SetDestName),
              prop::String("FileName", &Self::FileName, &Self::SetFileName),
              prop::Enumeration("FileType", &Self::FileType, &Self::SetFileType, InstallFileTypeNames(),
                                std::optional(TInstallFileType::iftNormal)),
              prop::String("IncludeFromDir", &Self::IncludeFromDir, &Self::SetIncludeFromDir),
              prop::Enumeration("OverwriteMode", &Self::OverwriteMode, &Self::SetOverwriteMode, OverwriteTypeNames(),
                                std::optional(TOverwriteType::owAlways)),
              prop::Boolean("RegisterAsHelp", &Self::RegisterAsHelp, &Self::SetRegisterAsHelp, false),
              prop::Boolean("RunAfterInstall", &Self::RunAfterInstall, &Self::SetRunAfterInstall, false),
              prop::Boolean("UpdateDLLCounter", &Self::UpdateDLLCounter, &Self::SetUpdateDLLCounter, false),
              SW_INSTALL_FILE_EVENTS)

TCustomInstallFile::TCustomInstallFile(TComponent* owner) : TFileRelated(owner) {
    installable_ = true;
    uniqueID_ = FileIdentifiers().Acquire();
    InstallFiles().Add(this);
}

TCustomInstallFile::TCustomInstallFile(TComponent* owner, const std::string& sourcePath) : TCustomInstallFile(owner) {
    SetIncludeFromDir(ExcludeTrailingBackslash(ExtractFileDir(sourcePath)));
    SetFileName(ExtractFileName(sourcePath));
}

TCustomInstallFile::TCustomInstallFile(TComponent* owner, TInstallContainer* container, const std::string& sourcePath)
    : TCustomInstallFile(owner, sourcePath) {
    SetContainer(container);
}

TCustomInstallFile::~TCustomInstallFile() {
    FileIdentifiers().Release(uniqueID_);
    InstallFiles().Remove(this);
    RetryRegistrationFiles().Remove(this);
}

void TCustomInstallFile::Loaded() {
    TFileRelated::Loaded();
    TInstallObjectsState& state = InstallObjectsState();
    if (!state.IdentifiersReloaded) {
        state.Identifiers.Clear();
        state.IdentifiersReloaded = true;
    }
    state.Identifiers.MarkUsed(uniqueID_);
}

void TCustomInstallFile::SetFileInformation(int32_t size, double date, const std::string& version) {
    size_ = size;
    date_ = date;
    version_ = version.substr(0, 20);
}

std::string TCustomInstallFile::SourcePath() const { return includeFromDir_ + "\\" + fileName_; }

std::string TCustomInstallFile::DestPath() const { return GetDestPath() + "\\" + destName_; }

bool TCustomInstallFile::DownloadsByItself() const {
    return NetLocation() || overwriteMode_ == TOverwriteType::owVersion || overwriteMode_ == TOverwriteType::owDate ||
           overwriteMode_ == TOverwriteType::owVersionDate;
}

const char* const kDestinationBlank =
    "Cannot compress,copy, or install the following file because it's destination directory is blank. File is :%s";

namespace {

std::string UpperExtension(const std::string& fileName) {
    const std::string name = ExtractFileName(fileName);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : UpperCase(name.substr(dot));
}

} // namespace

std::string TCustomInstallFile::GetArchivePath() const {
    const TDistributeType type = CurrentDistributeType();
    const bool fromServer = type == TDistributeType::dtWeb || (type != TDistributeType::dtTraditional && Net());
    if (fromServer && state_ == TInstallFileState::ifsInstall) {
        if (DownloadsByItself() && !Trim(localArchivePath_).empty())
            return localArchivePath_;
        const auto* container = dynamic_cast<const TFileContainer*>(Container());
        if (container && !Trim(container->LocalArchivePath()).empty())
            return container->LocalArchivePath();
    }
    return TFileRelated::GetArchivePath();
}

// Settings.

TCustomInstallFile::TSettings TCustomInstallFile::CurrentSettings() const {
    return {Container(), includeFromDir_, activeX_, fileType_, DestDirType(), destName_, DestDir(), fileName_};
}

void TCustomInstallFile::ApplySettings(TSettings next) {
    auto* fileContainer = dynamic_cast<TFileContainer*>(next.Container);
    if (next.Container && !fileContainer)
        throw IECustomInstallFile("The following TInstallFile component %s requires the Container property to be a "
                                  "component descended from the TFileContainer component",
                                  {Name()});
    const bool nameChanged = next.FileName != fileName_;
    const bool folderChanged = next.IncludeFromDir != includeFromDir_;
    const std::string sourcePath = next.IncludeFromDir + "\\" + next.FileName;
    if (fileContainer && (nameChanged || folderChanged || next.Container != Container())) {
        TCustomInstallFile* same = fileContainer->FindFileBySource(sourcePath);
        if (same && same != this)
            throw IEfcDuplicateFile("There is already a file with the name :%s", {sourcePath});
    }
    if (nameChanged && !Trim(next.FileName).empty())
        next.DestName = next.FileName;
    const std::string ext = UpperExtension(next.FileName);
    if (nameChanged || folderChanged) {
        registerAsHelp_ = ext == ".HLP" || ext == ".CNT";
        bool selfRegistering = false;
        try {
            selfRegistering = HasOLESelfRegisterAt(sourcePath);
        } catch (const Exception&) {
        }
        next.ActiveX = ext == ".OCX" || selfRegistering;
    }
    if (next.ActiveX && !activeX_)
        next.FileType = TInstallFileType::iftSystemWideDLL;
    if (next.DestDirType != DestDirType() && ext.size() == 4 &&
        std::string(".DLL,.OCX,.BLL,.EXE").find(ext) != std::string::npos) {
        if (dynamic_cast<TpsWindow*>(next.DestDirType) || dynamic_cast<TpsBDEDLL*>(next.DestDirType))
            overwriteMode_ = TOverwriteType::owVersionDate;
        else if (dynamic_cast<TpsSystem*>(next.DestDirType))
            next.FileType = TInstallFileType::iftSystemWideDLL;
    }
    if (next.FileType != fileType_) {
        switch (next.FileType) {
        case TInstallFileType::iftJustADLL:
        case TInstallFileType::iftApplicationSpecificDLL:
            overwriteMode_ = TOverwriteType::owVersionDate;
            break;
        case TInstallFileType::iftVendorSharedDLL:
        case TInstallFileType::iftSystemWideDLL:
            updateDLLCounter_ = true;
            overwriteMode_ = TOverwriteType::owVersionDate;
            break;
        case TInstallFileType::iftNormal:
            break;
        }
    }

    struct TApplying {
        bool& flag;
        explicit TApplying(bool& f) : flag(f) { flag = true; }
        ~TApplying() { flag = false; }
    } applying(applying_);
    TInstallContainer::SetDestDir(next.DestDir);
    if (next.DestDirType != DestDirType())
        TInstallContainer::SetDestDirType(next.DestDirType);
    TFileRelated::SetContainer(next.Container);
    const TStandardPathSpecList& standard = StandardPathSpecifiers();
    switch (next.FileType) {
    case TInstallFileType::iftApplicationSpecificDLL:
        TInstallContainer::SetDestDir("\\System");
        TInstallContainer::SetDestDirType(standard.FindByClass<TpsMainInstall>());
        break;
    case TInstallFileType::iftVendorSharedDLL:
        TInstallContainer::SetDestDir("\\System");
        TInstallContainer::SetDestDirType(standard.FindByClass<TpsCommonFiles>());
        break;
    case TInstallFileType::iftSystemWideDLL:
        TInstallContainer::SetDestDir("");
        TInstallContainer::SetDestDirType(standard.FindByClass<TpsSystem>());
        break;
    default:
        break;
    }
    includeFromDir_ = next.IncludeFromDir;
    fileName_ = next.FileName;
    destName_ = next.DestName;
    fileType_ = next.FileType;
    activeX_ = next.ActiveX;
}

void TCustomInstallFile::SetActiveX(bool activeX) {
    if (IsLoading() || applying_) {
        activeX_ = activeX;
        return;
    }
    TSettings next = CurrentSettings();
    next.ActiveX = activeX;
    ApplySettings(next);
}

void TCustomInstallFile::SetDestName(const std::string& name) {
    if (IsLoading() || applying_) {
        destName_ = name;
        return;
    }
    TSettings next = CurrentSettings();
    next.DestName = name;
    ApplySettings(next);
}

void TCustomInstallFile::SetFileName(const std::string& name) {
    if (IsLoading() || applying_) {
        fileName_ = name;
        return;
    }
    TSettings next = CurrentSettings();
    next.FileName = name;
    ApplySettings(next);
}

void TCustomInstallFile::SetFileType(TInstallFileType type) {
    if (IsLoading() || applying_) {
        fileType_ = type;
        return;
    }
    TSettings next = CurrentSettings();
    next.FileType = type;
    ApplySettings(next);
}

void TCustomInstallFile::SetIncludeFromDir(const std::string& dir) {
    if (IsLoading() || applying_) {
        includeFromDir_ = dir;
        return;
    }
    TSettings next = CurrentSettings();
    next.IncludeFromDir = dir;
    ApplySettings(next);
}

void TCustomInstallFile::SetContainer(TInstallContainer* container) {
    if (IsLoading() || applying_) {
        TFileRelated::SetContainer(container);
        return;
    }
    TSettings next = CurrentSettings();
    next.Container = container;
    ApplySettings(next);
}

void TCustomInstallFile::SetDestDir(const std::string& dir) {
    if (IsLoading() || applying_) {
        TFileRelated::SetDestDir(dir);
        return;
    }
    TSettings next = CurrentSettings();
    next.DestDir = dir;
    ApplySettings(next);
}

void TCustomInstallFile::SetDestDirType(TCustomPathSpecifier* specifier) {
    if (IsLoading() || applying_) {
        TFileRelated::SetDestDirType(specifier);
        return;
    }
    TSettings next = CurrentSettings();
    next.DestDirType = specifier;
    ApplySettings(next);
}

// Information from the source and from the archive.

void TCustomInstallFile::ReadInfoFromSource() {
    const std::string path = SourcePath();
    std::unique_ptr<IFile> file = GetPlatform().Files->OpenFile(path, FileMode::Read);
    if (!file)
        throw IECustomInstallFile(
            "Could not open or find the following file when trying to read the Size, Date, and Version :%s", {path});
    date_ = DateTimeToDayCount(DecodeFileStamp(file->Stamp()));
    size_ = static_cast<int32_t>(file->Size());
    file.reset();
    TVersionResource& reader = SharedVersionResource();
    reader.SetFileName(path);
    version_ = reader.VersionInfo()->FileVersion.substr(0, 20);
}

void TCustomInstallFile::ReadInfoFromArchive() {
    if (archiveInfoRead_)
        return;
    const TDistributeType type = CurrentDistributeType();
    if (type == TDistributeType::dtTraditional || (type == TDistributeType::dtTraditionalNet && !Net())) {
        ReadArchiveEntry(GetArchivePath());
        return;
    }
    if (DownloadsByItself() && !Trim(localArchivePath_).empty()) {
        ReadArchiveEntry(localArchivePath_);
        return;
    }
    auto* container = dynamic_cast<TFileContainer*>(Container());
    if (!container)
        throw IECustomInstallFile("%s cannot perform ReadInfoFromArchive because either no container is assigned or "
                                  "the container is not TFileContainer",
                                  {Name()});
    if (!Trim(container->LocalArchivePath()).empty())
        ReadArchiveEntry(container->LocalArchivePath());
}

void TCustomInstallFile::ReadArchiveEntry(const std::string& archivePath) {
    RequireArchivePath(archivePath);
    TFileArchiveEngine choice(archivePath);
    TPlmrCompress& engine = choice.Engine();
    engine.SetCompressedFile(archivePath);
    const int index = engine.IndexOfFileID(uniqueID_);
    // An identifier no entry was added for maps to slot 0, another file's.
    if (index < 0 || index >= engine.FileCount() || engine.Headers().GetFileHeaders(index).Record.FileID != uniqueID_)
        return;
    const archive::TFileHeaderRecord& record = engine.Headers().GetFileHeaders(index).Record;
    storedSize_ = record.CompressedSize;
    date_ = record.SourceDate;
    size_ = record.SourceSize;
    version_ = engine.Headers().GetFileHeaders(index).SourceVersion().substr(0, 20);
    archiveInfoRead_ = true;
}

} // namespace sw
