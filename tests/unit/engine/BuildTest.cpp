// The build mode: BUILD.INF, the loading program found through the library
// search path, setup.1, the archive settings kept around the compress pass,
// the self-extracting setup and the file list. A test driver stands in for
// the groups' compress pass, which writes files.1.
#include "support/EngineFixture.h"

#include "archive/ArchiveFormat.h"
#include "archive/FileList.h"
#include "archive/CompressAhead.h"
#include "archive/MainArchiveEngine.h"
#include "archive/PlmrCompress.h"
#include "engine/InstallerTool.h"
#include "objects/InstallFile.h"
#include "paths/StandardSpecifiers.h"
#include "project/ClassRegistry.h"
#include "support/ErrorOf.h"
#include "system/InstallErrors.h"
#include "system/RegistryHelpers.h"

#include <cstring>

namespace sw::test {
namespace {

const std::string kLoader = std::string(3000, 'L');

// Records what the compress pass saw and writes files.1 where the driver's
// archive points, as the groups' pass would.
class TBuildInstall : public TInstall {
    SW_DECLARE_CLASS()
  public:
    using TInstall::TInstall;
    void Compress(uint32_t options) override {
        Options.push_back(options);
        TypeDuringCompress = ArchiveFileType();
        FileDuringCompress = ArchiveFile();
        if (FailCompress)
            throw IEInstall("compress failed");
        TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
        engine->SetCompressedFile(ArchiveFile());
        engine->SetFilesToProcess({"C:\\SRC\\PRODUCT.DAT"});
        engine->AddFiles(TlzhCommand::lzcOverwrite, 0);
    }
    std::vector<uint32_t> Options;
    TCustomPathSpecifier* TypeDuringCompress = nullptr;
    std::string FileDuringCompress;
    bool FailCompress = false;
};
SW_CLASS_INFO(TBuildInstall, TInstall)

uint32_t Le32(const std::string& bytes, size_t at) {
    uint32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

class BuildTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        RegisterClass<TBuildInstall>();
        fake_.Files().ForceDirectories("C:\\TOOLS");
        fake_.Files().ForceDirectories("C:\\SRC");
        fake_.Files().PutFile("C:\\SRC\\PRODUCT.DAT", std::string(20000, 'p'));
    }
    void RegisterTools(const std::string& searchPath = "C:\\NOTHERE;C:\\TOOLS\\") {
        WriteRegString(RegistryRoot::CurrentUser, kLibrarySearchPathKey, kLibrarySearchPathValue, searchPath);
        fake_.Files().PutFile("C:\\TOOLS\\M41R08.TXT", "");
        fake_.Files().PutFile("C:\\TOOLS\\PellmoorLoadProgram.exe", kLoader);
    }
    // A driver, with a net location of that distribute type when one is given.
    TBuildInstall* LoadDriver(const std::string& netType = "") {
        const std::string net = "  object Net1: TNetInstallLocation\n"
                                "    LoginInformation.Directory = '/pub/app/'\n"
                                "    LoginInformation.Hostname = 'Srv1'\n"
                                "  end\n";
        TComponent* form =
            Load("object Form1: TTestForm\n" + (netType.empty() ? "" : net) + "  object Install1: TBuildInstall\n" +
                 (netType.empty() ? "" : "    DistributeType = " + netType + "\n    NetLocation = Net1\n") +
                 "    RunAutomatic = False\n  end\nend\n");
        return static_cast<TBuildInstall*>(form->FindComponent("Install1"));
    }
    // The message of the error the build ends with; "built" when none.
    std::string Build(TBuildInstall& install) {
        try {
            install.BuildFromBuildInf();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "built";
    }
    std::vector<std::string> EntriesOf(const std::string& archive, int32_t offset = 0) {
        TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
        engine->Offset = offset;
        engine->SetCompressedFile(archive);
        std::vector<std::string> names;
        for (int i = 0; i < engine->FileCount(); ++i)
            names.push_back(engine->Headers().GetFileHeaders(i).SourcePath());
        return names;
    }
    std::string Get(const std::string& path) { return fake_.Files().FileText(path); }
    const std::vector<fake::FakeGui::Box>& Boxes() { return fake_.Gui().Boxes(); }
};

TEST_F(BuildTest, BuildInfMustBeBesideTheProgramAndHoldALine) {
    SetArguments("-b");
    Load(kBasicForm);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text,
              "Need to have a BUILD.INF file in this directory with the first line specifying the build directory");
    EXPECT_TRUE(Application().Terminated());
    FreeRoots();

