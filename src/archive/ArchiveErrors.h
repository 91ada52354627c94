// The archive engine's failures, below EPellmoorAbnormal.
#pragma once

#include "system/InstallErrors.h"

namespace sw {

class EPlmrCompress : public EPellmoorAbnormal {
    using EPellmoorAbnormal::EPellmoorAbnormal;
};

// A write fell short and no OnFullDisk handler took it.
class EpcDiskFull : public EPlmrCompress {
  public:
    EpcDiskFull() : EPlmrCompress("The disk is full") {}
};

// Abort was found set in a progress step.
class EpcAborted : public EPlmrCompress {
  public:
    EpcAborted() : EPlmrCompress("Operation aborted by user") {}
};

// An entry's compressed data end before its stream does.
class EpcIncompleteData : public EPlmrCompress {
  public:
    explicit EpcIncompleteData(const std::string& sourcePath)
        : EPlmrCompress("The compressed data of the file " + sourcePath + " are incomplete") {}
};

// The file header table of a volume is short or inconsistent.
class EpcHeadersUnreadable : public EPlmrCompress {
  public:
    EpcHeadersUnreadable()
        : EPlmrCompress(
              "Could not read the file headers for the compressed file. The Archive file could possible be corrupt") {}
};

// A filelist.lst that cannot be what a build wrote.
class EFileListError : public EPellmoorAbnormal {
    using EPellmoorAbnormal::EPellmoorAbnormal;
};

} // namespace sw
