// Registry objects: their key paths, entry values with %p, the setters,
// writing, and the record under the uninstall key.
#include "support/EngineFixture.h"
#include "support/ErrorOf.h"

#include "objects/InstallLists.h"
#include "objects/InstallRegistry.h"
#include "paths/ShellFolders.h"
#include "paths/StandardSpecifiers.h"
#include "system/InstallErrors.h"

#include <functional>

namespace sw::test {
namespace {

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr const char* kToolUninstallKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool";

// Two registry objects with every kind of entry, as a project holds them.
constexpr std::string_view kRegistryProject = R"(object Form1: TTestForm
  object psProgramFiles: TpsProgramFiles
  end
  object Install1: TInstall
    Information.CompanyName = 'Acme'
    Information.ProductName = 'Tool'
    Information.Version = '1.2'
    RunAutomatic = False
  end
  object Settings: TInstallRegistry
    Container = Install1
    Key = '\Software\Vendor\'
    RootKey = hkCurrentUser
    Entries = <
      item
        Boolean = False
        EntryType = retText
        Ident = 'Home'
        Integer = 0
        PathSpecifier = psProgramFiles
        Text = '%p\bin'
      end
      item
        Boolean = True
        EntryType = retBoolean
        Ident = 'Enabled'
        Integer = 0
        Text = ''
      end
      item
        Boolean = False
        EntryType = retInteger
        Ident = 'Count'
        Integer = 42
        Text = '42'
      end>
  end
  object Product: TInstallRegistry
    Container = Install1
    KeySpecifierType = ksVersion
    Entries = <
      item
        Boolean = False
        EntryType = retText
        Ident = 'Percent'
        Integer = 0
        PathSpecifier = psProgramFiles
        Text = '100%% %x'
      end>
  end
end
)";

class InstallRegistryTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        fake_.Registry().WriteString(kMachine, kCurrentVersionKey, "ProgramFilesDir", "C:\\Program Files");
    }
    TComponent* LoadProject() {
        TComponent* form = Load(kRegistryProject);
        install_ = static_cast<TInstall*>(form->FindComponent("Install1"));
        settings_ = static_cast<TInstallRegistry*>(form->FindComponent("Settings"));
        product_ = static_cast<TInstallRegistry*>(form->FindComponent("Product"));
        return form;
    }
    TInstall* install_ = nullptr;
    TInstallRegistry* settings_ = nullptr;
    TInstallRegistry* product_ = nullptr;
};

TEST_F(InstallRegistryTest, ObjectsFromAStreamWriteTheirValues) {
    LoadProject();
    EXPECT_EQ(settings_->GetObjectKind(), 8500);
    EXPECT_EQ(InstallRegistries().Count(), 2);
    settings_->Install();
    product_->Install();
    auto& reg = fake_.Registry();
    EXPECT_EQ(reg.ReadString(RegistryRoot::CurrentUser, "\\Software\\Vendor", "Home", ""), "C:\\Program Files\\bin");
    EXPECT_EQ(reg.ReadInteger(RegistryRoot::CurrentUser, "\\Software\\Vendor", "Enabled", -1), 1);
    EXPECT_EQ(reg.ReadInteger(RegistryRoot::CurrentUser, "\\Software\\Vendor", "Count", -1), 42);
    EXPECT_EQ(reg.ReadString(kMachine, "\\SOFTWARE\\Acme\\Tool\\1.2", "Percent", ""), "100% x");
    // Both are recorded for the uninstaller, in install order.
    const std::string list = std::string(kToolUninstallKey) + "\\RegistryKeys";
    EXPECT_EQ(reg.ReadString(kMachine, list, "Entries", ""), "2");
    EXPECT_EQ(reg.ReadString(kMachine, list + "\\RegistryKey1", "Key", ""), "\\Software\\Vendor");
    EXPECT_EQ(reg.ReadInteger(kMachine, list + "\\RegistryKey1", "Root", -1), 2);
    EXPECT_EQ(reg.ReadString(kMachine, list + "\\RegistryKey1\\Entries", "Home", ""), "C:\\Program Files\\bin");
    EXPECT_EQ(reg.ReadString(kMachine, list + "\\RegistryKey1\\Entries", "Enabled", "x"), "");
    EXPECT_EQ(reg.ReadString(kMachine, list + "\\RegistryKey1\\Entries", "Count", ""), "42");
    EXPECT_EQ(reg.ReadString(kMachine, list + "\\RegistryKey2", "Key", ""), "\\SOFTWARE\\Acme\\Tool\\1.2");
    EXPECT_EQ(reg.ReadInteger(kMachine, list + "\\RegistryKey2", "Root", -1), 4);
}

