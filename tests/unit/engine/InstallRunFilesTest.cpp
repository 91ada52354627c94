// The install run with real file components: installing from the files.1
// inside a self-extracting setup, the files run after the install, the
// ActiveX registrations retried at the end, and the remote file list of a
// net distribution.
#include "unit/objects/FileTestFixture.h"

#include "archive/ArchiveFormat.h"
#include "archive/FileList.h"
#include "archive/PlmrCompress.h"
#include "archive/SelfExtract.h"
#include "objects/NetInstallLocation.h"
#include "platform/fake/FakeInternet.h"

namespace sw::test {
namespace {

constexpr std::string_view kNetForm = R"(object Form1: TTestForm
  object Net1: TNetInstallLocation
    LoginInformation.Directory = '/pub/app/'
    LoginInformation.Hostname = 'srv1'
  end
  object Install1: TInstall
    DistributeType = dtTraditionalNet
    NetLocation = Net1
    RunAutomatic = False
  end
end
)";

class InstallRunFilesTest : public EngineFixture {
  protected:
    // The driver of `text`, started with `arguments`.
    void LoadRun(const std::string& arguments, std::string_view text = kBasicForm) {
        SetArguments(arguments);
        form_ = LoadForm(text);
        install_ = static_cast<TInstall*>(form_->FindComponent("Install1"));
        fake_.Files().ForceDirectories("C:\\SRC");
    }
    TInstallFile* AddFile(const std::string& name, const std::string& contents) {
        fake_.Files().PutFile("C:\\SRC\\" + name, contents);
        auto* file = new TInstallFile(form_, install_, "C:\\SRC\\" + name);
        file->SetName("File" + std::to_string(++files_));
        return file;
    }
    // Packs the files into the driver's archive, as a build does.
    void Build() { install_->Compress(coForceNetFilesLocal | coIncludeExcluded); }
    // Runs the install as the form's activation does; errors end it badly.
    void RunInstall() {
        try {
            install_->Install();
        } catch (...) {
            Application().HandleException(std::current_exception());
        }
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const auto& box : fake_.Gui().Boxes())
            texts.push_back(box.Text);
        return texts;
    }
    bool RecordExists() {
        return fake_.Registry().KeyExists(RegistryRoot::LocalMachine, "\\SOFTWARE\\Pellmoor\\Install\\Install0");
    }

    TTestForm* form_ = nullptr;
    TInstall* install_ = nullptr;
    int files_ = 0;
};

TEST_F(InstallRunFilesTest, ASelfExtractingSetupInstallsFromTheFilesInsideIt) {
    LoadRun(R"("-sC:\DIST" -eSETUP.EXE -c)");
    TInstallFile* readme = AddFile("README.TXT", std::string(5000, 'r'));
    TInstallFile* data = AddFile("DATA.BIN", std::string(300, 'd'));
    // files.1 and setup.1 as the build writes them, joined to a loading program.
    for (auto [archive, source] : {std::pair{"C:\\BUILD\\files.1", "C:\\SRC\\README.TXT"},
                                   std::pair{"C:\\BUILD\\files.1", "C:\\SRC\\DATA.BIN"},
                                   std::pair{"C:\\BUILD\\setup.1", "C:\\SRC\\DATA.BIN"}}) {
        TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
        engine->SetCompressedFile(archive);
        engine->SetFilesToProcess({source});
        const bool files1 = std::string(archive) == "C:\\BUILD\\files.1";
        engine->AddFiles(TlzhCommand::lzcOnlyAdd,
                         files1 ? (std::string(source) == "C:\\SRC\\README.TXT" ? readme : data)->UniqueID() : 0);
    }
    fake_.Files().ForceDirectories("C:\\DIST");
    fake_.Files().PutFile("C:\\DIST\\SETUP.EXE", std::string(4000, 'L'));
    JoinSelfExtractingSetup("C:\\DIST\\SETUP.EXE", "C:\\BUILD\\setup.1", "C:\\BUILD\\files.1");
    fake_.Files().DeleteFile("C:\\SRC\\README.TXT");
    fake_.Files().DeleteFile("C:\\SRC\\DATA.BIN");

    RunInstall();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_EQ(fake_.Files().FileText(readme->DestPath()), std::string(5000, 'r'));
    EXPECT_EQ(fake_.Files().FileText(data->DestPath()), std::string(300, 'd'));
    EXPECT_FALSE(RecordExists());
}

TEST_F(InstallRunFilesTest, ADamagedSelfExtractingSetupEndsTheRunBadly) {
    LoadRun(R"("-sC:\DIST" -eSETUP.EXE)");
    fake_.Files().ForceDirectories("C:\\DIST");
    fake_.Files().PutFile("C:\\DIST\\SETUP.EXE", "short");
    RunInstall();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Could not read the extraction info from the archive file "
                                                   "C:\\DIST\\SETUP.EXE when trying to find the correct offset "
                                                   "into the self extracting file"});
    EXPECT_TRUE(RecordExists());
}

