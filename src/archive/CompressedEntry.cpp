#include "archive/CompressedEntry.h"

#include "archive/ArchiveErrors.h"
#include "archive/ArchivePaths.h"
#include "archive/CompressionStream.h"
#include "platform/Platform.h"
#include "platform/Threads.h"
#include "project/Text.h"
#include "system/SystemHelpers.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace sw {

void TSourceDigest::Add(const uint8_t* data, size_t size) {
    while (size > 0) {
        const uInt part = static_cast<uInt>(std::min<size_t>(size, UINT_MAX));
        Crc = static_cast<uint32_t>(crc32(Crc, data, part));
        Adler = static_cast<uint32_t>(adler32(Adler, data, part));
        Bytes += part;
        data += part;
        size -= part;
    }
}

TSourceDigest DigestOf(IFile& source) {
    TSourceDigest digest;
    std::vector<uint8_t> buffer(kFileChunk);
    while (size_t got = source.Read(buffer.data(), buffer.size()))
        digest.Add(buffer.data(), got);
    return digest;
}

TCompressedEntry::~TCompressedEntry() {
    Source.reset();
    Temp.reset();
    if (!TempPath.empty())
        GetPlatform().Files->DeleteFile(TempPath);
}

void TCompressedEntry::Open(const std::string& source) {
    OpenSource(source);
    CreateTemp();
}

void TCompressedEntry::OpenSource(const std::string& source) {
    Source = GetPlatform().Files->OpenFile(source, FileMode::Read);
    if (!Source)
        throw EPlmrCompress(Format("Cannot open the file %s", {source}));
}

void TCompressedEntry::CreateTemp() {
    IFileSystem& files = *GetPlatform().Files;
    const std::string folder = files.TempDirectory();
    const std::optional<std::string> temp = files.MakeTempFile(folder, "plm");
    if (!temp)
        throw EPlmrCompress(Format("Cannot create the file %s", {IncludeTrailingBackslash(folder) + "plm"}));
    TempPath = *temp;
    Temp = files.OpenFile(TempPath, FileMode::Create);
    if (!Temp)
        throw EPlmrCompress(Format("Cannot create the file %s", {TempPath}));
}

void TCompressedEntry::Compress(int level, const std::function<void(int64_t, int64_t)>& step, TSourceDigest* digest) {
    TCompressionStream* current = nullptr;
    TCompressionStream stream(*Temp, level, [&] {
        step(static_cast<int64_t>(current->Position()), static_cast<int64_t>(current->CompressedSize()));
    });
    current = &stream;
    std::vector<uint8_t> buffer(kFileChunk);
    while (size_t got = Source->Read(buffer.data(), buffer.size())) {
        if (digest)
            digest->Add(buffer.data(), got);
        stream.Write(buffer.data(), got);
    }
    stream.Close();
    SourceBytes = static_cast<int64_t>(stream.Position());
    CompressedSize = static_cast<int64_t>(stream.CompressedSize());
}

TWindow::TWindow(int threads)
    : maxBytes_(int64_t(32 << 20) * std::max(threads, 1)), maxFiles_(64 * static_cast<size_t>(std::max(threads, 1))) {}

void TWindow::Add(int64_t sourceSize) {
    bytes_ += std::max<int64_t>(0, sourceSize);
    ++files_;
}

void CompressSideBySide(const std::vector<TCompressedEntry*>& entries, int level, int threads, bool digest) {
    std::vector<std::pair<uint64_t, TCompressedEntry*>> order;
    for (TCompressedEntry* entry : entries)
        order.emplace_back(entry->Source->Size(), entry);
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    RunJobs(static_cast<int>(order.size()), threads, [&](int job) {
        TCompressedEntry& entry = *order[static_cast<size_t>(job)].second;
        try {
            entry.Compress(
                level, [&entry](int64_t position, int64_t size) { entry.Steps.emplace_back(position, size); },
                digest ? &entry.Digest : nullptr);
        } catch (...) {
            entry.Error = std::current_exception();
        }
    });
}

} // namespace sw
