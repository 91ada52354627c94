// Push buttons, check boxes, radio buttons and the progress bar.
#include "platform/win32/Win32ChildControl.h"

#include <algorithm>

namespace sw::win32 {

namespace {

WindowStyle ButtonStyle(ControlKind kind) {
    switch (kind) {
    case ControlKind::CheckBox:
        return {"BUTTON", BS_CHECKBOX | WS_TABSTOP, 0};
    case ControlKind::RadioButton:
        return {"BUTTON", BS_RADIOBUTTON, 0};
    default:
        return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    }
}

// Clicking a box only notifies: its owner checks it.
class Win32Button : public Win32ChildControl {
  public:
    explicit Win32Button(const ChildSpec& spec) : Win32ChildControl(spec, ButtonStyle(spec.Kind)) {}

    bool Checked() override { return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(bool checked) override {
        SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }

  protected:
    bool Command(WORD code) override {
        if (code == BN_CLICKED)
            Notify(&IControlEvents::OnClick);
        return true;
    }
};

// Windows 95's progress bar cannot tell its position: the last one set is kept.
class Win32ProgressBar : public Win32ChildControl {
  public:
    explicit Win32ProgressBar(const ChildSpec& spec)
        : Win32ChildControl(spec, {PROGRESS_CLASSA, 0, WS_EX_CLIENTEDGE}) {}

    void SetRange(int min, int max) override {
        min_ = min;
        max_ = std::max(min, max);
        SendMessageA(hwnd_, PBM_SETRANGE, 0, MAKELPARAM(min_, max_));
        SetPosition(position_);
    }

    void SetPosition(int position) override {
        Win32ChildControl::SetPosition(position);
        SendMessageA(hwnd_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
    }
};

} // namespace

std::unique_ptr<Win32ChildControl> CreateButtonControl(const ChildSpec& spec) {
    if (spec.Kind == ControlKind::ProgressBar)
        return std::make_unique<Win32ProgressBar>(spec);
    return std::make_unique<Win32Button>(spec);
}

} // namespace sw::win32
