// System helpers: the version code, temporary names, system folders and short paths.
#include "SystemFixture.h"

#include "platform/FileSystem.h"
#include "system/InstallErrors.h"
#include "system/SystemHelpers.h"

namespace sw::test {
namespace {

using SystemHelpersTest = SystemFixture;

TEST_F(SystemHelpersTest, VersionCodeByPlatformAndNtVersion) {
    struct Case {
        OSVersion version;
        int code;
    } cases[] = {
        {{3, 11, 0, PlatformId::Win32s}, wvWin32s},       {{4, 10, 2222, PlatformId::Windows}, wvWindows95},
        {{4, 0, 1381, PlatformId::NT}, wvWindowsNT},      {{5, 1, 2600, PlatformId::NT}, wvWindowsNT},
        {{3, 51, 1057, PlatformId::NT}, wvWindowsNT35},   {{3, 50, 807, PlatformId::NT}, wvWindowsNT35},
        {{6, 0, 0, static_cast<PlatformId>(3)}, wvOther},
    };
    for (const Case& c : cases) {
        fake_.System().SetVersion(c.version);
        EXPECT_EQ(WindowsVersion(), c.code) << c.version.Major << "." << c.version.Minor;
    }
    fake_.System().SetVersion(std::nullopt);
    EXPECT_EQ(ErrorOf<EAPIRoutines>([] { WindowsVersion(); }),
              "Could not get information about the current version of Windows");
}

TEST_F(SystemHelpersTest, TempFileNamesAreKeptOnlyWhenAsked) {
    const std::string gone = MakeTempFileName(false);
    EXPECT_EQ(gone.rfind("C:\\WINDOWS\\TEMP\\bat", 0), 0u) << gone;
    EXPECT_FALSE(fake_.Files().FileExists(gone));
    const std::string kept = MakeTempFileName(true);
    EXPECT_TRUE(fake_.Files().FileExists(kept));
    EXPECT_NE(kept, gone);
    fake_.Files().SetTempDirectory("C:\\NOWHERE");
    EXPECT_EQ(ErrorOf<EAPIRoutines>([] { MakeTempFileName(false); }), "Cannot create a temporary file");
}

TEST_F(SystemHelpersTest, SystemFoldersFailWithTheirMessages) {
    EXPECT_EQ(WindowsDirectory(), "C:\\WINDOWS");
    EXPECT_EQ(SystemDirectory(), "C:\\WINDOWS\\SYSTEM");
    fake_.System().SetWindowsDirectory("");
    fake_.System().SetSystemDirectory("");
    EXPECT_EQ(ErrorOf<EAPIRoutines>([] { WindowsDirectory(); }),
              "Could not retrieve the windows directory from windows");
    EXPECT_EQ(ErrorOf<EAPIRoutines>([] { SystemDirectory(); }), "Could not retrieve the system directroy from windows");
}

TEST_F(SystemHelpersTest, ShortPathsOfExistingPaths) {
    fake_.Files().ForceDirectories("C:\\Program Files\\Long Folder Name");
    EXPECT_EQ(ShortPathName("C:\\Program Files\\Long Folder Name"),
              *fake_.Files().ShortPathName("C:\\Program Files\\Long Folder Name"));
    EXPECT_EQ(ShortPathName("C:\\WINDOWS"), "C:\\WINDOWS");
    EXPECT_EQ(ErrorOf<EAPIRoutines>([] { ShortPathName("C:\\Missing\\File.txt"); }),
              "Could not get the short path of C:\\Missing\\File.txt");
}

TEST_F(SystemHelpersTest, TrailingBackslashes) {
    EXPECT_EQ(IncludeTrailingBackslash("C:"), "C:\\");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(IncludeTrailingBackslash(""), "");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\Dir\\\\"), "C:\\Dir\\");
    EXPECT_EQ(ExcludeTrailingBackslash(""), "");
}

} // namespace
} // namespace sw::test
