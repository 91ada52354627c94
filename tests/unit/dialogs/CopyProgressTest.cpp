// The copy-progress window and the change-disk window on the fake platform:
// the window of the copy stage from its first status to -996, what file and
// download statuses show, Cancel during a real install run, the disk prompt
// in two languages and the folder browser behind Browse.
#include "unit/dialogs/DialogsFixture.h"

#include "archive/MainArchiveEngine.h"
#include "archive/PlmrCompress.h"
#include "controls/ComCtrls.h"
#include "controls/Edits.h"
#include "controls/ExtCtrls.h"
#include "controls/StdCtrls.h"
#include "dialogs/ChangeDiskForm.h"
#include "dialogs/CopyFileForm.h"
#include "dialogs/FinishPages.h"
#include "engine/CustomInstall.h"
#include "engine/SetupExit.h"
#include "lang/TranslateControls.h"
#include "lang/Translator.h"
#include "objects/FileContainer.h"
#include "objects/InstallFile.h"
#include "objects/InstallMessages.h"
#include "objects/InstallParameters.h"
#include "objects/NetInstallLocation.h"
#include "platform/fake/FakeControl.h"
#include "platform/fake/FakeFolderBrowser.h"
#include "platform/fake/FakeGui.h"
#include "system/InstallErrors.h"
#include "system/MessagePump.h"

#include <algorithm>
#include <map>
#include <memory>
#include <random>

namespace sw::test {
namespace {
using enum TManagerType;

constexpr const char* kProgressCaption = "Copying installation files";
constexpr const char* kDiskCaption = "Setup needs the next disk";

// Bytes that do not compress, so that a file takes many 64 KiB windows.
std::string Noise(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}
} // namespace

class CopyProgressTest : public DialogsFixture {
  protected:
    void SetUp() override {
        DialogsFixture::SetUp();
        RegisterLanguageClasses();
        RegisterProgressForm<TCopyFileForm>();
        RegisterChangeDiskForm<TChangeDiskForm>();
        RegisterPageForm<TBadInstallForm>();
    }
    void TearDown() override {
        DialogsFixture::TearDown();
        translator_.reset();
    }

    TCopyFileForm* Window(int manager = 0) const {
        const auto& windows = Manager(manager)->ProgressWindows();
        return windows.empty() ? nullptr : dynamic_cast<TCopyFileForm*>(windows.front());
    }
    // Presses the window's Cancel as a user would; false while there is no window yet (the driver's OnStatus
    // comes before the status that opens it).
    bool PressCancel() {
        IControl* cancel = fake_.Gui().FindControl(kProgressCaption, "CancelBtn");
        if (cancel)
            cancel->Click();
        return cancel != nullptr;
    }
    // What painted at once since the last call: "window" or the names of the controls, in a fixed order.
    std::string Painted() {
        std::string painted;
        const auto& calls = fake_.Gui().Calls();
        const int window = static_cast<int>(
            std::count(calls.begin(), calls.end(), std::string("Repaint ") + kProgressCaption));
        if (window != painted_["window"])
            painted += " window";
        painted_["window"] = window;
        for (const char* name : {"lblCopyingFile", "ProgressBar1", "ProgressBar2"}) {
            auto* control = static_cast<fake::FakeControl*>(fake_.Gui().FindControl(kProgressCaption, name));
            const int count = control ? control->Repaints() : 0;
            if (count != painted_[name])
                painted += std::string(" ") + name;
            painted_[name] = count;
        }
        return painted.empty() ? painted : painted.substr(1);
    }

