#include "app/SetupProgram.h"
#include "controls/Forms.h"
#include "app/MainForm.h"
#include "engine/Install.h"
#include "project/Reader.h"
#include "project/Writer.h"
#include "platform/fake/FakePlatform.h"
#include "project/TextForm.h"
#include "support/DialogForms.h"
#include "support/ProgramStateForTests.h"
#include "support/SourceFiles.h"
#include "visual/Backdrop.h"
#include "visual/Rotate3DLabel.h"
#include "visual/VisualState.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using test::ReadSourceFile;

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

struct SetupProgramTest : ::testing::Test {
    fake::FakePlatform fake;
    ScopedPlatform installed{fake.Get()};

    void SetUp() override {
        std::string bmp = ReadSourceFile("src/resources/installtheme1.bmp");
        ASSERT_GT(bmp.size(), 14u);
        fake.Resources().Add(ResourceType::Bitmap, "INSTALLTHEME1", Bytes(bmp.substr(14)));
        fake.System().SetModulePath("C:\\DIST\\SETUP.EXE");
        test::AddShippedDialogForms(fake.Resources());
    }
    void TearDown() override { test::RenewProgramState(); }
    void UseProject(const std::string& text) {
        std::string stream = WriteStreamRecords(TextToRecords(text, "project.txt"));
        fake.Resources().Add(ResourceType::RCData, "TFORM1", Bytes(stream));
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const auto& b : fake.Gui().Boxes())
            texts.push_back(b.Text);
        return texts;
    }
};

TEST_F(SetupProgramTest, TheTitleNamesTheProduct) {
    EXPECT_EQ(ProjectTitle(TextToRecords(ReadSourceFile("examples/demo/project.txt"), "project.txt")),
              "Setwright Demo Installation");
    EXPECT_EQ(ProjectTitle(TextToRecords("object Form1: TForm1\n object Install1: TInstall\n end\nend\n", "p")),
              "My product Installation");

    // A wide product name is the one the loaded driver shows.
    RegisterAllClasses();
    std::string text = "object Form1: TForm1\n object Install1: TInstall\n"
                       "  Information.ProductName = WString(#8364'uro Tools')\n end\nend\n";
    TObjectRecord project = TextToRecords(text, "p");
    ASSERT_EQ(project.Children.at(0).Properties.at(0).Value.Type, TValueType::vaWString);
    TOwned<TForm1> form(new TForm1(nullptr));
    BindProjectHandlers(*form);
    ReadComponentStream(WriteStreamRecords(project), form.get());
    auto* install = static_cast<TInstall*>(form->FindComponent("Install1"));
    EXPECT_EQ(install->Information()->ProductName, "\x80uro Tools");
    EXPECT_EQ(ProjectTitle(project), install->Information()->ProductName + " Installation");
}

TEST_F(SetupProgramTest, TheDemoProjectIsInCanonicalTextForm) {
    std::string text = ReadSourceFile("examples/demo/project.txt");
    ASSERT_FALSE(text.empty());
    TObjectRecord project = TextToRecords(text, "project.txt");
    EXPECT_EQ(RecordsToText(project), text);
    std::string stream = WriteStreamRecords(project);
    EXPECT_EQ(WriteStreamRecords(TextToRecords(RecordsToText(ReadStreamRecords(stream)), "again")), stream);
}

TEST_F(SetupProgramTest, TheDemoProjectWrittenAndReadBackGivesTheSameStream) {
    RegisterAllClasses();
    auto readAndWrite = [](const std::string& bytes) {
        TOwned<TForm1> form(new TForm1(nullptr));
        BindProjectHandlers(*form);
        ReadComponentStream(bytes, form.get());
        return WriteComponentStream(*form);
    };
    std::string first =
        readAndWrite(WriteStreamRecords(TextToRecords(ReadSourceFile("examples/demo/project.txt"), "p")));
    EXPECT_NE(first.find("Setwright Demo"), std::string::npos);
    EXPECT_EQ(readAndWrite(first), first);
}

