// Adding and extracting through the engine: round trips at the buffer sizes,
// events and statistics, replace rules, abort, identifiers, bad archives.
#include "ArchiveFixture.h"

#include "archive/ArchiveErrors.h"
#include "archive/CompressionStream.h"
#include "archive/InflateAhead.h"
#include "platform/FileStamp.h"

#include <zlib.h>

#include <cmath>

using namespace sw;
using archive_test::ArchiveTest;
using archive_test::Le32;
using archive_test::SampleBytes;
using archive_test::VersionedImage;

namespace {

class PlmrCompressTest : public ArchiveTest {
  protected:
    TOwned<TPlmrCompress> engine{new TPlmrCompress(nullptr)};

    // An archive C:\OUT\FILES.1 of the given files (C:\SRC\F<i>.BIN).
    std::vector<std::string> MakeArchive(const std::vector<std::string>& contents) {
        std::vector<std::string> paths;
        for (size_t i = 0; i < contents.size(); ++i) {
            paths.push_back("C:\\SRC\\F" + std::to_string(i) + ".BIN");
            Put(paths.back(), contents[i]);
        }
        AddAll(*engine, "C:\\OUT\\FILES.1", paths);
        return paths;
    }

    std::string ErrorOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "no error";
    }

    // Rewrites one Int32 of the archive.
    void Patch(size_t at, int32_t value) {
        std::string bytes = Get("C:\\OUT\\FILES.1");
        std::memcpy(bytes.data() + at, &value, 4);
        Put("C:\\OUT\\FILES.1", bytes);
    }
};

// Extraction cases run twice: inflating in the caller, and ahead on a second
// thread (as an install does), which must give the same files and errors.
class ExtractionTest : public PlmrCompressTest, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override { engine->SetInflateAhead(GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(InflatedAhead, ExtractionTest, ::testing::Bool());

TEST_P(ExtractionTest, RoundTripsAtTheBufferSizes) {
    std::vector<std::string> contents;
    for (size_t size : {0, 1, 4095, 4096, 4097, 65535, 65536, 65537, 300000})
        contents.push_back(SampleBytes(size, static_cast<unsigned>(size)));
    contents.push_back(std::string(200000, 'z')); // compresses far below one output window
    const auto paths = MakeArchive(contents);
    EXPECT_FALSE(engine->HeadersLoaded());
    std::vector<std::string> names;
    for (const auto& p : paths)
        names.push_back(p);
    const int opensBefore = files().ReadOpens();
    Extract(*engine, "C:\\DEST\\SUB", names);
    // The table is read once; the entries are read through the workers' own
    // handles when inflated ahead, else through one opened for each.
    const int workers = std::min(ProcessorCount(), TInflateAhead::kMostWorkers);
    EXPECT_EQ(files().ReadOpens() - opensBefore, 1 + (GetParam() ? workers : static_cast<int>(paths.size())));
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::string out = "C:\\DEST\\SUB\\F" + std::to_string(i) + ".BIN";
        EXPECT_EQ(Get(out), contents[i]) << i;
        EXPECT_EQ(files().GetFileStamp(out), EncodeFileStamp({2001, 2, 3, 4, 5, 6}));
    }
    EXPECT_EQ(engine->FilesToProcess()->Count(), 0);
    EXPECT_TRUE(engine->ExtractName.empty());
}

TEST_F(PlmrCompressTest, EventsAndStatisticsWhileAdding) {
    Put("C:\\SRC\\A.BIN", SampleBytes(300000, 3));
    Put("C:\\SRC\\EMPTY.BIN", "");
    std::vector<std::string> log;
    std::vector<TlzhFileStats> status;
    engine->OnBeforeAdding = {"",
                              [&](TPlmrCompress*, const TlzhFileStats& s) { log.push_back("before " + s.EntryName); }};
    engine->OnAfterAdding = {"",
                             [&](TPlmrCompress*, const TlzhFileStats& s) { log.push_back("after " + s.EntryName); }};
    engine->OnStatus = {"", [&](TPlmrCompress*, const TlzhFileStats& s) {
                            status.push_back(s);
                            log.push_back(s.EntryDone ? "done" : "status");
                        }};
    AddAll(*engine, "C:\\OUT\\FILES.1", {"C:\\SRC\\A.BIN", "C:\\SRC\\EMPTY.BIN"});
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(log.front(), "before C:\\SRC\\A.BIN");
    EXPECT_EQ(log.back(), "after C:\\SRC\\EMPTY.BIN");
    const std::vector<std::string> tail(log.end() - 4, log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"after C:\\SRC\\A.BIN", "before C:\\SRC\\EMPTY.BIN", "done",
                                              "after C:\\SRC\\EMPTY.BIN"}));
    // Progress moves forward and ends at the whole file.
    const auto lastOfA = std::find_if(status.begin(), status.end(), [](auto& s) { return s.EntryDone; });
    ASSERT_NE(lastOfA, status.end());
    EXPECT_EQ(lastOfA->EntryBytesDone, 300000);
    EXPECT_EQ(lastOfA->EntryPercent, 100);
    EXPECT_EQ(lastOfA->TotalBytesDone, 300000);
    EXPECT_EQ(lastOfA->TotalSize, 300000);
    EXPECT_EQ(lastOfA->EntryRatio, static_cast<uint8_t>(std::nearbyint(100.0 * lastOfA->EntryCompressedSize / 300000)));
    for (auto it = status.begin(); it + 1 < lastOfA; ++it)
        EXPECT_LE(it->EntryBytesDone, (it + 1)->EntryBytesDone);
    EXPECT_GE(lastOfA - status.begin(), 1); // at least one full 64 KiB buffer before the end
    // The empty file's percentages and ratio keep their values.
    EXPECT_EQ(status.back().EntryPercent, 0);
    EXPECT_EQ(status.back().TotalPercent, 100);
    EXPECT_EQ(status.back().EntryRatio, lastOfA->EntryRatio);
    EXPECT_EQ(status.back().EntrySize, 0);
    EXPECT_EQ(engine->FileCount(), 2); // the table in memory after adding
    EXPECT_EQ(engine->GetFileStats(1).EntryName, "C:\\SRC\\EMPTY.BIN");
}

