// Windows on the screen: top-level forms and the controls inside them, the
// message loop, message boxes and the cursor. Everything runs on the one GUI
// thread.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sw {

// Message box flags, with the values Windows gives them.
namespace mb {
inline constexpr unsigned Ok = 0x0;
inline constexpr unsigned OkCancel = 0x1;
inline constexpr unsigned AbortRetryIgnore = 0x2;
inline constexpr unsigned YesNoCancel = 0x3;
inline constexpr unsigned YesNo = 0x4;
inline constexpr unsigned RetryCancel = 0x5;
inline constexpr unsigned IconError = 0x10;
inline constexpr unsigned IconQuestion = 0x20;
inline constexpr unsigned IconWarning = 0x30;
inline constexpr unsigned IconInformation = 0x40;
} // namespace mb

// Message box results.
namespace id {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace id

struct Bounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const Bounds&) const = default;
};

enum class ShowState { Normal, Maximized, Hidden };

// The frame of a top-level form: none (a popup), a fixed single line, a
// sizing frame, a dialog frame, or the small caption of a tool window.
enum class FormBorder { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };

// What a form's frame shows. Without the system menu there is no close box
// and no minimize or maximize box; dialog and tool frames have neither box.
struct FormStyle {
    FormBorder Border = FormBorder::Sizeable;
    bool SystemMenu = true;
    bool MinimizeBox = true;
    bool MaximizeBox = true;
    bool HelpButton = false;
    bool operator==(const FormStyle&) const = default;
};

class IForm;

// How a form is made. An owned form stays above its owner. An embedded form
// is a borderless child window in its host's client area (its bounds are
// relative to it); it has no frame, style or owner of its own, and the keys
// typed in its controls act on it.
struct FormOptions {
    FormStyle Style;
    IForm* Owner = nullptr;
    IForm* Host = nullptr;
};

// Keys a form handles itself: Enter presses its default button, Escape its
// cancel button; Alt+F4 asks it to close, as its close box does.
enum class FormKey { Enter, Escape, AltF4 };
enum class CursorKind { Default, Hourglass };

// What a child window is. Panels, bevels, images and grids are plain windows
// that paint themselves; a painted control has no window of its own.
enum class ControlKind {
    Static,      // a caption
    Button,      // a push button
    CheckBox,    // a box the owner checks (clicking only notifies)
    RadioButton, // likewise
    GroupBox,    // a frame with a caption that holds controls
    Edit,        // one line of text
    Memo,        // lines of text
    RichEdit,    // formatted lines of text
    ListBox,
    ComboBox, // a drop-down list
    ProgressBar,
    TreeView, // items indented one tab per level
    ListView, // a report: columns, and rows with cells separated by tabs
    TabStrip, // items are the tabs
    Image,    // a BMP picture
    Grid,     // columns of cells; rows with cells separated by tabs
    Panel,    // a bevelled area that holds controls
    Painted,  // drawn by its owner (OnPaint) on its parent's window, over the
              // parent's background and the painted controls made before it;
              // it holds no controls and takes no focus
    // A panel its owner draws whole (OnPaint), in place of the background,
    // bevel and caption; it holds controls.
    PaintedPanel,
};

// A font as a form describes it. Size in points.
struct FontSpec {
    std::string Face = "MS Sans Serif";
    int Size = 8;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int Charset = 1; // DEFAULT_CHARSET
    // The angle of the text's base line, counter-clockwise in tenths of a
    // degree; only an outline font turns.
    int Escapement = 0;
    // Chosen among TrueType fonts only, so that one that turns is found.
    bool TrueTypeOnly = false;
    bool operator==(const FontSpec&) const = default;
};

// Colours: 0x00BBGGRR, or a system colour 0x80000000 | index (COLOR_BTNFACE, ...).
using ColorRef = uint32_t;
inline constexpr ColorRef kColorBtnFace = 0x8000000F;
inline constexpr ColorRef kColorWindow = 0x80000005;
inline constexpr ColorRef kColorWindowText = 0x80000008;
inline constexpr ColorRef kColorHighlight = 0x8000000D;
inline constexpr ColorRef kColorHighlightText = 0x8000000E;

