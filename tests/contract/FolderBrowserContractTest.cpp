#include "ContractBackends.h"

#include "project/Text.h"

#include <functional>

using namespace sw;

namespace {

// Callbacks that record what the browser reports and run a test's steps
// once it is initialised (closing it there, so no user is needed).
struct Recorder : IFolderBrowserEvents {
    std::function<void(IFolderBrowserWindow&)> onInit;
    std::vector<std::string> selections;
    std::vector<bool> okEnabled;
    BrowserWindow ok = 0;

    void OnInitialized(IFolderBrowserWindow& browser) override {
        for (const auto& child : browser.Children())
            if (SameText(child.ClassName.substr(0, 6), "Button") && !ok)
                ok = child.Window;
        onInit(browser);
    }
    void OnSelectionChanged(IFolderBrowserWindow& browser, const std::string& path) override {
        selections.push_back(path);
        if (ok)
            okEnabled.push_back(browser.IsEnabled(ok));
    }
};

template <typename Backend> class FolderBrowserContract : public ::testing::Test {
  protected:
    Backend backend;
    Recorder events;

    std::optional<std::string> Browse(std::function<void(IFolderBrowserWindow&)> steps) {
        events.onInit = std::move(steps);
        return backend.FolderBrowser().Browse("Pick a folder", events);
    }
};

TYPED_TEST_SUITE(FolderBrowserContract, contract::Backends, contract::BackendNames);

TYPED_TEST(FolderBrowserContract, ShowsATreeOverOkAndCancel) {
    std::vector<BrowserChild> children;
    auto result = this->Browse([&](IFolderBrowserWindow& b) {
        children = b.Children();
        for (const auto& c : children)
            if (SameText(c.ClassName, "Button") && c.Window != this->events.ok)
                return b.Click(c.Window); // the second button: Cancel
    });
    EXPECT_FALSE(result.has_value());
    const BrowserChild* tree = nullptr;
    std::vector<const BrowserChild*> buttons;
    for (const auto& c : children) {
        if (!tree && SameText(c.ClassName.substr(0, 7), "SysTree"))
            tree = &c;
        if (SameText(c.ClassName, "Button"))
            buttons.push_back(&c);
    }
    ASSERT_NE(tree, nullptr);
    ASSERT_GE(buttons.size(), 2u);
    EXPECT_GT(tree->Bounds.Height(), 50);
    EXPECT_GT(buttons[0]->Bounds.Width(), 0);
}

TYPED_TEST(FolderBrowserContract, OkReturnsTheFolderTheCallerSelected) {
    const std::string folder = this->backend.Scratch() + "\\Picked";
    ASSERT_TRUE(this->backend.Files().CreateDirectory(folder));
    auto result = this->Browse([&](IFolderBrowserWindow& b) {
        b.SetSelection(folder + "\\Missing"); // not shown: the selection stays
        b.SetSelection(folder);
        b.Click(this->events.ok);
    });
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(SameText(*result, folder)) << *result;
    ASSERT_FALSE(this->events.selections.empty());
    EXPECT_TRUE(SameText(this->events.selections.back(), folder)) << this->events.selections.back();
    EXPECT_TRUE(this->events.okEnabled.back());
    for (const auto& s : this->events.selections)
        EXPECT_EQ(s.find("Missing"), std::string::npos) << s;
}

TYPED_TEST(FolderBrowserContract, AddedControlsTakeTextAndBounds) {
    std::string editText, buttonText;
    bool clicked = false;
    BrowserRect placed;
    this->Browse([&](IFolderBrowserWindow& b) {
        BrowserWindow edit = b.AddEdit({10, 10, 110, 31}, [] {});
        BrowserWindow button = b.AddButton("&New", {10, 40, 90, 63}, [&] { clicked = true; });
        b.SetText(edit, "C:\\Typed");
        editText = b.Text(edit);
        buttonText = b.Text(button);
        b.SetBounds(edit, {12, 14, 150, 35});
        for (const auto& c : b.Children())
            if (c.Window == edit)
                placed = c.Bounds;
        b.Click(button);
        for (const auto& c : b.Children())
            if (SameText(c.ClassName, "Button") && c.Window != this->events.ok && c.Window != button)
                return b.Click(c.Window);
    });
    EXPECT_EQ(editText, "C:\\Typed");
    EXPECT_EQ(buttonText, "&New");
    EXPECT_EQ(placed, (BrowserRect{12, 14, 150, 35}));
    EXPECT_TRUE(clicked);
}

TYPED_TEST(FolderBrowserContract, AMissingLibraryOrStringIsEmpty) {
    EXPECT_EQ(this->backend.FolderBrowser().SystemString("nosuchlibrary.dll", 703), "");
    EXPECT_EQ(this->backend.FolderBrowser().SystemString("shell32.dll", 65000), "");
}

} // namespace
