#include "dialogs/OpenFolderDialog.h"

#include "lang/Translator.h"
#include "platform/FileSystem.h"
#include "platform/FolderBrowser.h"
#include "platform/Platform.h"
#include "project/Text.h"
#include "system/SystemHelpers.h"

namespace sw {

namespace {

// Where the added controls go when the browser has no OK or no tree.
constexpr BrowserRect kCreateButtonFallback{20, 230, 140, 253};
constexpr int kEditHeight = 21;

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), std::string(prefix));
}

// The text with its one argument (%s or %1) left empty.
std::string WithEmptyArgument(std::string text) {
    for (const char* placeholder : {"%1", "%s"}) {
        size_t at = text.find(placeholder);
        if (at != std::string::npos)
            return text.erase(at, 2);
    }
    return text;
}

// A string of a system library; where the system has none (Wine's libraries
// lack some), the English wording through the translator.
std::string Borrowed(const char* library, unsigned id, const char* english) {
    std::string text = GetPlatform().FolderBrowser->SystemString(library, id);
    return text.empty() ? TranslateEnglish(english) : text;
}

bool FolderExists(const std::string& path) { return !path.empty() && GetPlatform().Files->DirectoryExists(path); }

} // namespace

std::string TOpenFolderDialog::NearestExistingFolder(std::string path) {
    while (!path.empty()) {
        if (FolderExists(path))
            return path;
        size_t cut = path.rfind('\\');
        if (cut == std::string::npos)
            return {};
        path.erase(cut);
    }
    return {};
}

// One run of the browser: the callbacks and the controls added to it.
class TOpenFolderDialog::Run : public IFolderBrowserEvents {
  public:
    explicit Run(TOpenFolderDialog& dialog) : dialog_(dialog) {}

    std::string CurrentPath;
    bool ReRun = false;

    void OnInitialized(IFolderBrowserWindow& browser) override {
        const BrowserChild* tree = nullptr;
        std::vector<const BrowserChild*> buttons;
        std::vector<BrowserChild> children = browser.Children();
        for (const auto& child : children) {
            if (!tree && StartsWith(child.ClassName, "SYSTREE"))
                tree = &child;
            else if (StartsWith(child.ClassName, "BUTTON") && buttons.size() < 2)
                buttons.push_back(&child);
        }
        if (!buttons.empty())
            ok_ = buttons[0]->Window;
        if (dialog_.ShowCreateButton)
            AddCreateButton(browser, tree, buttons);
        if (dialog_.ShowPathEdit)
            AddPathEdit(browser, tree);
        if (tree)
            browser.KeepSelectionVisible(tree->Window);
        if (!dialog_.Folder.empty()) {
            std::string start = NearestExistingFolder(dialog_.Folder);
            if (!start.empty()) {
                start = start.size() > 3 ? ExcludeTrailingBackslash(start) : IncludeTrailingBackslash(start);
                settingSelection_ = true;
                browser.SetSelection(start);
                settingSelection_ = false;
            }
        }
    }

    void OnSelectionChanged(IFolderBrowserWindow& browser, const std::string& path) override {
        CurrentPath = path;
        if (edit_ && !typing_)
            browser.SetText(edit_, CurrentPath);
        // A typed path that does not exist yet is what the create button makes: Wine's browser answers it by
        // selecting nothing and disabling OK, which must not hide the button.
        if (ok_ && createButton_ && !typing_)
            browser.SetVisible(createButton_, browser.IsEnabled(ok_));
    }

  private:
    void AddCreateButton(IFolderBrowserWindow& browser, const BrowserChild* tree,
                         const std::vector<const BrowserChild*>& buttons) {
        BrowserRect r = kCreateButtonFallback;
        if (buttons.size() == 2) {
            const BrowserRect& ok = buttons[0]->Bounds;
            const BrowserRect& cancel = buttons[1]->Bounds;
            r = {ok.Left * 2 - cancel.Left, ok.Top - 22, ok.Right + ok.Left - cancel.Left, ok.Bottom - 22};
        }
        if (tree)
            r.Left = tree->Bounds.Left;
        IFolderBrowserWindow* window = &browser;
        createButton_ = browser.AddButton(Borrowed("comdlg32.dll", 703, "New Folder"), r,
                                          [this, window] { CreateClicked(*window); });
    }

    void AddPathEdit(IFolderBrowserWindow& browser, const BrowserChild* tree) {
        BrowserRect r{20, 230, 140, 230 + kEditHeight};
        if (tree && ok_) {
            BrowserRect shortened = tree->Bounds;
            shortened.Bottom -= 60;
            browser.SetBounds(tree->Window, shortened);
            r = {shortened.Left, shortened.Bottom + 15, shortened.Right, shortened.Bottom + 15 + kEditHeight};
        }
        IFolderBrowserWindow* window = &browser;
        edit_ = browser.AddEdit(r, [this, window] { Typed(*window); });
    }

    void Typed(IFolderBrowserWindow& browser) {
        if (settingSelection_)
            return;
        std::string text = browser.Text(edit_);
        typing_ = true;
        browser.SetSelection(text);
        typing_ = false;
        CurrentPath = text;
    }

    void CreateClicked(IFolderBrowserWindow& browser) {
        bool allow = true;
        dialog_.OnCreateFolder(&dialog_, allow);
        if (!allow)
            return;
        if (!edit_ || FolderExists(browser.Text(edit_))) {
            auto name = browser.AskText(Borrowed("comdlg32.dll", 703, "New Folder"),
                                        Borrowed("shell32.dll", 8977, "Folder name:"), "");
            if (!name)
                return;
            CurrentPath = IncludeTrailingBackslash(CurrentPath) + *name;
        }
        GetPlatform().Files->ForceDirectories(CurrentPath);
        ReRun = true;
        if (ok_)
            browser.Click(ok_);
    }

    TOpenFolderDialog& dialog_;
    BrowserWindow ok_ = 0;
    BrowserWindow createButton_ = 0;
    BrowserWindow edit_ = 0;
    bool settingSelection_ = false;
    bool typing_ = false;
};

bool TOpenFolderDialog::Execute() {
    IFolderBrowser& shell = *GetPlatform().FolderBrowser;
    Run run(*this);
    std::optional<std::string> selected =
        shell.Browse(WithEmptyArgument(Borrowed("shell32.dll", 9248, "Select a folder:")), run);
    bool result = false;
    if (selected && ShowPathEdit) {
        GetPlatform().Files->ForceDirectories(run.CurrentPath);
        Folder = run.CurrentPath;
        result = true;
    } else if (selected) {
        Folder = selected->substr(0, 260);
        result = true;
    }
    if (run.ReRun) {
        Folder = run.CurrentPath;
        return Execute();
    }
    return result;
}

} // namespace sw
