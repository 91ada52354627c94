#include "objects/InstallRegistry.h"

#include "objects/InstallLists.h"
#include "paths/PathSpecifier.h"
#include "platform/Platform.h"
#include "platform/PlatformErrors.h"
#include "system/InstallDriverContext.h"
#include "system/InstallErrors.h"
#include "system/InstallInformation.h"
#include "system/StringHelpers.h"
#include "system/SystemHelpers.h"

namespace sw {

const TEnumInfo& KeySpecifierNames() {
    static const TEnumInfo names{{"ksAbsolute", "ksCompanyName", "ksProductName", "ksVersion"}};
    return names;
}

SW_CLASS_INFO(TCustomInstallRegistry, TInstallObject)

SW_CLASS_INFO(TInstallRegistry, TCustomInstallRegistry,
              prop::Reference("Container", &Self::Container, &Self::SetContainer),
              prop::Collection("Entries", &Self::Entries),
              prop::Set("InstallTypes", &Self::InstallTypes, &Self::SetInstallTypes, InstallTypeNames(),
                        InstallTypeBit(TInstallType::itAlways)),
              prop::String("Key", &Self::Key, &Self::SetKey, "\\SOFTWARE\\MyStuff"),
              prop::Enumeration("KeySpecifierType", &Self::KeySpecifierType, &Self::SetKeySpecifierType,
                                KeySpecifierNames(), std::optional(TKeySpecifier::ksAbsolute)),
              prop::Enumeration("RootKey", &Self::RootKey, &Self::SetRootKey, RootKeyNames(),
                                std::optional(TRootKeys::hkLocalMachine)),
              prop::Event("OnAfterProcess", &Self::OnAfterProcess),
              prop::Event("OnBeforeProcess", &Self::OnBeforeProcess),
              prop::Event("OnBeforeWriteEntry", &Self::OnBeforeWriteEntry))

namespace {

IInstallDriverContext& RequireDriver() {
    IInstallDriverContext* driver = InstallDriverContext();
    if (!driver)
        throw IEInstallRegistry("There is no TInstall component in your project");
    return *driver;
}

} // namespace

TCustomInstallRegistry::TCustomInstallRegistry(TComponent* owner)
    : TInstallObject(owner), entries_(std::make_unique<TRegistryEntries>(this)) {
    installable_ = true;
    InstallRegistries().Add(this);
}

TCustomInstallRegistry::~TCustomInstallRegistry() { InstallRegistries().Remove(this); }

void TCustomInstallRegistry::SetEntries(const TRegistryEntries& entries) { entries_->Assign(entries); }

void TCustomInstallRegistry::SetKey(const std::string& key) {
    key_ = keySpecifierType_ == TKeySpecifier::ksAbsolute ? key : std::string();
}

void TCustomInstallRegistry::SetKeySpecifierType(TKeySpecifier type) {
    if (type != TKeySpecifier::ksAbsolute) {
        if (!IsLoading())
            RequireDriver();
        key_.clear();
        rootKey_ = TRootKeys::hkLocalMachine;
    }
    keySpecifierType_ = type;
    if (!IsLoading())
        WatchDriver();
}

void TCustomInstallRegistry::WatchDriver() {
    IInstallDriverContext* driver = InstallDriverContext();
    keyDriver_ = keySpecifierType_ != TKeySpecifier::ksAbsolute && driver ? driver->DriverComponent() : nullptr;
    if (keyDriver_)
        FreeNotification(keyDriver_);
}

std::string TCustomInstallRegistry::GetKeyPath() const {
    if (keySpecifierType_ == TKeySpecifier::ksAbsolute)
        return ExcludeTrailingBackslash(key_);
    const TInstallInformation& info = *RequireDriver().Information();
    std::string path = "\\SOFTWARE\\" + info.CompanyName;
    if (keySpecifierType_ == TKeySpecifier::ksCompanyName)
        return path;
    path += "\\" + info.ProductName;
    if (keySpecifierType_ == TKeySpecifier::ksProductName)
        return path;
    return path + "\\" + info.Version;
}

void TCustomInstallRegistry::InstallObjects() {
    for (int i = 0; i < entries_->Count(); ++i) {
        TRegistryEntry* entry = entries_->Items(i);
        bool proceed = true;
        OnBeforeWriteEntry(this, entry, proceed);
        if (proceed)
            WriteEntry(*entry);
    }
    TInstallObject::InstallObjects();
}

void TCustomInstallRegistry::WriteEntry(const TRegistryEntry& entry) {
    const RegistryRoot root = RegistryRootOf(rootKey_);
    const std::string key = GetKeyPath();
    try {
        GetPlatform().Registry->CreateKey(root, key);
    } catch (const ERegistryError&) {
        throw IERegistryEntry("%s cannot create the key %s in the registry", {Name(), key});
    }
    switch (entry.EntryType()) {
    case TRegistryEntryType::retText:
        WriteRegString(root, key, entry.Ident(), entry.GetValueText());
        break;
    case TRegistryEntryType::retInteger:
        WriteRegInteger(root, key, entry.Ident(), entry.Integer());
        break;
    case TRegistryEntryType::retBoolean:
        WriteRegInteger(root, key, entry.Ident(), entry.Boolean() ? 1 : 0);
        break;
    }
}

void TCustomInstallRegistry::WriteUninstallInfo(const std::string& key) {
    constexpr RegistryRoot hklm = RegistryRoot::LocalMachine;
    const std::string list = key + "\\RegistryKeys";
    const int32_t n = StrToInt(ReadRegString(hklm, list, "Entries", "0")) + 1;
    WriteRegString(hklm, list, "Entries", std::to_string(n));
    const std::string own = list + "\\RegistryKey" + std::to_string(n);
    WriteRegString(hklm, own, "Key", GetKeyPath());
    WriteRegInteger(hklm, own, "Root", static_cast<int32_t>(rootKey_));
    for (int i = 0; i < entries_->Count(); ++i) {
        const TRegistryEntry* entry = entries_->Items(i);
        WriteRegString(hklm, own + "\\Entries", entry->Ident(), entry->GetValueText());
    }
}

void TCustomInstallRegistry::Loaded() {
    TInstallObject::Loaded();
    for (int i = 0; i < entries_->Count(); ++i) {
        entries_->Items(i)->SetInstallRegistry(this);
        WatchSpecifier(entries_->Items(i)->PathSpecifier());
    }
    WatchDriver();
}

void TCustomInstallRegistry::WatchSpecifier(TCustomPathSpecifier* specifier) {
    if (specifier)
        FreeNotification(specifier);
}

void TCustomInstallRegistry::Notification(TComponent* component, TOperation operation) {
    TInstallObject::Notification(component, operation);
    if (operation != TOperation::opRemove || !component)
        return;
    for (int i = 0; i < entries_->Count(); ++i)
        if (entries_->Items(i)->PathSpecifier() == component)
            entries_->Items(i)->ForgetPathSpecifier();
    if (component == keyDriver_) {
        keyDriver_ = nullptr;
        keySpecifierType_ = TKeySpecifier::ksAbsolute;
    }
}

} // namespace sw
