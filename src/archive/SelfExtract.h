// The self-extracting setup: the loading program with setup.1, files.1 and
// the trailer appended (layout in ArchiveFormat.h).
#pragma once

#include "archive/ArchiveFormat.h"

#include <optional>
#include <string>

namespace sw {

// The trailer of the setup at path. Raises IEInstall when the file cannot be
// opened or is shorter than a trailer, and when the offsets do not fit it.
archive::TSelfExtractTrailer ReadSelfExtractTrailer(const std::string& path);

// The trailer of path when the file ends in one that carries the signature
// and fits the file; for tools that take either a setup or an archive.
std::optional<archive::TSelfExtractTrailer> FindSelfExtractTrailer(const std::string& path);

// Appends setup1 and, when it exists, files1 to setupExe, then the trailer.
// Raises IEInstall when a part cannot be appended whole.
void JoinSelfExtractingSetup(const std::string& setupExe, const std::string& setup1, const std::string& files1);

} // namespace sw