TEST_F(PlmrCompressTest, AllThreadsWriteTheSameArchiveAndEvents) {
    std::vector<std::string> paths;
    for (int i = 0; i < 9; ++i) {
        paths.push_back("C:\\SRC\\T" + std::to_string(i) + ".BIN");
        Put(paths.back(), SampleBytes(static_cast<size_t>(i) * 30001, static_cast<unsigned>(i)));
    }
    // Enough small files for more than one window of files side by side.
    for (int i = 0; i < 300; ++i) {
        paths.push_back("C:\\SRC\\S" + std::to_string(i) + ".BIN");
        Put(paths.back(), SampleBytes(static_cast<size_t>(i % 7) * 100, static_cast<unsigned>(i)));
    }
    auto run = [&](int threads) {
        std::vector<std::string> events;
        engine->Threads = threads;
        engine->OnStatus = {"", [&](TPlmrCompress*, const TlzhFileStats& s) {
                                events.push_back(s.EntryName + " " + std::to_string(s.EntryBytesDone) + " " +
                                                 std::to_string(s.EntryCompressedSize) + " " +
                                                 std::to_string(s.TotalPercent));
                            }};
        engine->OnAfterAdding = {
            "", [&](TPlmrCompress*, const TlzhFileStats& s) { events.push_back("after " + s.EntryName); }};
        AddAll(*engine, "C:\\OUT\\T" + std::to_string(threads) + ".1", paths, TlzhCommand::lzcOverwrite, 5);
        return events;
    };
    const auto one = run(1);
    for (int threads : {2, 3, 8}) {
        EXPECT_EQ(run(threads), one) << threads;
        EXPECT_EQ(Get("C:\\OUT\\T" + std::to_string(threads) + ".1"), Get("C:\\OUT\\T1.1")) << threads;
    }
    // No temporary file is left behind.
    EXPECT_TRUE(files().ListDirectory("C:\\WINDOWS\\TEMP", "*.*").empty());
}

