// Compression ahead of one-file-at-a-time adds, as a build does them: the
// same archive and events as without it, and a file changed after it was
// compressed ahead goes in as it is when it is added.
#include "ArchiveFixture.h"

#include "archive/ArchiveErrors.h"
#include "archive/CompressAhead.h"

using namespace sw;
using archive_test::ArchiveTest;
using archive_test::SampleBytes;

namespace {

class CompressAheadTest : public ArchiveTest {
  protected:
    CompressAheadTest() {
        // More small files than one window holds (64 per worker), and files
        // large enough for several output buffers.
        for (int i = 0; i < 150; ++i) {
            sources.push_back("C:\\SRC\\F" + std::to_string(i) + ".BIN");
            const size_t size = i % 50 == 0 ? 200000 + static_cast<size_t>(i) * 1000 : static_cast<size_t>(i % 9) * 300;
            Put(sources.back(), SampleBytes(size, static_cast<unsigned>(i)));
        }
    }

    // Adds every source with its own AddFiles call, as the files of a build
    // add themselves; before(i) runs ahead of the i-th. The events seen.
    std::vector<std::string> AddOneByOne(TPlmrCompress& engine, const std::string& archive,
                                         const std::function<void(size_t)>& before = nullptr) {
        std::vector<std::string> events;
        engine.OnStatus = {"", [&](TPlmrCompress*, const TlzhFileStats& s) {
                               events.push_back(s.EntryName + " " + std::to_string(s.EntryBytesDone) + " " +
                                                std::to_string(s.EntryCompressedSize) + " " +
                                                std::to_string(s.TotalPercent));
                           }};
        engine.OnAfterAdding = {
            "", [&](TPlmrCompress*, const TlzhFileStats& s) { events.push_back("after " + s.EntryName); }};
        for (size_t i = 0; i < sources.size(); ++i) {
            if (before)
                before(i);
            AddAll(engine, archive, {sources[i]}, i == 0 ? TlzhCommand::lzcOverwrite : TlzhCommand::lzcOnlyAdd,
                   static_cast<int32_t>(i));
        }
        // The handlers hold the log, which ends here.
        engine.OnStatus = {};
        engine.OnAfterAdding = {};
        return events;
    }

    TCompressAhead& Ahead(TPlmrCompress& engine) {
        engine.SetCompressAhead(std::make_unique<TCompressAhead>(sources, ZlibLevel(engine.CompressionLevel), 2));
        return *engine.CompressAhead();
    }

    size_t TempFiles() { return files().ListDirectory("C:\\WINDOWS\\TEMP", "*.*").size(); }

