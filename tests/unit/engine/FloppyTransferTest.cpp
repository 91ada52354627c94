// The floppy mode on a fake drive A: setup.exe and setup.1 on the first
// disk, files.1 spanned over the next ones, each disk asked for in a box
// that the test answers after swapping the disk's contents; then the install
// from those disks, as the loading program on disk 1 starts it.
#include "support/EngineFixture.h"

#include "archive/MainArchiveEngine.h"
#include "archive/PlmrCompress.h"
#include "archive/SelfExtract.h"
#include "engine/Install.h"
#include "objects/InstallFile.h"
#include "platform/Gui.h"

namespace sw::test {
namespace {

const std::string kFloppyLoader(3000, 'L');
constexpr uint64_t kDisk = 60000;

class FloppyTransferTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        files().ForceDirectories("C:\\DIST");
        files().ForceDirectories("C:\\SRC");
        files().ForceDirectories("C:\\DISKS");
        files().AddDrive('A');
        files().SetFreeSpace('A', kDisk);
        for (int i = 0; i < 4; ++i) {
            std::string bytes(30000 + i * 1000, '\0');
            uint32_t x = static_cast<uint32_t>(i) + 1;
            for (char& c : bytes)
                c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
            sources.push_back("C:\\SRC\\F" + std::to_string(i) + ".BIN");
            contents.push_back(bytes);
            files().PutFile(sources.back(), bytes);
        }
        TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
        engine->SetCompressedFile("C:\\DIST\\files.1");
        engine->SetFilesToProcess(sources);
        engine->AddFiles(TlzhCommand::lzcOverwrite, 0);
        engine->SetCompressedFile("C:\\DIST\\setup.1");
        engine->SetFilesToProcess({"C:\\SETUP\\SETUP.EXE"});
        engine->AddFiles(TlzhCommand::lzcOverwrite, 0);
        files().PutFile("C:\\DIST\\setup.exe", kFloppyLoader);
        JoinSelfExtractingSetup("C:\\DIST\\setup.exe", "C:\\DIST\\setup.1", "C:\\DIST\\files.1");
        // Asking for disk n ("Please insert disk n" from the transfer, "...
        // disk #n" from the install) swaps the disk in the drive for disk n.
        fake_.Gui().WhileBoxShown([this](const fake::FakeGui::Box& box) {
            const std::string prefix = "Please insert disk ";
            if (box.Text.rfind(prefix, 0) != 0)
                return;
            asked.push_back(box.Text);
            InsertDisk(std::stoi(box.Text.substr(prefix.size() + (box.Text[prefix.size()] == '#'))));
        });
    }
    // Puts the disk in the drive aside as C:\DISKS\<its number> and puts disk
    // n back when it was written before.
    void InsertDisk(int n) {
        const std::string aside = "C:\\DISKS\\" + std::to_string(inDrive);
        files().CreateDirectory(aside);
        for (const auto& e : files().ListDirectory("A:\\", "*.*"))
            files().MoveFile("A:\\" + e.Name, aside + "\\" + e.Name);
        inDrive = n;
        const std::string back = "C:\\DISKS\\" + std::to_string(inDrive);
        for (const auto& e : files().ListDirectory(back, "*.*"))
            files().MoveFile(back + "\\" + e.Name, "A:\\" + e.Name);
        files().SetFreeSpace('A', kDisk);
    }
    fake::FakeFileSystem& files() { return fake_.Files(); }
    const std::vector<fake::FakeGui::Box>& Boxes() { return fake_.Gui().Boxes(); }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const auto& box : Boxes())
            texts.push_back(box.Text);
        return texts;
    }

    // Installs the sources from files.1 spanned over disks in drive A:, started
    // with "-s<source>" as the loading program on disk 1 starts it; the
    // sources are gone, so every byte comes from the disks.
    void InstallFromTheDisks(const std::string& source) {
        TOwned<TPlmrCompress> span(new TPlmrCompress(nullptr));
        span->SetCompressedFile("C:\\DIST\\files.1");
        span->OnNewDisk =
            TlzhNewDiskEvent("", [this](TPlmrCompress*, int32_t disk, std::string&) { InsertDisk(disk); });
        span->SpanToDisks("A:\\", "files.1");
        ASSERT_EQ(inDrive, 1);
        ASSERT_TRUE(files().FileExists("C:\\DISKS\\2\\files.2"));

        SetArguments("\"-s" + source + "\" -c");
        TComponent* form = Load(kBasicForm);
        auto* install = static_cast<TInstall*>(form->FindComponent("Install1"));
        std::vector<TInstallFile*> installed;
        for (const std::string& path : sources) {
            installed.push_back(new TInstallFile(form, install, path));
            installed.back()->SetName("File" + std::to_string(installed.size()));
            files().DeleteFile(path);
        }
        try {
            install->Install();
        } catch (...) {
            Application().HandleException(std::current_exception());
        }
        ASSERT_FALSE(asked.empty()) << ::testing::PrintToString(Texts());
        EXPECT_EQ(asked.front(), "Please insert disk #2");
        EXPECT_EQ(Boxes().size(), asked.size()) << "no error box: " << Texts().back();
        for (size_t i = 0; i < sources.size(); ++i)
            EXPECT_EQ(files().FileText(installed[i]->DestPath()), contents[i]) << installed[i]->DestPath();
    }

    std::vector<std::string> sources, contents, asked;
    int inDrive = 1;
};