TEST_F(PlmrCompressTest, OnlyAddAppendsBehindTheLastEntry) {
    Put("C:\\SRC\\A.TXT", "first file");
    Put("C:\\SRC\\B.TXT", "second file");
    AddAll(*engine, "C:\\OUT\\FILES.1", {"C:\\SRC\\A.TXT"}, TlzhCommand::lzcOnlyAdd, 3);
    const std::string before = Get("C:\\OUT\\FILES.1");
    AddAll(*engine, "C:\\OUT\\FILES.1", {"C:\\SRC\\B.TXT"}, TlzhCommand::lzcOnlyAdd, 4);
    const std::string after = Get("C:\\OUT\\FILES.1");
    EXPECT_EQ(Le32(after, 0), 2);
    EXPECT_EQ(after.substr(4, before.size() - 4), before.substr(4)); // the old entry is untouched
    EXPECT_EQ(Le32(after, before.size()), 1);                        // Sequence counts in the new list
    EXPECT_EQ(engine->IndexOfFileID(3), 0);
    EXPECT_EQ(engine->IndexOfFileID(4), 1);
    Extract(*engine, "C:\\X", {"C:\\SRC\\A.TXT", "C:\\SRC\\B.TXT"});
    EXPECT_EQ(Get("C:\\X\\A.TXT"), "first file");
    EXPECT_EQ(Get("C:\\X\\B.TXT"), "second file");
    // Overwrite starts again.
    AddAll(*engine, "C:\\OUT\\FILES.1", {"C:\\SRC\\B.TXT"}, TlzhCommand::lzcOverwrite, 4);
    EXPECT_EQ(engine->FileCount(), 1);
}

TEST_F(PlmrCompressTest, IdentifiersAndStatistics) {
    Put("C:\\SRC\\A.TXT", "a");
    Put("C:\\SRC\\B.TXT", "bb");
    Put("C:\\SRC\\C.TXT", "ccc");
    AddAll(*engine, "C:\\OUT\\FILES.1", {"C:\\SRC\\A.TXT"}, TlzhCommand::lzcOnlyAdd, 2500);
    AddAll(*engine, "C:\\OUT\\FILES.1", {"C:\\SRC\\B.TXT"}, TlzhCommand::lzcOnlyAdd, 7);
    AddAll(*engine, "C:\\OUT\\FILES.1", {"C:\\SRC\\C.TXT"}, TlzhCommand::lzcOnlyAdd, 7);
    TOwned<TPlmrCompress> reader(new TPlmrCompress(nullptr));
    reader->SetCompressedFile("C:\\OUT\\FILES.1");
    EXPECT_EQ(reader->IndexOfFileID(7), 2); // the later entry wins
    EXPECT_EQ(reader->IndexOfFileID(2000), -1);
    EXPECT_EQ(reader->IndexOfFileID(-1), -1);
    EXPECT_EQ(reader->IndexOfFileID(1999), 0); // an unset slot holds 0
    EXPECT_EQ(reader->FileCount(), 3);
    const TlzhFileStats s = reader->GetFileStats(1);
    EXPECT_EQ(s.EntryName, "C:\\SRC\\B.TXT");
    EXPECT_EQ(s.EntrySize, 2);
    EXPECT_EQ(s.TotalSize, 6);
    EXPECT_EQ(s.Header.FileID, 7);
    EXPECT_EQ(s.EntryRatio, static_cast<uint8_t>(std::min(255.0, std::nearbyint(100.0 * s.EntryCompressedSize / 2))));
    EXPECT_EQ(ErrorOf([&] { reader->GetFileStats(3); }), "Tried to access the 3th file. This file is not defined");
    EXPECT_EQ(ErrorOf([&] { reader->AddStatus(); }), "AddStatus has Nil DestFile");
}

TEST_F(PlmrCompressTest, SwitchingVolumesOfOneSetKeepsTheTable) {
    MakeArchive({"x"});
    engine->SetCompressedFile("C:\\OUT\\FILES.1");
    engine->ReadHeaders();
    engine->SetCompressedFile("C:\\OUT\\files.1");
    EXPECT_TRUE(engine->HeadersLoaded());
    engine->SetCompressedFile("C:\\OUT\\FILES.2");
    EXPECT_TRUE(engine->HeadersLoaded());
    engine->SetCompressedFile("C:\\OUT\\OTHER.1");
    EXPECT_FALSE(engine->HeadersLoaded());
    EXPECT_EQ(ErrorOf([&] { engine->ReadHeaders(); }), "Cannot open the compressed file C:\\OUT\\OTHER.1");
}

