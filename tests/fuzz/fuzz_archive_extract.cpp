// Extraction of arbitrary archive bytes into a fake file system: the first
// byte splits the rest into up to four volumes and says whether the entries
// inflate ahead on worker threads. Whatever the bytes hold,
// nothing is written outside the target folder and nothing grows past the
// disk.
#include "archive/PlmrCompress.h"
#include "archive/VersionResource.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "project/Errors.h"
#include "project/ProgramState.h"

#include <cstdlib>
#include <string>

namespace {

// Every file below folder, as full paths.
void Walk(sw::IFileSystem& files, const std::string& folder, std::vector<std::string>& out) {
    for (const auto& e : files.ListDirectory(folder, "*.*")) {
        const std::string path = folder + "\\" + e.Name;
        out.push_back(path);
        if (e.Attributes & sw::attr::Directory)
            Walk(files, path, out);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    sw::TProgramState state;
    sw::fake::FakePlatform platform;
    sw::ScopedPlatform scoped(platform.Get());
    sw::fake::FakeFileSystem& files = platform.Files();
    files.AddDrive('D');
    files.SetFreeSpace('D', 1 << 20); // an inflating bomb fills the disk, not the memory
    files.CreateDirectory("C:\\A");
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t volumes = 1 + data[0] % 4;
    const size_t part = bytes.size() / volumes + 1;
    for (size_t v = 0; v < volumes; ++v)
        files.PutFile("C:\\A\\FILES." + std::to_string(v + 1), bytes.substr(std::min(bytes.size(), v * part), part));
    std::vector<std::string> before;
    Walk(files, "C:", before);
    {
        sw::TOwned<sw::TPlmrCompress> engine(new sw::TPlmrCompress(nullptr));
        engine->SetCompressedFile("C:\\A\\FILES.1");
        engine->ExtractDirectory = "D:\\OUT\\HERE";
        engine->SetInflateAhead(data[0] & 4);
        try {
            std::vector<std::string> names;
            for (int i = 0; i < engine->FileCount() && i < 8; ++i)
                names.push_back(engine->Headers().GetFileHeaders(i).SourcePath());
            engine->SetFilesToProcess(names);
            engine->ExtractFiles();
        } catch (const sw::Exception&) {
        }
    }
    std::vector<std::string> after, written;
    Walk(files, "C:", after);
    if (after != before)
        std::abort();
    Walk(files, "D:", written);
    for (const std::string& path : written)
        if (path != "D:\\OUT" && path != "D:\\OUT\\HERE" && path.rfind("D:\\OUT\\HERE\\", 0) != 0)
            std::abort();
    return 0;
}
