#include "dialogs/FormContainer.h"

#include "controls/StdCtrls.h"
#include "dialogs/BaseForms.h"
#include "project/Errors.h"
#include "project/Text.h"
#include "system/ProgramResources.h"

namespace sw {

SW_CLASS_INFO(TBaseFormContainer, TForm)


TBaseFormContainer::TBaseFormContainer(TComponent* owner) : TForm(owner) {
    ReadComponentResource("TBASEFORMCONTAINER", this);
    displayPanel_ = PageChild<TPanel>(*this, "TBASEFORMCONTAINER", "DisplayPanel");
    tabs_ = PageChild<TTabControl>(*this, "TBASEFORMCONTAINER", "Tabs");
    OnShow = TNotifyEvent("FormShow", [this](TPersistent* s) { FormShow(s); });
    OnActivate = TNotifyEvent("FormActivate", [this](TPersistent* s) { FormActivate(s); });
    OnResize = TNotifyEvent("FormResize", [this](TPersistent* s) { FormResize(s); });
    OnCloseQuery = TEvent<TPersistent*, bool&>("FormClose", [this](TPersistent* s, bool& c) { FormClose(s, c); });
    tabs_->OnChange = TNotifyEvent("TabsChange", [this](TPersistent* s) { TabsChange(s); });
    tabs_->OnChanging =
        TEvent<TPersistent*, bool&>("TabsChanging", [this](TPersistent* s, bool& a) { TabsChanging(s, a); });
    FormCreate(this);
}

void TBaseFormContainer::FormCreate(TPersistent*) {
    Font()->SetCharset(0);
    resizing_ = true;
    SetHeight(395);
    SetWidth(478);
    resizing_ = false;
    finishing_ = false;
}

void TBaseFormContainer::AddPage(TBaseInstallForm* page) {
    std::vector<std::string> tabs = tabs_->Tabs()->Lines;
    tabs.push_back(ClassName());
    tabs_->SetTabs(tabs);
    page->SetBounds(displayPanel_->BoundsRect());
    page->Translate();
    page->Show();
    pages_.push_back(page);
}

void TBaseFormContainer::SortPages() {
    for (size_t i = 0; i < pages_.size(); ++i)
        for (size_t j = i + 1; j < pages_.size(); ++j)
            if (pages_[i]->Order > pages_[j]->Order)
                std::swap(pages_[i], pages_[j]);
}

bool TBaseFormContainer::ShowPage(int index, bool backwards) {
    while (index >= 0 && index < static_cast<int>(pages_.size())) {
        TBaseInstallForm* page = pages_[static_cast<size_t>(index)];
        if (!page->SkipPage()) {
            tabs_->SetTabIndex(index);
            SetCaptionCharset(page->Font()->Charset());
            SetCaption(page->Caption());
            page->ActivatePage();
            return true;
        }
        index += backwards ? -1 : 1;
    }
    return false;
}

void TBaseFormContainer::FormShow(TPersistent*) {
    if (!ShowPage(0, true) && !ShowPage(0, false)) {
        // Every page is skipped: the stage has nothing to ask.
        finishing_ = true;
        SetModalResult(mrOk);
    }
}

void TBaseFormContainer::FormActivate(TPersistent*) {
    // The window takes the focus when it is activated; the keys belong to the page.
    const int current = CurrentIndex();
    if (current < 0 || current >= static_cast<int>(pages_.size()))
        return;
    TBaseInstallForm* page = pages_[static_cast<size_t>(current)];
    if (!page->FocusedControl())
        page->SelectNext(nullptr, true);
}

void TBaseFormContainer::NextPage() {
    const int current = CurrentIndex();
    if (!ShowPage(current + 1, false))
        ShowPage(current + 1, true);
    if (CurrentIndex() == current) {
        finishing_ = true;
        SetModalResult(mrOk);
    }
}

void TBaseFormContainer::PreviousPage() {
    const int current = CurrentIndex();
    if (!ShowPage(current - 1, true))
        ShowPage(current - 1, false);
}

void TBaseFormContainer::PlaceOnScreen(TPellmoorDialogPosition position, int leftOffset, int topOffset) {
    SetBounds(PlaceWindow(position, leftOffset, topOffset, BoundsRect(), CurrentScreen()));
}

void TBaseFormContainer::FormResize(TPersistent*) {
    if (resizing_)
        return;
    for (TBaseInstallForm* page : pages_)
        page->SetBounds(displayPanel_->BoundsRect());
}

void TBaseFormContainer::FormClose(TPersistent*, bool& canClose) { canClose = finishing_ || ModalResult() == mrAbort; }

void TBaseFormContainer::TabsChanging(TPersistent*, bool&) {
    const int current = CurrentIndex();
    if (current >= 0 && current < static_cast<int>(pages_.size()))
        pages_[static_cast<size_t>(current)]->LeavePage();
}

void TBaseFormContainer::TabsChange(TPersistent*) {
    const int index = CurrentIndex();
    if (!ShowPage(index, true))
        ShowPage(index, false);
}

} // namespace sw
