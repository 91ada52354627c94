// A small callable for the accessors of property tables. They capture at most
// a member pointer or a small value, so the accessor holds its callable in a
// fixed buffer with one call thunk: no allocation, no manager, and copying a
// table entry copies bytes. Calling an empty accessor raises an error.
#pragma once

#include <cstring>
#include <type_traits>
#include <utility>

namespace sw {

[[noreturn]] void RaiseEmptyAccessor();

template <class Signature> class TAccessor;

template <class R, class... Args> class TAccessor<R(Args...)> {
  public:
    TAccessor() = default;

    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, TAccessor>>>
    TAccessor(F f) : call_(&Call<F>) { // NOLINT(google-explicit-constructor): assigned from lambdas
        static_assert(sizeof(F) <= sizeof(storage_) && alignof(F) <= alignof(void*),
                      "an accessor captures at most a member pointer or a small value");
        static_assert(std::is_trivially_copyable_v<F> && std::is_trivially_destructible_v<F>,
                      "an accessor's captures are copied as bytes");
        std::memcpy(storage_, &f, sizeof(F));
    }

    explicit operator bool() const { return call_ != &Empty; }
    R operator()(Args... args) const { return call_(storage_, std::forward<Args>(args)...); }

  private:
    template <class F> static R Call(const void* storage, Args... args) {
        return (*static_cast<const F*>(storage))(std::forward<Args>(args)...);
    }
    [[noreturn]] static R Empty(const void*, Args...) { RaiseEmptyAccessor(); }

    alignas(void*) unsigned char storage_[16] = {};
    R (*call_)(const void*, Args...) = &Empty;
};

} // namespace sw
