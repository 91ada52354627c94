#include "platform/fake/FakeGui.h"

#include "platform/fake/FakeControl.h"
#include "platform/fake/FakeForm.h"

#include <algorithm>

namespace sw::fake {

FakeGui::~FakeGui() = default;

void FakeGui::Post(IForm& form, FormEvent event) {
    auto it = std::find(forms_.begin(), forms_.end(), &form);
    if (it != forms_.end())
        queue_.push_back({*it, event, {}});
}

void FakeGui::Post(std::function<void()> action) {
    queue_.push_back({nullptr, FormEvent::Activate, std::move(action)});
}

IControl* FakeGui::FindControl(const std::string& name) {
    for (FakeForm* form : forms_)
        if (IControl* found = form->FindControl(name))
            return found;
    return nullptr;
}

IControl* FakeGui::FocusedControl() const { return focused_; }

Bounds FakeGui::MeasureText(const FontSpec& font, const std::string& text, int wrapWidth) {
    int pixels = font.Size < 0 ? -font.Size * 96 / 72 : (font.Size * 96 + 36) / 72;
    int charWidth = (pixels + 1) / 2, lineHeight = pixels + 2;
    std::vector<int> lines{0}; // characters per line
    std::string word;
    auto place = [&](int length) {
        if (wrapWidth > 0 && lines.back() > 0 && (lines.back() + 1 + length) * charWidth > wrapWidth)
            lines.push_back(0);
        lines.back() += (lines.back() > 0 ? 1 : 0) + length;
    };
    int pending = 0;
    bool any = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '&' && i + 1 < text.size() && text[i + 1] != '&')
            continue;
        if (c == '&')
            ++i;
        if (c == '\n') {
            if (any)
                place(pending);
            pending = 0;
            any = false;
            lines.push_back(0);
        } else if (c == ' ' && wrapWidth > 0) {
            place(pending);
            pending = 0;
            any = false;
        } else if (c != '\r') {
            ++pending;
            any = true;
        }
    }
    if (any || text.empty())
        place(text.empty() ? 1 : pending);
    int widest = 0;
    for (int n : lines)
        widest = std::max(widest, n * charWidth);
    return {0, 0, widest, static_cast<int>(lines.size()) * lineHeight};
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
    Record("CreateForm " + caption + " " + BoundsText(bounds));
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
        if (pending.action) {
            pending.action();
            return;
        }
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
        case FormEvent::Tab:
        case FormEvent::ShiftTab:
            events.OnTab(pending.event == FormEvent::ShiftTab);
            break;
        }
    } catch (...) {
        if (!handler_)
            throw;
        handler_(std::current_exception());
    }
}

void FakeGui::DeliverWhile(const std::function<bool()>& go) {
    while (!terminated_ && !queue_.empty() && go()) {
        Pending next = queue_.front();
        queue_.pop_front();
        Deliver(next);
    }
}

void FakeGui::RunMessageLoop() {
    Record("RunMessageLoop");
    DeliverWhile([] { return true; });
}

void FakeGui::ProcessMessages() {
    DeliverWhile([] { return true; });
}

void FakeGui::RunUntil(const std::function<bool()>& done) {
    DeliverWhile([&] { return !done(); });
}

void FakeGui::Terminate() {
    Record("Terminate");
    terminated_ = true;
}

int FakeGui::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    Record("MessageBox " + caption + ": " + text);
    boxes_.push_back({text, caption, flags});
    if (whileBoxShown_) {
        const Box shown = boxes_.back();
        whileBoxShown_(shown);
    }
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
