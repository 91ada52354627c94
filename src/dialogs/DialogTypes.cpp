#include "dialogs/DialogTypes.h"

#include "platform/Platform.h"

#include <cmath>

namespace sw {

const TEnumInfo& ManagerTypeNames() {
    static const TEnumInfo names{{"dmBeforeInstall", "dmAfterGoodInstall", "dmAfterBadInstall", "dmDuringCopyFiles",
                                  "dmChangeDisk", "dmReboot"}};
    return names;
}

const TEnumInfo& DialogPositionNames() {
    static const TEnumInfo names{{"pdpCenterLeft", "pdpCenter", "pdpCenterRight", "pdpBottomLeft", "pdpBottomCenter",
                                  "pdpBottomRight", "pdpTopLeft", "pdpTopCenter", "pdpTopRight"}};
    return names;
}

namespace {
enum class Place { Start, Centre, End };

// Rows and columns of the positions, in their order.
struct RowColumn {
    Place Row;
    Place Column;
};
constexpr RowColumn kPlaces[] = {
    {Place::Centre, Place::Start}, {Place::Centre, Place::Centre}, {Place::Centre, Place::End},
    {Place::End, Place::Start},    {Place::End, Place::Centre},    {Place::End, Place::End},
    {Place::Start, Place::Start},  {Place::Start, Place::Centre},  {Place::Start, Place::End},
};

int Centred(int screen, int window) {
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<int>(std::nearbyint(screen / 2.0 - window / 2.0));
}
} // namespace

Bounds PlaceWindow(TPellmoorDialogPosition position, int leftOffset, int topOffset, const Bounds& size,
                   const TScreenMetrics& screen) {
    const RowColumn place = kPlaces[static_cast<int>(position) % std::size(kPlaces)];
    Bounds b = size;
    switch (place.Column) {
    case Place::Start:
        b.Left = leftOffset;
        break;
    case Place::Centre:
        b.Left = Centred(screen.Width, size.Width) + leftOffset;
        break;
    case Place::End:
        b.Left = screen.Width - size.Width - leftOffset;
        break;
    }
    switch (place.Row) {
    case Place::Start:
        b.Top = topOffset;
        break;
    case Place::Centre:
        b.Top = Centred(screen.Height, size.Height) + topOffset;
        break;
    case Place::End:
        b.Top = screen.Height - screen.CaptionHeight - size.Height - topOffset;
        break;
    }
    return b;
}

TScreenMetrics CurrentScreen() {
    IGui& gui = *GetPlatform().Gui;
    return {gui.ScreenWidth(), gui.ScreenHeight(), gui.CaptionHeight()};
}

} // namespace sw
