#include "platform/fake/FakeForm.h"
#include "platform/fake/FakeGui.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

struct Events : IFormEvents {
    void OnActivate() override { log += "A"; }
    void OnClose() override { log += "C"; }
    void OnResize() override { log += "R"; }
    void OnTab(bool backward) override { log += backward ? "<" : ">"; }
    std::string log;
};

TEST(FakeGui, MessageBoxesAnswerFromTheQueueAndAreRecorded) {
    fake::FakeGui gui;
    gui.QueueAnswer(id::Cancel);
    gui.QueueAnswer(id::Yes);
    EXPECT_EQ(gui.MessageBox("Please insert disk #2", "Setup", mb::OkCancel | mb::IconInformation), id::Cancel);
    EXPECT_EQ(gui.MessageBox("Restart now?", "Setup", mb::YesNo), id::Yes);
    EXPECT_EQ(gui.MessageBox("Done", "", mb::Ok), id::Ok);
    ASSERT_EQ(gui.Boxes().size(), 3u);
    EXPECT_EQ(gui.Boxes()[0].Text, "Please insert disk #2");
    EXPECT_EQ(gui.Boxes()[0].Caption, "Setup");
    EXPECT_EQ(gui.Boxes()[0].Flags, mb::OkCancel | mb::IconInformation);
    EXPECT_EQ(gui.Boxes()[2].Text, "Done");
}

TEST(FakeGui, EveryCallIsRecorded) {
    fake::FakeGui gui;
    Events events;
    gui.SetTitle("Setup");
    auto form = gui.CreateForm("Main", {1, 2, 3, 4}, events);
    form->Show(ShowState::Maximized);
    form->SetCaption("Other");
    gui.SetCursor(CursorKind::Hourglass);
    EXPECT_EQ(gui.Cursor(), CursorKind::Hourglass);
    form.reset();
    EXPECT_EQ(gui.Calls(),
              (std::vector<std::string>{"SetTitle Setup", "CreateForm Main 1,2,3,4", "Show Main Maximized",
                                        "SetCaption Main Other", "SetCursor Hourglass", "DestroyForm Other"}));
    EXPECT_EQ(gui.Title(), "Setup");
}

TEST(FakeGui, PostedEventsArriveInOrderAndDieWithTheirForm) {
    fake::FakeGui gui;
    Events first, second;
    auto a = gui.CreateForm("A", {}, first);
    auto b = gui.CreateForm("B", {}, second);
    a->Show(ShowState::Normal);
    gui.Post(*a, fake::FakeGui::FormEvent::Resize);
    gui.Post(*b, fake::FakeGui::FormEvent::Close);
    gui.Post(*a, fake::FakeGui::FormEvent::Close);
    b.reset();
    gui.RunMessageLoop();
    EXPECT_EQ(first.log, "ARC");
    EXPECT_EQ(second.log, "");
    EXPECT_FALSE(gui.Terminated());
    a->Show(ShowState::Hidden);
    a->Show(ShowState::Normal);
    gui.ProcessMessages();
    EXPECT_EQ(first.log, "ARC");
}

TEST(FakeGui, TabKeysReachTheFormAfterWhatWasQueuedBefore) {
    fake::FakeGui gui;
    Events events;
    auto form = gui.CreateForm("A", {}, events);
    gui.Post(*form, fake::FakeGui::FormEvent::Resize);
    form->PressTab(false);
    form->PressTab(true);
    EXPECT_EQ(events.log, "R><");
    EXPECT_EQ(gui.Calls().back(), "PressTab backward A");
}

TEST(FakeGui, UserActionsWaitForALoopThatWaitsForInput) {
    fake::FakeGui gui;
    Events events;
    auto form = gui.CreateForm("A", {}, events);
    gui.Post([&] { events.log += "u"; });
    gui.Post(*form, fake::FakeGui::FormEvent::Resize);
    gui.ProcessMessages();
    EXPECT_EQ(events.log, "R");
    gui.RunUntil([] { return false; });
    EXPECT_EQ(events.log, "Ru");
}

TEST(FakeGui, EachModalFormMeetsTheUserInTurn) {
    fake::FakeGui gui;
    Events mainEvents, outerEvents, innerEvents;
    auto main = gui.CreateForm("Main", {}, mainEvents);
    auto outer = gui.CreateForm("Outer", {}, outerEvents);
    auto inner = gui.CreateForm("Inner", {}, innerEvents, {FormStyle{}, outer.get(), nullptr});
    main->Show(ShowState::Normal);
    std::vector<std::string> seen;
    bool innerDone = false, outerDone = false;
    gui.WhenShownModally([&](IForm& form) {
        seen.push_back(form.Caption() + (main->Enabled() ? " main enabled" : " main disabled"));
        if (&form == outer.get()) {
            inner->Show(ShowState::Normal);
            gui.RunModal(*inner, [&] { return innerDone; });
            outerDone = true;
        } else {
            EXPECT_FALSE(outer->Enabled() && outer->Visible());
            innerDone = true;
        }
    });
    outer->Show(ShowState::Normal);
    gui.RunModal(*outer, [&] { return outerDone; });
    EXPECT_EQ(seen, (std::vector<std::string>{"Outer main disabled", "Inner main disabled"}));
    EXPECT_TRUE(main->Enabled());
    EXPECT_EQ(static_cast<fake::FakeForm*>(inner.get())->Owner(), outer.get());
}

TEST(FakeGui, TerminateStopsDeliveryAndTheLoop) {
    fake::FakeGui gui;
    Events events;
    auto form = gui.CreateForm("A", {}, events);
    gui.Post(*form, fake::FakeGui::FormEvent::Resize);
    gui.Terminate();
    gui.RunMessageLoop();
    gui.ProcessMessages();
    EXPECT_EQ(events.log, "");
    EXPECT_TRUE(gui.Terminated());
}

} // namespace
