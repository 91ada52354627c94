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

// The fake's command interpreter, which the restart tests rely on to behave
// like Windows': a failing line does not stop the batch.
TEST(FakeProcesses, RunsTheLinesOfABatchAndGivesItsExitCode) {
    fake::FakePlatform p;
    fake::FakeFileSystem& files = p.Files();
    files.ForceDirectories("C:\\APP");
    files.PutFile("C:\\APP\\OLD.DLL", "old");
    files.PutFile("C:\\APP\\NEW.1", "new");
    files.PutFile("C:\\APP\\KEEP.TXT", "keep");
    files.PutFile("C:\\RUN.BAT", "ERASE C:\\APP\\OLD.DLL\r\n"
                                 "if exist C:\\APP\\MISSING erase C:\\APP\\KEEP.TXT\r\n"
                                 "rename C:\\APP\\KEEP.TXT OTHER.TXT\r\n"
                                 "If Exist \"C:\\APP\\NEW.1\" move C:\\APP\\NEW.1 C:\\APP\\OLD.DLL\r\n");
    EXPECT_EQ(p.Processes().RunAndWait("\"C:\\RUN.BAT\"", WindowState::Hidden, 1000), 1u) << "rename is not understood";
    EXPECT_EQ(files.FileText("C:\\APP\\OLD.DLL"), "new");
    EXPECT_FALSE(files.FileExists("C:\\APP\\NEW.1"));
    EXPECT_EQ(files.FileText("C:\\APP\\KEEP.TXT"), "keep");
    // A move never replaces a file; a missing batch does not run.
    files.PutFile("C:\\APP\\NEW.1", "newer");
    files.PutFile("C:\\MOVE.BAT", "move C:\\APP\\NEW.1 C:\\APP\\OLD.DLL\r\n");
    EXPECT_EQ(p.Processes().RunAndWait("C:\\MOVE.BAT", WindowState::Hidden, 1000), 1u);
    EXPECT_EQ(files.FileText("C:\\APP\\OLD.DLL"), "new");
    EXPECT_EQ(p.Processes().RunAndWait("C:\\GONE.BAT", WindowState::Hidden, 1000), std::nullopt);
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
