// Forms as windows on each backend: modal loops and the errors that end them,
// the other forms disabled meanwhile, Enter, Escape and Alt+F4, frames and
// placement, and forms embedded in a host as pages are.
#include "ContractBackends.h"
#include "controls/Edits.h"
#include "controls/Forms.h"
#include "controls/StdCtrls.h"
#include "platform/BmpFile.h"
#include "platform/fake/FakeForm.h"
#include "project/Errors.h"
#include "support/ProgramStateForTests.h"

#include <cstdlib>
#include <deque>
#include <fstream>
#include <memory>
#include <stdexcept>

using namespace sw;

namespace {

struct Page {
    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TButton* proceed = nullptr;
    TButton* cancel = nullptr;
    int proceeded = 0;
    int cancelled = 0;
};

template <typename Backend> class FormWindowContract : public ::testing::Test {
  protected:
    FormWindowContract() : installed(backend.platform.Get()) {}
    ~FormWindowContract() override { test::RenewProgramState(); }

    IGui& gui() { return backend.Gui(); }

    // A form of the application with an edit, a default ProceedBtn (mrOk)
    // and a cancel CancelBtn (mrCancel).
    Page& MakePage(const std::string& name, TCustomForm* host = nullptr) {
        Page& p = pages.emplace_back();
        p.form = Application().CreateForm<TForm>();
        p.form->SetName(name);
        p.form->SetCaption(name);
        p.form->SetBounds({40, 40, 320, 200});
        if (host)
            p.form->SetHostForm(host);
        p.edit = Add<TEdit>(p.form, "NameEdit", {8, 8, 200, 21});
        p.proceed = Add<TButton>(p.form, "ProceedBtn", {8, 120, 75, 25});
        p.proceed->SetCaption("&Next >");
        p.proceed->Default = true;
        p.proceed->ModalResult = mrOk;
        p.proceed->OnClick = TNotifyEvent("ProceedClick", [&p](TPersistent*) { ++p.proceeded; });
        p.cancel = Add<TButton>(p.form, "CancelBtn", {96, 120, 75, 25});
        p.cancel->SetCaption("Cancel");
        p.cancel->Cancel = true;
        p.cancel->ModalResult = mrCancel;
        p.cancel->OnClick = TNotifyEvent("CancelClick", [&p](TPersistent*) { ++p.cancelled; });
        return p;
    }

    template <class T> T* Add(TForm* form, const std::string& name, const Bounds& bounds) {
        auto* c = new T(form);
        c->SetName(name);
        c->SetParent(form);
        c->SetBounds(bounds);
        return c;
    }

    // Runs `action` once, at the form's first activation (from the message loop).
    static void OnFirstActivation(TForm* form, std::function<void()> action) {
        auto once = std::make_shared<bool>(false);
        form->OnActivate = TNotifyEvent("Activate", [once, action](TPersistent*) {
            if (!*once) {
                *once = true;
                action();
            }
        });
    }

    void Settle() {
        for (int i = 0; i < 5; ++i) {
            gui().ProcessMessages();
#ifdef _WIN32
            if constexpr (Backend::Real)
                Sleep(20);
#endif
        }
    }

    // The whole window, frame included, as a BMP under SW_SHOT_DIR (Win32 only).
    void KeepShot([[maybe_unused]] const std::string& caption, [[maybe_unused]] const std::string& file) {
#ifdef _WIN32
        const char* dir = std::getenv("SW_SHOT_DIR");
        if constexpr (Backend::Real) {
            if (!dir)
                return;
            for (int i = 0; i < 3; ++i) {
                gui().ProcessMessages();
                Sleep(30);
            }
            HWND w = FindWindowA("SetwrightForm", caption.c_str());
            RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
            RECT r{};
            GetWindowRect(w, &r);
            int width = r.right - r.left, height = r.bottom - r.top;
            HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
            HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
            HGDIOBJ old = SelectObject(memory, bitmap);
            BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
            SelectObject(memory, old);
            BITMAPINFO info{};
            info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
            std::string rows(static_cast<size_t>((width * 3 + 3) & ~3) * static_cast<size_t>(height), '\0');
            GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
            DeleteObject(bitmap);
            DeleteDC(memory);
            ReleaseDC(nullptr, screen);
            std::ofstream(std::string(dir) + "\\" + file, std::ios::binary) << BmpFile(width, height, rows);
        }
#endif
    }

    Backend backend;
    ScopedPlatform installed;
    std::deque<Page> pages;
};

TYPED_TEST_SUITE(FormWindowContract, contract::Backends, contract::BackendNames);

// How a handler's error arises inside the modal loop of "Dialog".
enum class Raised { ByAClick, ByAKeyInProcessMessages, InANestedModalForm };

TYPED_TEST(FormWindowContract, AHandlersErrorInAModalLoopLeavesShowModalOnceAndNotTheHandler) {
    for (Raised way : {Raised::ByAClick, Raised::ByAKeyInProcessMessages, Raised::InANestedModalForm}) {
        SCOPED_TRACE(static_cast<int>(way));
        Page& main = this->MakePage("Main" + std::to_string(static_cast<int>(way)));
        main.form->Show();
        this->Settle();
        Page& dialog = this->MakePage("Dialog");
        Page& inner = this->MakePage("Inner");
        auto fail = [](TPersistent*) { throw std::runtime_error("pressed"); };
        dialog.proceed->OnClick = TNotifyEvent("Fail", fail);
        inner.proceed->OnClick = TNotifyEvent("Fail", fail);
        int handled = 0;
        this->gui().SetExceptionHandler([&](std::exception_ptr) { ++handled; });
        bool afterKey = false;
        this->OnFirstActivation(dialog.form, [&] {
            if (way == Raised::ByAClick) {
                dialog.form->Window()->FindControl("ProceedBtn")->Click();
            } else if (way == Raised::ByAKeyInProcessMessages) {
                dialog.edit->SetFocus();
                dialog.form->Window()->PressKey(FormKey::Enter);
                afterKey = true;
            } else {
                inner.form->ShowModal();
            }
        });
        this->OnFirstActivation(inner.form, [&] { inner.form->Window()->FindControl("ProceedBtn")->Click(); });
        int caught = 0;
        try {
            dialog.form->ShowModal();
        } catch (const std::runtime_error& e) {
            ++caught;
            EXPECT_STREQ(e.what(), "pressed");
        }
        EXPECT_EQ(caught, 1);
        EXPECT_EQ(handled, 0);
        EXPECT_FALSE(afterKey);
        EXPECT_FALSE(dialog.form->Visible());
        EXPECT_FALSE(inner.form->Visible());
        EXPECT_TRUE(main.form->Window()->Enabled());
        // Outside modal loops the handler hears the errors again.
        this->Settle();
        main.proceed->OnClick = TNotifyEvent("Fail", fail);
        main.edit->SetFocus();
        main.form->Window()->PressKey(FormKey::Enter);
        EXPECT_EQ(handled, 1);
        this->gui().SetExceptionHandler({});
        test::RenewProgramState();
        this->pages.clear();
    }
}

TYPED_TEST(FormWindowContract, AModalLoopThatEndsWithoutAResultGivesAbort) {
    Page& dialog = this->MakePage("Dialog");
    this->OnFirstActivation(dialog.form, [] { Application().Terminate(); });
    EXPECT_EQ(dialog.form->ShowModal(), mrAbort);
    EXPECT_FALSE(dialog.form->Visible());
    EXPECT_EQ(dialog.form->ShowModal(), mrAbort); // terminated: at once
}

TYPED_TEST(FormWindowContract, AModalFormDisablesTheOtherFormsWhileItRuns) {
    Page& main = this->MakePage("Main");
    main.form->Show();
    Page& progress = this->MakePage("Progress");
    progress.form->Show();
    this->Settle();
    EXPECT_TRUE(main.form->Window()->Enabled());
    EXPECT_TRUE(progress.form->Window()->Enabled());
    Page& disk = this->MakePage("ChangeDisk");
    std::vector<bool> during;
    this->OnFirstActivation(disk.form, [&] {
        during = {main.form->Window()->Enabled(), progress.form->Window()->Enabled(), disk.form->Window()->Enabled()};
        disk.form->Window()->PressKey(FormKey::Escape);
    });
    EXPECT_EQ(disk.form->ShowModal(), mrCancel);
    EXPECT_EQ(during, (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(main.form->Window()->Enabled());
    EXPECT_TRUE(progress.form->Window()->Enabled());
    if constexpr (!TypeParam::Real) {
        EXPECT_EQ(static_cast<fake::FakeForm*>(progress.form->Window())->Owner(), main.form->Window());
        EXPECT_EQ(static_cast<fake::FakeForm*>(disk.form->Window())->Owner(), progress.form->Window());
    }
}

// A modal dialog disables its owners: a user's click on one of their
// controls, or on a page embedded in one, does nothing until it ends.
TYPED_TEST(FormWindowContract, ControlsOfADisabledFormTakeNoClicks) {
    Page& main = this->MakePage("Main");
    TForm* host = Application().CreateForm<TForm>();
    host->SetName("Container");
    host->SetCaption("Container");
    host->SetBounds({60, 60, 478, 395});
    Page& page = this->MakePage("Welcome", host);
    page.form->BorderStyle = TFormBorderStyle::bsNone;
    page.form->Show();
    host->Show();
    main.form->Show();
    this->Settle();
    Page& dialog = this->MakePage("Dialog");
    this->OnFirstActivation(dialog.form, [&] {
        main.form->Window()->FindControl("ProceedBtn")->Click();
        page.form->Window()->FindControl("CancelBtn")->Click();
        dialog.form->Window()->FindControl("ProceedBtn")->Click();
    });
    EXPECT_EQ(dialog.form->ShowModal(), mrOk);
    EXPECT_EQ(dialog.proceeded, 1);
    EXPECT_EQ(main.proceeded, 0);
    EXPECT_EQ(page.cancelled, 0);
    main.form->Window()->FindControl("ProceedBtn")->Click();
    page.form->Window()->FindControl("CancelBtn")->Click();
    EXPECT_EQ(main.proceeded, 1);
    EXPECT_EQ(page.cancelled, 1);
    TComponent::Free(host);
}

// The default look follows the focus as in a dialog: the focused push button
// has it, the default button again once the focus is elsewhere.
TYPED_TEST(FormWindowContract, TheDefaultButtonsLookFollowsTheFocus) {
    Page& main = this->MakePage("Main");
    main.form->Show();
    this->Settle();
    IControl* proceed = main.proceed->Handle();
    IControl* cancel = main.cancel->Handle();
    auto looks = [&] { return std::vector<bool>{proceed->DrawnAsDefault(), cancel->DrawnAsDefault()}; };
    main.edit->SetFocus();
    EXPECT_EQ(looks(), (std::vector<bool>{true, false}));
    main.cancel->SetFocus();
    EXPECT_EQ(looks(), (std::vector<bool>{false, true}));
    this->KeepShot("Main", "default-look-on-cancel.bmp");
    main.proceed->SetFocus();
    EXPECT_EQ(looks(), (std::vector<bool>{true, false}));
    main.edit->SetFocus();
    EXPECT_EQ(looks(), (std::vector<bool>{true, false}));
    this->KeepShot("Main", "default-look.bmp");
    EXPECT_FALSE(main.edit->Handle()->DrawnAsDefault());
}

TYPED_TEST(FormWindowContract, EnterEscapeAndAltF4EndAModalFormAsItsButtonsAndCloseQuerySay) {
    struct Case {
        const char* name;
        const char* focus;
        FormKey key;
        bool closeConsents;
        int32_t result;
        int proceeded, cancelled, closes;
    };
    const Case cases[] = {
        {"Enter in an edit presses the default button", "NameEdit", FormKey::Enter, true, mrOk, 1, 0, 0},
        {"Enter on a focused button presses it", "CancelBtn", FormKey::Enter, true, mrCancel, 0, 1, 0},
        {"Escape presses the cancel button", "NameEdit", FormKey::Escape, true, mrCancel, 0, 1, 0},
        {"Alt+F4 with consent closes with mrCancel", "NameEdit", FormKey::AltF4, true, mrCancel, 0, 0, 1},
        {"Alt+F4 refused keeps the form; Enter ends it", "NameEdit", FormKey::AltF4, false, mrOk, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Page& dialog = this->MakePage("Keys");
        int queries = 0, closes = 0;
        bool keptAfterRefusal = false;
        dialog.form->OnCloseQuery = TEvent<TPersistent*, bool&>("Query", [&](TPersistent*, bool& canClose) {
            ++queries;
            canClose = c.closeConsents;
        });
        dialog.form->OnClose = TNotifyEvent("Closed", [&](TPersistent*) { ++closes; });
        this->OnFirstActivation(dialog.form, [&] {
            static_cast<TWinControl*>(dialog.form->FindComponent(c.focus))->SetFocus();
            this->KeepShot("Keys", "keys-dialog.bmp");
            dialog.form->Window()->PressKey(c.key);
            if (!c.closeConsents) {
                keptAfterRefusal = dialog.form->Visible() && dialog.form->ModalResult() == mrNone;
                dialog.form->Window()->PressKey(FormKey::Enter);
            }
        });
        EXPECT_EQ(dialog.form->ShowModal(), c.result);
        EXPECT_EQ(dialog.proceeded, c.proceeded);
        EXPECT_EQ(dialog.cancelled, c.cancelled);
        EXPECT_EQ(closes, c.closes);
        EXPECT_EQ(queries, c.key == FormKey::AltF4 ? 1 : 0);
        EXPECT_EQ(keptAfterRefusal, !c.closeConsents);
        test::RenewProgramState();
        this->pages.clear();
    }
}

TYPED_TEST(FormWindowContract, BorderStyleAndIconsShapeTheFrameAndScreenCenterCentres) {
    struct Case {
        TFormBorderStyle style;
        uint32_t icons;
        bool framed;
    };
    const uint32_t all = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
    const Case cases[] = {{TFormBorderStyle::bsSizeable, all, true},
                          {TFormBorderStyle::bsDialog, all, true},
                          {TFormBorderStyle::bsSingle, 1u << biMinimize, true},
                          {TFormBorderStyle::bsNone, all, false}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        Page& p = this->MakePage("Frame" + std::to_string(n++));
        p.form->BorderStyle = c.style;
        p.form->BorderIcons = c.icons;
        p.form->Position = TPosition::poScreenCenter;
        p.form->Show();
        this->Settle();
        Bounds b = p.form->Window()->GetBounds(), client = p.form->Window()->ClientBounds();
        EXPECT_EQ(b.Left, (this->gui().ScreenWidth() - 320) / 2);
        EXPECT_EQ(b.Top, (this->gui().ScreenHeight() - 200) / 2);
        EXPECT_EQ(client.Width < b.Width && client.Height < b.Height - this->gui().CaptionHeight(), c.framed);
        EXPECT_EQ(client.Width == b.Width, !c.framed);
        this->KeepShot(p.form->Caption(), "frame-" + std::to_string(static_cast<int>(c.style)) + ".bmp");
        FormStyle expected{static_cast<FormBorder>(c.style), (c.icons & 1u) != 0, (c.icons & 2u) != 0,
                           (c.icons & 4u) != 0, false};
        if constexpr (!TypeParam::Real) {
            EXPECT_EQ(static_cast<fake::FakeForm*>(p.form->Window())->Style(), expected);
        } else {
#ifdef _WIN32
            LONG style = GetWindowLongA(FindWindowA("SetwrightForm", p.form->Caption().c_str()), GWL_STYLE);
            EXPECT_EQ((style & WS_SYSMENU) != 0, c.framed && expected.SystemMenu);
            EXPECT_EQ((style & WS_THICKFRAME) != 0, c.style == TFormBorderStyle::bsSizeable);
            EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, c.framed);
            EXPECT_EQ((style & WS_MAXIMIZEBOX) != 0, c.style == TFormBorderStyle::bsSizeable);
#endif
        }
    }
    EXPECT_GT(this->gui().CaptionHeight(), 0);
}

// A caption is text of the code page of the form's font's character set,
// given before the window is made or after, and before its font or after.
TYPED_TEST(FormWindowContract, CaptionsAreInTheCodePageOfTheFormsCharacterSet) {
    struct Case {
        int charset;
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {0, "Choix des composants \340 installer", L"Choix des composants \u00E0 installer"}, // 1252
        {128, "\x82\xE6\x82\xA4\x82\xBB\x82\xB1\x82\xBB", L"\u3088\u3046\u305D\u3053\u305D"}, // 932
    };
    int n = 0;
    for (const Case& c : cases) {
        for (bool live : {false, true}) {
            SCOPED_TRACE(testing::Message() << "charset " << c.charset << (live ? ", live" : ", before"));
            Page& p = this->MakePage("Caption" + std::to_string(n++));
            if (live)
                p.form->Show();
            p.form->Font()->SetCharset(c.charset);
            p.form->SetCaption(c.bytes);
            p.form->Show();
            EXPECT_EQ(p.form->Window()->Caption(), c.bytes);
            if constexpr (!TypeParam::Real) {
                EXPECT_EQ(static_cast<fake::FakeForm*>(p.form->Window())->Charset(), c.charset);
            } else {
#ifdef _WIN32
                EXPECT_NE(FindWindowW(L"SetwrightForm", c.text.c_str()), nullptr);
#endif
            }
            // Another character set shows the same bytes as its characters.
            p.form->Font()->SetCharset(204);
            EXPECT_EQ(p.form->Window()->Caption(), c.bytes);
        }
    }
}

TYPED_TEST(FormWindowContract, EmbeddedPagesKeepTheirOwnControlsAndKeys) {
    Page& main = this->MakePage("Main");
    TForm* host = Application().CreateForm<TForm>();
    host->SetName("Container");
    host->SetCaption("Container");
    host->SetBounds({60, 60, 478, 395});
    host->BorderStyle = TFormBorderStyle::bsDialog;
    host->BorderIcons = 0;
    main.form->Show();
    host->HandleNeeded();
    Bounds area = host->ClientRect();
    Page& welcome = this->MakePage("Welcome", host);
    Page& folder = this->MakePage("Folder", host);
    for (Page* p : {&welcome, &folder}) {
        p->form->BorderStyle = TFormBorderStyle::bsNone;
        p->form->SetBounds(area);
        p->form->Show();
    }
    host->Show();
    this->Settle();
    IControl* welcomeNext = welcome.form->Window()->FindControl("ProceedBtn");
    IControl* folderNext = folder.form->Window()->FindControl("ProceedBtn");
    ASSERT_TRUE(welcomeNext && folderNext);
    EXPECT_NE(welcomeNext, folderNext);
    EXPECT_EQ(host->Window()->FindControl("ProceedBtn"), nullptr);
    EXPECT_EQ(folder.form->Window()->GetBounds(), area);
    EXPECT_EQ(folder.form->ClientWidth(), area.Width);
    EXPECT_TRUE(folder.form->Visible());

    folder.edit->SetFocus();
    host->Window()->PressKey(FormKey::Enter);
    host->Window()->PressKey(FormKey::Escape);
    EXPECT_EQ(folder.proceeded, 1);
    EXPECT_EQ(folder.cancelled, 1);
    EXPECT_EQ(welcome.proceeded + welcome.cancelled, 0);
    EXPECT_EQ(folder.form->ModalResult(), mrCancel);
    host->Window()->PressTab(false);
    EXPECT_TRUE(folder.proceed->Focused());
    this->KeepShot("Container", "embedded-pages.bmp");
    EXPECT_THROW(folder.form->ShowModal(), EComponentError);

    if constexpr (!TypeParam::Real) {
        auto& fake = static_cast<fake::FakeGui&>(this->gui());
        EXPECT_EQ(fake.FindControl("ProceedBtn"), folderNext);
        welcome.form->BringToFront();
        EXPECT_EQ(fake.FindControl("ProceedBtn"), welcomeNext);
        EXPECT_EQ(fake.FindControl("Folder", "ProceedBtn"), folderNext);
    }
    // The host goes first: the pages' windows go before its own.
    TComponent::Free(host);
    EXPECT_EQ(welcome.form->Window(), nullptr);
    EXPECT_EQ(folder.form->Window(), nullptr);
    EXPECT_EQ(welcome.form->EmbeddedIn(), nullptr);
}

} // namespace