// The main form as the demo describes it: the main backdrop fills it, the
// main label on it names the product of the driver's Information.
TEST_F(SetupProgramTest, TheDemoMainFormCarriesTheBackdropAndTheProductTitle) {
    RegisterAllClasses();
    TOwned<TForm1> form(new TForm1(nullptr));
    BindProjectHandlers(*form);
    ReadComponentStream(WriteStreamRecords(TextToRecords(ReadSourceFile("examples/demo/project.txt"), "p")),
                        form.get());
    TBackdrop* backdrop = VisualState().MainBackdrop;
    TRotate3DLabel* title = VisualState().MainLabel;
    ASSERT_TRUE(backdrop && title);
    EXPECT_EQ(backdrop->Parent(), form.get());
    EXPECT_EQ(backdrop->Align(), TAlign::alClient);
    EXPECT_EQ(backdrop->Direction(), TDirection::bdUp);
    EXPECT_EQ(title->Parent(), backdrop);
    auto* install = static_cast<TInstall*>(form->FindComponent("Install1"));
    EXPECT_EQ(title->Caption(), install->Information()->ProductName);
    EXPECT_EQ(title->Align(), TAlign::alTop);
    EXPECT_EQ(title->Alignment(), TAlignment::taCenter);
    EXPECT_EQ(title->Font()->Color(), clWhite);
    EXPECT_EQ(title->Font()->Style(), (1u << fsBold) | (1u << fsItalic));
    EXPECT_LT(title->Font()->Height(), -30) << "large type";
    EXPECT_EQ(title->LabelStyle()->AStyle3D(), T3DEffectShort::A3dResit);
    EXPECT_TRUE(install->AutoMaximizeWindow());
}

TEST_F(SetupProgramTest, AProgramWithoutAProjectSaysSo) {
    EXPECT_EQ(RunSetupProgram(), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Resource TFORM1 not found"}));
}

TEST_F(SetupProgramTest, TheDemoLoadsWaitsForActivationAndEndsItsRunWithTheError) {
    UseProject(ReadSourceFile("examples/demo/project.txt"));
    // The user finishes the setup-incomplete page.
    std::vector<std::string> pages;
    fake.Gui().WhenShownModally([&](IForm& window) {
        pages.push_back(window.Caption());
        if (IControl* finish = fake.Gui().FindControl("FinishBtn"))
            finish->Click();
    });
    EXPECT_EQ(RunSetupProgram(), 2) << "a bad end";
    EXPECT_EQ(pages, std::vector<std::string>{"Setup incomplete"});
    EXPECT_EQ(fake.Gui().Title(), "Setwright Demo Installation");
    auto texts = BoxTexts();
    ASSERT_EQ(texts.size(), 1u) << ::testing::PrintToString(texts);
    // The demo uses a loading program, which was not there to pass its folder.
    EXPECT_EQ(texts[0].rfind("The path of the loading program was not passed correctly.", 0), 0u) << texts[0];
    EXPECT_TRUE(fake.Gui().Terminated());
    const auto& calls = fake.Gui().Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Show Setwright Demo Setup Maximized"), calls.end())
        << ::testing::PrintToString(calls);
}

TEST_F(SetupProgramTest, AnInvalidArgumentStopsTheProgramBeforeAnyWindow) {
    UseProject(ReadSourceFile("examples/demo/project.txt"));
    fake.System().SetCommandLine("SETUP.EXE -q");
    EXPECT_EQ(RunSetupProgram(), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                              "Invalid parameter <-q>. Valid command line parameters are: -b (Build), -d (Debug), -f "
                              "(Transfer to floppies), -e (Called by self-extractor), -r (After reboot)"}));
    const auto& calls = fake.Gui().Calls();
    EXPECT_EQ(
        std::count_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("CreateForm", 0) == 0; }),
        0)
        << ::testing::PrintToString(calls);
}

TEST_F(SetupProgramTest, BuildModeReportsItsErrorAndEnds) {
    UseProject(ReadSourceFile("examples/demo/project.txt"));
    fake.System().SetCommandLine("SETUP.EXE -b -r");
    EXPECT_EQ(RunSetupProgram(), 2) << "a failed tool mode";
    EXPECT_TRUE(fake.Gui().Terminated());
    auto texts = BoxTexts();
    ASSERT_EQ(texts.size(), 1u) << ::testing::PrintToString(texts);
    // No BUILD.INF lies beside the program.
    EXPECT_EQ(texts[0],
              "Need to have a BUILD.INF file in this directory with the first line specifying the build directory");
    const auto& calls = fake.Gui().Calls();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("Show", 0) == 0; }),
              0);
}

TEST_F(SetupProgramTest, ACorruptProjectIsReportedAndNothingIsLeft) {
    std::string stream = WriteStreamRecords(TextToRecords(ReadSourceFile("examples/demo/project.txt"), "p"));
    stream.resize(stream.size() / 2);
    fake.Resources().Add(ResourceType::RCData, "TFORM1", Bytes(stream));
    EXPECT_EQ(RunSetupProgram(), 1);
    auto texts = BoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("Error reading ", 0), 0u) << texts[0];
    EXPECT_NE(texts[0].find("Stream read error"), std::string::npos) << texts[0];
    EXPECT_EQ(InstallDriver(), nullptr);
}

} // namespace
} // namespace sw
