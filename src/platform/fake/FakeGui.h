// A headless GUI for tests. Every call is recorded; message boxes take their
// answers from a queue; form events wait in a queue that the message loop
// and ProcessMessages deliver. What a user does waits in a queue of its own
// that only a waiting loop (RunMessageLoop, RunUntil) takes from, once the
// events are delivered. The message loop never blocks: it returns when
// terminated or when nothing is queued.
#pragma once

#include "platform/Gui.h"

#include <deque>
#include <vector>

namespace sw::fake {

class FakeForm;
class FakeControl;

class FakeGui : public IGui {
  public:
    enum class FormEvent { Activate, Close, Resize, Tab, ShiftTab, Enter, Escape };

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
    // Runs while each message box is shown, before it is answered: what a
    // user does meanwhile (swapping a disk, ...).
    void WhileBoxShown(std::function<void(const Box&)> action) { whileBoxShown_ = std::move(action); }
    const std::vector<Box>& Boxes() const { return boxes_; }
    // Every call made, one line each ("CreateForm Setup", "Show Setup Normal", ...).
    const std::vector<std::string>& Calls() const { return calls_; }
    CursorKind Cursor() const { return cursor_; }
    // Queues an event for a form, as a user or the system would cause it.
    void Post(IForm& form, FormEvent event);
    // Queues something a user does (pressing a button of a modal form, ...),
    // run when a loop waits for input, never by ProcessMessages.
    void Post(std::function<void()> action);
    // Runs inside each modal loop, for its form, before anything the user
    // queued: what the user does in that form.
    void WhenShownModally(std::function<void(IForm&)> action) { whenShownModally_ = std::move(action); }
    // A living control by name: the one shown in front (embedded forms
    // brought to the front last win), else any; none when there is none.
    IControl* FindControl(const std::string& name);
    // The living control of that name in the form of that caption.
    IControl* FindControl(const std::string& formCaption, const std::string& name);
    FakeForm* FindForm(const std::string& caption);
    IControl* FocusedControl() const;
    void SetScreenSize(int width, int height);

    std::string Title() override { return title_; }
    void SetTitle(const std::string& title) override;
    using IGui::CreateForm;
    std::unique_ptr<IForm> CreateForm(const std::string& caption, const Bounds& bounds, IFormEvents& events,
                                      const FormOptions& options) override;
    int ScreenWidth() override { return screenWidth_; }
    int ScreenHeight() override { return screenHeight_; }
    // FakeForm::kCaptionHeight.
    int CaptionHeight() override;
    // Every character is half the font's pixel height wide, every line 2 pixels
    // taller than the font.
    Bounds MeasureText(const FontSpec& font, const std::string& text, int wrapWidth) override;
    void RunMessageLoop() override;
    void ProcessMessages() override;
    // Returns also when nothing is queued.
    void RunUntil(const std::function<bool()>& done) override;
    void RunModal(IForm& form, const std::function<bool()>& done) override;
    void Terminate() override;
    bool Terminated() override { return terminated_; }
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    void SetCursor(CursorKind cursor) override;
    void SetExceptionHandler(std::function<void(std::exception_ptr)> handler) override;

  private:
    friend class FakeForm;
    friend class FakeControl;
    struct Pending {
        FakeForm* form;
        FormEvent event;
        std::function<void()> action; // instead of a form event
    };

    void Record(std::string call) { calls_.push_back(std::move(call)); }
    void Forget(FakeForm* form);
    void Deliver(const Pending& pending);
    // Delivers the events, then (when `waits`) the user's actions, while `go`.
    void DeliverWhile(const std::function<bool()>& go, bool waits);
    int NextStacking() { return ++stacking_; }
    // Whether an exception of a handler goes to the handler: outside modal loops.
    bool HandlesErrors() const { return handler_ && modalDepth_ == 0; }

    std::string title_;
    int screenWidth_ = 1024;
    int screenHeight_ = 768;
    bool terminated_ = false;
    CursorKind cursor_ = CursorKind::Default;
    std::deque<int> answers_;
    std::function<void(const Box&)> whileBoxShown_;
    std::vector<Box> boxes_;
    std::vector<std::string> calls_;
    std::deque<Pending> queue_;
    std::deque<std::function<void()>> userActions_;
    std::function<void(IForm&)> whenShownModally_;
    int modalDepth_ = 0;
    int stacking_ = 0;
    std::vector<FakeForm*> forms_;
    FakeControl* focused_ = nullptr;
    FakeControl* mouseHolder_ = nullptr; // a painted control pressed on, until every button is up
    FakeControl* pressed_ = nullptr;     // the left button went down on it
    std::function<void(std::exception_ptr)> handler_;
};

} // namespace sw::fake
