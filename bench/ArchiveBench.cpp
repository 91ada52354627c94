// The archive benchmark: AddFiles on one thread and on all, ExtractFiles,
// and raw zlib on the same files, each pass in a child process so that its
// peak resident memory is its own.
//
//   archive_bench make-corpus FOLDER [SEED]
//   archive_bench run CORPUS WORK
#include "BenchCorpus.h"
#include "RawZlib.h"

#include "archive/PlmrCompress.h"
#include "archive/VersionResource.h"
#include "platform/Threads.h"
#include "platform/posix/PosixPlatform.h"
#include "project/ProgramState.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TPass {
    double Seconds = 0;
    double PeakMiB = 0;
};

// Runs body in a child process; its time and peak resident memory.
TPass Measure(const std::function<void()>& body) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        const auto start = std::chrono::steady_clock::now();
        try {
            body();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "pass failed: %s\n", e.what());
            ::_exit(1);
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (::write(pipeFds[1], &seconds, sizeof seconds) != sizeof seconds)
            ::_exit(1);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    TPass pass;
    const bool got = ::read(pipeFds[0], &pass.Seconds, sizeof pass.Seconds) == sizeof pass.Seconds;
    ::close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("a pass failed");
    pass.PeakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return pass;
}

// The median time of passes and their highest peak.
TPass Median(std::vector<TPass> passes) {
    std::sort(passes.begin(), passes.end(), [](const TPass& a, const TPass& b) { return a.Seconds < b.Seconds; });
    TPass median = passes[passes.size() / 2];
    for (const TPass& p : passes)
        median.PeakMiB = std::max(median.PeakMiB, p.PeakMiB);
    return median;
}

std::vector<std::string> CorpusFiles(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.is_regular_file())
            files.push_back(fs::absolute(e.path()).string());
    std::sort(files.begin(), files.end());
    return files;
}

void EngineAdd(const std::vector<std::string>& files, const std::string& archive, int threads) {
    sw::TProgramState state;
    sw::posix::PosixPlatform platform;
    sw::ScopedPlatform scoped(platform.Get());
    sw::TOwned<sw::TPlmrCompress> engine(new sw::TPlmrCompress(nullptr));
    std::vector<std::string> sources;
    for (const std::string& f : files)
        sources.push_back(*platform.Files().WindowsPath(f));
    engine->Threads = threads;
    engine->SetCompressedFile(*platform.Files().WindowsPath(archive));
    engine->SetFilesToProcess(sources);
    engine->AddFiles(sw::TlzhCommand::lzcOverwrite, 0);
}

void EngineExtract(const std::string& archive, const std::string& folder) {
    sw::TProgramState state;
    sw::posix::PosixPlatform platform;
    sw::ScopedPlatform scoped(platform.Get());
    sw::TOwned<sw::TPlmrCompress> engine(new sw::TPlmrCompress(nullptr));
    engine->SetCompressedFile(*platform.Files().WindowsPath(archive));
    std::vector<std::string> names;
    for (int i = 0; i < engine->FileCount(); ++i)
        names.push_back(engine->Headers().GetFileHeaders(i).SourcePath());
    engine->ExtractDirectory = *platform.Files().WindowsPath(folder);
    engine->SetFilesToProcess(names);
    engine->ExtractFiles();
}

bool SameFile(const std::string& a, const std::string& b) {
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    return std::equal(std::istreambuf_iterator<char>(fa), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(fb), std::istreambuf_iterator<char>());
}

