#include "objects/InstallContainer.h"

#include "controls/Forms.h"
#include "objects/InstallLists.h"
#include "objects/InstallObject.h"
#include "objects/InstallParameters.h"
#include "paths/PathSpecifier.h"
#include "project/Text.h"
#include "objects/InstallMessages.h"
#include "system/InstallDriverContext.h"
#include "system/InstallErrors.h"
#include "system/InstallInformation.h"
#include "system/SystemHelpers.h"

#include <algorithm>

namespace sw {

SW_CLASS_INFO(TInstallContainer, TComponent)

TInstallContainer::TInstallContainer(TComponent* owner) : TComponent(owner) {
    if (owner && (dynamic_cast<TCustomForm*>(owner) || dynamic_cast<TDataModule*>(owner)))
        EnsureStandardSpecifiers(owner);
    InstallContainers().Add(this);
}

TInstallContainer::~TInstallContainer() {
    TInstallContainerList& all = InstallContainers();
    all.Remove(this);
    // A shortcut or shortcut folder frees itself with its container.
    const std::vector<TInstallContainer*> others = all.ItemList();
    const uint32_t removals = all.Removals();
    for (TInstallContainer* other : others)
        if (all.Removals() == removals || all.Contains(other))
            other->ContainerDestroyed(this);
    children_.clear();
}

TInstallObject* TInstallContainer::Objects(int index) const {
    if (index < 0 || index >= ObjectCount())
        throw IEInstallContainer(
            "Tried to reference a helper component in the following component: %s. The following index was used: %d",
            {Name(), index});
    return children_[static_cast<size_t>(index)];
}

int TInstallContainer::ObjectCountOfClass(const TClassInfo& cls) const {
    return static_cast<int>(
        std::count_if(children_.begin(), children_.end(), [&](TInstallObject* o) { return o->InheritsFrom(cls); }));
}

TInstallObject* TInstallContainer::ObjectOfClass(int index, const TClassInfo& cls) const {
    int seen = 0;
    for (TInstallObject* o : children_)
        if (o->InheritsFrom(cls) && seen++ == index)
            return o;
    // The second number is how many children of that class there are.
    throw IEInstallContainer("Bad call to the Comp procedure which returns a TInstallObject for a "
                             "TInstallContainer component. The parameters are probably reversed. Index: %d, "
                             "ComponentType: %d",
                             {index, seen});
}

void TInstallContainer::FreeObjectsOfClass(const TClassInfo& cls) {
    for (int i = ObjectCount() - 1; i >= 0; --i)
        if (i < ObjectCount() && children_[static_cast<size_t>(i)]->InheritsFrom(cls))
            TComponent::Free(children_[static_cast<size_t>(i)]);
}

int TInstallContainer::GetFileContainerCount() const {
    return static_cast<int>(std::count_if(children_.begin(), children_.end(),
                                          [](TInstallObject* o) { return o->GetObjectKind() == kKindFileContainer; }));
}

TInstallContainer* TInstallContainer::GetFileContainer(int index) const {
    int seen = 0;
    for (TInstallObject* o : children_)
        if (o->GetObjectKind() == kKindFileContainer && seen++ == index)
            return o;
    throw IEInstallContainer(
        "Tried to reference a helper component in the following component: %s. The following index was used: %d",
        {Name(), index});
}

void TInstallContainer::SetDestDir(const std::string& dir) { destDir_ = dir; }

void TInstallContainer::SetDestDirType(TCustomPathSpecifier* specifier) {
    if (specifier && !IsLoading())
        specifier->ValidateComponent(this);
    destDirTypeAssigned_ = true;
    destDirType_ = specifier;
    if (specifier)
        FreeNotification(specifier);
}

void TInstallContainer::ContainerDestroyed(TInstallContainer* container) {
    children_.erase(std::remove_if(children_.begin(), children_.end(),
                                   [&](TInstallObject* o) { return static_cast<TInstallContainer*>(o) == container; }),
                    children_.end());
}

void TInstallContainer::SendMessageText(const std::string& text) {
    TMessageParameter parameter(text);
    Broadcast(msg::MessageText, &parameter);
}

void TInstallContainer::DoInformationEventControl(TPersistent*, int, TPersistent*) {}

void TInstallContainer::HandleInstallMessage(TInstallContainer*, int, TPersistent*) {}

std::string TInstallContainer::GetDestPath() const {
    if (destDirType_)
        return ExcludeTrailingBackslash(destDirType_->GetPath(const_cast<TInstallContainer*>(this)) + destDir_);
    return ExcludeTrailingBackslash(destDir_);
}

int TInstallContainer::GetObjectKind() const { throw IEInstallContainer("Class must declare a registered type"); }

void TInstallContainer::AddObject(TInstallObject* object) {
    if (!object)
        throw IEInstallContainer("Cannot add a blank base helper component to %s", {Name()});
    for (const TInstallContainer* c = this; c; c = c->ParentContainer())
        if (c == object)
            throw IEInstallContainer("Circular reference");
    const int kind = object->GetObjectKind();
    const int32_t order = object->Order();
    auto pos = children_.end();
    if (SameText(object->ClassName(), "TINSTALLBDE")) {
        pos = children_.begin();
    } else {
        pos = std::find_if(children_.begin(), children_.end(), [&](TInstallObject* child) {
            const int childKind = child->GetObjectKind();
            return childKind > kind || (childKind == kind && order != -1 && child->Order() >= order);
        });
    }
    children_.insert(pos, object);
    if (!IsLoading())
        Renumber();
}

void TInstallContainer::Renumber() {
    int32_t counter = 0;
    int kind = 0;
    for (size_t i = 0; i < children_.size(); ++i) {
        const int childKind = children_[i]->GetObjectKind();
        if (i == 0 || childKind != kind)
            counter = 0;
        kind = childKind;
        static_cast<TInstallContainer*>(children_[i])->order_ = counter++;
    }
}

void TInstallContainer::RemoveObject(TInstallObject* object) {
    auto it = std::find(children_.begin(), children_.end(), object);
    if (it == children_.end())
        return;
    children_.erase(it);
    if (!IsLoading())
        Renumber();
}

void TInstallContainer::Install() {
    try {
        OnBeforeProcess(this);
        Broadcast(msg::AfterBeforeProcess, nullptr);
        if (!include_)
            return;
        Broadcast(msg::Included, nullptr);
        if (!IsIncluded())
            return;
        passSkipped_ = false;
        InstallObjects();
        processed_ = !passSkipped_;
        if (IInstallDriverContext* driver = InstallDriverContext(); driver && processed_)
            WriteUninstallInfo(UninstallKeyOf(*driver->Information()));
        OnAfterProcess(this);
        Broadcast(msg::AfterAfterProcess, nullptr);
    } catch (const EAbort&) {
        // A handler skipped this object.
    }
}

void TInstallContainer::InstallObjects() {
    processed_ = true;
    // A child's install may change the list: each index is checked anew.
    for (size_t i = 0; i < children_.size(); ++i)
        if (children_[i]->Installable())
            children_[i]->Install();
}

bool TInstallContainer::IsIncluded() const {
    if (!include_)
        return false;
    return currentInstallType_ == TInstallType::itAlways || currentInstallType_ == TInstallType::itCustom ||
           (installTypes_ & InstallTypeBit(TInstallType::itAlways)) != 0 ||
           (installTypes_ & InstallTypeBit(currentInstallType_)) != 0;
}

void TInstallContainer::Broadcast(int code, TPersistent* parameter) {
    // A dialog may change the list while it handles the message. Only the
    // dialogs are kept: a file container broadcasts every progress step.
    std::vector<TInstallObject*> dialogs;
    for (TInstallObject* child : children_)
        if (child->GetObjectKind() == kKindDialog)
            dialogs.push_back(child);
    for (TInstallObject* dialog : dialogs)
        dialog->HandleInstallMessage(this, code, parameter);
}

void TInstallContainer::SetCurrentInstallType(TInstallType type) {
    currentInstallType_ = type;
    for (TInstallObject* child : children_)
        child->SetCurrentInstallType(type);
}

void TInstallContainer::SetInstallTypes(TInstallTypeSet types) {
    const TInstallTypeSet always = InstallTypeBit(TInstallType::itAlways);
    types &= kAllInstallTypes;
    if (types == 0 || ((types & always) && !(installTypes_ & always)))
        types = always;
    else if (types != always)
        types &= ~always;
    installTypes_ = types;
}

void TInstallContainer::SetOrder(int32_t order) {
    if (IsLoading()) {
        order_ = order;
        return;
    }
    TInstallContainer* container = ParentContainer();
    if (!container || order == order_)
        return;
    auto* self = static_cast<TInstallObject*>(this);
    container->RemoveObject(self);
    order_ = order;
    container->AddObject(self);
}

void TInstallContainer::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component && component == destDirType_)
        destDirType_ = nullptr;
}

} // namespace sw
