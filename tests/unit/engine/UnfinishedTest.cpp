// The unfinished list of the install record, the restart command and the r
// mode that completes the list after a restart.
#include "support/EngineFixture.h"

#include "lang/Translator.h"
#include "objects/InstallObject.h"
#include "project/ClassRegistry.h"
#include "system/InstallErrors.h"
#include "system/InstallRecord.h"
#include "system/RegistryHelpers.h"

#include <functional>

namespace sw::test {

// An install object that counts its completions after a restart.
class TRestartedObject : public TInstallObject {
    SW_DECLARE_CLASS()
  public:
    using TInstallObject::TInstallObject;
    int GetObjectKind() const override { return kKindFile; }
    void FinishAfterRestart() override {
        ++Finished;
        if (OnFinish)
            OnFinish();
    }
    int Finished = 0;
    std::function<void()> OnFinish;
};
SW_CLASS_INFO(TRestartedObject, TInstallObject)

namespace {

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
const std::string kRecord = "\\SOFTWARE\\Pellmoor\\Install\\Install0";
const std::string kList = kRecord + "\\Unfinished";
const char* kNoRecordMessage = "The TInstall could not either write or read unfinished business from the registry";

constexpr std::string_view kRestartForm = R"(object Form1: TTestForm
  object Install1: TInstall
    RunAutomatic = False
    UseLoadingProgram = False
  end
  object Ocx1: TRestartedObject
  end
  object Translator1: TTranslator
  end
end
)";

class UnfinishedTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        RegisterClass<TRestartedObject>();
        RegisterClass<TTranslator>();
    }
    TInstall* LoadDriver(std::string_view text = kRestartForm) {
        form_ = Load(text);
        return static_cast<TInstall*>(form_->FindComponent("Install1"));
    }
    // Makes the record of this setup program, as the first run did.
    void MakeRecord(TInstall* install) {
        SetInstallRecordKeyPath(install->FindInstallRecord(true));
        ASSERT_EQ(InstallRecordKeyPath(), kRecord);
    }
    template <class E, class F> std::string ErrorOf(F f) {
        try {
            f();
        } catch (const E& e) {
            return e.what();
        }
        ADD_FAILURE() << "no error";
        return {};
    }

    TComponent* form_ = nullptr;
};

TEST_F(UnfinishedTest, EntriesAreWrittenCountedAndReadBack) {
    TInstall* install = LoadDriver();
    MakeRecord(install);
    install->AddUnfinished("Ocx1", 0);
    install->AddUnfinished("C:\\WINDOWS\\TEMP\\ren1.bat", 1);
    EXPECT_EQ(install->UnfinishedCount(), 2);
    EXPECT_EQ(fake_.Registry().ReadString(kMachine, kList, "Ocx1", ""), "0");
    TStrings list;
    list.Add("stale");
    install->ReadUnfinished(list);
    EXPECT_EQ(list.Lines, (std::vector<std::string>{"Ocx1;0", "C:\\WINDOWS\\TEMP\\ren1.bat;1"}));
    install->ClearUnfinished();
    EXPECT_FALSE(fake_.Registry().KeyExists(kMachine, kList));
    EXPECT_TRUE(fake_.Registry().KeyExists(kMachine, kRecord));
    install->ReadUnfinished(list);
    EXPECT_TRUE(list.Lines.empty());
}

TEST_F(UnfinishedTest, WithoutARecordTheListCannotBeUsed) {
    TInstall* install = LoadDriver();
    ASSERT_EQ(InstallRecordKeyPath(), "");
    TStrings list;
    EXPECT_EQ(ErrorOf<IEInstall>([&] { install->AddUnfinished("Ocx1", 0); }), kNoRecordMessage);
    EXPECT_EQ(ErrorOf<IEInstall>([&] { install->ClearUnfinished(); }), kNoRecordMessage);
    EXPECT_EQ(ErrorOf<IEInstall>([&] { install->ReadUnfinished(list); }), kNoRecordMessage);
    EXPECT_EQ(install->UnfinishedCount(), 0);
}

TEST_F(UnfinishedTest, ARefusedWriteOfAnEntryNamesKeyValueAndKind) {
    TInstall* install = LoadDriver();
    MakeRecord(install);
    fake_.Registry().FailNextWrites(1);
    EXPECT_EQ(ErrorOf<EIRCannotWriteValue>([&] { install->AddUnfinished("Ocx1", 0); }),
              "Cannot install into registry. Key: " + kList + " Ident: Ocx1 Value 0");
}

