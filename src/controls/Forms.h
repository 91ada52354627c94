// Forms and the application object. A form is the control realized as a
// top-level window of the platform GUI, its controls as child windows in it;
// the application runs the message loop and receives the exceptions that
// reach it.
#pragma once

#include "controls/Control.h"
#include "platform/Gui.h"

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sw {

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter };

class TButton;

class TCustomForm : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // The client area; before the form is shown, as designed (or the bounds
    // less a standard frame when no client size was given).
    int32_t ClientWidth() const;
    int32_t ClientHeight() const;
    void SetClientWidth(int32_t v);
    void SetClientHeight(int32_t v);
    Bounds ClientRect() const override;
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
    uint32_t BorderIcons = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
    TPosition Position = TPosition::poDesigned;
    int32_t PixelsPerInch = TFont::kPixelsPerInch;
    int32_t TextHeight = 13;

    // Creates the window and those of the controls when needed and shows it;
    // its first activation arrives through the message loop. BorderStyle,
    // BorderIcons and Position take effect on the window then; a modal form
    // is owned by the application's active form, any other by the main form.
    void Show();
    // Creates the window and those of the controls without showing them.
    void HandleNeeded();
    void Hide();
    bool Visible() const override;
    void SetVisible(bool visible) override;
    void Repaint();
    // Paints now only what changed since the form last painted.
    void Update();
    // Shows the form and runs messages until its ModalResult is set (by a
    // button, Close or the program) or the application ends (mrAbort); then
    // hides it. The application's other forms take no input meanwhile. An
    // exception of a handler run meanwhile ends the loop and leaves here,
    // after the form is hidden and the other forms are enabled again.
    int32_t ShowModal();
    int32_t ModalResult() const { return modalResult_; }
    void SetModalResult(int32_t result) { modalResult_ = result; }
    // Asks the form to close as the user would: OnCloseQuery may refuse.
    void Close();
    // The window, once shown; none before.
    IForm* Window() const { return window_.get(); }
    // Makes the form a borderless child window in `host`'s client area,
    // before either window exists; its bounds are then relative to that
    // area, it has no frame, and keys typed in its controls act on it (its
    // default and cancel buttons). Its window goes before its host's.
    void SetHostForm(TCustomForm* host);
    TCustomForm* EmbeddedIn() const { return host_; }
    // Puts the window over its siblings.
    void BringToFront();
    // The default (Enter) or cancel (Escape) button that is visible and
    // enabled, with every parent; none when there is none.
    TButton* KeyButton(FormKey key) const;
    // The character set of a caption taken from a form of another font;
    // by default the caption is of the font's.
    void SetCaptionCharset(int32_t charset);

    void Loaded() override;

    TNotifyEvent OnActivate;
    TNotifyEvent OnClose;
    TEvent<TPersistent*, bool&> OnCloseQuery;
    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnResize;

  protected:
    void PushBounds() override;
    void TextChanged() override;
    void FontChanged() override;
    // Gives the window the controls in tab order.
    void TabOrderChanged() override;

  private:
    // What the window tells the form.
    struct WindowEvents : IFormEvents {
        explicit WindowEvents(TCustomForm& f) : form(f) {}
        void OnActivate() override;
        void OnClose() override;
        void OnResize() override;
        // Moves the focus to the next control in tab order.
        void OnTab(bool backward) override;
        // Presses the default or cancel button.
        void OnKey(FormKey key) override;
        TCustomForm& form;
    };

    FormStyle WindowStyle() const;
    // The frame a window of this form has, before it tells.
    int FrameWidth() const;
    int FrameHeight() const;
    void CenterOnScreen();
    // Destroys the window and those of the controls.
    void DestroyWindow();

    WindowEvents events_{*this};
    TCustomForm* host_ = nullptr;
    std::vector<TCustomForm*> guests_; // forms embedded in this one
    int32_t clientWidth_ = 0;
    int32_t clientHeight_ = 0;
    TWindowState windowState_ = TWindowState::wsNormal;
    int32_t modalResult_ = 0;
    bool modal_ = false;
    bool adopting_ = false; // taking the bounds the window reports
    std::optional<int32_t> captionCharset_;
    std::unique_ptr<IForm> window_;
};

// The class the designer places forms of: published properties only.
class TForm : public TCustomForm {
    SW_DECLARE_CLASS()
  public:
    using TCustomForm::TCustomForm;
};

// The form a control is shown on; none when it is on none.
TCustomForm* ParentForm(TControl* control);

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
    // The innermost form shown modally, else the form activated last while
    // it is visible, else the main form.
    TCustomForm* ActiveForm() const;

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
    friend class TCustomForm;
    // A form going away is active or modal no more.
    void Forget(TCustomForm* form);

    TCustomForm* mainForm_ = nullptr;
    TCustomForm* activated_ = nullptr;
    std::vector<TCustomForm*> modal_; // innermost last
    std::vector<TCustomForm*> forms_;
};

// The program's application object, a part of the program state: it frees
// its forms, last adopted first, when the state ends.
TApplication& Application();

// The text of an exception for a message box.
std::string ExceptionText(std::exception_ptr e);

} // namespace sw
