// The command line and run modes of the install driver against the real
// registry, files and system directories.
#include "EngineWineFixture.h"
#include "support/ErrorOf.h"

#include "paths/StandardSpecifiers.h"
#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "system/InstallErrors.h"
#include "system/InstallRecord.h"
#include "system/SystemHelpers.h"

#include <cstring>

namespace sw::test {
namespace {

std::string InvalidParameter(const std::string& arg) {
    return "Invalid parameter <" + arg +
           ">. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to floppies), -e (Called by "
           "self-extractor), -r (After reboot)";
}

const char* const kNoBuildDirectory =
    "You forgot to pass in the build directory. In Run | Parameters, follow this format: -d \"-sC:\\My Build\"";

TEST_F(EngineWineTest, NoArgumentsInstallFromTheProgramsFolder) {
    TInstall* install = LoadDriver({});
    const std::string program = GetPlatform().System->ModulePath();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(install->InstallSourceDirectory(), ExtractFileDir(program));
    EXPECT_TRUE(GetPlatform().Files->DirectoryExists(install->InstallSourceDirectory()));
    EXPECT_EQ(install->TargetForm(), install->Owner());
    EXPECT_FALSE(gui_.Terminated());
}

TEST_F(EngineWineTest, DebugSwitchNeedsABuildDirectory) {
    EXPECT_EQ(ErrorOf<IEInstall>([&] { LoadDriver({"-d"}); }), kNoBuildDirectory);
    EXPECT_EQ(ErrorOf<IEInstall>([&] { LoadDriver({"-d", "-s   "}); }), kNoBuildDirectory);
    EXPECT_EQ(InstallDriver(), nullptr);
    EXPECT_EQ(LoadDriver({"-d", "-sC:\\My Build"})->InstallSourceDirectory(), "C:\\My Build");
}

TEST_F(EngineWineTest, MalformedArgumentsAreRejected) {
    for (const char* arg : {"x", "-", "-q", "/b"})
        EXPECT_EQ(ErrorOf<IException>([&] { LoadDriver({arg}); }), InvalidParameter(arg)) << arg;
}

TEST_F(EngineWineTest, BuildAndFloppyModesReportAndTerminate) {
    TInstall* install = LoadDriver({"-B", "-r"});
    EXPECT_TRUE(install->SwitchGiven('b'));
    ASSERT_EQ(gui_.Boxes().size(), 1u);
    // No BUILD.INF lies beside the test program.
    EXPECT_EQ(gui_.Boxes()[0].Text,
              "Need to have a BUILD.INF file in this directory with the first line specifying the build directory");
    EXPECT_TRUE(gui_.Terminated());
    FreeRoots();
    LoadDriver({"-f"});
    ASSERT_EQ(gui_.Boxes().size(), 2u);
    EXPECT_EQ(gui_.Boxes()[1].Text, "Sorry... You can only transfer this installation to floppies through the "
                                    "self-extracting file. Usage example: setup.exe *TODISK");
}

TEST_F(EngineWineTest, RebootModeRunsWhileLoading) {
    // Without an install record there is no unfinished business to complete.
    EXPECT_EQ(ErrorOf<IEInstall>([&] { LoadDriver({"-r"}); }),
              "The TInstall could not either write or read unfinished business from the registry");
    EXPECT_TRUE(gui_.Boxes().empty());
}

TEST_F(EngineWineTest, LaterValuesWinAndCaseIsIgnored) {
    TInstall* install = LoadDriver({"-sA", "-SC:\\Dist", "-eSetup.exe"});
    EXPECT_EQ(install->InstallSourceDirectory(), "C:\\Dist");
    auto* mainArchive = static_cast<TCustomPathSpecifier*>(install->Owner()->FindComponent("psMainArchiveFile"));
    EXPECT_EQ(mainArchive->GetPath(install), "C:\\Dist\\Setup.exe");
}

TEST_F(EngineWineTest, SystemFoldersComeFromWindows) {
    TInstall* install = LoadDriver({});
    auto* system = static_cast<TCustomPathSpecifier*>(install->Owner()->FindComponent("psSystem"));
    auto* windows = static_cast<TCustomPathSpecifier*>(install->Owner()->FindComponent("psWindow"));
    const std::string sys = system->GetPath(install);
    const std::string win = windows->GetPath(install);
    EXPECT_TRUE(GetPlatform().Files->DirectoryExists(sys)) << sys;
    EXPECT_TRUE(GetPlatform().Files->DirectoryExists(win)) << win;
    EXPECT_NE(sys.back(), '\\');
    install->SetDestDirType(windows);
    EXPECT_EQ(install->GetDestPath(), win + "\\MyApplication");
}

// Days since 30 December 1899 of a file stamp, computed through the calendar.
double StampDays(FileStamp stamp) {
    FileDateTime dt = DecodeFileStamp(stamp);
    int days = 0;
    for (int y = 1900; y < dt.Year; ++y)
        days += (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) ? 366 : 365;
    static const int kMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m < dt.Month; ++m)
        days += kMonth[m - 1] + (m == 2 && dt.Year % 4 == 0 && (dt.Year % 100 != 0 || dt.Year % 400 == 0) ? 1 : 0);
    days += dt.Day - 1;
    return days + 2 + (dt.Hour * 3600 + dt.Minute * 60 + dt.Second) / 86400.0;
}

TEST_F(EngineWineTest, InstallRecordInTheRealRegistry) {
    IRegistry& reg = *GetPlatform().Registry;
    IFileSystem& files = *GetPlatform().Files;
    const std::string program = GetPlatform().System->ModulePath();
    const auto size = files.FileSize(program);
    const auto stamp = files.GetFileStamp(program);
    ASSERT_TRUE(size && stamp);
    const std::string key = std::string(kInstallRecordRoot) + "\\Install7";
    const double date = StampDays(*stamp);
    std::vector<uint8_t> bytes(sizeof date);
    std::memcpy(bytes.data(), &date, sizeof date);
    reg.WriteString(RegistryRoot::LocalMachine, key, "Path", program);
    reg.WriteBinary(RegistryRoot::LocalMachine, key, "CreationDate", bytes);
    reg.WriteInteger(RegistryRoot::LocalMachine, key, "Size", static_cast<int32_t>(*size));
    const std::string local = ExtractFileDir(program) + "\\engine-wine-local.1";
    auto out = files.OpenFile(local, FileMode::Create);
    out->Write("x", 1);
    out.reset();
    reg.WriteString(RegistryRoot::LocalMachine, key + "\\Install1", "LocalFile", local);

    TInstall* install = LoadDriver({});
    EXPECT_EQ(InstallRecordKeyPath(), key);
    EXPECT_EQ(install->DownloadedMainArchive(), local);

    reg.DeleteKey(RegistryRoot::LocalMachine, key + "\\Install1");
    reg.DeleteKey(RegistryRoot::LocalMachine, key);
    files.DeleteFile(local);
}

} // namespace
} // namespace sw::test
