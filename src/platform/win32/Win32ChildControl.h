// What every child window of a form shares, whatever its kind: the window,
// its place, text, font and colours, focus, and the owner's notifications.
// Each kind's realization derives from it and overrides what its window does
// differently (Win32Buttons, Win32TextControls, Win32ListControls,
// Win32TreeView, Win32ListView, Win32PaintedControls).
#pragma once

#include "platform/Gui.h"
#include "platform/win32/Win32Api.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace sw::win32 {

class Win32Gui;

// What creating a control was asked.
struct ChildSpec {
    Win32Gui& Gui;
    HWND Parent;
    std::vector<IControl*>& Registry;
    ControlKind Kind;
    const std::string& Name;
    const Bounds& Rect;
    IControlEvents& Events;
};

// The window class and styles a kind's window is created with.
struct WindowStyle {
    const char* Class;
    DWORD Style;
    DWORD ExStyle;
};

class Win32ChildControl : public IControl {
  public:
    // `extraHeight` is added to the window's height (a combo box's drop-down list).
    Win32ChildControl(const ChildSpec& spec, const WindowStyle& style, int extraHeight = 0);
    ~Win32ChildControl() override;
    Win32ChildControl(const Win32ChildControl&) = delete;
    Win32ChildControl& operator=(const Win32ChildControl&) = delete;

    HWND Window() const { return hwnd_; }
    static Win32ChildControl* Of(HWND hwnd) {
        return hwnd ? reinterpret_cast<Win32ChildControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)) : nullptr;
    }

    ControlKind Kind() override { return kind_; }
    const std::string& Name() override { return name_; }
    Bounds GetBounds() override;
    void SetBounds(const Bounds& b) override;
    std::string Text() override;
    void SetText(const std::string& text) override;
    void SetAlignment(TextAlign align) override;
    void SetWordWrap(bool wrap) override { wrap_ = wrap; }
    void SetReadOnly(bool) override {}
    std::vector<std::string> Items() override { return items_; }
    void SetItems(const std::vector<std::string>& items) override;
    int ItemIndex() override { return index_; }
    void SetItemIndex(int index) override;
    void SetColumns(const std::vector<ColumnSpec>& columns) override;
    void SetRowHeight(int height) override;
    void SetExpanded(int, bool) override {}
    bool Expanded(int) override { return false; }
    std::optional<Bounds> ItemRect(int) override { return std::nullopt; }
    bool Checked() override { return false; }
    void SetChecked(bool) override {}
    void SetDefault(bool) override {}
    bool DrawnAsDefault() override { return false; }
    void SetRange(int min, int max) override;
    int Position() override { return position_; }
    void SetPosition(int position) override;
    void SetImageList(ImageListRole, const ImageListSpec&) override {}
    ImageListInfo GetImageList(ImageListRole) override { return {}; }
    void SetItemImages(const std::vector<ItemImages>&) override {}
    std::vector<ItemImages> GetItemImages() override { return {}; }
    void SetCellDrawing(CellDrawing) override { Invalidate(); }
    void Repaint() override;
    void Invalidate() override { InvalidateRect(hwnd_, nullptr, TRUE); }
    void SetPicture(const std::string&, bool) override { Invalidate(); }
    void SetBevel(BevelKind) override { Invalidate(); }
    void SetScrollBars(bool horizontal, bool vertical) override;
    bool ScrollBarShown(bool horizontal) override;
    bool Enabled() override;
    void SetEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }
    bool Visible() override;
    void SetVisible(bool visible) override { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
    void SetFocus() override;
    void SetTabStop(bool on) override;
    bool Focused() override;
    FontSpec Font() override;
    void SetFont(const FontSpec& font, ColorRef color) override;
    void SetColor(ColorRef color) override;
    void Click() override;
    void Choose(int index) override;
    void Toggle(int) override {}
    void Scroll(int) override {}
    // Sent to the window as the keyboard would, with the Shift state asked.
    void PressKey(int key, bool shift) override;

    // What the parent window hears about this control: commands,
    // notifications, colours.
    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  protected:
    // Changes the program makes raise no notifications.
    struct Quiet {
        explicit Quiet(Win32ChildControl& c) : control(c), was(c.quiet_) { c.quiet_ = true; }
        ~Quiet() { control.quiet_ = was; }
        Win32ChildControl& control;
        bool was;
    };

    // A WM_COMMAND or WM_NOTIFY about this control; false when the kind has
    // nothing to do with it.
    virtual bool Command(WORD) { return false; }
    virtual bool Notification(const NMHDR&) { return false; }
    // Shows the window's text and the items again after the code page
    // changed with the font; `text` is the window's text.
    virtual void ShowTexts(const std::string& text);
    // SetItems again, keeping the chosen item.
    void ShowItemsAgain();
    // How many items SetItemIndex accepts.
    virtual int Count() const { return static_cast<int>(items_.size()); }

    // The living controls of the form this one is in.
    const std::vector<IControl*>& FormControls() const { return registry_; }
    // Visible with every parent and enabled with them.
    bool Usable() const;
    // Usable in an enabled form: what a user's click or key needs (the owner
    // of a modal dialog takes none).
    bool TakesInput() const;

    template <class... Args> void Notify(void (IControlEvents::*event)(Args...), Args... args) {
        if (quiet_)
            return;
        try {
            (events_.*event)(args...);
        } catch (...) {
            RaiseCurrent();
        }
    }
    // Tells the owner of a key pressed in the window (OnKeyDown); the key to
    // handle, 0 when the owner took it.
    WPARAM OwnerKey(WPARAM key);
    // No exception may leave a window procedure: the one being handled goes
    // to the application.
    void RaiseCurrent();

    Win32Gui& gui_;
    ControlKind kind_;
    IControlEvents& events_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH brush_ = nullptr;
    ColorRef color_ = kColorBtnFace;
    ColorRef textColor_ = kColorWindowText;
    TextAlign align_ = TextAlign::Left;
    bool wrap_ = false;
    bool quiet_ = false;
    std::vector<std::string> items_;
    std::vector<ColumnSpec> columns_;
    int index_ = -1;
    int rowHeight_ = 24;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    unsigned codePage_ = GetACP(); // of the font's character set: the code page of the texts

  private:
    bool pressing_ = false; // inside PressKey
    bool pressedShift_ = false;
    std::vector<IControl*>& registry_;
    std::string name_;
    int extraHeight_;
};

// The realizations of each family of kinds (one file each).
std::unique_ptr<Win32ChildControl> CreateButtonControl(const ChildSpec& spec); // buttons, boxes, progress bar
std::unique_ptr<Win32ChildControl> CreateTextControl(const ChildSpec& spec);   // static, edit, memo, rich edit
std::unique_ptr<Win32ChildControl> CreateListControl(const ChildSpec& spec);   // list box, combo box, tab strip
std::unique_ptr<Win32ChildControl> CreateTreeView(const ChildSpec& spec);
std::unique_ptr<Win32ChildControl> CreateListView(const ChildSpec& spec);
std::unique_ptr<Win32ChildControl> CreatePaintedControl(const ChildSpec& spec); // panel, group box, image, grid
// A painted control, windowless: its parent's window draws it.
std::unique_ptr<IControl> CreateWindowlessControl(const ChildSpec& spec);

// The window class of the painted kinds.
void RegisterPaintedClass();

} // namespace sw::win32
