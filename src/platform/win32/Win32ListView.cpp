// The list view as a report: columns, rows whose cells are separated by tabs,
// and the small and state images of each row.
#include "platform/GridCells.h"
#include "platform/win32/Win32Bitmaps.h"
#include "platform/win32/Win32ChildControl.h"
#include "platform/win32/Win32CommonControls.h"
#include "platform/win32/Win32CodePages.h"

#include <algorithm>

namespace sw::win32 {

namespace {

class Win32ListView : public Win32ChildControl {
  public:
    explicit Win32ListView(const ChildSpec& spec)
        : Win32ChildControl(spec, {WC_LISTVIEWA,
                                   LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP,
                                   WS_EX_CLIENTEDGE}) {
        SetColumns({});
    }

    ~Win32ListView() override {
        // Shared lists: the window leaves them to us.
        SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
        SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_STATE, 0);
        for (HIMAGELIST list : imageLists_)
            if (list)
                CommonControls().ImageListDestroy(list);
    }

    void SetItems(const std::vector<std::string>& items) override {
        Quiet quiet(*this);
        items_ = items;
        images_.assign(items.size(), ItemImages{});
        FillList();
        index_ = -1;
    }

    int ItemIndex() override {
        return static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }

    void SetItemIndex(int index) override {
        Quiet quiet(*this);
        if (index < 0 || index >= Count())
            index = -1;
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        if (index >= 0) {
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
        }
    }

    void SetColumns(const std::vector<ColumnSpec>& columns) override {
        columns_ = columns;
        while (SendMessageA(hwnd_, LVM_DELETECOLUMN, 0, 0))
            ;
        for (size_t i = 0; i < columns.size(); ++i) {
            if (NeedsWideApi(codePage_)) {
                std::wstring caption = WideText(codePage_, columns[i].Caption);
                LVCOLUMNW column{};
                DescribeColumn(column, columns[i].Width, caption.data(), i);
                SendMessageW(hwnd_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
            } else {
                LVCOLUMNA column{};
                DescribeColumn(column, columns[i].Width, const_cast<char*>(columns[i].Caption.c_str()), i);
                SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
            }
        }
        FillList();
        Invalidate();
    }

    void SetImageList(ImageListRole role, const ImageListSpec& images) override {
        HIMAGELIST& list = imageLists_[role == ImageListRole::Small ? 0 : 1];
        HIMAGELIST old = list;
        list = CreateImageList(images);
        SendMessageA(hwnd_, LVM_SETIMAGELIST, role == ImageListRole::Small ? LVSIL_SMALL : LVSIL_STATE,
                     reinterpret_cast<LPARAM>(list));
        if (old)
            CommonControls().ImageListDestroy(old);
    }

    ImageListInfo GetImageList(ImageListRole role) override {
        auto list = reinterpret_cast<HIMAGELIST>(
            SendMessageA(hwnd_, LVM_GETIMAGELIST, role == ImageListRole::Small ? LVSIL_SMALL : LVSIL_STATE, 0));
        if (!list)
            return {};
        ImageListInfo info;
        info.Count = CommonControls().ImageListGetImageCount(list);
        CommonControls().ImageListGetIconSize(list, &info.Width, &info.Height);
        return info;
    }

    void SetItemImages(const std::vector<ItemImages>& images) override {
        for (size_t i = 0; i < images_.size() && i < images.size(); ++i)
            images_[i] = images[i];
        for (size_t row = 0; row < images_.size(); ++row)
            ApplyItemImages(row);
    }

    // A state image n is kept as n + 1: 0 means none.
    std::vector<ItemImages> GetItemImages() override {
        std::vector<ItemImages> images;
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

    void SetColor(ColorRef color) override {
        Win32ChildControl::SetColor(color);
        SendMessageA(hwnd_, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ResolveColor(color)));
        SendMessageA(hwnd_, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ResolveColor(color)));
        Invalidate();
    }

  protected:
    void ShowTexts(const std::string&) override {
        const int index = ItemIndex();
        SetColumns(std::vector<ColumnSpec>(columns_));
        SetItemIndex(index);
    }

    // One notice per item whose state changed: only the newly selected one counts.
    bool Notification(const NMHDR& header) override {
        if (header.code == static_cast<UINT>(LVN_ITEMCHANGED)) {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED))
                Notify(&IControlEvents::OnClick);
        }
        return true;
    }

  private:
    void FillList() {
        SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0);
        const bool wide = NeedsWideApi(codePage_);
        for (size_t row = 0; row < items_.size(); ++row) {
            std::vector<std::string> cells = RowCells(items_[row]);
            for (size_t c = 0; c < cells.size(); ++c) {
                if (wide) {
                    std::wstring text = WideText(codePage_, cells[c]);
                    LVITEMW item{};
                    DescribeCell(item, row, c, text.data());
                    SendMessageW(hwnd_, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row,
                                 reinterpret_cast<LPARAM>(&item));
                } else {
                    LVITEMA item{};
                    DescribeCell(item, row, c, cells[c].data());
                    SendMessageA(hwnd_, c == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, row,
                                 reinterpret_cast<LPARAM>(&item));
                }
            }
            ApplyItemImages(row);
        }
    }

    template <class Column, class Char>
    static void DescribeColumn(Column& column, int width, Char* caption, size_t index) {
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = width;
        column.pszText = caption;
        column.iSubItem = static_cast<int>(index);
    }

    template <class Item, class Char> static void DescribeCell(Item& item, size_t row, size_t cell, Char* text) {
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.iSubItem = static_cast<int>(cell);
        item.pszText = text;
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

    HIMAGELIST imageLists_[2] = {nullptr, nullptr};
    std::vector<ItemImages> images_;
};

} // namespace

std::unique_ptr<Win32ChildControl> CreateListView(const ChildSpec& spec) {
    return std::make_unique<Win32ListView>(spec);
}

} // namespace sw::win32
