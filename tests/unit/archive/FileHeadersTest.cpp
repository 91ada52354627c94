// The bytes of the format as the engine writes them, and the header table's
// reading of good and bad tables.
#include "ArchiveFixture.h"

#include "archive/ArchiveErrors.h"
#include "archive/ArchivePaths.h"
#include "archive/FileHeaders.h"
#include "platform/FileStamp.h"

#include <zlib.h>

#include <cmath>

using namespace sw;
using archive_test::ArchiveTest;
using archive_test::Le32;
using archive_test::SampleBytes;
using archive_test::VersionedImage;

namespace {

std::string Inflate(const std::string& stream, size_t size) {
    std::string out(size, '\0');
    uLongf length = static_cast<uLongf>(size);
    const int result = uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                                  reinterpret_cast<const Bytef*>(stream.data()), static_cast<uLong>(stream.size()));
    EXPECT_EQ(result, Z_OK);
    EXPECT_EQ(length, size);
    return out;
}

class FileHeadersTest : public ArchiveTest {
  protected:
    // Reads a table from bytes put at C:\T.BIN.
    void ReadTable(TFileHeaders& table, const std::string& bytes, int64_t offset = 0) {
        Put("C:\\T.BIN", bytes);
        auto file = files().OpenFile("C:\\T.BIN", FileMode::Read);
        table.ReadFromStream(*file, offset);
    }
    std::string ReadError(const std::string& bytes) {
        TFileHeaders table;
        try {
            ReadTable(table, bytes);
        } catch (const EPlmrCompress& e) {
            return e.what();
        }
        return "no error";
    }
    std::string TwoFileArchive() {
        Put("C:\\SRC\\ONE.TXT", SampleBytes(1000, 1));
        Put("C:\\SRC\\TWO.DLL", VersionedImage(0x00030001, 0x00040002));
        TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
        AddAll(*engine, "C:\\OUT\\FILES.1", {"C:\\SRC\\ONE.TXT", "C:\\SRC\\TWO.DLL;group"}, TlzhCommand::lzcOverwrite,
               17);
        return Get("C:\\OUT\\FILES.1");
    }
};

const std::string kCorrupt =
    "Could not read the file headers for the compressed file. The Archive file could possible be corrupt";

TEST_F(FileHeadersTest, AnArchiveWithoutEntriesIsThePrefixAlone) {
    TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
    AddAll(*engine, "C:\\OUT\\EMPTY.1", {});
    EXPECT_EQ(Get("C:\\OUT\\EMPTY.1"), std::string(5, '\0'));
    engine->SetCompressedFile("C:\\OUT\\EMPTY.1");
    engine->ReadHeaders();
    EXPECT_EQ(engine->FileCount(), 0);
}

TEST_F(FileHeadersTest, TwoFilesLieRecordDataRecordData) {
    const std::string bytes = TwoFileArchive();
    EXPECT_EQ(Le32(bytes, 0), 2);
    EXPECT_EQ(bytes[4], 0);
    const size_t r1 = 5;
    EXPECT_EQ(Le32(bytes, r1 + 0), 1); // Sequence
    // Compared as stored bytes: on x87 a computed double may carry extra precision.
    const double expected = DateTimeToDayCount({2001, 2, 3, 4, 5, 6});
    char expectedBytes[8];
    std::memcpy(expectedBytes, &expected, 8);
    EXPECT_EQ(bytes.substr(r1 + 4, 8), std::string(expectedBytes, 8));
    EXPECT_EQ(bytes[r1 + 12], 0);          // EndDisk
    EXPECT_EQ(Le32(bytes, r1 + 132), 177); // DataStart: right after the record
    const int32_t end1 = Le32(bytes, r1 + 16);
    EXPECT_EQ(Le32(bytes, r1 + 124), end1 + 1); // NextHeader
    EXPECT_EQ(Le32(bytes, r1 + 128), 1000);     // SourceSize
    EXPECT_EQ(Le32(bytes, r1 + 136), end1 - 177 + 1);
    EXPECT_EQ(bytes[r1 + 140], 0);        // StartDisk
    EXPECT_EQ(Le32(bytes, r1 + 144), 17); // FileID
    const std::string path = "C:\\SRC\\ONE.TXT";
    EXPECT_EQ(static_cast<uint8_t>(bytes[r1 + 20]), path.size());
    EXPECT_EQ(bytes.substr(r1 + 21, path.size()), path);
    EXPECT_EQ(bytes.substr(r1 + 21 + path.size(), 100 - path.size()), std::string(100 - path.size(), '\0'));
    EXPECT_EQ(bytes[r1 + 148], 0); // no version
    for (size_t pad : {13, 121, 141, 169})
        EXPECT_EQ(bytes.substr(r1 + pad, 3), std::string(3, '\0')) << pad;
    EXPECT_EQ(Inflate(bytes.substr(177, end1 - 177 + 1), 1000), SampleBytes(1000, 1));

    const size_t r2 = static_cast<size_t>(end1) + 1;
    EXPECT_EQ(Le32(bytes, r2 + 0), 2);
    EXPECT_EQ(Le32(bytes, r2 + 132), static_cast<int32_t>(r2 + 172));
    const int32_t end2 = Le32(bytes, r2 + 16);
    EXPECT_EQ(static_cast<size_t>(end2) + 1, bytes.size());
    EXPECT_EQ(Le32(bytes, r2 + 124), end2 + 1);
    EXPECT_EQ(Le32(bytes, r2 + 144), 17);
    EXPECT_EQ(bytes.substr(r2 + 20, 16), std::string(1, 14) + "C:\\SRC\\TWO.DLL" + '\0'); // without ";group"
    EXPECT_EQ(bytes.substr(r2 + 148, 8), std::string("\x07") + "3.1.4.2");
    EXPECT_EQ(Inflate(bytes.substr(r2 + 172, end2 - (r2 + 172) + 1), Get("C:\\SRC\\TWO.DLL").size()),
              Get("C:\\SRC\\TWO.DLL"));
}

