// The engine a file reads or extracts its archive with: the program's main
// engine for the driver's own archive, a temporary one for any other.
#pragma once

#include "archive/PlmrCompress.h"
#include "project/Component.h"

#include <string>

namespace sw {

// The install driver's archive path; empty without a driver.
std::string DriverArchivePath();

class TFileArchiveEngine {
  public:
    // The main engine when the path is the driver's archive path (without
    // regard to case) and `mayUseMain`, otherwise a temporary engine.
    explicit TFileArchiveEngine(const std::string& archivePath, bool mayUseMain = true);
    TPlmrCompress& Engine() const { return *engine_; }
    bool Temporary() const { return temporary_.get() != nullptr; }

  private:
    TOwned<TPlmrCompress> temporary_;
    TPlmrCompress* engine_;
};

} // namespace sw
