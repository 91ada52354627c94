#include "objects/FileContainer.h"

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

void TFileContainer::InstallObjects() { throw ENotBuiltYet("The install pass of " + Name()); }

void TFileContainer::Compress(uint32_t) { throw ENotBuiltYet("The compress pass of " + Name()); }

void TFileContainer::Copy() { throw ENotBuiltYet("The copy pass of " + Name()); }

void TFileContainer::ReadInfoFromArchive() { throw ENotBuiltYet("Reading the archive information of " + Name()); }

void TFileContainer::DoInformationEventControl(TPersistent*, int, TPersistent*) {
    if (state_ == TProcessingState::Idle)
        return;
    throw ENotBuiltYet("The progress reports of " + Name());
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
