#include "platform/win32/Win32ChildControl.h"

#include "platform/PlatformErrors.h"
#include "platform/win32/Win32Bitmaps.h"
#include "platform/win32/Win32CodePages.h"
#include "platform/win32/Win32Control.h"
#include "platform/win32/Win32Gui.h"

#include <algorithm>

namespace sw::win32 {

Win32ChildControl::Win32ChildControl(const ChildSpec& spec, const WindowStyle& style, int extraHeight)
    : gui_(spec.Gui), kind_(spec.Kind), events_(spec.Events), registry_(spec.Registry), name_(spec.Name),
      extraHeight_(extraHeight) {
    static int nextId = 1000;
    const Bounds& b = spec.Rect;
    hwnd_ =
        CreateWindowExA(style.ExStyle, style.Class, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style.Style, b.Left,
                        b.Top, b.Width, b.Height + extraHeight_, spec.Parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)), GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_)
        throw EPlatformError("Cannot create the control " + name_ + " (error " + std::to_string(GetLastError()) + ")");
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    registry_.push_back(this);
}

Win32ChildControl::~Win32ChildControl() {
    registry_.erase(std::remove(registry_.begin(), registry_.end(), this), registry_.end());
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    if (font_)
        DeleteObject(font_);
    if (brush_)
        DeleteObject(brush_);
}

Bounds Win32ChildControl::GetBounds() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Win32ChildControl::SetBounds(const Bounds& b) {
    Quiet quiet(*this); // a tree that now shows other rows tells nobody: the program moved it
    MoveWindow(hwnd_, b.Left, b.Top, b.Width, b.Height + extraHeight_, TRUE);
}

std::string Win32ChildControl::Text() { return WindowTextIn(hwnd_, codePage_); }

void Win32ChildControl::SetText(const std::string& text) { SetWindowTextIn(hwnd_, codePage_, text); }

void Win32ChildControl::SetAlignment(TextAlign align) {
    align_ = align;
    Invalidate();
}

void Win32ChildControl::SetItems(const std::vector<std::string>& items) {
    Quiet quiet(*this);
    items_ = items;
    Invalidate();
    index_ = -1;
}

void Win32ChildControl::SetItemIndex(int index) {
    index_ = index < 0 || index >= Count() ? -1 : index;
    Invalidate();
}

void Win32ChildControl::SetColumns(const std::vector<ColumnSpec>& columns) {
    columns_ = columns;
    Invalidate();
}

void Win32ChildControl::SetRowHeight(int height) {
    rowHeight_ = std::max(1, height);
    Invalidate();
}

void Win32ChildControl::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    SetPosition(position_);
}

void Win32ChildControl::SetPosition(int position) { position_ = std::clamp(position, min_, max_); }

void Win32ChildControl::Repaint() {
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool Win32ChildControl::Enabled() { return (GetWindowLongA(hwnd_, GWL_STYLE) & WS_DISABLED) == 0; }
bool Win32ChildControl::Visible() { return (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

void Win32ChildControl::SetFocus() {
    if (Usable())
        ::SetFocus(hwnd_);
}

void Win32ChildControl::SetTabStop(bool on) {
    LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    SetWindowLongA(hwnd_, GWL_STYLE, on ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

bool Win32ChildControl::Focused() {
    HWND focus = GetFocus();
    // A combo box's edit is its own child (a panel's children are not the panel).
    return focus && (focus == hwnd_ || (kind_ == ControlKind::ComboBox && GetParent(focus) == hwnd_));
}

FontSpec Win32ChildControl::Font() { return SpecOfFont(font_); }

// Texts given before in another code page are shown anew in the font's.
void Win32ChildControl::SetFont(const FontSpec& font, ColorRef color) {
    HFONT made = CreateFontFor(font);
    Quiet quiet(*this);
    const unsigned codePage = CharsetCodePage(font.Charset);
    const bool recode = codePage != codePage_;
    const std::string text = recode ? Text() : std::string();
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
    if (font_)
        DeleteObject(font_);
    font_ = made;
    textColor_ = color;
    codePage_ = codePage;
    if (recode)
        ShowTexts(text);
    Invalidate();
}

void Win32ChildControl::ShowTexts(const std::string& text) { SetWindowTextIn(hwnd_, codePage_, text); }

void Win32ChildControl::ShowItemsAgain() {
    const int index = ItemIndex();
    SetItems(std::vector<std::string>(items_));
    SetItemIndex(index);
}

void Win32ChildControl::SetColor(ColorRef color) {
    color_ = color;
    if (brush_)
        DeleteObject(brush_);
    brush_ = CreateSolidBrush(ResolveColor(color));
    Invalidate();
}

void Win32ChildControl::Click() {
    if (TakesInput())
        Notify(&IControlEvents::OnClick);
}

void Win32ChildControl::Choose(int index) {
    if (!TakesInput() || index < 0 || index >= Count())
        return;
    SetItemIndex(index);
    Notify(&IControlEvents::OnClick);
}

void Win32ChildControl::SetScrollBars(bool horizontal, bool vertical) {
    ShowScrollBar(hwnd_, SB_HORZ, horizontal);
    ShowScrollBar(hwnd_, SB_VERT, vertical);
}

bool Win32ChildControl::ScrollBarShown(bool horizontal) {
    return (GetWindowLongA(hwnd_, GWL_STYLE) & (horizontal ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

void Win32ChildControl::PressKey(int key, bool shift) {
    if (!TakesInput())
        return;
    ::SetFocus(hwnd_);
    pressing_ = true;
    pressedShift_ = shift;
    SendMessageA(hwnd_, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
    pressing_ = false;
}

WPARAM Win32ChildControl::OwnerKey(WPARAM key) {
    int k = static_cast<int>(key);
    bool shift = pressing_ ? pressedShift_ : GetKeyState(VK_SHIFT) < 0;
    try {
        events_.OnKeyDown(k, shift);
    } catch (...) {
        RaiseCurrent();
    }
    return static_cast<WPARAM>(k);
}

bool Win32ChildControl::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        return Command(HIWORD(wParam));
    case WM_NOTIFY:
        return Notification(*reinterpret_cast<NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
        if (!brush_)
            return false;
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, ResolveColor(textColor_));
        SetBkColor(dc, ResolveColor(color_));
        result = reinterpret_cast<LRESULT>(brush_);
        return true;
    }
    }
    return false;
}

bool Win32ChildControl::Usable() const {
    if (!IsWindowVisible(hwnd_))
        return false;
    for (HWND w = hwnd_; w && (GetWindowLongA(w, GWL_STYLE) & WS_CHILD); w = GetParent(w))
        if (!IsWindowEnabled(w))
            return false;
    return true;
}

bool Win32ChildControl::TakesInput() const {
    if (!Usable())
        return false;
    HWND top = hwnd_;
    while (GetWindowLongA(top, GWL_STYLE) & WS_CHILD)
        top = GetParent(top);
    return IsWindowEnabled(top);
}

void Win32ChildControl::RaiseCurrent() { gui_.Raise(std::current_exception()); }

} // namespace sw::win32