TEST_F(UnfinishedTest, TheRestartCommandStartsThisProgramWithRAndItsSource) {
    struct Case {
        const char* Arguments;
        bool LoadingProgram;
        const char* Command;
    };
    const Case cases[] = {
        {"", false, R"("C:\SETUP\SETUP.EXE" -r "-sC:\SETUP")"},
        {R"("-sC:\Temp\pkg 1" -c)", true, R"("C:\SETUP\SETUP.EXE" -r "-sC:\Temp\pkg 1" -c)"},
        // The first disk of a floppy set: the root of the drive, without -e.
        {R"("-sA:" -c)", true, R"("C:\SETUP\SETUP.EXE" -r "-sA:" -c)"},
        {R"("-sD:\Dist" "-eSetup Demo.exe" -c)", true, R"("C:\SETUP\SETUP.EXE" -r "-eSetup Demo.exe" "-sD:\Dist" -c)"},
    };
    for (const Case& c : cases) {
        SetArguments(c.Arguments);
        TInstall* install = LoadDriver();
        install->SetUseLoadingProgram(c.LoadingProgram);
        EXPECT_EQ(install->RestartCommand(), c.Command) << c.Arguments;
        FreeRoots();
    }
}

TEST_F(UnfinishedTest, APendingRestartTakesTheNextFreeName) {
    TInstall* install = LoadDriver();
    install->RegisterRestart();
    install->RegisterRestart();
    auto names = fake_.Registry().ValueNames(kMachine, kRunOnceKey);
    EXPECT_EQ(names, (std::vector<std::string>{"PellmoorUnfinished", "PellmoorUnfinished1"}));
    fake_.Registry().FailNextWrites(1);
    EXPECT_EQ(ErrorOf<IEInstall>([&] { install->RegisterRestart(); }),
              "Cannot register the install to be run on reboot in the RunOnce key in the registry");
}

TEST_F(UnfinishedTest, TheRunAfterTheRestartCompletesTheListAndEndsWell) {
    TInstall* install = LoadDriver();
    MakeRecord(install);
    auto* translator = static_cast<TTranslator*>(form_->FindComponent("Translator1"));
    translator->SetTranslateIntoLanguage(plFrench);
    SaveInstallLanguage(static_cast<int32_t>(plGerman));
    fake_.Files().PutFile("C:\\WINDOWS\\TEMP\\REN1.BAT", "rename");
    fake_.Files().PutFile("C:\\WINDOWS\\TEMP\\KEEP.BAT", "not listed");
    install->AddUnfinished("C:\\WINDOWS\\TEMP\\ren1.bat", 1);
    install->AddUnfinished("C:\\WINDOWS\\TEMP\\gone.bat", 1);
    install->AddUnfinished("ocx1", 0);
    install->AddUnfinished("NoSuchObject", 0);
    install->AddUnfinished("Strange", 7);
    std::vector<std::string> events;
    install->OnBeforeNotifyGoodInstall = TNotifyEvent("", [&](TPersistent*) {
        events.push_back("good");
        // The list was cleared before it was worked.
        EXPECT_FALSE(fake_.Registry().KeyExists(kMachine, kList));
    });
    install->FinishAfterRestart();
    EXPECT_EQ(events, std::vector<std::string>{"good"});
    EXPECT_EQ(static_cast<TRestartedObject*>(form_->FindComponent("Ocx1"))->Finished, 1);
    EXPECT_FALSE(fake_.Files().FileExists("C:\\WINDOWS\\TEMP\\REN1.BAT"));
    EXPECT_TRUE(fake_.Files().FileExists("C:\\WINDOWS\\TEMP\\KEEP.BAT"));
    EXPECT_EQ(translator->TranslateIntoLanguage(), plGerman);
    EXPECT_FALSE(fake_.Registry().KeyExists(kMachine, kRecord));
    EXPECT_FALSE(install->Running());
}

// A file in use replaced at the restart by a batch, which Windows runs from
// RunOnce in no promised order with the r run: the r run runs the batch
// first itself, so that the entries finish with the new file in place.
class BatchAfterRestartTest : public UnfinishedTest {
  protected:
    static constexpr const char* kBatch = "C:\\WINDOWS\\TEMP\\BAT1.BAT";
    static constexpr const char* kTool = "C:\\APP\\TOOL.DLL";

