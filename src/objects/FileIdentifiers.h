// The identifier table: 2000 slots, each free or used, one per file object's
// UniqueID, its key in the archive.
#pragma once

#include <bitset>
#include <cstdint>

namespace sw {

class TFileIdentifierTable {
  public:
    static constexpr int kSlots = 2000;

    // Takes the lowest free slot and marks it used; 0 when all are used.
    int32_t Acquire();
    // Marks a stored identifier used; one outside 0..1999 is ignored.
    void MarkUsed(int32_t id);
    void Release(int32_t id);
    bool IsUsed(int32_t id) const;
    void Clear() { used_.reset(); }

  private:
    static bool InRange(int32_t id) { return id >= 0 && id < kSlots; }
    std::bitset<kSlots> used_;
};

// The program-wide table.
TFileIdentifierTable& FileIdentifiers();

} // namespace sw
