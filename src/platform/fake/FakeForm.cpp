#include "platform/fake/FakeForm.h"

#include "platform/BmpFile.h"
#include "platform/PlatformErrors.h"
#include "platform/fake/FakeControl.h"
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

const char* KindName(ControlKind kind) {
    static const char* const names[] = {"Static",      "Button",   "CheckBox", "RadioButton", "GroupBox",
                                        "Edit",        "Memo",     "RichEdit", "ListBox",     "ComboBox",
                                        "ProgressBar", "TreeView", "ListView", "TabStrip",    "Image",
                                        "Grid",        "Panel",    "Painted",  "PaintedPanel"};
    return names[static_cast<int>(kind)];
}

// 0x00RRGGBB of a colour, system colours as the fake canvas resolves them.
uint32_t Rgb(ColorRef color) {
    ColorRef c = FakeCanvas::ResolveColor(color);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Where a control lies in its form's client area.
Bounds InClient(const FakeControl& c) {
    Bounds b = c.GetBoundsConst();
    for (const FakeControl* p = c.Parent(); p; p = p->Parent()) {
        b.Left += p->GetBoundsConst().Left;
        b.Top += p->GetBoundsConst().Top;
    }
    return b;
}
} // namespace

std::string BoundsText(const Bounds& b) {
    return std::to_string(b.Left) + "," + std::to_string(b.Top) + "," + std::to_string(b.Width) + "," +
           std::to_string(b.Height);
}

FakeForm::FakeForm(FakeGui& gui, std::string caption, const Bounds& bounds, IFormEvents& events, const FormStyle& style,
                   FakeForm* owner, FakeForm* host)
    : gui_(gui), caption_(std::move(caption)), bounds_(bounds), restored_(bounds), events_(events), style_(style),
      owner_(owner), host_(host) {}

FakeForm::~FakeForm() {
    gui_.Record("DestroyForm " + caption_);
    gui_.Forget(this);
}

void FakeForm::Show(ShowState state) {
    gui_.Record("Show " + caption_ + " " + StateName(state));
    if (state == ShowState::Hidden) {
        visible_ = false;
        if (FakeControl* focused = gui_.focused_; focused && !focused->Showing())
            gui_.focused_ = nullptr;
        return;
    }
    if (state == ShowState::Maximized && !host_)
        bounds_ = {0, 0, gui_.ScreenWidth(), gui_.ScreenHeight()};
    else
        bounds_ = restored_;
    visible_ = true;
    stacking_ = gui_.NextStacking();
    // An embedded form is never active: its host is.
    if (!shown_ && !host_) {
        shown_ = true;
        gui_.queue_.push_back({this, FakeGui::FormEvent::Activate, {}});
    }
}

void FakeForm::SetBounds(const Bounds& bounds) {
    gui_.Record("SetBounds " + caption_ + " " + BoundsText(bounds));
    bounds_ = restored_ = bounds;
}

void FakeForm::SetCaption(const std::string& caption) {
    gui_.Record("SetCaption " + caption_ + " " + caption);
    caption_ = caption;
}

void FakeForm::Repaint() {
    gui_.Record("Repaint " + caption_);
    for (FakeControl* c : controls_)
        c->FormPainted();
}

void FakeForm::Update() {
    gui_.Record("Update " + caption_);
    for (FakeControl* c : controls_)
        if (c->Waiting())
            c->Repaint();
}

Bounds FakeForm::ClientBounds() {
    int frameWidth = Framed() ? kFrameWidth : 0, frameHeight = Framed() ? kFrameHeight : 0;
    return {0, 0, std::max(0, bounds_.Width - frameWidth), std::max(0, bounds_.Height - frameHeight)};
}

void FakeForm::SetClientSize(int width, int height) {
    int frameWidth = Framed() ? kFrameWidth : 0, frameHeight = Framed() ? kFrameHeight : 0;
    SetBounds({bounds_.Left, bounds_.Top, width + frameWidth, height + frameHeight});
}

std::unique_ptr<IControl> FakeForm::CreateControl(ControlKind kind, const std::string& name, IControl* parent,
                                                  const Bounds& bounds, IControlEvents& events) {
    FakeControl* owner = nullptr;
    if (parent) {
        auto it = std::find(controls_.begin(), controls_.end(), parent);
        if (it == controls_.end())
            throw EPlatformError("The parent of " + name + " is not a control of this form");
        owner = *it;
        if (owner->Kind() == ControlKind::Painted)
            throw EPlatformError("The painted control " + owner->Name() + " holds no controls");
    }
    gui_.Record("CreateControl " + name + " " + KindName(kind) + " " + BoundsText(bounds));
    auto control = std::make_unique<FakeControl>(gui_, *this, owner, kind, name, bounds, events);
    controls_.push_back(control.get());
    return control;
}

