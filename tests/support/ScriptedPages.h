// Wizard pages for tests, natively and under Wine: a page of the stream
// TTESTPAGE captioned "Page <order>" whose buttons navigate and cancel as a
// wizard page's do, and the dialog form streams the pages need.
#pragma once

#include "controls/StdCtrls.h"
#include "dialogs/BaseForms.h"
#include "platform/fake/FakeResources.h"

#include <set>
#include <string>
#include <vector>

namespace sw::test {

// What the test pages did, and what they are told to do.
struct TPageScript {
    std::vector<std::string> Log; // "show <caption>" for each activation
    std::set<int> Skipped;        // Orders whose pages skip
    bool ProceedThrows = false;
    TBaseInstallForm* Active = nullptr;
};
TPageScript& PageScript();

class TScriptedPage : public TBaseInstallForm {
  public:
    TScriptedPage(TComponent* owner, TManagerType type, int order);
    ~TScriptedPage() override;
    bool SkipPage() override { return PageScript().Skipped.count(Order) > 0; }
    void ActivatePage() override;
    TButton* Button(const char* name) const { return static_cast<TButton*>(FindComponent(name)); }
};

template <int N, TManagerType T = TManagerType::dmBeforeInstall> class TPage : public TScriptedPage {
  public:
    explicit TPage(TComponent* owner) : TScriptedPage(owner, T, N) {}
};

// Adds the shipped dialog forms and TTESTPAGE.
void AddDialogFormResources(fake::FakeResources& resources);

} // namespace sw::test