TEST_F(FileHeadersTest, LongNamesAndVersionsAreCut) {
    const std::string folder = "C:\\" + std::string(60, 'F');
    files().CreateDirectory(folder);
    const std::string path = folder + "\\" + std::string(50, 'N') + ".DLL";
    Put(path, VersionedImage(0xFFFFFFFF, 0xFFFFFFFF));
    auto header = MakeFileHeader(path + ";extra");
    EXPECT_EQ(header->SourcePath(), path.substr(0, 100));
    EXPECT_EQ(header->SourceVersion(), std::string("65535.65535.65535.65535").substr(0, 20));
    EXPECT_EQ(header->Record.SourceSize, static_cast<int32_t>(Get(path).size()));

    TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
    AddAll(*engine, "C:\\OUT\\LONG.1", {path});
    const std::string bytes = Get("C:\\OUT\\LONG.1");
    EXPECT_EQ(static_cast<uint8_t>(bytes[25]), 100);
    EXPECT_EQ(bytes.substr(26, 100), path.substr(0, 100));
    EXPECT_EQ(static_cast<uint8_t>(bytes[5 + 148]), 20);
    // The cut text is the key.
    engine->ExtractDirectory = "C:\\X";
    engine->SetFilesToProcess({path.substr(0, 100)});
    engine->ExtractFiles();
    EXPECT_EQ(Get("C:\\X\\" + std::string(36, 'N')), Get(path));
    engine->SetFilesToProcess({path});
    EXPECT_THROW(engine->ExtractFiles(), EPlmrCompress);
}

TEST_F(FileHeadersTest, AnEmptyFileHasACompleteStream) {
    Put("C:\\SRC\\EMPTY.TXT", "");
    TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
    AddAll(*engine, "C:\\OUT\\E.1", {"C:\\SRC\\EMPTY.TXT"});
    const std::string bytes = Get("C:\\OUT\\E.1");
    EXPECT_EQ(Le32(bytes, 5 + 128), 0);
    const int32_t compressed = Le32(bytes, 5 + 136);
    EXPECT_EQ(compressed, 8); // zlib header, empty final block, Adler-32
    EXPECT_EQ(bytes.size(), 177u + 8);
    EXPECT_EQ(Inflate(bytes.substr(177), 0), "");
}

TEST_F(FileHeadersTest, LookupsFollowTheTableAsItGrowsClearsAndChanges) {
    for (const char* name : {"C:\\SRC\\A.TXT", "C:\\SRC\\B.TXT", "C:\\SRC\\C.TXT"})
        Put(name, name);
    TFileHeaders table;
    table.LoadFromList({"C:\\SRC\\A.TXT", "c:\\src\\b.txt"}, false);
    EXPECT_EQ(table.IndexOfName("C:\\SRC\\B.TXT"), 1);
    EXPECT_EQ(table.IndexOfName("C:\\SRC\\C.TXT"), -1);
    // Added after a lookup, and a second header of a name: the first one wins.
    table.LoadFromList({"C:\\SRC\\C.TXT", "C:\\SRC\\A.TXT"}, true);
    EXPECT_EQ(table.IndexOfName("c:\\src\\c.txt"), 2);
    EXPECT_EQ(table.IndexOfName("C:\\SRC\\A.TXT;x"), 0);
    // A record renamed in place answers to its new name only.
    table.GetFileHeaders(0).SetSourcePath("C:\\SRC\\Z.TXT");
    EXPECT_EQ(table.IndexOfName("C:\\SRC\\Z.TXT"), 0);
    EXPECT_EQ(table.IndexOfName("C:\\SRC\\A.TXT"), 3);
    table.Clear();
    EXPECT_EQ(table.IndexOfName("C:\\SRC\\B.TXT"), -1);
    table.LoadFromList({"C:\\SRC\\B.TXT"}, false);
    EXPECT_EQ(table.IndexOfName("C:\\SRC\\B.TXT"), 0);
}

