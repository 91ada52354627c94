// Creation, properties, activation and destruction of the install driver.
#include "support/EngineFixture.h"

#include "controls/Graphics.h"
#include "objects/InstallLists.h"
#include "objects/NetInstallLocation.h"
#include "paths/StandardSpecifiers.h"
#include "project/Reader.h"
#include "project/StreamRecord.h"
#include "project/TextForm.h"
#include "project/Writer.h"
#include "system/InstallErrors.h"

#include <algorithm>

namespace sw::test {
namespace {

class InstallDriverTest : public EngineFixture {
  protected:
    TInstall* Driver(TComponent* form) { return static_cast<TInstall*>(form->FindComponent("Install1")); }
};

TEST_F(InstallDriverTest, CreateSetsEveryDefault) {
    TTestForm* form = NewForm();
    auto* install = new TInstall(form);
    EXPECT_EQ(InstallDriver(), install);
    EXPECT_TRUE(install->AllowChangeDir());
    EXPECT_FALSE(install->AllowChoice());
    EXPECT_TRUE(install->AutoMaximizeWindow());
    EXPECT_FALSE(install->HideMainForm());
    EXPECT_TRUE(install->RunAutomatic);
    EXPECT_TRUE(install->UseLoadingProgram());
    EXPECT_FALSE(install->Reboot);
    EXPECT_EQ(install->DistributeType(), TDistributeType::dtTraditional);
    EXPECT_EQ(install->InstallTypes(), InstallTypeBit(TInstallType::itAlways));
    EXPECT_EQ(install->DestDir(), "\\MyApplication");
    EXPECT_EQ(install->DestDirType(), form->FindComponent("psProgramFiles"));
    EXPECT_EQ(install->ArchiveFileType(), form->FindComponent("psMainArchiveFile"));
    EXPECT_EQ(install->ArchiveFile(), "");
    EXPECT_EQ(install->GroupName(), "Main");
    EXPECT_EQ(install->GetObjectKind(), 1000);
    EXPECT_EQ(install->Information()->CompanyName, "My Company");
    EXPECT_EQ(install->Information()->ProductName, "My product");
    EXPECT_EQ(install->Information()->Version, "1.0");
    EXPECT_EQ(install->ProjectTitle(), "My product Installation");
    EXPECT_EQ(install->BuildInfo()->BuildDirectory, "c:\\build");
    EXPECT_EQ(install->BuildInfo()->OCXName, "qxsetup");
    EXPECT_FALSE(install->BuildInfo()->SignCode);
    EXPECT_EQ(install->PresetupFiles()->Count(), 0);
    const TBitmap& theme = install->DialogThemeBitmap()->Bitmap();
    EXPECT_FALSE(theme.Empty());
    EXPECT_EQ(theme.Width(), 117);
    EXPECT_EQ(theme.Height(), 290);
    // The standard specifiers came with the first container on the form.
    EXPECT_EQ(StandardPathSpecifiers().Count(), 14);
    EXPECT_TRUE(static_cast<bool>(Application().OnException));
}

TEST_F(InstallDriverTest, MissingThemeBitmapStopsCreation) {
    fake::FakePlatform bare;
    ScopedPlatform scoped(bare.Get());
    TTestForm* form = NewForm();
    EXPECT_THROW(new TInstall(form), EResNotFound);
    EXPECT_EQ(InstallDriver(), nullptr);
}

TEST_F(InstallDriverTest, SecondDriverFailsAtCreationAndLeavesNothing) {
    TComponent* form = Load(kBasicForm);
    const int components = form->ComponentCount();
    const int containers = InstallContainers().Count();
    try {
        new TInstall(form);
        FAIL() << "a second driver was created";
    } catch (const IEInstall& e) {
        EXPECT_STREQ(e.what(), "The TInstall component does not currently support the use of 2 TInstall components "
                               "in the same project");
    }
    EXPECT_EQ(form->ComponentCount(), components);
    EXPECT_EQ(InstallContainers().Count(), containers);
    EXPECT_EQ(InstallDriver(), Driver(form));
}

TEST_F(InstallDriverTest, SecondDriverInAStreamFailsTheLoading) {
    const char* text = R"(object Form1: TTestForm
  object Install1: TInstall
  end
  object Install2: TInstall
  end
end
)";
    EXPECT_EQ(LoadError<IEInstall>(text), "The TInstall component does not currently support the use of 2 TInstall "
                                          "components in the same project");
    EXPECT_EQ(InstallDriver(), nullptr);
    EXPECT_EQ(InstallContainers().Count(), 0);
    EXPECT_EQ(AllPathSpecifiers().Count(), 0);
}

TEST_F(InstallDriverTest, CorruptStreamLeavesNoDriverBehind) {
    const std::string bytes = WriteStreamRecords(TextToRecords(kBasicForm, "test.txt"));
    for (size_t cut : {bytes.size() / 2, bytes.size() - 1}) {
        EXPECT_THROW(ReadComponentStream(std::string_view(bytes).substr(0, cut), nullptr), EReadError) << cut;
        EXPECT_EQ(InstallDriver(), nullptr);
        EXPECT_EQ(InstallContainers().Count(), 0);
        EXPECT_EQ(AllPathSpecifiers().Count(), 0);
    }
    // The program can read a sound project afterwards.
    EXPECT_NE(Load(kBasicForm), nullptr);
}

TEST_F(InstallDriverTest, OwnerMustBeAFormOrDataModule) {
    const char* message = "The owner of the TInstall component must be a form class (TCustomForm or TForm)";
    try {
        new TInstall(nullptr);
        FAIL();
    } catch (const IEInstall& e) {
        EXPECT_STREQ(e.what(), message);
    }
    TOwned<TComponent> plain(new TComponent(nullptr));
    EXPECT_THROW(new TInstall(plain.get()), IEInstall);
    EXPECT_EQ(plain->ComponentCount(), 0);
    EXPECT_EQ(InstallDriver(), nullptr);
}

TEST_F(InstallDriverTest, DataModuleNeedsAMainFormToRunAutomatically) {
    const char* automatic = R"(object Data1: TDataModule
  object Install1: TInstall
  end
end
)";
    EXPECT_EQ(LoadError<IEInstall>(automatic), "Application.MainForm is undefined and the TInstall is not on a form. "
                                               "Therefore, therefore the TInstall can't run the installation "
                                               "automatically");
    const char* manual = R"(object Data1: TDataModule
  object Install1: TInstall
    RunAutomatic = False
  end
end
)";
    TComponent* data = Load(manual);
    EXPECT_EQ(Driver(data)->TargetForm(), nullptr);
}

