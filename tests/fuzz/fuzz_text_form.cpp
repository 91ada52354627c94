// Text → records → text → records: whatever parses prints to text that parses
// to the same records, prints the same again, and survives the binary form.
#include "project/TextForm.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    sw::TObjectRecord first;
    try {
        first = sw::TextToRecords(text, "fuzz.txt");
    } catch (const sw::ETextFormError&) {
        return 0;
    }
    std::string printed = sw::RecordsToText(first);
    sw::TObjectRecord second = sw::TextToRecords(printed, "printed.txt");
    if (!(second == first) || sw::RecordsToText(second) != printed)
        std::abort();
    std::string binary = sw::WriteStreamRecords(first);
    if (!(sw::ReadStreamRecords(binary) == first))
        std::abort();
    return 0;
}
