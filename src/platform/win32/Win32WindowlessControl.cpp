// Painted controls without a window of their own. The parent window (form,
// panel or group box) is subclassed once it holds one: after its own
// WM_PAINT has drawn its background, each painted control inside draws
// itself in creation order, the later over the earlier, clipped to its
// bounds and to the area being painted, with 0,0 at its top left. Child
// windows stay on top of them all. The parent's mouse messages go to the
// uppermost painted control under the mouse; a press captures the mouse for
// that control until every button is up.
#include "platform/PlatformErrors.h"
#include "platform/win32/Win32Bitmaps.h"
#include "platform/win32/Win32ChildControl.h"
#include "platform/win32/Win32Gui.h"

#include <algorithm>
#include <memory>

namespace sw::win32 {

namespace {

class Win32WindowlessControl;

// A window that paints painted controls, with its own procedure under ours.
struct Host {
    HWND Window;
    WNDPROC Original;
    std::vector<Win32WindowlessControl*> Controls;
    Win32WindowlessControl* Holder = nullptr;  // holds the mouse since a press
    Win32WindowlessControl* Pressed = nullptr; // the left button went down on it
};

std::vector<std::unique_ptr<Host>> hosts;

LRESULT CALLBACK HostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

Host& HostOf(HWND window) {
    for (auto& host : hosts)
        if (host->Window == window)
            return *host;
    auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    hosts.push_back(std::make_unique<Host>(Host{window, original, {}}));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HostProcedure));
    return *hosts.back();
}

Host* FindHost(HWND window) {
    auto it = std::find_if(hosts.begin(), hosts.end(), [&](const auto& h) { return h->Window == window; });
    return it == hosts.end() ? nullptr : it->get();
}

class Win32WindowlessControl : public IControl {
  public:
    explicit Win32WindowlessControl(const ChildSpec& spec)
        : gui_(spec.Gui), parent_(spec.Parent), registry_(spec.Registry), name_(spec.Name), bounds_(spec.Rect),
          events_(spec.Events) {
        HostOf(parent_).Controls.push_back(this);
        registry_.push_back(this);
        Invalidate();
    }

    ~Win32WindowlessControl() override {
        registry_.erase(std::remove(registry_.begin(), registry_.end(), this), registry_.end());
        if (Host* host = FindHost(parent_)) {
            auto& list = host->Controls;
            list.erase(std::remove(list.begin(), list.end(), this), list.end());
            if (host->Pressed == this)
                host->Pressed = nullptr;
            if (host->Holder == this) {
                host->Holder = nullptr;
                if (GetCapture() == parent_)
                    ReleaseCapture();
            }
        }
        Invalidate();
    }

    Win32WindowlessControl(const Win32WindowlessControl&) = delete;
    Win32WindowlessControl& operator=(const Win32WindowlessControl&) = delete;