enum class TextAlign { Left, Right, Center };
// The edge a panel draws: a box, a frame, or one line along a side.
enum class BevelKind { None, Lowered, Raised, Frame, TopLine, BottomLine, LeftLine, RightLine };

struct ColumnSpec {
    std::string Caption;
    int Width = 0;
    bool operator==(const ColumnSpec&) const = default;
};

// Pictures of a list's items, all of one size. Each BMP file holds one image
// or several side by side; pixels of its mask colour (0x00BBGGRR) are not
// drawn, and a file without one is drawn whole.
struct ImageListSpec {
    struct Strip {
        std::string Bmp;
        std::optional<ColorRef> Mask;
        bool operator==(const Strip&) const = default;
    };
    int Width = 16;
    int Height = 16;
    std::vector<Strip> Strips;
    bool operator==(const ImageListSpec&) const = default;
};

// The images a list view shows for its items: small ones beside the caption,
// state images before them.
enum class ImageListRole { Small, State };

// How many images of what size a list view shows for a role.
struct ImageListInfo {
    int Count = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const ImageListInfo&) const = default;
};

// An item's image and state image, indexes into the image lists (-1: none).
struct ItemImages {
    int Image = -1;
    int State = -1;
    bool operator==(const ItemImages&) const = default;
};

struct Point {
    int X = 0;
    int Y = 0;
    bool operator==(const Point&) const = default;
};

// The pen lines and outlines are drawn with: solid, `Width` pixels wide.
struct PenSpec {
    ColorRef Color = 0; // black
    int Width = 1;
    bool operator==(const PenSpec&) const = default;
};

// Drawing on a control while it paints, in its client coordinates (a painted
// control's top left is 0,0), clipped to the control.
class ICanvas {
  public:
    virtual ~ICanvas() = default;
    virtual void FillRect(const Bounds& rect, ColorRef color) = 0;
    // With `background`, the text's box is filled with it first; without,
    // what is under the text stays.
    virtual void TextOut(int x, int y, const std::string& text, const FontSpec& font, ColorRef color,
                         std::optional<ColorRef> background) = 0;
    // The size text takes in a font, unturned.
    virtual Bounds TextExtent(const std::string& text, const FontSpec& font) = 0;
    // A BMP file at its own size; pixels of the mask colour are not drawn.
    virtual void Draw(int x, int y, const std::string& bmp, std::optional<ColorRef> mask) = 0;
    // Lines and outlines from here on use `pen`.
    virtual void SetPen(const PenSpec& pen) = 0;
    // A line from the current position to x,y (leaving x,y itself out); the
    // end is the new current position.
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Outlined with the pen and, with `fill`, filled.
    virtual void Rectangle(const Bounds& rect, std::optional<ColorRef> fill) = 0;
    virtual void Polygon(const std::vector<Point>& points, std::optional<ColorRef> fill) = 0;
    // The colour as it is painted (0x00BBGGRR): a system colour looked up.
    virtual ColorRef Resolve(ColorRef color) = 0;
};

// Keys as Windows numbers them (virtual-key codes); letters and digits are
// their upper-case characters.
namespace vk {
inline constexpr int Return = 0x0D;
inline constexpr int Escape = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int Prior = 0x21; // Page Up
inline constexpr int Next = 0x22;  // Page Down
inline constexpr int End = 0x23;
inline constexpr int Home = 0x24;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
} // namespace vk

// Who draws the cells of a grid: the window alone (a cell's text), the window
// then the owner, or the owner alone.
enum class CellDrawing { Default, DefaultThenOwner, Owner };

// The mouse buttons and keys held, as Windows' MK_ flags give them.
namespace mk {
inline constexpr unsigned Left = 0x01;
inline constexpr unsigned Right = 0x02;
inline constexpr unsigned Shift = 0x04;
inline constexpr unsigned Control = 0x08;
inline constexpr unsigned Middle = 0x10;
} // namespace mk

enum class MouseAction { Down, Move, Up, DoubleClick };

