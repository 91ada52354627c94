#include "ShortcutFixture.h"

namespace sw::test {

SW_CLASS_INFO(TLinkedFile, TInstallObject, prop::String("DestName", &Self::DestName, &Self::SetDestName, std::nullopt))
SW_CLASS_INFO(TUninstallEXE, TLinkedFile)

} // namespace sw::test
