// The stages a dialog manager serves and where its windows go on the screen.
#pragma once

#include "platform/Gui.h"
#include "project/PropInfo.h"

#include <cstdint>

namespace sw {

enum class TManagerType : uint8_t {
    dmBeforeInstall,
    dmAfterGoodInstall,
    dmAfterBadInstall,
    dmDuringCopyFiles,
    dmChangeDisk,
    dmReboot
};

// The row first, then the column.
enum class TPellmoorDialogPosition : uint8_t {
    pdpCenterLeft,
    pdpCenter,
    pdpCenterRight,
    pdpBottomLeft,
    pdpBottomCenter,
    pdpBottomRight,
    pdpTopLeft,
    pdpTopCenter,
    pdpTopRight
};

const TEnumInfo& ManagerTypeNames();
const TEnumInfo& DialogPositionNames();

struct TScreenMetrics {
    int Width = 0;
    int Height = 0;
    int CaptionHeight = 0;
};

// The top left corner of a window of `size` (width and height) placed at
// `position` with the offsets; centred coordinates round half to even.
Bounds PlaceWindow(TPellmoorDialogPosition position, int leftOffset, int topOffset, const Bounds& size,
                   const TScreenMetrics& screen);

// The screen of the running platform.
TScreenMetrics CurrentScreen();

} // namespace sw