// The mouse over a painted control: a button (mk:: Left, Right or Middle)
// pressed, released or double-clicked (the left one only), or a move.
// `Keys` is what is held as it happens (a press includes its button, a
// release not); X, Y in the control's client area.
struct MouseInput {
    MouseAction Action = MouseAction::Move;
    unsigned Button = 0;
    unsigned Keys = 0;
    int X = 0;
    int Y = 0;
    bool operator==(const MouseInput&) const = default;
};

// What a control tells its owner. Called from the message loop.
class IControlEvents {
  public:
    virtual ~IControlEvents() = default;
    // Pressed, or an item chosen by the user.
    virtual void OnClick() = 0;
    // The text of an edit changed (also when the program set it).
    virtual void OnChange() = 0;
    // A grid drawing its cells by its owner asks for one; `rect` is the cell
    // without its grid lines.
    virtual void OnDrawCell(int col, int row, const Bounds& rect, bool selected, ICanvas& canvas) = 0;
    // The user expanded or collapsed a tree's node (its index among all items).
    virtual void OnExpand(int index, bool expanded) = 0;
    // The first row a tree shows changed under the user's hand (scroll bar,
    // wheel, keys, a collapse that shortened the list).
    virtual void OnScroll() = 0;
    // A painted control draws itself, over what lies below it; a painted
    // panel draws itself whole, below its controls.
    virtual void OnPaint(ICanvas& /*canvas*/) {}
    // A key pressed in a grid or tree, before the control handles it; a key
    // set to 0 is not handled further.
    virtual void OnKeyDown(int& /*key*/, bool /*shift*/) {}
    // The mouse over a painted control (the uppermost one under it). From a
    // press until every button is up the control holds the mouse: moves and
    // releases reach it wherever they are. A left press and release on the
    // same control clicks it (OnClick, before the release's OnMouse).
    virtual void OnMouse(const MouseInput& /*input*/) {}
};

// A child window of a form, destroyed with this object; destroy children
// before their parent and every control before its form. Bounds are relative
// to the parent's client area.
class IControl {
  public:
    virtual ~IControl() = default;
    virtual ControlKind Kind() = 0;
    virtual const std::string& Name() = 0;

    virtual Bounds GetBounds() = 0;
    virtual void SetBounds(const Bounds& bounds) = 0;
    // The caption, or the text of an edit, memo or combo box.
    virtual std::string Text() = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual void SetAlignment(TextAlign align) = 0;
    virtual void SetWordWrap(bool wrap) = 0;
    virtual void SetReadOnly(bool readOnly) = 0;

    // List, combo, tab strip, tree and list view items, grid rows. A tree's
    // item is a node, after its parent and indented one tab more.
    virtual std::vector<std::string> Items() = 0;
    virtual void SetItems(const std::vector<std::string>& items) = 0;
    // The selected item (-1: none); for a grid, row * columns + column.
    // Selecting a tree's node expands its parents.
    virtual int ItemIndex() = 0;
    virtual void SetItemIndex(int index) = 0;
    // Columns of a list view or grid; the height of a grid's or tree's rows.
    virtual void SetColumns(const std::vector<ColumnSpec>& columns) = 0;
    virtual void SetRowHeight(int height) = 0;

    // A tree's nodes start collapsed (SetItems). An expanded node shows its
    // children; one without children stays collapsed. Collapsing a node that
    // holds the selection selects the node.
    virtual void SetExpanded(int index, bool expanded) = 0;
    virtual bool Expanded(int index) = 0;
    // The row of a tree's node that is shown (every parent expanded), in the
    // client area: rows of one height, the first shown row at the top
    // (rows scrolled past have negative tops). None for a node not shown.
    virtual std::optional<Bounds> ItemRect(int index) = 0;