TEST_F(InstallDriverTest, MainFormOfTheApplicationIsTheTarget) {
    auto* main = Application().CreateForm<TForm>();
    const char* text = R"(object Data1: TDataModule
  object Install1: TInstall
  end
end
)";
    TComponent* data = Load(text);
    EXPECT_EQ(Driver(data)->TargetForm(), main);
    // The driver hooked the main form: its activation starts the install.
    try {
        main->OnActivate(main);
        FAIL() << "the install did not start";
    } catch (const IEInstall& e) {
        // The run began: its first check wants the loading program's folder.
        EXPECT_EQ(std::string(e.what()).rfind("The path of the loading program was not passed correctly.", 0), 0u);
    }
}

TEST_F(InstallDriverTest, ActivationWithoutRunAutomaticMaximizesAndStops) {
    TTestForm* form = LoadForm(kBasicForm);
    TInstall* install = Driver(form);
    form->Show();
    Application().ProcessMessages();
    EXPECT_EQ(form->Activations, 1);
    EXPECT_EQ(form->LastSender, install->Owner());
    EXPECT_TRUE(install->Activated());
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
    // Later activations reach neither the driver nor the saved handler.
    form->OnActivate(form);
    EXPECT_EQ(form->Activations, 1);
    // The project's own code starts the install.
    EXPECT_THROW(install->Install(), IEInstall);
}

