// The small enumerations shared by the install objects and the driver.
#pragma once

#include "project/PropInfo.h"
#include "system/ArchiveTypes.h"
#include "system/InstallDriverContext.h"

#include <cstdint>

namespace sw {

enum class TInstallType { itFull, itDefault, itCompact, itAlways, itCustom };
// A set of TInstallType: bit i stands for the i-th type.
using TInstallTypeSet = uint32_t;

constexpr TInstallTypeSet InstallTypeBit(TInstallType t) { return 1u << static_cast<unsigned>(t); }
constexpr TInstallTypeSet kAllInstallTypes = 0x1F;

const TEnumInfo& InstallTypeNames();
const TEnumInfo& DistributeTypeNames();
const TEnumInfo& LzhCommandNames();

} // namespace sw
