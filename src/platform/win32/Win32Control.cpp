#include "platform/win32/Win32Control.h"

#include "platform/GridCells.h"
#include "platform/PlatformErrors.h"
#include "platform/TreeRows.h"
#include "platform/win32/Win32Bitmaps.h"
#include "platform/win32/Win32Gui.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace sw::win32 {

namespace {
const char kPaintedClass[] = "SetwrightControl";

bool IsTextKind(ControlKind k) {
    return k == ControlKind::Edit || k == ControlKind::Memo || k == ControlKind::RichEdit;
}

const char* RichEditClass() {
    static const char* name = LoadLibraryA("RICHED32.DLL") ? "RICHEDIT" : "EDIT";
    return name;
}

struct Style {
    const char* cls;
    DWORD style;
    DWORD exStyle;
};

Style StyleOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Static:
        return {"STATIC", SS_LEFT, 0};
    case ControlKind::Button:
        return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::CheckBox:
        return {"BUTTON", BS_CHECKBOX | WS_TABSTOP, 0};
    case ControlKind::RadioButton:
        return {"BUTTON", BS_RADIOBUTTON, 0};
    case ControlKind::Edit:
        return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::Memo:
        return {"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::RichEdit:
        return {RichEditClass(), ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
        return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::ComboBox:
        return {"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::ProgressBar:
        return {PROGRESS_CLASSA, 0, WS_EX_CLIENTEDGE};
    case ControlKind::TreeView:
        return {WC_TREEVIEWA, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case ControlKind::ListView:
        return {WC_LISTVIEWA, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case ControlKind::TabStrip:
        return {WC_TABCONTROLA, WS_TABSTOP, 0};
    case ControlKind::Grid:
        return {kPaintedClass, WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::GroupBox:
    case ControlKind::Panel:
        // Windows' own Tab navigation goes into the controls inside.
        return {kPaintedClass, 0, WS_EX_CONTROLPARENT};
    case ControlKind::Image:
        break;
    }
    return {kPaintedClass, 0, 0};
}

// The tree view's own window procedure, under ours.
WNDPROC treeProcedure = nullptr;
LRESULT CALLBACK TreeProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

class Win32Control : public IControl {
  public:
    Win32Control(Win32Gui& gui, HWND parent, std::vector<IControl*>& registry, ControlKind kind, std::string name,
                 const Bounds& b, IControlEvents& events)
        : gui_(gui), registry_(registry), kind_(kind), name_(std::move(name)), events_(events) {
        static int nextId = 1000;
        Style s = StyleOf(kind);
        hwnd_ = CreateWindowExA(s.exStyle, s.cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | s.style, b.Left, b.Top,
                                b.Width, kind == ControlKind::ComboBox ? b.Height + 200 : b.Height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)), GetModuleHandleA(nullptr),
                                nullptr);
        if (!hwnd_)
            throw EPlatformError("Cannot create the control " + name_ + " (error " + std::to_string(GetLastError()) +
                                 ")");
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        if (kind == ControlKind::RichEdit)
            SendMessageA(hwnd_, EM_SETEVENTMASK, 0, ENM_CHANGE);
        if (kind == ControlKind::ListView)
            SetColumns({});
        if (kind == ControlKind::TreeView)
            treeProcedure = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TreeProcedure)));
        registry_.push_back(this);
    }

    ~Win32Control() override {
        registry_.erase(std::remove(registry_.begin(), registry_.end(), this), registry_.end());
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        for (HIMAGELIST list : imageLists_)
            if (list)
                ImageList_Destroy(list);
        if (font_)
            DeleteObject(font_);
        if (brush_)
            DeleteObject(brush_);
    }

    Win32Control(const Win32Control&) = delete;
    Win32Control& operator=(const Win32Control&) = delete;

