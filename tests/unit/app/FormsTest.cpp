#include "controls/Forms.h"
#include "platform/fake/FakePlatform.h"
#include "project/Errors.h"
#include "support/ProgramStateForTests.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

struct FormsTest : ::testing::Test {
    fake::FakePlatform fake;
    ScopedPlatform installed{fake.Get()};
    void TearDown() override { test::RenewProgramState(); }
};

TEST_F(FormsTest, ShowingTheMainFormDeliversOneActivationThroughTheLoop) {
    auto* form = Application().CreateForm<TForm>();
    form->SetCaption("Setup");
    form->SetLeft(10);
    form->SetWidth(300);
    int activations = 0;
    form->OnActivate = TNotifyEvent("FormActivate", [&](TPersistent* sender) {
        EXPECT_EQ(sender, form);
        ++activations;
    });
    Application().Run();
    EXPECT_EQ(activations, 1);
    ASSERT_NE(form->Window(), nullptr);
    EXPECT_EQ(form->Window()->Caption(), "Setup");
    EXPECT_EQ(form->Window()->GetBounds().Left, 10);
    EXPECT_EQ(form->Window()->GetBounds().Width, 300);
    form->SetTop(-480); // moving a shown form moves its window
    EXPECT_EQ(form->Window()->GetBounds().Top, -480);
}

TEST_F(FormsTest, ExceptionsFromHandlersReachTheApplicationsHandler) {
    auto* form = Application().CreateForm<TForm>();
    form->OnActivate = TNotifyEvent("FormActivate", [](TPersistent*) { throw Exception("went wrong"); });
    Application().SetTitle("Demo Installation");
    Application().Run();
    ASSERT_EQ(fake.Gui().Boxes().size(), 1u);
    EXPECT_EQ(fake.Gui().Boxes()[0].Text, "went wrong");
    EXPECT_EQ(fake.Gui().Boxes()[0].Caption, "Demo Installation");

    std::string seen;
    Application().OnException = [&](std::exception_ptr e) { seen = ExceptionText(e); };
    form->OnActivate = TNotifyEvent("FormActivate", [](TPersistent*) { throw Exception("again"); });
    fake.Gui().Post(*form->Window(), fake::FakeGui::FormEvent::Activate);
    Application().ProcessMessages();
    EXPECT_EQ(seen, "again");
    EXPECT_EQ(fake.Gui().Boxes().size(), 1u);
}

TEST_F(FormsTest, ClosingTheMainFormEndsTheApplication) {
    auto* form = Application().CreateForm<TForm>();
    form->Show();
    EXPECT_FALSE(Application().Terminated());
    fake.Gui().Post(*form->Window(), fake::FakeGui::FormEvent::Close);
    Application().ProcessMessages();
    EXPECT_TRUE(Application().Terminated());
}

TEST_F(FormsTest, AMaximizedFormIsShownMaximized) {
    auto* form = Application().CreateForm<TForm>();
    form->SetCaption("Main");
    form->Show();
    form->SetWindowState(TWindowState::wsMaximized);
    const auto& calls = fake.Gui().Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Show Main Maximized"), calls.end())
        << ::testing::PrintToString(calls);
}

} // namespace
} // namespace sw
