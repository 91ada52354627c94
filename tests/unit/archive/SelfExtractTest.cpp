// The self-extracting setup: joining the parts and reading the trailer back.
#include "archive/SelfExtract.h"
#include "support/ErrorOf.h"
#include "system/InstallErrors.h"
#include "unit/archive/ArchiveFixture.h"

using namespace sw;
using archive_test::ArchiveTest;
using archive_test::Le32;
using archive_test::SampleBytes;
using sw::test::ErrorOf;

namespace {

const std::string kUnreadable = "Could not read the extraction info from the archive file %s when trying to find "
                                "the correct offset into the self extracting file";

class SelfExtractTest : public ArchiveTest {
  protected:
    SelfExtractTest() { files().CreateDirectory("C:\\B"); }
    void PutParts(size_t loader, size_t setup1, size_t files1) {
        Put("C:\\B\\setup.exe", SampleBytes(loader, 1));
        Put("C:\\B\\setup.1", SampleBytes(setup1, 2));
        if (files1)
            Put("C:\\B\\files.1", SampleBytes(files1, 3));
    }
    void Join() { JoinSelfExtractingSetup("C:\\B\\setup.exe", "C:\\B\\setup.1", "C:\\B\\files.1"); }
    std::string Unreadable(const std::string& path) { return Format(kUnreadable, {path}); }
};

TEST_F(SelfExtractTest, JoinLaysOutLoaderSetup1Files1AndTrailer) {
    for (size_t loader : {1u, 4096u, 8193u})
        for (size_t setup1 : {5u, 65536u, 65537u})
            for (size_t files1 : {0u, 5u, 200000u}) {
                SCOPED_TRACE(std::to_string(loader) + " " + std::to_string(setup1) + " " + std::to_string(files1));
                files().DeleteFile("C:\\B\\files.1");
                PutParts(loader, setup1, files1);
                Join();
                const std::string exe = Get("C:\\B\\setup.exe");
                ASSERT_EQ(exe.size(), loader + setup1 + files1 + 56);
                EXPECT_EQ(exe.substr(0, loader), SampleBytes(loader, 1));
                EXPECT_EQ(exe.substr(loader, setup1), SampleBytes(setup1, 2));
                EXPECT_EQ(exe.substr(loader + setup1, files1), SampleBytes(files1, 3));
                const std::string t = exe.substr(exe.size() - 56);
                EXPECT_EQ(t.substr(0, 16), std::string("\x0eSELFEXTRACTING\0", 16));
                EXPECT_EQ(Le32(t, 16), int32_t(loader));
                EXPECT_EQ(Le32(t, 20), int32_t(loader + setup1 - 1));
                EXPECT_EQ(Le32(t, 24), files1 ? int32_t(loader + setup1) : 0);
                EXPECT_EQ(Le32(t, 28), files1 ? int32_t(loader + setup1 + files1 - 1) : 0);
                EXPECT_EQ(t.substr(32), std::string(24, '\0'));

                const archive::TSelfExtractTrailer read = ReadSelfExtractTrailer("C:\\B\\setup.exe");
                EXPECT_EQ(read.Setup1Start, loader);
                EXPECT_EQ(read.Setup1End, loader + setup1 - 1);
                EXPECT_EQ(read.Files1Start, files1 ? loader + setup1 : 0);
            }
}

TEST_F(SelfExtractTest, JoinFailsWithTheMessageWhenAPartDoesNotGoOnWhole) {
    PutParts(100, 5000, 120000);
    auto joinOnto = [&](uint64_t freeSpace) {
        files().DeleteFile("D:\\setup.exe");
        files().SetFreeSpace('D', freeSpace);
        Put("D:\\setup.exe", SampleBytes(100, 1));
        return ErrorOf<IEInstall>([&] { JoinSelfExtractingSetup("D:\\setup.exe", "C:\\B\\setup.1", "C:\\B\\files.1"); });
    };
    EXPECT_EQ(joinOnto(2000),
              "Cannot create the self-extracting exe because C:\\B\\setup.1 could not be loaded onto D:\\setup.exe");
    EXPECT_EQ(joinOnto(20000),
              "Cannot create the self-extracting exe because C:\\B\\files.1 could not be loaded onto D:\\setup.exe");

    files().DeleteFile("C:\\B\\setup.1");
    EXPECT_EQ(ErrorOf<IEInstall>([&] { Join(); }),
              "Cannot create the self-extracting exe because C:\\B\\setup.1 could not be loaded onto C:\\B\\setup.exe");
}

TEST_F(SelfExtractTest, ReadingAMissingOrShortFileFailsWithTheMessage) {
    EXPECT_EQ(ErrorOf<IEInstall>([&] { ReadSelfExtractTrailer("C:\\B\\none.exe"); }), Unreadable("C:\\B\\none.exe"));
    Put("C:\\B\\short.exe", std::string(55, '\0'));
    EXPECT_EQ(ErrorOf<IEInstall>([&] { ReadSelfExtractTrailer("C:\\B\\short.exe"); }),
              Unreadable("C:\\B\\short.exe"));
}

TEST_F(SelfExtractTest, OffsetsOutsideTheFileOrOutOfOrderAreRefused) {
    PutParts(1000, 500, 700);
    Join();
    const std::string good = Get("C:\\B\\setup.exe");
    auto with = [&](size_t field, int32_t value) {
        std::string bytes = good;
        std::memcpy(bytes.data() + bytes.size() - 56 + field, &value, 4);
        Put("C:\\B\\bad.exe", bytes);
        return ErrorOf<IEInstall>([&] { ReadSelfExtractTrailer("C:\\B\\bad.exe"); });
    };
    const std::string damaged =
        "The self-extracting file C:\\B\\bad.exe is damaged: its extraction info points outside the file";
    EXPECT_EQ(with(20, int32_t(good.size() - 56)), damaged);  // setup.1 ends in the trailer
    EXPECT_EQ(with(16, 1500), damaged);                       // setup.1 starts after its end
    EXPECT_EQ(with(28, int32_t(good.size())), damaged);       // files.1 ends past the file
    EXPECT_EQ(with(24, 1200), damaged);                       // files.1 starts inside setup.1
    EXPECT_EQ(with(24, 0), damaged);                          // one files.1 field without the other
    EXPECT_EQ(with(20, -1), damaged);                         // an offset past 2 GiB

    // A cut file: the last 56 bytes are no trailer.
    Put("C:\\B\\cut.exe", good.substr(0, good.size() - 30));
    EXPECT_THROW(ReadSelfExtractTrailer("C:\\B\\cut.exe"), IEInstall);
}

} // namespace
