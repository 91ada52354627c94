#include "system/InstallInformation.h"

namespace sw {

SW_CLASS_INFO(TInstallInformation, TPersistent, prop::String("CompanyName", &Self::CompanyName),
              prop::String("ProductName", &Self::ProductName), prop::String("Version", &Self::Version))

} // namespace sw
