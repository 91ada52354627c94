#include "objects/InstallTypes.h"

namespace sw {

const TEnumInfo& InstallTypeNames() {
    static const TEnumInfo names{{"itFull", "itDefault", "itCompact", "itAlways", "itCustom"}};
    return names;
}

const TEnumInfo& DistributeTypeNames() {
    static const TEnumInfo names{{"dtTraditional", "dtWeb", "dtTraditionalNet"}};
    return names;
}

const TEnumInfo& LzhCommandNames() {
    static const TEnumInfo names{{"lzcOverwrite", "lzcOnlyAdd"}};
    return names;
}

} // namespace sw