    SetArguments("");
    fake_.Files().PutFile("C:\\SETUP\\BUILD.INF", "");
    TBuildInstall* install = LoadDriver();
    EXPECT_EQ(Build(*install), "Must be 1 line in BUILD.INF. This line should specify the build directory");
}

TEST_F(BuildTest, TheLoadingProgramIsFoundThroughTheLibrarySearchPath) {
    fake_.Files().PutFile("C:\\SETUP\\BUILD.INF", "C:\\OUT\r\nignored\r\n");
    TBuildInstall* install = LoadDriver();
    const std::string notRegistered = "The HKEY_LOCAL_MACHINE | \\Software\\Norvale\\M41R08 key in the registry is "
                                      "either missing or points to an invalid Pellmoor directory";
    EXPECT_EQ(Build(*install), notRegistered);
    // setup.1 comes first, whatever follows.
    EXPECT_EQ(EntriesOf("C:\\OUT\\setup.1"), std::vector<std::string>{"C:\\SETUP\\SETUP.EXE"});

    WriteRegString(RegistryRoot::CurrentUser, kLibrarySearchPathKey, kLibrarySearchPathValue, "C:\\NOTHERE;C:\\SRC");
    EXPECT_EQ(Build(*install), notRegistered);

    fake_.Files().PutFile("C:\\TOOLS\\M41R08.TXT", "");
    WriteRegString(RegistryRoot::CurrentUser, kLibrarySearchPathKey, kLibrarySearchPathValue, "C:\\SRC; C:\\TOOLS\\");
    EXPECT_EQ(Build(*install), "The loader program C:\\TOOLS\\PellmoorLoadProgram.exe was not found");

    RegisterTools();
    fake_.Files().PutFile("C:\\OUT\\setup.exe", "old");
    fake_.Files().SetAttributes("C:\\OUT\\setup.exe", attr::ReadOnly);
    EXPECT_EQ(Build(*install),
              "Cannot copy the loading program from C:\\TOOLS\\PellmoorLoadProgram.exe to C:\\OUT\\setup.exe");
}

TEST_F(BuildTest, StandAloneBuildJoinsLoaderSetup1AndFiles1) {
    RegisterTools();
    fake_.Files().PutFile("C:\\SETUP\\BUILD.INF", "C:\\OUT\n");
    fake_.Files().PutFile("C:\\SRC\\A.DLL", "a");
    fake_.Files().PutFile("C:\\SRC\\B.TXT", "b");
    TBuildInstall* install = LoadDriver();
    install->AddPresetupFile("C:\\SRC\\A.DLL", true);
    install->AddPresetupFile("C:\\SRC\\B.TXT", true);
    TCustomPathSpecifier* mainArchive = StandardPathSpecifiers().FindByClass<TpsMainArchiveFile>();
    ASSERT_EQ(install->ArchiveFileType(), mainArchive);

    EXPECT_EQ(Build(*install), "built");
    EXPECT_EQ(install->Options, std::vector<uint32_t>{46});
    EXPECT_EQ(install->TypeDuringCompress, nullptr);
    EXPECT_EQ(install->FileDuringCompress, "C:\\OUT\\files.1");
    EXPECT_EQ(install->ArchiveFileType(), mainArchive);
    EXPECT_EQ(install->ArchiveFile(), "");

    const std::string setup1 = Get("C:\\OUT\\setup.1"), files1 = Get("C:\\OUT\\files.1");
    EXPECT_EQ(EntriesOf("C:\\OUT\\setup.1"),
              (std::vector<std::string>{"C:\\SETUP\\SETUP.EXE", "C:\\SRC\\A.DLL", "C:\\SRC\\B.TXT"}));
    const std::string exe = Get("C:\\OUT\\setup.exe");
    const size_t l = kLoader.size(), s = setup1.size(), f = files1.size();
    ASSERT_EQ(exe.size(), l + s + f + 56);
    EXPECT_EQ(exe.substr(0, l), kLoader);
    EXPECT_EQ(exe.substr(l, s), setup1);
    EXPECT_EQ(exe.substr(l + s, f), files1);
    EXPECT_EQ(Le32(exe, l + s + f + 16), l);
    EXPECT_EQ(Le32(exe, l + s + f + 20), l + s - 1);
    EXPECT_EQ(Le32(exe, l + s + f + 24), l + s);
    EXPECT_EQ(Le32(exe, l + s + f + 28), l + s + f - 1);
    EXPECT_EQ(EntriesOf("C:\\OUT\\setup.exe", int32_t(l + s)), std::vector<std::string>{"C:\\SRC\\PRODUCT.DAT"});
}

TEST_F(BuildTest, TheArchiveSettingsComeBackWhenTheCompressPassFails) {
    RegisterTools();
    fake_.Files().PutFile("C:\\SETUP\\BUILD.INF", "C:\\OUT");
    TBuildInstall* install = LoadDriver();
    install->FailCompress = true;
    EXPECT_EQ(Build(*install), "compress failed");
    EXPECT_EQ(install->ArchiveFileType(), StandardPathSpecifiers().FindByClass<TpsMainArchiveFile>());
    // No self-extracting setup passes for complete: setup.exe is the bare loader.
    EXPECT_EQ(Get("C:\\OUT\\setup.exe"), kLoader);
}

TEST_F(BuildTest, TheBuildModeRunsTheGroupsCompressPassToTheEnd) {
    RegisterTools();
    fake_.Files().PutFile("C:\\SETUP\\BUILD.INF", "C:\\OUT");
    SetArguments("-b");
    Load(kBasicForm);
    for (const auto& box : Boxes())
        ADD_FAILURE() << box.Text;
    EXPECT_TRUE(fake_.Files().FileExists("C:\\OUT\\setup.exe"));
    EXPECT_TRUE(fake_.Files().FileExists("C:\\OUT\\setup.1"));
}

TEST_F(BuildTest, AFileGroupWithoutFilesStopsTheBuildBeforeAnythingIsWritten) {
    RegisterTools();
    const std::string docs = "  object Docs: TInstallFileGroup\n    Container = Install1\n  end\n";
    const std::string samples = "  object Samples: TInstallFileGroup\n    Container = Docs\n  end\n";
    const auto file = [](const std::string& container) {
        return "  object Sample: TInstallFile\n    Container = " + container + "\n    FileName = 'S.TXT'\n  end\n";
    };
    const auto noFiles = [](const std::string& group) {
        return "The file group " + group + " has no files: set the Container of a file to it, or remove it";
    };
    const struct {
        std::string objects, result;
    } cases[] = {
        {docs + samples + file("Samples"), "built"},  // files only in a sub-group
        {docs + file("Install1"), noFiles("Docs")},
        {docs + samples + file("Docs"), noFiles("Samples")},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.objects);
        const std::string out = "C:\\OUT" + std::to_string(++n);
        fake_.Files().PutFile("C:\\SETUP\\BUILD.INF", out);
        TComponent* form = Load("object Form1: TTestForm\n  object Install1: TBuildInstall\n"
                                "    RunAutomatic = False\n  end\n" + c.objects + "end\n");
        EXPECT_EQ(Build(*static_cast<TBuildInstall*>(form->FindComponent("Install1"))), c.result);
        EXPECT_EQ(fake_.Files().FileExists(out + "\\setup.1"), c.result == "built");
        FreeRoots();
    }
}

