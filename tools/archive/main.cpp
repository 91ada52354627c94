// archive: the command-line tool for archive files.
//
//   archive list    [--offset N] ARCHIVE
//   archive verify  [--offset N] ARCHIVE
//   archive extract [--offset N] [--part setup.1|files.1] ARCHIVE FOLDER [ENTRY...]
//   archive add     [--append] [--id N] [--threads N] [--level 0|1|6|9] ARCHIVE FILE...
//   archive join    SETUP.EXE SETUP.1 [FILES.1]
//   archive span    [--volume-size N] ARCHIVE FOLDER
//   archive filelist FILELIST.LST
//
// ARCHIVE is a single archive, the first volume of a spanned set (the other
// volumes beside it), with --offset a file carrying an archive, or a
// self-extracting setup: list and verify take its setup.1 and files.1
// through its trailer, extract the one --part names (files.1 by default).
// join appends setup.1 and files.1 to a loading program with the trailer.
// span copies a single archive onto a volume set in FOLDER, each volume of
// at most N bytes (1457664 by default: a 1.44 MB disk).
// filelist lists the records of a net distribution's filelist.lst.
// Errors name the file and what is wrong; the exit status is 0 only when
// everything succeeded.
#include "ToolPlatform.h"

#include "archive/FileList.h"
#include "archive/PlmrCompress.h"
#include "archive/SelfExtract.h"
#include "archive/VersionResource.h"
#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/Threads.h"
#include "project/Errors.h"
#include "project/ProgramState.h"
#include "system/SystemHelpers.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace sw;

namespace {

struct TOptions {
    int32_t Offset = 0;
    std::string Part = "files.1";
    bool Append = false;
    uint64_t VolumeSize = 1457664;
    int32_t FileID = 0;
    int Threads = 0;
    TCompressionLevel Level = TCompressionLevel::colMax;
    std::vector<std::string> Arguments;
};

[[noreturn]] void Usage() {
    std::fputs("usage: archive list    [--offset N] ARCHIVE\n"
               "       archive verify  [--offset N] ARCHIVE\n"
               "       archive extract [--offset N] [--part setup.1|files.1] ARCHIVE FOLDER [ENTRY...]\n"
               "       archive add     [--append] [--id N] [--threads N] [--level 0|1|6|9] ARCHIVE FILE...\n"
               "       archive join    SETUP.EXE SETUP.1 [FILES.1]\n"
               "       archive span    [--volume-size N] ARCHIVE FOLDER\n"
               "       archive filelist FILELIST.LST\n",
               stderr);
    std::exit(2);
}

int32_t Number(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || value < 0 || value > 0x7FFFFFFF)
        throw Exception("Not a number: " + text);
    return static_cast<int32_t>(value);
}

TOptions ParseOptions(int argc, char** argv) {
    TOptions o;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&] {
            if (i + 1 >= argc)
                Usage();
            return std::string(argv[++i]);
        };
        if (a == "--offset")
            o.Offset = Number(value());
        else if (a == "--part") {
            o.Part = value();
            if (o.Part != "setup.1" && o.Part != "files.1")
                Usage();
        } else if (a == "--volume-size")
            o.VolumeSize = static_cast<uint64_t>(Number(value()));
        else if (a == "--append")
            o.Append = true;
        else if (a == "--id")
            o.FileID = Number(value());
        else if (a == "--threads")
            o.Threads = Number(value());
        else if (a == "--level") {
            const std::string level = value();
            o.Level = level == "0"   ? TCompressionLevel::colNone
                      : level == "1" ? TCompressionLevel::colFastest
                      : level == "6" ? TCompressionLevel::colDefault
                      : level == "9" ? TCompressionLevel::colMax
                                     : (Usage(), TCompressionLevel::colMax);
        } else if (a.rfind("--", 0) == 0)
            Usage();
        else
            o.Arguments.push_back(a);
    }
    return o;
}

std::string DateText(double dayCount) {
    try {
        const FileDateTime d = DayCountToDateTime(dayCount);
        char text[32];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", d.Year, d.Month, d.Day, d.Hour, d.Minute,
                      d.Second);
        return text;
    } catch (const Exception&) {
        return "(invalid date)";
    }
}

