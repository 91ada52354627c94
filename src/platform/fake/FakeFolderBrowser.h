// A folder browser that answers as a user would: each Browse lays out a
// browser (a title, the folder tree over OK and Cancel), runs the caller's
// callbacks, then plays the queued user steps until a step closes it. The
// tree shows the folders of the given file system.
#pragma once

#include "platform/FolderBrowser.h"

#include <deque>
#include <map>
#include <memory>

namespace sw {
class IFileSystem;
}

namespace sw::fake {

class FakeFolderBrowser : public IFolderBrowser {
  public:
    explicit FakeFolderBrowser(IFileSystem& files) : files_(files) {}

    // The windows of every browser, in client coordinates.
    static constexpr BrowserRect TitleBounds{20, 8, 280, 40};
    static constexpr BrowserRect TreeBounds{20, 48, 280, 280};
    static constexpr BrowserRect OkBounds{118, 300, 193, 323};
    static constexpr BrowserRect CancelBounds{205, 300, 280, 323};

    // The user's steps, played in order across the coming runs.
    // Clicks the folder `path` in the tree; it must exist.
    void Select(const std::string& path);
    // Replaces the text of the edit the caller added and releases a key.
    void Type(const std::string& text);
    // Presses the added button captioned `caption`.
    void ClickButton(const std::string& caption);
    void PressOk();
    void PressCancel();
    // The answer to the next question (AskText); none cancels it.
    void Answer(std::optional<std::string> text) { answers_.push_back(std::move(text)); }

    void SetSystemString(const std::string& library, unsigned id, const std::string& text);

    // What one run showed.
    struct Added {
        std::string ClassName;
        std::string Caption;
        BrowserRect Bounds;
        bool Visible = true;
    };
    struct Question {
        std::string Title;
        std::string Prompt;
        std::string Text;
    };
    struct Run {
        std::string Title;
        // The selection once the browser was initialised.
        std::string InitialSelection;
        BrowserRect Tree;
        bool TreeKeepsSelection = false;
        std::vector<Added> Controls;
        std::vector<Question> Questions;
        std::optional<std::string> Result;
    };
    const std::vector<Run>& Runs() const { return runs_; }
    size_t PendingSteps() const { return steps_.size(); }

    std::optional<std::string> Browse(const std::string& title, IFolderBrowserEvents& events) override;
    std::string SystemString(const std::string& library, unsigned id) override;

  private:
    enum class StepKind { Select, Type, Click, Ok, Cancel };
    struct Step {
        StepKind Kind;
        std::string Text;
    };
    class Window;

    IFileSystem& files_;
    std::deque<Step> steps_;
    std::deque<std::optional<std::string>> answers_;
    std::map<std::string, std::string> strings_;
    std::vector<Run> runs_;
};

} // namespace sw::fake