TEST_F(FileHeadersTest, TheTableFindsNamesAndSumsSizes) {
    TFileHeaders table;
    ReadTable(table, TwoFileArchive());
    ASSERT_EQ(table.Count(), 2);
    EXPECT_TRUE(table.GetFileHeaders(0).Loaded);
    EXPECT_EQ(table.IndexOfName("c:\\src\\two.dll;anything"), 1);
    EXPECT_EQ(table.IndexOfName("C:\\SRC\\ONE.TXT"), 0);
    EXPECT_EQ(table.IndexOfName("ONE.TXT"), -1);
    try {
        table.GetFileHeaders(2);
        ADD_FAILURE();
    } catch (const EPlmrCompress& e) {
        EXPECT_STREQ(e.what(), "2 is an invalid TFileHeader index in TFileHeaders.GetFileHeaders");
    }
    EXPECT_THROW(table.GetFileHeaders(-1), EPlmrCompress);

    TlzhFileStats stats;
    stats.TotalBytesDone = 5, stats.TotalPercent = 7, stats.EntryDone = true;
    table.SumSizes(stats);
    const int64_t size = 1000 + int64_t(Get("C:\\SRC\\TWO.DLL").size());
    const int64_t compressed =
        table.GetFileHeaders(0).Record.CompressedSize + table.GetFileHeaders(1).Record.CompressedSize;
    EXPECT_EQ(stats.TotalSize, size);
    EXPECT_EQ(stats.TotalCompressedSize, compressed);
    EXPECT_EQ(stats.TotalRatio, static_cast<uint8_t>(std::nearbyint(100.0 * compressed / size)));
    EXPECT_EQ(stats.TotalBytesDone, 0);
    EXPECT_EQ(stats.TotalPercent, 0);
    EXPECT_FALSE(stats.EntryDone);
    // An empty table keeps the ratio.
    TFileHeaders empty;
    empty.SumSizes(stats);
    EXPECT_EQ(stats.TotalRatio, static_cast<uint8_t>(std::nearbyint(100.0 * compressed / size)));
}

TEST_F(FileHeadersTest, AddRefusesBlankPaths) {
    TFileHeaders table;
    auto header = std::make_unique<TFileHeader>();
    header->SetSourcePath("   ");
    try {
        table.Add(std::move(header));
        ADD_FAILURE();
    } catch (const EPlmrCompress& e) {
        EXPECT_STREQ(e.what(), "Tried to add an invalid file header");
    }
    std::string bytes = TwoFileArchive();
    bytes[5 + 20] = 0; // blank SourcePath of record 1
    EXPECT_EQ(ReadError(bytes), "Tried to add an invalid file header");
    EXPECT_THROW(MakeFileHeader("C:\\SRC\\MISSING.TXT"), EPlmrCompress);
}

