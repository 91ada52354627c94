#include "archive/SelfExtract.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/PlatformErrors.h"
#include "system/InstallErrors.h"

#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

namespace sw {

using archive::TSelfExtractTrailer;

TSelfExtractTrailer ReadSelfExtractTrailer(const std::string& path) {
    auto unreadable = [&] {
        return IEInstall("Could not read the extraction info from the archive file %s when trying to find the "
                         "correct offset into the self extracting file",
                         {path});
    };
    TSelfExtractTrailer trailer;
    uint64_t size = 0;
    try {
        const std::unique_ptr<IFile> file = GetPlatform().Files->OpenFile(path, FileMode::Read);
        if (!file)
            throw unreadable();
        size = file->Size();
        if (size < archive::kTrailerSize)
            throw unreadable();
        file->Seek(static_cast<int64_t>(size - archive::kTrailerSize), SeekOrigin::Begin);
        if (file->Read(&trailer, sizeof trailer) != sizeof trailer)
            throw unreadable();
    } catch (const EFileIOError&) {
        throw unreadable();
    }
    if (!archive::TrailerFitsFile(trailer, size))
        throw IEInstall("The self-extracting file %s is damaged: its extraction info points outside the file", {path});
    return trailer;
}

std::optional<TSelfExtractTrailer> FindSelfExtractTrailer(const std::string& path) {
    try {
        const TSelfExtractTrailer trailer = ReadSelfExtractTrailer(path);
        const TSelfExtractTrailer expected;
        if (trailer.SignatureLength == expected.SignatureLength &&
            std::memcmp(trailer.Signature, expected.Signature, sizeof trailer.Signature) == 0)
            return trailer;
    } catch (const IEInstall&) {
    }
    return std::nullopt;
}

namespace {

// Appends the whole of part to target; the positions of its first and last
// byte in target. Raises IEInstall when it does not go on whole.
std::pair<uint32_t, uint32_t> AppendPart(IFile& target, const std::string& part, const std::string& targetPath) {
    auto shortCopy = [&] {
        return IEInstall("Cannot create the self-extracting exe because %s could not be loaded onto %s",
                         {part, targetPath});
    };
    const std::unique_ptr<IFile> source = GetPlatform().Files->OpenFile(part, FileMode::Read);
    if (!source)
        throw shortCopy();
    try {
        const uint64_t start = target.Seek(0, SeekOrigin::End);
        const uint64_t size = source->Size();
        // An archive is never empty; the archive engine's positions are Int32.
        if (size == 0 || start + size > static_cast<uint64_t>(archive::kMaxPosition))
            throw shortCopy();
        std::vector<uint8_t> block(64 * 1024);
        uint64_t copied = 0;
        while (size_t n = source->Read(block.data(), block.size())) {
            target.Write(block.data(), n);
            copied += n;
        }
        if (copied != size)
            throw shortCopy();
        return {static_cast<uint32_t>(start), static_cast<uint32_t>(start + size - 1)};
    } catch (const EFileIOError&) {
        throw shortCopy();
    }
}

} // namespace

void JoinSelfExtractingSetup(const std::string& setupExe, const std::string& setup1, const std::string& files1) {
    IFileSystem& files = *GetPlatform().Files;
    TSelfExtractTrailer trailer;
    const std::unique_ptr<IFile> target = files.OpenFile(setupExe, FileMode::ReadWrite);
    if (!target)
        throw IEInstall("Cannot create the self-extracting exe because %s could not be loaded onto %s",
                        {setup1, setupExe});
    std::tie(trailer.Setup1Start, trailer.Setup1End) = AppendPart(*target, setup1, setupExe);
    if (files.FileExists(files1))
        std::tie(trailer.Files1Start, trailer.Files1End) = AppendPart(*target, files1, setupExe);
    try {
        target->Seek(0, SeekOrigin::End);
        target->Write(&trailer, sizeof trailer);
    } catch (const EFileIOError&) {
        throw IEInstall("Cannot create the self-extracting exe because %s could not be loaded onto %s",
                        {setup1, setupExe});
    }
}

} // namespace sw
