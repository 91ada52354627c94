// Registry objects: install objects of kind 8500 that write their entries
// into one key and record it under the product's uninstall key.
#pragma once

#include "objects/InstallObject.h"
#include "objects/RegistryEntries.h"
#include "system/RegistryHelpers.h"

#include <memory>

namespace sw {

enum class TKeySpecifier { ksAbsolute, ksCompanyName, ksProductName, ksVersion };
const TEnumInfo& KeySpecifierNames();

class TCustomInstallRegistry;
using TBeforeWriteEntry = TEvent<TCustomInstallRegistry*, TRegistryEntry*, bool&>;

class TCustomInstallRegistry : public TInstallObject {
    SW_DECLARE_CLASS()
  public:
    explicit TCustomInstallRegistry(TComponent* owner);
    ~TCustomInstallRegistry() override;

    TRegistryEntries* Entries() const { return entries_.get(); }
    virtual void SetEntries(const TRegistryEntries& entries);
    std::string Key() const { return key_; }
    // Stores an empty key unless the key is absolute.
    virtual void SetKey(const std::string& key);
    TKeySpecifier KeySpecifierType() const { return keySpecifierType_; }
    // A product-based type clears the key and takes HKEY_LOCAL_MACHINE; outside
    // loading it needs a driver.
    virtual void SetKeySpecifierType(TKeySpecifier type);
    TRootKeys RootKey() const { return rootKey_; }
    void SetRootKey(TRootKeys root) { rootKey_ = root; }
    // The key the entries go to, without a trailing backslash.
    virtual std::string GetKeyPath() const;

    int GetObjectKind() const override { return kKindRegistry; }
    // Writes the entries, then installs the children.
    void InstallObjects() override;
    // Appends this key and its entries to the uninstall key's RegistryKeys.
    void WriteUninstallInfo(const std::string& key) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // Clears the entries' references when the specifier is destroyed.
    void WatchSpecifier(TCustomPathSpecifier* specifier);

    TBeforeWriteEntry OnBeforeWriteEntry;

  private:
    void WriteEntry(const TRegistryEntry& entry);
    // Falls back to an absolute key when the driver the key is built from goes.
    void WatchDriver();

    std::unique_ptr<TRegistryEntries> entries_;
    std::string key_ = "\\SOFTWARE\\MyStuff";
    TKeySpecifier keySpecifierType_ = TKeySpecifier::ksAbsolute;
    TRootKeys rootKey_ = TRootKeys::hkLocalMachine;
    TComponent* keyDriver_ = nullptr;
};

class TInstallRegistry : public TCustomInstallRegistry {
    SW_DECLARE_CLASS()
  public:
    using TCustomInstallRegistry::TCustomInstallRegistry;
};

} // namespace sw
