// Spanning onto small volumes on a fake floppy drive D:, reading spanned
// sets back, and the plain copy.
#include "ArchiveFixture.h"

#include "archive/ArchiveErrors.h"
#include "archive/ArchivePaths.h"
#include "platform/FileStamp.h"

using namespace sw;
using archive_test::ArchiveTest;
using archive_test::Le32;
using archive_test::SampleBytes;
using archive_test::VersionedImage;

namespace {

class SpanTest : public ArchiveTest {
  protected:
    TOwned<TPlmrCompress> engine{new TPlmrCompress(nullptr)};
    std::vector<std::string> paths, contents;
    std::vector<int> asked;

    void MakeArchive(size_t count, size_t size) {
        for (size_t i = 0; i < count; ++i) {
            paths.push_back("C:\\SRC\\S" + std::to_string(i) + ".BIN");
            // Random-looking bytes, so the entries stay about their size.
            std::string bytes(size + i * 997, '\0');
            uint32_t x = static_cast<uint32_t>(i) + 7;
            for (char& c : bytes)
                c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
            contents.push_back(bytes);
            Put(paths.back(), bytes);
        }
        AddAll(*engine, "C:\\OUT\\SETUP.1", paths);
    }

    // The drive D: takes `perDisk` bytes (the first disk `first`); asking
    // for disk n stores what is on D: in C:\VOLS and puts disk n back when it
    // was written before.
    void UseFloppies(uint64_t perDisk, uint64_t first = 0) {
        files().SetFreeSpace('D', first ? first : perDisk);
        files().CreateDirectory("C:\\VOLS");
        engine->OnNewDisk = {"", [this, perDisk](TPlmrCompress*, int32_t disk, std::string& path) {
                                 asked.push_back(disk);
                                 EXPECT_EQ(path, "D:");
                                 for (const auto& e : files().ListDirectory("D:\\", "*.*"))
                                     ASSERT_TRUE(files().MoveFile("D:\\" + e.Name, "C:\\VOLS\\" + e.Name));
                                 const std::string back = "C:\\VOLS\\files." + std::to_string(disk);
                                 files().SetFreeSpace('D', perDisk);
                                 if (files().FileExists(back)) {
                                     ASSERT_TRUE(files().MoveFile(back, "D:\\files." + std::to_string(disk)));
                                 }
                             }};
    }

