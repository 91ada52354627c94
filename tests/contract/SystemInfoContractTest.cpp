#include "ContractBackends.h"

#include "platform/CommandLine.h"
#include "project/Text.h"

#include <chrono>

using namespace sw;

namespace {

template <typename Backend> class SystemInfoContract : public ::testing::Test {
  protected:
    ISystemInfo& sys() { return backend.System(); }
    Backend backend;
};

TYPED_TEST_SUITE(SystemInfoContract, contract::Backends, contract::BackendNames);

TYPED_TEST(SystemInfoContract, WindowsAndSystemFoldersExistWithoutTrailingBackslash) {
    for (const std::string& dir : {this->sys().WindowsDirectory(), this->sys().SystemDirectory()}) {
        ASSERT_GT(dir.size(), 3u);
        EXPECT_EQ(dir[1], ':') << dir;
        EXPECT_NE(dir.back(), '\\') << dir;
        EXPECT_TRUE(this->backend.Files().DirectoryExists(dir)) << dir;
    }
    EXPECT_FALSE(SameText(this->sys().WindowsDirectory(), this->sys().SystemDirectory()));
}

TYPED_TEST(SystemInfoContract, VersionNamesAKnownPlatform) {
    auto version = this->sys().Version();
    ASSERT_TRUE(version);
    EXPECT_GE(version->Major, 3u);
    EXPECT_TRUE(version->Platform == PlatformId::Windows || version->Platform == PlatformId::NT ||
                version->Platform == PlatformId::Win32s);
    if (version->Platform == PlatformId::Windows) {
        EXPECT_LE(version->Build, 0xFFFFu);
    }
    EXPECT_NE(this->sys().UserDefaultLangId(), 0);
}

TYPED_TEST(SystemInfoContract, CurrentDirectoryFollowsSetAndRefusesMissingFolders) {
    std::string before = this->sys().CurrentDirectory();
    ASSERT_FALSE(before.empty());
    ASSERT_TRUE(this->sys().SetCurrentDirectory(this->backend.Scratch()));
    EXPECT_TRUE(SameText(this->sys().CurrentDirectory(), this->backend.Scratch())) << this->sys().CurrentDirectory();
    this->backend.Files().OpenFile("relative.txt", FileMode::Create)->Write("r", 1);
    EXPECT_TRUE(this->backend.Files().FileExists(this->backend.Scratch() + "\\relative.txt"));
    EXPECT_FALSE(this->sys().SetCurrentDirectory(this->backend.Scratch() + "\\Missing"));
    EXPECT_TRUE(SameText(this->sys().CurrentDirectory(), this->backend.Scratch()));
    EXPECT_TRUE(this->sys().SetCurrentDirectory(before));
}

TYPED_TEST(SystemInfoContract, ModulePathIsTheRunningProgram) {
    std::string path = this->sys().ModulePath();
    EXPECT_TRUE(this->backend.Files().FileExists(path)) << path;
    EXPECT_TRUE(SameText(path.substr(path.size() - 4), ".exe")) << path;
}

} // namespace

namespace {

TYPED_TEST(SystemInfoContract, LocalTimeIsAValidDateThatAFileStampHolds) {
    FileDateTime now = this->sys().LocalTime();
    EXPECT_GE(now.Year, 1980);
    EXPECT_LE(now.Year, 2107);
    EXPECT_TRUE(now.Month >= 1 && now.Month <= 12 && now.Day >= 1 && now.Day <= 31) << now.Month << "/" << now.Day;
    EXPECT_TRUE(now.Hour < 24 && now.Minute < 60 && now.Second < 60);
    FileDateTime even = now;
    even.Second -= even.Second % 2;
    EXPECT_EQ(DecodeFileStamp(EncodeFileStamp(now)), even);
}

// Both the fake and Wine's default system use code page 1252.
TYPED_TEST(SystemInfoContract, WideTextConvertsToTheSystemCodePage) {
    EXPECT_EQ(this->sys().WideToAnsi(u"A\u00e9\u20ac"), "A\xe9\x80");
    EXPECT_EQ(this->sys().WideToAnsi(u"\u4e2d"), "?");
    EXPECT_EQ(this->sys().WideToAnsi(u""), "");
}

// The tick count follows the time that passes, in milliseconds (GetTickCount
// steps by 10 to 16 ms).
TYPED_TEST(SystemInfoContract, TheTickCountFollowsTheTimeInMilliseconds) {
    const uint32_t before = this->sys().TickCount();
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(100)) {
    }
    const uint32_t passed = this->sys().TickCount() - before;
    EXPECT_GE(passed, 80u);
    EXPECT_LE(passed, 1000u);
}

} // namespace

namespace {

TYPED_TEST(SystemInfoContract, TheCommandLineNamesTheProgramThenItsArguments) {
    const std::vector<std::string> words = sw::SplitCommandLine(this->backend.System().CommandLine());
    ASSERT_FALSE(words.empty());
    const std::string module = this->backend.System().ModulePath();
    const std::string program = words.front();
    const std::string moduleName = module.substr(module.find_last_of('\\') + 1);
    EXPECT_TRUE(sw::SameText(program.substr(program.find_last_of('\\') + 1), moduleName) ||
                sw::SameText(program.substr(program.find_last_of('\\') + 1) + ".exe", moduleName))
        << program;
    EXPECT_EQ(std::vector<std::string>(words.begin() + 1, words.end()), this->backend.System().Arguments());
}

} // namespace
