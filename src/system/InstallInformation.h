// The product an install is for: it names the uninstall key, the default
// folder of shortcuts and the product's own registry keys.
#pragma once

#include "project/Persistent.h"

#include <string>

namespace sw {

class TInstallInformation : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    std::string CompanyName = "My Company";
    std::string ProductName = "My product";
    std::string Version = "1.0";
};

inline constexpr const char* kUninstallKeyRoot = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The product's key in the system's list of uninstallable programs.
inline std::string UninstallKeyOf(const TInstallInformation& information) {
    return kUninstallKeyRoot + information.ProductName;
}

} // namespace sw