TEST_F(FileHeadersTest, BadTablesAreCleanErrors) {
    const std::string good = TwoFileArchive();
    const int32_t next1 = Le32(good, 5 + 124);
    auto with32 = [&](size_t at, int32_t v) {
        std::string b = good;
        std::memcpy(b.data() + at, &v, 4);
        return b;
    };
    EXPECT_EQ(ReadError(""), "Could not read the file header count for the compressed file");
    EXPECT_EQ(ReadError(good.substr(0, 4)), "Could not read the file header count for the compressed file");
    EXPECT_EQ(ReadError(good.substr(0, 100)), kCorrupt);                             // truncated first record
    EXPECT_EQ(ReadError(good.substr(0, static_cast<size_t>(next1) + 50)), kCorrupt); // and second
    EXPECT_EQ(ReadError(with32(0, 3)), kCorrupt);                                    // a count past the end
    EXPECT_EQ(ReadError(with32(0, -1)), kCorrupt);
    EXPECT_EQ(ReadError(with32(0, 0x7FFFFFFF)), kCorrupt);                              // does not fit the file
    EXPECT_EQ(ReadError(with32(5 + 124, 5)), kCorrupt);                                 // NextHeader loops back
    EXPECT_EQ(ReadError(with32(5 + 124, 100)), kCorrupt);                               // into its own record
    EXPECT_EQ(ReadError(with32(5 + 124, static_cast<int32_t>(good.size()))), kCorrupt); // past the end
    EXPECT_EQ(ReadError(with32(5 + 124, -172)), kCorrupt);
    EXPECT_EQ(ReadError(with32(5 + 16, static_cast<int32_t>(good.size()))), kCorrupt); // DataEnd past the end
    EXPECT_EQ(ReadError(with32(5 + 132, -4)), kCorrupt);                               // DataStart before the start
    EXPECT_EQ(ReadError(with32(5 + 128, -1)), kCorrupt);                               // negative size
    EXPECT_EQ(ReadError(good), "no error");

    // The engine reports every one of them with its own message and keeps no table.
    Put("C:\\OUT\\BAD.1", with32(5 + 124, 5));
    TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
    engine->SetCompressedFile("C:\\OUT\\BAD.1");
    try {
        engine->ReadHeaders();
        ADD_FAILURE();
    } catch (const EPlmrCompress& e) {
        EXPECT_EQ(e.what(), kCorrupt);
    }
    EXPECT_FALSE(engine->HeadersLoaded());
    EXPECT_EQ(engine->Headers().Count(), 0);
}

TEST_F(FileHeadersTest, ACarriedArchiveIsReadAtItsOffset) {
    const std::string archive = TwoFileArchive();
    Put("C:\\OUT\\SETUP.EXE", SampleBytes(40000, 9) + archive + std::string(56, 'T'));
    TFileHeaders table;
    ReadTable(table, Get("C:\\OUT\\SETUP.EXE"), 40000);
    ASSERT_EQ(table.Count(), 2);
    // Positions stay those of the stand-alone archive.
    EXPECT_EQ(table.GetFileHeaders(0).Record.DataStart, 177);
    EXPECT_EQ(table.GetFileHeaders(1).Record.NextHeader, static_cast<int32_t>(archive.size()));

    TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
    engine->Offset = 40000;
    engine->SetCompressedFile("C:\\OUT\\SETUP.EXE");
    Extract(*engine, "C:\\X", {"C:\\SRC\\ONE.TXT", "C:\\SRC\\TWO.DLL"});
    EXPECT_EQ(Get("C:\\X\\ONE.TXT"), Get("C:\\SRC\\ONE.TXT"));
    EXPECT_EQ(Get("C:\\X\\TWO.DLL"), Get("C:\\SRC\\TWO.DLL"));
    // The wrong offset finds no table.
    engine->Offset = 39999;
    EXPECT_THROW(engine->ReadHeaders(), EPlmrCompress);
}

TEST_F(FileHeadersTest, WritingFailsCleanlyOnAFullDisk) {
    files().SetFreeSpace('D', 3);
    TFileHeaders table;
    auto file = files().OpenFile("D:\\T.1", FileMode::Create);
    try {
        table.WriteToStream(*file);
        ADD_FAILURE();
    } catch (const EPlmrCompress& e) {
        EXPECT_STREQ(e.what(), "Could not write the file headers for the compressed file");
    }
}

TEST(VolumeNames, NumberedAfterTheFirstVolume) {
    EXPECT_EQ(archive::VolumeName("A:\\files.1", 2), "A:\\files.2");
    EXPECT_EQ(archive::VolumeName("A:\\files.1", 11), "A:\\files.11");
    EXPECT_EQ(archive::VolumeName("A:\\files.11", 1), "A:\\files.1");
    EXPECT_EQ(archive::VolumeName("A:\\DIR.X\\files", 3), "A:\\DIR.X\\files.3");
    EXPECT_EQ(archive::ChangeFileExt("C:\\a.b\\c.d", ".1"), "C:\\a.b\\c.1");
}

TEST(SafeNames, OnlyPlainFileNamesAreExtracted) {
    for (const char* name : {"setup.exe", "A B.TXT", "console.txt", "..a", "NULL"})
        EXPECT_TRUE(archive::IsSafeFileName(name)) << name;
    for (const char* name : {"", " ", ".", "..", "a/../b", "../x", "a:b", "CON", "con.txt", "con.txt.bak", "Com1",
                             "LPT9.dll", "NUL ", "x.", "a\\b", "a*b", "tab\tname"})
        EXPECT_FALSE(archive::IsSafeFileName(name)) << name;
}

} // namespace
