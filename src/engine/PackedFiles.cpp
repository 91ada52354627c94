#include "engine/PackedFiles.h"

#include "objects/InstallLists.h"
#include "project/Errors.h"

namespace sw {

void ClearBuildMarks() {
    if (InstallFiles().Count() > 0)
        throw ENotBuiltYet("Clearing the build marks of the file components");
}

std::vector<TFileListEntry> PackedFileEntries() {
    if (InstallFiles().Count() > 0)
        throw ENotBuiltYet("Listing the packed file components");
    return {};
}

} // namespace sw
