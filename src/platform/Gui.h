// Windows on the screen: top-level forms, the message loop, message boxes
// and the cursor. Everything runs on the one GUI thread.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace sw {

// Message box flags, with the values Windows gives them.
namespace mb {
inline constexpr unsigned Ok = 0x0;
inline constexpr unsigned OkCancel = 0x1;
inline constexpr unsigned AbortRetryIgnore = 0x2;
inline constexpr unsigned YesNoCancel = 0x3;
inline constexpr unsigned YesNo = 0x4;
inline constexpr unsigned RetryCancel = 0x5;
inline constexpr unsigned IconError = 0x10;
inline constexpr unsigned IconQuestion = 0x20;
inline constexpr unsigned IconWarning = 0x30;
inline constexpr unsigned IconInformation = 0x40;
} // namespace mb

// Message box results.
namespace id {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace id

struct Bounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const Bounds&) const = default;
};

enum class ShowState { Normal, Maximized, Hidden };
enum class CursorKind { Default, Hourglass };

// What a form tells its owner. Called from the message loop; an exception
// thrown here goes to the application's exception handler.
class IFormEvents {
  public:
    virtual ~IFormEvents() = default;
    virtual void OnActivate() = 0;
    // The user asked to close the form; the form stays until its owner
    // destroys it.
    virtual void OnClose() = 0;
    virtual void OnResize() = 0;
};

// A top-level window, destroyed with this object.
class IForm {
  public:
    virtual ~IForm() = default;
    // Showing a form the first time queues its activation, delivered by the
    // message loop.
    virtual void Show(ShowState state) = 0;
    virtual bool Visible() = 0;
    virtual Bounds GetBounds() = 0;
    virtual void SetBounds(const Bounds& bounds) = 0;
    virtual std::string Caption() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void Repaint() = 0;
};

class IGui {
  public:
    virtual ~IGui() = default;

    virtual std::string Title() = 0;
    virtual void SetTitle(const std::string& title) = 0;

    virtual std::unique_ptr<IForm> CreateForm(const std::string& caption, const Bounds& bounds,
                                              IFormEvents& events) = 0;
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;

    // Runs until Terminate; returns at once when already terminated.
    virtual void RunMessageLoop() = 0;
    // Delivers the messages waiting now and returns.
    virtual void ProcessMessages() = 0;
    virtual void Terminate() = 0;
    virtual bool Terminated() = 0;

    // Flags are mb:: values; returns an id:: value.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    virtual void SetCursor(CursorKind cursor) = 0;

    // Receives the exceptions thrown by form event handlers. Without a handler
    // such an exception leaves RunMessageLoop or ProcessMessages.
    virtual void SetExceptionHandler(std::function<void(std::exception_ptr)> handler) = 0;
};

} // namespace sw
