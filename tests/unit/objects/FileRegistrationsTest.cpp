// What installed files register: help files, shared-DLL counters, COM
// servers (now, after a restart, or on the retry list), and the uninstall
// lists; and the settings rule that derives these from a file's name.
#include "FileTestFixture.h"
#include "TestObjects.h"

#include "paths/StandardSpecifiers.h"

namespace sw::test {
namespace {

constexpr const char* kSharedDLLs = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr RegistryRoot kHklm = RegistryRoot::LocalMachine;

using FileRegistrationsTest = FileTestFixture;

TEST_F(FileRegistrationsTest, SharedDllCountersGoUpWithEachInstallAlsoWhenTheFileIsKept) {
    TInstallFile* dll = AddFile("shared.dll", 50);
    dll->SetUpdateDLLCounter(true);
    dll->SetOverwriteMode(TOverwriteType::owNever);
    Build();
    group_->Install();
    EXPECT_EQ(ReadRegIntegerValue(kHklm, kSharedDLLs, dll->DestPath()), 1);
    group_->Install();
    EXPECT_EQ(ReadRegIntegerValue(kHklm, kSharedDLLs, dll->DestPath()), 2) << "kept, still counted";
}

TEST_F(FileRegistrationsTest, ACounterUnderTheShortNameIsContinuedThere) {
    TInstallFile* dll = AddFile("longsharedname.dll", 50);
    dll->SetUpdateDLLCounter(true);
    Build();
    fake_.Files().ForceDirectories(install_->GetDestPath() + "\\App");
    fake_.Files().PutFile(dll->DestPath(), "old");
    const std::string shortName = *fake_.Files().ShortPathName(dll->DestPath());
    ASSERT_NE(shortName, dll->DestPath());
    fake_.Registry().WriteInteger(kHklm, kSharedDLLs, shortName, 4);
    group_->Install();
    EXPECT_EQ(ReadRegIntegerValue(kHklm, kSharedDLLs, shortName), 5);
    EXPECT_FALSE(fake_.Registry().ValueExists(kHklm, kSharedDLLs, dll->DestPath()));
}

TEST_F(FileRegistrationsTest, ACounterThatIsNoNumberStartsAgainWithAMessage) {
    TInstallFile* dll = AddFile("shared.dll", 50);
    dll->SetUpdateDLLCounter(true);
    Build();
    fake_.Registry().WriteString(kHklm, kSharedDLLs, install_->GetDestPath() + "\\App\\shared.dll", "lots");
    auto* dialog = new TTestDialog(form_);
    dialog->SetContainer(dll);
    group_->Install();
    EXPECT_EQ(ReadRegIntegerValue(kHklm, kSharedDLLs, dll->DestPath()), 1);
    EXPECT_EQ(dialog->Texts, std::vector<std::string>{"The shared-DLL counter of " + dll->DestPath() +
                                                 " was not a number; it starts again at 1"});
}

TEST_F(FileRegistrationsTest, HelpFilesAreRegisteredWithTheirFolder) {
    TInstallFile* help = AddFile("manual.cnt", 5);
    EXPECT_TRUE(help->RegisterAsHelp());
    Build();
    group_->Install();
    EXPECT_EQ(RegText("\\SOFTWARE\\Microsoft\\Windows\\Help", "MANUAL.CNT"), install_->GetDestPath() + "\\App");
}

TEST_F(FileRegistrationsTest, ComServersRegisterThemselvesAndAreListedUnderActiveX) {
    TInstallFile* ocx = AddFile("viewer.ocx", 30);
    TInstallFile* exe = AddFile("server.exe", 40);
    exe->SetActiveX(true);
    // Both end up in the system folder, as system-wide DLLs do.
    EXPECT_EQ(ocx->GetDestPath(), "C:\\WINDOWS\\SYSTEM");
    Build();
    fake_.Processes().AddLibraryFunction(ocx->DestPath(), "DllRegisterServer", 0);
    group_->Install();
    ASSERT_EQ(fake_.Processes().LibraryCalls().size(), 1u);
    EXPECT_EQ(fake_.Processes().LibraryCalls()[0], ocx->DestPath() + "!DllRegisterServer");
    EXPECT_EQ(fake_.Processes().LibraryCallFolders()[0], "C:\\WINDOWS\\SYSTEM");
    ASSERT_EQ(fake_.Processes().StartedPrograms().size(), 1u);
    EXPECT_EQ(fake_.Processes().StartedPrograms()[0].CommandLine, exe->DestPath() + " /REGSERVER");
    EXPECT_EQ(fake_.Processes().StartedPrograms()[0].State, WindowState::Hidden);
    const std::string activeX = std::string(kProductKey) + "\\ActiveX";
    EXPECT_EQ(RegText(activeX, "File1"), ocx->DestPath() + ";0");
    EXPECT_EQ(RegText(activeX, "File2"), exe->DestPath() + ";1");
    EXPECT_EQ(RegText(activeX, "Entries"), "2");
    EXPECT_EQ(RegText(std::string(kProductKey) + "\\Files", "Entries"), "<none>");
}

TEST_F(FileRegistrationsTest, AFailedRegistrationRaisesAtOnceOutsideARunAndIsRetriedInOne) {
    TInstallFile* ocx = AddFile("viewer.ocx", 30);
    Build();
    // The installed file is no library.
    EXPECT_EQ(ErrorOf<IECustomInstallFile>([&] { group_->Install(); }),
              "Could not register the ActiveX component, " + ocx->DestPath() + ", because the LoadLibrary(" +
                  ocx->DestPath() + ") procedure returned a value of 0. The file component is File1. The following "
                  "value is the value of the GetLastError function: 193");
    InstallObjectsState().InstallRunStarted = true;
    group_->Install();
    ASSERT_EQ(RetryRegistrationFiles().Count(), 1);
    EXPECT_EQ(RetryRegistrationFiles().Items(0), ocx);

    fake_.Processes().AddLibraryFunction(ocx->DestPath(), "DllMain", 1);
    EXPECT_EQ(ErrorOf<IECustomInstallFile>([&] { ocx->RegisterActiveX(); }),
              "Could not register the ActiveX component, " + ocx->DestPath() +
                  ", because the DllRegisterServer function could not be found. The file component is File1. The "
                  "following value is the value of the GetLastError function: 127");
    fake_.Processes().AddLibraryFunction(ocx->DestPath(), "DllRegisterServer", -2147467259);
    EXPECT_EQ(ErrorOf<IECustomInstallFile>([&] { ocx->RegisterActiveX(); }),
              "Could not register the ActiveX component, " + ocx->DestPath() +
                  ", because the DllRegisterServer function returned a value of -2147467259. The file component is "
                  "File1");
    fake_.Files().DeleteFile(ocx->DestPath());
    EXPECT_EQ(ErrorOf<IECustomInstallFile>([&] { ocx->RegisterActiveX(); }),
              "Cannot compress,copy, or install the following file because it's destination directory is blank. "
              "File is :File1");
}

TEST_F(FileRegistrationsTest, AServerThatCannotBeStartedRaisesTheWinExecMessage) {
    TInstallFile* exe = AddFile("server.exe", 40);
    exe->SetActiveX(true);
    Build();
    fake_.Processes().SetFail(true);
    EXPECT_EQ(ErrorOf<IECustomInstallFile>([&] { group_->Install(); }),
              "Could not register the ActiveX component, " + exe->DestPath() + ", because the WinExec(" +
                  exe->DestPath() + ",SW_HIDE) function returned a value < 32. The file component is File1. The "
                  "following value is the value of the GetLastError function: 2");
}

TEST_F(FileRegistrationsTest, AServerInUseRegistersOnlyAfterTheRestart) {
    SetInstallRecordKeyPath("\\SOFTWARE\\Pellmoor\\Install\\1");
    TInstallFile* ocx = AddFile("viewer.ocx", 30);
    ocx->SetOverwriteMode(TOverwriteType::owAlways);
    Build();
    fake_.Files().PutFile(ocx->DestPath(), "old");
    fake_.Files().SetInUse(ocx->DestPath(), true);
    group_->Install();
    EXPECT_TRUE(fake_.Processes().LibraryCalls().empty());
    EXPECT_EQ(RegText("\\SOFTWARE\\Pellmoor\\Install\\1\\Unfinished", "File1"), "0");
    // After the restart the new file stands under its own name.
    fake_.Files().SetInUse(ocx->DestPath(), false);
    fake_.Files().DeleteFile(ocx->DestPath());
    fake_.Files().MoveFile("C:\\WINDOWS\\SYSTEM\\viewer.1", "C:\\WINDOWS\\SYSTEM\\viewer.ocx");
    ocx->SetDestName("viewer.ocx");
    fake_.Processes().AddLibraryFunction("C:\\WINDOWS\\SYSTEM\\viewer.ocx", "DllRegisterServer", 0);
    ocx->FinishAfterRestart();
    ASSERT_EQ(fake_.Processes().LibraryCalls().size(), 1u);
    EXPECT_EQ(fake_.Processes().LibraryCalls()[0], "C:\\WINDOWS\\SYSTEM\\viewer.ocx!DllRegisterServer");
}

TEST_F(FileRegistrationsTest, ARegistryThatRefusesWritesFailsTheInstallWithItsMessage) {
    TInstallFile* help = AddFile("manual.hlp", 5);
    Build();
    fake_.Registry().FailNextWrites(1);
    EXPECT_EQ(ErrorOf<EIRCannotWriteValue>([&] { group_->Install(); }),
              "Cannot install into registry. Key: \\SOFTWARE\\Microsoft\\Windows\\Help Ident: MANUAL.HLP Value " +
                  install_->GetDestPath() + "\\App");
    EXPECT_EQ(group_->ProcessingState(), TProcessingState::Idle);
    EXPECT_EQ(Text(help->DestPath()), std::string(5, 'x')) << "the file itself is whole";
}

TEST_F(FileRegistrationsTest, TheSettingsRuleFollowsTheFileName) {
    auto* file = new TInstallFile(form_);
    file->SetContainer(group_);
    file->SetFileName("viewer.ocx");
    EXPECT_EQ(file->DestName(), "viewer.ocx");
    EXPECT_TRUE(file->ActiveX());
    EXPECT_EQ(file->FileType(), TInstallFileType::iftSystemWideDLL);
    EXPECT_TRUE(file->UpdateDLLCounter());
    EXPECT_EQ(file->OverwriteMode(), TOverwriteType::owVersionDate);
    EXPECT_EQ(file->DestDirType(), StandardPathSpecifiers().FindByClass<TpsSystem>());
    EXPECT_EQ(file->DestDir(), "");

    auto* app = new TInstallFile(form_);
    app->SetContainer(group_);
    app->SetFileName("tool.dll");
    app->SetFileType(TInstallFileType::iftApplicationSpecificDLL);
    EXPECT_EQ(app->DestDir(), "\\System");
    EXPECT_EQ(app->DestDirType(), StandardPathSpecifiers().FindByClass<TpsMainInstall>());
    EXPECT_EQ(app->OverwriteMode(), TOverwriteType::owVersionDate);
    EXPECT_FALSE(app->UpdateDLLCounter());

    auto* windows = new TInstallFile(form_);
    windows->SetFileName("setup.exe");
    windows->SetDestDirType(StandardPathSpecifiers().FindByClass<TpsWindow>());
    EXPECT_EQ(windows->OverwriteMode(), TOverwriteType::owVersionDate);
    EXPECT_EQ(windows->FileType(), TInstallFileType::iftNormal);
}

TEST_F(FileRegistrationsTest, TheSettingsRuleRefusesDuplicatesAndContainersThatHoldNoFiles) {
    AddFile("a.txt", 1);
    EXPECT_EQ(ErrorOf<IEfcDuplicateFile>([&] { new TInstallFile(form_, group_, "C:\\SRC\\A.TXT"); }),
              "There is already a file with the name :C:\\SRC\\A.TXT");
    auto* other = new TInstallFile(form_);
    other->SetName("Other");
    auto* shortcut = new TTestShortcut(form_);
    EXPECT_EQ(ErrorOf<IECustomInstallFile>([&] { other->SetContainer(shortcut); }),
              "The following TInstallFile component Other requires the Container property to be a component "
              "descended from the TFileContainer component");
}

TEST_F(FileRegistrationsTest, IdentifiersAreTakenLowestFirstAndShareZeroWhenAllAreUsed) {
    auto* first = new TInstallFile(form_);
    EXPECT_EQ(first->UniqueID(), 0);
    std::vector<TInstallFile*> more;
    for (int i = 1; i < 2000; ++i)
        more.push_back(new TInstallFile(form_));
    EXPECT_EQ(more.back()->UniqueID(), 1999);
    auto* extra = new TInstallFile(form_);
    EXPECT_EQ(extra->UniqueID(), 0) << "the 2001st file shares the first's";
    TComponent::Free(more[4]);
    EXPECT_EQ((new TInstallFile(form_))->UniqueID(), 5);
}

} // namespace
} // namespace sw::test
