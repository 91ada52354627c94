#include "controls/Forms.h"

#include "controls/ControlProps.h"
#include "controls/StdCtrls.h"
#include "platform/Platform.h"
#include "project/ProgramState.h"

#include <algorithm>

namespace sw {

namespace {
const TEnumInfo kWindowStates{{"wsNormal", "wsMinimized", "wsMaximized"}};
const TEnumInfo kBorderStyles{{"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
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
                              prop::Enumeration("BorderStyle", &Self::BorderStyle, kBorderStyles,
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
    // The controls' windows go before the form's.
    Unrealize();
}

TCustomForm* ParentForm(TControl* control) {
    while (control && control->Parent())
        control = control->Parent();
    return dynamic_cast<TCustomForm*>(control);
}

int32_t TCustomForm::ClientWidth() const {
    if (window_)
        return window_->ClientBounds().Width;
    return clientWidth_ > 0 ? clientWidth_ : std::max(0, Width() - kFrameWidth);
}

int32_t TCustomForm::ClientHeight() const {
    if (window_)
        return window_->ClientBounds().Height;
    return clientHeight_ > 0 ? clientHeight_ : std::max(0, Height() - kFrameHeight);
}

void TCustomForm::SetClientWidth(int32_t v) {
    clientWidth_ = v;
    SetWidth(v + (window_ ? Width() - ClientWidth() : kFrameWidth));
}

void TCustomForm::SetClientHeight(int32_t v) {
    clientHeight_ = v;
    SetHeight(v + (window_ ? Height() - ClientHeight() : kFrameHeight));
}

Bounds TCustomForm::ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }

void TCustomForm::TextChanged() {
    if (window_)
        window_->SetCaption(Caption());
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

void TCustomForm::Show() {
    if (!window_) {
        window_ = GetPlatform().Gui->CreateForm(Caption(), BoundsRect(), events_);
        if (clientWidth_ > 0 || clientHeight_ > 0)
            window_->SetClientSize(ClientWidth(), ClientHeight());
        SetHost(window_.get());
        Realign();
        RealizeChildren();
        TabOrderChanged();
    }
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

int32_t TCustomForm::ShowModal() {
    modalResult_ = 0;
    modal_ = true;
    Show();
    IGui& gui = *GetPlatform().Gui;
    gui.RunUntil([this] { return modalResult_ != 0; });
    modal_ = false;
    Hide();
    if (modalResult_ == 0)
        modalResult_ = mrCancel;
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

void TCustomForm::WindowEvents::OnActivate() { form.OnActivate(&form); }

void TCustomForm::WindowEvents::OnTab(bool backward) { form.SelectNext(form.FocusedControl(), !backward); }

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
