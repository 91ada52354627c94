// filelist.lst: records written and read back, the shortening of long names,
// and lists that cannot be what a build wrote.
#include "archive/ArchiveErrors.h"
#include "archive/FileList.h"
#include "support/ErrorOf.h"
#include "unit/archive/ArchiveFixture.h"

#include <cmath>
#include <limits>

using namespace sw;
using archive_test::ArchiveTest;
using archive_test::Le32;
using sw::test::ErrorOf;

namespace {

class FileListTest : public ArchiveTest {
  protected:
    void Write(const std::vector<TFileListEntry>& entries) {
        auto file = files().OpenFile("C:\\filelist.lst", FileMode::Create);
        WriteFileList(*file, entries);
    }
    std::vector<TFileListEntry> Read() {
        auto file = files().OpenFile("C:\\filelist.lst", FileMode::Read);
        return ReadFileList(*file, "C:\\filelist.lst");
    }
    std::string ReadError(const std::string& bytes) {
        Put("C:\\filelist.lst", bytes);
        return ErrorOf<EFileListError>([&] { Read(); });
    }
};

TEST_F(FileListTest, RecordsReadBackWithTheirFieldsAtTheirOffsets) {
    for (size_t count : {0u, 1u, 3u, 200u}) {
        std::vector<TFileListEntry> entries;
        for (size_t i = 0; i < count; ++i)
            entries.push_back({int32_t(i * 1000), 36892.5 + double(i) / 7, "File" + std::to_string(i),
                               i % 2 ? "1.2.3." + std::to_string(i) : ""});
        Write(entries);
        const std::string bytes = Get("C:\\filelist.lst");
        ASSERT_EQ(bytes.size(), 4 + 72 * count);
        EXPECT_EQ(Le32(bytes, 0), int32_t(count));
        if (count >= 2) {
            EXPECT_EQ(Le32(bytes, 4 + 72), 1000);
            double date;
            std::memcpy(&date, bytes.data() + 4 + 72 + 4, 8);
            EXPECT_EQ(std::memcmp(&date, &entries[1].SourceDate, 8), 0);
            EXPECT_EQ(bytes.substr(4 + 72 + 12, 6), std::string("File1\0", 6));
            EXPECT_EQ(bytes.substr(4 + 72 + 52, 8), std::string("1.2.3.1\0", 8));
        }
        const std::vector<TFileListEntry> back = Read();
        ASSERT_EQ(back.size(), count);
        for (size_t i = 0; i < count; ++i) {
            EXPECT_EQ(back[i].SourceSize, entries[i].SourceSize);
            EXPECT_EQ(std::memcmp(&back[i].SourceDate, &entries[i].SourceDate, 8), 0);
            EXPECT_EQ(back[i].Name, entries[i].Name);
            EXPECT_EQ(back[i].Version, entries[i].Version);
        }
    }
}

TEST_F(FileListTest, FieldsOfFullWidthHaveNoTerminator) {
    const std::string name40(40, 'N');
    Write({{7, 1.0, name40, "12345678901234567890-cut"}});
    const std::string bytes = Get("C:\\filelist.lst");
    EXPECT_EQ(bytes.substr(16, 40), name40);
    EXPECT_EQ(bytes.substr(56, 20), "12345678901234567890");
    const auto back = Read();
    EXPECT_EQ(back[0].Name, name40);
    EXPECT_EQ(back[0].Version, "12345678901234567890");
}

TEST_F(FileListTest, LongNamesAreShortenedToFortyCharactersAndStayApart) {
    const std::string a = "TheVeryLongFileComponentNameOfTheMainProgramA";
    const std::string b = "TheVeryLongFileComponentNameOfTheMainProgramB";
    EXPECT_EQ(FileListName("Short"), "Short");
    EXPECT_EQ(FileListName(std::string(40, 'x')), std::string(40, 'x'));
    ASSERT_EQ(FileListName(a).size(), 40u);
    EXPECT_EQ(FileListName(a).substr(0, 32), a.substr(0, 31) + "~");
    EXPECT_NE(FileListName(a), FileListName(b));
    // Component names compare without regard to case, and so does the rule.
    EXPECT_EQ(FileListName(a).substr(31), FileListName(UpperCase(a)).substr(31));

    Write({{1, 1.0, a, ""}, {2, 2.0, b, ""}, {3, 3.0, "Plain", ""}});
    const auto back = Read();
    ASSERT_NE(FindFileListEntry(back, a), nullptr);
    EXPECT_EQ(FindFileListEntry(back, a)->SourceSize, 1);
    EXPECT_EQ(FindFileListEntry(back, b)->SourceSize, 2);
    EXPECT_EQ(FindFileListEntry(back, "PLAIN")->SourceSize, 3);
    EXPECT_EQ(FindFileListEntry(back, "Missing"), nullptr);
}

TEST_F(FileListTest, TwoEntriesWithOneNameAreRefusedBeforeAnythingIsWritten) {
    const std::string longName = "AFileComponentWhoseNameIsLongerThanFortyCharacters";
    auto file = files().OpenFile("C:\\filelist.lst", FileMode::Create);
    EXPECT_EQ(ErrorOf<IEInstall>([&] {
                  WriteFileList(*file, {{1, 1.0, longName, ""}, {2, 2.0, FileListName(longName), ""}});
              }),
              "Cannot write the file list: two file components are both named " + FileListName(longName) + " in it");
    EXPECT_EQ(file->Size(), 0u);
}

TEST_F(FileListTest, DamagedListsAreRefusedWithTheFileNamed) {
    EXPECT_EQ(ReadError(""), "The file list C:\\filelist.lst is damaged: it has no record count");
    EXPECT_EQ(ReadError(std::string("\x02\0\0\0", 4) + std::string(72, 'a')),
              "The file list C:\\filelist.lst is damaged: its size does not match its count of 2 records");
    EXPECT_EQ(ReadError(std::string("\xff\xff\xff\xff", 4)),
              "The file list C:\\filelist.lst is damaged: its size does not match its count of -1 records");

    auto list = [&](int32_t size, double date, const std::string& name) {
        archive::TFileListRecord r;
        r.SourceSize = size;
        r.SourceDate = date;
        std::memcpy(r.Name, name.data(), std::min<size_t>(name.size(), 40));
        std::string bytes("\x02\0\0\0", 4);
        bytes += std::string(reinterpret_cast<const char*>(&r), 72);
        std::memcpy(r.Name, "Other", 6);
        r.SourceSize = 0;
        r.SourceDate = 0;
        return bytes + std::string(reinterpret_cast<const char*>(&r), 72);
    };
    EXPECT_EQ(ReadError(list(1, 1.0, "")), "The file list C:\\filelist.lst is damaged: record 1 has no name");
    EXPECT_EQ(ReadError(list(-5, 1.0, "A")),
              "The file list C:\\filelist.lst is damaged: record 1 (A) has an impossible size or date");
    EXPECT_EQ(ReadError(list(1, std::numeric_limits<double>::quiet_NaN(), "A")),
              "The file list C:\\filelist.lst is damaged: record 1 (A) has an impossible size or date");
    EXPECT_EQ(ReadError(list(1, 1.0, "OTHER")), "The file list C:\\filelist.lst is damaged: Other is listed twice");
}

} // namespace
