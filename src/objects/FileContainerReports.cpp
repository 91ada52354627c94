// The reports a file container receives from its files and sub-containers:
// it keeps the running byte count of the pass, fires its events, tells its
// dialogs and passes each report on to its own container.
#include "objects/FileContainer.h"
#include "objects/InstallFile.h"
#include "objects/InstallMessages.h"
#include "objects/InstallParameters.h"
#include "system/InstallErrors.h"

#include <cmath>
#include <functional>

namespace sw {

namespace {

[[noreturn]] void BadParameter(const char* which) {
    throw IEFileContainer(std::string("DoInformationEventControl says bad ") + which + " parameter");
}

// The file of a report's pair parameter, checked as far as the list goes:
// a parameter that is no pair, an empty pair, and a first item that is no
// file each raise their own message; the pair is null when it is of the
// other kind.
template <class Pair, class Other>
TCustomInstallFile* PairFile(TPersistent* parameter, const std::string& container, Pair*& pair,
                             const std::function<void()>& badFirst) {
    pair = dynamic_cast<Pair*>(parameter);
    auto* other = dynamic_cast<Other*>(parameter);
    if (!parameter)
        throw IEFileContainer("%s got a nil PO parameter", {container});
    if (!pair && !other)
        throw IEFileContainer("DoInformationEventControl--PO is not a TList object");
    if (pair ? !pair->File && !pair->Parameter : !other->File && !other->Parameter)
        throw IEFileContainer("DoInformationEventControl--Not engouh parameters for status event");
    auto* file = dynamic_cast<TCustomInstallFile*>(pair ? pair->File : other->File);
    if (!file)
        badFirst();
    return file;
}

} // namespace

int32_t TFileContainer::PercentOfTotal(int32_t bytes) const {
    // An empty pass is complete from the start.
    if (totalSize_ == 0)
        return 100;
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(bytes) * 100.0 / totalSize_));
}

void TFileContainer::DoInformationEventControl(TPersistent* sender, int code, TPersistent* parameter) {
    if (state_ == TProcessingState::Idle)
        return;
    switch (code) {
    case msg::FileReplacing: {
        if (!parameter)
            throw IEFileContainer("%s got a nil PO parameter", {Name()});
        auto* file = dynamic_cast<TCustomInstallFile*>(parameter);
        if (!file)
            throw IEFileContainer("DoInformationEventControl parameter is not TInstallFile");
        DoReplacing(file);
        break;
    }
    case msg::InstallProgress:
    case msg::CompressProgress:
    case msg::CopyProgress:
        HandleStatus(parameter);
        break;
    case msg::NewDiskNeeded:
        HandleNewDisk(parameter);
        break;
    case msg::DownloadProgress:
        HandleDownload(parameter);
        break;
    case msg::FileSkipped:
    case msg::FileKept:
        HandleFinishedFile(parameter);
        break;
    default:
        break;
    }
    (void)sender;
    if (Container())
        Container()->DoInformationEventControl(this, code, parameter);
}

void TFileContainer::HandleStatus(TPersistent* parameter) {
    TFileStatusList* list = nullptr;
    TCustomInstallFile* file =
        PairFile<TFileStatusList, TFileDiskList>(parameter, Name(), list, [] { BadParameter("first"); });
    if (!list || !list->Parameter)
        BadParameter("second");
    TFileStatusParameter& status = *list->Parameter;
    status.TotalBytesDone = bytesDone_ + status.BytesDone;
    status.TotalPercentDone = PercentOfTotal(status.TotalBytesDone);
    DoStatus(file, &status);
    if (status.Progress.EntryDone && state_ != TProcessingState::Idle)
        bytesDone_ += status.Progress.EntrySize;
}

void TFileContainer::HandleFinishedFile(TPersistent* parameter) {
    if (!parameter)
        throw IEFileContainer("%s got a nil PO parameter", {Name()});
    auto* file = dynamic_cast<TCustomInstallFile*>(parameter);
    if (!file)
        BadParameter("first");
    TFileStatusParameter status;
    status.BytesDone = file->Size();
    status.FilePercentDone = 100;
    status.FileName = file->FileName();
    status.TotalBytesDone = bytesDone_ + file->Size();
    status.TotalPercentDone = PercentOfTotal(status.TotalBytesDone);
    DoStatus(file, &status);
    bytesDone_ += file->Size();
}

void TFileContainer::HandleNewDisk(TPersistent* parameter) {
    TFileDiskList* list = nullptr;
    TCustomInstallFile* file = PairFile<TFileDiskList, TFileStatusList>(parameter, Name(), list, [] {
        throw IEFileContainer("DoInformationEventControl says bad %d parameter", {1});
    });
    if (!list || !list->Parameter)
        throw IEFileContainer("DoInformationEventControl says bad %d parameter", {2});
    DoNewDisk(file, list->Parameter);
    Broadcast(msg::DiskNeeded, list);
}

void TFileContainer::HandleDownload(TPersistent* parameter) {
    if (!parameter)
        throw IEFileContainer("%s got a nil PO parameter", {Name()});
    auto* status = dynamic_cast<TDownloadStatusParameter*>(parameter);
    if (!status)
        throw IEFileContainer("The PO object passed to %s is not a TDownloadStatusParameter object", {Name()});
    OnDataReceived(this, status->FileName, status->Bytes, status->TotalBytes, status->FileSize, nullptr);
    Broadcast(msg::DownloadProgressShown, status);
}

} // namespace sw
