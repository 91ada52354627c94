// The base of every control: a component with a place in its parent, a
// caption, a font and a colour, shown through the platform GUI once its form
// is shown. Windowed controls (TWinControl) hold child controls and lay them
// out by alignment and anchors.
#pragma once

#include "controls/Font.h"
#include "controls/Layout.h"
#include "platform/Gui.h"
#include "project/Component.h"

#include <memory>
#include <string>
#include <vector>

namespace sw {

using TNotifyEvent = TEvent<TPersistent*>;

// The keys and mouse buttons held, and a double click: bits of TShiftStateBit.
enum TShiftStateBit { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = uint32_t;
// Sender, the key (vk:: values; a handler that sets it to 0 keeps the control
// from handling it), the keys held.
using TKeyEvent = TEvent<TPersistent*, int32_t&, TShiftState>;

// Mouse and drag events, as streams name their handlers. Sender, the button,
// the keys held, the position in the control.
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using TMouseEvent = TEvent<TPersistent*, TMouseButton, TShiftState, int32_t, int32_t>;
using TMouseMoveEvent = TEvent<TPersistent*, TShiftState, int32_t, int32_t>;
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// Sender, the other end of the drag (source or target), the position.
using TDragDropEvent = TEvent<TPersistent*, TPersistent*, int32_t, int32_t>;
using TEndDragEvent = TEvent<TPersistent*, TPersistent*, int32_t, int32_t>;
// Sender, source, position, state, whether a drop is accepted.
using TDragOverEvent = TEvent<TPersistent*, TPersistent*, int32_t, int32_t, TDragState, bool&>;
// Sender, the drag object a handler may supply.
using TStartDragEvent = TEvent<TPersistent*, TPersistent*&>;
// Automatic: a left press and a move of the mouse drag the control.
enum class TDragMode { dmManual, dmAutomatic };

// A mouse cursor: one of the cr values, or a program's own (positive).
using TCursor = int32_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crDrag = -12;
// The cursor names streams use (crDefault, crHourGlass, ...).
const TIdentMap& CursorIdents();

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TWinControl;

class TControl : public TComponent {
    SW_DECLARE_CLASS()
  public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    // Moves the control into another parent (none takes it out of every form).
    void SetParent(TWinControl* parent);
    TComponent* GetParentComponent() const override;
    // Raises EComponentError when the stream nests a control in something
    // that holds no controls.
    void SetParentComponent(TComponent* parent) override;

    int32_t Left() const { return bounds_.Left; }
    int32_t Top() const { return bounds_.Top; }
    int32_t Width() const { return bounds_.Width; }
    int32_t Height() const { return bounds_.Height; }
    void SetLeft(int32_t v);
    void SetTop(int32_t v);
    void SetWidth(int32_t v);
    void SetHeight(int32_t v);
    const Bounds& BoundsRect() const { return bounds_; }
    void SetBounds(const Bounds& bounds);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    uint32_t Anchors() const { return anchors_; }
    void SetAnchors(uint32_t anchors);

    std::string Caption() const { return text_; }
    void SetCaption(const std::string& text);
    std::string Text() const { return text_; }
    void SetText(const std::string& text) { SetCaption(text); }

    TFont* Font() const { return font_.get(); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool on);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);

    virtual bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    std::string Hint;
    bool ShowHint = false;
    bool ParentShowHint = true;

    // Draws the window again now.
    void Repaint();
    // Draws it again when the message loop next runs.
    void Invalidate();

    // Runs OnClick; also what a user's click on the window does.
    virtual void Click();
    TNotifyEvent OnClick;
    // A key pressed in the control (grids and trees), before it handles it.
    TKeyEvent OnKeyDown;

    // The mouse over a painted control, positions in its client area. A
    // double click runs OnDblClick, then OnMouseDown with ssDouble.
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    virtual void DblClick() { OnDblClick(this); }

    // Dragging (see Dragging.cpp). While a drag lasts the mouse is its: the
    // source's mouse events and clicks do not run. A control under the
    // mouse is the target: OnDragOver (Accept starts True when there is a
    // handler) on entering, moving and leaving it; on release, an accepting
    // target's OnDragDrop, then the source's OnEndDrag with the target (none
    // and 0,0 when nothing took the drop).
    TCursor DragCursor = crDrag;
    TDragMode DragMode = TDragMode::dmManual;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;
    // Drags the control now, or once the mouse has moved 5 pixels from where
    // it was last (OnStartDrag when the drag starts).
    void BeginDrag(bool immediate);
    // Started, or waiting for the mouse to move.
    bool Dragging() const;
    // Ends this control's drag: dropped on the target, or given up.
    void EndDrag(bool drop);

    // The window, while the form is shown; none before.
    IControl* Handle() const { return window_.get(); }
    // Creates the window (and those of the children) inside `form`.
    virtual void Realize(IForm& form, IControl* parentWindow);
    virtual void Unrealize();
    // The name its window goes by: the name, after the owner's window name
    // for a control owned by another control (the buttons of a radio group).
    std::string WindowName() const;
    // The form window this control is shown in; none before.
    IForm* HostForm() const { return host_; }

