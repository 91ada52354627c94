#include "platform/fake/FakeFolderBrowser.h"

#include "platform/FileSystem.h"
#include "platform/PlatformErrors.h"

#include <algorithm>
#include <cctype>

namespace sw::fake {

namespace {

constexpr BrowserWindow kTitle = 1, kTree = 2, kOk = 3, kCancel = 4;

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

class FakeFolderBrowser::Window : public IFolderBrowserWindow {
  public:
    Window(FakeFolderBrowser& owner, Run& run, IFolderBrowserEvents& events)
        : owner_(owner), run_(run), events_(events) {
        run_.Tree = TreeBounds;
    }

    bool Closed() const { return closed_; }
    const std::string& Selection() const { return selection_; }
    bool SelectionSet() const { return selectionSet_; }

    // The tree shows existing folders; a drive root keeps its backslash.
    bool Shows(const std::string& path) const {
        if (path.empty())
            return false;
        std::string folder = path;
        if (folder.size() > 3 && folder.back() == '\\')
            folder.pop_back();
        return owner_.files_.DirectoryExists(folder);
    }

    void Select(const std::string& path) {
        selection_ = path;
        selectionSet_ = true;
        events_.OnSelectionChanged(*this, path);
    }

    void Play(const Step& step) {
        switch (step.Kind) {
        case StepKind::Select:
            if (!Shows(step.Text))
                throw EPlatformError("The folder browser shows no folder " + step.Text + " to select");
            Select(step.Text);
            break;
        case StepKind::Type: {
            Control* edit = FindAdded("Edit", "");
            if (!edit)
                throw EPlatformError("The folder browser has no edit to type " + step.Text + " into");
            edit->Text = step.Text;
            if (edit->OnKey)
                edit->OnKey();
            break;
        }
        case StepKind::Click: {
            Control* button = FindAdded("Button", step.Text);
            if (!button || !run_.Controls[button->Index].Visible)
                throw EPlatformError("The folder browser shows no button " + step.Text);
            if (button->OnClick)
                button->OnClick();
            break;
        }
        case StepKind::Ok:
            Click(kOk);
            if (!closed_)
                throw EPlatformError("The folder browser's OK is disabled");
            break;
        case StepKind::Cancel:
            Click(kCancel);
            break;
        }
    }

    std::vector<BrowserChild> Children() override {
        std::vector<BrowserChild> children = {{kTitle, "Static", TitleBounds},
                                              {kTree, "SysTreeView32", run_.Tree},
                                              {kOk, "Button", OkBounds},
                                              {kCancel, "Button", CancelBounds}};
        for (const auto& c : added_)
            children.push_back({c.Id, run_.Controls[c.Index].ClassName, run_.Controls[c.Index].Bounds});
        return children;
    }

    void SetSelection(const std::string& path) override {
        if (Shows(path))
            Select(path);
    }

    void SetBounds(BrowserWindow window, const BrowserRect& bounds) override {
        if (window == kTree)
            run_.Tree = bounds;
        else if (Control* c = Find(window))
            run_.Controls[c->Index].Bounds = bounds;
    }

    bool IsEnabled(BrowserWindow window) override { return window != kOk || !selection_.empty(); }

    void SetVisible(BrowserWindow window, bool visible) override {
        if (Control* c = Find(window))
            run_.Controls[c->Index].Visible = visible;
    }

    void KeepSelectionVisible(BrowserWindow tree) override {
        if (tree == kTree)
            run_.TreeKeepsSelection = true;
    }

    BrowserWindow AddButton(const std::string& caption, const BrowserRect& bounds,
                            std::function<void()> onClick) override {
        return Add("Button", caption, bounds, std::move(onClick), nullptr);
    }

    BrowserWindow AddEdit(const BrowserRect& bounds, std::function<void()> onKeyUp) override {
        return Add("Edit", "", bounds, nullptr, std::move(onKeyUp));
    }

