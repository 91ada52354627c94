#include "platform/win32/Win32FolderBrowser.h"

#include "platform/win32/Win32Api.h"

#include <shlobj.h>

#include <cstring>
#include <exception>
#include <map>
#include <vector>

namespace sw::win32 {

namespace {

constexpr int kFirstAddedId = 0x7100;

std::string ItemPath(LPCITEMIDLIST item) {
    char buffer[MAX_PATH + 1] = {};
    if (!item || !SHGetPathFromIDListA(item, buffer))
        return {};
    return buffer;
}

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), length + 1)));
    return text;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

// The browser of the current Browse: the dialog is modal, so one at a time.
class BrowserRun;
BrowserRun* current = nullptr;

class BrowserRun : public IFolderBrowserWindow {
  public:
    explicit BrowserRun(IFolderBrowserEvents& events) : events_(events) {}

    // Runs `f` inside a callback: an error closes the browser and is raised
    // again once SHBrowseForFolderA has returned.
    template <class F> void Guard(F&& f) {
        if (error_)
            return;
        try {
            f();
        } catch (...) {
            error_ = std::current_exception();
            if (hwnd_)
                PostMessageA(hwnd_, WM_COMMAND, IDCANCEL, 0);
        }
    }
    void RaiseError() {
        if (error_)
            std::rethrow_exception(error_);
    }

    void Initialized(HWND hwnd) {
        hwnd_ = hwnd;
        browserProcedure_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BrowserProcedure)));
        Guard([&] { events_.OnInitialized(*this); });
    }
    void SelectionChanged(LPCITEMIDLIST item) {
        std::string path = ItemPath(item);
        Guard([&] { events_.OnSelectionChanged(*this, path); });
    }

    std::vector<BrowserChild> Children() override {
        std::vector<HWND> windows;
        EnumChildWindows(hwnd_, &CollectChild, reinterpret_cast<LPARAM>(&windows));
        std::vector<BrowserChild> children;
        for (HWND child : windows) {
            if (GetParent(child) != hwnd_)
                continue;
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
            children.push_back({reinterpret_cast<BrowserWindow>(child),
                                name,
                                {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
                                 static_cast<int>(r.bottom)}});
        }
        return children;
    }

    void SetSelection(const std::string& path) override {
        SendMessageA(hwnd_, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
    }

    void SetBounds(BrowserWindow window, const BrowserRect& b) override {
        MoveWindow(Hwnd(window), b.Left, b.Top, b.Width(), b.Height(), TRUE);
    }

    bool IsEnabled(BrowserWindow window) override { return IsWindowEnabled(Hwnd(window)) != FALSE; }

    void SetVisible(BrowserWindow window, bool visible) override {
        ShowWindow(Hwnd(window), visible ? SW_SHOW : SW_HIDE);
    }

    void KeepSelectionVisible(BrowserWindow tree) override {
        HWND hwnd = Hwnd(tree);
        SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE) | TVS_SHOWSELALWAYS);
    }

    BrowserWindow AddButton(const std::string& caption, const BrowserRect& bounds,
                            std::function<void()> onClick) override {
        HWND button = Create("BUTTON", caption, WS_TABSTOP | BS_PUSHBUTTON, 0, bounds);
        clicks_[GetDlgCtrlID(button)] = std::move(onClick);
        return reinterpret_cast<BrowserWindow>(button);
    }

    BrowserWindow AddEdit(const BrowserRect& bounds, std::function<void()> onKeyUp) override {
        HWND edit = Create("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, bounds);
        editProcedure_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProcedure)));
        keyUp_ = std::move(onKeyUp);
        return reinterpret_cast<BrowserWindow>(edit);
    }

    std::string Text(BrowserWindow window) override { return WindowText(Hwnd(window)); }

    void SetText(BrowserWindow window, const std::string& text) override { SetWindowTextA(Hwnd(window), text.c_str()); }

    void Click(BrowserWindow button) override { SendMessageA(Hwnd(button), BM_CLICK, 0, 0); }

    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& text) override;

  private:
    static HWND Hwnd(BrowserWindow window) { return reinterpret_cast<HWND>(window); }

    HWND Create(const char* cls, const std::string& text, DWORD style, DWORD exStyle, const BrowserRect& b) {
        HWND hwnd =
            CreateWindowExA(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, b.Left, b.Top, b.Width(),
                            b.Height(), hwnd_, reinterpret_cast<HMENU>(nextId_++), GetModuleHandleA(nullptr), nullptr);
        SendMessageA(hwnd, WM_SETFONT, SendMessageA(hwnd_, WM_GETFONT, 0, 0), TRUE);
        return hwnd;
    }

    static LRESULT CALLBACK BrowserProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        BrowserRun& run = *current;
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            auto it = run.clicks_.find(LOWORD(wParam));
            if (it != run.clicks_.end()) {
                if (it->second)
                    run.Guard(it->second);
                return 0;
            }
        }
        return CallWindowProcA(run.browserProcedure_, hwnd, message, wParam, lParam);
    }

    static LRESULT CALLBACK EditProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        BrowserRun& run = *current;
        LRESULT result = CallWindowProcA(run.editProcedure_, hwnd, message, wParam, lParam);
        if (message == WM_KEYUP && run.keyUp_)
            run.Guard(run.keyUp_);
        return result;
    }

    IFolderBrowserEvents& events_;
    HWND hwnd_ = nullptr;
    WNDPROC browserProcedure_ = nullptr;
    WNDPROC editProcedure_ = nullptr;
    int nextId_ = kFirstAddedId;
    std::map<int, std::function<void()>> clicks_;
    std::function<void()> keyUp_;
    std::exception_ptr error_;
};

