// A headless top-level window and the controls made inside it.
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
    // The frame around the client area: borders and caption bar.
    static constexpr int kFrameWidth = 8;
    static constexpr int kFrameHeight = 27;

    FakeForm(FakeGui& gui, std::string caption, const Bounds& bounds, IFormEvents& events);
    ~FakeForm() override;
    FakeForm(const FakeForm&) = delete;
    FakeForm& operator=(const FakeForm&) = delete;

    void Show(ShowState state) override;
    bool Visible() override { return visible_; }
    Bounds GetBounds() override { return bounds_; }
    void SetBounds(const Bounds& bounds) override;
    std::string Caption() override { return caption_; }
    void SetCaption(const std::string& caption) override;
    void Repaint() override;
    Bounds ClientBounds() override;
    void SetClientSize(int width, int height) override;
    std::unique_ptr<IControl> CreateControl(ControlKind kind, const std::string& name, IControl* parent,
                                            const Bounds& bounds, IControlEvents& events) override;
    IControl* FindControl(const std::string& name) override;
    std::string Capture() override;
    void SetTabOrder(const std::vector<IControl*>& controls) override;
    void PressTab(bool backward) override;

    IFormEvents& Events() { return events_; }
    // Living controls in creation order.
    const std::vector<FakeControl*>& Controls() const { return controls_; }
    // The living controls in the tab order last given.
    const std::vector<FakeControl*>& TabOrder() const { return tabOrder_; }
    void Forget(FakeControl* control);

  private:
    FakeGui& gui_;
    std::string caption_;
    Bounds bounds_;
    Bounds restored_;
    IFormEvents& events_;
    bool visible_ = false;
    bool shown_ = false;
    std::vector<FakeControl*> controls_;
    std::vector<FakeControl*> tabOrder_;
};

} // namespace sw::fake
