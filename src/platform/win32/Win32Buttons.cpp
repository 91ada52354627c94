// Push buttons, check boxes, radio buttons and the progress bar.
#include "platform/BmpFile.h"
#include "platform/win32/Win32Bitmaps.h"
#include "platform/win32/Win32ChildControl.h"

#include <algorithm>
#include <optional>

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

// The button class's own window procedure, under ours once a push button
// has a glyph.
WNDPROC buttonProcedure = nullptr;
LRESULT CALLBACK ButtonProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Clicking a box only notifies: its owner checks it.
class Win32Button : public Win32ChildControl {
  public:
    explicit Win32Button(const ChildSpec& spec) : Win32ChildControl(spec, ButtonStyle(spec.Kind)) {}

    // A push button's glyph: the system draws the button, then the glyph and
    // the caption are drawn again side by side, centred together.
    void SetPicture(const std::string& bmp, bool) override {
        if (kind_ != ControlKind::Button)
            return;
        glyph_ = bmp;
        if (!glyph_.empty() && !subclassed_) {
            WNDPROC previous =
                reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ButtonProcedure)));
            if (previous != &ButtonProcedure)
                buttonProcedure = previous;
            subclassed_ = true;
        }
        Invalidate();
    }

    LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
        LRESULT result = CallWindowProcA(buttonProcedure, hwnd_, message, wParam, lParam);
        // The button draws itself outside WM_PAINT too (pressed, focused).
        if (!glyph_.empty() && (message == WM_PAINT || message == BM_SETSTATE || message == WM_SETFOCUS ||
                                message == WM_KILLFOCUS || message == WM_ENABLE || message == BM_SETSTYLE ||
                                message == WM_SETTEXT || message == WM_LBUTTONUP)) {
            HDC dc = GetDC(hwnd_);
            PaintGlyph(dc);
            ReleaseDC(hwnd_, dc);
        }
        return result;
    }

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

    void PaintGlyph(HDC dc) {
        std::optional<BmpSize> size = BmpDimensions(glyph_);
        if (!size)
            return;
        RECT r;
        GetClientRect(hwnd_, &r);
        const std::string text = Text();
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
        HGDIOBJ oldFont = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
        RECT measured{0, 0, 0, 0};
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
        const int textWidth = measured.right - measured.left, textHeight = measured.bottom - measured.top;
        constexpr int spacing = 4, inset = 4;
        const bool pushed = (SendMessageA(hwnd_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        const int shift = pushed ? 1 : 0;
        // Where the system centred the caption, and where the pair goes.
        const int width = r.right - r.left, height = r.bottom - r.top;
        const int group = size->Width + spacing + textWidth;
        // A caption too wide to go beside the glyph (a long translation) stays alone, as the system drew it.
        if (group > width - 2 * inset) {
            SelectObject(dc, oldFont);
            return;
        }
        const int left = std::max(inset, (width - group) / 2) + shift;
        const int textTop = (height - textHeight) / 2 + shift;
        RECT clear{std::min(left, (width - textWidth) / 2) - 1, std::min(textTop, (height - size->Height) / 2) - 1,
                   std::max(left + group, (width + textWidth) / 2 + 1) + 2,
                   std::max(textTop + textHeight, (height + size->Height) / 2) + 2};
        const RECT inside{inset, inset, width - inset, height - inset};
        IntersectRect(&clear, &clear, &inside);
        FillRect(dc, &clear, GetSysColorBrush(COLOR_BTNFACE));
        std::optional<uint32_t> corner = BmpPixel(glyph_, 0, size->Height - 1);
        std::optional<ColorRef> mask;
        if (corner)
            mask = RGB((*corner >> 16) & 0xFF, (*corner >> 8) & 0xFF, *corner & 0xFF);
        {
            Win32Canvas canvas(dc);
            canvas.Draw(left, (height - size->Height) / 2 + shift, glyph_, mask);
        }
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd_) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        RECT textRect{left + size->Width + spacing, textTop, left + group + 1, textTop + textHeight};
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_LEFT);
        SelectObject(dc, oldFont);
    }

    bool default_ = false;
    std::string glyph_;
    bool subclassed_ = false;
};

LRESULT CALLBACK ButtonProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* button = dynamic_cast<Win32Button*>(Win32ChildControl::Of(hwnd)))
        return button->Procedure(message, wParam, lParam);
    return CallWindowProcA(buttonProcedure, hwnd, message, wParam, lParam);
}

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
