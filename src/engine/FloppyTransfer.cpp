// The floppy mode: the self-extracting setup copied onto disks, setup.exe
// and setup.1 on the first, files.1 spanned over as many as it takes.
#include "archive/MainArchiveEngine.h"
#include "archive/PlmrCompress.h"
#include "archive/SelfExtract.h"
#include "engine/CustomInstall.h"
#include "objects/InstallMessages.h"
#include "paths/StandardSpecifiers.h"
#include "platform/FileSystem.h"
#include "platform/Gui.h"
#include "platform/Platform.h"
#include "platform/PlatformErrors.h"
#include "system/InstallErrors.h"
#include "system/SystemHelpers.h"

#include <vector>

namespace sw {

namespace {

constexpr size_t kFloppyBlock = 8192;

// Restores the normal cursor however the transfer ends.
struct TNormalCursorAtEnd {
    ~TNormalCursorAtEnd() {
        GetPlatform().Gui->SetCursor(CursorKind::Default);
        ProcessPendingMessages();
    }
};

} // namespace

bool TCustomInstall::CopyRangeToDisk(IFile& source, uint64_t from, uint64_t to, const std::string& target) {
    const std::unique_ptr<IFile> file = GetPlatform().Files->OpenFile(target, FileMode::Create);
    if (!file)
        return false;
    try {
        source.Seek(static_cast<int64_t>(from), SeekOrigin::Begin);
        std::vector<uint8_t> block(kFloppyBlock);
        for (uint64_t left = to - from; left > 0;) {
            const size_t want = static_cast<size_t>(std::min<uint64_t>(left, block.size()));
            const size_t got = source.Read(block.data(), want);
            if (got != want)
                return false;
            file->Write(block.data(), got);
            left -= got;
            ProcessPendingMessages();
        }
    } catch (const EFileIOError&) {
        return false;
    }
    return true;
}

void TCustomInstall::TransferToFloppies(const std::string& drive) {
    TNormalCursorAtEnd normalCursor;
    GetPlatform().Gui->SetCursor(CursorKind::Hourglass);
    ProcessPendingMessages();
    if (!SwitchGiven('e'))
        throw IEInstall("Sorry... You can only transfer this installation to floppies through the self-extracting "
                        "file. Usage example: setup.exe *TODISK");
    const std::string setup = StandardPathSpecifiers().FindByClass<TpsMainArchiveFile>()->GetPath(this);
    const archive::TSelfExtractTrailer trailer = ReadSelfExtractTrailer(setup);
    SendMessageText("Transferring this installation to floppies. Please wait...");
    try {
        const std::unique_ptr<IFile> source = GetPlatform().Files->OpenFile(setup, FileMode::Read);
        if (!source || !CopyRangeToDisk(*source, 0, trailer.Setup1Start, drive + "\\setup.exe"))
            throw IEInstall("Cannot create setup.exe on the A drive. Probably not enough room");
        if (!CopyRangeToDisk(*source, trailer.Setup1Start, uint64_t(trailer.Setup1End) + 1, drive + "\\setup.1"))
            throw IEInstall("Cannot create setup.1 on the A drive. Probably not enough room");
    } catch (...) {
        Broadcast(msg::DriverMessage, nullptr);
        throw;
    }
    Broadcast(msg::DriverMessage, nullptr);
    // A setup without files.1 has nothing more to span.
    if (trailer.Files1Start == 0)
        return;
    TPlmrCompress& engine = MainArchiveEngine();
    engine.OnNewDisk = TlzhNewDiskEvent("", [](TPlmrCompress*, int32_t disk, std::string&) {
        IGui& gui = *GetPlatform().Gui;
        gui.SetCursor(CursorKind::Default);
        const int answer = gui.MessageBox(Format("Please insert disk %d", {disk}), Application().Title(),
                                          mb::OkCancel | mb::IconQuestion);
        gui.SetCursor(CursorKind::Hourglass);
        if (answer == id::Cancel)
            throw IEInstall("Aborted by user");
    });
    engine.OnStatus = TlzhFileStatsEvent("", [](TPlmrCompress*, const TlzhFileStats&) { ProcessPendingMessages(); });
    auto clearHandlers = [&] {
        engine.OnNewDisk = {};
        engine.OnStatus = {};
    };
    try {
        engine.Offset = static_cast<int32_t>(trailer.Files1Start);
        engine.SetCompressedFile(setup);
        engine.SpanToDisks(IncludeTrailingBackslash(drive), "files.1");
    } catch (...) {
        clearHandlers();
        throw;
    }
    clearHandlers();
}

} // namespace sw
