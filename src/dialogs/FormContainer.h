// The modal window a stage's wizard pages are shown in: the pages lie over
// DisplayPanel, one hidden tab per page tracks the current one, and the
// window ends only through the last page's Next or a confirmed cancel.
#pragma once

#include "controls/ComCtrls.h"
#include "controls/ExtCtrls.h"
#include "controls/Forms.h"
#include "dialogs/DialogTypes.h"

#include <vector>

namespace sw {

class TBaseInstallForm;

class TBaseFormContainer : public TForm {
    SW_DECLARE_CLASS()
  public:
    // Reads the stream TBASEFORMCONTAINER.
    explicit TBaseFormContainer(TComponent* owner);

    TPanel* DisplayPanel() const { return displayPanel_; }
    TTabControl* Tabs() const { return tabs_; }
    // In display order once sorted.
    const std::vector<TBaseInstallForm*>& Pages() const { return pages_; }
    int CurrentIndex() const { return tabs_->TabIndex(); }
    bool Finishing() const { return finishing_; }

    // Adds a tab for the page, lays it over DisplayPanel, translates and
    // shows it, and appends it to the pages.
    void AddPage(TBaseInstallForm* page);
    // Orders the pages by Order, ascending.
    void SortPages();
    // Makes the page at `index` current, or the nearest one before it
    // (backwards) or after it that is not skipped; false when there is none.
    bool ShowPage(int index, bool backwards);

    virtual void NextPage();
    virtual void PreviousPage();
    virtual void PlaceOnScreen(TPellmoorDialogPosition position, int leftOffset, int topOffset);

  private:
    void FormCreate(TPersistent*);
    void FormShow(TPersistent*);
    void FormActivate(TPersistent*);
    void FormResize(TPersistent*);
    void FormClose(TPersistent*, bool& canClose);
    void TabsChange(TPersistent*);
    void TabsChanging(TPersistent*, bool& allow);

    TPanel* displayPanel_ = nullptr;
    TTabControl* tabs_ = nullptr;
    std::vector<TBaseInstallForm*> pages_;
    bool resizing_ = false;
    bool finishing_ = false;
};

} // namespace sw
