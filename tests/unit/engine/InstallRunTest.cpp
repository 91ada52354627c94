// The install run of the driver: stages, events, the good and the bad end,
// cleanup, and the restart at the end of a run. The file passes of the
// driver's groups are stood in for by a driver that records its own pass.
#include "support/EngineFixture.h"

#include "engine/SetupExit.h"
#include "lang/Translator.h"
#include "objects/InstallMessages.h"
#include "objects/InstallObject.h"
#include "project/ClassRegistry.h"
#include "objects/InstallParameters.h"
#include "system/InstallErrors.h"
#include "system/InstallRecord.h"
#include "system/RegistryHelpers.h"

#include <functional>

namespace sw::test {

// A driver whose archive reading and object pass record themselves and run
// what the test asks for in between.
class TRecordingInstall : public TInstall {
    SW_DECLARE_CLASS()
  public:
    using TInstall::TInstall;
    void InstallObjects() override {
        Log->push_back("objects");
        if (DuringObjects)
            DuringObjects();
    }
    std::vector<std::string>* Log = nullptr;
    std::function<void()> DuringObjects;
    bool FailHeaders = false;

  protected:
    void ReadArchiveHeaders() override {
        Log->push_back("headers");
        if (FailHeaders)
            throw Exception("corrupt header table");
    }
};
SW_CLASS_INFO(TRecordingInstall, TInstall)

// A dialog manager stand-in: logs every stage code it receives.
class TStageLog : public TInstallObject {
    SW_DECLARE_CLASS()
  public:
    using TInstallObject::TInstallObject;
    int GetObjectKind() const override { return kKindDialog; }
    void HandleInstallMessage(TInstallContainer*, int code, TPersistent* parameter) override {
        std::string line = std::to_string(code);
        if (auto* message = dynamic_cast<TMessageParameter*>(parameter))
            line += " " + message->Text;
        Log->push_back(line);
        if (OnCode)
            OnCode(code);
    }
    std::vector<std::string>* Log = nullptr;
    std::function<void(int)> OnCode;
};
SW_CLASS_INFO(TStageLog, TInstallObject)

namespace {

constexpr RegistryRoot hklm = RegistryRoot::LocalMachine;
const std::string kRunOnce = kRunOnceKey;

constexpr std::string_view kRunForm = R"(object Form1: TTestForm
  object Install1: TRecordingInstall
    RunAutomatic = False
    UseLoadingProgram = False
  end
end
)";

constexpr std::string_view kLoaderForm = R"(object Form1: TTestForm
  object Install1: TRecordingInstall
    RunAutomatic = False
    UseLoadingProgram = True
    PresetupFiles.Strings = (
      'C:\Elsewhere\SETUP.LST'
      'Readme.pre')
  end
end
)";

class InstallRunTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        RegisterClass<TRecordingInstall>();
    }

    TRecordingInstall* LoadRun(std::string_view text = kRunForm) {
        form_ = LoadForm(text);
        install_ = static_cast<TRecordingInstall*>(form_->FindComponent("Install1"));
        install_->Log = &log_;
        stages_ = new TStageLog(form_);
        stages_->Log = &log_;
        stages_->SetContainer(install_);
        BindEvents();
        return install_;
    }

    void BindEvents() {
        auto notify = [this](const char* name) {
            return TNotifyEvent("", [this, name](TPersistent*) { log_.push_back(name); });
        };
        install_->OnBeforeReadArchiveInfo = notify("OnBeforeReadArchiveInfo");
        install_->OnAfterReadArchiveInfo = notify("OnAfterReadArchiveInfo");
        install_->OnAfterInitialized = notify("OnAfterInitialized");
        install_->OnBeforeNotifyGoodInstall = notify("OnBeforeNotifyGoodInstall");
        install_->OnAfterNotifyGoodInstall = notify("OnAfterNotifyGoodInstall");
        install_->OnBeforeNotifyBadInstall = notify("OnBeforeNotifyBadInstall");
        install_->OnAfterNotifyBadInstall = notify("OnAfterNotifyBadInstall");
        install_->OnBeforeProcess = TInstallContainerNotifyEvent(
            "", [this](TInstallContainer*) { log_.push_back("OnBeforeProcess"); });
        install_->OnAfterProcess = TInstallContainerNotifyEvent(
            "", [this](TInstallContainer*) { log_.push_back("OnAfterProcess"); });
        install_->OnBeforeShutdown = TUserAbortEvent("", [this](TCustomInstall*, bool& quit) {
            log_.push_back("OnBeforeShutdown");
            quit = quitOnShutdown_;
        });
        install_->OnBeforeCleanup = TCleanupEvent("", [this](TCustomInstall*, bool&) { log_.push_back("OnBeforeCleanup"); });
    }

    // Runs the install the way the message loop does: an exception goes to
    // the application's handler.
    void RunInstall() {
        try {
            install_->Install();
        } catch (...) {
            Application().HandleException(std::current_exception());
        }
    }

    bool RecordExists(const std::string& key) { return fake_.Registry().KeyExists(hklm, key); }
    std::vector<std::string> Tail(size_t from) const {
        return {log_.begin() + static_cast<std::ptrdiff_t>(std::min(from, log_.size())), log_.end()};
    }
    size_t IndexOf(const std::string& line) const {
        return static_cast<size_t>(std::find(log_.begin(), log_.end(), line) - log_.begin());
    }

    TTestForm* form_ = nullptr;
    TRecordingInstall* install_ = nullptr;
    TStageLog* stages_ = nullptr;
    std::vector<std::string> log_;
    bool quitOnShutdown_ = true;
};

const std::vector<std::string> kStartOfRun = {
    "OnBeforeReadArchiveInfo", "-984", "-974 Reading file information...", "headers", "-973",
    "OnAfterReadArchiveInfo", "-983", "OnAfterInitialized", "-986", "-976", "-975", "-982", "-981", "-977", "-980",
    "OnBeforeProcess", "-990", "-999", "objects", "OnAfterProcess", "-989"};

TEST_F(InstallRunTest, AGoodRunGoesThroughEveryStageInOrderAndRemovesTheRecord) {
    LoadRun();
    install_->RunAutomatic = true;
    std::string recordDuringRun;
    install_->DuringObjects = [&] {
        recordDuringRun = InstallRecordKeyPath();
        EXPECT_TRUE(install_->Running());
        EXPECT_TRUE(install_->InstallRunStarted());
    };
    RunInstall();
    std::vector<std::string> expected = kStartOfRun;
    for (const char* line : {"OnBeforeNotifyGoodInstall", "-995", "-979", "OnAfterNotifyGoodInstall", "OnBeforeShutdown"})
        expected.push_back(line);
    EXPECT_EQ(log_, expected);
    EXPECT_EQ(recordDuringRun, "\\SOFTWARE\\Pellmoor\\Install\\Install0");
    EXPECT_FALSE(RecordExists(recordDuringRun));
    EXPECT_FALSE(RecordExists("\\Software\\Pellmoor"));
    EXPECT_EQ(InstallRecordKeyPath(), "");
    EXPECT_FALSE(install_->Running());
    EXPECT_TRUE(fake_.Gui().Terminated());
    EXPECT_TRUE(fake_.Gui().Boxes().empty());
    EXPECT_FALSE(fake_.Registry().KeyExists(hklm, kRunOnce));
    EXPECT_TRUE(fake_.Processes().Reboots().empty());
}

TEST_F(InstallRunTest, ShutdownHappensOnlyWithRunAutomaticAndWhenTheHandlerAgrees) {
    LoadRun();
    RunInstall();
    EXPECT_EQ(log_.back(), "OnAfterNotifyGoodInstall");
    EXPECT_FALSE(fake_.Gui().Terminated());

    // Shutdown asked for but refused by the handler.
    quitOnShutdown_ = false;
    install_->Shutdown();
    EXPECT_EQ(log_.back(), "OnBeforeShutdown");
    EXPECT_FALSE(fake_.Gui().Terminated());
    quitOnShutdown_ = true;
    install_->Shutdown();
    EXPECT_TRUE(fake_.Gui().Terminated());
}

