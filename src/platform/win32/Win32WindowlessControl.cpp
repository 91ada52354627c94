// Painted controls without a window of their own. The parent window (form,
// panel or group box) is subclassed once it holds one: after its own
// WM_PAINT has drawn its background, each painted control inside draws
// itself in creation order, the later over the earlier, clipped to its
// bounds and to the area being painted, with 0,0 at its top left. Child
// windows stay on top of them all.
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

    // Draws on the host's device context, inside `update` (client coordinates).
    void Paint(HDC dc, HRGN update) {
        if (!visible_ || bounds_.Width <= 0 || bounds_.Height <= 0)
            return;
        int saved = SaveDC(dc);
        SelectClipRgn(dc, update);
        IntersectClipRect(dc, bounds_.Left, bounds_.Top, bounds_.Left + bounds_.Width, bounds_.Top + bounds_.Height);
        SetViewportOrgEx(dc, bounds_.Left, bounds_.Top, nullptr);
        {
            Win32Canvas canvas(dc);
            Notify([&] { events_.OnPaint(canvas); });
        }
        RestoreDC(dc, saved);
    }

    bool Contains(int x, int y) const {
        return visible_ && x >= bounds_.Left && y >= bounds_.Top && x < bounds_.Left + bounds_.Width &&
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

// The host's own painting first, then the painted controls over it, inside
// what was to be painted; a click on one (the uppermost under the mouse) is
// its click.
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
    case WM_LBUTTONDOWN: {
        int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
        auto& list = host->Controls;
        auto hit = std::find_if(list.rbegin(), list.rend(), [&](auto* c) { return c->Contains(x, y); });
        if (hit != list.rend())
            (*hit)->Click();
        break;
    }
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