TEST_F(InstallRegistryTest, KeyPathsFollowTheProduct) {
    LoadProject();
    EXPECT_EQ(settings_->GetKeyPath(), "\\Software\\Vendor");
    EXPECT_EQ(product_->GetKeyPath(), "\\SOFTWARE\\Acme\\Tool\\1.2");
    product_->SetKeySpecifierType(TKeySpecifier::ksProductName);
    EXPECT_EQ(product_->GetKeyPath(), "\\SOFTWARE\\Acme\\Tool");
    settings_->SetKeySpecifierType(TKeySpecifier::ksCompanyName);
    EXPECT_EQ(settings_->Key(), "");
    EXPECT_EQ(settings_->RootKey(), TRootKeys::hkLocalMachine);
    EXPECT_EQ(settings_->GetKeyPath(), "\\SOFTWARE\\Acme");
    settings_->SetKey("\\Ignored");
    EXPECT_EQ(settings_->Key(), "");
    // The driver goes: the keys become absolute again.
    TComponent::Free(install_);
    EXPECT_EQ(product_->KeySpecifierType(), TKeySpecifier::ksAbsolute);
    EXPECT_EQ(settings_->KeySpecifierType(), TKeySpecifier::ksAbsolute);
    EXPECT_EQ(product_->GetKeyPath(), "");
}

TEST_F(InstallRegistryTest, ProductKeysNeedADriver) {
    TTestForm* form = NewForm();
    auto* registry = new TInstallRegistry(form);
    EXPECT_EQ(registry->Key(), "\\SOFTWARE\\MyStuff");
    EXPECT_EQ(ErrorOf<IEInstallRegistry>([&] { registry->SetKeySpecifierType(TKeySpecifier::ksVersion); }),
              "There is no TInstall component in your project");
    EXPECT_EQ(registry->KeySpecifierType(), TKeySpecifier::ksAbsolute);
    EXPECT_EQ(registry->Key(), "\\SOFTWARE\\MyStuff");
    // Loaded without a driver, the product key cannot be formed either.
    registry->BeginReading();
    registry->SetKeySpecifierType(TKeySpecifier::ksCompanyName);
    registry->EndReading();
    EXPECT_EQ(ErrorOf<IEInstallRegistry>([&] { registry->GetKeyPath(); }),
              "There is no TInstall component in your project");
}

TEST_F(InstallRegistryTest, SettersKeepTheEntryTypeOnceLoaded) {
    LoadProject();
    TRegistryEntry* entry = settings_->Entries()->Add();
    EXPECT_EQ(entry->EntryType(), TRegistryEntryType::retText);
    entry->SetInteger(5);
    EXPECT_EQ(entry->EntryType(), TRegistryEntryType::retInteger);
    entry->SetBoolean(true);
    EXPECT_EQ(entry->EntryType(), TRegistryEntryType::retBoolean);
    entry->SetText("x");
    EXPECT_EQ(entry->EntryType(), TRegistryEntryType::retText);
    entry->SetInteger(1);
    auto* programFiles = static_cast<TCustomPathSpecifier*>(settings_->Owner()->FindComponent("psProgramFiles"));
    entry->SetPathSpecifier(programFiles);
    EXPECT_EQ(entry->Text(), "%p");
    EXPECT_EQ(entry->EntryType(), TRegistryEntryType::retText);
    entry->SetInteger(1);
    entry->SetPathSpecifier(nullptr);
    EXPECT_EQ(entry->EntryType(), TRegistryEntryType::retText);
    EXPECT_EQ(entry->Text(), "%p");
    // A specifier that cannot serve the registry object is refused.
    auto* link = new TpsObjectLink(settings_->Owner());
    EXPECT_EQ(ErrorOf<IEPathSpecifier>([&] { entry->SetPathSpecifier(link); }),
              "Settings must be a TCustomInstallShellLink to use the psObjectLink path specifier");
    EXPECT_EQ(entry->PathSpecifier(), nullptr);
    // Copies take all six properties.
    TRegistryEntry copy;
    copy.Assign(*settings_->Entries()->Items(0));
    EXPECT_EQ(copy.Ident(), "Home");
    EXPECT_EQ(copy.PathSpecifier(), programFiles);
    EXPECT_EQ(copy.Text(), "%p\\bin");
    product_->SetEntries(*settings_->Entries());
    ASSERT_EQ(product_->Entries()->Count(), 4);
    EXPECT_EQ(product_->Entries()->Items(2)->Integer(), 42);
    EXPECT_EQ(product_->Entries()->Items(0)->InstallRegistry(), product_);
}