    virtual bool Checked() = 0;
    virtual void SetChecked(bool checked) = 0;
    // A push button that is its form's default: it shows the default look
    // (the heavier frame) while no push button of its form has the focus; a
    // focused push button shows it meanwhile, as in a dialog.
    virtual void SetDefault(bool on) = 0;
    virtual bool DrawnAsDefault() = 0;
    virtual void SetRange(int min, int max) = 0;
    virtual int Position() = 0;
    virtual void SetPosition(int position) = 0;
    // A list view's image list for a role (no strips: none), and what it holds.
    virtual void SetImageList(ImageListRole role, const ImageListSpec& images) = 0;
    virtual ImageListInfo GetImageList(ImageListRole role) = 0;
    // The images of a list view's items, in item order (after SetItems).
    virtual void SetItemImages(const std::vector<ItemImages>& images) = 0;
    virtual std::vector<ItemImages> GetItemImages() = 0;
    virtual void SetCellDrawing(CellDrawing drawing) = 0;
    // Draws the control again now.
    virtual void Repaint() = 0;
    // Draws the control again when the message loop next runs.
    virtual void Invalidate() = 0;
    // A BMP file (empty clears); stretched to the bounds or drawn at the top
    // left. A push button draws it as its glyph, left of its caption, the
    // picture's lower left colour transparent.
    virtual void SetPicture(const std::string& bmp, bool stretch) = 0;
    // A panel's edge; a tree view's: Lowered is its sunken border, None none.
    virtual void SetBevel(BevelKind bevel) = 0;
    // Shows or hides a grid's, list's or tree's scroll bars (a tree or list
    // shows one again when its rows need it).
    virtual void SetScrollBars(bool horizontal, bool vertical) = 0;
    virtual bool ScrollBarShown(bool horizontal) = 0;

    virtual bool Enabled() = 0;
    virtual void SetEnabled(bool enabled) = 0;
    // Visible on its own account; shown on the screen when its parents are too.
    virtual bool Visible() = 0;
    virtual void SetVisible(bool visible) = 0;
    // Takes the keyboard focus; a hidden or disabled control does not.
    virtual void SetFocus() = 0;
    // Whether Tab stops at the control (see IForm::SetTabOrder).
    virtual void SetTabStop(bool on) = 0;
    virtual bool Focused() = 0;
    virtual FontSpec Font() = 0;
    // The font and its colour.
    virtual void SetFont(const FontSpec& font, ColorRef color) = 0;
    virtual void SetColor(ColorRef color) = 0;

    // As a user would: a click on a button or box, choosing an item of a list.
    // Nothing happens on a hidden or disabled control.
    virtual void Click() = 0;
    virtual void Choose(int index) = 0;
    // A tree's node button: expands a collapsed node with children, collapses
    // an expanded one (OnExpand; OnScroll when the shown rows moved).
    virtual void Toggle(int index) = 0;
    // Scrolls a tree by whole rows (negative: up) as its scroll bar does, no
    // further than the first row or than the last row showing in full.
    virtual void Scroll(int rows) = 0;
    // A key pressed while the control has the focus (vk:: values): a grid or
    // tree tells OnKeyDown, then moves its selection by the arrow keys.
    virtual void PressKey(int key, bool shift) = 0;
    // As a user would: the mouse at `input`'s X, Y of a painted control, on
    // its parent's window, hit-tested there as OnMouse says. Nothing happens
    // on a hidden or disabled control or on other kinds.
    virtual void Mouse(const MouseInput& /*input*/) {}
};

// What a form tells its owner. Called from the message loop; an exception
// thrown here goes to the application's exception handler, or ends the modal
// loop that runs (see RunUntil).
class IFormEvents {
  public:
    virtual ~IFormEvents() = default;
    virtual void OnActivate() = 0;
    // The user asked to close the form; the form stays until its owner
    // destroys it.
    virtual void OnClose() = 0;
    virtual void OnResize() = 0;
    // The user pressed Tab (with Shift: backward) in the form.
    virtual void OnTab(bool backward) = 0;
    // The user pressed Enter or Escape in the form, and the focused control
    // does not take the key itself (a focused push button takes Enter and is
    // pressed, a memo keeps it).
    virtual void OnKey(FormKey /*key*/) {}
};

// A top-level or embedded window, destroyed with this object; destroy the
// forms embedded in a host before the host.
class IForm {
  public:
    virtual ~IForm() = default;
    // Showing a form the first time queues its activation, delivered by the
    // message loop.
    virtual void Show(ShowState state) = 0;
    virtual bool Visible() = 0;
    virtual Bounds GetBounds() = 0;
    virtual void SetBounds(const Bounds& bounds) = 0;
    virtual std::string Caption() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    // The character set of the form's font: the caption is text of its code
    // page (the default set, the system's).
    virtual void SetCharset(int charset) = 0;
    // Paints the form and every control in it now, without the message loop.
    virtual void Repaint() = 0;
    // Paints now, without the message loop, only what waits to be painted in
    // the form and its controls (what changed since the last paint).
    virtual void Update() = 0;

