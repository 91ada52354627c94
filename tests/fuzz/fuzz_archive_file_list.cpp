// The filelist.lst reader on untrusted bytes: a list it accepts has the
// records its size holds, each with a name, a size and a finite date, and
// writes back to the same bytes up to the padding after the terminators.
#include "archive/ArchiveErrors.h"
#include "archive/FileList.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "project/ProgramState.h"

#include <cmath>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sw::TProgramState state;
    sw::fake::FakePlatform platform;
    sw::ScopedPlatform scoped(platform.Get());
    platform.Files().PutFile("C:\\filelist.lst", std::string(reinterpret_cast<const char*>(data), size));
    std::vector<sw::TFileListEntry> entries;
    try {
        auto file = platform.Files().OpenFile("C:\\filelist.lst", sw::FileMode::Read);
        entries = sw::ReadFileList(*file, "C:\\filelist.lst");
    } catch (const sw::EFileListError&) {
        return 0;
    }
    if (size != 4 + entries.size() * 72)
        std::abort();
    for (const sw::TFileListEntry& e : entries) {
        if (e.Name.empty() || e.Name.size() > 40 || e.Version.size() > 20 || e.SourceSize < 0 ||
            !std::isfinite(e.SourceDate))
            std::abort();
        if (sw::FindFileListEntry(entries, e.Name) != &e)
            std::abort();
    }
    // Names of up to 40 characters are kept, so the list writes back whole.
    auto copy = platform.Files().OpenFile("C:\\copy.lst", sw::FileMode::Create);
    sw::WriteFileList(*copy, entries);
    if (copy->Size() != size)
        std::abort();
    return 0;
}
