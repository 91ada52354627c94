// Lists of one column: list box, drop-down combo box, tab strip.
#include "platform/win32/Win32ChildControl.h"
#include "platform/win32/Win32CodePages.h"

namespace sw::win32 {

namespace {

// LB_ADDSTRING or CB_ADDSTRING.
void AddItem(HWND window, UINT message, unsigned codePage, const std::string& item) {
    if (NeedsWideApi(codePage))
        SendMessageW(window, message, 0, reinterpret_cast<LPARAM>(WideText(codePage, item).c_str()));
    else
        SendMessageA(window, message, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

class Win32ListBox : public Win32ChildControl {
  public:
    explicit Win32ListBox(const ChildSpec& spec)
        : Win32ChildControl(
              spec, {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE}) {}

    void SetItems(const std::vector<std::string>& items) override {
        Quiet quiet(*this);
        items_ = items;
        SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
        for (const auto& item : items)
            AddItem(hwnd_, LB_ADDSTRING, codePage_, item);
        index_ = -1;
    }

    int ItemIndex() override { return static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0)); }
    void SetItemIndex(int index) override {
        Quiet quiet(*this);
        SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index < 0 || index >= Count() ? -1 : index), 0);
    }

    void ShowTexts(const std::string&) override { ShowItemsAgain(); }

  protected:
    bool Command(WORD code) override {
        if (code == LBN_SELCHANGE)
            Notify(&IControlEvents::OnClick);
        return true;
    }
};

// The window is higher than the control by its drop-down list.
class Win32ComboBox : public Win32ChildControl {
  public:
    explicit Win32ComboBox(const ChildSpec& spec)
        : Win32ChildControl(spec, {"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0}, 200) {}

    void SetItems(const std::vector<std::string>& items) override {
        Quiet quiet(*this);
        items_ = items;
        std::string text = Text();
        SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
        for (const auto& item : items)
            AddItem(hwnd_, CB_ADDSTRING, codePage_, item);
        SetText(text);
        index_ = -1;
    }

    int ItemIndex() override { return static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)); }
    void SetItemIndex(int index) override {
        Quiet quiet(*this);
        SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index < 0 || index >= Count() ? -1 : index), 0);
    }

    void Choose(int index) override {
        if (!TakesInput() || index < 0 || index >= Count())
            return;
        SetItemIndex(index);
        SetText(items_[static_cast<size_t>(index)]);
        Notify(&IControlEvents::OnClick);
    }

    void ShowTexts(const std::string& text) override {
        ShowItemsAgain();
        SetText(text);
    }

  protected:
    bool Command(WORD code) override {
        if (code == CBN_SELCHANGE) {
            int index = ItemIndex();
            if (index >= 0)
                SetText(items_[static_cast<size_t>(index)]);
            Notify(&IControlEvents::OnClick);
        } else if (code == CBN_EDITCHANGE) {
            Notify(&IControlEvents::OnChange);
        }
        return true;
    }
};

class Win32TabStrip : public Win32ChildControl {
  public:
    explicit Win32TabStrip(const ChildSpec& spec) : Win32ChildControl(spec, {WC_TABCONTROLA, WS_TABSTOP, 0}) {}

    void SetItems(const std::vector<std::string>& items) override {
        Quiet quiet(*this);
        items_ = items;
        SendMessageA(hwnd_, TCM_DELETEALLITEMS, 0, 0);
        for (size_t i = 0; i < items.size(); ++i) {
            if (NeedsWideApi(codePage_)) {
                std::wstring text = WideText(codePage_, items[i]);
                TCITEMW tab{};
                tab.mask = TCIF_TEXT;
                tab.pszText = text.data();
                SendMessageW(hwnd_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&tab));
            } else {
                TCITEMA tab{};
                tab.mask = TCIF_TEXT;
                tab.pszText = const_cast<char*>(items[i].c_str());
                SendMessageA(hwnd_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&tab));
            }
        }
        SendMessageA(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(-1), 0);
        index_ = -1;
    }

    int ItemIndex() override { return static_cast<int>(SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0)); }
    void SetItemIndex(int index) override {
        Quiet quiet(*this);
        SendMessageA(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index < 0 || index >= Count() ? -1 : index), 0);
    }

    void ShowTexts(const std::string&) override { ShowItemsAgain(); }

  protected:
    bool Notification(const NMHDR& header) override {
        if (header.code == static_cast<UINT>(TCN_SELCHANGE))
            Notify(&IControlEvents::OnClick);
        return true;
    }
};

} // namespace

std::unique_ptr<Win32ChildControl> CreateListControl(const ChildSpec& spec) {
    if (spec.Kind == ControlKind::ComboBox)
        return std::make_unique<Win32ComboBox>(spec);
    if (spec.Kind == ControlKind::TabStrip)
        return std::make_unique<Win32TabStrip>(spec);
    return std::make_unique<Win32ListBox>(spec);
}

} // namespace sw::win32