IControl* FakeForm::FindControl(const std::string& name) {
    for (FakeControl* c : controls_)
        if (c->Name() == name)
            return c;
    return nullptr;
}

// Each control shown as a box of its colour with a black frame; a painted
// control or panel shows the rectangles it fills (FillRect, filled
// Rectangle), inside its bounds.
std::string FakeForm::Capture() {
    Bounds client = ClientBounds();
    TPixels pixels(client.Width, client.Height, Rgb(kColorBtnFace));
    for (FakeControl* c : controls_) {
        if (!c->VisibleInForm())
            continue;
        Bounds b = InClient(*c);
        if (c->Kind() == ControlKind::Painted || c->Kind() == ControlKind::PaintedPanel) {
            c->Repaint();
            for (const CanvasOp& op : c->Drawn()) {
                std::optional<ColorRef> fill = op.What == CanvasOp::Kind::FillRect ? op.Color : op.Fill;
                if (op.What != CanvasOp::Kind::FillRect && op.What != CanvasOp::Kind::Rectangle)
                    continue;
                int left = std::max(op.Rect.Left, 0), top = std::max(op.Rect.Top, 0);
                int right = std::min(op.Rect.Left + op.Rect.Width, b.Width);
                int bottom = std::min(op.Rect.Top + op.Rect.Height, b.Height);
                if (fill && right > left && bottom > top)
                    pixels.FillRect(b.Left + left, b.Top + top, right - left, bottom - top, Rgb(*fill));
            }
            continue;
        }
        pixels.FillRect(b.Left, b.Top, b.Width, b.Height, Rgb(c->Color()));
        pixels.FrameRect(b.Left, b.Top, b.Width, b.Height, 0);
    }
    return pixels.ToBmp();
}

void FakeForm::SetTabOrder(const std::vector<IControl*>& controls) {
    tabOrder_.clear();
    for (IControl* c : controls) {
        auto it = std::find(controls_.begin(), controls_.end(), c);
        if (it == controls_.end())
            throw EPlatformError("The tab order names a control that is not of this form");
        tabOrder_.push_back(*it);
    }
}

FakeForm& FakeForm::KeyTarget() {
    FakeControl* focused = gui_.focused_;
    if (!focused)
        return *this;
    for (FakeForm* f = &focused->Form(); f; f = f->host_)
        if (f == this)
            return focused->Form();
    return *this;
}

// No headless control takes Tab itself: the form hears every one.
void FakeForm::PressTab(bool backward) {
    gui_.Record(std::string(backward ? "PressTab backward " : "PressTab ") + caption_);
    gui_.Post(KeyTarget(), backward ? FakeGui::FormEvent::ShiftTab : FakeGui::FormEvent::Tab);
    gui_.ProcessMessages();
}

// A focused push button takes Enter and is pressed; a memo keeps it.
void FakeForm::PressKey(FormKey key) {
    static const char* const names[] = {"Enter", "Escape", "AltF4"};
    gui_.Record(std::string("PressKey ") + names[static_cast<int>(key)] + " " + caption_);
    if (!enabled_)
        return;
    FakeForm& target = KeyTarget();
    FakeControl* focused = gui_.focused_ && &gui_.focused_->Form() == &target ? gui_.focused_ : nullptr;
    if (key == FormKey::AltF4) {
        FakeForm* top = this;
        while (top->host_)
            top = top->host_;
        gui_.Post(*top, FakeGui::FormEvent::Close);
    } else if (key == FormKey::Enter && focused && focused->Kind() == ControlKind::Button) {
        gui_.queue_.push_back({nullptr, FakeGui::FormEvent::Activate, [focused] { focused->Click(); }});
    } else if (key == FormKey::Enter && focused &&
               (focused->Kind() == ControlKind::Memo || focused->Kind() == ControlKind::RichEdit)) {
        return;
    } else {
        gui_.Post(target, key == FormKey::Enter ? FakeGui::FormEvent::Enter : FakeGui::FormEvent::Escape);
    }
    gui_.ProcessMessages();
}

void FakeForm::SetEnabled(bool enabled) {
    gui_.Record(std::string(enabled ? "Enable " : "Disable ") + caption_);
    enabled_ = enabled;
}

void FakeForm::BringToFront() {
    gui_.Record("BringToFront " + caption_);
    stacking_ = gui_.NextStacking();
}

void FakeForm::Orphan(FakeForm* gone) {
    if (owner_ == gone)
        owner_ = nullptr;
    if (host_ == gone) {
        host_ = nullptr;
        visible_ = false;
    }
}

void FakeForm::Forget(FakeControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabOrder_.erase(std::remove(tabOrder_.begin(), tabOrder_.end(), control), tabOrder_.end());
}

} // namespace sw::fake