    // The driver of a project with a copy-progress and a bad-install
    // manager, and files of these sizes packed into its archive.
    // `ownArchive`: the first file goes into an archive of its own, which a
    // temporary engine extracts.
    void LoadInstall(const std::vector<size_t>& sizes, bool ownArchive = false) {
        SetArguments(R"("-sC:\DIST")");
        form_ = LoadManagers({dmDuringCopyFiles, dmAfterBadInstall});
        install_ = static_cast<TInstall*>(form_->FindComponent("Install1"));
        install_->SetDestDir("\\Product");
        fake_.Files().ForceDirectories("C:\\SRC");
        for (size_t i = 0; i < sizes.size(); ++i) {
            const std::string name = "FILE" + std::to_string(i) + ".BIN";
            contents_.push_back(Noise(sizes[i], static_cast<unsigned>(i)));
            fake_.Files().PutFile("C:\\SRC\\" + name, contents_.back());
            auto* file = new TInstallFile(form_, install_, "C:\\SRC\\" + name);
            file->SetName("File" + std::to_string(i));
            if (ownArchive && i == 0) {
                file->SetArchiveFileType(nullptr);
                file->SetArchiveFile("C:\\DIST\\OWN.1");
            }
            files_.push_back(file);
        }
        install_->Compress(coForceNetFilesLocal | coIncludeExcluded);
    }
    // Runs the install as the form's activation does; the bad-install page
    // (whose caption is kept) is finished when it shows.
    void RunInstall() {
        fake_.Gui().WhenShownModally([this](IForm& form) {
            modalCaptions_.push_back(form.Caption());
            if (IControl* finish = fake_.Gui().FindControl("FinishBtn"))
                finish->Click();
        });
        try {
            install_->Install();
        } catch (...) {
            Application().HandleException(std::current_exception());
        }
    }

    TTranslator& Translator(TPlmrLanguage target, const std::string& french) {
        translator_.reset();
        translator_ = std::make_unique<TTranslator>(nullptr);
        translator_->FindLanguage(plEnglish)->Strings()->Assign({"45;Please insert disk number %d"});
        translator_->FindLanguage(plFrench)->Strings()->Assign({"45;" + french});
        translator_->SetTranslateIntoLanguage(target);
        return *translator_;
    }

    // Shows the change-disk window for `disk`; `user` acts in it, then
    // Proceed is pressed unless the window has ended already.
    void AskForDisk(TDiskParameter& disk, const std::function<void(TChangeDiskForm&)>& user) {
        auto* file = new TInstallFile(form_);
        TFileDiskList list(file, &disk);
        fake_.Gui().WhenShownModally([&](IForm&) {
            for (TBasePellmoorForm* f : DialogsState().Forms)
                if (auto* window = dynamic_cast<TChangeDiskForm*>(f); window && window->Visible()) {
                    user(*window);
                    if (window->ModalResult() == 0)
                        window->InstallBtn->Handle()->Click();
                }
        });
        Driver()->Broadcast(msg::DiskNeeded, &list);
        EXPECT_EQ(file->Tag, 1) << "the request is marked as handled: the plain prompt does not show too";
    }

