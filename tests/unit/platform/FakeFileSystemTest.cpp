#include "platform/fake/FakeFileSystem.h"

#include "platform/PlatformErrors.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

class FakeFileSystemTest : public ::testing::Test {
  protected:
    FakeFileSystemTest() {
        fs.AddDrive('C');
        fs.AddDrive('d');
        fs.ForceDirectories("C:\\App");
    }
    fake::FakeFileSystem fs;
};

TEST_F(FakeFileSystemTest, DiskIsFullAfterTheGivenBytes) {
    fs.SetFreeSpace('C', 10);
    auto f = fs.OpenFile("C:\\App\\big.bin", FileMode::Create);
    ASSERT_TRUE(f);
    f->Write("123456", 6);
    try {
        f->Write("789ABC", 6);
        FAIL() << "no disk-full error";
    } catch (const EFileIOError& e) {
        EXPECT_TRUE(e.DiskFull);
        EXPECT_EQ(e.Code, 112u) << "ERROR_DISK_FULL";
    }
    f.reset();
    EXPECT_EQ(fs.FileText("C:\\App\\big.bin"), "123456789A");
    EXPECT_EQ(fs.FreeSpace("C:\\"), std::optional<uint64_t>(0));
    EXPECT_FALSE(fs.CopyFile("C:\\App\\big.bin", "C:\\App\\copy.bin", false));
    EXPECT_TRUE(fs.CopyFile("C:\\App\\big.bin", "D:\\copy.bin", false));
    EXPECT_TRUE(fs.DeleteFile("C:\\App\\big.bin"));
    EXPECT_EQ(fs.FreeSpace("C:\\App"), std::optional<uint64_t>(10));
}

TEST_F(FakeFileSystemTest, OverwritingInPlaceNeedsNoFreeSpace) {
    fs.PutFile("C:\\App\\a.txt", "abcdef");
    fs.SetFreeSpace('C', 0);
    auto f = fs.OpenFile("C:\\App\\a.txt", FileMode::ReadWrite);
    ASSERT_TRUE(f);
    f->Write("XYZ", 3);
    EXPECT_THROW(f->Write("1234", 4), EFileIOError);
    f.reset();
    EXPECT_EQ(fs.FileText("C:\\App\\a.txt"), "XYZ123");
}

TEST_F(FakeFileSystemTest, AFileInUseCanBeReadButNotDeletedMovedOrWritten) {
    fs.PutFile("C:\\App\\app.exe", "program");
    fs.SetInUse("C:\\App\\APP.EXE", true);
    EXPECT_FALSE(fs.DeleteFile("C:\\App\\app.exe"));
    EXPECT_FALSE(fs.MoveFile("C:\\App\\app.exe", "C:\\App\\old.exe"));
    EXPECT_FALSE(fs.OpenFile("C:\\App\\app.exe", FileMode::Create));
    EXPECT_FALSE(fs.CopyFile("C:\\App\\app.exe", "C:\\App\\app.exe", false));
    EXPECT_FALSE(fs.WriteProfileString("C:\\App\\app.exe", "a", "b", "c"));
    EXPECT_TRUE(fs.CopyFile("C:\\App\\app.exe", "C:\\App\\copy.exe", true));
    EXPECT_EQ(fs.FileText("C:\\App\\copy.exe"), "program");
    fs.SetInUse("C:\\App\\app.exe", false);
    EXPECT_TRUE(fs.DeleteFile("C:\\App\\app.exe"));
    EXPECT_THROW(fs.SetInUse("C:\\App\\app.exe", true), Exception);
}

TEST_F(FakeFileSystemTest, FolderCreationCanBeMadeToFail) {
    fs.FailDirectoryCreation(true);
    EXPECT_FALSE(fs.CreateDirectory("C:\\New"));
    EXPECT_FALSE(fs.ForceDirectories("C:\\New\\Deep"));
    EXPECT_TRUE(fs.ForceDirectories("C:\\App"));
    fs.FailDirectoryCreation(false);
    EXPECT_TRUE(fs.ForceDirectories("C:\\New\\Deep"));
}

