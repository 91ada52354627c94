// Top-level and embedded form windows, the message loop and message boxes
// through the Win32 ANSI API. Activation is handed on through a posted
// message, so that a form learns of it from the message loop and not inside
// the call that showed it. The loop hands Tab, Enter and Escape to the form
// the focus is in, as a dialog's message handling would.
#pragma once

#include "platform/Gui.h"

#include <vector>

struct tagMSG;

namespace sw::win32 {

class Win32Form;

class Win32Gui : public IGui {
  public:
    Win32Gui();
    ~Win32Gui() override;
    Win32Gui(const Win32Gui&) = delete;
    Win32Gui& operator=(const Win32Gui&) = delete;

    std::string Title() override { return title_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    using IGui::CreateForm;
    std::unique_ptr<IForm> CreateForm(const std::string& caption, const Bounds& bounds, IFormEvents& events,
                                      const FormOptions& options) override;
    int ScreenWidth() override;
    int ScreenHeight() override;
    int CaptionHeight() override;
    void RunMessageLoop() override;
    void ProcessMessages() override;
    void RunUntil(const std::function<bool()>& done) override;
    void RunModal(IForm& form, const std::function<bool()>& done) override;
    Bounds MeasureText(const FontSpec& font, const std::string& text, int wrapWidth) override;
    void Terminate() override;
    bool Terminated() override { return terminated_; }
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    void SetCursor(CursorKind cursor) override;
    void SetExceptionHandler(std::function<void(std::exception_ptr)> handler) override;

    // Called by the window procedure with what an event handler threw: to
    // the handler outside modal loops, else kept for the loop to throw.
    void Raise(std::exception_ptr error);
    bool Hourglass() const { return cursor_ == CursorKind::Hourglass; }

  private:
    friend class Win32Form;
    void RethrowPending();
    bool Handle(const tagMSG& msg, bool quit);

    std::string title_;
    bool terminated_ = false;
    bool quitPending_ = false;
    CursorKind cursor_ = CursorKind::Default;
    std::function<void(std::exception_ptr)> handler_;
    std::exception_ptr pending_;
    int modalDepth_ = 0;
    std::vector<Win32Form*> forms_; // living forms, in creation order
};

} // namespace sw::win32