  protected:
    // What kind of window shows the control.
    virtual ControlKind WindowKind() const { return ControlKind::Static; }
    // Pushes the control's state into a new window.
    virtual void ApplyTo(IControl& window);
    // The window reports a click or a change of its text.
    virtual void WindowClicked() { Click(); }
    virtual void WindowChanged() {}
    // The window asks its owner to draw a cell.
    virtual void WindowDrawCell(int /*col*/, int /*row*/, const Bounds& /*rect*/, bool /*selected*/,
                                ICanvas& /*canvas*/) {}
    // The user expanded or collapsed a tree's node, or scrolled the tree.
    virtual void WindowExpanded(int /*index*/, bool /*expanded*/) {}
    virtual void WindowScrolled() {}
    // A painted control draws itself.
    virtual void WindowPaint(ICanvas& /*canvas*/) {}
    // A key pressed in the window: OnKeyDown.
    virtual void WindowKeyDown(int& key, bool shift);
    // The mouse over the window: the drag's, or OnMouseDown, OnMouseMove,
    // OnMouseUp. A left press with dmAutomatic begins a drag.
    void WindowMouse(const MouseInput& input);
    // The caption changed (after the window was told).
    virtual void TextChanged() {}
    // The text as the control keeps it (an edit's case rule).
    virtual std::string AdjustText(const std::string& text) const { return text; }
    // The parent's font or colour changed, or the control's own.
    virtual void FontChanged();
    void ApplyColor();
    // Moves or sizes the window after the bounds changed.
    virtual void PushBounds();
    // A font of the control's own, of a class with other defaults.
    void UseFont(std::unique_ptr<TFont> font);
    // Positions and sizes set by layout, not by the program.
    void PlaceByLayout(const Bounds& bounds);
    // Loading, or owned by a component still loading.
    bool InLoading() const;
    // Asks the parent to lay out its children again (once loaded).
    void RequestLayout();
    void SetHost(IForm* host) { host_ = host; }

  private:
    friend class TWinControl;
    struct WindowEvents : IControlEvents {
        explicit WindowEvents(TControl& c) : control(c) {}
        void OnClick() override {
            if (!control.Dragging())
                control.WindowClicked();
        }
        void OnChange() override { control.WindowChanged(); }
        void OnDrawCell(int col, int row, const Bounds& rect, bool selected, ICanvas& canvas) override {
            control.WindowDrawCell(col, row, rect, selected, canvas);
        }
        void OnExpand(int index, bool expanded) override { control.WindowExpanded(index, expanded); }
        void OnScroll() override { control.WindowScrolled(); }
        void OnPaint(ICanvas& canvas) override { control.WindowPaint(canvas); }
        void OnKeyDown(int& key, bool shift) override { control.WindowKeyDown(key, shift); }
        void OnMouse(const MouseInput& input) override { control.WindowMouse(input); }
        TControl& control;
    };
    void BoundsSetByProgram();
    // The control goes: no drag holds it any more.
    void LeaveDrag();
    void WatchFont();
    void ParentFontChanged(const TFont& font);
    void ParentColorChanged(TColor color);

    TWinControl* parent_ = nullptr;
    Bounds bounds_{0, 0, 0, 0};
    TAlign align_ = TAlign::alNone;
    uint32_t anchors_ = kDefaultAnchors;
    TLayoutItem layout_;
    std::string text_;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    bool visible_ = true;
    bool enabled_ = true;
    WindowEvents events_{*this};
    std::unique_ptr<IControl> window_;
    IForm* host_ = nullptr;
};

// A control that holds others and takes part in keyboard navigation.
class TWinControl : public TControl {
    SW_DECLARE_CLASS()
  public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
    // The place among its siblings that Tab visits: ascending, those without
    // one (-1) last, equal ones in the order they joined the parent.
    int32_t TabOrder() const { return tabOrder_; }
    void SetTabOrder(int32_t order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on);

    // Takes the keyboard focus when shown and enabled.
    void SetFocus();
    bool Focused() const;
    // Shown, and visible and enabled with every parent.
    bool CanFocus() const;

    // The windowed controls inside, in the order Tab visits them: the
    // children by TabOrder, each followed by those inside it.
    std::vector<TWinControl*> TabOrderList() const;
    // Where Tab (forward) or Shift+Tab goes from `current`, wrapping around:
    // the next control inside that is a tab stop and can take the focus. From
    // none (or a control not inside) it starts at either end. None when no
    // other control qualifies.
    TWinControl* FindNextControl(TWinControl* current, bool forward) const;
    // Moves the focus there.
    void SelectNext(TWinControl* current, bool forward);
    // The control inside that has the focus; none.
    TWinControl* FocusedControl() const;

    // The client area children are placed in, and the part aligned children share.
    virtual Bounds ClientRect() const;
    virtual Bounds AlignRect() const { return ClientRect(); }
    // Places the children by alignment and anchors, then theirs.
    void Realign();

    void Realize(IForm& form, IControl* parentWindow) override;
    void Unrealize() override;
    void Loaded() override;

  protected:
    ControlKind WindowKind() const override { return ControlKind::Panel; }
    void FontChanged() override;
    void ColorChanged();
    void ApplyTo(IControl& window) override;
    // The window children are made in: this control's.
    virtual IControl* ChildParentWindow() { return Handle(); }
    // The tab order inside changed: the form tells its window.
    virtual void TabOrderChanged();
    void RealizeChildren();
    void UnrealizeChildren();

  private:
    friend class TControl;
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);

    std::vector<TControl*> controls_;
    int32_t tabOrder_ = -1;
    bool tabStop_ = false;
};

const TEnumInfo& AlignNames();
const TEnumInfo& AlignmentNames();
TextAlign ToTextAlign(TAlignment a);

} // namespace sw
