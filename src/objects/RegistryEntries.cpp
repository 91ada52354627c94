#include "objects/RegistryEntries.h"

#include "objects/InstallRegistry.h"
#include "paths/PathSpecifier.h"
#include "system/InstallErrors.h"
#include "system/StringHelpers.h"

namespace sw {

const TEnumInfo& RegistryEntryTypeNames() {
    static const TEnumInfo names{{"retText", "retInteger", "retBoolean"}};
    return names;
}

SW_CLASS_INFO(TRegistryEntry, TPersistent, prop::Boolean("Boolean", &Self::Boolean, &Self::SetBoolean, std::nullopt),
              prop::Enumeration("EntryType", &Self::EntryType, &Self::SetEntryType, RegistryEntryTypeNames(),
                                std::optional<TRegistryEntryType>()),
              prop::String("Ident", &Self::Ident, &Self::SetIdent, std::nullopt),
              prop::Integer("Integer", &Self::Integer, &Self::SetInteger, std::nullopt),
              prop::Reference("PathSpecifier", &Self::PathSpecifier, &Self::SetPathSpecifier),
              prop::String("Text", &Self::Text, &Self::SetText, std::nullopt))

void TRegistryEntry::Assign(const TRegistryEntry& other) {
    boolean_ = other.boolean_;
    entryType_ = other.entryType_;
    ident_ = other.ident_;
    integer_ = other.integer_;
    pathSpecifier_ = other.pathSpecifier_;
    text_ = other.text_;
    if (registry_)
        registry_->WatchSpecifier(pathSpecifier_);
}

bool TRegistryEntry::Adjusting() const { return registry_ && !registry_->IsLoading(); }

void TRegistryEntry::SetBoolean(bool value) {
    boolean_ = value;
    if (Adjusting())
        entryType_ = TRegistryEntryType::retBoolean;
}

void TRegistryEntry::SetInteger(int32_t value) {
    integer_ = value;
    if (Adjusting())
        entryType_ = TRegistryEntryType::retInteger;
}

void TRegistryEntry::SetText(const std::string& text) {
    text_ = text;
    if (Adjusting())
        entryType_ = TRegistryEntryType::retText;
}

void TRegistryEntry::SetPathSpecifier(TCustomPathSpecifier* specifier) {
    if (!Adjusting()) {
        pathSpecifier_ = specifier;
        return;
    }
    if (specifier)
        specifier->ValidateComponent(registry_);
    pathSpecifier_ = specifier;
    registry_->WatchSpecifier(specifier);
    if (specifier)
        text_ = "%p";
    entryType_ = TRegistryEntryType::retText;
}

std::string TRegistryEntry::GetValueText() const {
    if (!pathSpecifier_)
        return text_;
    const std::string path = pathSpecifier_->GetPath(registry_);
    return ExpandPercents(
        text_, [&](char c) { return c == 'p' || c == 'P' ? std::optional(path) : std::nullopt; }, true);
}

TRegistryEntries::TRegistryEntries(TCustomInstallRegistry* owner)
    : TCollection([owner] {
          // Entries read from a stream learn their registry object at its end of loading.
          auto entry = std::make_unique<TRegistryEntry>();
          if (!owner->IsLoading())
              entry->SetInstallRegistry(owner);
          return entry;
      }),
      owner_(owner) {
    if (!owner)
        throw IERegistryEntries("Cannot create a TRegistryEntries component with a Nil Owner");
}

void TRegistryEntries::Assign(const TRegistryEntries& other) {
    if (&other == this)
        return;
    Clear();
    for (int i = 0; i < other.Count(); ++i) {
        Add()->Assign(*other.Items(i));
    }
}

} // namespace sw
