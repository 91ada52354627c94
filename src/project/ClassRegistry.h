// The table from class name to factory that the stream reader creates
// components from, a part of the program state. Classes are registered
// explicitly at program start.
#pragma once

#include "project/Component.h"

#include <string_view>
#include <vector>

namespace sw {

using TComponentFactory = TComponent* (*)(TComponent* owner);

struct TRegisteredClass {
    const TClassInfo* Info;
    TComponentFactory Create;
};

// The registry's part of the program state.
struct TClassRegistry {
    std::vector<TRegisteredClass> Classes;
};

void RegisterClass(const TClassInfo& info, TComponentFactory create);
template <class T> void RegisterClass() {
    RegisterClass(T::StaticClassInfo(), [](TComponent* owner) -> TComponent* { return new T(owner); });
}
// Found without regard to case; none when the name is not registered.
const TRegisteredClass* FindClass(std::string_view name);

} // namespace sw
