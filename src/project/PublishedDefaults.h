// The defaults a class table declares against what the constructor sets. A
// value equal to its declared default is not written, so the reader brings
// back the constructor's value instead: the two must agree.
#pragma once

#include "project/ClassRegistry.h"

#include <functional>
#include <string>
#include <vector>

namespace sw {

struct TDefaultMismatch {
    std::string Class;
    std::string Property; // a nested object's as "Font.Name"
    std::string Declared;
    std::string Constructed;
};

// Every declared default (ordinal and string) of the object's class table,
// nested objects included, that the object does not hold.
std::vector<TDefaultMismatch> FindDefaultMismatches(const TPersistent& fresh);

// The same for one fresh instance of every registered class: `make` creates
// it (in an owner of its choosing, which frees it); a class it cannot create
// is reported with the error as its constructed value.
std::vector<TDefaultMismatch>
FindRegisteredDefaultMismatches(const std::function<TComponent*(const TRegisteredClass&)>& make);

} // namespace sw
