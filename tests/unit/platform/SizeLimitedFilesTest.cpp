// Disks of one size over another file system: which files are cut, and where.
#include "platform/SizeLimitedFiles.h"

#include "platform/PlatformErrors.h"
#include "platform/fake/FakeFileSystem.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

class SizeLimitedFilesTest : public ::testing::Test {
  protected:
    SizeLimitedFilesTest() {
        fs.AddDrive('C');
        fs.ForceDirectories("C:\\Disks\\disk1");
        fs.ForceDirectories("C:\\Other");
    }
    // Writes size bytes in one call; false when the write failed as on a full disk.
    static bool Write(IFile& file, size_t size) {
        try {
            file.Write(std::string(size, 'x').data(), size);
            return true;
        } catch (const EFileIOError& e) {
            EXPECT_TRUE(e.DiskFull);
            return false;
        }
    }
    fake::FakeFileSystem fs;
};

TEST_F(SizeLimitedFilesTest, AWritePastTheSizeStoresWhatFitsAndFailsAsAFullDisk) {
    SizeLimitedFiles small(fs, 10);
    auto file = small.OpenFile("C:\\Other\\a.bin", FileMode::Create);
    ASSERT_TRUE(file);
    EXPECT_TRUE(Write(*file, 10)) << "exactly the size fits";
    EXPECT_FALSE(Write(*file, 1));
    file.reset();
    EXPECT_EQ(fs.FileSize("C:\\Other\\a.bin"), 10u);
    // A file opened again for writing is on the same disk; reading is not cut.
    file = small.OpenFile("C:\\Other\\a.bin", FileMode::ReadWrite);
    file->Seek(4, SeekOrigin::Begin);
    EXPECT_FALSE(Write(*file, 7));
    file.reset();
    EXPECT_EQ(fs.FileSize("C:\\Other\\a.bin"), 10u);
    fs.PutFile("C:\\Other\\big.bin", std::string(30, 'b'));
    file = small.OpenFile("C:\\Other\\big.bin", FileMode::Read);
    char buffer[30];
    EXPECT_EQ(file->Read(buffer, sizeof buffer), 30u);
}

TEST_F(SizeLimitedFilesTest, WithAFolderOnlyTheFilesBelowItAreCut) {
    SizeLimitedFiles small(fs, 10, "C:\\Disks");
    auto onDisk = small.OpenFile("c:\\disks\\disk1\\files.1", FileMode::Create);
    EXPECT_FALSE(Write(*onDisk, 11));
    auto beside = small.OpenFile("C:\\DisksToo.bin", FileMode::Create);
    EXPECT_TRUE(Write(*beside, 11));
    auto elsewhere = small.OpenFile("C:\\Other\\files.1", FileMode::Create);
    EXPECT_TRUE(Write(*elsewhere, 100));
    EXPECT_FALSE(small.OpenFile("C:\\Disks\\missing\\x.bin", FileMode::Create)) << "a missing folder gives no file";
}

} // namespace
