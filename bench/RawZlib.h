// The yardstick: raw zlib on the same files, without the archive engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct TRawEntry {
    std::string Name;
    uint64_t Offset = 0;
    uint64_t Length = 0;
    uint64_t Size = 0;
};

// Level-9 deflate of each file, one thread, through a 64 KiB output buffer,
// the streams one after the other in the file out.
std::vector<TRawEntry> RawDeflate(const std::vector<std::string>& files, const std::string& out);
// Inflate of each stream in 4 KiB output windows, each written to its file
// in folder.
void RawInflate(const std::string& streams, const std::vector<TRawEntry>& entries, const std::string& folder);

} // namespace bench
