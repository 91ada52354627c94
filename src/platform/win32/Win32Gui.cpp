#include "platform/win32/Win32Gui.h"

#include "platform/BmpFile.h"
#include "platform/PlatformErrors.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32CodePages.h"
#include "platform/win32/Win32Control.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include <type_traits>

namespace sw::win32 {

namespace {
const char kClassName[] = "SetwrightForm";
constexpr UINT kActivated = WM_APP + 1;

// The window styles of a top-level form's frame.
void FrameStyles(const FormStyle& s, DWORD& style, DWORD& exStyle) {
    exStyle = 0;
    switch (s.Border) {
    case FormBorder::None:
        style = WS_POPUP;
        break;
    case FormBorder::Single:
        style = WS_OVERLAPPED | WS_CAPTION;
        break;
    case FormBorder::Sizeable:
        style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
        break;
    case FormBorder::Dialog:
        style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        exStyle = WS_EX_DLGMODALFRAME;
        break;
    case FormBorder::ToolWindow:
        style = WS_OVERLAPPED | WS_CAPTION;
        exStyle = WS_EX_TOOLWINDOW;
        break;
    case FormBorder::SizeToolWin:
        style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
        exStyle = WS_EX_TOOLWINDOW;
        break;
    }
    if (s.Border == FormBorder::None || !s.SystemMenu)
        return;
    style |= WS_SYSMENU;
    bool boxes = s.Border == FormBorder::Single || s.Border == FormBorder::Sizeable;
    if (boxes && s.MinimizeBox)
        style |= WS_MINIMIZEBOX;
    if (boxes && s.MaximizeBox)
        style |= WS_MAXIMIZEBOX;
    // Windows shows the help button only without the other boxes.
    if (s.HelpButton && !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
        exStyle |= WS_EX_CONTEXTHELP;
}

// The form class, a Unicode one on Windows NT (Win32Form::Procedure).
bool RegisterFormClass(const WNDCLASSA& wc) {
    if (!WindowsNt())
        return RegisterClassA(&wc) != 0;
    const std::wstring name(wc.lpszClassName, wc.lpszClassName + std::strlen(wc.lpszClassName));
    WNDCLASSW wide{};
    wide.style = wc.style;
    wide.lpfnWndProc = wc.lpfnWndProc;
    wide.hInstance = wc.hInstance;
    wide.hCursor = wc.hCursor;
    wide.hbrBackground = wc.hbrBackground;
    wide.lpszClassName = name.c_str();
    return RegisterClassW(&wide) != 0;
}

// The key state for a simulated key press: Shift and Alt as asked, Control up.
struct HeldKeys {
    BYTE before[256];
    HeldKeys(bool shift, bool alt) {
        GetKeyboardState(before);
        BYTE held[256];
        std::copy(std::begin(before), std::end(before), held);
        held[VK_SHIFT] = held[VK_LSHIFT] = shift ? 0x80 : 0;
        held[VK_MENU] = held[VK_LMENU] = alt ? 0x80 : 0;
        held[VK_CONTROL] = held[VK_LCONTROL] = 0;
        SetKeyboardState(held);
    }
    ~HeldKeys() { SetKeyboardState(before); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
};
} // namespace

class Win32Form : public IForm {
  public:
    Win32Form(Win32Gui& gui, const std::string& caption, const Bounds& b, IFormEvents& events,
              const FormOptions& options)
        : gui_(gui), events_(events), host_(static_cast<Win32Form*>(options.Host)), caption_(caption) {
        DWORD style = 0, exStyle = 0;
        HWND parent = nullptr;
        if (host_) {
            style = WS_CHILD | WS_CLIPSIBLINGS;
            parent = host_->hwnd_;
        } else {
            FrameStyles(options.Style, style, exStyle);
            if (options.Owner)
                parent = static_cast<Win32Form*>(options.Owner)->hwnd_;
        }
        hwnd_ = CreateWindowExA(exStyle, kClassName, caption.c_str(), style, b.Left, b.Top, b.Width, b.Height, parent,
                                nullptr, GetModuleHandleA(nullptr), this);
        if (!hwnd_)
            throw EPlatformError("Cannot create the window " + caption + " (error " + std::to_string(GetLastError()) +
                                 ")");
        created_ = true;
        gui_.forms_.push_back(this);
    }

    // The form owns its window: a copy would destroy it twice.
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    // Windows destroys the windows a window owns or holds with it: those of
    // forms still living are let go first, so that none is left dangling.
    ~Win32Form() override {
        auto& forms = gui_.forms_;
        forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
        for (Win32Form* other : forms) {
            if (other->host_ == this) {
                ShowWindow(other->hwnd_, SW_HIDE);
                SetParent(other->hwnd_, nullptr);
                other->host_ = nullptr;
            } else if (!other->host_ && GetWindow(other->hwnd_, GW_OWNER) == hwnd_) {
                SetWindowLongPtrA(other->hwnd_, GWLP_HWNDPARENT, 0);
            }
        }
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }

    void Show(ShowState state) override {
        ShowWindow(hwnd_, state == ShowState::Hidden      ? SW_HIDE
                          : host_                         ? SW_SHOW
                          : state == ShowState::Maximized ? SW_SHOWMAXIMIZED
                                                          : SW_SHOWNORMAL);
    }

    bool Visible() override { return IsWindowVisible(hwnd_); }

    // An embedded form's in its host's client area.
    Bounds GetBounds() override {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        if (host_)
            MapWindowPoints(HWND_DESKTOP, host_->hwnd_, reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

    void SetBounds(const Bounds& b) override { MoveWindow(hwnd_, b.Left, b.Top, b.Width, b.Height, TRUE); }

    std::string Caption() override { return WindowTextIn(hwnd_, codePage_); }
    void SetCaption(const std::string& caption) override {
        caption_ = caption;
        SetWindowTextIn(hwnd_, codePage_, caption);
    }

    // The caption as given: the window's, in a code page it was not made for, may have lost bytes.
    void SetCharset(int charset) override {
        const unsigned codePage = CharsetCodePage(charset);
        if (codePage == codePage_)
            return;
        codePage_ = codePage;
        SetCaption(caption_);
    }

    // At once, the child windows too: a loop that does not return to the
    // message loop (copying files) shows what it just set.
    void Repaint() override {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    void Update() override { RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

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
        HeldKeys keys(backward, false);
        PostMessageA(KeyTarget(), WM_KEYDOWN, VK_TAB, 0x000F0001);
        gui_.ProcessMessages();
    }

    // Enter and Escape as the keyboard sends them; Alt+F4 with Alt held, as a
    // system key that the window's default handling turns into a close.
    void PressKey(FormKey key) override {
        if (!IsWindowEnabled(hwnd_))
            return;
        HeldKeys keys(false, key == FormKey::AltF4);
        HWND target = KeyTarget();
        switch (key) {
        case FormKey::Enter:
            PostMessageA(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
            break;
        case FormKey::Escape:
            PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            break;
        case FormKey::AltF4:
            PostMessageA(target, WM_SYSKEYDOWN, VK_F4, 0x203E0001);
            break;
        }
        gui_.ProcessMessages();
    }

    bool Enabled() override { return IsWindowEnabled(hwnd_); }
    void SetEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }

    void BringToFront() override {
        SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | (host_ ? SWP_NOACTIVATE : 0));
    }

    bool Embedded() const { return host_ != nullptr; }
    HWND Window() const { return hwnd_; }

    // The form of ours a window is in: the nearest form window at or above
    // it, embedded ones included; none for windows of others.
    static Win32Form* FormOf(HWND window) {
        for (HWND w = window; w; w = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr) {
            char name[sizeof kClassName + 1] = {};
            if (GetClassNameA(w, name, sizeof name) && std::strcmp(name, kClassName) == 0) {
                auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrA(w, GWLP_USERDATA));
                return form && form->created_ ? form : nullptr;
            }
        }
        return nullptr;
    }

    static bool MultiLineEdit(HWND hwnd) {
        char name[16] = {};
        GetClassNameA(hwnd, name, sizeof name);
        for (char& c : name)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return (std::strcmp(name, "EDIT") == 0 || std::strncmp(name, "RICHEDIT", 8) == 0) &&
               (GetWindowLongA(hwnd, GWL_STYLE) & ES_MULTILINE);
    }

    // Tab in a window of one of our forms, unless the window takes Tab
    // itself: the form the window is in moves the focus. Memos and rich
    // edits never take it (the rich edit's window asks for every Tab, and a
    // read-only licence text would keep the focus for good).
    static bool TabKey(const MSG& msg) {
        if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
            return false;
        Win32Form* form = FormOf(msg.hwnd);
        if (!form)
            return false;
        if (msg.hwnd != form->hwnd_ && !MultiLineEdit(msg.hwnd) &&
            (SendMessageA(msg.hwnd, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTTAB))
            return false;
        form->Call(&IFormEvents::OnTab, GetKeyState(VK_SHIFT) < 0);
        return true;
    }

    // Enter or Escape in a window of one of our forms: a window that wants
    // the key keeps it (a memo Enter, a dropped-down list both), a focused
    // push button is pressed by Enter, else the form the window is in hears it.
    static bool DialogKey(const MSG& msg) {
        if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
            return false;
        Win32Form* form = FormOf(msg.hwnd);
        if (!form)
            return false;
        bool enter = msg.wParam == VK_RETURN;
        if (msg.hwnd != form->hwnd_) {
            auto code = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
            if ((code & DLGC_WANTMESSAGE) || (enter && (code & DLGC_WANTALLKEYS)))
                return false;
            if (enter && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
                SendMessageA(msg.hwnd, BM_CLICK, 0, 0);
                return true;
            }
        }
        form->Call(&IFormEvents::OnKey, enter ? FormKey::Enter : FormKey::Escape);
        return true;
    }

    // On Windows NT the class is a Unicode one, whose windows keep a caption of any code page (an ANSI
    // window's is converted to the system's); its children still notify in ANSI.
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NOTIFYFORMAT && lParam == NF_QUERY)
            return NFR_ANSI;
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
        return WindowsNt() ? DefWindowProcW(hwnd, message, wParam, lParam)
                           : DefWindowProcA(hwnd, message, wParam, lParam);
    }

  private:
    // Where a key pressed in this form goes: the focused window when it is in
    // this form (or a form embedded in it), else the form.
    HWND KeyTarget() const {
        HWND focus = GetFocus();
        return focus && (focus == hwnd_ || IsChild(hwnd_, focus)) ? focus : hwnd_;
    }

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
    Win32Form* host_;
    HWND hwnd_ = nullptr;
    bool created_ = false;
    std::string caption_;
    unsigned codePage_ = GetACP(); // of the caption
    std::vector<IControl*> controls_;
};
static_assert(!std::is_copy_constructible_v<Win32Form> && !std::is_copy_assignable_v<Win32Form>);

Win32Gui::Win32Gui() {
    WNDCLASSA wc{};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &wc)) {
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = &Win32Form::Procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        if (!RegisterFormClass(wc))
            throw EPlatformError("Cannot register the window class (error " + std::to_string(GetLastError()) + ")");
    }
}

Win32Gui::~Win32Gui() {
    // A quit request nobody collected would end the next message loop of the thread.
    MSG msg;
    if (quitPending_)
        PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

std::unique_ptr<IForm> Win32Gui::CreateForm(const std::string& caption, const Bounds& bounds, IFormEvents& events,
                                            const FormOptions& options) {
    for (IForm* wanted : {options.Owner, options.Host})
        if (wanted && std::find(forms_.begin(), forms_.end(), wanted) == forms_.end())
            throw EPlatformError("The owner or host of " + caption + " is not a form of this GUI");
    return std::make_unique<Win32Form>(*this, caption, bounds, events, options);
}

int Win32Gui::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

int Win32Gui::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

int Win32Gui::CaptionHeight() { return GetSystemMetrics(SM_CYCAPTION); }

// Handles one message taken from the queue; false when it ends the loop.
bool Win32Gui::Handle(const MSG& msg, bool quit) {
    if (quit) {
        terminated_ = true;
        quitPending_ = false;
        return false;
    }
    if (msg.message == WM_KEYDOWN &&
        ((msg.wParam == VK_TAB && Win32Form::TabKey(msg)) ||
         ((msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) && Win32Form::DialogKey(msg)))) {
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
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(++d) {}
        ~Depth() { --depth; }
        Depth(const Depth&) = delete;
        Depth& operator=(const Depth&) = delete;
    } modal(modalDepth_);
    MSG msg;
    while (!terminated_ && !done()) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (!Handle(msg, got == 0 || got == -1))
            break;
    }
}

// The other forms are enabled again before the modal one goes, so that the
// activation returns to its owner.
void Win32Gui::RunModal(IForm& form, const std::function<bool()>& done) {
    if (std::find(forms_.begin(), forms_.end(), &form) == forms_.end())
        throw EPlatformError("The modal form is not a form of this GUI");
    std::vector<Win32Form*> disabled;
    for (Win32Form* other : forms_)
        if (other != &form && !other->Embedded() && IsWindowVisible(other->Window()) &&
            IsWindowEnabled(other->Window())) {
            EnableWindow(other->Window(), FALSE);
            disabled.push_back(other);
        }
    struct Enable {
        Win32Gui& gui;
        std::vector<Win32Form*>& forms;
        ~Enable() {
            for (Win32Form* f : forms)
                if (std::find(gui.forms_.begin(), gui.forms_.end(), f) != gui.forms_.end())
                    EnableWindow(f->Window(), TRUE);
        }
    } enable{*this, disabled};
    RunUntil(done);
}

Bounds Win32Gui::MeasureText(const FontSpec& font, const std::string& text, int wrapWidth) {
    HDC screen = GetDC(nullptr);
    HFONT made = CreateFontFor(font);
    HGDIOBJ old = SelectObject(screen, made);
    std::string measured = text.empty() ? " " : text;
    RECT r{0, 0, std::max(0, wrapWidth), 0};
    DrawTextIn(screen, CharsetCodePage(font.Charset), measured, r,
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
    if (handler_ && modalDepth_ == 0) {
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
