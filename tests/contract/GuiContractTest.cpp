#include "ContractBackends.h"

#include <stdexcept>

using namespace sw;

namespace {

struct Counter : IFormEvents {
    void OnActivate() override {
        ++activations;
        if (throwOnActivate)
            throw std::runtime_error("activation failed");
        if (terminateOn)
            terminateOn->Terminate();
    }
    void OnClose() override { ++closes; }
    void OnResize() override { ++resizes; }
    void OnTab(bool) override {}

    int activations = 0;
    int closes = 0;
    int resizes = 0;
    bool throwOnActivate = false;
    IGui* terminateOn = nullptr;
};

template <typename Backend> class GuiContract : public ::testing::Test {
  protected:
    IGui& gui() { return backend.Gui(); }

    // Lets the messages that showing a window causes arrive and run.
    void Settle() {
        for (int i = 0; i < 5; ++i) {
            gui().ProcessMessages();
#ifdef _WIN32
            if constexpr (Backend::Real)
                Sleep(20);
#endif
        }
    }

    Backend backend;
    Counter events;
};

TYPED_TEST_SUITE(GuiContract, contract::Backends, contract::BackendNames);

TYPED_TEST(GuiContract, FormKeepsCaptionAndBounds) {
    auto form = this->gui().CreateForm("Setup", {10, 20, 400, 300}, this->events);
    EXPECT_EQ(form->Caption(), "Setup");
    EXPECT_EQ(form->GetBounds(), (Bounds{10, 20, 400, 300}));
    EXPECT_FALSE(form->Visible());
    form->SetCaption("My product Setup");
    EXPECT_EQ(form->Caption(), "My product Setup");
    form->SetBounds({30, 40, 500, 350});
    EXPECT_EQ(form->GetBounds(), (Bounds{30, 40, 500, 350}));
    EXPECT_GT(this->gui().ScreenWidth(), 0);
    EXPECT_GT(this->gui().ScreenHeight(), 0);
}

TYPED_TEST(GuiContract, ShowingDeliversOneActivationThroughTheMessageLoop) {
    auto form = this->gui().CreateForm("Setup", {10, 20, 400, 300}, this->events);
    form->Show(ShowState::Normal);
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(this->events.activations, 0);
    this->Settle();
    EXPECT_EQ(this->events.activations, 1);
    form->Repaint();
    this->Settle();
    EXPECT_EQ(this->events.activations, 1);
}

TYPED_TEST(GuiContract, MaximizedCoversTheScreenAndHiddenIsInvisible) {
    auto form = this->gui().CreateForm("Backdrop", {10, 20, 400, 300}, this->events);
    form->Show(ShowState::Maximized);
    this->Settle();
    Bounds b = form->GetBounds();
    EXPECT_LE(b.Left, 0);
    EXPECT_LE(b.Top, 0);
    EXPECT_GE(b.Width, this->gui().ScreenWidth());
    EXPECT_GE(b.Height, this->gui().ScreenHeight() * 9 / 10);
    form->Show(ShowState::Hidden);
    EXPECT_FALSE(form->Visible());
    form->Show(ShowState::Normal);
    EXPECT_EQ(form->GetBounds(), (Bounds{10, 20, 400, 300}));
}

TYPED_TEST(GuiContract, TerminateEndsTheMessageLoop) {
    auto form = this->gui().CreateForm("Setup", {10, 20, 400, 300}, this->events);
    this->events.terminateOn = &this->gui();
    form->Show(ShowState::Normal);
    EXPECT_FALSE(this->gui().Terminated());
    this->gui().RunMessageLoop();
    EXPECT_TRUE(this->gui().Terminated());
    EXPECT_EQ(this->events.activations, 1);
    this->gui().RunMessageLoop();
    EXPECT_TRUE(this->gui().Terminated());
}

TYPED_TEST(GuiContract, HandlerExceptionsGoToTheApplicationHandler) {
    auto form = this->gui().CreateForm("Setup", {10, 20, 400, 300}, this->events);
    this->events.throwOnActivate = true;
    std::string caught;
    this->gui().SetExceptionHandler([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& ex) {
            caught = ex.what();
        }
    });
    form->Show(ShowState::Normal);
    this->Settle();
    EXPECT_EQ(caught, "activation failed");
}

TYPED_TEST(GuiContract, WithoutAHandlerTheExceptionLeavesProcessMessages) {
    auto form = this->gui().CreateForm("Setup", {10, 20, 400, 300}, this->events);
    this->events.throwOnActivate = true;
    form->Show(ShowState::Normal);
    EXPECT_THROW(this->Settle(), std::runtime_error);
    EXPECT_EQ(this->events.activations, 1);
}

} // namespace