TEST_F(PlmrCompressTest, ExtractNameAppliesToTheFirstEntry) {
    MakeArchive({"zero", "one"});
    std::vector<std::string> seen;
    engine->OnBeforeExtracting = {"", [&](TPlmrCompress* e, const TlzhFileStats&) { seen.push_back(e->ExtractName); }};
    engine->ExtractName = "RENAMED.DAT";
    Extract(*engine, "C:\\X", {"C:\\SRC\\F0.BIN", "C:\\SRC\\F1.BIN"});
    EXPECT_EQ(Get("C:\\X\\RENAMED.DAT"), "zero");
    EXPECT_EQ(Get("C:\\X\\F1.BIN"), "one");
    EXPECT_FALSE(files().FileExists("C:\\X\\F0.BIN"));
    EXPECT_EQ(seen, (std::vector<std::string>{"RENAMED.DAT", "F1.BIN"}));
    EXPECT_EQ(ErrorOf([&] { Extract(*engine, "C:\\X", {"C:\\SRC\\NONE.BIN;x"}); }),
              "The file <C:\\SRC\\NONE.BIN;x> was not found in the archive <C:\\OUT\\FILES.1>");
    EXPECT_TRUE(engine->Abort);
    EXPECT_EQ(engine->FilesToProcess()->Count(), 0);
}

TEST_F(PlmrCompressTest, ReplaceRulesDecideAndOnReplaceRedirects) {
    Put("C:\\SRC\\LIB.DLL", VersionedImage(0x00010000, 0));
    AddAll(*engine, "C:\\OUT\\FILES.1", {"C:\\SRC\\LIB.DLL"});
    files().CreateDirectory("C:\\X");
    Put("C:\\X\\LIB.DLL", VersionedImage(0x00020000, 0)); // newer by version
    int statusCount = 0, replaced = 0;
    engine->OnStatus = {"", [&](TPlmrCompress*, const TlzhFileStats& s) {
                            statusCount++;
                            EXPECT_TRUE(s.EntryDone);
                        }};
    engine->OnReplace = {"", [&](TPlmrCompress* e, const TlzhFileStats&) { replaced++, e->ExtractName = "LIB.NEW"; }};
    engine->Overwrite = TOverwriteType::owVersion;
    Extract(*engine, "C:\\X", {"C:\\SRC\\LIB.DLL"});
    EXPECT_EQ(statusCount, 1);
    EXPECT_EQ(replaced, 0);
    EXPECT_EQ(Get("C:\\X\\LIB.DLL"), VersionedImage(0x00020000, 0));

    engine->OnStatus = {};
    engine->Overwrite = TOverwriteType::owAlways;
    Extract(*engine, "C:\\X", {"C:\\SRC\\LIB.DLL"});
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(Get("C:\\X\\LIB.NEW"), Get("C:\\SRC\\LIB.DLL")); // redirected
    EXPECT_EQ(Get("C:\\X\\LIB.DLL"), VersionedImage(0x00020000, 0));

    // A name set by the caller is held to the same rule as a stored one.
    engine->OnReplace = {};
    EXPECT_EQ(ErrorOf([&] {
                  engine->ExtractName = "NOWHERE\\..\\";
                  Extract(*engine, "C:\\X", {"C:\\SRC\\LIB.DLL"});
              }),
              "The file name <> cannot be extracted into C:\\X");
}

