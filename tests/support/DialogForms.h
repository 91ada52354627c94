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

// The number of forms added.
inline int AddShippedDialogForms(fake::FakeResources& resources) {
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