    std::string Text(BrowserWindow window) override {
        Control* c = Find(window);
        return c ? c->Text : std::string();
    }

    void SetText(BrowserWindow window, const std::string& text) override {
        if (Control* c = Find(window))
            c->Text = text;
    }

    void Click(BrowserWindow button) override {
        if (closed_)
            return;
        if (button == kOk && !selection_.empty()) {
            closed_ = true;
            run_.Result = selection_;
        } else if (button == kCancel) {
            closed_ = true;
        } else if (Control* c = Find(button); c && c->OnClick) {
            c->OnClick();
        }
    }

    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& text) override {
        run_.Questions.push_back({title, prompt, text});
        if (owner_.answers_.empty())
            throw EPlatformError("The folder browser asked \"" + prompt + "\" with no answer queued");
        auto answer = owner_.answers_.front();
        owner_.answers_.pop_front();
        return answer;
    }

  private:
    struct Control {
        BrowserWindow Id;
        size_t Index;
        std::string Text;
        std::function<void()> OnClick;
        std::function<void()> OnKey;
    };

    BrowserWindow Add(const char* cls, const std::string& caption, const BrowserRect& bounds,
                      std::function<void()> onClick, std::function<void()> onKey) {
        BrowserWindow id = kCancel + 1 + added_.size();
        run_.Controls.push_back({cls, caption, bounds, true});
        added_.push_back({id, run_.Controls.size() - 1, caption, std::move(onClick), std::move(onKey)});
        return id;
    }

    Control* Find(BrowserWindow window) {
        for (auto& c : added_)
            if (c.Id == window)
                return &c;
        return nullptr;
    }

    // The first added control of class `cls` (and, when given, caption).
    Control* FindAdded(const std::string& cls, const std::string& caption) {
        for (auto& c : added_) {
            const Added& a = run_.Controls[c.Index];
            if (a.ClassName == cls && (caption.empty() || Lower(a.Caption) == Lower(caption)))
                return &c;
        }
        return nullptr;
    }

    FakeFolderBrowser& owner_;
    Run& run_;
    IFolderBrowserEvents& events_;
    std::vector<Control> added_;
    std::string selection_;
    bool selectionSet_ = false;
    bool closed_ = false;
};

void FakeFolderBrowser::Select(const std::string& path) { steps_.push_back({StepKind::Select, path}); }
void FakeFolderBrowser::Type(const std::string& text) { steps_.push_back({StepKind::Type, text}); }
void FakeFolderBrowser::ClickButton(const std::string& caption) { steps_.push_back({StepKind::Click, caption}); }
void FakeFolderBrowser::PressOk() { steps_.push_back({StepKind::Ok, ""}); }
void FakeFolderBrowser::PressCancel() { steps_.push_back({StepKind::Cancel, ""}); }

void FakeFolderBrowser::SetSystemString(const std::string& library, unsigned id, const std::string& text) {
    strings_[Lower(library) + "#" + std::to_string(id)] = text;
}

std::string FakeFolderBrowser::SystemString(const std::string& library, unsigned id) {
    auto it = strings_.find(Lower(library) + "#" + std::to_string(id));
    return it == strings_.end() ? std::string() : it->second;
}

std::optional<std::string> FakeFolderBrowser::Browse(const std::string& title, IFolderBrowserEvents& events) {
    runs_.push_back({});
    size_t index = runs_.size() - 1;
    runs_[index].Title = title;
    Run& run = runs_[index];
    Window window(*this, run, events);
    events.OnInitialized(window);
    // The browser opens at the desktop unless the caller selected a folder.
    if (!window.SelectionSet() && !window.Closed())
        window.Select("");
    run.InitialSelection = window.Selection();
    while (!window.Closed()) {
        if (steps_.empty())
            throw EPlatformError("The folder browser is open with no user step left");
        Step step = steps_.front();
        steps_.pop_front();
        window.Play(step);
    }
    return run.Result;
}

} // namespace sw::fake
