#include "project/PropInfo.h"

#include "project/Errors.h"
#include "project/Persistent.h"
#include "project/StringList.h"
#include "project/Text.h"

namespace sw {

std::optional<int> TEnumInfo::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < Names.size(); ++i)
        if (SameText(Names[i], name))
            return static_cast<int>(i);
    return std::nullopt;
}

std::optional<int32_t> TIdentMap::ValueOf(std::string_view name) const {
    for (const auto& [n, v] : Entries)
        if (SameText(n, name))
            return v;
    return std::nullopt;
}

const std::string* TIdentMap::NameOf(int32_t value) const {
    for (const auto& [n, v] : Entries)
        if (v == value)
            return &n;
    return nullptr;
}

TPropInfo::TPropInfo() = default;
TPropInfo::TPropInfo(const TPropInfo&) = default;
TPropInfo::TPropInfo(TPropInfo&&) noexcept = default;
TPropInfo& TPropInfo::operator=(const TPropInfo&) = default;
TPropInfo& TPropInfo::operator=(TPropInfo&&) noexcept = default;
TPropInfo::~TPropInfo() = default;

namespace prop {

// The builders pass their literal here, so that a class table does not build
// and destroy a string for every property.
TPropInfo MakeProp(const char* name, TPropKind kind) { return MakeProp(std::string(name), kind); }

TPropInfo MakeProp(std::string name, TPropKind kind) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    return p;
}

} // namespace prop

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, std::vector<TPropInfo> own)
    : Name(std::move(name)), Parent(parent) {
    if (parent)
        Properties = parent->Properties;
    for (auto& p : own) {
        bool replaced = false;
        for (auto& existing : Properties)
            if (SameText(existing.Name, p.Name)) {
                existing = p;
                replaced = true;
                break;
            }
        if (!replaced)
            Properties.push_back(std::move(p));
    }
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
    for (const auto& p : Properties)
        if (SameText(p.Name, name))
            return &p;
    return nullptr;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (c == &other)
            return true;
    return false;
}

void RaiseInvalidPropertyValue() { throw EReadError("Invalid property value"); }

void RaiseEmptyAccessor() { throw EInvalidOperation("A property has no accessor for this use"); }

const TClassInfo& TPersistent::StaticClassInfo() {
    static const TClassInfo info("TPersistent", nullptr, {});
    return info;
}

SW_CLASS_INFO(TStrings, TPersistent, {[] {
                  TPropInfo p = prop::MakeProp("Strings", TPropKind::StringList);
                  p.GetLines = [](const TPersistent& o) { return static_cast<const TStrings&>(o).GetLines(); };
                  p.SetLines = [](TPersistent& o, const std::vector<std::string>& v) {
                      static_cast<TStrings&>(o).SetLines(v);
                  };
                  return p;
              }()})

} // namespace sw
