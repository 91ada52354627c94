// The version reader on untrusted bytes: as an executable image, and as a
// version block on its own.
#include "platform/PeVersion.h"
#include "platform/VersionResources.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Query(std::string_view block) {
    const auto info = sw::QueryFixedFileInfo(block);
    if (info && info->Signature != sw::TFixedFileInfo::kSignature)
        std::abort();
    for (std::string_view path : {"\\StringFileInfo\\040904E4\\CompanyName", "\\StringFileInfo\\040904B0\\FileVersion",
                                  "\\\\VarFileInfo\\\\", "\\a\\b\\c\\d\\e"}) {
        const auto text = sw::QueryStringValue(block, path);
        if (text && text->size() > block.size())
            std::abort();
    }
    const auto list = sw::QueryTranslations(block);
    if (list && list->size() * 4 > block.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto block = sw::FindVersionResource(bytes)) {
        if (block->data() < bytes.data() || block->data() + block->size() > bytes.data() + bytes.size())
            std::abort();
        Query(*block);
    }
    Query(bytes);
    return 0;
}
