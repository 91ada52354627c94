// The enumerations that the archive engine shares with the install objects:
// how an entry is added to an archive and when an existing file is replaced.
#pragma once

#include "project/PropInfo.h"

namespace sw {

enum class TlzhCommand { lzcOverwrite, lzcOnlyAdd };

enum class TOverwriteType { owAlways, owNever, owVersion, owDate, owVersionDate };

inline const TEnumInfo& OverwriteTypeNames() {
    static const TEnumInfo names{{"owAlways", "owNever", "owVersion", "owDate", "owVersionDate"}};
    return names;
}

} // namespace sw
