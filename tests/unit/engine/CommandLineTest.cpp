// The command line and the run-mode dispatch of the install driver, from
// real project streams.
#include "support/EngineFixture.h"

#include "project/ClassRegistry.h"
#include "system/InstallErrors.h"

#include <algorithm>

namespace sw::test {
namespace {

class CommandLineTest : public EngineFixture {
  protected:
    TInstall* LoadDriver() {
        TComponent* form = Load(kBasicForm);
        return static_cast<TInstall*>(form->FindComponent("Install1"));
    }
    std::string InvalidParameter(const std::string& arg) {
        return "Invalid parameter <" + arg +
               ">. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to floppies), -e (Called "
               "by self-extractor), -r (After reboot)";
    }
    const std::vector<fake::FakeGui::Box>& Boxes() { return fake_.Gui().Boxes(); }
};

const char* const kNoBuildInf =
    "Need to have a BUILD.INF file in this directory with the first line specifying the build directory";
const char* const kNoBuildDirectory =
    "You forgot to pass in the build directory. In Run | Parameters, follow this format: -d \"-sC:\\My Build\"";

TEST_F(CommandLineTest, NoArgumentsWaitsForActivationInTheProgramsDirectory) {
    TInstall* install = LoadDriver();
    for (char letter : std::string("bfdersc"))
        EXPECT_FALSE(install->SwitchGiven(letter)) << letter;
    EXPECT_EQ(install->InstallSourceDirectory(), "C:\\SETUP");
    EXPECT_EQ(install->TargetForm(), install->Owner());
    EXPECT_FALSE(Application().Terminated());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(CommandLineTest, ProgramInTheRootGivesTheDriveAsSourceDirectory) {
    fake_.System().SetModulePath("C:\\SETUP.EXE");
    EXPECT_EQ(LoadDriver()->InstallSourceDirectory(), "C:");
}

TEST_F(CommandLineTest, DebugNeedsABuildDirectory) {
    SetArguments("-d");
    EXPECT_EQ(LoadError<IEInstall>(kBasicForm), kNoBuildDirectory);
    SetArguments(R"(-d "-s   ")");
    EXPECT_EQ(LoadError<IEInstall>(kBasicForm), kNoBuildDirectory);
    SetArguments(R"("-s   " -d)");
    EXPECT_EQ(LoadError<IEInstall>(kBasicForm), kNoBuildDirectory);
    EXPECT_EQ(InstallDriver(), nullptr);
}

TEST_F(CommandLineTest, DebugWithABuildDirectoryInstallsFromIt) {
    SetArguments(R"(-d "-sC:\My Build")");
    TInstall* install = LoadDriver();
    EXPECT_TRUE(install->SwitchGiven('d'));
    EXPECT_EQ(install->InstallSourceDirectory(), "C:\\My Build");
}

TEST_F(CommandLineTest, BlankSourceWithoutDebugIsKeptAsGiven) {
    SetArguments(R"("-s  ")");
    EXPECT_EQ(LoadDriver()->InstallSourceDirectory(), "  ");
}

TEST_F(CommandLineTest, MalformedArgumentsAreRejectedByName) {
    for (const char* arg : {"x", "-", "-q", "/b", "b-"}) {
        SetArguments(arg);
        EXPECT_EQ(LoadError<IException>(kBasicForm), InvalidParameter(arg)) << arg;
    }
    SetArguments("-sC:\\A -q");
    EXPECT_EQ(LoadError<IException>(kBasicForm), InvalidParameter("-q"));
}

TEST_F(CommandLineTest, LettersIgnoreCaseAndLaterValuesWin) {
    SetArguments("-sA -SB -eSetup.exe -C");
    TInstall* install = LoadDriver();
    EXPECT_EQ(install->SwitchValue('s'), "B");
    EXPECT_EQ(install->SwitchValue('S'), "B");
    EXPECT_EQ(install->SwitchValue('e'), "Setup.exe");
    EXPECT_TRUE(install->SwitchGiven('c'));
    EXPECT_EQ(install->SwitchValue('c'), "");
    EXPECT_FALSE(install->SwitchGiven('d'));
    EXPECT_EQ(install->InstallSourceDirectory(), "B");
}

TEST_F(CommandLineTest, BuildModeShowsItsErrorAndTerminates) {
    auto terminations = [&] {
        const auto& calls = fake_.Gui().Calls();
        return std::count(calls.begin(), calls.end(), "Terminate");
    };
    for (const char* arg : {"-b", "-B", "-bignored"}) {
        SetArguments(arg);
        const auto before = terminations();
        TInstall* install = LoadDriver();
        EXPECT_TRUE(install->SwitchGiven('b')) << arg;
        EXPECT_EQ(terminations(), before + 1) << arg;
        FreeRoots();
    }
    ASSERT_EQ(Boxes().size(), 3u);
    for (const auto& box : Boxes())
        EXPECT_EQ(box.Text, kNoBuildInf);
}

TEST_F(CommandLineTest, BuildIsTestedBeforeReboot) {
    SetArguments("-r -b");
    TInstall* install = LoadDriver();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text, kNoBuildInf);
    EXPECT_TRUE(Application().Terminated());
    // No tool mode hooks the form's activation.
    TTestForm* form = static_cast<TTestForm*>(install->Owner());
    form->OnActivate(form);
    EXPECT_EQ(form->Activations, 1);
    EXPECT_FALSE(install->Activated());
}

TEST_F(CommandLineTest, FloppyModeShowsItsErrorAndTerminates) {
    SetArguments("-f -r");
    LoadDriver();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text, "Sorry... You can only transfer this installation to floppies through the "
                               "self-extracting file. Usage example: setup.exe *TODISK");
    EXPECT_EQ(Boxes()[0].Flags, mb::Ok);
    EXPECT_TRUE(Application().Terminated());
}

// A driver that records the drive the floppy mode transfers to.
class TFloppyInstall : public TInstall {
    SW_DECLARE_CLASS()
  public:
    using TInstall::TInstall;
    void TransferToFloppies(const std::string& drive) override { Drives.push_back(drive); }
    static std::vector<std::string> Drives;
};
std::vector<std::string> TFloppyInstall::Drives;
SW_CLASS_INFO(TFloppyInstall, TInstall)

TEST_F(CommandLineTest, FloppyModeTransfersToDriveA) {
    RegisterClass<TFloppyInstall>();
    TFloppyInstall::Drives.clear();
    SetArguments("-f");
    Load(R"(object Form1: TTestForm
  object Install1: TFloppyInstall
    RunAutomatic = False
  end
end
)");
    EXPECT_EQ(TFloppyInstall::Drives, (std::vector<std::string>{"a:"}));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(Application().Terminated());
}

TEST_F(CommandLineTest, RebootModeRunsAtLoading) {
    SetArguments("-r");
    // Without an install record there is no unfinished business to complete.
    EXPECT_EQ(LoadError<IEInstall>(kBasicForm),
              "The TInstall could not either write or read unfinished business from the registry");
    EXPECT_TRUE(Boxes().empty());
}

} // namespace
} // namespace sw::test