TEST_F(InstallDriverTest, ActivationRestoresTheHandlerThenInstalls) {
    const char* text = R"(object Form1: TTestForm
  OnActivate = FormActivate
  object Install1: TInstall
    AutoMaximizeWindow = False
  end
end
)";
    TTestForm* form = LoadForm(text);
    try {
        form->OnActivate(form);
        FAIL() << "the install did not start";
    } catch (const IEInstall& e) {
        // The run began: its first check wants the loading program's folder.
        EXPECT_EQ(std::string(e.what()).rfind("The path of the loading program was not passed correctly.", 0), 0u);
    }
    EXPECT_EQ(form->Activations, 1);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
    EXPECT_EQ(form->OnActivate.Name, "FormActivate");
    form->OnActivate(form);
    EXPECT_EQ(form->Activations, 2);
}

TEST_F(InstallDriverTest, HideMainFormPlacesTheFormOffScreen) {
    const char* text = R"(object Form1: TTestForm
  Left = 10
  Top = 20
  Width = 300
  Height = 200
  object Install1: TInstall
    HideMainForm = True
    RunAutomatic = False
  end
end
)";
    TTestForm* form = LoadForm(text);
    EXPECT_EQ(form->Left(), -600);
    EXPECT_EQ(form->Top(), -400);
    // Read from a stream, both flags keep their values.
    EXPECT_TRUE(Driver(form)->HideMainForm());
    EXPECT_TRUE(Driver(form)->AutoMaximizeWindow());
}

TEST_F(InstallDriverTest, VisibleFormStaysInPlace) {
    TTestForm* form = LoadForm(kBasicForm);
    EXPECT_EQ(form->Left(), 0);
    EXPECT_EQ(form->Top(), 0);
}

TEST_F(InstallDriverTest, DestroyGivesTheFormItsHandlerBack) {
    TTestForm* form = LoadForm(kBasicForm);
    TComponent::Free(Driver(form));
    EXPECT_EQ(InstallDriver(), nullptr);
    EXPECT_FALSE(static_cast<bool>(Application().OnException));
    form->OnActivate(form);
    EXPECT_EQ(form->Activations, 1);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
    // A new driver may be placed now.
    EXPECT_NO_THROW(new TInstall(form));
}

