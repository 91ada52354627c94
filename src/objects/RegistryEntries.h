// The values a registry object writes: one entry per value, each text, an
// integer or a Boolean; a text may take a specifier's folder through "%p".
#pragma once

#include "project/Collection.h"
#include "project/PropInfo.h"

#include <cstdint>
#include <string>

namespace sw {

class TCustomInstallRegistry;
class TCustomPathSpecifier;

enum class TRegistryEntryType { retText, retInteger, retBoolean };
const TEnumInfo& RegistryEntryTypeNames();

class TRegistryEntry : public TCollectionItem {
    SW_DECLARE_CLASS()
  public:
    // Copies the six published properties.
    void Assign(const TRegistryEntry& other);

    // Once the entry knows its registry object and that is not loading, each
    // value setter makes the entry of its type; a specifier is validated for
    // the registry object and makes the text "%p".
    bool Boolean() const { return boolean_; }
    void SetBoolean(bool value);
    TRegistryEntryType EntryType() const { return entryType_; }
    void SetEntryType(TRegistryEntryType type) { entryType_ = type; }
    std::string Ident() const { return ident_; }
    void SetIdent(const std::string& ident) { ident_ = ident; }
    int32_t Integer() const { return integer_; }
    void SetInteger(int32_t value);
    TCustomPathSpecifier* PathSpecifier() const { return pathSpecifier_; }
    void SetPathSpecifier(TCustomPathSpecifier* specifier);
    std::string Text() const { return text_; }
    void SetText(const std::string& text);

    // Text with "%p" replaced by the specifier's path for the registry object
    // ("%%" gives "%", "%" and any other character that character).
    std::string GetValueText() const;

    TCustomInstallRegistry* InstallRegistry() const { return registry_; }
    void SetInstallRegistry(TCustomInstallRegistry* registry) { registry_ = registry; }
    // The specifier is being destroyed: the type stays as it is.
    void ForgetPathSpecifier() { pathSpecifier_ = nullptr; }

  private:
    // True when the setters keep the entry type in step.
    bool Adjusting() const;

    bool boolean_ = false;
    TRegistryEntryType entryType_ = TRegistryEntryType::retText;
    std::string ident_;
    int32_t integer_ = 0;
    TCustomPathSpecifier* pathSpecifier_ = nullptr;
    std::string text_;
    TCustomInstallRegistry* registry_ = nullptr;
};

class TRegistryEntries : public TCollection {
  public:
    // Raises IERegistryEntries for none.
    explicit TRegistryEntries(TCustomInstallRegistry* owner);

    TRegistryEntry* Items(int i) const { return static_cast<TRegistryEntry*>(TCollection::Items(i)); }
    TRegistryEntry* Add() { return static_cast<TRegistryEntry*>(TCollection::Add()); }
    // Replaces the items with copies of the other's.
    void Assign(const TRegistryEntries& other);
    TCustomInstallRegistry* Owner() const { return owner_; }

  private:
    TCustomInstallRegistry* owner_;
};

} // namespace sw