TEST_F(InstallRunTest, QueryUserAbortAsksOnUserAbort) {
    LoadRun();
    EXPECT_TRUE(install_->QueryUserAbort());
    install_->OnUserAbort = TUserAbortEvent("", [](TCustomInstall*, bool& quit) { quit = false; });
    EXPECT_FALSE(install_->QueryUserAbort());
}

TEST_F(InstallRunTest, ArchiveInformationIsReadOnceAndOnlyMarkedReadWhenWhole) {
    LoadRun();
    install_->FailHeaders = true;
    EXPECT_THROW(install_->ReadInfoFromArchive(), Exception);
    const std::vector<std::string> failed = {"OnBeforeReadArchiveInfo", "-984", "-974 Reading file information...",
                                             "headers", "-973"};
    EXPECT_EQ(log_, failed);
    EXPECT_EQ(fake_.Gui().Cursor(), CursorKind::Default);

    log_.clear();
    install_->FailHeaders = false;
    install_->ReadInfoFromArchive();
    install_->ReadInfoFromArchive();
    const std::vector<std::string> read = {"OnBeforeReadArchiveInfo",
                                           "-984",
                                           "-974 Reading file information...",
                                           "headers",
                                           "-973",
                                           "OnAfterReadArchiveInfo",
                                           "-983"};
    EXPECT_EQ(log_, read);
}

TEST_F(InstallRunTest, ARemoteFileListIsNotFetchedForATraditionalDistribution) {
    LoadRun();
    install_->ReadInfoFromArchive();
    EXPECT_EQ(fake_.Internet().LoadCount(), 0);
}

TEST_F(InstallRunTest, AUserAbortEndsBadlyWithCleanupAndWithoutTheRecord) {
    SetArguments(R"("-sC:\SETUP" -c)");
    fake_.Files().PutFile("C:\\SETUP\\README.PRE", "pre");
    fake_.Files().PutFile("C:\\SETUP\\SETUP.LST", "list");
    fake_.Files().PutFile("C:\\SETUP\\KEEP.TXT", "keep");
    LoadRun(kLoaderForm);
    install_->RunAutomatic = true;
    install_->OnAfterInitialized = TNotifyEvent("", [](TPersistent*) { throw EAIUserAbort(); });
    RunInstall();
    const std::vector<std::string> end = {"OnBeforeNotifyBadInstall", "-994", "-978", "OnAfterNotifyBadInstall",
                                          "OnBeforeCleanup", "OnBeforeShutdown"};
    EXPECT_EQ(Tail(IndexOf("-983") + 1), end);
    EXPECT_EQ(IndexOf("objects"), log_.size()) << "no object was installed";
    EXPECT_TRUE(fake_.Gui().Boxes().empty());
    EXPECT_FALSE(RecordExists("\\SOFTWARE\\Pellmoor\\Install\\Install0"));
    EXPECT_TRUE(fake_.Gui().Terminated());

    // The presetup files went from the program's folder, nothing else.
    EXPECT_FALSE(fake_.Files().FileExists("C:\\SETUP\\README.PRE"));
    EXPECT_FALSE(fake_.Files().FileExists("C:\\SETUP\\SETUP.LST"));
    EXPECT_TRUE(fake_.Files().FileExists("C:\\SETUP\\KEEP.TXT"));
    ASSERT_TRUE(install_->CleanupPending());
    const std::string batch = install_->CleanupBatch();
    EXPECT_EQ(batch.substr(0, 18), "C:\\WINDOWS\\TEMP\\ba");
    EXPECT_EQ(batch.substr(batch.size() - 4), ".bat");
    EXPECT_EQ(fake_.Files().FileText(batch), "ERASE \"C:\\SETUP\\SETUP.EXE\"\r\n"
                                             "DELTREE /Y \"C:\\SETUP\"\r\n"
                                             "ERASE \"" + batch.substr(0, batch.size() - 4) + ".PIF\"\r\n"
                                             "ERASE \"" + batch + "\"\r\n");
    // The batch starts, hidden, when the driver goes at the end of the program.
    EXPECT_TRUE(fake_.Processes().StartedPrograms().empty());
    FreeRoots();
    ASSERT_EQ(fake_.Processes().StartedPrograms().size(), 1u);
    EXPECT_EQ(fake_.Processes().StartedPrograms()[0].CommandLine, "\"" + batch + "\"");
    EXPECT_EQ(fake_.Processes().StartedPrograms()[0].State, WindowState::Hidden);
}