TEST_F(InstallDriverTest, MaximizeAndHideExcludeEachOtherOutsideLoading) {
    TInstall* install = Driver(Load(kBasicForm));
    install->SetHideMainForm(true);
    EXPECT_FALSE(install->AutoMaximizeWindow());
    install->SetAutoMaximizeWindow(true);
    EXPECT_FALSE(install->HideMainForm());
    EXPECT_TRUE(install->AutoMaximizeWindow());
    // Clearing one leaves the other as it is.
    install->SetHideMainForm(false);
    EXPECT_TRUE(install->AutoMaximizeWindow());
    install->SetHideMainForm(true);
    install->SetAutoMaximizeWindow(false);
    EXPECT_TRUE(install->HideMainForm());
    // A stream that holds both as True keeps both.
    FreeRoots();
    TInstall* loaded = Driver(Load(R"(object Form1: TTestForm
  object Install1: TInstall
    RunAutomatic = False
    HideMainForm = True
    AutoMaximizeWindow = True
  end
end
)"));
    EXPECT_TRUE(loaded->HideMainForm());
    EXPECT_TRUE(loaded->AutoMaximizeWindow());
}

TEST_F(InstallDriverTest, UseLoadingProgramResetsTheArchive) {
    TComponent* form = Load(kBasicForm);
    TInstall* install = Driver(form);
    auto* custom = new TPathSpecifier(form);
    install->SetArchiveFileType(custom);
    install->SetArchiveFile("\\files.1");
    install->SetUseLoadingProgram(false);
    EXPECT_EQ(install->ArchiveFileType(), custom);
    install->SetUseLoadingProgram(true);
    EXPECT_EQ(install->ArchiveFileType(), form->FindComponent("psMainArchiveFile"));
    EXPECT_EQ(install->ArchiveFile(), "");
}

TEST_F(InstallDriverTest, DistributeTypeRules) {
    TComponent* form = Load(kBasicForm);
    TInstall* install = Driver(form);
    try {
        install->SetDistributeType(TDistributeType::dtWeb);
        FAIL();
    } catch (const IEInstall& e) {
        EXPECT_STREQ(e.what(), "DistributeType can only be set at design-time");
    }
    install->SetDesigning(true);
    try {
        install->SetDistributeType(TDistributeType::dtTraditionalNet);
        FAIL();
    } catch (const IEInstallNetLocNil& e) {
        EXPECT_STREQ(e.what(),
                     "Must assign a net location via the NetLocation property before you can set the distribute type");
    }
    EXPECT_EQ(install->DistributeType(), TDistributeType::dtTraditional);
    auto* location = new TCustomNetInstallLocation(form);
    install->SetNetLocation(location);
    EXPECT_EQ(GlobalNetLocation(), location);
    install->SetDistributeType(TDistributeType::dtWeb);
    EXPECT_EQ(install->DistributeType(), TDistributeType::dtWeb);
    install->SetNetLocation(nullptr);
    EXPECT_EQ(install->DistributeType(), TDistributeType::dtTraditional);
    EXPECT_EQ(GlobalNetLocation(), nullptr);
    install->SetNetLocation(location);
    install->SetDistributeType(TDistributeType::dtTraditionalNet);
    TComponent::Free(location);
    EXPECT_EQ(install->NetLocation(), nullptr);
    EXPECT_EQ(install->DistributeType(), TDistributeType::dtTraditional);
    EXPECT_EQ(GlobalNetLocation(), nullptr);
}

TEST_F(InstallDriverTest, DistributeTypeFromAStreamIsStoredAsRead) {
    const char* text = R"(object Form1: TTestForm
  object Install1: TInstall
    DistributeType = dtWeb
    RunAutomatic = False
  end
end
)";
    EXPECT_EQ(Driver(Load(text))->DistributeType(), TDistributeType::dtWeb);
}

TEST_F(InstallDriverTest, PresetupFilesDropBlankLinesAndDuplicateNames) {
    TInstall* install = Driver(Load(kBasicForm));
    TStrings lines;
    lines.Lines = {"C:\\a\\one.dll", "   ", "", "C:\\b\\two.dll", "\t"};
    install->SetPresetupFiles(lines);
    EXPECT_EQ(install->PresetupFiles()->Lines, (std::vector<std::string>{"C:\\a\\one.dll", "C:\\b\\two.dll"}));
    install->AddPresetupFile("D:\\other\\ONE.DLL", true);
    EXPECT_EQ(install->PresetupFiles()->Count(), 2);
    install->AddPresetupFile("D:\\other\\ONE.DLL", false);
    install->AddPresetupFile("three.dll", true);
    EXPECT_EQ(install->PresetupFiles()->Lines,
              (std::vector<std::string>{"C:\\a\\one.dll", "C:\\b\\two.dll", "D:\\other\\ONE.DLL", "three.dll"}));
}

