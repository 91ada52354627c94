#include "objects/InstallObject.h"

#include "objects/FileContainer.h"
#include "objects/InstallMessages.h"
#include "objects/InstallParameters.h"
#include "objects/NetInstallLocation.h"
#include "paths/StandardSpecifiers.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "project/Errors.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/InstallRecord.h"
#include "system/SystemHelpers.h"

namespace sw {

SW_CLASS_INFO(TInstallObject, TInstallContainer)
SW_CLASS_INFO(TFileRelated, TInstallObject)

void TInstallObject::SetContainer(TInstallContainer* container) {
    containerAssigned_ = true;
    if (container == container_)
        return;
    if (container)
        container->AddObject(this);
    if (container_)
        container_->RemoveObject(this);
    container_ = container;
    if (IsLoading())
        return;
    if (container) {
        SetDestDirType(StandardPathSpecifiers().FindByClass<TpsContainerDestDir>());
        SetDestDir("");
    } else if (dynamic_cast<TpsContainerDestDir*>(DestDirType())) {
        SetDestDirType(nullptr);
    }
}

void TInstallObject::ContainerDestroyed(TInstallContainer* container) {
    TInstallContainer::ContainerDestroyed(container);
    if (container_ == container)
        container_ = nullptr;
}

void TFileRelated::SetContainer(TInstallContainer* container) {
    const bool unchanged = container == Container();
    TInstallObject::SetContainer(container);
    if (unchanged || IsLoading())
        return;
    if (dynamic_cast<TFileRelated*>(Container()))
        SetArchiveFileType(StandardPathSpecifiers().FindByClass<TpsContainerArchiveFile>());
    else if (dynamic_cast<TpsContainerArchiveFile*>(archiveFileType_))
        SetArchiveFileType(nullptr);
}

namespace {
bool ArchiveTakesNoFile(const TCustomPathSpecifier* specifier) {
    return dynamic_cast<const TpsContainerArchiveFile*>(specifier) ||
           dynamic_cast<const TpsMainArchiveFile*>(specifier);
}
} // namespace

void TFileRelated::SetArchiveFile(const std::string& file) {
    archiveFile_ = !IsLoading() && ArchiveTakesNoFile(archiveFileType_) ? std::string() : file;
}

void TFileRelated::SetArchiveFileType(TCustomPathSpecifier* specifier) {
    if (specifier && !IsLoading())
        specifier->ValidateComponent(this);
    AssignArchiveFileType(specifier);
    if (!IsLoading() && ArchiveTakesNoFile(specifier))
        archiveFile_.clear();
}

void TFileRelated::AssignArchiveFileType(TCustomPathSpecifier* specifier) {
    archiveTypeAssigned_ = true;
    archiveFileType_ = specifier;
    if (specifier)
        FreeNotification(specifier);
}

void TFileRelated::SetNetLocation(TCustomNetInstallLocation* location) {
    netLocation_ = location;
    if (location)
        FreeNotification(location);
}

std::string TFileRelated::GetArchivePath() const {
    if (archiveFileType_)
        return ExcludeTrailingBackslash(archiveFileType_->GetPath(const_cast<TFileRelated*>(this)) + archiveFile_);
    return ExcludeTrailingBackslash(archiveFile_);
}

void TFileRelated::DataReceived(const std::string& fileName, int32_t bytes, int32_t totalBytes, int32_t fileSize,
                                const char* buffer) {
    TDownloadStatusParameter status(bytes, fileName, fileSize, totalBytes);
    OnDataReceived(this, fileName, bytes, totalBytes, fileSize, buffer);
    Broadcast(msg::DownloadProgressShown, &status);
    if (Container())
        Container()->DoInformationEventControl(this, msg::DownloadProgress, &status);
}

TCustomNetInstallLocation* TFileRelated::FindNetLocation() const {
    if (netLocation_)
        return netLocation_;
    // Up through the file containers; only at the top the driver's.
    if (const auto* container = dynamic_cast<const TFileContainer*>(Container()))
        return container->FindNetLocation();
    return dynamic_cast<const TFileContainer*>(this) ? GlobalNetLocation() : nullptr;
}

void TFileRelated::DownloadArchive() {
    std::string recorded = RecordedLocalArchive();
    if (!recorded.empty()) {
        localArchivePath_ = recorded;
        return;
    }
    TCustomNetInstallLocation* location = FindNetLocation();
    if (!location)
        throw IEFileRel_NoNetLocation("Could not find a net install location for %s", {Name()});
    if (!location->LoginInformationValid()) {
        if (netLocation_)
            throw IEFileRelated("%s could not install itself because the TNetLocation component's properties, in the "
                                "NetLocation property, have not been filled in",
                                {Name()});
        throw IEFileRelated("%s could not install itself because the LoginInformation property of the TInstall "
                            "component has not been properly filled in",
                            {Name()});
    }
    localArchivePath_ = ChangeFileExt(MakeTempFileName(false), ".1");
    // A partly received archive must not pass for the object's archive.
    auto discard = [this] {
        GetPlatform().Files->DeleteFile(localArchivePath_);
        localArchivePath_.clear();
    };
    // This object hears of every block while its archive arrives.
    location->DownloadReceiver = TDataReceivedEvent(
        Name(), [this](TPersistent*, const std::string& fileName, int32_t bytes, int32_t totalBytes, int32_t fileSize,
                       const char* buffer) { DataReceived(fileName, bytes, totalBytes, fileSize, buffer); });
    try {
        location->Download(Name() + ".1", localArchivePath_);
    } catch (...) {
        location->DownloadReceiver = {};
        discard();
        throw;
    }
    location->DownloadReceiver = {};
    if (DownloadAborted()) {
        discard();
        throw EAIUserAbort();
    }
    StoreLocalArchive(localArchivePath_);
}

bool TFileRelated::HasLocalArchive() const {
    return !Trim(localArchivePath_).empty() || !RecordedLocalArchive().empty();
}

std::string TFileRelated::RecordedLocalArchive() const {
    const std::string& record = InstallRecordKeyPath();
    if (record.empty() || Name().empty())
        return {};
    Platform& platform = GetPlatform();
    std::string path =
        platform.Registry->ReadString(RegistryRoot::LocalMachine, record + "\\" + Name(), "LocalFile", "");
    if (Trim(path).empty() || !platform.Files->FileExists(path))
        return {};
    return path;
}

void TFileRelated::StoreLocalArchive(const std::string& path) {
    const std::string& record = InstallRecordKeyPath();
    if (record.empty() || Name().empty() || path.empty())
        return;
    try {
        GetPlatform().Registry->WriteString(RegistryRoot::LocalMachine, record + "\\" + Name(), "LocalFile", path);
    } catch (const Exception&) {
        // The record is a convenience for a later run; losing it costs a download.
    }
}

void TFileRelated::Loaded() {
    TInstallObject::Loaded();
    std::string recorded = RecordedLocalArchive();
    if (!recorded.empty())
        localArchivePath_ = recorded;
}

void TFileRelated::Notification(TComponent* component, TOperation operation) {
    TInstallObject::Notification(component, operation);
    if (operation != TOperation::opRemove || !component)
        return;
    if (component == archiveFileType_)
        archiveFileType_ = nullptr;
    if (component == netLocation_)
        SetNetLocation(nullptr);
}

} // namespace sw