    HWND Window() const { return hwnd_; }
    static Win32Control* Of(HWND hwnd) {
        return hwnd ? reinterpret_cast<Win32Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)) : nullptr;
    }

    ControlKind Kind() override { return kind_; }
    const std::string& Name() override { return name_; }

    Bounds GetBounds() override {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

    void SetBounds(const Bounds& b) override {
        Quiet quiet(*this); // a tree that now shows other rows tells nobody: the program moved it
        MoveWindow(hwnd_, b.Left, b.Top, b.Width, kind_ == ControlKind::ComboBox ? b.Height + 200 : b.Height, TRUE);
    }

    std::string Text() override {
        int length = GetWindowTextLengthA(hwnd_);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        int got = GetWindowTextA(hwnd_, text.data(), length + 1);
        text.resize(static_cast<size_t>(std::max(0, got)));
        return text;
    }

    void SetText(const std::string& text) override {
        if (kind_ == ControlKind::Memo || kind_ == ControlKind::RichEdit) {
            // A multi-line edit does not report text set through WM_SETTEXT: report it here, once.
            {
                Quiet quiet(*this);
                SetWindowTextA(hwnd_, text.c_str());
            }
            Notify(&IControlEvents::OnChange);
            return;
        }
        SetWindowTextA(hwnd_, text.c_str());
        if (IsPainted())
            InvalidateRect(hwnd_, nullptr, TRUE);
    }

    void SetAlignment(TextAlign align) override {
        align_ = align;
        if (kind_ == ControlKind::Static) {
            LONG style = GetWindowLongA(hwnd_, GWL_STYLE) & ~0x1F;
            style |= align == TextAlign::Right    ? SS_RIGHT
                     : align == TextAlign::Center ? SS_CENTER
                     : wrap_                      ? SS_LEFT
                                                  : SS_LEFTNOWORDWRAP;
            SetWindowLongA(hwnd_, GWL_STYLE, style);
        }
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    void SetWordWrap(bool wrap) override {
        wrap_ = wrap;
        if (kind_ == ControlKind::Static)
            SetAlignment(align_);
    }

    void SetReadOnly(bool readOnly) override {
        if (IsTextKind(kind_))
            SendMessageA(hwnd_, EM_SETREADONLY, readOnly, 0);
    }

    std::vector<std::string> Items() override { return items_; }

    void SetItems(const std::vector<std::string>& items) override {
        Quiet quiet(*this);
        items_ = items;
        switch (kind_) {
        case ControlKind::ListBox:
            SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
            for (const auto& item : items)
                SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            break;
        case ControlKind::ComboBox: {
            std::string text = Text();
            SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
            for (const auto& item : items)
                SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            SetWindowTextA(hwnd_, text.c_str());
            break;
        }
        case ControlKind::TabStrip:
            SendMessageA(hwnd_, TCM_DELETEALLITEMS, 0, 0);
            for (size_t i = 0; i < items.size(); ++i) {
                TCITEMA tab{};
                tab.mask = TCIF_TEXT;
                tab.pszText = const_cast<char*>(items[i].c_str());
                SendMessageA(hwnd_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&tab));
            }
            SendMessageA(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(-1), 0);
            break;
        case ControlKind::TreeView:
            FillTree();
            break;
        case ControlKind::ListView:
            images_.assign(items.size(), ItemImages{});
            FillList();
            break;
        default:
            InvalidateRect(hwnd_, nullptr, TRUE);
            break;
        }
        index_ = -1;
    }

    int ItemIndex() override {
        switch (kind_) {
        case ControlKind::ListBox:
            return static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
        case ControlKind::ComboBox:
            return static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0));
        case ControlKind::TabStrip:
            return static_cast<int>(SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0));
        case ControlKind::TreeView: {
            auto selected = reinterpret_cast<HTREEITEM>(SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_CARET, 0));
            auto it = std::find(nodes_.begin(), nodes_.end(), selected);
            return selected && it != nodes_.end() ? static_cast<int>(it - nodes_.begin()) : -1;
        }
        case ControlKind::ListView:
            return static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        default:
            return index_;
        }
    }

    void SetItemIndex(int index) override {
        Quiet quiet(*this);
        if (index < 0 || index >= Count())
            index = -1;
        switch (kind_) {
        case ControlKind::ListBox:
            SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
            break;
        case ControlKind::ComboBox:
            SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            break;
        case ControlKind::TabStrip:
            SendMessageA(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
            break;
        case ControlKind::TreeView:
            SendMessageA(hwnd_, TVM_SELECTITEM, TVGN_CARET,
                         reinterpret_cast<LPARAM>(index < 0 ? nullptr : nodes_[static_cast<size_t>(index)]));
            break;
        case ControlKind::ListView: {
            LVITEMA state{};
            state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
            if (index >= 0) {
                state.state = LVIS_SELECTED | LVIS_FOCUSED;
                SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
            }
            break;
        }
        default:
            index_ = index;
            InvalidateRect(hwnd_, nullptr, TRUE);
            break;
        }
    }

    void SetColumns(const std::vector<ColumnSpec>& columns) override {
        columns_ = columns;
        if (kind_ == ControlKind::ListView) {
            while (SendMessageA(hwnd_, LVM_DELETECOLUMN, 0, 0))
                ;
            for (size_t i = 0; i < columns.size(); ++i) {
                LVCOLUMNA column{};
                column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
                column.cx = columns[i].Width;
                column.pszText = const_cast<char*>(columns[i].Caption.c_str());
                column.iSubItem = static_cast<int>(i);
                SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
            }
            FillList();
        }
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    void SetRowHeight(int height) override {
        rowHeight_ = std::max(1, height);
        if (kind_ == ControlKind::TreeView) {
            Quiet quiet(*this);
            SendMessageA(hwnd_, TVM_SETITEMHEIGHT, static_cast<WPARAM>(rowHeight_), 0);
        }
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    void SetExpanded(int index, bool expanded) override {
        if (!IsNode(index))
            return;
        Quiet quiet(*this);
        SendMessageA(hwnd_, TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE,
                     reinterpret_cast<LPARAM>(nodes_[static_cast<size_t>(index)]));
    }

    bool Expanded(int index) override {
        return IsNode(index) && (SendMessageA(hwnd_, TVM_GETITEMSTATE,
                                              reinterpret_cast<WPARAM>(nodes_[static_cast<size_t>(index)]),
                                              TVIS_EXPANDED) &
                                 TVIS_EXPANDED);
    }

    // As high as the distance between rows: Wine's rectangles leave out a row's last pixel line.
    std::optional<Bounds> ItemRect(int index) override {
        RECT r;
        if (!NodeRect(index, false, r))
            return std::nullopt;
        int height = static_cast<int>(SendMessageA(hwnd_, TVM_GETITEMHEIGHT, 0, 0));
        return Bounds{r.left, r.top, r.right - r.left, height > 0 ? height : r.bottom - r.top};
    }

    bool Checked() override { return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(bool checked) override {
        SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    void SetRange(int min, int max) override {
        min_ = min;
        max_ = std::max(min, max);
        SendMessageA(hwnd_, PBM_SETRANGE, 0, MAKELPARAM(min_, max_));
        SetPosition(position_);
    }

    // Windows 95's progress bar cannot tell its position: the last one set is kept.
    int Position() override { return position_; }
    void SetPosition(int position) override {
        position_ = std::clamp(position, min_, max_);
        SendMessageA(hwnd_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
    }

    void SetImageList(ImageListRole role, const ImageListSpec& images) override {
        if (kind_ != ControlKind::ListView)
            return;
        HIMAGELIST& list = imageLists_[role == ImageListRole::Small ? 0 : 1];
        HIMAGELIST old = list;
        list = CreateImageList(images);
        SendMessageA(hwnd_, LVM_SETIMAGELIST, role == ImageListRole::Small ? LVSIL_SMALL : LVSIL_STATE,
                     reinterpret_cast<LPARAM>(list));
        if (old)
            ImageList_Destroy(old);
    }

    ImageListInfo GetImageList(ImageListRole role) override {
        if (kind_ != ControlKind::ListView)
            return {};
        auto list = reinterpret_cast<HIMAGELIST>(
            SendMessageA(hwnd_, LVM_GETIMAGELIST, role == ImageListRole::Small ? LVSIL_SMALL : LVSIL_STATE, 0));
        if (!list)
            return {};
        ImageListInfo info;
        info.Count = ImageList_GetImageCount(list);
        ImageList_GetIconSize(list, &info.Width, &info.Height);
        return info;
    }

    void SetItemImages(const std::vector<ItemImages>& images) override {
        if (kind_ != ControlKind::ListView)
            return;
        for (size_t i = 0; i < images_.size() && i < images.size(); ++i)
            images_[i] = images[i];
        for (size_t row = 0; row < images_.size(); ++row)
            ApplyItemImages(row);
    }

    // A state image n is kept as n + 1: 0 means none.
    std::vector<ItemImages> GetItemImages() override {
        std::vector<ItemImages> images;
        if (kind_ != ControlKind::ListView)
            return images;
        for (size_t row = 0; row < items_.size(); ++row) {
            LVITEMA item{};
            item.mask = LVIF_IMAGE | LVIF_STATE;
            item.iItem = static_cast<int>(row);
            item.stateMask = LVIS_STATEIMAGEMASK;
            SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            images.push_back({item.iImage, static_cast<int>((item.state & LVIS_STATEIMAGEMASK) >> 12) - 1});
        }
        return images;
    }

    void SetCellDrawing(CellDrawing drawing) override {
        drawing_ = drawing;
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    void Repaint() override { RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

    void SetPicture(const std::string& bmp, bool stretch) override {
        picture_ = bmp;
        stretch_ = stretch;
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    void SetBevel(BevelKind bevel) override {
        bevel_ = bevel;
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    bool Enabled() override { return (GetWindowLongA(hwnd_, GWL_STYLE) & WS_DISABLED) == 0; }
    void SetEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }
    bool Visible() override { return (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
    void SetVisible(bool visible) override { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

    void SetFocus() override {
        if (Usable())
            ::SetFocus(hwnd_);
    }

    void SetTabStop(bool on) override {
        LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
        SetWindowLongA(hwnd_, GWL_STYLE, on ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
    bool Focused() override {
        HWND focus = GetFocus();
        // A combo box's edit is its own child (a panel's children are not the panel).
        return focus && (focus == hwnd_ || (kind_ == ControlKind::ComboBox && GetParent(focus) == hwnd_));
    }

    FontSpec Font() override { return SpecOfFont(font_); }

    void SetFont(const FontSpec& font, ColorRef color) override {
        HFONT made = CreateFontFor(font);
        Quiet quiet(*this);
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
        if (font_)
            DeleteObject(font_);
        font_ = made;
        textColor_ = color;
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    void SetColor(ColorRef color) override {
        color_ = color;
        if (brush_)
            DeleteObject(brush_);
        brush_ = CreateSolidBrush(ResolveColor(color));
        if (kind_ == ControlKind::TreeView)
            SendMessageA(hwnd_, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ResolveColor(color)));
        if (kind_ == ControlKind::ListView) {
            SendMessageA(hwnd_, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ResolveColor(color)));
            SendMessageA(hwnd_, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ResolveColor(color)));
        }
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    void Click() override {
        if (Usable())
            Notify(&IControlEvents::OnClick);
    }

    void Choose(int index) override {
        if (!Usable() || index < 0 || index >= Count())
            return;
        SetItemIndex(index);
        if (kind_ == ControlKind::ComboBox)
            SetWindowTextA(hwnd_, items_[static_cast<size_t>(index)].c_str());
        Notify(&IControlEvents::OnClick);
    }

    // A click in the middle of the node's button, half an indent left of its
    // text (the trees have no images).
    void Toggle(int index) override {
        RECT text;
        if (!Usable() || !NodeRect(index, true, text) ||
            !SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_CHILD,
                          reinterpret_cast<LPARAM>(nodes_[static_cast<size_t>(index)])))
            return;
        int indent = static_cast<int>(SendMessageA(hwnd_, TVM_GETINDENT, 0, 0));
        LPARAM at = MAKELPARAM(text.left - indent / 2, (text.top + text.bottom) / 2);
        // Queued first, so that a tree waiting for the button's release finds it.
        PostMessageA(hwnd_, WM_LBUTTONUP, 0, at);
        SendMessageA(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, at);
    }

    void Scroll(int rows) override {
        if (kind_ != ControlKind::TreeView || !Usable())
            return;
        for (int step = 0; step < std::abs(rows); ++step)
            SendMessageA(hwnd_, WM_VSCROLL, rows > 0 ? SB_LINEDOWN : SB_LINEUP, 0);
    }

    // The tree view's messages: a change of the first row shown tells the owner.
    LRESULT Tree(UINT message, WPARAM wParam, LPARAM lParam) {
        HTREEITEM top = FirstShown();
        LRESULT result = CallWindowProcA(treeProcedure, hwnd_, message, wParam, lParam);
        if (FirstShown() != top)
            Notify(&IControlEvents::OnScroll);
        return result;
    }

    // What the parent window hears about this control.
    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
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

    // The painted controls' window procedure.
    LRESULT Painted(UINT message, WPARAM wParam, LPARAM lParam) {
        // About a child of a panel or group box.
        if (message == WM_COMMAND || message == WM_NOTIFY ||
            (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)) {
            LRESULT result = 0;
            if (RouteToControl(message, wParam, lParam, result))
                return result;
        }
        switch (message) {
        case WM_ERASEBKGND:
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            Paint(dc);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
            if (kind_ == ControlKind::Grid) {
                ::SetFocus(hwnd_);
                int col = 0, x = LOWORD(lParam), y = HIWORD(lParam), left = 0;
                while (col < static_cast<int>(columns_.size()) && x >= left + columns_[static_cast<size_t>(col)].Width)
                    left += columns_[static_cast<size_t>(col++)].Width;
                if (col < static_cast<int>(columns_.size()))
                    Choose(y / rowHeight_ * static_cast<int>(columns_.size()) + col);
                return 0;
            }
            break;
        case WM_GETDLGCODE:
            if (kind_ == ControlKind::Grid)
                return DLGC_WANTARROWS;
            break;
        case WM_KEYDOWN:
            if (kind_ == ControlKind::Grid && !columns_.empty()) {
                int cols = static_cast<int>(columns_.size()), at = std::max(0, index_);
                int step = wParam == VK_LEFT    ? -1
                           : wParam == VK_RIGHT ? 1
                           : wParam == VK_UP    ? -cols
                           : wParam == VK_DOWN  ? cols
                                                : 0;
                if (step)
                    Choose(at + step);
                return 0;
            }
            break;
        }
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }

  private:
    // Changes the program makes raise no notifications.
    struct Quiet {
        explicit Quiet(Win32Control& c) : control(c), was(c.quiet_) { c.quiet_ = true; }
        ~Quiet() { control.quiet_ = was; }
        Win32Control& control;
        bool was;
    };

    bool IsPainted() const { return StyleOf(kind_).cls == kPaintedClass; }

    int Count() const {
        return kind_ == ControlKind::Grid ? static_cast<int>(items_.size() * columns_.size())
                                          : static_cast<int>(items_.size());
    }

    bool Usable() const {
        if (!IsWindowVisible(hwnd_))
            return false;
        for (HWND w = hwnd_; w && (GetWindowLongA(w, GWL_STYLE) & WS_CHILD); w = GetParent(w))
            if (!IsWindowEnabled(w))
                return false;
        return true;
    }

    template <class... Args> void Notify(void (IControlEvents::*event)(Args...), Args... args) {
        if (quiet_)
            return;
        try {
            (events_.*event)(args...);
        } catch (...) {
            // No exception may leave a window procedure: hand it to the application.
            gui_.Raise(std::current_exception());
        }
    }

    bool Command(WORD code) {
        switch (kind_) {
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            if (code == BN_CLICKED)
                Notify(&IControlEvents::OnClick);
            return true;
        case ControlKind::Edit:
        case ControlKind::Memo:
        case ControlKind::RichEdit:
            if (code == EN_CHANGE)
                Notify(&IControlEvents::OnChange);
            return true;
        case ControlKind::ListBox:
            if (code == LBN_SELCHANGE)
                Notify(&IControlEvents::OnClick);
            return true;
        case ControlKind::ComboBox:
            if (code == CBN_SELCHANGE) {
                int index = ItemIndex();
                if (index >= 0)
                    SetWindowTextA(hwnd_, items_[static_cast<size_t>(index)].c_str());
                Notify(&IControlEvents::OnClick);
            } else if (code == CBN_EDITCHANGE) {
                Notify(&IControlEvents::OnChange);
            }
            return true;
        default:
            return false;
        }
    }

    bool Notification(const NMHDR& header) {
        UINT code = header.code;
        bool chosen = (kind_ == ControlKind::TabStrip && code == static_cast<UINT>(TCN_SELCHANGE)) ||
                      (kind_ == ControlKind::TreeView && code == static_cast<UINT>(TVN_SELCHANGEDA));
        if (kind_ == ControlKind::ListView && code == static_cast<UINT>(LVN_ITEMCHANGED)) {
            // One notice per item whose state changed: only the newly selected one counts.
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            chosen = (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED);
        }
        if (chosen)
            Notify(&IControlEvents::OnClick);
        if (kind_ == ControlKind::TreeView &&
            (code == static_cast<UINT>(TVN_ITEMEXPANDEDA) || code == static_cast<UINT>(TVN_ITEMEXPANDEDW))) {
            const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
            auto it = std::find(nodes_.begin(), nodes_.end(), change.itemNew.hItem);
            if (it != nodes_.end()) {
                int index = static_cast<int>(it - nodes_.begin());
                Notify(&IControlEvents::OnExpand, index, Expanded(index));
            }
        }
        return kind_ == ControlKind::TabStrip || kind_ == ControlKind::TreeView || kind_ == ControlKind::ListView;
    }

    void FillTree() {
        SendMessageA(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        nodes_.clear();
        for (TreeItem& item : TreeItems(items_)) {
            TVINSERTSTRUCTA insert{};
            insert.hParent = item.Parent < 0 ? TVI_ROOT : nodes_[static_cast<size_t>(item.Parent)];
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT;
            insert.item.pszText = item.Text.data();
            nodes_.push_back(
                reinterpret_cast<HTREEITEM>(SendMessageA(hwnd_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert))));
        }
    }

    bool IsNode(int index) const {
        return kind_ == ControlKind::TreeView && index >= 0 && static_cast<size_t>(index) < nodes_.size();
    }

    // The row of a shown node, or its text only; false for a node not shown.
    bool NodeRect(int index, bool textOnly, RECT& rect) {
        if (!IsNode(index))
            return false;
        *reinterpret_cast<HTREEITEM*>(&rect) = nodes_[static_cast<size_t>(index)];
        return SendMessageA(hwnd_, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&rect)) != 0;
    }

    HTREEITEM FirstShown() {
        return reinterpret_cast<HTREEITEM>(
            CallWindowProcA(treeProcedure, hwnd_, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
    }

    void FillList() {
        SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0);
        for (size_t row = 0; row < items_.size(); ++row) {
            std::vector<std::string> cells = RowCells(items_[row]);
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.pszText = cells[0].data();
            SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            for (size_t c = 1; c < cells.size(); ++c) {
                item.iSubItem = static_cast<int>(c);
                item.pszText = cells[c].data();
                SendMessageA(hwnd_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
            }
            ApplyItemImages(row);
        }
    }

    void ApplyItemImages(size_t row) {
        if (row >= images_.size())
            return;
        LVITEMA item{};
        item.mask = LVIF_IMAGE | LVIF_STATE;
        item.iItem = static_cast<int>(row);
        item.iImage = images_[row].Image;
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(static_cast<UINT>(std::max(0, images_[row].State + 1)));
        SendMessageA(hwnd_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }

    void Paint(HDC dc) {
        RECT r;
        GetClientRect(hwnd_, &r);
        HBRUSH back = brush_ ? brush_ : GetSysColorBrush(COLOR_BTNFACE);
        FillRect(dc, &r, back);
        HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ResolveColor(textColor_));
        std::string text = Text();
        switch (kind_) {
        case ControlKind::GroupBox: {
            TEXTMETRICA tm;
            GetTextMetricsA(dc, &tm);
            RECT frame = r;
            frame.top += tm.tmHeight / 2;
            DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
            SIZE size;
            GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
            RECT label{8, 0, 8 + size.cx + 4, tm.tmHeight};
            FillRect(dc, &label, back);
            TextOutA(dc, 10, 0, text.c_str(), static_cast<int>(text.size()));
            break;
        }
        case ControlKind::Image:
            PaintPicture(dc, r);
            break;
        case ControlKind::Grid:
            PaintGrid(dc);
            break;
        default: {
            PaintBevel(dc, r);
            UINT align = align_ == TextAlign::Left ? DT_LEFT : align_ == TextAlign::Right ? DT_RIGHT : DT_CENTER;
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, align | DT_VCENTER | DT_SINGLELINE);
            break;
        }
        }
        SelectObject(dc, oldFont);
    }

    void PaintBevel(HDC dc, RECT r) {
        switch (bevel_) {
        case BevelKind::Lowered:
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
            break;
        case BevelKind::Raised:
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
            break;
        case BevelKind::Frame:
            DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
            break;
        case BevelKind::TopLine:
            DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
            break;
        case BevelKind::BottomLine:
            DrawEdge(dc, &r, EDGE_ETCHED, BF_BOTTOM);
            break;
        case BevelKind::LeftLine:
            DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT);
            break;
        case BevelKind::RightLine:
            DrawEdge(dc, &r, EDGE_ETCHED, BF_RIGHT);
            break;
        case BevelKind::None:
            break;
        }
    }

    // A BMP file: the info header and palette follow the 14-byte file header.
    void PaintPicture(HDC dc, RECT r) {
        if (picture_.size() < 14 + sizeof(BITMAPINFOHEADER))
            return;
        const char* data = picture_.data();
        uint32_t offBits;
        std::memcpy(&offBits, data + 10, 4);
        BITMAPINFOHEADER header;
        std::memcpy(&header, data + 14, sizeof header);
        if (offBits >= picture_.size())
            return;
        auto* info = reinterpret_cast<const BITMAPINFO*>(data + 14);
        int w = header.biWidth, h = header.biHeight < 0 ? -header.biHeight : header.biHeight;
        int dw = stretch_ ? r.right : w, dh = stretch_ ? r.bottom : h;
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, 0, 0, dw, dh, 0, 0, w, h, data + offBits, info, DIB_RGB_COLORS, SRCCOPY);
    }

    // The window's own drawing fills each cell and writes its text; the
    // owner's follows. An exception of the owner's ends the drawing and goes
    // to the application.
    void PaintGrid(HDC dc) {
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        try {
            PaintCells(dc);
        } catch (...) {
            gui_.Raise(std::current_exception());
        }
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }

    void PaintCells(HDC dc) {
        Win32Canvas canvas(dc);
        int cols = static_cast<int>(columns_.size());
        for (const GridCell& cell : GridCells(columns_, static_cast<int>(items_.size()), rowHeight_)) {
            bool selected = cell.Row * cols + cell.Col == index_;
            if (drawing_ != CellDrawing::Owner) {
                canvas.FillRect(cell.Rect, selected ? kColorHighlight : color_);
                std::vector<std::string> cells = RowCells(items_[static_cast<size_t>(cell.Row)]);
                if (static_cast<size_t>(cell.Col) < cells.size()) {
                    RECT text{cell.Rect.Left + 2, cell.Rect.Top, cell.Rect.Left + cell.Rect.Width,
                              cell.Rect.Top + cell.Rect.Height};
                    SetTextColor(dc, ResolveColor(selected ? kColorHighlightText : textColor_));
                    DrawTextA(dc, cells[static_cast<size_t>(cell.Col)].c_str(), -1, &text,
                              DT_LEFT | DT_VCENTER | DT_SINGLELINE);
                }
            }
            if (drawing_ != CellDrawing::Default)
                events_.OnDrawCell(cell.Col, cell.Row, cell.Rect, selected, canvas);
            int right = cell.Rect.Left + cell.Rect.Width, bottom = cell.Rect.Top + cell.Rect.Height;
            MoveToEx(dc, right, cell.Rect.Top, nullptr);
            LineTo(dc, right, bottom);
            LineTo(dc, cell.Rect.Left - 1, bottom);
        }
    }

    Win32Gui& gui_;
    std::vector<IControl*>& registry_;
    ControlKind kind_;
    std::string name_;
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
    std::vector<HTREEITEM> nodes_;
    HIMAGELIST imageLists_[2] = {nullptr, nullptr};
    std::vector<ItemImages> images_;
    CellDrawing drawing_ = CellDrawing::Default;
    int index_ = -1;
    int rowHeight_ = 24;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    std::string picture_;
    bool stretch_ = false;
    BevelKind bevel_ = BevelKind::None;
};

LRESULT CALLBACK PaintedProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Win32Control* control = Win32Control::Of(hwnd))
        return control->Painted(message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TreeProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Win32Control* control = Win32Control::Of(hwnd))
        return control->Tree(message, wParam, lParam);
    return CallWindowProcA(treeProcedure, hwnd, message, wParam, lParam);
}

} // namespace

void RegisterControlWindowClasses() {
    static bool done = false;
    if (done)
        return;
    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
    // InitCommonControlsEx came with Internet Explorer 3; Windows 95 has InitCommonControls.
    using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto initEx = reinterpret_cast<InitEx>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("comctl32.dll"), "InitCommonControlsEx")));
    if (!initEx || !initEx(&init))
        InitCommonControls();
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = &PaintedProcedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kPaintedClass;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EPlatformError("Cannot register the control class (error " + std::to_string(GetLastError()) + ")");
    done = true;
}

std::unique_ptr<IControl> CreateWin32Control(Win32Gui& gui, HWND parentWindow, std::vector<IControl*>& registry,
                                             ControlKind kind, const std::string& name, const Bounds& bounds,
                                             IControlEvents& events) {
    RegisterControlWindowClasses();
    return std::make_unique<Win32Control>(gui, parentWindow, registry, kind, name, bounds, events);
}

HWND ControlWindow(IControl& control) { return static_cast<Win32Control&>(control).Window(); }

bool RouteToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    if (message == WM_COMMAND)
        child = reinterpret_cast<HWND>(lParam);
    else if (message == WM_NOTIFY)
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        child = reinterpret_cast<HWND>(lParam);
    Win32Control* control = child ? Win32Control::Of(child) : nullptr;
    return control && control->Route(message, wParam, lParam, result);
}

HFONT CreateFontFor(const FontSpec& font) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    int height = -MulDiv(font.Size, dpi, 72);
    return CreateFontA(height, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, font.Italic, font.Underline, FALSE,
                       static_cast<DWORD>(font.Charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, font.Face.c_str());
}

FontSpec SpecOfFont(HFONT font) {
    FontSpec spec;
    LOGFONTA lf{};
    if (!font || !GetObjectA(font, sizeof lf, &lf))
        return spec;
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    spec.Face = lf.lfFaceName;
    spec.Size = lf.lfHeight < 0 ? MulDiv(-lf.lfHeight, 72, dpi) : -MulDiv(lf.lfHeight, 72, dpi);
    spec.Bold = lf.lfWeight >= FW_BOLD;
    spec.Italic = lf.lfItalic != 0;
    spec.Underline = lf.lfUnderline != 0;
    spec.Charset = lf.lfCharSet;
    return spec;
}

} // namespace sw::win32