TEST_F(InstallDriverTest, BuildInfoAndBitmapAreCopiedNotShared) {
    TInstall* install = Driver(Load(kBasicForm));
    TBuildInfo info;
    info.AppName = "Tool";
    info.SignCode = true;
    install->SetBuildInfo(info);
    info.AppName = "Changed";
    EXPECT_EQ(install->BuildInfo()->AppName, "Tool");
    EXPECT_TRUE(install->BuildInfo()->SignCode);
    install->BuildInfo()->URLPath = "/setup";
    EXPECT_EQ(info.URLPath, "") << "the driver's copy is its own";

    TPicture picture;
    picture.Bitmap().Assign(install->DialogThemeBitmap()->Bitmap());
    ASSERT_FALSE(picture.Bitmap().Empty());
    install->SetDialogThemeBitmap(TPicture());
    EXPECT_TRUE(install->DialogThemeBitmap()->Bitmap().Empty());
    install->SetDialogThemeBitmap(picture);
    picture.Bitmap().LoadFromFileBytes("");
    EXPECT_FALSE(install->DialogThemeBitmap()->Bitmap().Empty()) << "emptying the assigned picture left the copy";
}

TEST_F(InstallDriverTest, WrittenStreamKeepsDefaultsOutAndAlwaysWritesTheRest) {
    TComponent* form = Load(kBasicForm);
    TObjectRecord records = ComponentToRecords(*form);
    auto install = std::find_if(records.Children.begin(), records.Children.end(),
                                [](const TObjectRecord& r) { return r.Name == "Install1"; });
    ASSERT_NE(install, records.Children.end());
    std::vector<std::string> written;
    for (const auto& p : install->Properties)
        written.push_back(p.Path);
    auto has = [&](const char* name) { return std::find(written.begin(), written.end(), name) != written.end(); };
    EXPECT_TRUE(has("HideMainForm"));
    EXPECT_TRUE(has("Reboot"));
    EXPECT_TRUE(has("UseLoadingProgram"));
    EXPECT_TRUE(has("RunAutomatic")); // False differs from its default
    EXPECT_FALSE(has("AutoMaximizeWindow"));
    EXPECT_FALSE(has("AllowChangeDir"));
    EXPECT_FALSE(has("DistributeType"));
    EXPECT_FALSE(has("InstallTypes"));
    EXPECT_TRUE(has("DestDirType"));
}

TEST_F(InstallDriverTest, StreamValuesReachTheNestedObjects) {
    const char* text = R"(object Form1: TTestForm
  object Install1: TInstall
    BuildInfo.AppName = 'Demo'
    BuildInfo.SignCode = True
    Information.ProductName = 'Demo Product'
    PresetupFiles.Strings = (
      'C:\lib\a.dll')
    InstallTypes = [itFull, itCompact]
    RunAutomatic = False
  end
end
)";
    TInstall* install = Driver(Load(text));
    EXPECT_EQ(install->BuildInfo()->AppName, "Demo");
    EXPECT_TRUE(install->BuildInfo()->SignCode);
    EXPECT_EQ(install->ProjectTitle(), "Demo Product Installation");
    EXPECT_EQ(install->PresetupFiles()->Lines, std::vector<std::string>{"C:\\lib\\a.dll"});
    // itCompact is preferred to itFull.
    EXPECT_EQ(install->CurrentInstallType(), TInstallType::itCompact);
}

TEST_F(InstallDriverTest, InstallTypeIsChosenByPreferenceForTheWholeTree) {
    const char* text = R"(object Form1: TTestForm
  object Install1: TInstall
    InstallTypes = [itFull, itCustom, itDefault]
    RunAutomatic = False
  end
  object Group1: TInstallFileGroup
    Container = Install1
    InstallTypes = [itFull]
  end
end
)";
    TComponent* form = Load(text);
    EXPECT_EQ(Driver(form)->CurrentInstallType(), TInstallType::itDefault);
    auto* group = static_cast<TInstallFileGroup*>(form->FindComponent("Group1"));
    EXPECT_EQ(group->CurrentInstallType(), TInstallType::itDefault);
    EXPECT_FALSE(group->IsIncluded());
    const char* always = R"(object Form1: TTestForm
  object Install1: TInstall
    RunAutomatic = False
  end
end
)";
    FreeRoots();
    EXPECT_EQ(Driver(Load(always))->CurrentInstallType(), TInstallType::itAlways);
}

} // namespace
} // namespace sw::test
