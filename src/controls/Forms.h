// Forms and the application object. A form is a component realized as a
// top-level window of the platform GUI; the application runs the message
// loop and receives the exceptions that reach it.
#pragma once

#include "platform/Gui.h"
#include "project/Component.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace sw {

using TNotifyEvent = TEvent<TPersistent*>;

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

class TCustomForm : public TComponent {
    SW_DECLARE_CLASS()
  public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int32_t Left() const { return bounds_.Left; }
    int32_t Top() const { return bounds_.Top; }
    int32_t Width() const { return bounds_.Width; }
    int32_t Height() const { return bounds_.Height; }
    void SetLeft(int32_t v);
    void SetTop(int32_t v);
    void SetWidth(int32_t v);
    void SetHeight(int32_t v);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);

    // Creates the window when needed and shows it; its first activation
    // arrives through the message loop.
    void Show();
    bool Visible() const;
    void Repaint();
    // The window, once shown; none before.
    IForm* Window() const { return window_.get(); }

    TNotifyEvent OnActivate;
    TNotifyEvent OnClose;

  private:
    // What the window tells the form.
    struct WindowEvents : IFormEvents {
        explicit WindowEvents(TCustomForm& f) : form(f) {}
        void OnActivate() override;
        void OnClose() override;
        void OnResize() override;
        TCustomForm& form;
    };
    void ApplyBounds();

    WindowEvents events_{*this};

    std::string caption_;
    Bounds bounds_{0, 0, 320, 240};
    TWindowState windowState_ = TWindowState::wsNormal;
    std::unique_ptr<IForm> window_;
};

// The class the designer places forms of: published properties only.
class TForm : public TCustomForm {
    SW_DECLARE_CLASS()
  public:
    using TCustomForm::TCustomForm;
};

// A non-visual container of components.
class TDataModule : public TComponent {
    SW_DECLARE_CLASS()
  public:
    using TComponent::TComponent;
};

class TApplication {
  public:
    TApplication() = default;
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    std::string Title() const;
    void SetTitle(const std::string& title);
    TCustomForm* MainForm() const { return mainForm_; }

    // Creates a form owned by the application; the first becomes the main form.
    template <class T> T* CreateForm() {
        T* form = new T(nullptr);
        Adopt(form);
        return form;
    }
    // Takes ownership of a form made elsewhere (the first becomes the main form).
    void Adopt(TCustomForm* form);

    // Shows the main form and runs the message loop until Terminate.
    void Run();
    void ProcessMessages();
    void Terminate();
    bool Terminated() const;

    // Reports an exception that reached the message loop: to OnException when
    // set, otherwise in a message box with the error text.
    void HandleException(std::exception_ptr e);
    std::function<void(std::exception_ptr)> OnException;


  private:
    TCustomForm* mainForm_ = nullptr;
    std::vector<TCustomForm*> forms_;
};

// The program's application object, a part of the program state: it frees
// its forms, last adopted first, when the state ends.
TApplication& Application();

// The text of an exception for a message box.
std::string ExceptionText(std::exception_ptr e);

} // namespace sw