    // The state the install left: old file, new file under a temporary
    // name, the batch in RunOnce and the entries (the object before the batch).
    TInstall* LeaveAReplacement() {
        TInstall* install = LoadDriver();
        MakeRecord(install);
        fake_.Files().ForceDirectories("C:\\APP");
        fake_.Files().PutFile(kTool, "old");
        fake_.Files().PutFile("C:\\APP\\TOOL.1", "new");
        const std::string guard = "if exist C:\\APP\\TOOL.1 ";
        fake_.Files().PutFile(kBatch,
                              guard + "erase " + kTool + "\r\n" + guard + "move C:\\APP\\TOOL.1 " + kTool + "\r\n");
        EXPECT_TRUE(AddRunOnce("PellmoorBatFile", kBatch, true));
        install->AddUnfinished("Ocx1", 0);
        install->AddUnfinished(kBatch, 1);
        auto* ocx = static_cast<TRestartedObject*>(form_->FindComponent("Ocx1"));
        ocx->OnFinish = [this] {
            seen_ = fake_.Files().FileText(kTool);
            EXPECT_TRUE(fake_.Files().FileExists(kBatch)) << "the batch is deleted only after the entries";
        };
        return install;
    }
    void WindowsRunsTheBatchCommand() {
        if (!fake_.Registry().ValueExists(kMachine, kRunOnceKey, "PellmoorBatFile"))
            return;
        fake_.Registry().DeleteValue(kMachine, kRunOnceKey, "PellmoorBatFile");
        fake_.Processes().RunAndWait(std::string("\"") + kBatch + "\"", WindowState::Hidden, 1000);
    }
    void ExpectTheNewFileFinished() {
        EXPECT_EQ(seen_, "new") << "the object finished with the new file in place";
        EXPECT_EQ(fake_.Files().FileText(kTool), "new");
        EXPECT_FALSE(fake_.Files().FileExists("C:\\APP\\TOOL.1"));
        EXPECT_FALSE(fake_.Files().FileExists(kBatch));
        EXPECT_FALSE(fake_.Registry().ValueExists(kMachine, kRunOnceKey, "PellmoorBatFile"));
        EXPECT_FALSE(fake_.Registry().KeyExists(kMachine, kRecord));
    }

    std::string seen_;
};

TEST_F(BatchAfterRestartTest, TheBatchFirstThenTheRRunWhoseSecondRunOfItChangesNothing) {
    TInstall* install = LeaveAReplacement();
    WindowsRunsTheBatchCommand();
    ASSERT_EQ(fake_.Files().FileText(kTool), "new");
    install->FinishAfterRestart();
    ExpectTheNewFileFinished();
}

TEST_F(BatchAfterRestartTest, TheRRunFirstRunsTheBatchAndWithdrawsItsCommand) {
    TInstall* install = LeaveAReplacement();
    install->FinishAfterRestart();
    ASSERT_EQ(fake_.Processes().StartedPrograms().size(), 1u);
    EXPECT_EQ(fake_.Processes().StartedPrograms()[0].CommandLine, std::string("\"") + kBatch + "\"");
    EXPECT_EQ(fake_.Processes().StartedPrograms()[0].State, WindowState::Hidden);
    WindowsRunsTheBatchCommand();
    ExpectTheNewFileFinished();
}

TEST_F(BatchAfterRestartTest, ABatchThatCannotBeRunStaysWithItsCommand) {
    TInstall* install = LeaveAReplacement();
    fake_.Processes().SetFail(true);
    install->FinishAfterRestart();
    EXPECT_TRUE(fake_.Files().FileExists(kBatch));
    EXPECT_EQ(ReadRegString(kMachine, kRunOnceKey, "PellmoorBatFile", ""), kBatch);
}

TEST_F(UnfinishedTest, TheRModeRunsFromTheEndOfLoading) {
    {
        TInstall* first = LoadDriver();
        MakeRecord(first);
        first->AddUnfinished("Ocx1", 0);
        FreeRoots();
    }
    SetArguments(R"(-r "-sC:\SETUP")");
    TInstall* install = LoadDriver();
    EXPECT_EQ(static_cast<TRestartedObject*>(form_->FindComponent("Ocx1"))->Finished, 1);
    EXPECT_FALSE(fake_.Registry().KeyExists(kMachine, kRecord));
    EXPECT_FALSE(install->Running());
}

TEST_F(UnfinishedTest, AnInvalidEntryFailsAfterTheListWasCleared) {
    TInstall* install = LoadDriver();
    MakeRecord(install);
    WriteRegString(kMachine, kList, "Ocx1", "zero");
    EXPECT_EQ(ErrorOf<IEInstall>([&] { install->FinishAfterRestart(); }),
              "There is an invalid entry for the unfinished install list Ocx1;zero");
    EXPECT_FALSE(fake_.Registry().KeyExists(kMachine, kList));
    EXPECT_EQ(static_cast<TRestartedObject*>(form_->FindComponent("Ocx1"))->Finished, 0);
}

TEST_F(UnfinishedTest, TheRModeWithoutARecordFailsWithTheListMessage) {
    TInstall* install = LoadDriver();
    EXPECT_EQ(ErrorOf<IEInstall>([&] { install->FinishAfterRestart(); }), kNoRecordMessage);
}

TEST_F(UnfinishedTest, ASavedLanguageOutsideTheLanguagesLeavesTheSelection) {
    TInstall* install = LoadDriver();
    MakeRecord(install);
    auto* translator = static_cast<TTranslator*>(form_->FindComponent("Translator1"));
    translator->SetTranslateIntoLanguage(plFrench);
    SaveInstallLanguage(4000);
    install->FinishAfterRestart();
    EXPECT_EQ(translator->TranslateIntoLanguage(), plFrench);
}

} // namespace
} // namespace sw::test
