// The self-extract trailer reader on untrusted bytes: a trailer it accepts
// points inside the file, in order.
#include "archive/SelfExtract.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "project/ProgramState.h"
#include "system/InstallErrors.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sw::TProgramState state;
    sw::fake::FakePlatform platform;
    sw::ScopedPlatform scoped(platform.Get());
    platform.Files().PutFile("C:\\setup.exe", std::string(reinterpret_cast<const char*>(data), size));
    try {
        const sw::archive::TSelfExtractTrailer t = sw::ReadSelfExtractTrailer("C:\\setup.exe");
        const uint64_t payload = size - sw::archive::kTrailerSize;
        if (size < sw::archive::kTrailerSize || t.Setup1Start > t.Setup1End || t.Setup1End >= payload)
            std::abort();
        if ((t.Files1Start || t.Files1End) &&
            (t.Files1Start <= t.Setup1End || t.Files1Start > t.Files1End || t.Files1End >= payload))
            std::abort();
    } catch (const sw::IEInstall&) {
    }
    sw::FindSelfExtractTrailer("C:\\setup.exe");
    return 0;
}
