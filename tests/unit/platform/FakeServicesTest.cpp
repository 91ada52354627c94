#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

using namespace sw;

TEST(FakeProcesses, RecordsStartsAndRestartsAndCanFail) {
    fake::FakePlatform p;
    auto ok = p.Processes().Start("C:\\SETUP\\SETUP.EXE -r", WindowState::Normal);
    EXPECT_TRUE(ok.Started);
    EXPECT_TRUE(p.Processes().Start("C:\\SETUP\\SETUP -c", WindowState::Hidden).Started);
    EXPECT_TRUE(p.Processes().Start("notepad readme.txt", WindowState::Maximized).Started);
    EXPECT_FALSE(p.Processes().Start("C:\\SETUP\\MISSING.EXE", WindowState::Normal).Started);
    EXPECT_TRUE(p.Processes().RebootWindows(true));
    p.Processes().SetFail(true);
    EXPECT_FALSE(p.Processes().Start("notepad", WindowState::Normal).Started);
    EXPECT_FALSE(p.Processes().RebootWindows(false));
    ASSERT_EQ(p.Processes().StartedPrograms().size(), 3u);
    EXPECT_EQ(p.Processes().StartedPrograms()[0].CommandLine, "C:\\SETUP\\SETUP.EXE -r");
    EXPECT_EQ(p.Processes().StartedPrograms()[2].State, WindowState::Maximized);
    EXPECT_EQ(p.Processes().Reboots(), std::vector<bool>{true});
}

TEST(FakeSystemInfo, ArgumentsFollowTheProgramName) {
    fake::FakePlatform p;
    EXPECT_TRUE(p.System().Arguments().empty());
    p.System().SetCommandLine("\"C:\\My Setup\\setup.exe\" -r \"-sC:\\My Build\" -c");
    EXPECT_EQ(p.System().Arguments(), (std::vector<std::string>{"-r", "-sC:\\My Build", "-c"}));
    p.System().SetVersion(std::nullopt);
    EXPECT_FALSE(p.System().Version());
    p.System().SetVersion(OSVersion{3, 51, 1057, PlatformId::NT});
    EXPECT_EQ(p.System().Version()->Minor, 51u);
}

TEST(FakeResources, NamesCompareWithoutCase) {
    fake::FakePlatform p;
    p.Resources().Add(ResourceType::RCData, "TWelcomeForm", {1, 2});
    EXPECT_EQ(p.Resources().Find(ResourceType::RCData, "TWELCOMEFORM"), std::optional<std::vector<uint8_t>>({1, 2}));
    EXPECT_FALSE(p.Resources().Find(ResourceType::Bitmap, "TWELCOMEFORM"));
}