TEST_F(BuildTest, AnEmptyFirstLineBuildsInTheCurrentFolder) {
    RegisterTools();
    fake_.Files().PutFile("C:\\SETUP\\BUILD.INF", "\r\n");
    fake_.Files().ForceDirectories("C:\\HERE");
    fake_.Files().SetCurrentDirectory("C:\\HERE");
    TBuildInstall* install = LoadDriver();
    EXPECT_EQ(Build(*install), "built");
    EXPECT_EQ(install->FileDuringCompress, "files.1");
    EXPECT_TRUE(fake_.Files().FileExists("C:\\HERE\\setup.exe"));
    EXPECT_TRUE(fake_.Files().FileExists("C:\\HERE\\setup.1"));
}

TEST_F(BuildTest, AFullDiskWhileWritingSetup1GetsItsOwnMessage) {
    RegisterTools();
    fake_.Files().AddDrive('D');
    // Room for the archive's table, not for the program's data.
    std::string program(50000, '\0');
    uint32_t x = 1;
    for (char& c : program)
        c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
    fake_.Files().PutFile("C:\\SETUP\\SETUP.EXE", program);
    fake_.Files().SetFreeSpace('D', 5000);
    fake_.Files().PutFile("C:\\SETUP\\BUILD.INF", "D:");
    TBuildInstall* install = LoadDriver();
    EXPECT_EQ(Build(*install),
              "The disk that you have specified has been determined to be either too full or is corrupt while trying "
              "to copy the SETUP.1 archive file. You should probably clear all files off of the drive. Minimally, "
              "you should leave enough space on the drive for the SETUP.1 archive file.");
}

