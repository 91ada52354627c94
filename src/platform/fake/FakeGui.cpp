#include "platform/fake/FakeGui.h"

#include <algorithm>

namespace sw::fake {

namespace {
const char* StateName(ShowState state) {
    switch (state) {
    case ShowState::Normal:
        return "Normal";
    case ShowState::Maximized:
        return "Maximized";
    case ShowState::Hidden:
        return "Hidden";
    }
    return "?";
}

std::string Text(const Bounds& b) {
    return std::to_string(b.Left) + "," + std::to_string(b.Top) + "," + std::to_string(b.Width) + "," +
           std::to_string(b.Height);
}
} // namespace

class FakeForm : public IForm {
  public:
    FakeForm(FakeGui& gui, std::string caption, const Bounds& bounds, IFormEvents& events)
        : gui_(gui), caption_(std::move(caption)), bounds_(bounds), restored_(bounds), events_(events) {}

    ~FakeForm() override {
        gui_.Record("DestroyForm " + caption_);
        gui_.Forget(this);
    }

    void Show(ShowState state) override {
        gui_.Record("Show " + caption_ + " " + StateName(state));
        if (state == ShowState::Hidden) {
            visible_ = false;
            return;
        }
        if (state == ShowState::Maximized)
            bounds_ = {0, 0, gui_.ScreenWidth(), gui_.ScreenHeight()};
        else
            bounds_ = restored_;
        visible_ = true;
        if (!shown_) {
            shown_ = true;
            gui_.queue_.push_back({this, FakeGui::FormEvent::Activate});
        }
    }

    bool Visible() override { return visible_; }
    Bounds GetBounds() override { return bounds_; }

    void SetBounds(const Bounds& bounds) override {
        gui_.Record("SetBounds " + caption_ + " " + Text(bounds));
        bounds_ = restored_ = bounds;
    }

    std::string Caption() override { return caption_; }

    void SetCaption(const std::string& caption) override {
        gui_.Record("SetCaption " + caption_ + " " + caption);
        caption_ = caption;
    }

    void Repaint() override { gui_.Record("Repaint " + caption_); }

    IFormEvents& Events() { return events_; }

  private:
    FakeGui& gui_;
    std::string caption_;
    Bounds bounds_;
    Bounds restored_;
    IFormEvents& events_;
    bool visible_ = false;
    bool shown_ = false;
};

FakeGui::~FakeGui() = default;

void FakeGui::Post(IForm& form, FormEvent event) {
    auto it = std::find(forms_.begin(), forms_.end(), &form);
    if (it != forms_.end())
        queue_.push_back({*it, event});
}

void FakeGui::SetScreenSize(int width, int height) {
    screenWidth_ = width;
    screenHeight_ = height;
}

void FakeGui::SetTitle(const std::string& title) {
    Record("SetTitle " + title);
    title_ = title;
}

std::unique_ptr<IForm> FakeGui::CreateForm(const std::string& caption, const Bounds& bounds, IFormEvents& events) {
    Record("CreateForm " + caption + " " + Text(bounds));
    auto form = std::make_unique<FakeForm>(*this, caption, bounds, events);
    forms_.push_back(form.get());
    return form;
}

void FakeGui::Forget(FakeForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [&](const Pending& p) { return p.form == form; }),
                 queue_.end());
}

void FakeGui::Deliver(const Pending& pending) {
    try {
        IFormEvents& events = pending.form->Events();
        switch (pending.event) {
        case FormEvent::Activate:
            events.OnActivate();
            break;
        case FormEvent::Close:
            events.OnClose();
            break;
        case FormEvent::Resize:
            events.OnResize();
            break;
        }
    } catch (...) {
        if (!handler_)
            throw;
        handler_(std::current_exception());
    }
}

void FakeGui::RunMessageLoop() {
    Record("RunMessageLoop");
    while (!terminated_ && !queue_.empty()) {
        Pending next = queue_.front();
        queue_.pop_front();
        Deliver(next);
    }
}

void FakeGui::ProcessMessages() {
    while (!terminated_ && !queue_.empty()) {
        Pending next = queue_.front();
        queue_.pop_front();
        Deliver(next);
    }
}

void FakeGui::Terminate() {
    Record("Terminate");
    terminated_ = true;
}

int FakeGui::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    Record("MessageBox " + caption + ": " + text);
    boxes_.push_back({text, caption, flags});
    if (answers_.empty())
        return id::Ok;
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void FakeGui::SetCursor(CursorKind cursor) {
    Record(cursor == CursorKind::Hourglass ? "SetCursor Hourglass" : "SetCursor Default");
    cursor_ = cursor;
}

void FakeGui::SetExceptionHandler(std::function<void(std::exception_ptr)> handler) { handler_ = std::move(handler); }

} // namespace sw::fake
