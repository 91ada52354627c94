// The shell's folder browser (SHBrowseForFolderA) with its callback, the
// controls added to its window and strings of system libraries.
#pragma once

#include "platform/FolderBrowser.h"

namespace sw::win32 {

class Win32FolderBrowser : public IFolderBrowser {
  public:
    std::optional<std::string> Browse(const std::string& title, IFolderBrowserEvents& events) override;
    std::string SystemString(const std::string& library, unsigned id) override;
};

} // namespace sw::win32
