// The component: a named object owned by another, with published properties
// that the project stream fills in, loading and removal notifications, and
// the list of the components it owns.
#pragma once

#include "project/Persistent.h"

#include <any>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : uint32_t {
    csLoading = 1, // created by a reader, end-of-loading not yet notified
    csReading = 2, // its own properties are being read
    csDestroying = 4,
    csDesigning = 8, // never set by the program itself
};

class TComponent : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    // Destroys a component the way its owner would: owned components first,
    // while every class of this one is still alive to hear about it.
    static void Free(TComponent* c);

    const std::string& Name() const { return name_; }
    // Raises EComponentError for an invalid identifier or a duplicate name.
    void SetName(std::string_view name);
    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
    TComponent* FindComponent(std::string_view name) const;

    int32_t Tag = 0;

    uint32_t ComponentState() const { return state_; }
    bool IsLoading() const { return (state_ & csLoading) != 0; }
    bool IsReading() const { return (state_ & csReading) != 0; }
    bool IsDestroying() const { return (state_ & csDestroying) != 0; }
    bool IsDesigning() const { return (state_ & csDesigning) != 0; }
    void SetDesigning(bool on);

    // Asks `other` to tell this component when it is destroyed (and the other
    // way round); only between components of different owners.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    virtual void Notification(TComponent* component, TOperation operation);
    // End of loading: clears the loading flag; overrides do their start-up
    // work after calling the base.
    virtual void Loaded();

    // The component whose child list holds this one in a stream (a control's
    // parent); none for components that are not controls.
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent*) {}
    // The published method of this (root) component with that name, as a
    // std::function of the event's signature; empty when there is none.
    virtual std::any FindMethod(std::string_view name) const;

    // Used by the stream reader.
    void BeginReading() { state_ |= csLoading | csReading; }
    void EndReading() { state_ &= ~static_cast<uint32_t>(csReading); }
    void AbortLoading() { state_ &= ~static_cast<uint32_t>(csReading | csLoading); }

  private:
    void Insert(TComponent* c);
    void Remove(TComponent* c);
    void DestroyComponents();
    void MarkDestroying();
    void NotifyFreeNotifiers();

    std::string name_;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    uint32_t removals_ = 0; // of owned components, ever
    uint32_t state_ = 0;
    bool destroyBegun_ = false;
};

bool IsValidIdent(std::string_view name);

// Destroys a component through Free when it goes out of scope.
template <class T> class TOwned {
  public:
    explicit TOwned(T* p = nullptr) : p_(p) {}
    ~TOwned() { TComponent::Free(p_); }
    TOwned(const TOwned&) = delete;
    TOwned& operator=(const TOwned&) = delete;
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    T* release() {
        T* p = p_;
        p_ = nullptr;
        return p;
    }

  private:
    T* p_;
};

} // namespace sw