TEST_F(BuildTest, WithoutTheLoadingProgramTheProgramIsCopiedAndNoStandAloneIsBuilt) {
    fake_.Files().PutFile("C:\\SETUP\\BUILD.INF", "C:\\OUT");
    TBuildInstall* install = LoadDriver();
    install->SetUseLoadingProgram(false);
    EXPECT_EQ(Build(*install), "Cannot build a stand alone executable if the UseLoadingProgram property of the "
                               "TInstall is set to False");
    install->Build("C:\\SETUP\\SETUP.EXE", "C:\\OUT\\DEEP\\ER", false);
    EXPECT_EQ(Get("C:\\OUT\\DEEP\\ER\\SETUP.EXE"), Get("C:\\SETUP\\SETUP.EXE"));
    EXPECT_TRUE(fake_.Files().FileExists("C:\\OUT\\DEEP\\ER\\files.1"));
    EXPECT_FALSE(fake_.Files().FileExists("C:\\OUT\\DEEP\\ER\\setup.1"));
    EXPECT_EQ(ErrorOf<IEInstall>([&] { install->Build("C:\\SETUP\\NONE.EXE", "C:\\OUT", false); }),
              "Cannot copy the installation application from C:\\SETUP\\NONE.EXE to C:\\OUT\\NONE.EXE");
}

TEST_F(BuildTest, TheSetupArchiveNeedsAnExecutable) {
    TBuildInstall* install = LoadDriver();
    EXPECT_EQ(ErrorOf<IEInstall>([&] { install->CreateSetupArchive("C:\\OUT", "  "); }),
              "Cannot create setup file. Executable is blank");
    EXPECT_EQ(ErrorOf<IEInstall>([&] { install->CreateSetupArchive("C:\\OUT", "C:\\SETUP\\NONE.EXE"); }),
              "TInstall: Cannot find the executable file C:\\SETUP\\NONE.EXE");
}

TEST_F(BuildTest, NetBuildsWriteTheFileListInTheNetFolder) {
    RegisterTools();
    fake_.Files().PutFile("C:\\SETUP\\BUILD.INF", "C:\\OUT");
    for (auto [type, options] : {std::pair{"dtWeb", 54u}, std::pair{"dtTraditionalNet", 38u}}) {
        fake_.Files().DeleteFile("C:\\OUT\\Srv1\\-pub-app-\\filelist.lst");
        TBuildInstall* install = LoadDriver(type);
        EXPECT_EQ(Build(*install), "built");
        EXPECT_EQ(install->Options, std::vector<uint32_t>{options});
        // No file components: an empty list.
        EXPECT_EQ(Get("C:\\OUT\\Srv1\\-pub-app-\\filelist.lst"), std::string(4, '\0')) << type;
        FreeRoots();
    }
}

