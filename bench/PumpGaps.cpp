// How long the GUI may wait while the archive engine extracts: the largest
// file of the corpus is added to an archive, then extracted while every pump
// of the pending messages (system/MessagePump.h) is timed. The largest gap
// between two pumps, and from the start to the first and from the last to the
// end, is the longest a progress window waits to repaint or to serve its
// Cancel (target: under 250 ms).
//
//   pump_gaps CORPUS WORK
//
// Natively the files are real Linux files and the GUI is the fake one; the
// Windows build (bench/wine-corpus.sh runs it under Wine) uses the real
// Win32 platform, its message loop and its tick count.
#include "archive/PlmrCompress.h"
#include "platform/Platform.h"
#include "project/ProgramState.h"
#include "system/MessagePump.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#else
#include "platform/fake/FakeGui.h"
#include "platform/posix/PosixPlatform.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

int Run(const std::string& corpus, const std::string& work) {
    fs::path largest;
    uintmax_t size = 0;
    for (const auto& e : fs::directory_iterator(corpus))
        if (e.is_regular_file() && e.file_size() > size) {
            size = e.file_size();
            largest = e.path();
        }
    if (largest.empty()) {
        std::fprintf(stderr, "pump_gaps: no file in %s\n", corpus.c_str());
        return 1;
    }
    fs::remove_all(work);
    fs::create_directories(work + "/out");

    sw::TProgramState state;
#ifdef _WIN32
    sw::win32::Win32Platform platform;
    sw::ScopedPlatform scoped(platform.Get());
    // The arguments are Windows paths already (Z:\...).
    auto windowsPath = [](std::string path) {
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    };
#else
    sw::posix::PosixPlatform platform;
    sw::Platform p = platform.Get();
    p.Gui = &platform.Others().Gui();
    sw::ScopedPlatform scoped(p);
    auto windowsPath = [&](const std::string& path) { return platform.WindowsPath(fs::absolute(path).string()); };
#endif
    const std::string archive = windowsPath(work + "/pump.1");
    {
        sw::TOwned<sw::TPlmrCompress> engine(new sw::TPlmrCompress(nullptr));
        engine->SetCompressedFile(archive);
        engine->SetFilesToProcess({windowsPath(largest.string())});
        engine->AddFiles(sw::TlzhCommand::lzcOverwrite, 0);
    }

    std::vector<Clock::time_point> pumps;
    pumps.reserve(100000);
    sw::SetPumpObserver([&] { pumps.push_back(Clock::now()); });
    sw::TOwned<sw::TPlmrCompress> engine(new sw::TPlmrCompress(nullptr));
    engine->SetCompressedFile(archive);
    engine->ExtractDirectory = windowsPath(work + "/out");
    if (engine->FileCount() != 1)
        throw std::runtime_error("the archive holds more than the one file");
    engine->SetFilesToProcess({engine->Headers().GetFileHeaders(0).SourcePath()});
    int steps = 0;
    engine->OnStatus = sw::TlzhFileStatsEvent("", [&](sw::TPlmrCompress*, const sw::TlzhFileStats&) { ++steps; });
    const Clock::time_point start = Clock::now();
    engine->ExtractFiles();
    const Clock::time_point end = Clock::now();
    sw::SetPumpObserver({});

    std::vector<double> gaps;
    Clock::time_point last = start;
    for (const Clock::time_point& t : pumps) {
        gaps.push_back(std::chrono::duration<double, std::milli>(t - last).count());
        last = t;
    }
    gaps.push_back(std::chrono::duration<double, std::milli>(end - last).count());
    std::vector<double> sorted = gaps;
    std::sort(sorted.begin(), sorted.end());
    const double seconds = std::chrono::duration<double>(end - start).count();
    std::printf("largest file: %s, %.1f MB, extracted in %.2f s (%d progress steps)\n",
                largest.filename().string().c_str(), static_cast<double>(size) / 1e6, seconds, steps);
    std::printf("pumps: %zu; gap between pumps: median %.1f ms, largest %.1f ms (target < 250 ms; pump every %u ms)\n",
                pumps.size(), sorted[sorted.size() / 2], sorted.back(), sw::kPumpInterval);
    return sorted.back() < 250.0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: pump_gaps CORPUS WORK\n", stderr);
        return 2;
    }
    try {
        return Run(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pump_gaps: %s\n", e.what());
        return 1;
    }
}