TEST_F(InstallRunTest, CleanupRunsOnlyForALoadingProgramStartWithC) {
    for (const char* arguments : {R"("-sC:\SETUP")", R"(-d "-sC:\SETUP" -c)"}) {
        SetArguments(arguments);
        LoadRun(kLoaderForm);
        install_->Cleanup();
        EXPECT_FALSE(install_->CleanupPending()) << arguments;
        EXPECT_EQ(IndexOf("OnBeforeCleanup"), log_.size()) << arguments;
        FreeRoots();
    }
    SetArguments(R"("-sC:\SETUP" -c)");
    LoadRun(kLoaderForm);
    install_->OnBeforeCleanup = TCleanupEvent("", [](TCustomInstall*, bool& go) { go = false; });
    install_->Cleanup();
    EXPECT_FALSE(install_->CleanupPending());
    EXPECT_TRUE(fake_.Files().ListDirectory("C:\\WINDOWS\\TEMP", "*.bat").empty());
}

// A loading program that names the program's folder with c removes it itself:
// the presetup files go, no batch is written or started. Another folder named
// gets the batch as a plain c does.
TEST_F(InstallRunTest, NoBatchWhenTheLoadingProgramRemovesTheFolderItself) {
    for (const char* named : {"C:\\SETUP", "c:\\setup\\", "C:\\SETUP2"}) {
        const bool batch = std::string(named) == "C:\\SETUP2";
        SetArguments(std::string(R"("-sC:\DIST" "-c)") + named + "\"");
        fake_.Files().PutFile("C:\\SETUP\\README.PRE", "pre");
        LoadRun(kLoaderForm);
        install_->Cleanup();
        EXPECT_LT(IndexOf("OnBeforeCleanup"), log_.size()) << named;
        EXPECT_FALSE(fake_.Files().FileExists("C:\\SETUP\\README.PRE")) << named;
        EXPECT_EQ(install_->CleanupPending(), batch) << named;
        EXPECT_EQ(fake_.Files().ListDirectory("C:\\WINDOWS\\TEMP", "*.bat").size(), batch ? 1u : 0u) << named;
        FreeRoots();
        EXPECT_EQ(fake_.Processes().StartedPrograms().size(), batch ? 1u : 0u) << named;
    }
}

TEST_F(InstallRunTest, OnWindowsNTTheBatchRemovesTheFolderWithRmdir) {
    fake_.System().SetVersion(OSVersion{4, 0, 1381, PlatformId::NT});
    fake_.Files().ForceDirectories("C:\\Documents and Settings\\Me\\Temp\\pkg 1");
    fake_.Files().PutFile("C:\\Documents and Settings\\Me\\Temp\\pkg 1\\SETUP.EXE", "x");
    fake_.System().SetModulePath("C:\\Documents and Settings\\Me\\Temp\\pkg 1\\SETUP.EXE");
    SetArguments(R"("-sC:\Dist" -c)");
    LoadRun(kLoaderForm);
    install_->Cleanup();
    const std::string text = fake_.Files().FileText(install_->CleanupBatch());
    EXPECT_EQ(text.substr(0, text.find("\r\nERASE", 10)),
              "ERASE \"C:\\Documents and Settings\\Me\\Temp\\pkg 1\\SETUP.EXE\"\r\n"
              "RMDIR /S /Q \"C:\\Documents and Settings\\Me\\Temp\\pkg 1\"");
}

