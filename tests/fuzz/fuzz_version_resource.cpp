// The version resource reader on untrusted blocks: every text of the fixed
// information and of the string table, in two languages, and the version
// comparison on texts taken from the same bytes.
#include "archive/VersionResource.h"
#include "platform/Platform.h"
#include "platform/VersionResources.h"
#include "platform/fake/FakePlatform.h"
#include "project/ProgramState.h"

#include <cstdlib>
#include <string>

namespace {

// Hands out the fuzz input as the version block of every file.
class TBlockVersions : public sw::IVersionResources {
  public:
    explicit TBlockVersions(std::string block) : block_(std::move(block)) {}
    std::optional<std::string> GetFileVersionInfo(const std::string&) override { return block_; }

  private:
    std::string block_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TBlockVersions versions(bytes);
    sw::TProgramState state;
    sw::fake::FakePlatform platform;
    platform.SetVersions(&versions);
    sw::ScopedPlatform scoped(platform.Get());
    {
        sw::TOwned<sw::TVersionResource> reader(new sw::TVersionResource(nullptr));
        reader->SetFileName("C:\\ANY.DLL");
        reader->SetLanguage(sw::version::TLanguage::lnGerman);
        reader->SetCharacterSet(sw::version::TCharacterSet::csUnicode);
        const sw::TVersionInfo& info = *reader->VersionInfo();
        if (info.FileVersion.size() > 23 || info.CompanyName.size() > bytes.size())
            std::abort();
        const size_t half = bytes.size() / 2;
        const std::string a = bytes.substr(0, half), b = bytes.substr(half);
        const int ab = sw::TVersionResource::CompareVersions(a, b);
        const int ba = sw::TVersionResource::CompareVersions(b, a);
        if ((ab > 0) != (ba < 0) || (ab == 0) != (ba == 0) || sw::TVersionResource::CompareVersions(a, a) != 0)
            std::abort();
    }
    return 0;
}