    std::vector<std::string> sources;
    TOwned<TPlmrCompress> plain{new TPlmrCompress(nullptr)};
    TOwned<TPlmrCompress> ahead{new TPlmrCompress(nullptr)};
};

TEST_F(CompressAheadTest, TheArchiveAndEventsAreThoseOfAddingAlone) {
    const auto expected = AddOneByOne(*plain, "C:\\OUT\\PLAIN.1");
    TCompressAhead& compressAhead = Ahead(*ahead);
    EXPECT_EQ(AddOneByOne(*ahead, "C:\\OUT\\AHEAD.1"), expected);
    EXPECT_EQ(Get("C:\\OUT\\AHEAD.1"), Get("C:\\OUT\\PLAIN.1"));
    EXPECT_EQ(compressAhead.Taken(), 150);
    EXPECT_EQ(compressAhead.Stale(), 0);
    ahead->SetCompressAhead(nullptr);
    EXPECT_EQ(TempFiles(), 0u);
}

TEST_F(CompressAheadTest, AFileChangedAfterItWasCompressedAheadIsCompressedAgain) {
    TCompressAhead& compressAhead = Ahead(*ahead);
    // The first window holds F0..F127. F3 and F100 change after it was
    // compressed, F104 grows; F130 is missing when the second window is
    // compressed and appears before its own add.
    AddOneByOne(*ahead, "C:\\OUT\\AHEAD.1", [&](size_t i) {
        if (i == 1) {
            Put(sources[3], SampleBytes(9 * 300, 77));
            Put(sources[100], "changed, and of another length");
            ASSERT_TRUE(files().DeleteFile(sources[130]));
        }
        if (i == 101)
            Put(sources[104], Get(sources[104]) + "x");
        if (i == 129)
            Put(sources[130], "appeared");
    });
    EXPECT_EQ(compressAhead.Stale(), 3);
    EXPECT_EQ(compressAhead.Taken(), 150 - 3 - 1);
    ahead->SetCompressAhead(nullptr);
    Extract(*ahead, "C:\\DEST", {sources[100], sources[130]});
    EXPECT_EQ(Get("C:\\DEST\\F100.BIN"), "changed, and of another length");
    EXPECT_EQ(Get("C:\\DEST\\F130.BIN"), "appeared");
}

TEST_F(CompressAheadTest, AFileRemovedAfterItWasCompressedAheadIsNotAdded) {
    Ahead(*ahead);
    AddAll(*ahead, "C:\\OUT\\AHEAD.1", {sources[0]});
    // Results keep no source open: the file can go.
    ASSERT_TRUE(files().DeleteFile(sources[1]));
    try {
        AddAll(*ahead, "C:\\OUT\\AHEAD.1", {sources[1]}, TlzhCommand::lzcOnlyAdd);
        FAIL() << "added a removed file";
    } catch (const EPlmrCompress& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open the file C:\\SRC\\F1.BIN");
    }
}

TEST_F(CompressAheadTest, ChangedFilesAreArchivedWithWhatTheyHoldWhenAdded) {
    sources.resize(8);
    TCompressAhead& compressAhead = Ahead(*ahead);
    const std::string replaced = SampleBytes(4 * 300, 99); // same length as F4's
    AddOneByOne(*ahead, "C:\\OUT\\AHEAD.1", [&](size_t i) {
        if (i == 2)
            Put(sources[4], replaced);
    });
    EXPECT_EQ(compressAhead.Stale(), 1);
    Extract(*ahead, "C:\\DEST", {sources[4], sources[5]});
    EXPECT_EQ(Get("C:\\DEST\\F4.BIN"), replaced);
    EXPECT_EQ(Get("C:\\DEST\\F5.BIN"), Get(sources[5]));
}

TEST_F(CompressAheadTest, OnlyTheSameLevelAndListedSourcesAreTaken) {
    TCompressAhead compressAhead(sources, 9, 2);
    TCompressedEntry entry;
    entry.Open(sources[0]);
    EXPECT_FALSE(compressAhead.Take(sources[0], 1, entry));
    Put("C:\\SRC\\OTHER.BIN", "other");
    TCompressedEntry other;
    other.Open("C:\\SRC\\OTHER.BIN");
    EXPECT_FALSE(compressAhead.Take("C:\\SRC\\OTHER.BIN", 9, other));
    EXPECT_EQ(compressAhead.Taken(), 0);
    // Names compare without case; the source is left where it stood.
    TCompressedEntry lower;
    lower.Open(sources[1]);
    EXPECT_TRUE(compressAhead.Take("c:\\src\\f1.bin", 9, lower));
    EXPECT_EQ(lower.Source->Seek(0, SeekOrigin::Current), 0u);
    EXPECT_EQ(lower.SourceBytes, static_cast<int64_t>(Get(sources[1]).size()));
}

TEST_F(CompressAheadTest, ResultsNoPassAskedForAreDroppedAtTheNextWindow) {
    TCompressAhead compressAhead(sources, 9, 2);
    const size_t before = TempFiles();
    TCompressedEntry first;
    first.Open(sources[0]);
    ASSERT_TRUE(compressAhead.Take(sources[0], 9, first));
    // One window: every result waits in a temporary file.
    const size_t window = TempFiles() - before;
    EXPECT_GT(window, 10u);
    EXPECT_LT(window, sources.size());
    // Asking for the last source compresses its window and drops what lies
    // before it.
    TCompressedEntry last;
    last.Open(sources.back());
    ASSERT_TRUE(compressAhead.Take(sources.back(), 9, last));
    EXPECT_LT(TempFiles() - before, window);
}

TEST_F(CompressAheadTest, AListedSourceTwiceIsTakenAtEachPlace) {
    std::vector<std::string> twice{sources[0], sources[1], sources[0]};
    TCompressAhead compressAhead(twice, 9, 2);
    for (const std::string& source : twice) {
        TCompressedEntry entry;
        entry.Open(source);
        EXPECT_TRUE(compressAhead.Take(source, 9, entry)) << source;
    }
    EXPECT_EQ(compressAhead.Taken(), 3);
}

} // namespace