void List(TPlmrCompress& engine) {
    const int count = engine.FileCount();
    std::printf("%10s %10s %5s  %-20s %-19s %6s %-7s %s\n", "size", "stored", "ratio", "version", "date", "id",
                "volumes", "name");
    int64_t size = 0, stored = 0;
    for (int i = 0; i < count; ++i) {
        const TlzhFileStats s = engine.GetFileStats(i);
        const archive::TFileHeaderRecord& r = s.Header;
        const std::string volumes =
            engine.Headers().MultiVolume ? std::to_string(r.StartDisk) + "-" + std::to_string(r.EndDisk) : "1";
        std::printf("%10d %10d %4d%%  %-20s %-19s %6d %-7s %s\n", r.SourceSize, r.CompressedSize,
                    r.SourceSize ? static_cast<int>(s.EntryRatio) : 100,
                    engine.Headers().GetFileHeaders(i).SourceVersion().c_str(), DateText(r.SourceDate).c_str(),
                    r.FileID, volumes.c_str(), s.EntryName.c_str());
        size += r.SourceSize;
        stored += r.CompressedSize;
    }
    std::printf("%10lld %10lld        %d entries\n", static_cast<long long>(size), static_cast<long long>(stored),
                count);
}

void ListFileList(const std::string& enginePath, const std::string& archive) {
    std::unique_ptr<IFile> file = GetPlatform().Files->OpenFile(enginePath, FileMode::Read);
    if (!file)
        throw Exception("Cannot open " + archive);
    const std::vector<TFileListEntry> entries = ReadFileList(*file, archive);
    std::printf("%10s %-20s %-19s %s\n", "size", "version", "date", "name");
    for (const TFileListEntry& e : entries)
        std::printf("%10d %-20s %-19s %s\n", e.SourceSize, e.Version.c_str(), DateText(e.SourceDate).c_str(),
                    e.Name.c_str());
    std::printf("%zu records\n", entries.size());
}

// Inflates every entry into a scratch folder, one at a time.
int Verify(TPlmrCompress& engine, const std::string& archive) {
    IFileSystem& files = *GetPlatform().Files;
    // The table is read first: an archive without one leaves no scratch folder behind.
    const int count = engine.FileCount();
    const std::optional<std::string> scratchFile = files.MakeTempFile(files.TempDirectory(), "arv");
    if (!scratchFile)
        throw Exception("Cannot create a scratch file in " + files.TempDirectory());
    files.DeleteFile(*scratchFile);
    const std::string scratch = *scratchFile;
    if (!files.CreateDirectory(scratch))
        throw Exception("Cannot create the folder " + scratch);
    int bad = 0;
    for (int i = 0; i < count; ++i) {
        const std::string name = engine.Headers().GetFileHeaders(i).SourcePath();
        try {
            engine.ExtractDirectory = scratch;
            engine.ExtractName = "entry";
            engine.SetFilesToProcess({name});
            engine.ExtractFiles();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "archive: %s: entry %s: %s\n", archive.c_str(), name.c_str(), e.what());
            ++bad;
        }
        files.DeleteFile(IncludeTrailingBackslash(scratch) + "entry");
    }
    files.RemoveDirectory(scratch);
    std::printf("%d entries, %d good, %d bad\n", count, count - bad, bad);
    return bad ? 1 : 0;
}

// The archives a command works on: the one named, or a setup's setup.1 and
// files.1 (Name says which).
struct TPart {
    std::string Name;
    int32_t Offset = 0;
};

std::vector<TPart> PartsOf(const std::string& enginePath, const TOptions& o) {
    if (o.Offset == 0)
        if (const auto trailer = FindSelfExtractTrailer(enginePath)) {
            std::vector<TPart> parts{{"setup.1", static_cast<int32_t>(trailer->Setup1Start)}};
            if (trailer->Files1Start)
                parts.push_back({"files.1", static_cast<int32_t>(trailer->Files1Start)});
            return parts;
        }
    return {{"", o.Offset}};
}

// An engine on the archive at offset of the file; the caller owns it.
TPlmrCompress* OpenEngine(const std::string& enginePath, int32_t offset) {
    TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
    engine->Offset = offset;
    engine->SetCompressedFile(enginePath);
    return engine.release();
}

