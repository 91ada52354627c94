// What a build knows of the project's file components: the two build marks
// (packed in this build, packed into a net archive) and the sizes, dates and
// versions read when a file was packed.
#pragma once

#include "archive/FileList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sw {

class TFileContainer;

// Clears both marks of every file component.
void ClearBuildMarks();

// One entry per file component packed in this build, in the order of the
// program-wide file list.
std::vector<TFileListEntry> PackedFileEntries();

// The sources of the file components under root that a Compress pass with
// these options would pack, in the order it packs them.
std::vector<std::string> SourcesInPackingOrder(const TFileContainer& root, uint32_t options);

} // namespace sw