TEST_F(InstallRunTest, AnErrorEndsBadlyWithTheErrorBoxAndKeepsTheRecord) {
    SetArguments(R"("-sC:\SETUP" -c)");
    LoadRun(kLoaderForm);
    install_->DuringObjects = [&] {
        install_->AddUnfinished("C:\\WINDOWS\\TEMP\\ren1.bat", 1);
        throw Exception("The disk is full");
    };
    RunInstall();
    const std::vector<std::string> end = {"OnBeforeNotifyBadInstall", "-994", "-978", "OnAfterNotifyBadInstall",
                                          "OnBeforeShutdown"};
    EXPECT_EQ(Tail(IndexOf("objects") + 1), end);
    ASSERT_EQ(fake_.Gui().Boxes().size(), 1u);
    EXPECT_EQ(fake_.Gui().Boxes()[0].Text, "The disk is full");
    // Shutdown whatever RunAutomatic says; no cleanup; the record and its
    // unfinished list stay for the next run.
    EXPECT_TRUE(fake_.Gui().Terminated());
    EXPECT_FALSE(install_->CleanupPending());
    const std::string key = "\\SOFTWARE\\Pellmoor\\Install\\Install0";
    EXPECT_TRUE(RecordExists(key));
    EXPECT_EQ(fake_.Registry().ReadString(hklm, key + "\\Unfinished", "C:\\WINDOWS\\TEMP\\ren1.bat", ""), "1");
    EXPECT_FALSE(install_->Running());

    // Once the run has ended, errors are shown plainly.
    log_.clear();
    Application().HandleException(std::make_exception_ptr(Exception("later")));
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(fake_.Gui().Boxes().back().Text, "later");
}

TEST_F(InstallRunTest, ASecondRunAfterAnInterruptedOneReusesTheRecord) {
    SetArguments(R"("-sC:\SETUP")");
    LoadRun(kLoaderForm);
    install_->DuringObjects = [&] {
        install_->AddUnfinished("File1", 0);
        throw Exception("power cut");
    };
    RunInstall();
    const std::string key = "\\SOFTWARE\\Pellmoor\\Install\\Install0";
    ASSERT_TRUE(RecordExists(key + "\\Unfinished"));
    FreeRoots();

    // The next start of the same setup program finds its record.
    log_.clear();
    LoadRun(kLoaderForm);
    EXPECT_EQ(InstallRecordKeyPath(), key);
    bool listCleared = false;
    install_->DuringObjects = [&] {
        listCleared = !RecordExists(key + "\\Unfinished");
        EXPECT_EQ(InstallRecordKeyPath(), key);
    };
    RunInstall();
    EXPECT_TRUE(listCleared);
    EXPECT_EQ(fake_.Registry().SubKeyNames(hklm, "\\SOFTWARE\\Pellmoor\\Install").size(), 0u);
    EXPECT_NE(IndexOf("OnAfterNotifyGoodInstall"), log_.size());
}

TEST_F(InstallRunTest, AnErrorWhileEndingBadlyEndsItQuietly) {
    LoadRun();
    install_->RunAutomatic = true;
    install_->OnBeforeNotifyBadInstall = TNotifyEvent("", [](TPersistent*) { throw Exception("no page"); });
    install_->DuringObjects = [] { throw Exception("copy failed"); };
    RunInstall();
    EXPECT_TRUE(fake_.Gui().Boxes().empty());
    EXPECT_TRUE(fake_.Gui().Terminated());
    EXPECT_EQ(IndexOf("OnBeforeShutdown"), log_.size());
}

