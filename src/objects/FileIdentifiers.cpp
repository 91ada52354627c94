#include "objects/FileIdentifiers.h"

#include "objects/InstallLists.h"

namespace sw {

int32_t TFileIdentifierTable::Acquire() {
    for (int32_t id = 0; id < kSlots; ++id) {
        if (!used_.test(static_cast<size_t>(id))) {
            used_.set(static_cast<size_t>(id));
            return id;
        }
    }
    return 0;
}

void TFileIdentifierTable::MarkUsed(int32_t id) {
    if (InRange(id))
        used_.set(static_cast<size_t>(id));
}

void TFileIdentifierTable::Release(int32_t id) {
    if (InRange(id))
        used_.reset(static_cast<size_t>(id));
}

bool TFileIdentifierTable::IsUsed(int32_t id) const { return InRange(id) && used_.test(static_cast<size_t>(id)); }

TFileIdentifierTable& FileIdentifiers() { return InstallObjectsState().Identifiers; }

} // namespace sw
