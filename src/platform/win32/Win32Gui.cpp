#include "platform/win32/Win32Gui.h"

#include "platform/BmpFile.h"
#include "platform/PlatformErrors.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Control.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include <type_traits>

namespace sw::win32 {

namespace {
const char kClassName[] = "SetwrightForm";
constexpr UINT kActivated = WM_APP + 1;

class Win32Form : public IForm {
  public:
    Win32Form(Win32Gui& gui, const std::string& caption, const Bounds& b, IFormEvents& events)
        : gui_(gui), events_(events) {
        hwnd_ = CreateWindowExA(0, kClassName, caption.c_str(), WS_OVERLAPPEDWINDOW, b.Left, b.Top, b.Width, b.Height,
                                nullptr, nullptr, GetModuleHandleA(nullptr), this);
        if (!hwnd_)
            throw EPlatformError("Cannot create the window " + caption + " (error " + std::to_string(GetLastError()) +
                                 ")");
        created_ = true;
    }

    // The form owns its window: a copy would destroy it twice.
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    ~Win32Form() override {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }

    void Show(ShowState state) override {
        ShowWindow(hwnd_, state == ShowState::Hidden      ? SW_HIDE
                          : state == ShowState::Maximized ? SW_SHOWMAXIMIZED
                                                          : SW_SHOWNORMAL);
    }

    bool Visible() override { return IsWindowVisible(hwnd_); }

