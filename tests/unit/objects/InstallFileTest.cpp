// Installing files from engine-made archives: what lands where, the replace
// rules, files in use, the progress of a pass and bad input.
#include "FileTestFixture.h"

namespace sw::test {
namespace {

using InstallFileTest = FileTestFixture;

TEST_F(InstallFileTest, AGroupInstallsItsFilesWithTheirSizesAndDatesAndListsThemForTheUninstaller) {
    fake_.Files().SetNow(EncodeFileStamp({2001, 5, 17, 10, 30, 0}));
    TInstallFile* a = AddFile("a.txt", 1000, 'a');
    TInstallFile* b = AddFile("b.txt", 3000, 'b');
    Build();
    EXPECT_EQ(a->CompressedMark(), 2);
    EXPECT_TRUE(Exists(Archive()));
    fake_.Files().SetNow(EncodeFileStamp({2020, 1, 1, 0, 0, 0}));
    group_->Install();
    EXPECT_EQ(Text(a->DestPath()), std::string(1000, 'a'));
    EXPECT_EQ(Text(b->DestPath()), std::string(3000, 'b'));
    EXPECT_EQ(a->DestPath(), install_->GetDestPath() + "\\App\\a.txt");
    EXPECT_EQ(DecodeFileStamp(*fake_.Files().GetFileStamp(b->DestPath())), (FileDateTime{2001, 5, 17, 10, 30, 0}));
    EXPECT_EQ(a->Size(), 1000);
    EXPECT_GT(b->StoredSize(), 0);
    EXPECT_EQ(RegText(std::string(kProductKey) + "\\Files", "Entries"), "2");
    EXPECT_EQ(RegText(std::string(kProductKey) + "\\Files", "File1"), a->DestPath());
    EXPECT_EQ(RegText(std::string(kProductKey) + "\\Files", "File2"), b->DestPath());
}

// The group's status events through a pass, and the percentage of the
// example group of 1000 and 3000 bytes at half of its second file.
TEST_F(InstallFileTest, ProgressCountsFinishedFilesKeptFilesAndTheFileInHand) {
    TInstallFile* a = AddFile("a.txt", 1000);
    TInstallFile* b = AddFile("b.txt", 3000);
    Build();
    std::vector<int32_t> totals;
    group_->OnStatus = TInstallFileStatusEvent(
        "Status", [&](TCustomInstallFile*, int32_t, int32_t total) { totals.push_back(total); });
    int32_t halfway = -1;
    b->OnBeforeInstall = TInstallFileNotifyEvent("Before", [&](TCustomInstallFile* file) {
        TFileStatusParameter status;
        status.BytesDone = 1500;
        TFileStatusList list(file, &status);
        group_->DoInformationEventControl(file, msg::InstallProgress, &list);
        halfway = status.TotalPercentDone;
    });
    group_->Install();
    EXPECT_EQ(halfway, 62) << "2500 of 4000 bytes is 62.5; the half goes to the even neighbour";
    ASSERT_FALSE(totals.empty());
    EXPECT_EQ(totals.back(), 100);
    EXPECT_TRUE(std::find(totals.begin(), totals.end(), 25) != totals.end()) << "a.txt done: 1000 of 4000";

    // A second install keeps both (owNever): each still advances the total.
    a->SetOverwriteMode(TOverwriteType::owNever);
    b->SetOverwriteMode(TOverwriteType::owNever);
    b->OnBeforeInstall = {};
    totals.clear();
    group_->Install();
    EXPECT_EQ(totals, (std::vector<int32_t>{25, 100}));
}

TEST_F(InstallFileTest, AnEmptyPassReportsCompleteInsteadOfFailing) {
    TInstallFile* empty = AddFile("empty.txt", 0);
    Build();
    std::vector<int32_t> totals;
    group_->OnStatus = TInstallFileStatusEvent(
        "Status", [&](TCustomInstallFile*, int32_t, int32_t total) { totals.push_back(total); });
    group_->Install();
    EXPECT_TRUE(Exists(empty->DestPath()));
    ASSERT_FALSE(totals.empty());
    EXPECT_EQ(totals.back(), 100);
}

TEST_F(InstallFileTest, OverwriteModesDecideAgainstAnExistingFile) {
    fake_.Files().SetNow(EncodeFileStamp({2005, 6, 1, 12, 0, 0}));
    TInstallFile* file = AddFile("data.txt", 10, 'n');
    Build();
    group_->ReadInfoFromArchive();
    const std::string dest = file->DestPath();
    struct Case {
        TOverwriteType mode;
        FileDateTime existing;
        bool replaced;
    };
    const FileDateTime older{2001, 1, 1, 0, 0, 0}, same{2005, 6, 1, 12, 0, 0}, newer{2010, 1, 1, 0, 0, 0};
    const Case cases[] = {
        {TOverwriteType::owAlways, newer, true},       {TOverwriteType::owNever, older, false},
        {TOverwriteType::owDate, older, true},         {TOverwriteType::owDate, same, false},
        {TOverwriteType::owDate, newer, false},        {TOverwriteType::owVersionDate, older, true},
        {TOverwriteType::owVersionDate, newer, false},
    };
    fake_.Files().ForceDirectories(ExtractFileDir(dest));
    for (const Case& c : cases) {
        fake_.Files().PutFile(dest, "old");
        fake_.Files().SetFileStamp(dest, EncodeFileStamp(c.existing));
        file->SetOverwriteMode(c.mode);
        group_->Install();
        EXPECT_EQ(Text(dest), c.replaced ? std::string(10, 'n') : "old")
            << "mode " << static_cast<int>(c.mode) << " against " << c.existing.Year;
        EXPECT_EQ(file->Replaced(), c.replaced);
    }
    // Every mode installs a missing file, an unversioned one under owVersion too.
    for (const TOverwriteType mode : {TOverwriteType::owAlways, TOverwriteType::owNever, TOverwriteType::owVersion,
                                      TOverwriteType::owDate, TOverwriteType::owVersionDate}) {
        fake_.Files().DeleteFile(dest);
        file->SetOverwriteMode(mode);
        group_->Install();
        EXPECT_EQ(Text(dest), std::string(10, 'n')) << "mode " << static_cast<int>(mode);
        EXPECT_TRUE(file->Replaced()) << "mode " << static_cast<int>(mode);
    }
}

TEST_F(InstallFileTest, ANewFileAsksAfterItsMissingDestinationOnce) {
    TInstallFile* file = AddFile("new.txt", 10, 'n');
    Build();
    const int before = fake_.Files().MissedFileLookups();
    group_->Install();
    EXPECT_EQ(Text(file->DestPath()), std::string(10, 'n'));
    EXPECT_EQ(fake_.Files().MissedFileLookups() - before, 1);
}

TEST_F(InstallFileTest, AFileInUseOnWindows98WaitsUnderATemporaryNameInWininit) {
    SetInstallRecordKeyPath("\\SOFTWARE\\Pellmoor\\Install\\1");
    TInstallFile* file = AddFile("readme.doc", 20, 'N');
    Build();
    const std::string folder = install_->GetDestPath() + "\\App";
    fake_.Files().ForceDirectories(folder);
    fake_.Files().PutFile(folder + "\\readme.doc", "old");
    fake_.Files().PutFile(folder + "\\readme.1", "someone else's");
    fake_.Files().SetInUse(folder + "\\readme.doc", true);
    group_->Install();
    EXPECT_TRUE(file->LeftForRestart());
    EXPECT_EQ(file->DestName(), "readme.2");
    EXPECT_EQ(Text(folder + "\\readme.doc"), "old");
    EXPECT_EQ(Text(folder + "\\readme.2"), std::string(20, 'N'));
    EXPECT_EQ(Text(folder + "\\readme.1"), "someone else's");
    const std::string inUse = *fake_.Files().ShortPathName(folder + "\\readme.doc");
    EXPECT_EQ(Text("C:\\WINDOWS\\WININIT.INI"),
              "[Rename]\r\n" + inUse + "=" + ExtractFileDir(inUse) + "\\readme.2\r\n");
    EXPECT_TRUE(install_->Reboot);
    // The uninstaller is told the name the file has after the restart.
    EXPECT_EQ(RegText(std::string(kProductKey) + "\\Files", "File1"), folder + "\\readme.doc");
}

TEST_F(InstallFileTest, AFileInUseOnWindowsNTIsMovedAtTheRestart) {
    UseWindowsNT();
    SetInstallRecordKeyPath("\\SOFTWARE\\Pellmoor\\Install\\1");
    TInstallFile* file = AddFile("tool.dll", 20, 'N');
    Build();
    const std::string folder = install_->GetDestPath() + "\\App";
    fake_.Files().ForceDirectories(folder);
    fake_.Files().PutFile(folder + "\\tool.dll", "old");
    fake_.Files().SetInUse(folder + "\\tool.dll", true);
    group_->Install();
    EXPECT_EQ(file->DestName(), "tool.1");
    const std::string inUse = *fake_.Files().ShortPathName(folder + "\\tool.dll");
    ASSERT_EQ(fake_.Files().PendingRenames().size(), 1u);
    EXPECT_EQ(fake_.Files().PendingRenames()[0].first, ExtractFileDir(inUse) + "\\tool.1");
    EXPECT_EQ(fake_.Files().PendingRenames()[0].second, inUse);
    EXPECT_TRUE(install_->Reboot);
    EXPECT_FALSE(Exists("C:\\WINDOWS\\WININIT.INI"));
}

TEST_F(InstallFileTest, WithoutMoveAtRebootABatchFileRunsOnceAtTheRestart) {
    UseWindowsNT();
    SetInstallRecordKeyPath("\\SOFTWARE\\Pellmoor\\Install\\1");
    fake_.Files().FailMoveAtReboot(true);
    AddFile("tool library.dll", 20, 'N');
    Build();
    const std::string folder = install_->GetDestPath() + "\\App";
    fake_.Files().ForceDirectories(folder);
    fake_.Files().PutFile(folder + "\\tool library.dll", "old");
    fake_.Files().SetInUse(folder + "\\tool library.dll", true);
    fake_.Registry().WriteString(RegistryRoot::LocalMachine, kRunOnceKey, "PellmoorBatFile", "taken");
    group_->Install();
    const std::string batch = RegText(kRunOnceKey, "PellmoorBatFile1");
    ASSERT_NE(batch, "<none>");
    EXPECT_EQ(ExtractFileName(batch).substr(0, 3), "bat");
    EXPECT_EQ(batch.substr(batch.size() - 4), ".bat");
    const std::string inUse = *fake_.Files().ShortPathName(folder + "\\tool library.dll");
    ASSERT_NE(ExtractFileName(inUse), "tool library.dll") << "an 8.3 alias";
    // The alias goes with the erased file: the move names the file's own name.
    const std::string dir = ExtractFileDir(inUse);
    const std::string guard = "if exist \"" + dir + "\\tool library.1\" ";
    EXPECT_EQ(Text(batch), guard + "erase \"" + inUse + "\"\r\n" + guard + "move \"" + dir + "\\tool library.1\" \"" +
                               dir + "\\tool library.dll\"\r\n");
    EXPECT_EQ(RegText("\\SOFTWARE\\Pellmoor\\Install\\1\\Unfinished", batch), "1");
    EXPECT_EQ(RegText("\\SOFTWARE\\Pellmoor\\Install\\1\\Unfinished", "File1"), "0")
        << "the file finishes after the restart";
    EXPECT_EQ(install_->UnfinishedCount(), 2);
}

// A server in use replaced by a batch at the restart. Windows promises no
// order for RunOnce commands: the batch's and the run after the restart (-r)
// may each come first.
class BatchReplacementTest : public FileTestFixture {
  protected:
    // A COM server (activeX) registers itself after the restart.
    void InstallOverAFileInUse(bool activeX = true) {
        UseWindowsNT();
        SetInstallRecordKeyPath(install_->FindInstallRecord(true));
        fake_.Files().FailMoveAtReboot(true);
        TInstallFile* file = AddFile("tool.dll", 20, 'N');
        file->SetActiveX(activeX);
        file->SetOverwriteMode(TOverwriteType::owAlways);
        Build();
        dest_ = file->DestPath();
        fake_.Files().ForceDirectories(ExtractFileDir(dest_));
        fake_.Files().PutFile(dest_, "old");
        fake_.Files().SetInUse(dest_, true);
        group_->Install();
        ASSERT_EQ(file->DestName(), "tool.1");
        batch_ = RegText(kRunOnceKey, "PellmoorBatFile");
        ASSERT_TRUE(Exists(batch_));
        ASSERT_EQ(Text(dest_), "old");
        fake_.Processes().AddLibraryFunction(dest_, "DllRegisterServer", 0);
        // Nothing holds the file after the restart.
        fake_.Files().SetInUse(dest_, false);
    }
    // Windows runs the batch's RunOnce command if it is still registered:
    // the value is deleted, then the command runs.
    void WindowsRunsTheBatchCommand() {
        if (!fake_.Registry().ValueExists(RegistryRoot::LocalMachine, kRunOnceKey, "PellmoorBatFile"))
            return;
        fake_.Registry().DeleteValue(RegistryRoot::LocalMachine, kRunOnceKey, "PellmoorBatFile");
        fake_.Processes().RunAndWait("\"" + batch_ + "\"", WindowState::Hidden, 1000);
    }
    void ExpectTheNewServerInPlaceAndRegistered() {
        EXPECT_EQ(Text(dest_), std::string(20, 'N'));
        EXPECT_FALSE(Exists(ChangeFileExt(dest_, ".1")));
        EXPECT_EQ(fake_.Processes().LibraryCalls(), std::vector<std::string>{dest_ + "!DllRegisterServer"});
        EXPECT_FALSE(Exists(batch_)) << "the batch is deleted after the restart";
        EXPECT_EQ(RegText(kRunOnceKey, "PellmoorBatFile"), "<none>");
    }

