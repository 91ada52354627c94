#include "objects/FileContainer.h"

#include "objects/InstallFile.h"
#include "objects/InstallMessages.h"
#include "objects/InstallParameters.h"
#include "objects/NetInstallLocation.h"
#include "paths/PathSpecifier.h"
#include "project/Errors.h"
#include "project/Text.h"
#include "system/InstallErrors.h"

namespace sw {

SW_CLASS_INFO(TFileContainer, TFileRelated)

SW_CLASS_INFO(TInstallFileGroup, TFileContainer,
              prop::Enumeration("AddToArchive", &Self::AddToArchive, &Self::SetAddToArchive, LzhCommandNames(),
                                std::optional(TlzhCommand::lzcOverwrite)),
              prop::Boolean("AllowChangeDir", &Self::AllowChangeDir, &Self::SetAllowChangeDir, true),
              prop::Boolean("AllowChoice", &Self::AllowChoice, &Self::SetAllowChoice, true),
              prop::String("ArchiveFile", &Self::ArchiveFile, &Self::SetArchiveFile),
              prop::Reference("ArchiveFileType", &Self::ArchiveFileType, &Self::SetArchiveFileType),
              prop::Reference("Container", &Self::Container, &Self::SetContainer),
              prop::Object("Description", &Self::Description),
              prop::String("DestDir", &Self::DestDir, &Self::SetDestDir),
              prop::Reference("DestDirType", &Self::DestDirType, &Self::SetDestDirType),
              prop::String("GroupName", &Self::GroupName, &Self::SetGroupName, std::nullopt),
              prop::Boolean("Include", &Self::Include, &Self::SetInclude, true),
              prop::Set("InstallTypes", &Self::InstallTypes, &Self::SetInstallTypes, InstallTypeNames(),
                        InstallTypeBit(TInstallType::itAlways)),
              prop::Reference("NetLocation", &Self::NetLocation, &Self::SetNetLocation),
              prop::Integer("Order", &Self::Order, &Self::SetOrder, -1),
              prop::Event("OnAfterInstallObjects", &Self::OnAfterInstallObjects),
              prop::Event("OnAfterProcess", &Self::OnAfterProcess),
              prop::Event("OnBeforeInstallObjects", &Self::OnBeforeInstallObjects),
              prop::Event("OnBeforeProcess", &Self::OnBeforeProcess),
              prop::Event("OnDataReceived", &Self::OnDataReceived), prop::Event("OnNewDisk", &Self::OnNewDisk),
              prop::Event("OnReplacing", &Self::OnReplacing), prop::Event("OnStatus", &Self::OnStatus))

TFileContainer::TFileContainer(TComponent* owner) : TFileRelated(owner), description_(std::make_unique<TStrings>()) {
    net_ = true;
}

TFileContainer::~TFileContainer() { DeleteFiles(); }

void TFileContainer::DeleteFiles() {
    for (int i = ObjectCount() - 1; i >= 0; --i)
        if (i < ObjectCount())
            if (auto* file = dynamic_cast<TCustomInstallFile*>(Objects(i)))
                TComponent::Free(file);
}

TCustomInstallFile* TFileContainer::FindFileBySource(const std::string& path) const {
    for (int i = 0; i < ObjectCount(); ++i)
        if (auto* file = dynamic_cast<TCustomInstallFile*>(Objects(i)); file && SameText(file->SourcePath(), path))
            return file;
    return nullptr;
}

int32_t TFileContainer::SumSizes(bool all, bool recurse) {
    int32_t sum = 0;
    for (int i = 0; i < ObjectCount(); ++i) {
        TInstallObject* child = Objects(i);
        if (!all && !child->IsIncluded())
            continue;
        if (auto* file = dynamic_cast<TCustomInstallFile*>(child))
            sum += file->Size();
        else if (auto* container = dynamic_cast<TFileContainer*>(child); container && recurse)
            sum += container->GetTotalSize(all);
    }
    return sum;
}

int32_t TFileContainer::GetArchiveSize(bool all) {
    int32_t sum = 0;
    for (int i = 0; i < ObjectCount(); ++i) {
        TInstallObject* child = Objects(i);
        if (!all && !child->IsIncluded())
            continue;
        if (auto* file = dynamic_cast<TCustomInstallFile*>(child)) {
            file->ReadInfoFromArchive();
            sum += file->StoredSize();
        } else if (auto* container = dynamic_cast<TFileContainer*>(child)) {
            sum += container->GetArchiveSize(all);
        }
    }
    return sum;
}

bool TFileContainer::HasUnlocatedNetFiles() const {
    IInstallDriverContext* driver = InstallDriverContext();
    if (driver && driver->DistributeType() == TDistributeType::dtTraditional)
        return false;
    for (int i = 0; i < ObjectCount(); ++i)
        if (auto* file = dynamic_cast<TCustomInstallFile*>(Objects(i));
            file && file->Net() && file->Include() && !file->NetLocation())
            return true;
    return false;
}

void TFileContainer::DoNewDisk(TCustomInstallFile* file, TDiskParameter* parameter) {
    if (!OnNewDisk)
        return;
    OnNewDisk(file, parameter->DiskNumber, parameter->Path);
    file->Tag = 1;
}

void TFileContainer::DoReplacing(TCustomInstallFile* file) {
    OnReplacing(file);
    Broadcast(msg::Replacing, file);
}

void TFileContainer::DoStatus(TCustomInstallFile* file, TFileStatusParameter* parameter) {
    OnStatus(file, parameter->FilePercentDone, parameter->TotalPercentDone);
    Broadcast(msg::Progress, parameter);
}

std::string TFileContainer::GetDownloadedArchivePath() const {
    if (Trim(localArchivePath_).empty())
        throw IEFileContainer("%s has not yet downloaded the archive file and therefore cannot retrieve the "
                              "path of the archive file",
                              {Name()});
    return localArchivePath_;
}

TInstallFileGroup::TInstallFileGroup(TComponent* owner) : TFileContainer(owner) {
    installable_ = true;
    groupName_ = "Unnamed File Group";
}

} // namespace sw
