// filelist.lst: the sizes, dates and versions of a net distribution's files,
// one record per file component (layout in ArchiveFormat.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sw {

class IFile;

struct TFileListEntry {
    int32_t SourceSize = 0;
    double SourceDate = 0;
    // The file component's name; in a list read back, the name as stored.
    std::string Name;
    // Cut to 20 characters when written.
    std::string Version;
};

// The name a file component has in a record. A name of up to 40 characters
// is kept; a longer one becomes its first 31 characters, "~" and the eight
// hexadecimal digits of the 32-bit FNV-1a hash of the whole name in capitals.
std::string FileListName(const std::string& componentName);

// Writes the count and one record per entry. Raises IEInstall, writing
// nothing, when two names come out the same without regard to case.
void WriteFileList(IFile& file, const std::vector<TFileListEntry>& entries);

// Reads a whole list; path names the list in messages. Raises EFileListError
// unless the file holds exactly the records its count announces, each with a
// name, a size of 0 or more and a finite date, no name twice.
std::vector<TFileListEntry> ReadFileList(IFile& file, const std::string& path);

// The entry of a file component; null when the list has none.
const TFileListEntry* FindFileListEntry(const std::vector<TFileListEntry>& entries, const std::string& componentName);

} // namespace sw