    std::string dest_;
    std::string batch_;
};

TEST_F(BatchReplacementTest, TheBatchFirstThenTheRunAfterTheRestart) {
    InstallOverAFileInUse();
    WindowsRunsTheBatchCommand();
    EXPECT_EQ(Text(dest_), std::string(20, 'N'));
    install_->FinishAfterRestart();
    ExpectTheNewServerInPlaceAndRegistered();
}

TEST_F(BatchReplacementTest, TheRunAfterTheRestartFirstRunsThePendingBatchItself) {
    InstallOverAFileInUse();
    install_->FinishAfterRestart();
    WindowsRunsTheBatchCommand();
    ExpectTheNewServerInPlaceAndRegistered();
}

TEST_F(BatchReplacementTest, ABatchThatCannotBeRunIsKeptForItsOwnCommand) {
    InstallOverAFileInUse(false);
    fake_.Processes().SetFail(true);
    install_->FinishAfterRestart();
    EXPECT_TRUE(Exists(batch_));
    EXPECT_EQ(RegText(kRunOnceKey, "PellmoorBatFile"), batch_);
    fake_.Processes().SetFail(false);
    WindowsRunsTheBatchCommand();
    EXPECT_EQ(Text(dest_), std::string(20, 'N'));
    EXPECT_FALSE(Exists(ChangeFileExt(dest_, ".1")));
}

TEST_F(InstallFileTest, ACancelledDiskPromptEndsTheInstallAndLeavesNoFile) {
    TInstallFile* file = AddFile("a.txt", 100);
    Build();
    group_->ReadInfoFromArchive();
    fake_.Files().DeleteFile(Archive());
    fake_.Gui().QueueAnswer(id::Cancel);
    EXPECT_EQ(ErrorOf<EAIUserAbort>([&] { group_->Install(); }), "Installation aborted by the user");
    ASSERT_EQ(fake_.Gui().Boxes().size(), 1u);
    EXPECT_EQ(fake_.Gui().Boxes()[0].Text, "Please insert disk #1");
    EXPECT_FALSE(Exists(file->DestPath()));
    EXPECT_EQ(group_->ProcessingState(), TProcessingState::Idle);
}

TEST_F(InstallFileTest, AMissingArchiveWithNoHandlerStopsBeforeAnyFileIsWritten) {
    TInstallFile* file = AddFile("a.txt", 100);
    Build();
    fake_.Files().DeleteFile(Archive());
    fake_.Gui().QueueAnswer(id::Cancel);
    EXPECT_THROW(group_->Install(), Exception);
    EXPECT_FALSE(Exists(file->DestPath()));
}

TEST_F(InstallFileTest, AnEntryMissingFromTheArchiveIsReportedAndNothingIsWritten) {
    TInstallFile* file = AddFile("a.txt", 100);
    Build();
    // A file added after the build has no entry.
    TInstallFile* late = AddFile("late.txt", 5);
    group_->ReadInfoFromArchive();
    EXPECT_FALSE(late->ArchiveInfoRead());
    EXPECT_TRUE(file->ArchiveInfoRead());
    EXPECT_EQ(ErrorOf<Exception>([&] { group_->Install(); }),
              "The file <C:\\Src\\late.txt> was not found in the archive <" + Archive() + ">");
    EXPECT_FALSE(Exists(late->DestPath()));
}

TEST_F(InstallFileTest, ACorruptEntryLeavesNoFileUnderItsName) {
    TInstallFile* file = AddFile("a.txt", 5000, 'q');
    Build();
    group_->ReadInfoFromArchive();
    std::string bytes = Text(Archive());
    for (size_t i = 200; i < 260 && i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    fake_.Files().PutFile(Archive(), bytes);
    MainArchiveEngine().SetCompressedFile("");
    EXPECT_THROW(group_->Install(), Exception);
    EXPECT_FALSE(Exists(file->DestPath()));
}

TEST_F(InstallFileTest, AFullDiskLeavesNoHalfWrittenFile) {
    TInstallFile* file = AddFile("big.txt", 20000, 'z');
    Build();
    fake_.Files().SetFreeSpace('C', 5000);
    EXPECT_THROW(group_->Install(), Exception);
    EXPECT_FALSE(Exists(file->DestPath()));
}

TEST_F(InstallFileTest, ADestinationNameThatLeavesTheFolderIsRefused) {
    TInstallFile* file = AddFile("a.txt", 10);
    Build();
    const std::string outside = install_->GetDestPath() + "\\victim.txt";
    fake_.Files().ForceDirectories(install_->GetDestPath());
    fake_.Files().PutFile(outside, "keep me");
    file->SetDestName("..\\victim.txt");
    EXPECT_EQ(ErrorOf<IECustomInstallFile>([&] { group_->Install(); }),
              "The destination name ..\\victim.txt of File1 does not name a file in its destination directory");
    EXPECT_EQ(Text(outside), "keep me");
}

TEST_F(InstallFileTest, ASkippedFileIsReportedAndNotWritten) {
    TInstallFile* file = AddFile("a.txt", 10);
    Build();
    file->OnBeforeInstall = TInstallFileNotifyEvent("Skip", [](TCustomInstallFile*) { throw EAbort(); });
    std::vector<int32_t> totals;
    group_->OnStatus = TInstallFileStatusEvent(
        "Status", [&](TCustomInstallFile*, int32_t, int32_t total) { totals.push_back(total); });
    group_->Install();
    EXPECT_FALSE(Exists(file->DestPath()));
    EXPECT_EQ(totals, std::vector<int32_t>{100});
}

TEST_F(InstallFileTest, ASkippedFileOverTheUsersOwnIsNotInstalledAnywhere) {
    InstallObjectsState().InstallRunStarted = true;
    TInstallFile* file = AddFile("a.exe", 10);
    file->SetRunAfterInstall(true);
    TInstallFile* kept = AddFile("b.txt", 10);
    Build();
    fake_.Files().ForceDirectories(ExtractFileDir(file->DestPath()));
    fake_.Files().PutFile(file->DestPath(), "the user's");
    file->OnBeforeInstall = TInstallFileNotifyEvent("Skip", [](TCustomInstallFile*) { throw EAbort(); });
    group_->Install();
    EXPECT_EQ(Text(file->DestPath()), "the user's");
    EXPECT_FALSE(file->Processed());
    EXPECT_TRUE(kept->Processed());
    // Neither list names it, so the uninstaller leaves the user's file alone.
    EXPECT_EQ(RegText(std::string(kProductKey) + "\\Files", "Entries"), "1");
    EXPECT_EQ(RegText(std::string(kProductKey) + "\\Files", "File1"), kept->DestPath());
    install_->RunFilesAfterInstall();
    EXPECT_TRUE(fake_.Processes().StartedPrograms().empty());
}

// A dialog of the group: the file name of every status report.
class TStatusRecorder : public TInstallObject {
  public:
    using TInstallObject::TInstallObject;
    int GetObjectKind() const override { return 9000; }
    void HandleInstallMessage(TInstallContainer*, int code, TPersistent* parameter) override {
        if (auto* status = dynamic_cast<TFileStatusParameter*>(parameter); status && code == -998)
            Names.push_back(status->FileName);
    }
    std::vector<std::string> Names;
};

TEST_F(InstallFileTest, StatusNamesTheFileByItsFileNameWhetherExtractedKeptOrSkipped) {
    TInstallFile* extracted = AddFile("a.txt", 10);
    TInstallFile* kept = AddFile("b.txt", 10);
    TInstallFile* skipped = AddFile("c.txt", 10);
    Build();
    fake_.Files().ForceDirectories(ExtractFileDir(kept->DestPath()));
    fake_.Files().PutFile(kept->DestPath(), "old");
    kept->SetOverwriteMode(TOverwriteType::owNever);
    skipped->OnBeforeInstall = TInstallFileNotifyEvent("Skip", [](TCustomInstallFile*) { throw EAbort(); });
    auto* dialog = new TStatusRecorder(form_);
    dialog->SetContainer(group_);
    group_->Install();
    ASSERT_FALSE(dialog->Names.empty());
    EXPECT_EQ(dialog->Names.front(), extracted->FileName());
    EXPECT_EQ(dialog->Names.back(), "c.txt");
    EXPECT_NE(std::find(dialog->Names.begin(), dialog->Names.end(), "b.txt"), dialog->Names.end());
    for (const std::string& name : dialog->Names)
        EXPECT_EQ(name.find('\\'), std::string::npos) << "never the source path: " << name;
}

} // namespace
} // namespace sw::test
