#include "controls/Forms.h"

#include "controls/ControlProps.h"
#include "controls/StdCtrls.h"
#include "platform/Platform.h"
#include "project/Errors.h"
#include "project/ProgramState.h"

#include <algorithm>

namespace sw {

namespace {
const TEnumInfo kWindowStates{{"wsNormal", "wsMinimized", "wsMaximized"}};
const TEnumInfo kFormBorderStyles{{"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
const TEnumInfo kBorderIcons{{"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
const TEnumInfo kPositions{{"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter"}};

// The frame a form is assumed to have before its window tells.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 27;
} // namespace

SW_CLASS_INFO(TCustomForm, TWinControl)

SW_CLASS_INFO(TDataModule, TComponent)

SW_CLASS_INFO(TForm, TCustomForm,
              ctlprop::Join({ctlprop::Caption(),
                             {prop::Integer("Left", &Self::Left, &Self::SetLeft, std::nullopt),
                              prop::Integer("Top", &Self::Top, &Self::SetTop, std::nullopt),
                              prop::Integer("Width", &Self::Width, &Self::SetWidth, std::nullopt),
                              prop::Integer("Height", &Self::Height, &Self::SetHeight, std::nullopt),
                              prop::Integer("ClientWidth", &Self::ClientWidth, &Self::SetClientWidth, std::nullopt),
                              prop::Integer("ClientHeight", &Self::ClientHeight, &Self::SetClientHeight, std::nullopt),
                              prop::Enumeration("BorderStyle", &Self::BorderStyle, kFormBorderStyles,
                                                std::optional(TFormBorderStyle::bsSizeable)),
                              prop::Set("BorderIcons", &Self::BorderIcons, kBorderIcons, 7u),
                              prop::Enumeration("Position", &Self::Position, kPositions,
                                                std::optional(TPosition::poDesigned)),
                              prop::Enumeration("WindowState", &Self::WindowState, &Self::SetWindowState, kWindowStates,
                                                std::optional(TWindowState::wsNormal)),
                              prop::Boolean("Visible", &Self::Visible, &Self::SetVisible, false),
                              prop::Boolean("Enabled", &Self::Enabled, &Self::SetEnabled, true),
                              prop::Integer("Color", &Self::Color, &Self::SetColor, clBtnFace, &ColorIdents()),
                              prop::Object("Font", &Self::Font),
                              prop::Integer("PixelsPerInch", &Self::PixelsPerInch, TFont::kPixelsPerInch),
                              prop::Integer("TextHeight", &Self::TextHeight, 13),
                              prop::Event("OnActivate", &Self::OnActivate),
                              prop::Event("OnClose", &Self::OnClose),
                              prop::Event("OnCloseQuery", &Self::OnCloseQuery),
                              prop::Event("OnCreate", &Self::OnCreate),
                              prop::Event("OnShow", &Self::OnShow),
                              prop::Event("OnResize", &Self::OnResize)}}))

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    SetBounds({0, 0, 320, 240});
    SetParentFont(false);
    TControl::SetVisible(false);
}

TCustomForm::~TCustomForm() {
    if (Application().MainForm() == this)
        Application().Terminate();
    Application().Forget(this);
    for (TCustomForm* guest : guests_) {
        guest->DestroyWindow();
        guest->host_ = nullptr;
    }
    if (host_)
        host_->guests_.erase(std::remove(host_->guests_.begin(), host_->guests_.end(), this), host_->guests_.end());
    DestroyWindow();
}

// The controls' windows go before the form's.
void TCustomForm::DestroyWindow() {
    Unrealize();
    window_.reset();
}

void TCustomForm::SetHostForm(TCustomForm* host) {
    if (window_)
        throw EComponentError("Cannot embed the form " + Name() + ": its window exists");
    for (TCustomForm* f = host; f; f = f->host_)
        if (f == this)
            throw EComponentError("Cannot embed the form " + Name() + " in itself");
    if (host_)
        host_->guests_.erase(std::remove(host_->guests_.begin(), host_->guests_.end(), this), host_->guests_.end());
    host_ = host;
    if (host_)
        host_->guests_.push_back(this);
}

void TCustomForm::BringToFront() {
    if (window_)
        window_->BringToFront();
}

FormStyle TCustomForm::WindowStyle() const {
    FormStyle style;
    style.Border = static_cast<FormBorder>(BorderStyle);
    style.SystemMenu = BorderIcons & (1u << biSystemMenu);
    style.MinimizeBox = BorderIcons & (1u << biMinimize);
    style.MaximizeBox = BorderIcons & (1u << biMaximize);
    style.HelpButton = BorderIcons & (1u << biHelp);
    return style;
}

int TCustomForm::FrameWidth() const { return host_ || BorderStyle == TFormBorderStyle::bsNone ? 0 : kFrameWidth; }

int TCustomForm::FrameHeight() const { return host_ || BorderStyle == TFormBorderStyle::bsNone ? 0 : kFrameHeight; }

void TCustomForm::CenterOnScreen() {
    IGui& gui = *GetPlatform().Gui;
    Bounds b = BoundsRect();
    SetBounds({(gui.ScreenWidth() - b.Width) / 2, (gui.ScreenHeight() - b.Height) / 2, b.Width, b.Height});
}

TButton* TCustomForm::KeyButton(FormKey key) const {
    std::vector<const TWinControl*> parents{this};
    while (!parents.empty()) {
        const TWinControl* parent = parents.back();
        parents.pop_back();
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            if (!c->Visible() || !c->Enabled())
                continue;
            auto* button = dynamic_cast<TButton*>(c);
            if (button && (key == FormKey::Enter ? button->Default : button->Cancel))
                return button;
            if (auto* inner = dynamic_cast<TWinControl*>(c))
                parents.push_back(inner);
        }
    }
    return nullptr;
}

TCustomForm* ParentForm(TControl* control) {
    while (control && control->Parent())
        control = control->Parent();
    return dynamic_cast<TCustomForm*>(control);
}

int32_t TCustomForm::ClientWidth() const {
    if (window_)
        return window_->ClientBounds().Width;
    return clientWidth_ > 0 ? clientWidth_ : std::max(0, Width() - FrameWidth());
}

int32_t TCustomForm::ClientHeight() const {
    if (window_)
        return window_->ClientBounds().Height;
    return clientHeight_ > 0 ? clientHeight_ : std::max(0, Height() - FrameHeight());
}

void TCustomForm::SetClientWidth(int32_t v) {
    clientWidth_ = v;
    SetWidth(v + (window_ ? Width() - ClientWidth() : FrameWidth()));
}

void TCustomForm::SetClientHeight(int32_t v) {
    clientHeight_ = v;
    SetHeight(v + (window_ ? Height() - ClientHeight() : FrameHeight()));
}

Bounds TCustomForm::ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }

void TCustomForm::TextChanged() {
    if (window_)
        window_->SetCaption(Caption());
}

void TCustomForm::FontChanged() {
    TWinControl::FontChanged();
    if (window_)
        window_->SetCharset(captionCharset_.value_or(Font()->Charset()));
}

void TCustomForm::SetCaptionCharset(int32_t charset) {
    captionCharset_ = charset;
    if (window_)
        window_->SetCharset(charset);
}

void TCustomForm::PushBounds() {
    if (window_ && !adopting_)
        window_->SetBounds(BoundsRect());
}

void TCustomForm::SetWindowState(TWindowState state) {
    windowState_ = state;
    if (window_ && window_->Visible())
        window_->Show(state == TWindowState::wsMaximized ? ShowState::Maximized : ShowState::Normal);
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    OnCreate(this);
}

void TCustomForm::HandleNeeded() {
    if (window_)
        return;
    FormOptions options;
    options.Style = WindowStyle();
    if (host_) {
        host_->HandleNeeded();
        options.Host = host_->Window();
    } else {
        TCustomForm* owner = modal_ ? Application().ActiveForm() : Application().MainForm();
        if (owner && owner != this && owner->window_ && !owner->host_)
            options.Owner = owner->Window();
        if (Position == TPosition::poScreenCenter)
            CenterOnScreen();
    }
    window_ = GetPlatform().Gui->CreateForm(Caption(), BoundsRect(), events_, options);
    window_->SetCharset(captionCharset_.value_or(Font()->Charset()));
    if (clientWidth_ > 0 || clientHeight_ > 0)
        window_->SetClientSize(ClientWidth(), ClientHeight());
    SetHost(window_.get());
    Realign();
    RealizeChildren();
    TabOrderChanged();
}

void TCustomForm::Show() {
    bool created = window_ != nullptr;
    HandleNeeded();
    if (created && !host_ && Position == TPosition::poScreenCenter && !window_->Visible())
        CenterOnScreen();
    OnShow(this);
    TControl::SetVisible(true);
    window_->Show(windowState_ == TWindowState::wsMaximized ? ShowState::Maximized : ShowState::Normal);
}

void TCustomForm::Hide() {
    TControl::SetVisible(false);
    if (window_)
        window_->Show(ShowState::Hidden);
}

bool TCustomForm::Visible() const { return window_ && window_->Visible(); }

void TCustomForm::SetVisible(bool visible) {
    if (InLoading()) {
        TControl::SetVisible(visible);
        return;
    }
    if (visible)
        Show();
    else
        Hide();
}

void TCustomForm::Repaint() {
    if (window_)
        window_->Repaint();
}

void TCustomForm::Update() {
    if (window_)
        window_->Update();
}

int32_t TCustomForm::ShowModal() {
    if (host_)
        throw EComponentError("Cannot show the embedded form " + Name() + " modally");
    if (modal_)
        throw EComponentError("The form " + Name() + " is already shown modally");
    modalResult_ = 0;
    modal_ = true;
    auto& stack = Application().modal_;
    struct Ending {
        TCustomForm& form;
        std::vector<TCustomForm*>& stack;
        ~Ending() {
            stack.erase(std::remove(stack.begin(), stack.end(), &form), stack.end());
            form.modal_ = false;
            form.Hide();
        }
    } ending{*this, stack};
    Show();
    stack.push_back(this);
    GetPlatform().Gui->RunModal(*window_, [this] { return modalResult_ != 0; });
    if (modalResult_ == 0)
        modalResult_ = mrAbort;
    return modalResult_;
}

void TCustomForm::Close() {
    bool canClose = true;
    OnCloseQuery(this, canClose);
    if (!canClose)
        return;
    OnClose(this);
    if (modal_)
        modalResult_ = mrCancel;
    else if (Application().MainForm() == this)
        Application().Terminate();
    else
        Hide();
}

void TCustomForm::TabOrderChanged() {
    if (!window_)
        return;
    std::vector<IControl*> windows;
    for (TWinControl* c : TabOrderList())
        if (c->Handle())
            windows.push_back(c->Handle());
    window_->SetTabOrder(windows);
}

void TCustomForm::WindowEvents::OnActivate() {
    Application().activated_ = &form;
    form.OnActivate(&form);
}

void TCustomForm::WindowEvents::OnTab(bool backward) { form.SelectNext(form.FocusedControl(), !backward); }

void TCustomForm::WindowEvents::OnKey(FormKey key) {
    if (TButton* button = form.KeyButton(key))
        button->Click();
}

void TCustomForm::WindowEvents::OnClose() { form.Close(); }

void TCustomForm::WindowEvents::OnResize() {
    if (!form.window_)
        return;
    form.adopting_ = true;
    form.PlaceByLayout(form.window_->GetBounds());
    form.adopting_ = false;
    form.Realign();
    form.OnResize(&form);
}

TApplication& Application() { return ProgramPart<TApplication>(); }

TApplication::~TApplication() {
    OnException = nullptr;
    auto forms = std::move(forms_);
    forms_.clear();
    mainForm_ = nullptr;
    for (auto it = forms.rbegin(); it != forms.rend(); ++it)
        TComponent::Free(*it);
}

std::string TApplication::Title() const { return GetPlatform().Gui->Title(); }

void TApplication::SetTitle(const std::string& title) { GetPlatform().Gui->SetTitle(title); }

TCustomForm* TApplication::ActiveForm() const {
    if (!modal_.empty())
        return modal_.back();
    if (activated_ && activated_->Visible())
        return activated_;
    return mainForm_;
}

void TApplication::Forget(TCustomForm* form) {
    if (activated_ == form)
        activated_ = nullptr;
    modal_.erase(std::remove(modal_.begin(), modal_.end(), form), modal_.end());
    if (mainForm_ == form)
        mainForm_ = nullptr;
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

void TApplication::Adopt(TCustomForm* form) {
    forms_.push_back(form);
    if (!mainForm_)
        mainForm_ = form;
}

void TApplication::Run() {
    IGui& gui = *GetPlatform().Gui;
    gui.SetExceptionHandler([this](std::exception_ptr e) { HandleException(e); });
    if (mainForm_ && !gui.Terminated())
        mainForm_->Show();
    gui.RunMessageLoop();
}

void TApplication::ProcessMessages() { GetPlatform().Gui->ProcessMessages(); }

void TApplication::Terminate() { GetPlatform().Gui->Terminate(); }

bool TApplication::Terminated() const { return GetPlatform().Gui->Terminated(); }

void TApplication::HandleException(std::exception_ptr e) {
    if (OnException) {
        OnException(e);
        return;
    }
    GetPlatform().Gui->MessageBox(ExceptionText(e), Title(), mb::Ok | mb::IconError);
}

std::string ExceptionText(std::exception_ptr e) {
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        return ex.what();
    } catch (...) {
        return "Unknown error";
    }
}

} // namespace sw