int CALLBACK BrowseCallback(HWND hwnd, UINT message, LPARAM lParam, LPARAM data) {
    auto* run = reinterpret_cast<BrowserRun*>(data);
    if (message == BFFM_INITIALIZED)
        run->Initialized(hwnd);
    else if (message == BFFM_SELCHANGED)
        run->SelectionChanged(reinterpret_cast<LPCITEMIDLIST>(lParam));
    return 0;
}

// The question: a dialog template in memory, a prompt over an edit, OK and
// Cancel, in dialog units.
class TextQuestion {
  public:
    TextQuestion(const std::string& title, const std::string& prompt, const std::string& text)
        : title_(title), prompt_(prompt), text_(text) {}

    std::optional<std::string> Ask(HWND owner) {
        Header(4, 0, 0, 220, 62);
        Item(0x0082, 101, SS_LEFT, 0, 7, 7, 206, 10);
        Item(0x0081, 100, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, 7, 20, 206, 13);
        Item(0x0080, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 108, 41, 50, 14);
        Item(0x0080, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 0, 163, 41, 50, 14);
        INT_PTR ok =
            DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(words_.data()), owner,
                                    &Procedure, reinterpret_cast<LPARAM>(this));
        if (ok != IDOK)
            return std::nullopt;
        return text_;
    }

  private:
    void Word(WORD w) { words_.push_back(w); }
    void Long(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const char* s) {
        for (; *s; ++s)
            Word(static_cast<unsigned char>(*s));
        Word(0);
    }
    void Align() {
        if (words_.size() % 2)
            Word(0);
    }
    void Header(WORD items, short x, short y, short cx, short cy) {
        Long(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
        Long(0);
        Word(items);
        Word(x), Word(y), Word(cx), Word(cy);
        Word(0), Word(0), Word(0); // menu, class, title (set at WM_INITDIALOG)
        Word(8);
        Text("MS Sans Serif");
    }
    void Item(WORD cls, WORD id, DWORD style, DWORD exStyle, short x, short y, short cx, short cy) {
        Align();
        Long(WS_CHILD | WS_VISIBLE | style);
        Long(exStyle);
        Word(x), Word(y), Word(cx), Word(cy);
        Word(id);
        Word(0xFFFF), Word(cls);
        Word(0); // text, set at WM_INITDIALOG
        Word(0);
    }

    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            auto* q = reinterpret_cast<TextQuestion*>(lParam);
            SetWindowTextA(dialog, q->title_.c_str());
            SetDlgItemTextA(dialog, 101, q->prompt_.c_str());
            SetDlgItemTextA(dialog, 100, q->text_.c_str());
            return TRUE;
        }
        if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            auto* q = reinterpret_cast<TextQuestion*>(GetWindowLongPtrA(dialog, DWLP_USER));
            if (LOWORD(wParam) == IDOK)
                q->text_ = WindowText(GetDlgItem(dialog, 100));
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }

    std::string title_, prompt_, text_;
    std::vector<WORD> words_;
};

std::optional<std::string> BrowserRun::AskText(const std::string& title, const std::string& prompt,
                                               const std::string& text) {
    return TextQuestion(title, prompt, text).Ask(hwnd_);
}

} // namespace

std::optional<std::string> Win32FolderBrowser::Browse(const std::string& title, IFolderBrowserEvents& events) {
    CoInitialize(nullptr);
    BrowserRun run(events);
    BrowserRun* outer = current;
    current = &run;
    BROWSEINFOA info = {};
    info.hwndOwner = GetActiveWindow();
    info.pidlRoot = nullptr;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&run);
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    current = outer;
    std::optional<std::string> result;
    if (item) {
        result = ItemPath(item);
        CoTaskMemFree(item);
    }
    run.RaiseError();
    return result;
}

std::string Win32FolderBrowser::SystemString(const std::string& library, unsigned id) {
    HMODULE module = GetModuleHandleA(library.c_str());
    HMODULE loaded = module ? nullptr : LoadLibraryA(library.c_str());
    if (!module)
        module = loaded;
    std::string text;
    if (module) {
        char buffer[1024] = {};
        int length = LoadStringA(module, id, buffer, sizeof buffer);
        text.assign(buffer, length > 0 ? static_cast<size_t>(length) : 0);
    }
    if (loaded)
        FreeLibrary(loaded);
    return text;
}

} // namespace sw::win32