int Run(const std::string& corpus, const std::string& work) {
    const std::vector<std::string> files = CorpusFiles(corpus);
    uint64_t total = 0;
    for (const std::string& f : files)
        total += fs::file_size(f);
    fs::remove_all(work);
    const double mb = static_cast<double>(total) / 1e6;
    const int threads = sw::ProcessorCount();
    std::printf("corpus: %zu files, %.1f MB; %d processors\n", files.size(), mb, threads);

    // The 1-thread compression and raw deflate three times each, taking turns, so that a busy moment of a
    // shared machine weighs on both alike; their medians.
    std::vector<TPass> adds1, deflates;
    for (int run = 0; run < 3; ++run) {
        adds1.push_back(Measure([&] { EngineAdd(files, work + "/engine1.1", 1); }));
        deflates.push_back(Measure([&] {
            const auto raw = bench::RawDeflate(files, work + "/raw.z");
            std::ofstream index(work + "/raw.idx");
            for (const auto& e : raw)
                index << e.Name << ' ' << e.Offset << ' ' << e.Length << ' ' << e.Size << '\n';
        }));
    }
    const TPass add1 = Median(adds1);
    const TPass deflate = Median(deflates);
    const TPass addN = Measure([&] { EngineAdd(files, work + "/engineN.1", threads); });
    std::vector<bench::TRawEntry> entries;
    {
        std::ifstream index(work + "/raw.idx");
        bench::TRawEntry e;
        while (index >> e.Name >> e.Offset >> e.Length >> e.Size)
            entries.push_back(e);
    }
    // The extractions are too short to time once: five of each, taking turns
    // so that both meet the same machine. Each writes new files into an
    // empty folder, with the pending writes flushed before it so that none
    // is timed against the writing back of the one before.
    auto fresh = [](const std::string& folder) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        ::sync();
    };
    std::vector<TPass> extracts, inflates;
    for (int run = 0; run < 5; ++run) {
        fresh(work + "/out-engine");
        extracts.push_back(Measure([&] { EngineExtract(work + "/engine1.1", work + "/out-engine"); }));
        fresh(work + "/out-raw");
        inflates.push_back(Measure([&] { bench::RawInflate(work + "/raw.z", entries, work + "/out-raw"); }));
    }
    const TPass extract = Median(extracts);
    const TPass inflate = Median(inflates);

    uint64_t rawSize = 0;
    for (const auto& e : entries)
        rawSize += e.Length;
    const uint64_t archiveSize = fs::file_size(work + "/engine1.1");
    const bool identical = SameFile(work + "/engine1.1", work + "/engineN.1");
    bool extracted = true;
    for (const std::string& f : files)
        extracted = extracted && SameFile(f, work + "/out-engine/" + fs::path(f).filename().string());

    auto line = [&](const char* name, const TPass& p) {
        std::printf("%-44s %8.2f s %8.1f MB/s %8.1f MiB peak\n", name, p.Seconds, mb / p.Seconds, p.PeakMiB);
    };
    std::printf("\n%-44s %10s %13s %17s\n", "pass", "time", "throughput", "memory");
    line("AddFiles, 1 thread (median of 3)", add1);
    line(("AddFiles, " + std::to_string(threads) + " threads").c_str(), addN);
    line("ExtractFiles (median of 5)", extract);
    line("raw zlib deflate -9, 1 thread (median of 3)", deflate);
    line("raw zlib inflate (median of 5)", inflate);
    std::printf("\n");
    std::printf("compression, 1 thread / raw:      %.3f (target >= 0.95)\n", deflate.Seconds / add1.Seconds);
    std::printf("compression, %d threads / raw:     %.3f (target >= 1.8 on 2 cores)\n", threads,
                deflate.Seconds / addN.Seconds);
    std::printf("extraction / raw inflate:         %.3f (target >= 0.90)\n", inflate.Seconds / extract.Seconds);
    std::printf("archive %llu bytes, raw zlib %llu bytes: %+.3f %% (target within 0.5 %%)\n",
                static_cast<unsigned long long>(archiveSize), static_cast<unsigned long long>(rawSize),
                100.0 * (static_cast<double>(archiveSize) - static_cast<double>(rawSize)) /
                    static_cast<double>(rawSize));
    std::printf("archives of 1 and %d threads identical: %s; extracted files identical: %s\n", threads,
                identical ? "yes" : "NO", extracted ? "yes" : "NO");
    return identical && extracted ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "make-corpus" && argc >= 3) {
            const uint64_t seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 20261208;
            const uint64_t size = bench::MakeCorpus(argv[2], seed);
            std::printf("corpus: %.1f MB in %s\n", static_cast<double>(size) / 1e6, argv[2]);
            return 0;
        }
        if (command == "run" && argc == 4)
            return Run(argv[2], argv[3]);
        std::fputs("usage: archive_bench make-corpus FOLDER [SEED] | run CORPUS WORK\n", stderr);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "archive_bench: %s\n", e.what());
        return 1;
    }
}