    TTestForm* form_ = nullptr;
    TInstall* install_ = nullptr;
    std::vector<TInstallFile*> files_;
    std::vector<std::string> contents_;
    std::vector<std::string> modalCaptions_;
    std::unique_ptr<TTranslator> translator_;
    std::map<std::string, int> painted_;
};

TEST_F(CopyProgressTest, TheWindowOpensAtTheFirstStatusAndClosesAtTheEndOfCopying) {
    LoadManagers({dmDuringCopyFiles});
    EXPECT_EQ(Window(), nullptr);
    TFileStatusParameter status;
    status.FileName = "app.exe";
    Driver()->Broadcast(msg::Progress, &status);
    TCopyFileForm* window = Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(window->Caption(), kProgressCaption);
    EXPECT_EQ(window->ClientWidth(), 466);
    EXPECT_EQ(window->ClientHeight(), 119);
    EXPECT_FALSE(window->UnZipImage->Picture()->Bitmap().Empty()) << "the window carries its pictures";
    EXPECT_FALSE(window->TransferBitmap->Picture()->Bitmap().Empty());
    EXPECT_TRUE(window->UnZipImage->Visible());
    auto* cancel = static_cast<fake::FakeControl*>(fake_.Gui().FindControl(kProgressCaption, "CancelBtn"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->Text(), "Cancel");
    EXPECT_EQ(cancel->Picture().substr(0, 2), "BM") << "Cancel carries its glyph";
    EXPECT_NE(fake_.Gui().FindForm(kProgressCaption), nullptr);
    Driver()->Broadcast(msg::Progress, &status);
    EXPECT_EQ(Window(), window) << "one window for the whole stage";
    Driver()->Broadcast(msg::PassEnded, nullptr);
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(fake_.Gui().FindForm(kProgressCaption), nullptr);
}

// Each status in turn, and what the window shows after it: a status shows at
// once when it is the first or brings or takes the transfer picture, else
// when 200 ms have passed since the window last showed one.
TEST_F(CopyProgressTest, FileAndDownloadStatusesMoveTheBarsAndTheTransferPicture) {
    LoadManagers({dmDuringCopyFiles});
    struct Step {
        const char* What;
        uint32_t Tick;                    // the system's tick count when the status comes
        bool Download;
        const char* Name;
        int File, Total;                  // the file status's percentages, or the download's percent in File
        const char* Shown;                // the name shown afterwards
        bool Transfer;                    // the transfer picture shown
        int Bar1, Bar2;                   // the bars afterwards
        const char* Painted;              // what painted at once: the window, or the controls that changed
    };
    const Step steps[] = {
        {"a file begins", 1000, false, "app.exe", 0, 0, "app.exe", false, 0, 0, "window"},
        {"too soon: kept for later", 1199, false, "app2.exe", 0, 0, "app.exe", false, 0, 0, ""},
        {"the next file, in time", 1200, false, "app2.exe", 0, 0, "app2.exe", false, 0, 0, "lblCopyingFile"},
        {"the file goes on", 1400, false, "app2.exe", 40, 20, "app2.exe", false, 40, 20, "ProgressBar1 ProgressBar2"},
        {"too soon again", 1590, false, "app2.exe", 50, 25, "app2.exe", false, 40, 20, ""},
        {"the same figures, in time", 1600, false, "app2.exe", 50, 25, "app2.exe", false, 50, 25,
         "ProgressBar1 ProgressBar2"},
        {"the same figures again", 1800, false, "app2.exe", 50, 25, "app2.exe", false, 50, 25, ""},
        {"a download, at once", 1801, true, "files.2", 30, 0, "files.2", true, 30, 25, "window"},
        {"the download goes on", 2001, true, "files.2", 75, 0, "files.2", true, 75, 25, "ProgressBar1"},
        {"the next file, at once", 2002, false, "lib.dll", 10, 60, "lib.dll", false, 10, 60, "window"},
    };
    Painted();
    for (const Step& step : steps) {
        fake_.System().SetTickCount(step.Tick);
        if (step.Download) {
            TDownloadStatusParameter download(1, step.Name, 100, step.File);
            Driver()->Broadcast(msg::DownloadProgressShown, &download);
        } else {
            TFileStatusParameter status;
            status.FileName = step.Name;
            status.FilePercentDone = step.File;
            status.TotalPercentDone = step.Total;
            Driver()->Broadcast(msg::Progress, &status);
        }
        TCopyFileForm* window = Window();
        ASSERT_NE(window, nullptr) << step.What;
        EXPECT_EQ(window->TransferBitmap->Visible(), step.Transfer) << step.What;
        EXPECT_EQ(window->ProgressBar1->Position(), step.Bar1) << step.What;
        EXPECT_EQ(window->ProgressBar2->Position(), step.Bar2) << step.What;
        EXPECT_EQ(window->lblCopyingFile->Caption(), step.Shown) << step.What;
        EXPECT_EQ(fake_.Gui().FindControl(kProgressCaption, "lblCopyingFile")->Text(), step.Shown) << step.What;
        EXPECT_EQ(fake_.Gui().FindControl(kProgressCaption, "ProgressBar2")->Position(), step.Bar2) << step.What;
        EXPECT_EQ(Painted(), step.Painted) << step.What;
    }
}

// Cancel pressed in the window while the first of three files is extracted.
struct CancelCase {
    const char* Name;
    bool Answer;
    TSetupExit Exit;
    bool BadPage;
    bool Installed;
    bool OwnArchive = false;
};

class CopyProgressCancelTest : public CopyProgressTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CopyProgressCancelTest, CancelDuringTheInstallStandsOnlyWhenTheDriverAgrees) {
    const CancelCase& c = GetParam();
    LoadInstall({400000, 3000, 5000}, c.OwnArchive);
    EXPECT_EQ(fake_.Files().FileExists("C:\\DIST\\OWN.1"), c.OwnArchive) << files_[0]->GetArchivePath();
    int asked = 0;
    bool aborting = false, downloadAborting = false;
    install_->OnUserAbort = TUserAbortEvent("", [&](TCustomInstall*, bool& quit) {
        ++asked;
        quit = c.Answer;
    });
    // The user presses Cancel once, while the first file is on its way.
    install_->OnStatus = TInstallFileStatusEvent("", [&](TCustomInstallFile* file, int32_t percent, int32_t) {
        if (asked == 0 && file == files_[0] && percent > 10 && percent < 90 && PressCancel()) {
            aborting = MainArchiveEngine().Abort;
            downloadAborting = DownloadAborted();
        }
    });
    RunInstall();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(aborting, c.Answer);
    EXPECT_EQ(downloadAborting, c.Answer);
    EXPECT_EQ(SetupExitCode(), c.Exit);
    EXPECT_EQ(modalCaptions_, c.BadPage ? std::vector<std::string>{"Setup incomplete"} : std::vector<std::string>{});
    EXPECT_EQ(fake_.Gui().Boxes().size(), 0u) << "a user abort shows no error";
    for (size_t i = 0; i < files_.size(); ++i) {
        const std::string dest = files_[i]->DestPath();
        if (c.Installed)
            EXPECT_EQ(fake_.Files().FileText(dest), contents_[i]) << dest;
        else
            EXPECT_FALSE(fake_.Files().FileExists(dest)) << dest << ": nothing half-written, nothing after";
    }
    EXPECT_EQ(Window(), nullptr) << "the window closed with the stage";
}

INSTANTIATE_TEST_SUITE_P(Answers, CopyProgressCancelTest,
                         ::testing::Values(CancelCase{"OnUserAbortAnswersFalse", false, TSetupExit::Good, false, true},
                                           CancelCase{"OnUserAbortAnswersTrue", true, TSetupExit::UserAbort, true,
                                                      false},
                                           // The temporary engine takes the main engine's Abort.
                                           CancelCase{"AFileOfItsOwnArchiveStops", true, TSetupExit::UserAbort, true,
                                                      false, true}),
                         [](const ::testing::TestParamInfo<CancelCase>& info) { return info.param.Name; });

TEST_F(CopyProgressTest, ACancelledRunDoesNotCancelTheNextCopyStage) {
    LoadInstall({200000});
    install_->OnUserAbort = TUserAbortEvent("", [](TCustomInstall*, bool& quit) { quit = true; });
    bool pressed = false;
    install_->OnStatus = TInstallFileStatusEvent("", [&](TCustomInstallFile*, int32_t percent, int32_t) {
        if (!pressed && percent > 10)
            pressed = PressCancel();
    });
    RunInstall();
    ASSERT_EQ(SetupExitCode(), TSetupExit::UserAbort);
    ASSERT_TRUE(MainArchiveEngine().Abort);
    ASSERT_TRUE(DownloadAborted());
    // The next run: its copy stage starts with both flags down.
    SetSetupExitCode(TSetupExit::Good);
    modalCaptions_.clear();
    RunInstall();
    EXPECT_EQ(SetupExitCode(), TSetupExit::Good);
    EXPECT_EQ(modalCaptions_, std::vector<std::string>{});
    EXPECT_EQ(fake_.Files().FileText(files_[0]->DestPath()), contents_[0]);
    EXPECT_FALSE(DownloadAborted());
}

// The copying loops let messages run often enough for the window to answer,
// and not at every step.
TEST_F(CopyProgressTest, TheExtractionLetsMessagesRunWhenTheirTimeHasCome) {
    LoadInstall({1000000});
    uint32_t ticks = 1000;
    fake_.System().SetTickCount(ticks);
    int pumps = 0, steps = 0;
    SetPumpObserver([&] { ++pumps; });
    install_->OnStatus = TInstallFileStatusEvent("", [&](TCustomInstallFile*, int32_t, int32_t) {
        // Each step takes 15 ms of the fake clock.
        ++steps;
        ticks += 15;
        fake_.System().SetTickCount(ticks);
    });
    RunInstall();
    SetPumpObserver({});
    ASSERT_EQ(SetupExitCode(), TSetupExit::Good);
    ASSERT_GT(steps, 10);
    // A pump at the first step, then one at every third step (45 ms >= 40 ms).
    EXPECT_GE(pumps, steps / 3);
    EXPECT_LE(pumps, steps / 3 + 3);
}

struct PromptCase {
    TPlmrLanguage Target;
    const char* French;
    int Disk;
    std::string Prompt;
};

TEST_F(CopyProgressTest, ThePromptNamesTheDiskInTheCurrentLanguage) {
    const PromptCase cases[] = {
        {plEnglish, "Veuillez ins\xe9rer le disque num\xe9ro %d", 3, "Please insert disk number 3"},
        {plFrench, "Veuillez ins\xe9rer le disque num\xe9ro %d", 3, "Veuillez ins\xe9rer le disque num\xe9ro 3"},
        {plFrench, "Disque %d, s'il vous pla\xeet", 12, "Disque 12, s'il vous pla\xeet"},
    };
    form_ = LoadManagers({dmChangeDisk});
    for (const PromptCase& c : cases) {
        SCOPED_TRACE(c.Prompt);
        Translator(c.Target, c.French);
        TDiskParameter disk(c.Disk, "A:");
        std::string prompt, path, focused, caption;
        bool readOnly = false;
        AskForDisk(disk, [&](TChangeDiskForm& window) {
            prompt = fake_.Gui().FindControl(kDiskCaption, "PromptDiskLabel")->Text();
            path = fake_.Gui().FindControl(kDiskCaption, "PathEdit")->Text();
            readOnly = window.PathEdit->ReadOnly();
            IControl* focus = fake_.Gui().FocusedControl();
            focused = focus ? focus->Name() : "";
            caption = window.Caption();
        });
        EXPECT_EQ(prompt, c.Prompt);
        EXPECT_EQ(path, "A:");
        EXPECT_TRUE(readOnly);
        EXPECT_EQ(focused, "InstallBtn");
        EXPECT_EQ(caption, kDiskCaption);
    }
}

TEST_F(CopyProgressTest, BrowseTakesTheChosenFolderAndCancellingTheBrowserKeepsThePath) {
    form_ = LoadManagers({dmChangeDisk});
    fake_.Files().ForceDirectories("C:\\DISKS\\TWO");
    struct Case {
        const char* What;
        bool Ok;
        std::string Path;
    };
    for (const Case& c : {Case{"cancelled", false, "A:"}, Case{"chosen", true, "C:\\DISKS\\TWO"}}) {
        SCOPED_TRACE(c.What);
        TDiskParameter disk(2, "A:");
        std::string shown;
        AskForDisk(disk, [&](TChangeDiskForm& window) {
            if (c.Ok) {
                fake_.FolderBrowser().Select("C:\\DISKS\\TWO");
                fake_.FolderBrowser().PressOk();
            } else {
                fake_.FolderBrowser().Select("C:\\DISKS\\TWO");
                fake_.FolderBrowser().PressCancel();
            }
            window.BrowseBtn->Handle()->Click();
            shown = fake_.Gui().FindControl(kDiskCaption, "PathEdit")->Text();
        });
        EXPECT_EQ(disk.Path, c.Path);
        EXPECT_EQ(shown, c.Path);
        const auto& runs = fake_.FolderBrowser().Runs();
        ASSERT_FALSE(runs.empty());
        EXPECT_TRUE(runs.back().Controls.empty()) << "no create button, no path edit";
    }
}

TEST_F(CopyProgressTest, CancelOnTheChangeDiskWindowEndsTheInstallOnlyWhenTheDriverAgrees) {
    form_ = LoadManagers({dmChangeDisk});
    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer ? "OnUserAbort answers true" : "OnUserAbort answers false");
        Driver()->OnUserAbort = TUserAbortEvent("", [answer](TCustomInstall*, bool& quit) { quit = answer; });
        TDiskParameter disk(2, "A:");
        bool stillOpen = false;
        auto ask = [&] {
            AskForDisk(disk, [&](TChangeDiskForm& window) {
                window.CancelBtn->Handle()->Click();
                stillOpen = window.ModalResult() == 0;
            });
        };
        if (answer)
            EXPECT_THROW(ask(), EAIUserAbort);
        else
            EXPECT_NO_THROW(ask());
        EXPECT_EQ(stillOpen, !answer);
        EXPECT_TRUE(std::none_of(DialogsState().Forms.begin(), DialogsState().Forms.end(),
                                 [](TBasePellmoorForm* f) { return dynamic_cast<TChangeDiskForm*>(f); }));
    }
}

} // namespace sw::test
