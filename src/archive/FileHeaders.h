// The header table of an archive in memory: one TFileHeader per entry, read
// from and written to the bytes drawn in ArchiveFormat.h.
#pragma once

#include "archive/ArchiveFormat.h"
#include "archive/FileStats.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace sw {

class IFile;

class TFileHeader {
  public:
    archive::TFileHeaderRecord Record;
    // Read from an existing archive rather than made from a source file.
    bool Loaded = false;
    // The full path of the source file a new header was made from; the
    // record keeps it cut to 100 characters. Never written.
    std::string SourceFile;

    std::string SourcePath() const;
    // Cut to 100 characters.
    void SetSourcePath(const std::string& path);
    std::string SourceVersion() const;
    // Cut to 20 characters.
    void SetSourceVersion(const std::string& version);
};

class TFileHeaders {
  public:
    bool MultiVolume = false;

    int Count() const { return static_cast<int>(headers_.size()); }
    TFileHeader& GetFileHeaders(int index) const;
    // Refuses a header whose SourcePath is blank.
    void Add(std::unique_ptr<TFileHeader> header);
    void Clear();
    // Headers made from the source files named by the lines (text before a
    // ";"), numbered from 1; the table is cleared first unless append.
    void LoadFromList(const std::vector<std::string>& lines, bool append);
    // The first header whose SourcePath equals the text before the first ";"
    // of name, ignoring case; -1 when none does.
    int IndexOfName(const std::string& name) const;

    // Reads the table of the archive at offset in the file. Every count,
    // position and size is checked against the file before it is used.
    void ReadFromStream(IFile& file, int64_t offset);
    // The prefix at position 0 and, for a spanned layout, every record with
    // its final NextHeader.
    void WriteToStream(IFile& file);
    // One record at the file's current position.
    static void WriteRecord(IFile& file, const TFileHeader& header);

    // The totals of stats from the table; the progress totals restart.
    void SumSizes(TlzhFileStats& stats) const;

  private:
    std::vector<std::unique_ptr<TFileHeader>> headers_;
    // Upper-cased SourcePath -> first index, for the headers up to indexed_;
    // the lookups of an install extend it (the table only grows or clears).
    mutable std::unordered_map<std::string, int> byName_;
    mutable size_t indexed_ = 0;
};

// A header made from one line of a list of files to add.
std::unique_ptr<TFileHeader> MakeFileHeader(const std::string& line);
// The text of a list line before its first ";".
std::string ListLinePath(const std::string& line);

} // namespace sw
