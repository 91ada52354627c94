// The fallbacks for functions that Windows 95 or NT 4.0 lack, run on a system that has them.
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32LaterApi.h"

#include <gtest/gtest.h>

namespace sw::win32 {
namespace {

TEST(Win32LaterApi, FindsExportsOfLoadedLibrariesOnly) {
    EXPECT_NE(LaterApi<FARPROC>("kernel32.dll", "GetDiskFreeSpaceExA"), nullptr);
    EXPECT_EQ(LaterApi<FARPROC>("kernel32.dll", "NoSuchFunction"), nullptr);
    EXPECT_EQ(LaterApi<FARPROC>("nosuchlibrary.dll", "GetDiskFreeSpaceExA"), nullptr);
}

TEST(Win32LaterApi, RootFolderIsTheDriveOrTheShare) {
    EXPECT_EQ(RootFolder("C:\\Program Files\\App"), "C:\\");
    EXPECT_EQ(RootFolder("c:"), "c:\\");
    EXPECT_EQ(RootFolder("\\\\server\\share\\dir\\file"), "\\\\server\\share\\");
    EXPECT_EQ(RootFolder("\\\\server\\share"), "\\\\server\\share\\");
    EXPECT_EQ(RootFolder("\\\\server"), "");
    EXPECT_EQ(RootFolder("relative\\dir"), "");
    EXPECT_EQ(RootFolder(""), "");
}

TEST(Win32LaterApi, FreeSpaceWithoutTheExFunctionReadsTheDrive) {
    Win32FileSystem fs;
    std::string temp = fs.TempDirectory();
    auto withEx = fs.FreeSpace(temp);
    auto fallback = FreeSpaceOfRoot(temp);
    ASSERT_TRUE(withEx);
    ASSERT_TRUE(fallback);
    EXPECT_GT(*fallback, 0u);
    // The old function reports at most what the new one does (it stops at 2 GB), give or take what other
    // programs wrote in between.
    EXPECT_LE(*fallback, *withEx + (64u << 20));
    EXPECT_FALSE(FreeSpaceOfRoot("Q:\\"));
}

} // namespace
} // namespace sw::win32
