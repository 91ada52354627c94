#include "platform/fake/FakeGui.h"

#include "platform/fake/FakeControl.h"
#include "platform/fake/FakeForm.h"

#include "platform/PlatformErrors.h"

#include <algorithm>

namespace sw::fake {

FakeGui::~FakeGui() = default;

void FakeGui::Post(IForm& form, FormEvent event) {
    auto it = std::find(forms_.begin(), forms_.end(), &form);
    if (it != forms_.end())
        queue_.push_back({*it, event, {}});
}

void FakeGui::Post(std::function<void()> action) { userActions_.push_back(std::move(action)); }

IControl* FakeGui::FindControl(const std::string& name) {
    FakeControl* front = nullptr;
    int frontStacking = 0;
    IControl* any = nullptr;
    for (FakeForm* form : forms_) {
        auto* found = static_cast<FakeControl*>(form->FindControl(name));
        if (!found)
            continue;
        if (!any)
            any = found;
        if (found->Showing() && (!front || form->Stacking() > frontStacking)) {
            front = found;
            frontStacking = form->Stacking();
        }
    }
    return front ? front : any;
}

IControl* FakeGui::FindControl(const std::string& formCaption, const std::string& name) {
    FakeForm* form = FindForm(formCaption);
    return form ? form->FindControl(name) : nullptr;
}

FakeForm* FakeGui::FindForm(const std::string& caption) {
    for (FakeForm* form : forms_)
        if (form->Caption() == caption)
            return form;
    return nullptr;
}

int FakeGui::CaptionHeight() { return FakeForm::kCaptionHeight; }

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

std::unique_ptr<IForm> FakeGui::CreateForm(const std::string& caption, const Bounds& bounds, IFormEvents& events,
                                           const FormOptions& options) {
    auto find = [&](IForm* wanted, const char* role) -> FakeForm* {
        if (!wanted)
            return nullptr;
        auto it = std::find(forms_.begin(), forms_.end(), wanted);
        if (it == forms_.end())
            throw EPlatformError("The " + std::string(role) + " of " + caption + " is not a form of this GUI");
        return *it;
    };
    FakeForm* owner = find(options.Owner, "owner");
    FakeForm* host = find(options.Host, "host");
    std::string record = "CreateForm " + caption + " " + BoundsText(bounds);
    if (host)
        record += " in " + host->Caption();
    else if (owner)
        record += " owned by " + owner->Caption();
    Record(record);
    auto form = std::make_unique<FakeForm>(*this, caption, bounds, events, options.Style, host ? nullptr : owner, host);
    forms_.push_back(form.get());
    return form;
}

void FakeGui::Forget(FakeForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    for (FakeForm* other : forms_)
        other->Orphan(form);
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
        case FormEvent::Enter:
        case FormEvent::Escape:
            events.OnKey(pending.event == FormEvent::Enter ? FormKey::Enter : FormKey::Escape);
            break;
        }
    } catch (...) {
        if (!HandlesErrors())
            throw;
        handler_(std::current_exception());
    }
}

void FakeGui::DeliverWhile(const std::function<bool()>& go, bool waits) {
    while (!terminated_ && go()) {
        Pending next;
        if (!queue_.empty()) {
            next = queue_.front();
            queue_.pop_front();
        } else if (waits && !userActions_.empty()) {
            next = {nullptr, FormEvent::Activate, std::move(userActions_.front())};
            userActions_.pop_front();
        } else {
            break;
        }
        Deliver(next);
    }
}

void FakeGui::RunMessageLoop() {
    Record("RunMessageLoop");
    DeliverWhile([] { return true; }, true);
}

void FakeGui::ProcessMessages() {
    DeliverWhile([] { return true; }, false);
}

namespace {
struct ModalDepth {
    int& depth;
    explicit ModalDepth(int& d) : depth(++d) {}
    ~ModalDepth() { --depth; }
    ModalDepth(const ModalDepth&) = delete;
    ModalDepth& operator=(const ModalDepth&) = delete;
};
} // namespace

void FakeGui::RunUntil(const std::function<bool()>& done) {
    ModalDepth modal(modalDepth_);
    DeliverWhile([&] { return !done(); }, true);
}

void FakeGui::RunModal(IForm& form, const std::function<bool()>& done) {
    auto it = std::find(forms_.begin(), forms_.end(), &form);
    if (it == forms_.end())
        throw EPlatformError("The modal form is not a form of this GUI");
    FakeForm* modal = *it;
    Record("RunModal " + modal->Caption());
    std::vector<FakeForm*> disabled;
    for (FakeForm* other : forms_)
        if (other != modal && !other->Host() && other->Visible() && other->Enabled()) {
            other->SetEnabled(false);
            disabled.push_back(other);
        }
    struct Enable {
        FakeGui& gui;
        std::vector<FakeForm*>& forms;
        ~Enable() {
            for (FakeForm* f : forms)
                if (std::find(gui.forms_.begin(), gui.forms_.end(), f) != gui.forms_.end())
                    f->SetEnabled(true);
        }
    } enable{*this, disabled};
    ModalDepth depth(modalDepth_);
    auto go = [&] { return !done(); };
    DeliverWhile(go, false);
    if (whenShownModally_ && !terminated_ && go())
        Deliver({nullptr, FormEvent::Activate, [&] { whenShownModally_(*modal); }});
    DeliverWhile(go, true);
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
