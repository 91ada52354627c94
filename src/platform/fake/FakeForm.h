// A headless top-level or embedded window and the controls made inside it.
#pragma once

#include "platform/Gui.h"

#include <vector>

namespace sw::fake {

class FakeGui;
class FakeControl;

// "left,top,width,height", as the call record writes bounds.
std::string BoundsText(const Bounds& b);

class FakeForm : public IForm {
  public:
    // The frame around the client area: borders and caption bar (what
    // Windows 98 gives a sizeable form with the standard metrics). A form
    // without a border, and an embedded one, has none.
    static constexpr int kCaptionHeight = 19;
    static constexpr int kFrameWidth = 8;
    static constexpr int kFrameHeight = kCaptionHeight + kFrameWidth;

    FakeForm(FakeGui& gui, std::string caption, const Bounds& bounds, IFormEvents& events, const FormStyle& style,
             FakeForm* owner, FakeForm* host);
    ~FakeForm() override;
    FakeForm(const FakeForm&) = delete;
    FakeForm& operator=(const FakeForm&) = delete;

    void Show(ShowState state) override;
    // Visible on its own account and, embedded, with its host.
    bool Visible() override { return visible_ && (!host_ || host_->Visible()); }
    Bounds GetBounds() override { return bounds_; }
    void SetBounds(const Bounds& bounds) override;
    std::string Caption() override { return caption_; }
    void SetCaption(const std::string& caption) override;
    void SetCharset(int charset) override { charset_ = charset; }
    int Charset() const { return charset_; }
    void Repaint() override;
    // Recorded; paints the controls of the form that wait to be painted.
    void Update() override;
    Bounds ClientBounds() override;
    void SetClientSize(int width, int height) override;
    std::unique_ptr<IControl> CreateControl(ControlKind kind, const std::string& name, IControl* parent,
                                            const Bounds& bounds, IControlEvents& events) override;
    IControl* FindControl(const std::string& name) override;
    std::string Capture() override;
    void SetTabOrder(const std::vector<IControl*>& controls) override;
    void PressTab(bool backward) override;
    void PressKey(FormKey key) override;
    bool Enabled() override { return enabled_; }
    void SetEnabled(bool enabled) override;
    void BringToFront() override;

    const FormStyle& Style() const { return style_; }
    FakeForm* Owner() const { return owner_; }
    FakeForm* Host() const { return host_; }
    // Higher is in front: raised by showing and BringToFront.
    int Stacking() const { return stacking_; }
    // A form going away: it owns or hosts this one no more (a hosted form
    // left behind is hidden, as its window would be gone).
    void Orphan(FakeForm* gone);

    IFormEvents& Events() { return events_; }
    // Living controls in creation order.
    const std::vector<FakeControl*>& Controls() const { return controls_; }
    // The living controls in the tab order last given.
    const std::vector<FakeControl*>& TabOrder() const { return tabOrder_; }
    void Forget(FakeControl* control);

  private:
    bool Framed() const { return !host_ && style_.Border != FormBorder::None; }
    // The form a key pressed in this one goes to: the embedded form the focus is in, else this.
    FakeForm& KeyTarget();

    FakeGui& gui_;
    std::string caption_;
    int charset_ = 1; // DEFAULT_CHARSET
    Bounds bounds_;
    Bounds restored_;
    IFormEvents& events_;
    FormStyle style_;
    FakeForm* owner_;
    FakeForm* host_;
    bool visible_ = false;
    bool shown_ = false;
    bool enabled_ = true;
    int stacking_ = 0;
    std::vector<FakeControl*> controls_;
    std::vector<FakeControl*> tabOrder_;
};

} // namespace sw::fake