    ControlKind Kind() override { return ControlKind::Painted; }
    const std::string& Name() override { return name_; }
    Bounds GetBounds() override { return bounds_; }
    void SetBounds(const Bounds& b) override {
        Invalidate();
        bounds_ = b;
        Invalidate();
    }
    std::string Text() override { return text_; }
    void SetText(const std::string& text) override {
        text_ = text;
        Invalidate();
    }
    void SetAlignment(TextAlign) override { Invalidate(); }
    void SetWordWrap(bool) override { Invalidate(); }
    void SetReadOnly(bool) override {}
    std::vector<std::string> Items() override { return {}; }
    void SetItems(const std::vector<std::string>&) override {}
    int ItemIndex() override { return -1; }
    void SetItemIndex(int) override {}
    void SetColumns(const std::vector<ColumnSpec>&) override {}
    void SetRowHeight(int) override {}
    void SetExpanded(int, bool) override {}
    bool Expanded(int) override { return false; }
    std::optional<Bounds> ItemRect(int) override { return std::nullopt; }
    bool Checked() override { return false; }
    void SetChecked(bool) override {}
    void SetDefault(bool) override {}
    bool DrawnAsDefault() override { return false; }
    void SetRange(int, int) override {}
    int Position() override { return 0; }
    void SetPosition(int) override {}
    void SetImageList(ImageListRole, const ImageListSpec&) override {}
    ImageListInfo GetImageList(ImageListRole) override { return {}; }
    void SetItemImages(const std::vector<ItemImages>&) override {}
    std::vector<ItemImages> GetItemImages() override { return {}; }
    void SetCellDrawing(CellDrawing) override {}
    void Repaint() override { Redraw(RDW_UPDATENOW); }
    void Invalidate() override { Redraw(0); }
    void SetPicture(const std::string&, bool) override {}
    void SetBevel(BevelKind) override {}
    void SetScrollBars(bool, bool) override {}
    bool ScrollBarShown(bool) override { return false; }
    bool Enabled() override { return enabled_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool Visible() override { return visible_; }
    void SetVisible(bool visible) override {
        visible_ = visible;
        Invalidate();
    }
    void SetFocus() override {}
    void SetTabStop(bool) override {}
    bool Focused() override { return false; }
    FontSpec Font() override { return font_; }
    void SetFont(const FontSpec& font, ColorRef) override {
        font_ = font;
        Invalidate();
    }
    void SetColor(ColorRef) override { Invalidate(); }
    void Click() override {
        if (Usable())
            Notify([this] { events_.OnClick(); });
    }
    void Choose(int) override {}
    void Toggle(int) override {}
    void Scroll(int) override {}
    void PressKey(int, bool) override {}
    // Sent to the parent window as Windows would.
    void Mouse(const MouseInput& input) override {
        static constexpr UINT kPress[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
        static constexpr UINT kRelease[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
        size_t b = input.Button == mk::Right ? 1 : input.Button == mk::Middle ? 2 : 0;
        UINT message = input.Action == MouseAction::Down          ? kPress[b]
                       : input.Action == MouseAction::Up          ? kRelease[b]
                       : input.Action == MouseAction::DoubleClick ? WM_LBUTTONDBLCLK
                                                                  : WM_MOUSEMOVE;
        if (Usable())
            SendMessageA(parent_, message, input.Keys,
                         MAKELPARAM(input.X + bounds_.Left, input.Y + bounds_.Top));
    }
    // The mouse at x,y of the host's client area.
    void HearMouse(MouseAction action, unsigned button, WPARAM keys, int x, int y) {
        MouseInput input{action, button, static_cast<unsigned>(keys), x - bounds_.Left, y - bounds_.Top};
        Notify([&] { events_.OnMouse(input); });
    }
    void HearClick() {
        Notify([this] { events_.OnClick(); });
    }

    // Draws on the host's device context, inside `update` (client coordinates);
    // nothing when its bounds lie outside it.
    void Paint(HDC dc, HRGN update) {
        const RECT r{bounds_.Left, bounds_.Top, bounds_.Left + bounds_.Width, bounds_.Top + bounds_.Height};
        if (!visible_ || bounds_.Width <= 0 || bounds_.Height <= 0 || !RectInRegion(update, &r))
            return;
        int saved = SaveDC(dc);
        SelectClipRgn(dc, update);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        SetViewportOrgEx(dc, bounds_.Left, bounds_.Top, nullptr);
        {
            Win32Canvas canvas(dc);
            Notify([&] { events_.OnPaint(canvas); });
        }
        RestoreDC(dc, saved);
    }

    bool Contains(int x, int y) const {
        return visible_ && enabled_ && x >= bounds_.Left && y >= bounds_.Top && x < bounds_.Left + bounds_.Width &&
               y < bounds_.Top + bounds_.Height;
    }

  private:
    void Redraw(UINT now) {
        RECT r{bounds_.Left, bounds_.Top, bounds_.Left + bounds_.Width, bounds_.Top + bounds_.Height};
        RedrawWindow(parent_, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | now);
    }

    bool Usable() const {
        if (!visible_ || !enabled_ || !IsWindowVisible(parent_))
            return false;
        for (HWND w = parent_; w; w = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
            if (!IsWindowEnabled(w))
                return false;
        return true;
    }

    // No exception may leave a window procedure: it goes to the application.
    template <class F> void Notify(F&& event) {
        try {
            event();
        } catch (...) {
            gui_.Raise(std::current_exception());
        }
    }

    Win32Gui& gui_;
    HWND parent_;
    std::vector<IControl*>& registry_;
    std::string name_;
    Bounds bounds_;
    IControlEvents& events_;
    std::string text_;
    FontSpec font_;
    bool visible_ = true;
    bool enabled_ = true;
};

// The mouse message of a host for its painted controls (see the top).
void HostMouse(Host& host, HWND hwnd, UINT message, WPARAM keys, LPARAM lParam) {
    int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    auto& list = host.Controls;
    Win32WindowlessControl* to = host.Holder;
    if (!to) {
        auto hit = std::find_if(list.rbegin(), list.rend(), [&](auto* c) { return c->Contains(x, y); });
        to = hit == list.rend() ? nullptr : *hit;
    }
    if (!to)
        return;
    auto button = [&](UINT left, UINT right) {
        return message == left ? mk::Left : message == right ? mk::Right : mk::Middle;
    };
    switch (message) {
    case WM_MOUSEMOVE:
        to->HearMouse(MouseAction::Move, 0, keys, x, y);
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!host.Holder) {
            host.Holder = to;
            SetCapture(hwnd);
        }
        if (message == WM_LBUTTONDOWN)
            host.Pressed = to;
        if (message == WM_LBUTTONDBLCLK)
            to->HearMouse(MouseAction::DoubleClick, mk::Left, keys, x, y);
        else
            to->HearMouse(MouseAction::Down, button(WM_LBUTTONDOWN, WM_RBUTTONDOWN), keys, x, y);
        return;
    default: { // a release
        unsigned released = button(WM_LBUTTONUP, WM_RBUTTONUP);
        bool click = released == mk::Left && host.Pressed == to && to->Contains(x, y);
        if (released == mk::Left)
            host.Pressed = nullptr;
        if (!(keys & (mk::Left | mk::Right | mk::Middle)) && host.Holder) {
            host.Holder = nullptr;
            if (GetCapture() == hwnd)
                ReleaseCapture();
        }
        if (click)
            to->HearClick();
        // The click's handler may have destroyed the control or its host.
        Host* still = FindHost(hwnd);
        if (still && std::find(still->Controls.begin(), still->Controls.end(), to) != still->Controls.end())
            to->HearMouse(MouseAction::Up, released, keys, x, y);
    }
    }
}

// The host's own painting first, then the painted controls over it, inside
// what was to be painted; the mouse as HostMouse says.
LRESULT CALLBACK HostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Host* host = FindHost(hwnd);
    if (!host)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    WNDPROC original = host->Original;
    switch (message) {
    case WM_PAINT: {
        HRGN update = CreateRectRgn(0, 0, 0, 0);
        int region = GetUpdateRgn(hwnd, update, FALSE);
        LRESULT result = CallWindowProcA(original, hwnd, message, wParam, lParam);
        if (region != NULLREGION && region != ERROR && !host->Controls.empty()) {
            HDC dc = GetDCEx(hwnd, nullptr, DCX_CACHE | DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS);
            // A control may go while another paints: walk a copy.
            std::vector<Win32WindowlessControl*> controls = host->Controls;
            for (Win32WindowlessControl* c : controls)
                if (std::find(host->Controls.begin(), host->Controls.end(), c) != host->Controls.end())
                    c->Paint(dc, update);
            ReleaseDC(hwnd, dc);
        }
        DeleteObject(update);
        return result;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        HostMouse(*host, hwnd, message, wParam, lParam);
        // A handler may have destroyed the host.
        if (!FindHost(hwnd))
            return 0;
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd)
            host->Holder = host->Pressed = nullptr;
        break;
    case WM_NCDESTROY: {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        hosts.erase(std::find_if(hosts.begin(), hosts.end(), [&](const auto& h) { return h.get() == host; }));
        break;
    }
    }
    return CallWindowProcA(original, hwnd, message, wParam, lParam);
}

} // namespace

std::unique_ptr<IControl> CreateWindowlessControl(const ChildSpec& spec) {
    return std::make_unique<Win32WindowlessControl>(spec);
}

} // namespace sw::win32
