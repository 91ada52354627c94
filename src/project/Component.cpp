#include "project/Component.h"

#include "project/Errors.h"
#include "project/Text.h"

#include <algorithm>

namespace sw {

SW_CLASS_INFO(TComponent, TPersistent, prop::Integer("Tag", &Self::Tag))

bool IsValidIdent(std::string_view name) {
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (name.empty() || !alpha(name[0]))
        return false;
    return std::all_of(name.begin() + 1, name.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
    if (owner)
        owner->Insert(this);
}

TComponent::~TComponent() {
    if (!destroyBegun_) {
        NotifyFreeNotifiers();
        MarkDestroying();
        DestroyComponents();
    }
    if (owner_)
        owner_->Remove(this);
}

void TComponent::Free(TComponent* c) {
    if (!c)
        return;
    c->NotifyFreeNotifiers();
    c->MarkDestroying();
    c->DestroyComponents();
    c->destroyBegun_ = true;
    // Leave the owner while every class of the component is alive to be told about.
    if (c->owner_)
        c->owner_->Remove(c);
    delete c;
}

void TComponent::NotifyFreeNotifiers() {
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& back = other->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, TOperation::opRemove);
    }
}

void TComponent::MarkDestroying() {
    state_ |= csDestroying;
    for (TComponent* c : components_)
        c->MarkDestroying();
}

// Last to first, each removed from the list (telling the others) before it is destroyed.
void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        Remove(c);
        Free(c);
    }
}

void TComponent::Insert(TComponent* c) {
    components_.push_back(c);
    c->owner_ = this;
    Notification(c, TOperation::opInsert);
}

void TComponent::Remove(TComponent* c) {
    components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
    ++removals_;
    c->owner_ = nullptr;
    Notification(c, TOperation::opRemove);
}

void TComponent::SetName(std::string_view name) {
    if (name == name_)
        return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(Format("''%s'' is not a valid component name", {name}));
    if (owner_ && !name.empty()) {
        TComponent* found = owner_->FindComponent(name);
        if (found && found != this)
            throw EComponentError(Format("A component named %s already exists", {name}));
    }
    name_ = std::string(name);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name))
            return c;
    return nullptr;
}

void TComponent::SetDesigning(bool on) {
    if (on)
        state_ |= csDesigning;
    else
        state_ &= ~static_cast<uint32_t>(csDesigning);
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this || (owner_ && other->owner_ == owner_))
        return;
    auto add = [](std::vector<TComponent*>& list, TComponent* c) {
        if (std::find(list.begin(), list.end(), c) == list.end())
            list.push_back(c);
    };
    add(freeNotifies_, other);
    add(other->freeNotifies_, this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other)
        return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component)
        RemoveFreeNotification(component);
    // Forward to every owned component; one may free itself or others on
    // the way, so once any was removed each is checked to be still owned
    // before it is told (checking always made loading n components cubic).
    const std::vector<TComponent*> owned = components_;
    const uint32_t removals = removals_;
    for (TComponent* c : owned)
        if (removals_ == removals || std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(component, operation);
}

void TComponent::Loaded() { state_ &= ~static_cast<uint32_t>(csLoading); }

std::any TComponent::FindMethod(std::string_view) const { return {}; }

} // namespace sw