TEST_P(ExtractionTest, AbortStopsAddingAndExtracting) {
    MakeArchive({SampleBytes(300000, 4), "second"});
    int aborted = 0;
    int32_t doneAtAbort = 0;
    engine->OnAborted = {"", [&](TPersistent*) { aborted++; }};
    engine->OnStatus = {"", [&](TPlmrCompress* e, const TlzhFileStats& s) {
                            if (s.EntryBytesDone > 0 && !e->Abort) {
                                e->Abort = true;
                                doneAtAbort = s.EntryBytesDone;
                            }
                        }};
    Extract(*engine, "C:\\X", {"C:\\SRC\\F0.BIN", "C:\\SRC\\F1.BIN"});
    EXPECT_EQ(aborted, 1);
    // The partly written file stays; the next entry was not reached.
    ASSERT_GT(doneAtAbort, 0);
    ASSERT_LT(doneAtAbort, 300000);
    EXPECT_EQ(Get("C:\\X\\F0.BIN"), SampleBytes(300000, 4).substr(0, size_t(doneAtAbort)));
    EXPECT_FALSE(files().FileExists("C:\\X\\F1.BIN"));
    EXPECT_EQ(engine->FilesToProcess()->Count(), 0);

    engine->SetFilesToProcess({"C:\\SRC\\F0.BIN"});
    engine->SetCompressedFile("C:\\OUT\\NEW.1");
    engine->AddFiles(TlzhCommand::lzcOverwrite, 0);
    EXPECT_EQ(aborted, 2);
    EXPECT_TRUE(files().ListDirectory("C:\\WINDOWS\\TEMP", "*.*").empty());

    // A handler's own exception reaches the caller.
    engine->OnAborted = {"", [&](TPersistent*) { throw EAIUserAbort(); }};
    engine->SetFilesToProcess({"C:\\SRC\\F0.BIN"});
    EXPECT_THROW(engine->AddFiles(TlzhCommand::lzcOverwrite, 0), EAIUserAbort);
    // The silent abort ends quietly.
    engine->OnStatus = {"", [&](TPlmrCompress*, const TlzhFileStats&) { throw EAbort(); }};
    engine->Abort = false;
    engine->SetCompressedFile("C:\\OUT\\FILES.1");
    EXPECT_EQ(ErrorOf([&] { Extract(*engine, "C:\\Y", {"C:\\SRC\\F1.BIN"}); }), "no error");
    EXPECT_FALSE(engine->Abort);
}

TEST_F(PlmrCompressTest, SourceAndCreateFailures) {
    Put("C:\\SRC\\A.TXT", "a");
    EXPECT_EQ(ErrorOf([&] {
                  AddAll(*engine, "C:\\OUT\\FILES.1", {"C:\\SRC\\A.TXT", "C:\\SRC\\MISSING.TXT"});
              }),
              "Cannot open the file C:\\SRC\\MISSING.TXT");
    EXPECT_TRUE(engine->Abort);
    files().SetInUse("C:\\OUT\\FILES.1", true);
    EXPECT_EQ(ErrorOf([&] { AddAll(*engine, "C:\\OUT\\FILES.1", {"C:\\SRC\\A.TXT"}); }),
              "Cannot create the file C:\\OUT\\FILES.1");
    files().SetInUse("C:\\OUT\\FILES.1", false);
    AddAll(*engine, "C:\\OUT\\FILES.1", {"C:\\SRC\\A.TXT"});
    files().CreateDirectory("C:\\X");
    Put("C:\\X\\A.TXT", "old");
    files().SetInUse("C:\\X\\A.TXT", true);
    EXPECT_EQ(ErrorOf([&] { Extract(*engine, "C:\\X", {"C:\\SRC\\A.TXT"}); }), "Cannot create the file C:\\X\\A.TXT");
    EXPECT_EQ(Get("C:\\X\\A.TXT"), "old");
}

TEST_P(ExtractionTest, AFullDiskWhileExtracting) {
    MakeArchive({SampleBytes(50000, 5)});
    files().SetFreeSpace('D', 10000);
    EXPECT_EQ(ErrorOf([&] { Extract(*engine, "D:\\", {"C:\\SRC\\F0.BIN"}); }), "The disk is full");
    EXPECT_FALSE(files().FileExists("D:\\F0.BIN")); // nothing half-written is left
    int full = 0;
    engine->OnFullDisk = {"", [&](TPersistent*) { full++; }};
    EXPECT_EQ(ErrorOf([&] { Extract(*engine, "D:\\", {"C:\\SRC\\F0.BIN"}); }),
              "The decompressed file's size does not match with the actual size of the file.  The file is "
              "C:\\SRC\\F0.BIN");
    EXPECT_GE(full, 1);
    EXPECT_FALSE(files().FileExists("D:\\F0.BIN"));
}

