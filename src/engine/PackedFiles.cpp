#include "engine/PackedFiles.h"

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

} // namespace sw
