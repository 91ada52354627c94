// The passes of a file container: install, copy and the build's compress,
// with the archive each child is compressed into.
#include "archive/MainArchiveEngine.h"
#include "objects/FileArchiveEngine.h"
#include "objects/FileContainer.h"
#include "objects/InstallFile.h"
#include "objects/InstallMessages.h"
#include "objects/NetInstallLocation.h"
#include "paths/StandardSpecifiers.h"
#include "platform/FileSystem.h"
#include "platform/Gui.h"
#include "platform/Platform.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/StringHelpers.h"
#include "system/SystemHelpers.h"

namespace sw {

namespace {

void ShowCursor(CursorKind cursor) {
    if (IGui* gui = GetPlatform().Gui.get())
        gui->SetCursor(cursor);
}

// Shows the hourglass while it lives.
struct THourglass {
    THourglass() { ShowCursor(CursorKind::Hourglass); }
    ~THourglass() { ShowCursor(CursorKind::Default); }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;
};

} // namespace

std::string NetFolderOf(const TCustomNetInstallLocation& location) {
    const TCustomLoginInformation& login = *location.LoginInformation();
    std::string directory = login.Directory;
    if (Trim(directory).empty())
        directory = login.Protocol == TInternetProtocol::ipFTP ? "FTP Root directory" : "HTTP Root directory";
    return DirectorySafeName(login.Hostname) + "\\" + DirectorySafeName(directory);
}

void TFileContainer::EndPass() {
    state_ = TProcessingState::Idle;
    Broadcast(msg::PassEnded, nullptr);
}

void TFileContainer::Process(int pass) {
    try {
        switch (pass) {
        case 1:
            Compress(0);
            break;
        case 2:
            Install();
            break;
        case 3:
            Copy();
            break;
        default:
            break;
        }
    } catch (...) {
        state_ = TProcessingState::Idle;
        throw;
    }
    state_ = TProcessingState::Idle;
}

void TFileContainer::ReadInfoFromArchive() {
    THourglass hourglass;
    for (int i = 0; i < ObjectCount(); ++i)
        if (auto* file = dynamic_cast<TCustomInstallFile*>(Objects(i)))
            file->ReadInfoFromArchive();
    for (int i = 0; i < ObjectCount(); ++i)
        if (auto* container = dynamic_cast<TFileContainer*>(Objects(i)))
            container->ReadInfoFromArchive();
    archiveInfoRead_ = true;
}

void TFileContainer::ReadInfoFromSource() {
    THourglass hourglass;
    for (int i = 0; i < ObjectCount(); ++i)
        if (auto* file = dynamic_cast<TCustomInstallFile*>(Objects(i)))
            file->ReadInfoFromSource();
    for (int i = 0; i < ObjectCount(); ++i)
        if (auto* container = dynamic_cast<TFileContainer*>(Objects(i)))
            container->ReadInfoFromSource();
}

// A copy stage starts: a cancel of an earlier stage does not cancel this one.
// Only the outermost pass clears them, so that a cancel not yet noticed when a
// group inside starts still stands.
bool TFileContainer::Outermost() const { return !dynamic_cast<TFileContainer*>(Container()); }

void TFileContainer::ResetCancelFlags() const {
    if (!Outermost())
        return;
    MainArchiveEngine().Abort = false;
    SetDownloadAbort(false);
}

void TFileContainer::InstallObjects() {
    ResetCancelFlags();
    // The outermost pass extracts the main archive's entries one after
    // another: they inflate ahead while each file's own work is done.
    const bool outermost = Outermost();
    if (outermost)
        MainArchiveEngine().SetInflateAhead(true);
    state_ = TProcessingState::Installing;
    ShowCursor(CursorKind::Hourglass);
    auto finish = [this, outermost] {
        if (outermost)
            MainArchiveEngine().SetInflateAhead(false);
        ShowCursor(CursorKind::Default);
        const bool wasAborted = MainArchiveEngine().Abort;
        Broadcast(msg::PassEnded, nullptr);
        OnAfterInstallObjects(this, wasAborted);
        state_ = TProcessingState::Idle;
    };
    try {
        const std::string recorded = RecordedLocalArchive();
        if (!recorded.empty())
            localArchivePath_ = recorded;
        ReadInfoFromArchive();
        Broadcast(msg::ObjectPassStarts, nullptr);
        if (Container())
            Container()->DoInformationEventControl(this, msg::PassStarts, this);
        totalSize_ = GetTotalSize(false);
        bytesDone_ = 0;
        OnBeforeInstallObjects(this);
        TInstallContainer::InstallObjects();
        if (Container())
            Container()->DoInformationEventControl(this, msg::PassEnds, this);
    } catch (...) {
        try {
            finish();
        } catch (...) {
        }
        state_ = TProcessingState::Idle;
        throw;
    }
    finish();
}

void TFileContainer::RunProcessPass(TProcessingState state, uint32_t sizeOptions, const std::function<void()>& body) {
    ResetCancelFlags();
    state_ = state;
    try {
        OnBeforeProcess(this);
        if (Include()) {
            if (Container())
                Container()->DoInformationEventControl(this, msg::PassStarts, this);
            ReadInfoFromSource();
            totalSize_ = GetTotalSize((sizeOptions & coIncludeExcluded) != 0);
            bytesDone_ = 0;
            body();
            OnAfterProcess(this);
            if (Container())
                Container()->DoInformationEventControl(this, msg::PassEnds, this);
        }
    } catch (...) {
        try {
            EndPass();
        } catch (...) {
        }
        state_ = TProcessingState::Idle;
        throw;
    }
    EndPass();
}

void TFileContainer::Copy() {
    RunProcessPass(TProcessingState::Copying, 0, [this] {
        for (int i = 0; i < ObjectCount(); ++i)
            if (auto* file = dynamic_cast<TCustomInstallFile*>(Objects(i)))
                file->Copy();
        for (int i = 0; i < ObjectCount(); ++i)
            if (auto* container = dynamic_cast<TFileContainer*>(Objects(i)))
                container->Copy();
    });
}

std::string TFileContainer::ArchiveFolder() const { return ExtractFileDir(GetArchivePath()); }

void TFileContainer::DeleteArchive(const std::string& path) const {
    IFileSystem& files = *GetPlatform().Files;
    if (files.FileExists(path) && !files.DeleteFile(path))
        throw IEFileContainer("%s cannot delete the archive file %s", {Name(), path});
}

void TFileContainer::Compress(uint32_t options) {
    if ((options & coForceNetFilesLocal) && (options & coForceFilesNet))
        throw IEFileContainer("Cannot pass both coForceNetFilesLocal and coForceFilesNet to Compress");
    RunProcessPass(TProcessingState::Compressing, options, [this, options] {
        std::string netArchive;
        if (TCustomNetInstallLocation* location = FindNetLocation()) {
            netArchive = ArchiveFolder() + "\\" + NetFolderOf(*location) + "\\" + Name() + ".1";
            localArchivePath_ = netArchive;
        } else if (!(options & coForceNetFilesLocal)) {
            throw IEFileRel_NoNetLocation("Could not find a net install location for %s", {Name()});
        }
        if (AddToArchive() == TlzhCommand::lzcOverwrite)
            DeleteArchive(ChangeFileExt(GetArchivePath(), ".1"));
        bool anyNet = false, anyFile = false;
        for (int i = 0; i < ObjectCount(); ++i)
            if (auto* file = dynamic_cast<TCustomInstallFile*>(Objects(i))) {
                anyFile = true;
                anyNet = anyNet || file->Net();
            }
        if (!netArchive.empty() && (anyNet || ((options & coForceFilesNet) && anyFile)))
            DeleteArchive(netArchive);
        for (int i = 0; i < ObjectCount(); ++i)
            if (auto* child = dynamic_cast<TFileRelated*>(Objects(i)))
                CompressChild(child, options, netArchive);
    });
}

void TFileContainer::CompressChild(TFileRelated* child, uint32_t options, const std::string& netArchive) {
    const TlzhCommand savedCommand = child->AddToArchive();
    const std::string savedFile = child->ArchiveFile();
    TCustomPathSpecifier* savedType = child->ArchiveFileType();
    const bool savedInclude = child->Include();
    auto restore = [&] {
        child->SetArchiveFileType(savedType);
        child->SetArchiveFile(savedFile);
        child->SetAddToArchive(savedCommand);
        child->SetInclude(savedInclude);
    };
    try {
        if (options & coIncludeExcluded)
            child->SetInclude(true);
        PlaceChildArchive(child, options, netArchive);
        if (auto* container = dynamic_cast<TFileContainer*>(child))
            container->Compress(options);
        else if (auto* file = dynamic_cast<TCustomInstallFile*>(child))
            file->Compress();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TFileContainer::PlaceChildArchive(TFileRelated* child, uint32_t options, const std::string& netArchive) {
    auto* file = dynamic_cast<TCustomInstallFile*>(child);
    const bool isNet = file && !(options & coForceNetFilesLocal) && (file->Net() || (options & coForceFilesNet) != 0);
    std::string archive;
    if (isNet) {
        TCustomNetInstallLocation* location = file->NetLocation();
        if (location) {
            child->SetAddToArchive(TlzhCommand::lzcOverwrite);
        } else {
            child->SetAddToArchive(TlzhCommand::lzcOnlyAdd);
            if (file->DownloadsByItself()) {
                location = file->FindNetLocation();
                if (!location)
                    throw IEFileRel_NoNetLocation("Could not find a net install location for %s", {file->Name()});
            }
        }
        archive = location ? ArchiveFolder() + "\\" + NetFolderOf(*location) + "\\" + file->Name() + ".1" : netArchive;
        file->SetNetMark(1);
    } else if (dynamic_cast<TpsContainerArchiveFile*>(child->ArchiveFileType())) {
        child->SetAddToArchive(TlzhCommand::lzcOnlyAdd);
    } else if (dynamic_cast<TpsInstallSource*>(child->ArchiveFileType())) {
        child->SetAddToArchive(TlzhCommand::lzcOverwrite);
        const std::string driverArchive = DriverArchivePath();
        archive = ExtractFileDir(driverArchive.empty() ? GetArchivePath() : driverArchive) + child->ArchiveFile();
    } else if (options & coBuildRelocate) {
        child->SetAddToArchive(TlzhCommand::lzcOverwrite);
        const std::string own = child->GetArchivePath();
        const size_t colon = own.find(':');
        archive = ArchiveFolder() + (colon == std::string::npos ? own : own.substr(colon + 1));
    }
    if (!archive.empty()) {
        child->SetArchiveFileType(nullptr);
        child->SetArchiveFile(archive);
    }
}

} // namespace sw
