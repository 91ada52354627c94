// The dialog manager and the page container on the fake platform: which
// pages a stage shows and in what order, how Next, Back and Cancel move
// through them, how a stage ends, and the manager's own errors.
#include "unit/dialogs/DialogsFixture.h"

#include "dialogs/BaseInstallDlg.h"
#include "engine/CustomInstall.h"
#include "objects/InstallFile.h"
#include "objects/InstallMessages.h"
#include "objects/InstallParameters.h"
#include "platform/fake/FakeGui.h"
#include "system/InstallErrors.h"

#include <functional>

namespace sw::test {

namespace {
using enum TManagerType;

std::vector<std::string> Shown(std::initializer_list<int> orders) {
    std::vector<std::string> log;
    for (int order : orders)
        log.push_back("show Page " + std::to_string(order));
    return log;
}

// A progress window that counts its status reports.
class TCountingProgress : public TBaseDuringCopyForm {
  public:
    explicit TCountingProgress(TComponent* owner) : TBaseDuringCopyForm(owner) {
        SetDM(FindDialogManager(dmDuringCopyFiles));
    }
    void UpdateStatus(TFileStatusParameter* file, TDownloadStatusParameter* download) override {
        PageScript().Log.push_back(file ? "file " + file->FileName : "download " + download->FileName);
    }
};

// A change-disk window that answers as the test says.
class TAnsweringChangeDisk : public TBaseChangeDiskForm {
  public:
    explicit TAnsweringChangeDisk(TComponent* owner) : TBaseChangeDiskForm(owner) {
        SetDM(FindDialogManager(dmChangeDisk));
        OnShow = TNotifyEvent("", [this](TPersistent*) { SetModalResult(Answer); });
    }
    static inline int Answer = mrOk;
    static inline int Disk = 0;
    void UpdatePage() override { Disk = DiskParameter->DiskNumber; }
};
} // namespace

class DialogManagerTest : public DialogsFixture {};

TEST_F(DialogManagerTest, PagesShowInOrderWhateverTheirRegistrationOrder) {
    RegisterPageForm<TPage<50>>();
    RegisterPageForm<TPage<0>>();
    RegisterPageForm<TPage<60>>();
    RegisterPageForm<TPage<20>>();
    RegisterPageForm<TPage<5>>();
    RegisterPageForm<TPage<30>>();
    RegisterPageForm<TPage<10, dmAfterGoodInstall>>();
    LoadManagers({dmBeforeInstall});
    PressThrough("ProceedBtn");
    Driver()->Broadcast(msg::BeforeInstall, nullptr);
    EXPECT_EQ(PageScript().Log, Shown({0, 5, 20, 30, 50, 60}));
    EXPECT_EQ(DialogsState().RunningManager, nullptr);
    EXPECT_TRUE(DialogsState().Forms.empty()) << "the pages outlived their stage";
}

TEST_F(DialogManagerTest, OnlyTheFirstManagerOfAStageShowsPages) {
    RegisterPageForm<TPage<5>>();
    LoadManagers({dmAfterBadInstall, dmBeforeInstall, dmBeforeInstall});
    EXPECT_EQ(FindDialogManager(dmBeforeInstall), Manager(1));
    EXPECT_EQ(FindDialogManager(dmReboot), nullptr);
    int containers = 0;
    fake_.Gui().WhenShownModally([&](IForm&) {
        ++containers;
        static_cast<TScriptedPage*>(PageScript().Active)->NextPage();
    });
    Driver()->Broadcast(msg::BeforeInstall, nullptr);
    EXPECT_EQ(containers, 1);
    EXPECT_EQ(PageScript().Log, Shown({5}));
}

TEST_F(DialogManagerTest, NextBackAndTheLastPage) {
    RegisterPageForm<TPage<0>>();
    RegisterPageForm<TPage<5>>();
    RegisterPageForm<TPage<7>>();
    RegisterPageForm<TPage<10>>();
    PageScript().Skipped = {0, 7, 10};
    LoadManagers({dmBeforeInstall});
    std::vector<std::string> ends;
    fake_.Gui().WhenShownModally([&](IForm& window) {
        auto* page = static_cast<TScriptedPage*>(PageScript().Active);
        // Page 0 is skipped, so page 5 is the first; 7 and 10 still follow it.
        ends.push_back(std::string(page->IsFirstPage() ? "first" : "") + (page->IsLastPage() ? " last" : ""));
        page->Button("BackBtn")->Handle()->Click();
        EXPECT_EQ(PageScript().Active, page) << "Back left the first page";
        window.PressKey(FormKey::AltF4);
        page->Button("ProceedBtn")->Handle()->Click();
    });
    Driver()->Broadcast(msg::BeforeInstall, nullptr);
    EXPECT_EQ(ends, std::vector<std::string>{"first"});
    // Back and the final Next each show page 5 again before the stage ends.
    EXPECT_EQ(PageScript().Log, Shown({5, 5, 5}));
}

TEST_F(DialogManagerTest, AStageWhosePagesAllSkipEndsAtOnce) {
    RegisterPageForm<TPage<0>>();
    RegisterPageForm<TPage<5>>();
    PageScript().Skipped = {0, 5};
    LoadManagers({dmBeforeInstall});
    int containers = 0;
    fake_.Gui().WhenShownModally([&](IForm&) { ++containers; });
    EXPECT_NO_THROW(Driver()->Broadcast(msg::BeforeInstall, nullptr));
    EXPECT_EQ(containers, 0);
    EXPECT_TRUE(PageScript().Log.empty());
}

TEST_F(DialogManagerTest, CancelStandsOnlyWhenTheDriverAgrees) {
    RegisterPageForm<TPage<5>>();
    RegisterPageForm<TPage<6>>();
    LoadManagers({dmBeforeInstall});
    std::vector<bool> answers{false, true};
    int asked = 0;
    Driver()->OnUserAbort = TUserAbortEvent("", [&](TCustomInstall*, bool& quit) { quit = answers[asked++]; });
    fake_.Gui().WhenShownModally([](IForm& window) {
        auto* page = static_cast<TScriptedPage*>(PageScript().Active);
        page->Button("CancelBtn")->Handle()->Click(); // declined: the container stays
        page->Button("ProceedBtn")->Handle()->Click();
        window.PressKey(FormKey::Escape); // the cancel button of page 6: confirmed
    });
    EXPECT_THROW(Driver()->Broadcast(msg::BeforeInstall, nullptr), EAIUserAbort);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(PageScript().Log, Shown({5, 6}));
    EXPECT_EQ(DialogsState().RunningManager, nullptr);
    EXPECT_TRUE(DialogsState().Forms.empty());
}

TEST_F(DialogManagerTest, AnErrorInAPageEndsTheStageAndReachesTheBadEndOnce) {
    RegisterPageForm<TPage<5>>();
    RegisterPageForm<TPage<10, dmAfterBadInstall>>();
    LoadManagers({dmBeforeInstall, dmAfterBadInstall});
    PageScript().ProceedThrows = true;
    int containers = 0;
    fake_.Gui().WhenShownModally([&](IForm&) {
        ++containers;
        auto* page = static_cast<TScriptedPage*>(PageScript().Active);
        if (page->Order == 10)
            PageScript().ProceedThrows = false;
        page->Button("ProceedBtn")->Handle()->Click();
    });
    // As the main form's activation runs it: what escapes goes to the application.
    try {
        Driver()->Install();
    } catch (...) {
        Application().HandleException(std::current_exception());
    }
    EXPECT_EQ(containers, 2);
    EXPECT_EQ(PageScript().Log, Shown({5, 10}));
    ASSERT_EQ(fake_.Gui().Boxes().size(), 1u);
    EXPECT_EQ(fake_.Gui().Boxes()[0].Text, "page handler failed");
    EXPECT_EQ(DialogsState().RunningManager, nullptr);
    EXPECT_TRUE(DialogsState().Forms.empty());
}

TEST_F(DialogManagerTest, ProgressWindowsOpenAtTheFirstStatusAndCloseAtTheEnd) {
    RegisterProgressForm<TCountingProgress>();
    LoadManagers({dmDuringCopyFiles});
    TFileStatusParameter status;
    status.FileName = "app.exe";
    TDownloadStatusParameter download(10, "files.1", 100, 10);
    Driver()->Broadcast(msg::Progress, &status);
    Driver()->Broadcast(msg::DownloadProgressShown, &download);
    ASSERT_EQ(Manager(0)->ProgressWindows().size(), 1u);
    EXPECT_TRUE(Manager(0)->ProgressWindows()[0]->Visible());
    Driver()->Broadcast(msg::PassEnded, nullptr);
    EXPECT_TRUE(Manager(0)->ProgressWindows().empty());
    EXPECT_EQ(PageScript().Log, (std::vector<std::string>{"file app.exe", "download files.1"}));
}

TEST_F(DialogManagerTest, TheChangeDiskWindowMarksTheRequestAndItsCancelAborts) {
    RegisterChangeDiskForm<TAnsweringChangeDisk>();
    TTestForm* form = LoadManagers({dmChangeDisk});
    auto* file = new TInstallFile(form);
    TDiskParameter disk(2, "A:");
    TFileDiskList list(file, &disk);
    TAnsweringChangeDisk::Answer = mrOk;
    Driver()->Broadcast(msg::DiskNeeded, &list);
    EXPECT_EQ(file->Tag, 1);
    EXPECT_EQ(TAnsweringChangeDisk::Disk, 2);
    TAnsweringChangeDisk::Answer = mrAbort;
    EXPECT_THROW(Driver()->Broadcast(msg::DiskNeeded, &list), EAIUserAbort);
    EXPECT_EQ(DialogsState().RunningManager, nullptr);
    EXPECT_TRUE(DialogsState().Forms.empty());
}

TEST_F(DialogManagerTest, EveryMessageWhereItOccurs) {
    TTestForm* form = LoadManagers({dmDuringCopyFiles, dmChangeDisk});
    RegisterChangeDiskForm<TAnsweringChangeDisk>();
    auto* file = new TInstallFile(form);
    TDiskParameter disk(2, "A:");
    TFileStatusParameter status;
    TDownloadStatusParameter download(1, "f", 1, 1);
    struct Case {
        std::function<void()> Run;
        std::string Message;
    };
    const std::vector<Case> cases{
        {[&] { Manager(0)->FillPages(nullptr); }, "The current dialog manager is not defined"},
        {[&] { Manager(0)->AddDialog(nullptr); }, "Cannot add a NIL Dialog to the Dialog Manager Manager0"},
        {[&] { Manager(0)->HandleInstallMessage(Driver(), msg::Progress, nullptr); },
         "Manager0 got a nil PO parameter"},
        {[&] { Manager(0)->HandleInstallMessage(Driver(), msg::Progress, &download); },
         "The PO object passed to Manager0 is not a TFileStatusParameter object"},
        {[&] { Manager(0)->HandleInstallMessage(Driver(), msg::DownloadProgressShown, &status); },
         "The PO object passed to Manager0 is not a TDownloadStatusParameter object"},
        {[&] { Manager(1)->ShowChangeDisk(nullptr); },
         "The ParameterObject is Nil in the TDialogManager. Cannot show the change disk form"},
        {[&] { Manager(1)->ShowChangeDisk(&status); }, "TChangeDiskDlg--PO is not a TList object"},
        {[&] {
             TFileDiskList half(file, nullptr);
             Manager(1)->ShowChangeDisk(&half);
         },
         "TChangeDiskDlg--Not engouh parameters for status event"},
        {[&] {
             TFileDiskList wrong(&status, &disk);
             Manager(1)->ShowChangeDisk(&wrong);
         },
         "TChangeDiskDlg says bad first parameter"},
        {[&] {
             TCustomBaseInstallDlg dialog(nullptr);
             dialog.SetName("WelcomeDlg");
             dialog.AssignDialogProperties();
         },
         "Cannot AssignDialogProperties for WelcomeDlg because the Dialog is Nil"},
        {[&] { DialogsState().Pages->Items(0); }, "0 is an invalid index in the BIFList"},
        {[&] {
             RegisterPageForm(nullptr);
             DialogsState().Pages->Items(0);
         },
         "The 0 'th entry in the BIFList is NIL"},
        {[&] {
             DialogsState().Pages.reset();
             TRunningManager running(Manager(0));
             Manager(0)->FillPages(nullptr);
         },
         "The BIFList is NIL"},
    };
    for (const Case& c : cases) {
        try {
            c.Run();
            ADD_FAILURE() << "no error: " << c.Message;
        } catch (const std::exception& e) {
            EXPECT_EQ(e.what(), c.Message);
        }
        EXPECT_EQ(DialogsState().RunningManager, nullptr) << c.Message;
    }
}

TEST(PlaceWindowTest, NinePositionsWithOffsets) {
    const TScreenMetrics screen{1024, 768, 19};
    const Bounds size{0, 0, 478, 395};
    struct Case {
        TPellmoorDialogPosition Position;
        int Left, Top;
    };
    using enum TPellmoorDialogPosition;
    // Offsets 10, 20. Centred: 1024/2 - 478/2 = 273, 768/2 - 395/2 = 186.5, rounded to even 186.
    const Case cases[] = {
        {pdpCenterLeft, 10, 206}, {pdpCenter, 283, 206},       {pdpCenterRight, 536, 206},
        {pdpBottomLeft, 10, 334}, {pdpBottomCenter, 283, 334}, {pdpBottomRight, 536, 334},
        {pdpTopLeft, 10, 20},     {pdpTopCenter, 283, 20},     {pdpTopRight, 536, 20},
    };
    for (const Case& c : cases) {
        const Bounds placed = PlaceWindow(c.Position, 10, 20, size, screen);
        EXPECT_EQ(placed, (Bounds{c.Left, c.Top, 478, 395}))
            << DialogPositionNames().Names[static_cast<int>(c.Position)];
    }
    // Halves round to even: 187.5 goes to 188.
    EXPECT_EQ(PlaceWindow(pdpCenter, 0, 0, {0, 0, 478, 393}, screen).Top, 188);
}

} // namespace sw::test
