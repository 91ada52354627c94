// The tree view: items indented one tab per level become nodes; the owner
// hears of the user's expanding, collapsing and scrolling.
#include "platform/TreeRows.h"
#include "platform/win32/Win32Bitmaps.h"
#include "platform/win32/Win32ChildControl.h"
#include "platform/win32/Win32CodePages.h"

#include <algorithm>
#include <cstdlib>

namespace sw::win32 {

namespace {

// The tree view's own window procedure, under ours.
WNDPROC treeProcedure = nullptr;
LRESULT CALLBACK TreeProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

class Win32TreeView : public Win32ChildControl {
  public:
    explicit Win32TreeView(const ChildSpec& spec)
        : Win32ChildControl(spec, {WC_TREEVIEWA,
                                   TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP,
                                   WS_EX_CLIENTEDGE}) {
        treeProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TreeProcedure)));
    }

    // Lowered: the sunken client edge; anything else: no edge.
    void SetBevel(BevelKind bevel) override {
        LONG_PTR ex = GetWindowLongPtrA(hwnd_, GWL_EXSTYLE);
        LONG_PTR want = bevel == BevelKind::Lowered ? ex | WS_EX_CLIENTEDGE : ex & ~LONG_PTR{WS_EX_CLIENTEDGE};
        if (want == ex)
            return;
        SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, want);
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void SetItems(const std::vector<std::string>& items) override {
        Quiet quiet(*this);
        items_ = items;
        SendMessageA(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        nodes_.clear();
        for (TreeItem& item : TreeItems(items_)) {
            HTREEITEM parent = item.Parent < 0 ? TVI_ROOT : nodes_[static_cast<size_t>(item.Parent)];
            nodes_.push_back(reinterpret_cast<HTREEITEM>(NodeText(TVM_INSERTITEMA, parent, item.Text)));
        }
        index_ = -1;
    }

    int ItemIndex() override {
        auto selected = reinterpret_cast<HTREEITEM>(SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_CARET, 0));
        auto it = std::find(nodes_.begin(), nodes_.end(), selected);
        return selected && it != nodes_.end() ? static_cast<int>(it - nodes_.begin()) : -1;
    }

    void SetItemIndex(int index) override {
        Quiet quiet(*this);
        if (index < 0 || index >= Count())
            index = -1;
        SendMessageA(hwnd_, TVM_SELECTITEM, TVGN_CARET,
                     reinterpret_cast<LPARAM>(index < 0 ? nullptr : nodes_[static_cast<size_t>(index)]));
    }

    void SetRowHeight(int height) override {
        rowHeight_ = std::max(1, height);
        {
            Quiet quiet(*this);
            SendMessageA(hwnd_, TVM_SETITEMHEIGHT, static_cast<WPARAM>(rowHeight_), 0);
        }
        Invalidate();
    }

    void SetExpanded(int index, bool expanded) override {
        if (!IsNode(index))
            return;
        Quiet quiet(*this);
        SendMessageA(hwnd_, TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE,
                     reinterpret_cast<LPARAM>(nodes_[static_cast<size_t>(index)]));
    }

    bool Expanded(int index) override {
        return IsNode(index) &&
               (SendMessageA(hwnd_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(nodes_[static_cast<size_t>(index)]),
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

    void SetColor(ColorRef color) override {
        Win32ChildControl::SetColor(color);
        SendMessageA(hwnd_, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ResolveColor(color)));
        Invalidate();
    }

    // A click in the middle of the node's button, half an indent left of its
    // text (the trees have no images).
    void Toggle(int index) override {
        RECT text;
        if (!TakesInput() || !NodeRect(index, true, text) ||
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
        if (!TakesInput())
            return;
        for (int step = 0; step < std::abs(rows); ++step)
            SendMessageA(hwnd_, WM_VSCROLL, rows > 0 ? SB_LINEDOWN : SB_LINEUP, 0);
    }

    // The tree view's messages: the owner hears of keys first; a change of the first row shown tells the owner.
    LRESULT Tree(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_KEYDOWN && (wParam = OwnerKey(wParam)) == 0)
            return 0;
        HTREEITEM top = FirstShown();
        LRESULT result = CallWindowProcA(treeProcedure, hwnd_, message, wParam, lParam);
        if (FirstShown() != top)
            Notify(&IControlEvents::OnScroll);
        return result;
    }

  protected:
    // Node by node: the nodes stay open or closed as they are.
    void ShowTexts(const std::string&) override {
        Quiet quiet(*this);
        std::vector<TreeItem> items = TreeItems(items_);
        for (size_t i = 0; i < items.size() && i < nodes_.size(); ++i)
            NodeText(TVM_SETITEMA, nodes_[i], items[i].Text);
    }

    bool Notification(const NMHDR& header) override {
        UINT code = header.code;
        if (code == static_cast<UINT>(TVN_SELCHANGEDA))
            Notify(&IControlEvents::OnClick);
        if (code == static_cast<UINT>(TVN_ITEMEXPANDEDA) || code == static_cast<UINT>(TVN_ITEMEXPANDEDW)) {
            const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
            auto it = std::find(nodes_.begin(), nodes_.end(), change.itemNew.hItem);
            if (it != nodes_.end()) {
                int index = static_cast<int>(it - nodes_.begin());
                Notify(&IControlEvents::OnExpand, index, Expanded(index));
            }
        }
        return true;
    }

  private:
    // Inserts a node under `node` (TVM_INSERTITEMA) or sets the text of `node` (TVM_SETITEMA), through the wide
    // message where the code page needs it.
    LRESULT NodeText(UINT message, HTREEITEM node, std::string text) {
        const bool insert = message == TVM_INSERTITEMA;
        if (NeedsWideApi(codePage_)) {
            std::wstring wide = WideText(codePage_, text);
            TVINSERTSTRUCTW item{};
            Describe(item, insert, node, wide.data());
            return SendMessageW(hwnd_, insert ? TVM_INSERTITEMW : TVM_SETITEMW, 0,
                                insert ? reinterpret_cast<LPARAM>(&item) : reinterpret_cast<LPARAM>(&item.item));
        }
        TVINSERTSTRUCTA item{};
        Describe(item, insert, node, text.data());
        return SendMessageA(hwnd_, message, 0,
                            insert ? reinterpret_cast<LPARAM>(&item) : reinterpret_cast<LPARAM>(&item.item));
    }

    template <class Insert, class Char> static void Describe(Insert& item, bool insert, HTREEITEM node, Char* text) {
        item.hParent = insert ? node : nullptr;
        item.hInsertAfter = TVI_LAST;
        item.item.mask = TVIF_TEXT | (insert ? 0 : TVIF_HANDLE);
        item.item.hItem = insert ? nullptr : node;
        item.item.pszText = text;
    }

    bool IsNode(int index) const { return index >= 0 && static_cast<size_t>(index) < nodes_.size(); }

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

    std::vector<HTREEITEM> nodes_;
};

LRESULT CALLBACK TreeProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* control = static_cast<Win32TreeView*>(Win32ChildControl::Of(hwnd)))
        return control->Tree(message, wParam, lParam);
    return CallWindowProcA(treeProcedure, hwnd, message, wParam, lParam);
}

} // namespace

std::unique_ptr<Win32ChildControl> CreateTreeView(const ChildSpec& spec) {
    return std::make_unique<Win32TreeView>(spec);
}

} // namespace sw::win32