TEST_F(InstallRunTest, TheExitCodeTellsABadEndAndAnAbortFromAGoodEnd) {
    struct Case {
        const char* name;
        std::function<void()> during;
        bool failWhileEnding;
        TSetupExit code;
    };
    const Case cases[] = {
        {"good", {}, false, TSetupExit::Good},
        {"restart", [this] { install_->Reboot = true; }, false, TSetupExit::Good},
        {"abort", [] { throw EAIUserAbort(); }, false, TSetupExit::UserAbort},
        {"error", [] { throw Exception("copy failed"); }, false, TSetupExit::Failed},
        {"error while ending", [] { throw Exception("copy failed"); }, true, TSetupExit::Failed},
    };
    for (const Case& c : cases) {
        SetSetupExitCode(TSetupExit::Good);
        LoadRun();
        install_->RunAutomatic = true;
        install_->DuringObjects = c.during;
        if (c.failWhileEnding)
            install_->OnBeforeNotifyBadInstall = TNotifyEvent("", [](TPersistent*) { throw Exception("no page"); });
        install_->OnBeforeReboot = TRebootWindowsEvent("", [](TCustomInstall*, bool& go) { go = false; });
        RunInstall();
        EXPECT_EQ(SetupExitCode(), c.code) << c.name;
        FreeRoots();
    }
}

TEST_F(InstallRunTest, ALoadingProgramWithoutTheSourceSwitchFailsTheRun) {
    LoadRun(kLoaderForm);
    RunInstall();
    ASSERT_EQ(fake_.Gui().Boxes().size(), 1u);
    EXPECT_EQ(fake_.Gui().Boxes()[0].Text,
              "The path of the loading program was not passed correctly. If you are running your install project in "
              "the IDE, then you need to add two command line parameters. In Run | Parameters | \"Run Parameters\", "
              "type in: -d \"-sBUILDPATH\" where BUILDPATH is the path into which you built the distributables. "
              "Example: -d \"-sC:\\My Build\".");
    EXPECT_NE(IndexOf("-978"), log_.size());
    EXPECT_EQ(IndexOf("headers"), log_.size());
}

// --- restart at the end of the run

TEST_F(InstallRunTest, RestartLaterLeavesTheEndToTheRunAfterTheRestart) {
    LoadRun();
    install_->RunAutomatic = true;
    install_->DuringObjects = [&] {
        install_->AddUnfinished("Ocx1", 0);
        install_->Reboot = true;
    };
    // The reboot page: the user answers "later".
    stages_->OnCode = [&](int code) {
        if (code == msg::RebootStage)
            install_->Reboot = false;
    };
    RunInstall();
    EXPECT_EQ(Tail(IndexOf("-989") + 1), std::vector<std::string>{"-987"});
    EXPECT_EQ(fake_.Registry().ReadString(hklm, kRunOnce, "PellmoorUnfinished", ""),
              "\"C:\\SETUP\\SETUP.EXE\" -r \"-sC:\\SETUP\"");
    EXPECT_TRUE(RecordExists("\\SOFTWARE\\Pellmoor\\Install\\Install0\\Unfinished"));
    EXPECT_TRUE(fake_.Processes().Reboots().empty());
    EXPECT_TRUE(fake_.Gui().Terminated());
    EXPECT_FALSE(install_->Running());
}

TEST_F(InstallRunTest, OnBeforeRebootClearingContinueIsRestartLater) {
    LoadRun();
    auto* translator = new TTranslator(form_);
    translator->SetTranslateIntoLanguage(plGerman);
    install_->DuringObjects = [&] { install_->Reboot = true; };
    bool seen = false;
    install_->OnBeforeReboot = TRebootWindowsEvent("", [&](TCustomInstall*, bool& go) {
        seen = go;
        go = false;
    });
    RunInstall();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(fake_.Registry().ValueExists(hklm, kRunOnce, "PellmoorUnfinished"));
    EXPECT_TRUE(fake_.Processes().Reboots().empty());
    EXPECT_EQ(IndexOf("-995"), log_.size());
    EXPECT_TRUE(RecordExists("\\SOFTWARE\\Pellmoor\\Install\\Install0"));
    // The run after the restart speaks the language chosen in this one.
    EXPECT_EQ(fake_.Registry().ReadInteger(hklm, "\\SOFTWARE\\Pellmoor\\Install\\Install0", "Language", -1),
              static_cast<int32_t>(plGerman));
}

