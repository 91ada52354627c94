#include "controls/Forms.h"

#include "platform/Platform.h"
#include "project/ProgramState.h"

#include <algorithm>

namespace sw {

namespace {
const TEnumInfo kWindowStates{{"wsNormal", "wsMinimized", "wsMaximized"}};
} // namespace

SW_CLASS_INFO(TCustomForm, TComponent)

SW_CLASS_INFO(TForm, TCustomForm, prop::String("Caption", &Self::Caption, &Self::SetCaption),
              prop::Integer("Left", &Self::Left, &Self::SetLeft, std::nullopt),
              prop::Integer("Top", &Self::Top, &Self::SetTop, std::nullopt),
              prop::Integer("Width", &Self::Width, &Self::SetWidth, std::nullopt),
              prop::Integer("Height", &Self::Height, &Self::SetHeight, std::nullopt),
              prop::Enumeration("WindowState", &Self::WindowState, &Self::SetWindowState, kWindowStates,
                                std::optional(TWindowState::wsNormal)),
              prop::Event("OnActivate", &Self::OnActivate), prop::Event("OnClose", &Self::OnClose))

SW_CLASS_INFO(TDataModule, TComponent)

TCustomForm::TCustomForm(TComponent* owner) : TComponent(owner) {}

TCustomForm::~TCustomForm() {
    if (Application().MainForm() == this)
        Application().Terminate();
}

void TCustomForm::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (window_)
        window_->SetCaption(caption);
}

void TCustomForm::SetLeft(int32_t v) {
    bounds_.Left = v;
    ApplyBounds();
}

void TCustomForm::SetTop(int32_t v) {
    bounds_.Top = v;
    ApplyBounds();
}

void TCustomForm::SetWidth(int32_t v) {
    bounds_.Width = v;
    ApplyBounds();
}

void TCustomForm::SetHeight(int32_t v) {
    bounds_.Height = v;
    ApplyBounds();
}

void TCustomForm::ApplyBounds() {
    if (window_)
        window_->SetBounds(bounds_);
}

void TCustomForm::SetWindowState(TWindowState state) {
    windowState_ = state;
    if (window_ && window_->Visible())
        window_->Show(state == TWindowState::wsMaximized ? ShowState::Maximized : ShowState::Normal);
}

void TCustomForm::Show() {
    if (!window_)
        window_ = GetPlatform().Gui->CreateForm(caption_, bounds_, events_);
    window_->Show(windowState_ == TWindowState::wsMaximized ? ShowState::Maximized : ShowState::Normal);
}

bool TCustomForm::Visible() const { return window_ && window_->Visible(); }

void TCustomForm::Repaint() {
    if (window_)
        window_->Repaint();
}

void TCustomForm::WindowEvents::OnActivate() { form.OnActivate(&form); }

void TCustomForm::WindowEvents::OnClose() {
    form.OnClose(&form);
    if (Application().MainForm() == &form)
        Application().Terminate();
}

void TCustomForm::WindowEvents::OnResize() {
    if (form.window_)
        form.bounds_ = form.window_->GetBounds();
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