TEST_F(InstallRunFilesTest, FilesMarkedToRunAreStartedAfterTheGoodEndUnlessTheHandlerDeclines) {
    LoadRun(R"("-sC:\DIST")");
    install_->SetDestDir("\\My Tool");
    TInstallFile* tool = AddFile("TOOL.EXE", "tool");
    TInstallFile* notes = AddFile("NOTES.EXE", "notes");
    AddFile("PLAIN.EXE", "plain");
    tool->SetRunAfterInstall(true);
    notes->SetRunAfterInstall(true);
    Build();
    std::vector<std::string> asked;
    bool recordAtStart = true;
    install_->OnBeforeRunFile =
        TBeforeRunFileEvent("", [&](TCustomInstall*, TCustomInstallFile* file, bool& defaultAction) {
            asked.push_back(file->Name());
            recordAtStart = RecordExists();
            defaultAction = file != notes;
        });
    RunInstall();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_EQ(asked, (std::vector<std::string>{"File1", "File2"}));
    EXPECT_FALSE(recordAtStart);
    ASSERT_EQ(fake_.Processes().StartedPrograms().size(), 1u);
    EXPECT_EQ(fake_.Processes().StartedPrograms()[0].CommandLine,
              "\"C:\\Program Files\\My Tool\\TOOL.EXE\"");
    EXPECT_EQ(fake_.Processes().StartedPrograms()[0].State, WindowState::Normal);
}

TEST_F(InstallRunFilesTest, AFailedRegistrationIsRetriedAfterEveryFileIsInPlace) {
    LoadRun(R"("-sC:\DIST")");
    TInstallFile* ocx = AddFile("VIEWER.OCX", "not yet a library");
    ocx->SetActiveX(true);
    TInstallFile* later = AddFile("LATER.TXT", "installed after the failure");
    Build();
    // The library becomes loadable once everything is installed.
    later->OnAfterInstall = TInstallFileNotifyEvent(
        "", [&](TCustomInstallFile*) { fake_.Processes().AddLibraryFunction(ocx->DestPath(), "DllRegisterServer", 0); });
    RunInstall();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_EQ(fake_.Processes().LibraryCalls(), std::vector<std::string>{ocx->DestPath() + "!DllRegisterServer"});
    EXPECT_FALSE(RecordExists());
}

TEST_F(InstallRunFilesTest, ARegistrationThatFailsAgainAtTheEndEndsTheRunBadly) {
    LoadRun(R"("-sC:\DIST")");
    TInstallFile* ocx = AddFile("VIEWER.OCX", "never a library");
    ocx->SetActiveX(true);
    TInstallFile* later = AddFile("LATER.TXT", "installed after the failure");
    Build();
    RunInstall();
    EXPECT_EQ(fake_.Files().FileText(later->DestPath()), "installed after the failure");
    ASSERT_EQ(fake_.Gui().Boxes().size(), 1u);
    EXPECT_EQ(fake_.Gui().Boxes()[0].Text.rfind("Could not register the ActiveX component, " + ocx->DestPath(), 0),
              0u);
    EXPECT_TRUE(RecordExists());
}

class RemoteFileListTest : public InstallRunFilesTest {
  protected:
    void SetUp() override {
        InstallRunFilesTest::SetUp();
        LoadRun(R"("-sC:\DIST")", kNetForm);
        readme_ = AddFile("README.TXT", std::string(100, 'r'));
        readme_->SetName("Readme");
        Build();
    }
    void Serve(const std::string& bytes) { fake_.Internet().AddServer("srv1").AddFile("/pub/app/filelist.lst", bytes); }
    std::string ListBytes(const std::vector<TFileListEntry>& entries) {
        {
            std::unique_ptr<IFile> file = fake_.Files().OpenFile("C:\\list.lst", FileMode::Create);
            WriteFileList(*file, entries);
        }
        return fake_.Files().FileText("C:\\list.lst");
    }
    std::vector<std::string> TempFiles() {
        std::vector<std::string> names;
        for (const auto& entry : fake_.Files().ListDirectory("C:\\WINDOWS\\TEMP", "*.*"))
            names.push_back(entry.Name);
        return names;
    }

    TInstallFile* readme_ = nullptr;
};

TEST_F(RemoteFileListTest, TheListGivesTheNamedFilesTheirSizeDateAndVersion) {
    Serve(ListBytes({{777, 45000.5, "Other", "1.0"}, {4242, 44000.25, "README", "2.5.1"}}));
    install_->ReadInfoFromArchive();
    EXPECT_EQ(readme_->Size(), 4242);
    EXPECT_EQ(readme_->Date(), 44000.25);
    EXPECT_EQ(readme_->Version(), "2.5.1");
    EXPECT_EQ(TempFiles(), std::vector<std::string>{});
}

TEST_F(RemoteFileListTest, AListThatCannotBeReadInFullFailsAndIsDeleted) {
    std::string bytes = ListBytes({{1, 1.0, "Readme", ""}});
    Serve(bytes.substr(0, bytes.size() - 10));
    const std::string error = ErrorOf<IEInstall>([&] { install_->ReadInfoFromArchive(); });
    const std::string prefix = "Cannot read the remote list of files: ";
    ASSERT_EQ(error.rfind(prefix, 0), 0u) << error;
    EXPECT_FALSE(fake_.Files().FileExists(error.substr(prefix.size())));
    EXPECT_EQ(TempFiles(), std::vector<std::string>{});
    EXPECT_EQ(readme_->Size(), 100);
}

TEST_F(RemoteFileListTest, AListMissingOnTheServerFailsTheReading) {
    fake_.Internet().AddServer("srv1");
    EXPECT_THROW(install_->ReadInfoFromArchive(), Exception);
    EXPECT_EQ(TempFiles(), std::vector<std::string>{});
}

} // namespace
} // namespace sw::test