TEST_F(InstallRunTest, WorkLeftForTheRestartKeepsTheRecordEvenWithoutReboot) {
    LoadRun();
    install_->DuringObjects = [&] {
        install_->AddUnfinished("Ocx1", 0);
        install_->Reboot = false;
    };
    RunInstall();
    EXPECT_EQ(IndexOf("-987"), log_.size());
    EXPECT_EQ(IndexOf("-995"), log_.size());
    EXPECT_TRUE(fake_.Registry().ValueExists(hklm, kRunOnce, "PellmoorUnfinished"));
    EXPECT_TRUE(RecordExists("\\SOFTWARE\\Pellmoor\\Install\\Install0\\Unfinished"));
}

TEST_F(InstallRunTest, RestartNowSavesTheLanguageAndRestartsByTheWindowsVersion) {
    struct Case {
        OSVersion Version;
        std::vector<bool> Reboots;
        bool Failed;
    };
    const Case cases[] = {{{4, 10, 1998, PlatformId::Windows}, {false}, false},
                          {{5, 1, 2600, PlatformId::NT}, {true}, false},
                          {{3, 51, 1057, PlatformId::NT}, {}, true},
                          {{1, 30, 0, PlatformId::Win32s}, {}, true}};
    for (const Case& c : cases) {
        fake::FakePlatform fresh;
        fresh.Resources().Add(ResourceType::Bitmap, "INSTALLTHEME1", ThemeBitmapResource());
        fresh.Files().ForceDirectories("C:\\SETUP");
        fresh.Files().PutFile("C:\\SETUP\\SETUP.EXE", "program");
        fresh.System().SetVersion(c.Version);
        ScopedPlatform scoped(fresh.Get());
        log_.clear();
        LoadRun();
        auto* translator = new TTranslator(form_);
        translator->SetTranslateIntoLanguage(plGerman);
        install_->DuringObjects = [&] { install_->Reboot = true; };
        RunInstall();
        const int32_t savedLanguage = fresh.Registry().ReadInteger(hklm, "\\SOFTWARE\\Pellmoor\\Install\\Install0", "Language", -1);
        EXPECT_EQ(savedLanguage, static_cast<int32_t>(plGerman)) << c.Version.Major;
        EXPECT_EQ(fresh.Processes().Reboots(), c.Reboots) << c.Version.Major;
        EXPECT_TRUE(fresh.Gui().Terminated());
        EXPECT_EQ(IndexOf("-995"), log_.size());
        if (c.Failed) {
            ASSERT_EQ(fresh.Gui().Boxes().size(), 1u);
            EXPECT_EQ(fresh.Gui().Boxes()[0].Text, "Could not reboot windows. Please manually reboot windows.");
        } else {
            EXPECT_TRUE(fresh.Gui().Boxes().empty());
        }
        FreeRoots();
    }
}

TEST_F(InstallRunTest, ARefusedRestartCallsOnFailedRebootInsteadOfTheBox) {
    fake_.Processes().SetFail(true);
    LoadRun();
    install_->OnFailedReboot = TNotifyEvent("", [this](TPersistent*) { log_.push_back("OnFailedReboot"); });
    install_->DuringObjects = [&] { install_->Reboot = true; };
    RunInstall();
    EXPECT_NE(IndexOf("OnFailedReboot"), log_.size());
    EXPECT_TRUE(fake_.Gui().Boxes().empty());
    // The command stays registered for the next start of Windows.
    EXPECT_TRUE(fake_.Registry().ValueExists(hklm, kRunOnce, "PellmoorUnfinished"));
}

} // namespace
} // namespace sw::test