TEST_F(InstallRegistryTest, ADestroyedSpecifierLeavesTheTextAsItIs) {
    TComponent* form = LoadProject();
    TComponent::Free(form->FindComponent("psProgramFiles"));
    const TRegistryEntry* home = settings_->Entries()->Items(0);
    EXPECT_EQ(home->PathSpecifier(), nullptr);
    EXPECT_EQ(home->EntryType(), TRegistryEntryType::retText);
    EXPECT_EQ(home->GetValueText(), "%p\\bin");
    settings_->Install();
    EXPECT_EQ(fake_.Registry().ReadString(RegistryRoot::CurrentUser, "\\Software\\Vendor", "Home", ""), "%p\\bin");
}

TEST_F(InstallRegistryTest, AVetoedEntryIsNotWrittenButRecorded) {
    LoadProject();
    settings_->OnBeforeWriteEntry =
        TBeforeWriteEntry("W", [&](TCustomInstallRegistry* sender, TRegistryEntry* entry, bool& proceed) {
            EXPECT_EQ(sender, settings_);
            proceed = entry->Ident() != "Enabled";
        });
    settings_->Install();
    auto& reg = fake_.Registry();
    EXPECT_FALSE(reg.ValueExists(RegistryRoot::CurrentUser, "\\Software\\Vendor", "Enabled"));
    EXPECT_TRUE(reg.ValueExists(RegistryRoot::CurrentUser, "\\Software\\Vendor", "Count"));
    EXPECT_TRUE(
        reg.ValueExists(kMachine, std::string(kToolUninstallKey) + "\\RegistryKeys\\RegistryKey1\\Entries", "Enabled"));
}

TEST_F(InstallRegistryTest, FailuresNameTheKeyOrTheValue) {
    LoadProject();
    fake_.Registry().FailNextWrites(1);
    EXPECT_EQ(ErrorOf<IERegistryEntry>([&] { settings_->Install(); }),
              "Settings cannot create the key \\Software\\Vendor in the registry");
    const std::string list = std::string(kToolUninstallKey) + "\\RegistryKeys";
    fake_.Registry().WriteString(kMachine, list, "Entries", "two");
    EXPECT_EQ(ErrorOf<EConvertError>([&] { settings_->Install(); }), "'two' is not a valid integer value");
    fake_.Registry().WriteString(kMachine, list, "Entries", " 7");
    settings_->WriteUninstallInfo(kToolUninstallKey);
    EXPECT_EQ(fake_.Registry().ReadString(kMachine, list, "Entries", ""), "8");
    fake_.Registry().FailNextWrites(1);
    EXPECT_EQ(ErrorOf<EIRCannotWriteValue>([&] { settings_->WriteUninstallInfo(kToolUninstallKey); }),
              "Cannot install into registry. Key: " + list + " Ident: Entries Value 9");
}

TEST_F(InstallRegistryTest, ListsAndCollectionsRefuseBlanks) {
    EXPECT_EQ(ErrorOf<IEInstallRegistryList>([] { InstallRegistries().Add(nullptr); }),
              "Cannot add blank entry to the registry list");
    EXPECT_EQ(ErrorOf<IERegistryEntries>([] { TRegistryEntries entries(nullptr); }),
              "Cannot create a TRegistryEntries component with a Nil Owner");
    TTestForm* form = NewForm();
    auto* registry = new TInstallRegistry(form);
    EXPECT_EQ(InstallRegistries().Count(), 1);
    TComponent::Free(registry);
    EXPECT_EQ(InstallRegistries().Count(), 0);
}

} // namespace
} // namespace sw::test