TEST_P(ExtractionTest, CorruptEntriesLeaveNoFile) {
    const std::string content = SampleBytes(100000, 6);
    MakeArchive({content});
    const std::string good = Get("C:\\OUT\\FILES.1");
    const std::string sizeError = "The decompressed file's size does not match with the actual size of the file.  "
                                  "The file is C:\\SRC\\F0.BIN";
    auto extract = [&] {
        return ErrorOf([&] {
            engine->SetCompressedFile("C:\\OUT\\OTHER.1");
            engine->SetCompressedFile("C:\\OUT\\FILES.1");
            Extract(*engine, "C:\\X", {"C:\\SRC\\F0.BIN"});
        });
    };
    Patch(5 + 128, 50000); // an entry that inflates past its size
    EXPECT_EQ(extract(), sizeError);
    EXPECT_FALSE(files().FileExists("C:\\X\\F0.BIN"));
    Put("C:\\OUT\\FILES.1", good);
    Patch(5 + 128, 100001); // one that ends short of it
    EXPECT_EQ(extract(), sizeError);
    EXPECT_FALSE(files().FileExists("C:\\X\\F0.BIN"));
    Put("C:\\OUT\\FILES.1", good);
    Patch(5 + 16, Le32(good, 5 + 16) - 100); // the stream ends early: reading stops at DataEnd
    EXPECT_EQ(extract(), "The compressed data of the file C:\\SRC\\F0.BIN are incomplete");
    EXPECT_FALSE(files().FileExists("C:\\X\\F0.BIN"));
    std::string broken = good;
    for (size_t i = 400; i < 480; ++i)
        broken[i] = static_cast<char>(~broken[i]);
    Put("C:\\OUT\\FILES.1", broken);
    EXPECT_EQ(extract(), "error");
    EXPECT_FALSE(files().FileExists("C:\\X\\F0.BIN"));
    Put("C:\\OUT\\FILES.1", good);
    EXPECT_EQ(extract(), "no error");
    EXPECT_EQ(Get("C:\\X\\F0.BIN"), content);
}

TEST_F(PlmrCompressTest, InflationAheadServesTheEntriesThatComeNext) {
    // The second entry holds more than the thread may inflate ahead: it waits
    // for the extraction to take some.
    const std::vector<std::string> contents{"head", SampleBytes(TInflateAhead::kAheadBytes + 100000, 7), "",
                                            SampleBytes(100000, 8), SampleBytes(70000, 9)};
    const auto paths = MakeArchive(contents);
    engine->SetInflateAhead(true);
    auto extractEach = [&](const std::vector<size_t>& order) {
        for (size_t i : order)
            Extract(*engine, "C:\\X", {paths[i]});
        for (size_t i : order)
            EXPECT_EQ(Get("C:\\X\\F" + std::to_string(i) + ".BIN"), contents[i]) << i;
    };
    // An install's order: one call per entry, in the order of their data.
    extractEach({0, 1, 2, 3, 4});
    ASSERT_NE(engine->InflateAhead(), nullptr);
    EXPECT_EQ(engine->InflateAhead()->Taken(), 5);

    // Stopping while the thread waits for room.
    engine->SetInflateAhead(false);
    EXPECT_EQ(engine->InflateAhead(), nullptr);
    engine->SetInflateAhead(true);
    extractEach({0});
    engine->SetInflateAhead(false);

    // Entries passed over are dropped; one behind is inflated by the caller.
    engine->SetInflateAhead(true);
    extractEach({2, 4, 3, 1});
    ASSERT_NE(engine->InflateAhead(), nullptr);
    EXPECT_EQ(engine->InflateAhead()->Taken(), 2);
}

// Any number of workers hands the same data: two entries larger than a
// worker may hold make workers wait for room while another's entry is taken.
TEST_F(PlmrCompressTest, EveryNumberOfWorkersHandsTheEntriesWhole) {
    const std::vector<std::string> contents{SampleBytes(TInflateAhead::kAheadBytes + 100000, 3),
                                            "",
                                            SampleBytes(TInflateAhead::kAheadBytes + 1, 4),
                                            SampleBytes(100000, 5),
                                            SampleBytes(70000, 6),
                                            "tail"};
    engine->CompressionLevel = TCompressionLevel::colFastest;
    MakeArchive(contents);
    engine->ReadHeaders();
    struct TCase {
        std::vector<int> order;
        // Handed whole; the others are behind when asked for.
        std::vector<int> handed;
    };
    const std::vector<TCase> cases{
        {{0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}},
        {{2, 4, 3, 1, 5}, {2, 4, 5}},
        {{5, 0}, {5}},
        {{0}, {0}}, // the rest is dropped while workers wait for room
    };
    for (int workers = 1; workers <= 3; ++workers) {
        for (const TCase& c : cases) {
            std::vector<std::unique_ptr<IFile>> volumes;
            for (int i = 0; i < workers; ++i)
                volumes.push_back(files().OpenFile("C:\\OUT\\FILES.1", FileMode::Read));
            TInflateAhead ahead(std::move(volumes), 0, engine->Headers(), c.order.front());
            std::vector<int> handed;
            for (int index : c.order) {
                std::string data;
                if (!ahead.Take(index,
                                [&](const uint8_t* p, size_t n) { data.append(reinterpret_cast<const char*>(p), n); }))
                    continue;
                EXPECT_EQ(data, contents[static_cast<size_t>(index)]) << workers << " workers, entry " << index;
                handed.push_back(index);
            }
            EXPECT_EQ(handed, c.handed) << workers << " workers";
            EXPECT_EQ(ahead.Taken(), static_cast<int>(c.handed.size()));
        }
    }
}