    Bounds GetBounds() override {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

    void SetBounds(const Bounds& b) override { MoveWindow(hwnd_, b.Left, b.Top, b.Width, b.Height, TRUE); }

    std::string Caption() override {
        int length = GetWindowTextLengthA(hwnd_);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        int got = GetWindowTextA(hwnd_, text.data(), length + 1);
        text.resize(static_cast<size_t>(got));
        return text;
    }

    void SetCaption(const std::string& caption) override { SetWindowTextA(hwnd_, caption.c_str()); }

    void Repaint() override {
        InvalidateRect(hwnd_, nullptr, TRUE);
        UpdateWindow(hwnd_);
    }

    Bounds ClientBounds() override {
        RECT r{};
        GetClientRect(hwnd_, &r);
        return {0, 0, r.right, r.bottom};
    }

    void SetClientSize(int width, int height) override {
        RECT r{0, 0, width, height};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
        Bounds b = GetBounds();
        SetBounds({b.Left, b.Top, r.right - r.left, r.bottom - r.top});
    }

    std::unique_ptr<IControl> CreateControl(ControlKind kind, const std::string& name, IControl* parent,
                                            const Bounds& bounds, IControlEvents& events) override {
        HWND parentWindow = hwnd_;
        if (parent) {
            if (std::find(controls_.begin(), controls_.end(), parent) == controls_.end())
                throw EPlatformError("The parent of " + name + " is not a control of this form");
            parentWindow = ControlWindow(*parent);
        }
        return CreateWin32Control(gui_, parentWindow, controls_, kind, name, bounds, events);
    }

    IControl* FindControl(const std::string& name) override {
        for (IControl* c : controls_)
            if (c->Name() == name)
                return c;
        return nullptr;
    }

    // The client area as the screen shows it, children included.
    std::string Capture() override {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT r{};
        GetClientRect(hwnd_, &r);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = r.right;
        info.bmiHeader.biHeight = r.bottom;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        HDC window = GetDC(hwnd_);
        HDC memory = CreateCompatibleDC(window);
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        std::string rows;
        if (dib && bits) {
            HGDIOBJ old = SelectObject(memory, dib);
            BitBlt(memory, 0, 0, r.right, r.bottom, window, 0, 0, SRCCOPY);
            GdiFlush();
            size_t stride = (static_cast<size_t>(r.right) * 3 + 3) & ~size_t{3};
            rows.assign(static_cast<const char*>(bits), stride * static_cast<size_t>(r.bottom));
            SelectObject(memory, old);
        }
        if (dib)
            DeleteObject(dib);
        DeleteDC(memory);
        ReleaseDC(hwnd_, window);
        if (!bits)
            throw EPlatformError("Cannot capture the window (error " + std::to_string(GetLastError()) + ")");
        return BmpFile(r.right, r.bottom, rows);
    }

    // Siblings are stacked in tab order, each below the one before it; the
    // first of each parent goes on top.
    void SetTabOrder(const std::vector<IControl*>& controls) override {
        std::vector<std::pair<HWND, HWND>> last; // parent, the window placed last in it
        for (IControl* c : controls) {
            if (std::find(controls_.begin(), controls_.end(), c) == controls_.end())
                throw EPlatformError("The tab order names a control that is not of this form");
            HWND window = ControlWindow(*c), parent = GetParent(window);
            auto placed = std::find_if(last.begin(), last.end(), [&](const auto& p) { return p.first == parent; });
            HWND after = placed == last.end() ? HWND_TOP : placed->second;
            SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
            if (placed == last.end())
                last.emplace_back(parent, window);
            else
                placed->second = window;
        }
    }

    // The key goes to the focused window of this form (or the form) with the
    // Shift key held as asked, through the message loop.
    void PressTab(bool backward) override {
        HWND focus = GetFocus();
        HWND target = focus && (focus == hwnd_ || IsChild(hwnd_, focus)) ? focus : hwnd_;
        struct HeldKeys {
            BYTE before[256];
            explicit HeldKeys(bool shift) {
                GetKeyboardState(before);
                BYTE held[256];
                std::copy(std::begin(before), std::end(before), held);
                held[VK_SHIFT] = held[VK_LSHIFT] = shift ? 0x80 : 0;
                SetKeyboardState(held);
            }
            ~HeldKeys() { SetKeyboardState(before); }
        } keys(backward);
        PostMessageA(target, WM_KEYDOWN, VK_TAB, 0x000F0001);
        gui_.ProcessMessages();
    }

    // Tab in a window of one of our forms, unless the window takes Tab
    // itself: the form moves the focus.
    static bool TabKey(const MSG& msg) {
        if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
            return false;
        HWND root = msg.hwnd;
        while (root && (GetWindowLongA(root, GWL_STYLE) & WS_CHILD))
            root = GetParent(root);
        char name[sizeof kClassName + 1] = {};
        if (!root || !GetClassNameA(root, name, sizeof name) || std::strcmp(name, kClassName) != 0)
            return false;
        auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrA(root, GWLP_USERDATA));
        if (!form || !form->created_)
            return false;
        if (msg.hwnd != root &&
            (SendMessageA(msg.hwnd, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTTAB))
            return false;
        form->Call(&IFormEvents::OnTab, GetKeyState(VK_SHIFT) < 0);
        return true;
    }

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (form && form->created_) {
            LRESULT routed = 0;
            if (RouteToControl(message, wParam, lParam, routed))
                return routed;
            switch (message) {
            case WM_ACTIVATE:
                if (LOWORD(wParam) != WA_INACTIVE)
                    PostMessageA(hwnd, kActivated, 0, 0);
                break;
            case kActivated:
                form->Call(&IFormEvents::OnActivate);
                return 0;
            case WM_CLOSE:
                form->Call(&IFormEvents::OnClose);
                return 0;
            case WM_SIZE:
                form->Call(&IFormEvents::OnResize);
                return 0;
            case WM_SETCURSOR:
                if (form->gui_.Hourglass()) {
                    ::SetCursor(LoadCursor(nullptr, IDC_WAIT));
                    return TRUE;
                }
                break;
            }
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

  private:
    // No exception may leave a window procedure: hand it to the application.
    template <class... Args> void Call(void (IFormEvents::*event)(Args...), Args... args) {
        try {
            (events_.*event)(args...);
        } catch (...) {
            gui_.Raise(std::current_exception());
        }
    }

    Win32Gui& gui_;
    IFormEvents& events_;
    HWND hwnd_ = nullptr;
    bool created_ = false;
    std::vector<IControl*> controls_;
};
static_assert(!std::is_copy_constructible_v<Win32Form> && !std::is_copy_assignable_v<Win32Form>);
} // namespace

Win32Gui::Win32Gui() {
    WNDCLASSA wc{};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &wc)) {
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = &Win32Form::Procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        if (!RegisterClassA(&wc))
            throw EPlatformError("Cannot register the window class (error " + std::to_string(GetLastError()) + ")");
    }
}

Win32Gui::~Win32Gui() {
    // A quit request nobody collected would end the next message loop of the thread.
    MSG msg;
    if (quitPending_)
        PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

std::unique_ptr<IForm> Win32Gui::CreateForm(const std::string& caption, const Bounds& bounds, IFormEvents& events) {
    return std::make_unique<Win32Form>(*this, caption, bounds, events);
}

int Win32Gui::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

int Win32Gui::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// Handles one message taken from the queue; false when it ends the loop.
bool Win32Gui::Handle(const MSG& msg, bool quit) {
    if (quit) {
        terminated_ = true;
        quitPending_ = false;
        return false;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && Win32Form::TabKey(msg)) {
        RethrowPending();
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    RethrowPending();
    return true;
}

void Win32Gui::RunMessageLoop() {
    MSG msg;
    while (!terminated_) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (!Handle(msg, got == 0 || got == -1))
            break;
    }
}

void Win32Gui::RunUntil(const std::function<bool()>& done) {
    MSG msg;
    while (!terminated_ && !done()) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (!Handle(msg, got == 0 || got == -1))
            break;
    }
}

Bounds Win32Gui::MeasureText(const FontSpec& font, const std::string& text, int wrapWidth) {
    HDC screen = GetDC(nullptr);
    HFONT made = CreateFontFor(font);
    HGDIOBJ old = SelectObject(screen, made);
    std::string measured = text.empty() ? " " : text;
    RECT r{0, 0, std::max(0, wrapWidth), 0};
    DrawTextA(screen, measured.c_str(), static_cast<int>(measured.size()), &r,
              DT_CALCRECT | DT_NOCLIP | (wrapWidth > 0 ? DT_WORDBREAK : 0));
    SelectObject(screen, old);
    DeleteObject(made);
    ReleaseDC(nullptr, screen);
    return {0, 0, r.right - r.left, r.bottom - r.top};
}

void Win32Gui::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!Handle(msg, msg.message == WM_QUIT))
            break;
}

void Win32Gui::Terminate() {
    if (!terminated_ && !quitPending_) {
        PostQuitMessage(0);
        quitPending_ = true;
    }
    terminated_ = true;
}

int Win32Gui::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags);
}

void Win32Gui::SetCursor(CursorKind cursor) {
    cursor_ = cursor;
    ::SetCursor(LoadCursor(nullptr, cursor == CursorKind::Hourglass ? IDC_WAIT : IDC_ARROW));
}

void Win32Gui::SetExceptionHandler(std::function<void(std::exception_ptr)> handler) { handler_ = std::move(handler); }

void Win32Gui::Raise(std::exception_ptr error) {
    if (handler_) {
        try {
            handler_(error);
            return;
        } catch (...) {
            error = std::current_exception();
        }
    }
    if (!pending_)
        pending_ = error;
}

void Win32Gui::RethrowPending() {
    if (pending_) {
        auto error = pending_;
        pending_ = nullptr;
        std::rethrow_exception(error);
    }
}

} // namespace sw::win32
