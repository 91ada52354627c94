// A headless GUI for tests. Every call is recorded; message boxes take their
// answers from a queue; form events wait in a queue that the message loop
// and ProcessMessages deliver. The message loop never blocks: it returns when
// terminated or when nothing is queued.
#pragma once

#include "platform/Gui.h"

#include <deque>
#include <vector>

namespace sw::fake {

class FakeForm;

class FakeGui : public IGui {
  public:
    enum class FormEvent { Activate, Close, Resize };

    struct Box {
        std::string Text;
        std::string Caption;
        unsigned Flags;
    };

    // Forms must be destroyed before the GUI that made them.
    FakeGui() = default;
    ~FakeGui() override;
    FakeGui(const FakeGui&) = delete;
    FakeGui& operator=(const FakeGui&) = delete;

    // Answers for the next message boxes, in order; id::Ok when none is queued.
    void QueueAnswer(int answer) { answers_.push_back(answer); }
    const std::vector<Box>& Boxes() const { return boxes_; }
    // Every call made, one line each ("CreateForm Setup", "Show Setup Normal", ...).
    const std::vector<std::string>& Calls() const { return calls_; }
    CursorKind Cursor() const { return cursor_; }
    // Queues an event for a form, as a user or the system would cause it.
    void Post(IForm& form, FormEvent event);
    void SetScreenSize(int width, int height);

    std::string Title() override { return title_; }
    void SetTitle(const std::string& title) override;
    std::unique_ptr<IForm> CreateForm(const std::string& caption, const Bounds& bounds, IFormEvents& events) override;
    int ScreenWidth() override { return screenWidth_; }
    int ScreenHeight() override { return screenHeight_; }
    void RunMessageLoop() override;
    void ProcessMessages() override;
    void Terminate() override;
    bool Terminated() override { return terminated_; }
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    void SetCursor(CursorKind cursor) override;
    void SetExceptionHandler(std::function<void(std::exception_ptr)> handler) override;

  private:
    friend class FakeForm;
    struct Pending {
        FakeForm* form;
        FormEvent event;
    };

    void Record(std::string call) { calls_.push_back(std::move(call)); }
    void Forget(FakeForm* form);
    void Deliver(const Pending& pending);

    std::string title_;
    int screenWidth_ = 1024;
    int screenHeight_ = 768;
    bool terminated_ = false;
    CursorKind cursor_ = CursorKind::Default;
    std::deque<int> answers_;
    std::vector<Box> boxes_;
    std::vector<std::string> calls_;
    std::deque<Pending> queue_;
    std::vector<FakeForm*> forms_;
    std::function<void(std::exception_ptr)> handler_;
};

} // namespace sw::fake
