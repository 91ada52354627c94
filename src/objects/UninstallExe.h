// The uninstaller: installed like any other file, it then enters the product
// in the system's list of programs that can be removed.
#pragma once

#include "objects/InstallFile.h"

namespace sw {

class TUninstallEXE : public TCustomInstallFile {
    SW_DECLARE_CLASS()
  public:
    explicit TUninstallEXE(TComponent* owner);

    // "DisplayName" and "UninstallString" under the product's uninstall key.
    void WriteUninstallInfo(const std::string& key) override;
};

} // namespace sw
