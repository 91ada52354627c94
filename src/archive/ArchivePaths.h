// Path texts as the archive engine takes them apart and builds them.
#pragma once

#include <string>

namespace sw::archive {

// The path with the extension of its file name replaced by ext ("" removes it).
std::string ChangeFileExt(const std::string& path, const std::string& ext);
// Volume n of a set named after its first volume: the extension becomes "." + n.
std::string VolumeName(const std::string& firstVolume, int n);

// A stored entry name that may be written below a folder: a plain file name
// without a folder, a drive, "..", characters Windows refuses in names or a
// device name (CON, NUL, COM1, ...).
bool IsSafeFileName(const std::string& name);

} // namespace sw::archive