TEST_F(PlmrCompressTest, StoredNamesNeverLeaveTheFolder) {
    MakeArchive({"payload"});
    const std::string good = Get("C:\\OUT\\FILES.1");
    for (const std::string& stored :
         {std::string("C:\\SRC\\.."), std::string("a/../../EVIL.TXT"), std::string("C:\\SRC\\CON"),
          std::string("C:\\SRC\\NUL.TXT"), std::string("C:\\SRC\\  ")}) {
        std::string bytes = good;
        bytes[5 + 20] = static_cast<char>(stored.size());
        std::memcpy(bytes.data() + 5 + 21, stored.data(), stored.size());
        Put("C:\\OUT\\FILES.1", bytes);
        engine->SetCompressedFile("C:\\OUT\\OTHER.1");
        engine->SetCompressedFile("C:\\OUT\\FILES.1");
        const std::string error = ErrorOf([&] { Extract(*engine, "C:\\X\\IN", {stored}); });
        EXPECT_NE(error.find("cannot be extracted into C:\\X\\IN"), std::string::npos) << stored << ": " << error;
    }
    EXPECT_FALSE(files().DirectoryExists("C:\\X"));
    EXPECT_FALSE(files().FileExists("C:\\EVIL.TXT"));
    // A stored full path lands in the folder under its file name.
    std::string bytes = good;
    const std::string path = "C:\\WINDOWS\\SYSTEM\\..\\..\\EVIL.TXT";
    bytes[5 + 20] = static_cast<char>(path.size());
    std::memcpy(bytes.data() + 5 + 21, path.data(), path.size());
    Put("C:\\OUT\\FILES.1", bytes);
    engine->SetCompressedFile("C:\\OUT\\OTHER.1");
    engine->SetCompressedFile("C:\\OUT\\FILES.1");
    Extract(*engine, "C:\\X\\IN", {path});
    EXPECT_EQ(Get("C:\\X\\IN\\EVIL.TXT"), "payload");
    EXPECT_FALSE(files().FileExists("C:\\EVIL.TXT"));
}

TEST(CompressionStream, WritesOneZlibStreamAndRefusesOtherOperations) {
    fake::FakePlatform platform;
    auto file = platform.Files().OpenFile("C:\\Z.BIN", FileMode::Create);
    int steps = 0;
    TCompressionStream stream(*file, 9, [&] { steps++; });
    const std::string data = SampleBytes(400000, 8);
    stream.Write(data.data(), data.size());
    EXPECT_EQ(stream.Seek(0, SeekOrigin::Current), data.size());
    char c;
    EXPECT_THROW(stream.Read(&c, 1), Exception);
    try {
        stream.Seek(1, SeekOrigin::Begin);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Invalid stream operation");
    }
    stream.Close();
    EXPECT_EQ(file->Size(), stream.CompressedSize());
    EXPECT_EQ(static_cast<uint64_t>(steps), stream.CompressedSize() / TCompressionStream::kBufferSize);
    file->Seek(0, SeekOrigin::Begin);
    const auto bytes = file->ReadAll();
    std::string out(data.size(), '\0');
    uLongf length = static_cast<uLongf>(out.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &length, bytes.data(), static_cast<uLong>(bytes.size())),
              Z_OK);
    EXPECT_EQ(out, data);
}

} // namespace