TEST_F(FakeFileSystemTest, ShortNamesFollowTheWindowsPattern) {
    fs.ForceDirectories("C:\\Program Files\\My App");
    fs.PutFile("C:\\Program Files\\My App\\Long Name One.text", "1");
    fs.PutFile("C:\\Program Files\\My App\\Long Name Two.text", "2");
    fs.PutFile("C:\\Program Files\\My App\\a+b.txt", "3");
    EXPECT_EQ(fs.ShortPathName("c:\\program files\\my app\\long name two.text"),
              std::optional<std::string>("c:\\PROGRA~1\\MYAPP~1\\LONGNA~2.TEX"));
    EXPECT_EQ(fs.ShortPathName("C:\\Program Files\\My App\\a+b.txt"),
              std::optional<std::string>("C:\\PROGRA~1\\MYAPP~1\\A_B~1.TXT"));
    EXPECT_EQ(fs.FileText("C:\\PROGRA~1\\MYAPP~1\\LONGNA~1.TEX"), "1");
    EXPECT_EQ(fs.ShortPathName("C:\\"), std::optional<std::string>("C:\\"));
    EXPECT_TRUE(fs.MoveFile("C:\\Program Files\\My App\\Long Name One.text", "C:\\App\\Another Long.name"));
    EXPECT_EQ(fs.ShortPathName("C:\\App\\Another Long.name"), std::optional<std::string>("C:\\App\\ANOTHE~1.NAM"));
}

TEST_F(FakeFileSystemTest, RebootRenamesAreRecordedInOrder) {
    fs.PutFile("C:\\App\\readme.1", "new");
    EXPECT_TRUE(fs.MoveFileAtReboot("C:\\App\\readme.1", "C:\\App\\readme.doc"));
    EXPECT_TRUE(fs.MoveFileAtReboot("C:\\App\\readme.1", ""));
    EXPECT_FALSE(fs.MoveFileAtReboot("C:\\App\\missing", "C:\\App\\x"));
    using Pair = std::pair<std::string, std::string>;
    EXPECT_EQ(fs.PendingRenames(),
              (std::vector<Pair>{{"C:\\App\\readme.1", "C:\\App\\readme.doc"}, {"C:\\App\\readme.1", ""}}));
}

TEST_F(FakeFileSystemTest, RelativePathsUseTheCurrentFolder) {
    ASSERT_TRUE(fs.SetCurrentDirectory("c:\\app"));
    EXPECT_EQ(fs.CurrentDirectory(), "C:\\app");
    fs.PutFile("data.txt", "d");
    EXPECT_EQ(fs.FileText("C:\\App\\data.txt"), "d");
    EXPECT_TRUE(fs.FileExists("..\\App\\.\\data.txt"));
    EXPECT_TRUE(fs.FileExists("\\App\\data.txt"));
    EXPECT_FALSE(fs.SetCurrentDirectory("C:\\App\\data.txt"));
    EXPECT_FALSE(fs.FileExists("C:\\App\\da*.txt"));
    EXPECT_FALSE(fs.FileExists("E:\\App\\data.txt"));
}

TEST_F(FakeFileSystemTest, NewAndWrittenFilesTakeTheClock) {
    FileStamp t1 = EncodeFileStamp({2010, 3, 4, 5, 6, 8});
    FileStamp t2 = EncodeFileStamp({2011, 3, 4, 5, 6, 8});
    fs.SetNow(t1);
    auto f = fs.OpenFile("C:\\App\\t.txt", FileMode::Create);
    EXPECT_EQ(f->Stamp(), t1);
    fs.SetNow(t2);
    f->Write("x", 1);
    EXPECT_EQ(f->Stamp(), t2);
    f->SetStamp(t1);
    f->Write("y", 1);
    EXPECT_EQ(fs.GetFileStamp("C:\\App\\t.txt"), std::optional<FileStamp>(t1));
}

TEST_F(FakeFileSystemTest, FoldersCannotMoveIntoThemselvesOrAcrossDrives) {
    fs.ForceDirectories("C:\\A\\B");
    EXPECT_FALSE(fs.MoveFile("C:\\A", "C:\\A\\B\\C"));
    EXPECT_FALSE(fs.MoveFile("C:\\A", "D:\\A"));
    EXPECT_TRUE(fs.MoveFile("C:\\A", "C:\\a"));
    EXPECT_EQ(fs.ListDirectory("C:\\", "a").at(0).Name, "a");
}

} // namespace
