// Bytes → ReadStreamRecords. A stream that parses must write back to exactly
// the bytes the reader consumed (the signature and the root record).
#include "project/StreamRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    sw::TObjectRecord root;
    try {
        root = sw::ReadStreamRecords(bytes);
    } catch (const sw::EStreamError&) {
        return 0;
    }
    std::string written = sw::WriteStreamRecords(root);
    if (written.size() > bytes.size() || bytes.substr(0, written.size()) != written)
        std::abort();
    if (!(sw::ReadStreamRecords(written) == root))
        std::abort();
    return 0;
}