    // Gathers the volumes into C:\SET and extracts every entry from there.
    void ExtractSet(int volumes) {
        files().CreateDirectory("C:\\SET");
        for (int n = 1; n <= volumes; ++n) {
            const std::string name = "files." + std::to_string(n);
            const std::string from = files().FileExists("D:\\" + name) ? "D:\\" + name : "C:\\VOLS\\" + name;
            ASSERT_TRUE(files().CopyFile(from, "C:\\SET\\" + name, false)) << from;
        }
        TOwned<TPlmrCompress> reader(new TPlmrCompress(nullptr));
        reader->SetCompressedFile("C:\\SET\\files.1");
        Extract(*reader, "C:\\X", paths);
        for (size_t i = 0; i < paths.size(); ++i)
            EXPECT_EQ(Get("C:\\X\\S" + std::to_string(i) + ".BIN"), contents[i]) << i;
    }
};

TEST_F(SpanTest, ASetThatFitsOnOneDisk) {
    MakeArchive(3, 1000);
    UseFloppies(1 << 20);
    engine->SpanToDisks("D:", "files.1");
    EXPECT_TRUE(asked.empty());
    const std::string bytes = Get("D:\\files.1");
    EXPECT_EQ(Le32(bytes, 0), 3);
    EXPECT_EQ(bytes[4], 1);
    for (int k = 0; k < 3; ++k) {
        const size_t at = 5 + 172 * static_cast<size_t>(k);
        EXPECT_EQ(Le32(bytes, at + 124), static_cast<int32_t>(at + 172));
        EXPECT_EQ(bytes[at + 140], 1);
        EXPECT_EQ(bytes[at + 12], 1);
    }
    EXPECT_EQ(Le32(bytes, 5 + 132), 5 + 172 * 3); // the first data byte
    EXPECT_EQ(static_cast<size_t>(Le32(bytes, 5 + 2 * 172 + 16)) + 1, bytes.size());
    ExtractSet(1);
}

TEST_F(SpanTest, ManySmallVolumesReadBackIdentically) {
    MakeArchive(6, 9000);
    UseFloppies(9000);
    engine->SpanToDisks("D:", "files.1");
    ASSERT_GE(asked.size(), 8u);
    const int volumes = asked[asked.size() - 2];
    EXPECT_EQ(asked.back(), 1); // the first disk again, for the final table
    for (int n = 2; n <= volumes; ++n)
        EXPECT_EQ(asked[static_cast<size_t>(n - 2)], n);
    EXPECT_EQ(engine->Headers().GetFileHeaders(5).Record.EndDisk, volumes);
    ExtractSet(volumes);

    // Reading the set from the floppy asks for each disk in turn.
    asked.clear();
    TOwned<TPlmrCompress> reader(new TPlmrCompress(nullptr));
    reader->OnNewDisk = engine->OnNewDisk;
    reader->SetCompressedFile("D:\\files.1");
    Extract(*reader, "C:\\Y", paths);
    for (size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(Get("C:\\Y\\S" + std::to_string(i) + ".BIN"), contents[i]) << i;
    EXPECT_EQ(static_cast<int>(asked.size()), volumes - 1);
    EXPECT_EQ(reader->CompressedFile(), "D:\\files." + std::to_string(volumes));
}

TEST_F(SpanTest, AChunkSplitAcrossTwoDisks) {
    MakeArchive(1, 20000);
    UseFloppies(1 << 20, 5 + 172 + 5000);
    engine->SpanToDisks("D:", "files.1");
    const archive::TFileHeaderRecord& r = engine->Headers().GetFileHeaders(0).Record;
    EXPECT_EQ(r.StartDisk, 1);
    EXPECT_EQ(r.DataStart, 177);
    EXPECT_GE(r.EndDisk, 2);
    // The second disk starts with the 3192 bytes left of the first chunk.
    const std::string second = files().FileExists("C:\\VOLS\\files.2") ? Get("C:\\VOLS\\files.2") : Get("D:\\files.2");
    const std::string archive = Get("C:\\OUT\\SETUP.1");
    EXPECT_EQ(second.substr(0, 3192), archive.substr(177 + 5000, 3192));
    ExtractSet(r.EndDisk);
}

TEST_F(SpanTest, OnNewDiskMayChooseAnotherFolder) {
    MakeArchive(2, 6000);
    files().SetFreeSpace('D', 8000);
    files().CreateDirectory("C:\\OTHER");
    engine->OnNewDisk = {"", [&](TPlmrCompress*, int32_t disk, std::string& path) {
                             asked.push_back(disk);
                             path = disk == 1 ? "D:" : "C:\\OTHER";
                         }};
    engine->SpanToDisks("D:", "files.1");
    EXPECT_TRUE(files().FileExists("C:\\OTHER\\files.2"));
    EXPECT_FALSE(files().FileExists("D:\\files.2"));
    EXPECT_EQ(asked.back(), 1);
}

TEST_F(SpanTest, FailuresWhileSpanning) {
    MakeArchive(1, 20000);
    files().SetFreeSpace('D', 4000);
    try {
        engine->SpanToDisks("D:", "files.1");
        ADD_FAILURE();
    } catch (const EPlmrCompress& e) {
        EXPECT_STREQ(e.what(),
                     "There was no event handler for the OnNewDisk event, therefore no new disk could be inserted");
    }
    EXPECT_TRUE(engine->Abort);
    // A new disk that has no room either.
    engine->OnNewDisk = {"", [](TPlmrCompress*, int32_t, std::string&) {}};
    try {
        engine->SpanToDisks("D:", "files.1");
        ADD_FAILURE();
    } catch (const EPlmrCompress& e) {
        EXPECT_STREQ(e.what(), "There is too little space on this disk to operate");
    }
    try {
        engine->SpanToDisks("E:", "files.1");
        ADD_FAILURE();
    } catch (const EPlmrCompress& e) {
        EXPECT_STREQ(e.what(), "Cannot create the file E:\\files.1");
    }
}

TEST_F(SpanTest, AbortWhileSpanning) {
    MakeArchive(2, 30000);
    int aborted = 0;
    engine->OnAborted = {"", [&](TPersistent*) { aborted++; }};
    engine->OnStatus = {"", [](TPlmrCompress* e, const TlzhFileStats& s) { e->Abort = s.TotalBytesDone > 20000; }};
    engine->SpanToDisks("D:", "files.1");
    EXPECT_EQ(aborted, 1);
    EXPECT_LT(files().FileSize("D:\\files.1").value_or(0), 30000u);
}

TEST_F(SpanTest, MissingVolumesWhenReading) {
    MakeArchive(2, 9000);
    UseFloppies(8000);
    engine->SpanToDisks("D:", "files.1");
    files().CreateDirectory("C:\\ONE");
    ASSERT_TRUE(files().CopyFile("D:\\files.1", "C:\\ONE\\files.1", false));
    TOwned<TPlmrCompress> reader(new TPlmrCompress(nullptr));
    reader->SetCompressedFile("C:\\ONE\\files.1");
    try {
        Extract(*reader, "C:\\X", {paths[1]});
        ADD_FAILURE();
    } catch (const EPlmrCompress& e) {
        EXPECT_EQ(std::string(e.what()).substr(0, 36), "Could not open the correct disk file");
    }
    std::vector<int> disks;
    reader->OnNewDisk = {"", [&](TPlmrCompress*, int32_t disk, std::string& path) {
                             disks.push_back(disk);
                             EXPECT_EQ(path, "C:\\ONE");
                         }};
    reader->SetCompressedFile("C:\\ONE\\files.1");
    try {
        Extract(*reader, "C:\\X", {paths[0], paths[1]});
        ADD_FAILURE();
    } catch (const EPlmrCompress& e) {
        EXPECT_EQ(std::string(e.what()).substr(0, 40), "Cannot open the compressed file C:\\ONE\\f");
    }
    ASSERT_EQ(disks.size(), 4u);
    EXPECT_EQ(disks, std::vector<int>(4, disks[0]));
    EXPECT_GE(disks[0], 2);
}

TEST_F(SpanTest, ASpannedTableCannotBeSpannedAgain) {
    MakeArchive(1, 100);
    engine->SpanToDisks("D:", "files.1");
    TOwned<TPlmrCompress> again(new TPlmrCompress(nullptr));
    again->SetCompressedFile("D:\\files.1");
    EXPECT_THROW(again->SpanToDisks("C:\\OUT", "files.1"), EPlmrCompress);
}

class CopyUncompressedTest : public ArchiveTest {
  protected:
    TOwned<TPlmrCompress> engine{new TPlmrCompress(nullptr)};
    std::vector<TlzhFileStats> status;

    CopyUncompressedTest() {
        files().CreateDirectory("C:\\DEST");
        engine->OnStatus = {"", [this](TPlmrCompress*, const TlzhFileStats& s) { status.push_back(s); }};
    }
};

TEST_F(CopyUncompressedTest, CopiesWithTheSourceDate) {
    for (size_t size : {size_t(0), size_t(100), size_t(8192), size_t(16384), size_t(20000)}) {
        status.clear();
        files().SetNow(EncodeFileStamp({1999, 9, 9, 9, 9, 8}));
        Put("C:\\SRC\\P.BIN", SampleBytes(size, 3));
        files().SetNow(EncodeFileStamp({2020, 1, 1, 0, 0, 0}));
        engine->CopyUncompressed("C:\\SRC\\P.BIN", "C:\\DEST\\P.BIN");
        EXPECT_EQ(Get("C:\\DEST\\P.BIN"), SampleBytes(size, 3));
        EXPECT_EQ(files().GetFileStamp("C:\\DEST\\P.BIN"), EncodeFileStamp({1999, 9, 9, 9, 9, 8}));
        // One status per chunk read, the last read short (0 bytes for exact multiples), then done.
        ASSERT_EQ(status.size(), size / 8192 + 2) << size;
        EXPECT_TRUE(status.back().EntryDone);
        EXPECT_EQ(status.back().EntryBytesDone, static_cast<int32_t>(size));
        EXPECT_EQ(status.back().EntryName, "C:\\SRC\\P.BIN");
        if (size) {
            EXPECT_EQ(status.back().TotalPercent, 100);
        }
    }
    EXPECT_EQ(engine->ExtractDirectory, "C:\\DEST");
    EXPECT_EQ(engine->ExtractName, "P.BIN");
}

TEST_F(CopyUncompressedTest, ReplaceRules) {
    Put("C:\\SRC\\LIB.DLL", VersionedImage(0x00010000, 0));
    Put("C:\\DEST\\LIB.DLL", VersionedImage(0x00020000, 0));
    int replaced = 0;
    engine->OnReplace = {"", [&](TPlmrCompress* e, const TlzhFileStats& s) {
                             replaced++;
                             EXPECT_EQ(s.EntryName, "");
                             e->ExtractName = "LIB.OLD";
                         }};
    engine->Overwrite = TOverwriteType::owVersion;
    engine->CopyUncompressed("C:\\SRC\\LIB.DLL", "C:\\DEST\\LIB.DLL");
    EXPECT_TRUE(status.empty());
    EXPECT_EQ(replaced, 0);
    EXPECT_EQ(Get("C:\\DEST\\LIB.DLL"), VersionedImage(0x00020000, 0));

    engine->Overwrite = TOverwriteType::owAlways;
    engine->CopyUncompressed("C:\\SRC\\LIB.DLL", "C:\\DEST\\LIB.DLL");
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(Get("C:\\DEST\\LIB.OLD"), VersionedImage(0x00010000, 0));

    engine->Overwrite = TOverwriteType::owDate;
    try {
        engine->CopyUncompressed("C:\\SRC\\GONE.DLL", "C:\\DEST\\LIB.DLL");
        ADD_FAILURE();
    } catch (const EPlmrCompress& e) {
        EXPECT_STREQ(e.what(), "Error comparing file versions in TPlmrCompress");
    }
}

TEST_F(CopyUncompressedTest, FailuresAndAbort) {
    try {
        engine->CopyUncompressed("C:\\SRC\\GONE.DLL", "C:\\DEST\\GONE.DLL");
        ADD_FAILURE();
    } catch (const EPlmrCompress& e) {
        EXPECT_STREQ(e.what(), "Cannot open the file C:\\SRC\\GONE.DLL");
    }
    Put("C:\\SRC\\BIG.BIN", SampleBytes(50000, 1));
    try {
        engine->CopyUncompressed("C:\\SRC\\BIG.BIN", "C:\\NOFOLDER\\BIG.BIN");
        ADD_FAILURE();
    } catch (const EPlmrCompress& e) {
        EXPECT_STREQ(e.what(), "Cannot create the file C:\\NOFOLDER\\BIG.BIN");
    }
    EXPECT_THROW(engine->CopyUncompressed("C:\\SRC\\BIG.BIN", "c:\\src\\big.bin"), EPlmrCompress);
    EXPECT_EQ(Get("C:\\SRC\\BIG.BIN"), SampleBytes(50000, 1));

    files().SetFreeSpace('D', 10000);
    try {
        engine->CopyUncompressed("C:\\SRC\\BIG.BIN", "D:\\BIG.BIN");
        ADD_FAILURE();
    } catch (const EpcDiskFull& e) {
        EXPECT_STREQ(e.what(), "The disk is full");
    }

    // Abort stops quietly; the copy keeps what was written and no date.
    files().SetNow(EncodeFileStamp({2030, 1, 1, 0, 0, 0}));
    engine->OnStatus = {"", [](TPlmrCompress* e, const TlzhFileStats&) { e->Abort = true; }};
    engine->CopyUncompressed("C:\\SRC\\BIG.BIN", "C:\\DEST\\BIG.BIN");
    EXPECT_EQ(Get("C:\\DEST\\BIG.BIN"), SampleBytes(50000, 1).substr(0, 8192));
    EXPECT_EQ(files().GetFileStamp("C:\\DEST\\BIG.BIN"), EncodeFileStamp({2030, 1, 1, 0, 0, 0}));
}

} // namespace
