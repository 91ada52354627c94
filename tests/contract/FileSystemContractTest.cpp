#include "ContractBackends.h"

#include "platform/PlatformErrors.h"
#include "project/Text.h"

#include <algorithm>

using namespace sw;

namespace {

template <typename Backend> class FileSystemContract : public ::testing::Test {
  protected:
    IFileSystem& fs() { return backend.Files(); }
    std::string At(const std::string& name) { return backend.Scratch() + "\\" + name; }

    void Put(const std::string& path, const std::string& text) {
        auto f = fs().OpenFile(path, FileMode::Create);
        ASSERT_TRUE(f) << path;
        f->Write(text.data(), text.size());
    }

    std::string Get(const std::string& path) {
        auto f = fs().OpenFile(path, FileMode::Read);
        if (!f)
            return "<cannot open>";
        auto bytes = f->ReadAll();
        return std::string(bytes.begin(), bytes.end());
    }

    std::vector<std::string> Names(const std::string& pattern) {
        std::vector<std::string> names;
        for (const auto& e : fs().ListDirectory(backend.Scratch(), pattern))
            names.push_back(UpperCase(e.Name));
        std::sort(names.begin(), names.end());
        return names;
    }

    Backend backend;
};

TYPED_TEST_SUITE(FileSystemContract, contract::FileBackends, contract::BackendNames);

TYPED_TEST(FileSystemContract, WrittenBytesReadBackAtBufferSizes) {
    for (size_t size : {size_t(0), size_t(1), size_t(65536), size_t(65537), size_t(200000)}) {
        std::vector<uint8_t> data(size);
        for (size_t i = 0; i < size; ++i)
            data[i] = static_cast<uint8_t>(i * 7 + size);
        std::string path = this->At("data" + std::to_string(size) + ".bin");
        {
            auto f = this->fs().OpenFile(path, FileMode::Create);
            ASSERT_TRUE(f);
            f->Write(data);
            EXPECT_EQ(f->Size(), size);
        }
        EXPECT_EQ(this->fs().FileSize(path), std::optional<uint64_t>(size));
        auto f = this->fs().OpenFile(path, FileMode::Read);
        ASSERT_TRUE(f);
        EXPECT_EQ(f->ReadAll(), data) << size;
    }
}

TYPED_TEST(FileSystemContract, SeekAndPartialReads) {
    std::string path = this->At("seek.txt");
    this->Put(path, "0123456789");
    auto f = this->fs().OpenFile(path, FileMode::ReadWrite);
    ASSERT_TRUE(f);
    char buf[4] = {};
    EXPECT_EQ(f->Seek(3, SeekOrigin::Begin), 3u);
    EXPECT_EQ(f->Read(buf, 4), 4u);
    EXPECT_EQ(std::string(buf, 4), "3456");
    EXPECT_EQ(f->Seek(-2, SeekOrigin::Current), 5u);
    EXPECT_EQ(f->Seek(-1, SeekOrigin::End), 9u);
    EXPECT_EQ(f->Read(buf, 4), 1u);
    EXPECT_EQ(buf[0], '9');
    EXPECT_EQ(f->Read(buf, 4), 0u);
    f->Seek(0, SeekOrigin::End);
    f->Write("AB", 2);
    f->Seek(0, SeekOrigin::Begin);
    f->Write("x", 1);
    f.reset();
    EXPECT_EQ(this->Get(path), "x123456789AB");
}

TYPED_TEST(FileSystemContract, CreateTruncatesAnExistingFile) {
    std::string path = this->At("trunc.txt");
    this->Put(path, "long old contents");
    this->Put(path, "new");
    EXPECT_EQ(this->Get(path), "new");
}

TYPED_TEST(FileSystemContract, OpenFailsForMissingFilesFoldersAndMissingParents) {
    EXPECT_FALSE(this->fs().OpenFile(this->At("missing.txt"), FileMode::Read));
    EXPECT_FALSE(this->fs().OpenFile(this->At("missing.txt"), FileMode::ReadWrite));
    EXPECT_FALSE(this->fs().OpenFile(this->backend.Scratch(), FileMode::Read));
    EXPECT_FALSE(this->fs().OpenFile(this->At("NoDir\\new.txt"), FileMode::Create));
    EXPECT_FALSE(this->fs().FileExists(this->At("NoDir\\new.txt")));
    EXPECT_FALSE(this->fs().OpenFile(this->backend.Scratch(), FileMode::Create)) << "a folder is no file";
}

TYPED_TEST(FileSystemContract, WritingAFileOpenedForReadingRaises) {
    std::string path = this->At("ro.txt");
    this->Put(path, "abc");
    auto f = this->fs().OpenFile(path, FileMode::Read);
    ASSERT_TRUE(f);
    EXPECT_THROW(f->Write("x", 1), EFileIOError);
    f.reset();
    EXPECT_EQ(this->Get(path), "abc");
}

TYPED_TEST(FileSystemContract, NamesCompareWithoutCaseAndFilesAreNotFolders) {
    this->Put(this->At("Readme.Doc"), "r");
    this->fs().CreateDirectory(this->At("SubDir"));
    EXPECT_TRUE(this->fs().FileExists(this->At("README.DOC")));
    EXPECT_FALSE(this->fs().DirectoryExists(this->At("readme.doc")));
    EXPECT_TRUE(this->fs().DirectoryExists(this->At("subdir")));
    EXPECT_FALSE(this->fs().FileExists(this->At("SUBDIR")));
    EXPECT_TRUE(this->fs().DirectoryExists(this->backend.Scratch() + "\\"));
    EXPECT_EQ(this->Get(this->At("readme.DOC")), "r");
}

TYPED_TEST(FileSystemContract, SharingFollowsTheOpenModes) {
    std::string path = this->At("shared.txt");
    this->Put(path, "abc");
    auto writer = this->fs().OpenFile(path, FileMode::ReadWrite);
    ASSERT_TRUE(writer);
    EXPECT_FALSE(this->fs().OpenFile(path, FileMode::ReadWrite));
    EXPECT_FALSE(this->fs().OpenFile(path, FileMode::Create));
    auto reader = this->fs().OpenFile(path, FileMode::Read);
    ASSERT_TRUE(reader);
    EXPECT_FALSE(this->fs().DeleteFile(path));
    writer.reset();
    EXPECT_FALSE(this->fs().DeleteFile(path));
    reader.reset();
    EXPECT_TRUE(this->fs().DeleteFile(path));
    EXPECT_FALSE(this->fs().FileExists(path));
    EXPECT_FALSE(this->fs().DeleteFile(path));
}

TYPED_TEST(FileSystemContract, StampsSetThroughPathAndHandleReadBack) {
    FileStamp stamp = EncodeFileStamp({1999, 12, 31, 23, 59, 58});
    std::string path = this->At("stamp.txt");
    {
        auto f = this->fs().OpenFile(path, FileMode::Create);
        ASSERT_TRUE(f);
        f->Write("abc", 3);
        f->SetStamp(stamp);
        EXPECT_EQ(f->Stamp(), stamp);
    }
    EXPECT_EQ(this->fs().GetFileStamp(path), std::optional<FileStamp>(stamp));
    FileStamp other = EncodeFileStamp({2004, 2, 29, 8, 30, 0});
    EXPECT_TRUE(this->fs().SetFileStamp(path, other));
    EXPECT_EQ(this->fs().GetFileStamp(path), std::optional<FileStamp>(other));
    EXPECT_EQ(this->fs().OpenFile(path, FileMode::Read)->Stamp(), other);
    EXPECT_FALSE(this->fs().GetFileStamp(this->At("missing")));
    EXPECT_FALSE(this->fs().SetFileStamp(this->At("missing"), other));
}

TYPED_TEST(FileSystemContract, ReadOnlyFilesCannotBeWrittenOrDeleted) {
    std::string path = this->At("locked.dll");
    this->Put(path, "dll");
    auto initial = this->fs().GetAttributes(path);
    ASSERT_TRUE(initial);
    EXPECT_TRUE(*initial & attr::Archive);
    EXPECT_FALSE(*initial & attr::Directory);
    ASSERT_TRUE(this->fs().SetAttributes(path, attr::ReadOnly | attr::Archive));
    EXPECT_EQ(this->fs().GetAttributes(path), std::optional<uint32_t>(attr::ReadOnly | attr::Archive));
    EXPECT_FALSE(this->fs().OpenFile(path, FileMode::ReadWrite));
    EXPECT_FALSE(this->fs().OpenFile(path, FileMode::Create));
    EXPECT_FALSE(this->fs().DeleteFile(path));
    EXPECT_EQ(this->Get(path), "dll");
    ASSERT_TRUE(this->fs().SetAttributes(path, 0));
    auto cleared = this->fs().GetAttributes(path);
    ASSERT_TRUE(cleared);
    EXPECT_FALSE(*cleared & attr::ReadOnly);
    EXPECT_TRUE(this->fs().DeleteFile(path));
    EXPECT_FALSE(this->fs().GetAttributes(path));
    EXPECT_FALSE(this->fs().SetAttributes(path, 0));
    auto folder = this->fs().GetAttributes(this->backend.Scratch());
    ASSERT_TRUE(folder);
    EXPECT_TRUE(*folder & attr::Directory);
}

TYPED_TEST(FileSystemContract, CopyKeepsContentsAndStampAndHonoursFailIfExists) {
    std::string from = this->At("from.txt"), to = this->At("to.txt");
    this->Put(from, "source");
    FileStamp stamp = EncodeFileStamp({2001, 5, 6, 7, 8, 10});
    ASSERT_TRUE(this->fs().SetFileStamp(from, stamp));
    EXPECT_TRUE(this->fs().CopyFile(from, to, true));
    EXPECT_EQ(this->Get(to), "source");
    EXPECT_EQ(this->fs().GetFileStamp(to), std::optional<FileStamp>(stamp));
    this->Put(from, "changed");
    EXPECT_FALSE(this->fs().CopyFile(from, to, true));
    EXPECT_EQ(this->Get(to), "source");
    EXPECT_TRUE(this->fs().CopyFile(from, to, false));
    EXPECT_EQ(this->Get(to), "changed");
    EXPECT_FALSE(this->fs().CopyFile(this->At("missing"), to, false));
}

TYPED_TEST(FileSystemContract, MoveRenamesFilesAndFoldersButNeverOverwrites) {
    this->Put(this->At("a.txt"), "a");
    this->Put(this->At("b.txt"), "b");
    EXPECT_FALSE(this->fs().MoveFile(this->At("a.txt"), this->At("b.txt")));
    EXPECT_EQ(this->Get(this->At("b.txt")), "b");
    EXPECT_TRUE(this->fs().MoveFile(this->At("a.txt"), this->At("c.txt")));
    EXPECT_FALSE(this->fs().FileExists(this->At("a.txt")));
    EXPECT_EQ(this->Get(this->At("c.txt")), "a");
    ASSERT_TRUE(this->fs().ForceDirectories(this->At("Old\\Inner")));
    this->Put(this->At("Old\\Inner\\f.txt"), "f");
    EXPECT_TRUE(this->fs().MoveFile(this->At("Old"), this->At("New")));
    EXPECT_EQ(this->Get(this->At("New\\Inner\\f.txt")), "f");
    EXPECT_FALSE(this->fs().DirectoryExists(this->At("Old")));
    EXPECT_TRUE(this->fs().MoveFile(this->At("c.txt"), this->At("New\\Inner\\c.txt")));
    EXPECT_EQ(this->Get(this->At("New\\Inner\\c.txt")), "a");
    EXPECT_FALSE(this->fs().MoveFile(this->At("missing"), this->At("x")));
}

TYPED_TEST(FileSystemContract, FoldersAreCreatedOneOrAllLevelsAndRemovedWhenEmpty) {
    EXPECT_TRUE(this->fs().CreateDirectory(this->At("One")));
    EXPECT_FALSE(this->fs().CreateDirectory(this->At("One")));
    EXPECT_FALSE(this->fs().CreateDirectory(this->At("Two\\Three")));
    EXPECT_TRUE(this->fs().ForceDirectories(this->At("Two\\Three\\Four")));
    EXPECT_TRUE(this->fs().DirectoryExists(this->At("Two\\Three\\Four")));
    EXPECT_TRUE(this->fs().ForceDirectories(this->At("Two\\Three\\Four")));
    this->Put(this->At("Two\\Three\\file"), "x");
    EXPECT_FALSE(this->fs().ForceDirectories(this->At("Two\\Three\\file\\Deeper")));
    EXPECT_FALSE(this->fs().RemoveDirectory(this->At("Two\\Three")));
    EXPECT_TRUE(this->fs().RemoveDirectory(this->At("Two\\Three\\Four")));
    EXPECT_FALSE(this->fs().RemoveDirectory(this->At("Two\\Three\\Four")));
    EXPECT_FALSE(this->fs().RemoveDirectory(this->At("Two\\Three\\file")));
}

TYPED_TEST(FileSystemContract, ListingMatchesWildcards) {
    for (const char* name : {"setup.exe", "files.1", "files.2", "readme.txt", "notes.txt"})
        this->Put(this->At(name), "x");
    this->fs().CreateDirectory(this->At("Sub"));
    EXPECT_EQ(this->Names("*.*"),
              (std::vector<std::string>{"FILES.1", "FILES.2", "NOTES.TXT", "README.TXT", "SETUP.EXE", "SUB"}));
    EXPECT_EQ(this->Names("*.TXT"), (std::vector<std::string>{"NOTES.TXT", "README.TXT"}));
    EXPECT_EQ(this->Names("files.?"), (std::vector<std::string>{"FILES.1", "FILES.2"}));
    EXPECT_TRUE(this->Names("*.zip").empty());
    for (const auto& e : this->fs().ListDirectory(this->backend.Scratch(), "s*"))
        EXPECT_EQ((e.Attributes & attr::Directory) != 0, SameText(e.Name, "Sub")) << e.Name;
    EXPECT_TRUE(this->fs().ListDirectory(this->At("Missing"), "*.*").empty());
}

TYPED_TEST(FileSystemContract, FreeSpaceIsReportedForExistingFolders) {
    auto free = this->fs().FreeSpace(this->backend.Scratch());
    ASSERT_TRUE(free);
    EXPECT_GT(*free, 0u);
    EXPECT_FALSE(this->fs().FreeSpace("Q:\\"));
}

TYPED_TEST(FileSystemContract, ShortNamesReachTheSameFile) {
    std::string longName = this->At("Long File Name.text");
    this->Put(longName, "long");
    auto shortPath = this->fs().ShortPathName(longName);
    ASSERT_TRUE(shortPath);
    std::string name = shortPath->substr(shortPath->rfind('\\') + 1);
    size_t dot = name.find('.');
    EXPECT_LE(dot == std::string::npos ? name.size() : dot, 8u) << *shortPath;
    EXPECT_EQ(name.find(' '), std::string::npos) << *shortPath;
    EXPECT_EQ(this->Get(*shortPath), "long");

    this->Put(this->At("SHORT.TXT"), "s");
    auto same = this->fs().ShortPathName(this->At("SHORT.TXT"));
    ASSERT_TRUE(same);
    EXPECT_TRUE(SameText(same->substr(same->rfind('\\')), "\\SHORT.TXT")) << *same;
    EXPECT_FALSE(this->fs().ShortPathName(this->At("missing.txt")));
}

TYPED_TEST(FileSystemContract, PathsWithoutADriveStartFromTheCurrentFolder) {
    const std::string previous = this->backend.CurrentDirectory();
    this->fs().CreateDirectory(this->At("sub"));
    this->Put(this->At("sub\\inner.txt"), "inner");
    ASSERT_TRUE(this->backend.SetCurrentDirectory(this->backend.Scratch()));
    const std::string scratchFolder = this->backend.Scratch().substr(2); // without the drive
    const bool read = this->Get("sub\\inner.txt") == "inner" && this->Get(".\\sub\\..\\sub\\inner.txt") == "inner" &&
                      this->Get(scratchFolder + "\\sub\\inner.txt") == "inner";
    this->Put("made.txt", "made");
    const bool forced = this->fs().ForceDirectories("new\\deeper");
    this->backend.SetCurrentDirectory(previous); // before the scratch folder goes
    EXPECT_TRUE(read);
    EXPECT_EQ(this->Get(this->At("made.txt")), "made");
    EXPECT_TRUE(forced);
    EXPECT_TRUE(this->fs().DirectoryExists(this->At("new\\deeper")));
}

TYPED_TEST(FileSystemContract, TemporaryFilesAreCreatedEmptyWithUniqueNames) {
    std::string temp = this->fs().TempDirectory();
    ASSERT_FALSE(temp.empty());
    EXPECT_NE(temp.back(), '\\');
    EXPECT_TRUE(this->fs().DirectoryExists(temp));
    auto first = this->fs().MakeTempFile(this->backend.Scratch(), "bat");
    auto second = this->fs().MakeTempFile(this->backend.Scratch(), "bat");
    ASSERT_TRUE(first && second);
    EXPECT_NE(UpperCase(*first), UpperCase(*second));
    for (const auto& path : {*first, *second}) {
        std::string name = path.substr(path.rfind('\\') + 1);
        EXPECT_TRUE(SameText(path.substr(0, path.rfind('\\')), this->backend.Scratch())) << path;
        EXPECT_TRUE(SameText(name.substr(0, 3), "bat")) << path;
        EXPECT_TRUE(SameText(name.substr(name.size() - 4), ".tmp")) << path;
        EXPECT_EQ(this->fs().FileSize(path), std::optional<uint64_t>(0));
    }
    EXPECT_FALSE(this->fs().MakeTempFile(this->At("Missing"), "bat"));
}

TYPED_TEST(FileSystemContract, MoveAtRebootLeavesTheFileUntilTheRestart) {
    std::string inUse = this->At("inuse.dll"), waiting = this->At("inuse.1");
    this->Put(inUse, "old");
    this->Put(waiting, "new");
    EXPECT_TRUE(this->fs().MoveFileAtReboot(waiting, inUse));
    EXPECT_EQ(this->Get(inUse), "old");
    EXPECT_EQ(this->Get(waiting), "new");
}

TYPED_TEST(FileSystemContract, ProfileStringsAreWrittenIntoSections) {
    std::string ini = this->At("WININIT.INI");
    ASSERT_TRUE(
        this->fs().WriteProfileString(ini, "Rename", "C:\\PROGRA~1\\APP\\README.DOC", "C:\\PROGRA~1\\APP\\README.1"));
    EXPECT_EQ(this->Get(ini), "[Rename]\r\nC:\\PROGRA~1\\APP\\README.DOC=C:\\PROGRA~1\\APP\\README.1\r\n");
    ASSERT_TRUE(this->fs().WriteProfileString(ini, "rename", "NUL", "C:\\TEMP\\X.TMP"));
    ASSERT_TRUE(this->fs().WriteProfileString(ini, "Rename", "c:\\progra~1\\app\\readme.doc", "C:\\A.2"));
    EXPECT_EQ(this->Get(ini), "[Rename]\r\nC:\\PROGRA~1\\APP\\README.DOC=C:\\A.2\r\nNUL=C:\\TEMP\\X.TMP\r\n");
}

TYPED_TEST(FileSystemContract, ProfileWritesKeepTheRestOfAnExistingFile) {
    std::string ini = this->At("SYSTEM.INI");
    this->Put(ini, "; comment\r\n[Other]\r\n x = 1 \r\n\r\n[rename]\r\nNUL=C:\\A.TMP\r\n\r\n[Last]\r\ny=2\r\n");
    ASSERT_TRUE(this->fs().WriteProfileString(ini, "Rename", "C:\\APP\\README.DOC", "C:\\APP\\README.1"));
    ASSERT_TRUE(this->fs().WriteProfileString(ini, "Last", "Y", "3"));
    EXPECT_EQ(this->Get(ini), "; comment\r\n[Other]\r\nx=1\r\n[rename]\r\nNUL=C:\\A.TMP\r\n"
                              "C:\\APP\\README.DOC=C:\\APP\\README.1\r\n[Last]\r\ny=3\r\n");
    EXPECT_FALSE(this->fs().WriteProfileString(this->At("Missing\\WININIT.INI"), "Rename", "a", "b"));
}

} // namespace
