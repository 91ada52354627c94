#include "system/InstallInformation.h"

namespace sw {

SW_CLASS_INFO(TInstallInformation, TPersistent, prop::String("CompanyName", &Self::CompanyName, std::nullopt),
              prop::String("ProductName", &Self::ProductName, std::nullopt),
              prop::String("Version", &Self::Version, std::nullopt))

} // namespace sw
