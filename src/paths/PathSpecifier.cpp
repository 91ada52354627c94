#include "paths/PathSpecifier.h"

#include "project/ProgramState.h"
#include "system/InstallErrors.h"

#include <algorithm>

namespace sw {

SW_CLASS_INFO(TCustomPathSpecifier, TComponent)
SW_CLASS_INFO(TPathSpecifier, TCustomPathSpecifier, prop::String("Description", &Self::Description, std::nullopt),
              prop::Event("OnGetPath", &Self::OnGetPath))
SW_CLASS_INFO(TStandardPathSpecifier, TCustomPathSpecifier)

TCustomPathSpecifier::TCustomPathSpecifier(TComponent* owner) : TComponent(owner) { AllPathSpecifiers().Add(this); }

TCustomPathSpecifier::~TCustomPathSpecifier() { AllPathSpecifiers().Remove(this); }

void TCustomPathSpecifier::ValidateComponent(TComponent*) const {}

std::string TCustomPathSpecifier::GetDescription() const { return "Unspecified"; }

std::string TCustomPathSpecifier::GetComponentDescription(TComponent*) const { return GetDescription(); }

std::string TCustomPathSpecifier::GetPath(TComponent* component) const {
    std::string path;
    OnGetPath(component, path);
    return path;
}

TPathSpecifier::TPathSpecifier(TComponent* owner) : TCustomPathSpecifier(owner) {}

TStandardPathSpecifier::TStandardPathSpecifier(TComponent* owner, std::string standardName)
    : TCustomPathSpecifier(owner) {
    standardName_ = std::move(standardName);
    StandardPathSpecifiers().Add(this);
}

TStandardPathSpecifier::~TStandardPathSpecifier() { StandardPathSpecifiers().Remove(this); }

void TPathSpecifierList::Add(TCustomPathSpecifier* specifier) {
    if (!specifier)
        throw IEPathSpecifierList("Tried to add a nil object to the path specifier list");
    items_.push_back(specifier);
}

void TPathSpecifierList::Remove(TCustomPathSpecifier* specifier) {
    items_.erase(std::remove(items_.begin(), items_.end(), specifier), items_.end());
}

bool TPathSpecifierList::HasClass(const TClassInfo& cls) const {
    return std::any_of(items_.begin(), items_.end(), [&](TCustomPathSpecifier* s) { return s->InheritsFrom(cls); });
}

TCustomPathSpecifier* TPathSpecifierList::FindByClass(const TClassInfo& cls) const {
    for (TCustomPathSpecifier* s : items_)
        if (s->InheritsFrom(cls))
            return s;
    throw IEPathSpecifier("Could not find the path specifier");
}

TPathSpecifierList& AllPathSpecifiers() { return ProgramPart<TPathSpecifierLists>().All; }

TStandardPathSpecList& StandardPathSpecifiers() { return ProgramPart<TPathSpecifierLists>().Standard; }

} // namespace sw
