// The header table reader on untrusted bytes, in the three layouts: the
// bytes as an archive, as a spanned first volume, and carried at an offset.
#include "archive/FileHeaders.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "project/Errors.h"
#include "project/ProgramState.h"

#include <cstdlib>
#include <string>

namespace {

void ReadTable(sw::fake::FakePlatform& platform, const std::string& bytes, int64_t offset) {
    platform.Files().PutFile("C:\\T.1", bytes);
    auto file = platform.Files().OpenFile("C:\\T.1", sw::FileMode::Read);
    sw::TFileHeaders table;
    try {
        table.ReadFromStream(*file, offset);
    } catch (const sw::Exception&) {
        return;
    }
    // A table that reads is one the file can hold.
    if (int64_t(table.Count()) * 172 + 5 > int64_t(bytes.size()) - offset)
        std::abort();
    for (int i = 0; i < table.Count(); ++i) {
        const sw::TFileHeader& h = table.GetFileHeaders(i);
        if (h.SourcePath().size() > 100 || h.SourceVersion().size() > 20 || h.Record.SourceSize < 0)
            std::abort();
        if (!table.MultiVolume && h.Record.DataEnd >= int64_t(bytes.size()) - offset)
            std::abort();
    }
    table.IndexOfName(std::string(bytes.data(), std::min<size_t>(bytes.size(), 30)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sw::TProgramState state;
    sw::fake::FakePlatform platform;
    sw::ScopedPlatform scoped(platform.Get());
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ReadTable(platform, bytes, 0);
    std::string spanned = bytes;
    if (spanned.size() > 4)
        spanned[4] = 1;
    ReadTable(platform, spanned, 0);
    ReadTable(platform, std::string(37, 'S') + bytes + "trailer", 37);
    return 0;
}
