// Compression ahead of a build's passes. A build adds its files one at a
// time (each file's pass raises its own events around its AddFiles), which
// alone would compress on one processor. Given the sources in the order the
// passes will add them, this compresses windows of them side by side when
// the first of a window is asked for; a pass takes a result only while the
// file still holds what was compressed (same length and checksums), so a
// file changed by a handler meanwhile is compressed again. The archive is
// the same as without it.
#pragma once

#include "archive/CompressedEntry.h"

#include <memory>
#include <string>
#include <vector>

namespace sw {

class TCompressAhead {
  public:
    TCompressAhead(std::vector<std::string> sources, int level, int threads);
    ~TCompressAhead();
    TCompressAhead(const TCompressAhead&) = delete;
    TCompressAhead& operator=(const TCompressAhead&) = delete;

    // Puts the data compressed ahead from `source` at `level` into entry,
    // whose Source is open at its start and is left there; false when there
    // is none or the file changed since: the caller compresses it.
    bool Take(const std::string& source, int level, TCompressedEntry& entry);

    // Results taken, and results dropped because their file had changed.
    int Taken() const { return taken_; }
    int Stale() const { return stale_; }

  private:
    // Compresses a window of the sources from `first`; drops the results
    // before it, which no pass asked for.
    void CompressWindow(size_t first);
    int FindSource(const std::string& source) const;

    std::vector<std::string> sources_;
    const int level_;
    const int threads_;
    std::vector<std::unique_ptr<TCompressedEntry>> results_;
    std::vector<bool> tried_;
    size_t next_ = 0;
    int taken_ = 0;
    int stale_ = 0;
};

} // namespace sw