TEST_F(BuildTest, TheFileListHoldsTheFilesPackedInThisBuild) {
    RegisterTools();
    fake_.Files().PutFile("C:\\SETUP\\BUILD.INF", "C:\\OUT");
    fake_.Files().PutFile("C:\\SRC\\README.TXT", std::string(1234, 'r'));
    fake_.Files().PutFile("C:\\SRC\\LEFT.TXT", "left out");
    TComponent* form = Load("object Form1: TTestForm\n"
                            "  object Net1: TNetInstallLocation\n"
                            "    LoginInformation.Directory = '/pub/app/'\n"
                            "    LoginInformation.Hostname = 'Srv1'\n"
                            "  end\n"
                            "  object Install1: TInstall\n"
                            "    DistributeType = dtTraditionalNet\n"
                            "    NetLocation = Net1\n"
                            "    RunAutomatic = False\n"
                            "  end\n"
                            "end\n");
    auto* install = static_cast<TInstall*>(form->FindComponent("Install1"));
    (new TInstallFile(form, install, "C:\\SRC\\README.TXT"))->SetName("Readme");
    auto* left = new TInstallFile(form, install, "C:\\SRC\\LEFT.TXT");
    left->SetName("Left");
    const std::string list = "C:\\OUT\\Srv1\\-pub-app-\\filelist.lst";
    auto readList = [&] {
        std::unique_ptr<IFile> file = fake_.Files().OpenFile(list, FileMode::Read);
        return ReadFileList(*file, list);
    };

    install->BuildFromBuildInf();
    std::vector<TFileListEntry> entries = readList();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Name, "Readme");
    EXPECT_EQ(entries[0].SourceSize, 1234);
    EXPECT_EQ(entries[1].Name, "Left");
    EXPECT_EQ(EntriesOf("C:\\OUT\\files.1"), (std::vector<std::string>{"C:\\SRC\\README.TXT", "C:\\SRC\\LEFT.TXT"}));

    // A file that the next build does not pack loses the mark of the last one.
    left->SetContainer(nullptr);
    install->BuildFromBuildInf();
    entries = readList();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Name, "Readme");
}

TEST_F(BuildTest, AFileAHandlerChangesDuringTheBuildIsPackedAsItIsWhenItsTurnComes) {
    RegisterTools();
    fake_.Files().PutFile("C:\\SETUP\\BUILD.INF", "C:\\OUT");
    TComponent* form = Load("object Form1: TTestForm\n"
                            "  object Install1: TInstall\n"
                            "    RunAutomatic = False\n"
                            "  end\n"
                            "end\n");
    auto* install = static_cast<TInstall*>(form->FindComponent("Install1"));
    std::vector<TInstallFile*> items;
    for (int i = 0; i < 6; ++i) {
        const std::string path = "C:\\SRC\\P" + std::to_string(i) + ".DAT";
        fake_.Files().PutFile(path, std::string(70000 + 1000 * i, static_cast<char>('a' + i)));
        items.push_back(new TInstallFile(form, install, path));
        items.back()->SetName("P" + std::to_string(i));
    }
    // The second file's handler rewrites the fourth (same length) and the
    // fifth, after the first was packed.
    items[1]->OnBeforeCompress = {"", [&](TCustomInstallFile*) {
                                      fake_.Files().PutFile("C:\\SRC\\P3.DAT", std::string(73000, 'X'));
                                      fake_.Files().PutFile("C:\\SRC\\P4.DAT", "short now");
                                  }};
    install->BuildFromBuildInf();
    EXPECT_EQ(MainArchiveEngine().CompressAhead(), nullptr);
    TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
    engine->SetCompressedFile("C:\\OUT\\files.1");
    engine->ExtractDirectory = "C:\\CHECK";
    engine->SetFilesToProcess({"C:\\SRC\\P2.DAT", "C:\\SRC\\P3.DAT", "C:\\SRC\\P4.DAT"});
    engine->ExtractFiles();
    EXPECT_EQ(Get("C:\\CHECK\\P2.DAT"), std::string(72000, 'c'));
    EXPECT_EQ(Get("C:\\CHECK\\P3.DAT"), std::string(73000, 'X'));
    EXPECT_EQ(Get("C:\\CHECK\\P4.DAT"), "short now");

    // A build that fails leaves no compression ahead behind either.
    ASSERT_TRUE(fake_.Files().DeleteFile("C:\\SRC\\P5.DAT"));
    EXPECT_EQ(ErrorOf<IECustomInstallFile>([&] { install->BuildFromBuildInf(); }),
              "Could not open or find the following file when trying to read the Size, Date, and Version "
              ":C:\\SRC\\P5.DAT");
    EXPECT_EQ(MainArchiveEngine().CompressAhead(), nullptr);
}

} // namespace
} // namespace sw::test
