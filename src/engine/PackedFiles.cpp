#include "engine/PackedFiles.h"

#include "objects/FileContainer.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"

namespace sw {

void ClearBuildMarks() {
    for (TCustomInstallFile* file : InstallFiles().ItemList())
        file->ClearBuildMarks();
}

std::vector<TFileListEntry> PackedFileEntries() {
    std::vector<TFileListEntry> entries;
    for (TCustomInstallFile* file : InstallFiles().ItemList())
        if (file->CompressedMark() != 0 || file->NetMark() != 0)
            entries.push_back({file->Size(), file->Date(), file->Name(), file->Version()});
    return entries;
}

std::vector<std::string> SourcesInPackingOrder(const TFileContainer& root, uint32_t options) {
    std::vector<std::string> sources;
    for (int i = 0; i < root.ObjectCount(); ++i) {
        TInstallObject* child = root.Objects(i);
        if (auto* container = dynamic_cast<TFileContainer*>(child)) {
            const std::vector<std::string> inner = SourcesInPackingOrder(*container, options);
            sources.insert(sources.end(), inner.begin(), inner.end());
        } else if (auto* file = dynamic_cast<TCustomInstallFile*>(child)) {
            if (file->Include() || (options & coIncludeExcluded))
                sources.push_back(file->SourcePath());
        }
    }
    return sources;
}

} // namespace sw
