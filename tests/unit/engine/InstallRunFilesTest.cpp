// The install run with real file components: installing from the files.1
// inside a self-extracting setup, the files run after the install, the
// ActiveX registrations retried at the end, the remote file list of a net
// distribution, and a web distribution installed from its server.
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

constexpr std::string_view kWebForm = R"(object Form1: TTestForm
  object Net1: TNetInstallLocation
    LoginInformation.Directory = '/pub/app/'
    LoginInformation.Hostname = 'srv1'
  end
  object Install1: TInstall
    DistributeType = dtWeb
    NetLocation = Net1
    RunAutomatic = False
    UseLoadingProgram = False
  end
end
)";

// A web distribution built with the project's files and served by srv1.
class WebInstallTest : public InstallRunFilesTest {
  protected:
    void SetUp() override {
        InstallRunFilesTest::SetUp();
        LoadRun(R"("-sC:\SETUP")", kWebForm);
        install_->SetDestDir("\\Web Product");
        // Bytes that do not compress, so that each archive takes several blocks.
        std::string data(40000, '\0');
        uint32_t x = 1;
        for (char& c : data)
            c = static_cast<char>((x = x * 1103515245 + 12345) >> 24);
        fake_.Files().PutFile("C:\\SRC\\FIRST.BIN", data);
        second_data_ = data.substr(0, 30000);
        fake_.Files().PutFile("C:\\SRC\\SECOND.BIN", second_data_);
        AddProjectFiles();
        install_->Build("C:\\SETUP\\SETUP.EXE", "C:\\BUILD", false);
        StartAgain();
        fake::FakeInternet::Server& server = fake_.Internet().AddServer("srv1");
        for (const auto& entry : fake_.Files().ListDirectory(kNetFolder, "*.*"))
            server.AddFile("/pub/app/" + entry.Name, fake_.Files().FileText(kNetFolder + entry.Name));
        fake_.Files().DeleteFile("C:\\SRC\\FIRST.BIN");
        fake_.Files().DeleteFile("C:\\SRC\\SECOND.BIN");
    }
    // A new start of the setup program, after the build or a run.
    void StartAgain() {
        FreeRoots();
        LoadRun(R"("-sC:\SETUP")", kWebForm);
        install_->SetDestDir("\\Web Product");
        AddProjectFiles();
        location_ = static_cast<TCustomNetInstallLocation*>(form_->FindComponent("Net1"));
        location_->OnAfterDownload = TNotifyWithAbortFlag("", [this](TPersistent*, bool& aborted) {
            downloads_.push_back(location_->RemoteName() + (aborted ? " aborted" : ""));
        });
    }
    // The project's two files; the second downloads its own archive.
    void AddProjectFiles() {
        first_ = new TInstallFile(form_, install_, "C:\\SRC\\FIRST.BIN");
        first_->SetName("First");
        second_ = new TInstallFile(form_, install_, "C:\\SRC\\SECOND.BIN");
        second_->SetName("Second");
        second_->SetOverwriteMode(TOverwriteType::owVersionDate);
    }
    bool Installed(TInstallFile* file) { return fake_.Files().FileExists(file->DestPath()); }
    std::vector<std::string> Requests() { return fake_.Internet().Recorded().Objects; }
    // Downloaded archives left in the temporary folder.
    size_t LocalCopies() { return fake_.Files().ListDirectory("C:\\WINDOWS\\TEMP", "*.1").size(); }

    static inline const std::string kNetFolder = "C:\\BUILD\\srv1\\-pub-app-\\";
    TInstallFile* first_ = nullptr;
    TInstallFile* second_ = nullptr;
    std::string second_data_;
    TCustomNetInstallLocation* location_ = nullptr;
    std::vector<std::string> downloads_;
};

TEST_F(WebInstallTest, InstallsFromTheServerAlone) {
    RunInstall();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_TRUE(Installed(first_));
    EXPECT_TRUE(Installed(second_));
    EXPECT_EQ(downloads_, (std::vector<std::string>{"filelist.lst", "Install1.1", "Second.1"}));
    EXPECT_FALSE(RecordExists());
    EXPECT_EQ(LocalCopies(), 0u);
}

TEST_F(WebInstallTest, ASecondRunAfterACutTransferFetchesOnlyWhatIsMissing) {
    fake::FakeInternet::Server& server = fake_.Internet().AddServer("srv1");
    const std::string second = fake_.Files().FileText(kNetFolder + "Second.1");
    server.AddFile("/pub/app/Second.1", second).CutAfter = second.size() / 2;
    RunInstall();
    ASSERT_EQ(fake_.Gui().Boxes().size(), 1u);
    EXPECT_TRUE(Installed(first_));
    EXPECT_FALSE(Installed(second_));
    EXPECT_TRUE(RecordExists());
    EXPECT_EQ(LocalCopies(), 1u) << "the complete archive is kept, the cut one is not";

    // The second run: a new start of the same setup program, the server whole again.
    fake_.Files().DeleteFile(first_->DestPath());
    server.AddFile("/pub/app/Second.1", second).CutAfter.reset();
    const size_t requests = Requests().size();
    StartAgain();
    RunInstall();
    EXPECT_EQ(fake_.Gui().Boxes().size(), 1u) << "no box besides the first run's";
    const std::vector<std::string> all = Requests();
    EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<ptrdiff_t>(requests), all.end()),
              (std::vector<std::string>{"GET /pub/app/filelist.lst", "GET /pub/app/Second.1"}));
    EXPECT_TRUE(Installed(first_));
    EXPECT_EQ(fake_.Files().FileText(second_->DestPath()), second_data_);
    EXPECT_FALSE(RecordExists());
    EXPECT_EQ(LocalCopies(), 0u);
}

TEST_F(WebInstallTest, CancellingADownloadEndsTheRunQuietlyAfterTheBlockInHand) {
    int blocks = 0;
    location_->OnDataReceived =
        TDataReceivedEvent("", [&](TPersistent*, const std::string& name, int32_t, int32_t, int32_t, const char*) {
            if (name == "Install1.1") {
                ++blocks;
                SetDownloadAbort(true);
            }
        });
    RunInstall();
    EXPECT_EQ(blocks, 1);
    EXPECT_EQ(downloads_, (std::vector<std::string>{"filelist.lst", "Install1.1 aborted"}));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{}) << "a cancel is the user's, not an error";
    EXPECT_FALSE(Installed(first_));
    EXPECT_FALSE(Installed(second_));
    EXPECT_FALSE(RecordExists());
    EXPECT_EQ(LocalCopies(), 0u);
}

} // namespace
} // namespace sw::test
