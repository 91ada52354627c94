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
        // BS_NOTIFY: the button tells of its focus, so that the default look can follow it.
        return {"BUTTON", BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP, 0};
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

    void SetDefault(bool on) override {
        default_ = on;
        if (!PushButtonFocused())
            ShowDefault(on);
    }

    bool DrawnAsDefault() override {
        return kind_ == ControlKind::Button && (GetWindowLongA(hwnd_, GWL_STYLE) & kTypeMask) == BS_DEFPUSHBUTTON;
    }

  protected:
    // As in a dialog: the focused push button shows the default look, and
    // the form's default button again once no push button has the focus.
    bool Command(WORD code) override {
        if (code == BN_CLICKED)
            Notify(&IControlEvents::OnClick);
        if (kind_ == ControlKind::Button && (code == BN_SETFOCUS || code == BN_KILLFOCUS))
            for (IControl* c : FormControls())
                if (auto* button = dynamic_cast<Win32Button*>(c); button && button->kind_ == ControlKind::Button)
                    button->ShowDefault(code == BN_SETFOCUS ? button == this : button->default_);
        return true;
    }

  private:
    static constexpr LONG kTypeMask = 0x0F; // BS_TYPEMASK

    void ShowDefault(bool on) {
        if (kind_ != ControlKind::Button || DrawnAsDefault() == on)
            return;
        LONG style = GetWindowLongA(hwnd_, GWL_STYLE) & 0xFFFF & ~kTypeMask;
        SendMessageA(hwnd_, BM_SETSTYLE, static_cast<WPARAM>(style | (on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)), TRUE);
    }

    bool PushButtonFocused() const {
        HWND focus = GetFocus();
        for (IControl* c : FormControls())
            if (auto* button = dynamic_cast<Win32Button*>(c);
                button && button->kind_ == ControlKind::Button && button->hwnd_ == focus)
                return true;
        return false;
    }

    bool default_ = false;
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