int Extract(const TToolPlatform& tool, const TOptions& o, const std::vector<TPart>& parts) {
    const std::string enginePath = tool.EnginePath(o.Arguments[0]);
    const TPart* part = &parts[0];
    for (const TPart& p : parts)
        if (p.Name == o.Part)
            part = &p;
    if (!part->Name.empty() && part->Name != o.Part)
        throw Exception("The setup carries no " + o.Part);
    TOwned<TPlmrCompress> engine(OpenEngine(enginePath, part->Offset));
    engine->ExtractDirectory = tool.EnginePath(o.Arguments[1]);
    // Entries by their stored names, or by the paths they were added from.
    std::vector<std::string> names;
    const int count = engine->FileCount();
    for (size_t i = 2; i < o.Arguments.size(); ++i) {
        const std::string& name = o.Arguments[i];
        names.push_back(engine->Headers().IndexOfName(name) >= 0 ? name : tool.EnginePath(name));
    }
    if (names.empty())
        for (int i = 0; i < count; ++i)
            names.push_back(engine->Headers().GetFileHeaders(i).SourcePath());
    engine->SetFilesToProcess(names);
    engine->ExtractFiles();
    return 0;
}

int Run(int argc, char** argv) {
    if (argc < 3)
        Usage();
    const std::string command = argv[1];
    const TOptions o = ParseOptions(argc, argv);
    if (o.Arguments.empty())
        Usage();
    TProgramState state;
    TToolPlatform tool;
    if (command == "span")
        tool.LimitFileSizes(o.VolumeSize);
    ScopedPlatform scoped(tool.Get());
    const std::string archive = o.Arguments[0];
    int status = 0;
    try {
        const std::string enginePath = tool.EnginePath(archive);
        if (command == "join" && (o.Arguments.size() == 2 || o.Arguments.size() == 3)) {
            const std::string files1 = o.Arguments.size() == 3 ? tool.EnginePath(o.Arguments[2]) : std::string();
            if (!files1.empty() && !GetPlatform().Files->FileExists(files1))
                throw Exception("Cannot find " + o.Arguments[2]);
            JoinSelfExtractingSetup(enginePath, tool.EnginePath(o.Arguments[1]), files1);
            std::printf("joined %s\n", archive.c_str());
        } else if ((command == "list" || command == "verify") && o.Arguments.size() == 1) {
            for (const TPart& part : PartsOf(enginePath, o)) {
                if (!part.Name.empty())
                    std::printf("%s at offset %d:\n", part.Name.c_str(), part.Offset);
                TOwned<TPlmrCompress> engine(OpenEngine(enginePath, part.Offset));
                if (command == "list")
                    List(*engine);
                else
                    status |= Verify(*engine, archive);
            }
        } else if (command == "filelist" && o.Arguments.size() == 1) {
            ListFileList(enginePath, archive);
        } else if (command == "extract" && o.Arguments.size() >= 2) {
            status = Extract(tool, o, PartsOf(enginePath, o));
        } else if (command == "span" && o.Arguments.size() == 2) {
            TOwned<TPlmrCompress> engine(OpenEngine(enginePath, 0));
            // Every volume goes into the same folder.
            engine->OnNewDisk = {"",
                                 [](TPlmrCompress*, int32_t disk, std::string&) { std::printf("volume %d\n", disk); }};
            engine->SpanToDisks(tool.EnginePath(o.Arguments[1]), ExtractFileName(enginePath));
            std::printf("spanned %s onto volumes in %s\n", archive.c_str(), o.Arguments[1].c_str());
        } else if (command == "add" && o.Arguments.size() >= 2) {
            TOwned<TPlmrCompress> engine(OpenEngine(enginePath, o.Offset));
            std::vector<std::string> sources;
            for (size_t i = 1; i < o.Arguments.size(); ++i)
                sources.push_back(tool.EnginePath(o.Arguments[i]));
            engine->CompressionLevel = o.Level;
            engine->Threads = o.Threads > 0 ? o.Threads : ProcessorCount();
            engine->SetFilesToProcess(sources);
            engine->AddFiles(o.Append ? TlzhCommand::lzcOnlyAdd : TlzhCommand::lzcOverwrite, o.FileID);
            std::printf("%d entries in %s\n", engine->FileCount(), archive.c_str());
        } else {
            Usage();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "archive: %s: %s\n", archive.c_str(), e.what());
        status = 1;
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "archive: %s\n", e.what());
        return 1;
    }
}
