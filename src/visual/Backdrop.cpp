#include "visual/Backdrop.h"

#include "controls/ControlProps.h"
#include "project/ProgramState.h"
#include "visual/VisualState.h"

namespace sw {

const TEnumInfo& DirectionNames() {
    static const TEnumInfo names{
        {"bdUp", "bdDown", "bdLeft", "bdRight", "bdHorzIn", "bdHorzOut", "bdVertIn", "bdVertOut"}};
    return names;
}

const TEnumInfo& DragModeNames() {
    static const TEnumInfo names{{"dmManual", "dmAutomatic"}};
    return names;
}

// The published part of a panel is its border only: the table starts from the
// windowed control's, as a custom panel's would.
SW_CLASS_INFO(
    TBackdrop, TWinControl,
    ctlprop::Join({ctlprop::Replace(ctlprop::Placement(),
                                    prop::Enumeration("Align", &TControl::Align, &TControl::SetAlign, AlignNames(),
                                                      std::optional(TAlign::alClient))),
                   ctlprop::State(),
                   ctlprop::Tabs(false),
                   {prop::Enumeration("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle, BorderStyleNames(),
                                      std::optional(TBorderStyle::bsNone)),
                    prop::Integer("BorderWidth", &Self::BorderWidth, &Self::SetBorderWidth, 0),
                    prop::Boolean("Locked", &Self::Locked, false),
                    prop::Integer("Cursor", &Self::Cursor, crDefault, &CursorIdents()),
                    prop::Integer("DragCursor", &Self::DragCursor, crDrag, &CursorIdents()),
                    prop::Enumeration("DragMode", &Self::DragMode, DragModeNames(), std::optional(TDragMode::dmManual)),
                    prop::Integer("HelpContext", &Self::HelpContext, 0),
                    prop::Reference("PopupMenu", &Self::PopupMenu, &Self::SetPopupMenu),
                    prop::Enumeration("Direction", &Self::Direction, &Self::SetDirection, DirectionNames(),
                                      std::optional(TDirection::bdUp)),
                    prop::Integer("StartColor", &Self::StartColor, &Self::SetStartColor, 0xFF0000, &ColorIdents()),
                    prop::Integer("EndColor", &Self::EndColor, &Self::SetEndColor, clBlack, &ColorIdents()),
                    prop::Integer("Tag", &Self::GetTag, &Self::SetTag, 0)}}))

std::vector<TBand> GradientBands(ColorRef a, ColorRef b, int32_t extent, bool mirrored) {
    const int n = mirrored ? 128 : 256, divisor = mirrored ? 127 : 255;
    auto channel = [](ColorRef c, int shift) { return static_cast<int32_t>((c >> shift) & 0xFF); };
    std::vector<TBand> bands;
    bands.reserve(static_cast<size_t>(mirrored ? 2 * n : n));
    for (int i = 0; i < n; ++i) {
        ColorRef color = 0;
        for (int shift : {0, 8, 16}) {
            int32_t from = channel(a, shift), d = channel(b, shift) - from;
            color |= static_cast<ColorRef>((from + MulDiv(i, d, divisor)) & 0xFF) << shift;
        }
        bands.push_back({MulDiv(i, extent, 256), MulDiv(i + 1, extent, 256), color});
        if (mirrored)
            bands.push_back({MulDiv(255 - i, extent, 256), MulDiv(256 - i, extent, 256), color});
    }
    return bands;
}

TBackdrop::TBackdrop(TComponent* owner) : TPanel(owner) {
    SetAlign(TAlign::alClient);
    if (owner && owner->IsDesigning() && !VisualState().MainBackdrop)
        SetTag(-1);
}

TBackdrop::~TBackdrop() {
    if (HasProgramState() && VisualState().MainBackdrop == this)
        VisualState().MainBackdrop = nullptr;
}

void TBackdrop::SetDirection(TDirection d) {
    if (d == direction_)
        return;
    direction_ = d;
    Repaint();
}

void TBackdrop::SetStartColor(TColor c) {
    if (c == startColor_)
        return;
    startColor_ = c;
    Repaint();
}

void TBackdrop::SetEndColor(TColor c) {
    if (c == endColor_)
        return;
    endColor_ = c;
    Repaint();
}

void TBackdrop::SetTag(int32_t tag) {
    if (tag == Tag)
        return;
    Tag = tag;
    ApplyMainTag(VisualState().MainBackdrop, this, tag, [](TBackdrop& other, int32_t t) { other.SetTag(t); });
}

void TBackdrop::Assign(const TBackdrop& other) {
    direction_ = other.direction_;
    endColor_ = other.endColor_;
    startColor_ = other.startColor_;
    SetAlign(other.Align());
    Invalidate();
}

void TBackdrop::SetPopupMenu(TComponent* menu) {
    popupMenu_ = menu;
    if (menu)
        menu->FreeNotification(this);
}

void TBackdrop::Notification(TComponent* component, TOperation operation) {
    TPanel::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenu_)
        popupMenu_ = nullptr;
}

void TBackdrop::WindowPaint(ICanvas& target) {
    canvas_.Font().Assign(*Font());
    canvas_.Brush = {Color(), TBrushStyle::bsSolid};
    canvas_.Pen = {};
    TCanvas::Painting painting(canvas_, target);
    Paint();
}

// The panel's own look (bevel, caption) is not drawn: the bands cover it all.
void TBackdrop::Paint() {
    struct Shape {
        bool startFirst, alongHeight, mirrored;
    };
    static constexpr Shape shapes[] = {
        {true, true, false},   // bdUp
        {false, true, false},  // bdDown
        {true, false, false},  // bdLeft
        {false, false, false}, // bdRight
        {false, true, true},   // bdHorzIn
        {true, true, true},    // bdHorzOut
        {true, false, true},   // bdVertIn
        {false, false, true},  // bdVertOut
    };
    const Shape& shape = shapes[static_cast<int>(direction_)];
    ColorRef start = static_cast<ColorRef>(canvas_.ColorToRGB(startColor_));
    ColorRef end = static_cast<ColorRef>(canvas_.ColorToRGB(endColor_));
    ColorRef a = shape.startFirst ? start : end, b = shape.startFirst ? end : start;
    canvas_.Pen = {};
    canvas_.Brush.Style = TBrushStyle::bsSolid;
    const int32_t width = Width(), height = Height();
    for (const TBand& band : GradientBands(a, b, shape.alongHeight ? height : width, shape.mirrored)) {
        canvas_.Brush.Color = static_cast<TColor>(band.Color);
        if (shape.alongHeight)
            canvas_.FillRect({0, band.Start, width, band.End - band.Start});
        else
            canvas_.FillRect({band.Start, 0, band.End - band.Start, height});
    }
}

} // namespace sw
