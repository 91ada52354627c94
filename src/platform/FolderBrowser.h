// The shell's folder-browsing dialog, with the hooks a caller needs to extend
// it at run time: its callback (initialised, selection changed), the walk of
// its child windows, controls added to it, and strings borrowed from the
// system's own libraries. Directories are created through IFileSystem.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sw {

// A window of the browser or one the caller added to it.
using BrowserWindow = uintptr_t;

struct BrowserRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const BrowserRect&, const BrowserRect&) = default;
};

// One child window of the browser: its window class name ("SysTreeView32",
// "Button", ...) and its rectangle in the browser's client coordinates.
struct BrowserChild {
    BrowserWindow Window = 0;
    std::string ClassName;
    BrowserRect Bounds;
};

// The open browser, handed to the callbacks. Valid only during them and the
// handlers of the controls added through it.
class IFolderBrowserWindow {
  public:
    virtual ~IFolderBrowserWindow() = default;
    // The browser's child windows in the order the system keeps them.
    virtual std::vector<BrowserChild> Children() = 0;
    // Selects the folder `path` in the tree; a path the tree cannot show leaves
    // the selection as it was. A change is reported to OnSelectionChanged
    // before this returns.
    virtual void SetSelection(const std::string& path) = 0;
    virtual void SetBounds(BrowserWindow window, const BrowserRect& bounds) = 0;
    virtual bool IsEnabled(BrowserWindow window) = 0;
    virtual void SetVisible(BrowserWindow window, bool visible) = 0;
    // The tree keeps its selection drawn while another control has the focus.
    virtual void KeepSelectionVisible(BrowserWindow tree) = 0;
    // A push button in the browser; `onClick` runs when the user presses it.
    virtual BrowserWindow AddButton(const std::string& caption, const BrowserRect& bounds,
                                    std::function<void()> onClick) = 0;
    // A single-line edit in the browser; `onKeyUp` runs on each key release.
    virtual BrowserWindow AddEdit(const BrowserRect& bounds, std::function<void()> onKeyUp) = 0;
    virtual std::string Text(BrowserWindow window) = 0;
    // Sets a control's text without raising its key handler.
    virtual void SetText(BrowserWindow window, const std::string& text) = 0;
    // Presses a push button of the browser, as a click would (OK closes it).
    virtual void Click(BrowserWindow button) = 0;
    // Asks for a line of text in a modal question over the browser: `title`,
    // `prompt`, the edit preset with `text`. None when the user cancels.
    virtual std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                               const std::string& text) = 0;
};

class IFolderBrowserEvents {
  public:
    virtual ~IFolderBrowserEvents() = default;
    virtual void OnInitialized(IFolderBrowserWindow& browser) = 0;
    // `path` is the selected item's file-system path, empty when the item has
    // none (the desktop, a printer); the browser's OK is enabled exactly when
    // it has one.
    virtual void OnSelectionChanged(IFolderBrowserWindow& browser, const std::string& path) = 0;
};

class IFolderBrowser {
  public:
    virtual ~IFolderBrowser() = default;
    // Runs the browser modally over the active window, rooted at the desktop,
    // returning file-system folders only, with `title` above the tree. The
    // path of the selected item (at most 260 characters) when the user pressed
    // OK, none when the browser was cancelled.
    virtual std::optional<std::string> Browse(const std::string& title, IFolderBrowserEvents& events) = 0;
    // String `id` of the system library `library` ("shell32.dll"); empty when
    // the library or the string is missing.
    virtual std::string SystemString(const std::string& library, unsigned id) = 0;
};

} // namespace sw
