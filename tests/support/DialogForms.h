// The shipped dialog forms (src/resources/forms/<NAME>.txt) as the RCDATA
// resources NAME of a fake program, as every setup program carries them.
#pragma once

#include "platform/fake/FakeResources.h"
#include "project/StreamRecord.h"
#include "project/TextForm.h"
#include "support/SourceFiles.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sw::test {

inline std::vector<uint8_t> CompiledForm(std::string_view text, std::string_view file) {
    std::string bytes = WriteStreamRecords(TextToRecords(text, file));
    return {bytes.begin(), bytes.end()};
}

// The language flags (src/resources/flags/BM_LANG_*.bmp) as the BITMAP
// resources of their names, stored without the file header.
inline void AddFlagBitmaps(fake::FakeResources& resources) {
    for (const auto& entry : std::filesystem::directory_iterator(std::string(SW_SOURCE_DIR) + "/src/resources/flags")) {
        const std::string name = entry.path().stem().string();
        if (entry.path().extension() != ".bmp" || name.rfind("BM_LANG_", 0) != 0)
            continue;
        const std::string bmp = ReadSourceFile("src/resources/flags/" + entry.path().filename().string());
        if (bmp.size() > 14)
            resources.Add(ResourceType::Bitmap, name, std::vector<uint8_t>(bmp.begin() + 14, bmp.end()));
    }
}

// The number of forms added; the flags come too.
inline int AddShippedDialogForms(fake::FakeResources& resources) {
    AddFlagBitmaps(resources);
    int added = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SourcePath("src/resources/forms"))) {
        if (entry.path().extension() != ".txt")
            continue;
        const std::string file = entry.path().filename().string();
        const std::string text = ReadSourceFile("src/resources/forms/" + file);
        resources.Add(ResourceType::RCData, entry.path().stem().string(), CompiledForm(text, file));
        ++added;
    }
    return added;
}

} // namespace sw::test
