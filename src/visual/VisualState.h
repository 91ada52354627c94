// The visual components' part of the program state: the main backdrop and
// the main label, at most one of each.
#pragma once

#include <cstdint>

namespace sw {

class TBackdrop;
class TRotate3DLabel;

struct TVisualState {
    TBackdrop* MainBackdrop = nullptr;
    TRotate3DLabel* MainLabel = nullptr;
};
TVisualState& VisualState();

// The main-instance rule of a Tag: -1 makes `self` the main one (the one that
// held the role before gets Tag 0), any other value gives the role up.
// `setTag` sets the Tag of another instance.
template <class T, class SetTag> void ApplyMainTag(T*& main, T* self, int32_t tag, SetTag setTag) {
    if (tag == -1) {
        T* previous = main;
        main = self;
        if (previous && previous != self)
            setTag(*previous, 0);
    } else if (main == self) {
        main = nullptr;
    }
}

} // namespace sw
