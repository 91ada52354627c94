// The mouse of painted controls and dragging one control onto another within
// its form. One drag at a time: the source holds the mouse (its window
// reports the moves and the release wherever they are), and the target is
// found among the controls of the source's form by their bounds.
#include "controls/Control.h"

#include <cstdlib>

namespace sw {

namespace {

struct DragState {
    TControl* Source = nullptr;
    bool Started = false; // else waiting for the mouse to move far enough
    Point From;           // where the mouse was when the drag was begun, in the source
    TControl* Target = nullptr;
    Point AtTarget; // the mouse in the target's client area
    bool Accepted = false;
};

DragState drag;
// The last position the mouse was reported at, in the control under it.
Point lastMouse;

constexpr int kDragThreshold = 5;

// The control's top left in its form's client area, and the form.
TControl* FormOrigin(TControl* c, Point& at) {
    for (; c->Parent(); c = c->Parent()) {
        at.X += c->Left();
        at.Y += c->Top();
    }
    return c;
}

bool Shown(const TControl& c) { return c.Handle() && c.Visible() && c.Enabled(); }

// The uppermost shown control at x,y of `parent`'s client area: child
// windows over painted controls, the later over the earlier.
TControl* ControlAt(TWinControl& parent, int x, int y) {
    for (bool windowed : {true, false})
        for (int i = parent.ControlCount(); i-- > 0;) {
            TControl* c = parent.Controls(i);
            if (!Shown(*c) || (c->Handle()->Kind() != ControlKind::Painted) != windowed)
                continue;
            const Bounds& b = c->BoundsRect();
            if (x < b.Left || y < b.Top || x >= b.Left + b.Width || y >= b.Top + b.Height)
                continue;
            auto* holder = dynamic_cast<TWinControl*>(c);
            TControl* inner = holder ? ControlAt(*holder, x - b.Left, y - b.Top) : nullptr;
            return inner ? inner : c;
        }
    return nullptr;
}

TShiftState ShiftOf(const MouseInput& input) {
    TShiftState shift = 0;
    for (auto [key, bit] : {std::pair{mk::Shift, ssShift}, {mk::Control, ssCtrl}, {mk::Left, ssLeft},
                            {mk::Right, ssRight}, {mk::Middle, ssMiddle}})
        if (input.Keys & key)
            shift |= 1u << bit;
    if (input.Action == MouseAction::DoubleClick)
        shift |= 1u << ssDouble;
    return shift;
}

// Asks the target whether it takes the drop, in `state`.
bool DragOver(DragState& d, TDragState state) {
    bool accept = static_cast<bool>(d.Target->OnDragOver);
    d.Target->OnDragOver(d.Target, d.Source, d.AtTarget.X, d.AtTarget.Y, state, accept);
    return d.Accepted = accept;
}

// The mouse at x,y of the source during a started drag.
void DragTo(int x, int y) {
    Point at{x, y};
    TControl* target = nullptr;
    if (auto* form = dynamic_cast<TWinControl*>(FormOrigin(drag.Source, at))) {
        const Bounds client = form->ClientRect();
        target = ControlAt(*form, at.X, at.Y);
        if (!target && at.X >= 0 && at.Y >= 0 && at.X < client.Width && at.Y < client.Height)
            target = form;
    }
    Point origin;
    if (target)
        FormOrigin(target, origin);
    if (target != drag.Target && drag.Target)
        DragOver(drag, TDragState::dsDragLeave);
    bool entering = target != drag.Target;
    drag.Target = target;
    drag.Accepted = false;
    if (!target)
        return;
    drag.AtTarget = {at.X - origin.X, at.Y - origin.Y};
    DragOver(drag, entering ? TDragState::dsDragEnter : TDragState::dsDragMove);
}

void StartDrag() {
    drag.Started = true;
    TPersistent* object = nullptr; // a drag object of the handler's is not used
    drag.Source->OnStartDrag(drag.Source, object);
}

} // namespace

bool TControl::Dragging() const { return drag.Source == this; }

void TControl::BeginDrag(bool immediate) {
    if (drag.Source && drag.Source != this)
        drag.Source->EndDrag(false);
    drag = {};
    drag.Source = this;
    drag.From = lastMouse;
    if (!immediate)
        return;
    StartDrag();
    if (Dragging())
        DragTo(lastMouse.X, lastMouse.Y);
}

// The drag is over before the handlers run, so that they may begin another.
void TControl::EndDrag(bool drop) {
    if (!Dragging())
        return;
    DragState ended = drag;
    drag = {};
    if (!ended.Started)
        return;
    TControl* target = nullptr;
    Point at;
    if (ended.Target) {
        bool accepted = drop && DragOver(ended, TDragState::dsDragLeave);
        if (accepted) {
            target = ended.Target;
            at = ended.AtTarget;
            target->OnDragDrop(target, this, at.X, at.Y);
        }
    }
    OnEndDrag(this, target, at.X, at.Y);
}

void TControl::LeaveDrag() {
    if (drag.Target == this)
        drag.Target = nullptr;
    if (drag.Source == this)
        drag = {};
}

void TControl::WindowMouse(const MouseInput& input) {
    lastMouse = {input.X, input.Y};
    const TShiftState shift = ShiftOf(input);
    const TMouseButton button = input.Button == mk::Right    ? TMouseButton::mbRight
                                : input.Button == mk::Middle ? TMouseButton::mbMiddle
                                                             : TMouseButton::mbLeft;
    switch (input.Action) {
    case MouseAction::Down:
    case MouseAction::DoubleClick:
        if (Dragging())
            return;
        if (button == TMouseButton::mbLeft && DragMode == TDragMode::dmAutomatic) {
            BeginDrag(false);
            return;
        }
        if (input.Action == MouseAction::DoubleClick)
            DblClick();
        OnMouseDown(this, button, shift, input.X, input.Y);
        return;
    case MouseAction::Move:
        if (!Dragging()) {
            OnMouseMove(this, shift, input.X, input.Y);
        } else if (drag.Started) {
            DragTo(input.X, input.Y);
        } else if (std::abs(input.X - drag.From.X) >= kDragThreshold ||
                   std::abs(input.Y - drag.From.Y) >= kDragThreshold) {
            StartDrag();
            if (Dragging())
                DragTo(input.X, input.Y);
        }
        return;
    case MouseAction::Up:
        if (!Dragging()) {
            OnMouseUp(this, button, shift, input.X, input.Y);
        } else if (button == TMouseButton::mbLeft) {
            EndDrag(true);
        }
        return;
    }
}

} // namespace sw
