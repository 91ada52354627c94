#include "support/ScriptedPages.h"

#include "support/DialogForms.h"

#include <gtest/gtest.h>

namespace sw::test {

namespace {
// The root keeps the name its constructor gives: several pages share the stream.
constexpr std::string_view kTestPage = R"(inherited Page: TBaseInstallForm
  ClientWidth = 470
  ClientHeight = 368
  object BackBtn: TButton
    Left = 218
    Top = 326
    Width = 75
    Height = 33
    Caption = '< Back'
    TabOrder = 2
  end
  object ProceedBtn: TButton
    Left = 300
    Top = 326
    Width = 75
    Height = 33
    Caption = 'Next >'
    Default = True
    TabOrder = 0
  end
  object CancelBtn: TButton
    Left = 387
    Top = 326
    Width = 75
    Height = 33
    Caption = 'Cancel'
    Cancel = True
    TabOrder = 1
  end
end
)";

} // namespace

TPageScript& PageScript() {
    static TPageScript script;
    return script;
}

TScriptedPage::TScriptedPage(TComponent* owner, TManagerType type, int order) : TBaseInstallForm(owner) {
    ReadPageResource("TTESTPAGE");
    SetName("Page" + std::to_string(order));
    SetCaption("Page " + std::to_string(order));
    SetStage(type, order);
    Button("ProceedBtn")->OnClick = TNotifyEvent("", [this](TPersistent*) {
        if (PageScript().ProceedThrows)
            throw Exception("page handler failed");
        NextPage();
    });
    Button("BackBtn")->OnClick = TNotifyEvent("", [this](TPersistent*) { PreviousPage(); });
    Button("CancelBtn")->OnClick = TNotifyEvent("", [this](TPersistent*) { CancelStage(); });
}

TScriptedPage::~TScriptedPage() {
    if (PageScript().Active == this)
        PageScript().Active = nullptr;
}

void TScriptedPage::ActivatePage() {
    TBaseInstallForm::ActivatePage();
    PageScript().Active = this;
    PageScript().Log.push_back("show " + Caption());
}

void AddDialogFormResources(fake::FakeResources& resources) {
    ASSERT_GT(AddShippedDialogForms(resources), 0) << "no dialog forms in src/resources/forms";
    resources.Add(ResourceType::RCData, "TTESTPAGE", CompiledForm(kTestPage, "TTESTPAGE.txt"));
}

} // namespace sw::test