TEST_F(FloppyTransferTest, TheSetupSpansOverDisksThatReadBack) {
    SetArguments(R"(-f -eSETUP.EXE "-sC:\DIST")");
    Load(kBasicForm);
    EXPECT_TRUE(Application().Terminated());
    // Disks 2, 3, ... as they fill, then disk 1 again for the finished table.
    ASSERT_GE(asked.size(), 3u);
    const size_t volumes = asked.size();
    for (size_t i = 0; i + 1 < volumes; ++i)
        EXPECT_EQ(asked[i], "Please insert disk " + std::to_string(i + 2));
    EXPECT_EQ(asked.back(), "Please insert disk 1");
    for (const auto& box : Boxes())
        EXPECT_EQ(box.Flags & 0xF, mb::OkCancel) << box.Text;
    EXPECT_EQ(Boxes().size(), asked.size()) << "no error box";
    EXPECT_EQ(files().FileText("A:\\setup.exe"), kFloppyLoader);
    EXPECT_EQ(files().FileText("A:\\setup.1"), files().FileText("C:\\DIST\\setup.1"));
    EXPECT_EQ(fake_.Gui().Cursor(), CursorKind::Default);
    EXPECT_FALSE(MainArchiveEngine().OnNewDisk);

    // The volumes, gathered in one folder, extract to the sources.
    files().CreateDirectory("C:\\SET");
    for (size_t n = 1; n <= volumes; ++n) {
        const std::string name = "files." + std::to_string(n);
        const std::string from = n > 1 ? "C:\\DISKS\\" + std::to_string(n) + "\\" + name : "A:\\" + name;
        ASSERT_TRUE(files().MoveFile(from, "C:\\SET\\" + name)) << from;
    }
    TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
    engine->SetCompressedFile("C:\\SET\\files.1");
    files().CreateDirectory("C:\\OUT");
    engine->ExtractDirectory = "C:\\OUT";
    engine->SetFilesToProcess(sources);
    engine->ExtractFiles();
    for (size_t i = 0; i < sources.size(); ++i)
        EXPECT_EQ(files().FileText("C:\\OUT\\F" + std::to_string(i) + ".BIN"), contents[i]) << i;
}

// "A:" as the loading program passes the root of the drive (a folder ending in
// a backslash would end the quote around it) means the root, as "A:\" does.
TEST_F(FloppyTransferTest, TheDisksInstallFromTheRootOfTheDriveNamedWithoutBackslash) { InstallFromTheDisks("A:"); }

TEST_F(FloppyTransferTest, TheDisksInstallFromTheRootOfTheDriveNamedWithBackslash) { InstallFromTheDisks("A:\\"); }

TEST_F(FloppyTransferTest, CancelAtDiskTwoAbortsByUser) {
    fake_.Gui().QueueAnswer(id::Cancel);
    SetArguments(R"(-f -eSETUP.EXE "-sC:\DIST")");
    Load(kBasicForm);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Please insert disk 2", "Aborted by user"}));
    EXPECT_EQ(Boxes()[1].Flags, mb::Ok);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_FALSE(MainArchiveEngine().OnNewDisk);
    EXPECT_FALSE(MainArchiveEngine().OnStatus);
    EXPECT_EQ(fake_.Gui().Cursor(), CursorKind::Default);
}

TEST_F(FloppyTransferTest, OnlyTheSelfExtractingSetupTransfers) {
    SetArguments("-f");
    Load(kBasicForm);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Sorry... You can only transfer this installation to floppies "
                                                "through the self-extracting file. Usage example: setup.exe *TODISK"});
    EXPECT_TRUE(Application().Terminated());
}

TEST_F(FloppyTransferTest, AFirstDiskTooSmallIsReported) {
    files().SetFreeSpace('A', 1000);
    SetArguments(R"(-f -eSETUP.EXE "-sC:\DIST")");
    Load(kBasicForm);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Cannot create setup.exe on the A drive. Probably not enough room"});
    FreeRoots();

    files().DeleteFile("A:\\setup.exe");
    files().SetFreeSpace('A', kFloppyLoader.size() + 10);
    Load(kBasicForm);
    EXPECT_EQ(Texts().back(), "Cannot create setup.1 on the A drive. Probably not enough room");
}

TEST_F(FloppyTransferTest, ADamagedSetupIsReportedBeforeAnyDiskIsWritten) {
    const std::string whole = files().FileText("C:\\DIST\\setup.exe");
    files().PutFile("C:\\DIST\\setup.exe", whole.substr(0, whole.size() - 20));
    SetArguments(R"(-f -eSETUP.EXE "-sC:\DIST")");
    Load(kBasicForm);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text,
              "The self-extracting file C:\\DIST\\SETUP.EXE is damaged: its extraction info points outside the file");
    EXPECT_TRUE(files().ListDirectory("A:\\", "*.*").empty());
}

} // namespace
} // namespace sw::test