    // The size of the area inside the frame; setting it sizes the frame around it.
    virtual Bounds ClientBounds() = 0;
    virtual void SetClientSize(int width, int height) = 0;
    // A child window of this form, or of `parent` (a panel or group box of this
    // form); `name` finds it again.
    virtual std::unique_ptr<IControl> CreateControl(ControlKind kind, const std::string& name, IControl* parent,
                                                    const Bounds& bounds, IControlEvents& events) = 0;
    // The living control of that name (exact match); none when there is none.
    virtual IControl* FindControl(const std::string& name) = 0;
    // The form's picture as a BMP file, children included (for screenshots).
    virtual std::string Capture() = 0;
    // The form's controls in the order Tab visits them: the stacking of
    // sibling windows follows it (and Windows' own navigation with it).
    virtual void SetTabOrder(const std::vector<IControl*>& controls) = 0;
    // As a user would: presses Tab (with Shift: backward) in the form. The
    // key goes through the message loop, which hands it to OnTab unless the
    // focused control takes Tab itself; it is handled before this returns.
    virtual void PressTab(bool backward) = 0;
    // As a user would: presses a key in the form (in the embedded form the
    // focus is in, when it is in one), through the message loop as PressTab
    // does. Alt+F4 reaches the top-level form as OnClose.
    virtual void PressKey(FormKey key) = 0;

    // A disabled form takes no input from the user.
    virtual bool Enabled() = 0;
    virtual void SetEnabled(bool enabled) = 0;
    // Puts the form over its siblings: an embedded form over the other
    // windows in its host, a top-level form over the other forms.
    virtual void BringToFront() = 0;
};

class IGui {
  public:
    virtual ~IGui() = default;

    virtual std::string Title() = 0;
    virtual void SetTitle(const std::string& title) = 0;

    virtual std::unique_ptr<IForm> CreateForm(const std::string& caption, const Bounds& bounds, IFormEvents& events,
                                              const FormOptions& options) = 0;
    // A sizeable top-level form of its own.
    std::unique_ptr<IForm> CreateForm(const std::string& caption, const Bounds& bounds, IFormEvents& events) {
        return CreateForm(caption, bounds, events, FormOptions{});
    }
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;
    // The height of a form's caption bar.
    virtual int CaptionHeight() = 0;
    // The size text takes in a font ("&" marks an accelerator and takes no
    // room; "&&" is one "&"); with wrapWidth > 0, lines break at spaces to fit.
    // Empty text measures as one blank.
    virtual Bounds MeasureText(const FontSpec& font, const std::string& text, int wrapWidth) = 0;

    // Runs until Terminate; returns at once when already terminated.
    virtual void RunMessageLoop() = 0;
    // Delivers the messages waiting now and returns.
    virtual void ProcessMessages() = 0;
    // Runs the message loop until `done` answers true or the program ends: a
    // modal loop. An exception thrown by an event handler meanwhile (also one
    // that leaves a ProcessMessages called by a handler) ends the innermost
    // modal loop and leaves this call; the exception handler does not see it.
    virtual void RunUntil(const std::function<bool()>& done) = 0;
    // `form`'s modal loop: disables the other visible top-level forms, runs
    // RunUntil, and enables them again, also when an exception leaves it.
    virtual void RunModal(IForm& form, const std::function<bool()>& done) = 0;
    virtual void Terminate() = 0;
    virtual bool Terminated() = 0;

    // Flags are mb:: values; returns an id:: value.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    virtual void SetCursor(CursorKind cursor) = 0;

    // Receives the exceptions thrown by form event handlers outside modal
    // loops. Without a handler such an exception leaves RunMessageLoop or
    // ProcessMessages.
    virtual void SetExceptionHandler(std::function<void(std::exception_ptr)> handler) = 0;
};

} // namespace sw
