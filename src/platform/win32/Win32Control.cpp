#include "platform/win32/Win32Control.h"

#include "platform/PlatformErrors.h"
#include "platform/win32/Win32ChildControl.h"
#include "platform/win32/Win32CommonControls.h"

namespace sw::win32 {

void RegisterControlWindowClasses() {
    static bool done = false;
    if (done)
        return;
    CommonControls();
    RegisterPaintedClass();
    done = true;
}

std::unique_ptr<IControl> CreateWin32Control(Win32Gui& gui, HWND parentWindow, std::vector<IControl*>& registry,
                                             ControlKind kind, const std::string& name, const Bounds& bounds,
                                             IControlEvents& events) {
    RegisterControlWindowClasses();
    ChildSpec spec{gui, parentWindow, registry, kind, name, bounds, events};
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::ProgressBar:
        return CreateButtonControl(spec);
    case ControlKind::Static:
    case ControlKind::Edit:
    case ControlKind::Memo:
    case ControlKind::RichEdit:
        return CreateTextControl(spec);
    case ControlKind::ListBox:
    case ControlKind::ComboBox:
    case ControlKind::TabStrip:
        return CreateListControl(spec);
    case ControlKind::TreeView:
        return CreateTreeView(spec);
    case ControlKind::ListView:
        return CreateListView(spec);
    case ControlKind::Painted:
        return CreateWindowlessControl(spec);
    case ControlKind::GroupBox:
    case ControlKind::Panel:
    case ControlKind::PaintedPanel:
    case ControlKind::Image:
    case ControlKind::Grid:
        break;
    }
    return CreatePaintedControl(spec);
}

HWND ControlWindow(IControl& control) {
    auto* child = dynamic_cast<Win32ChildControl*>(&control);
    if (!child)
        throw EPlatformError("The painted control " + control.Name() + " holds no controls");
    return child->Window();
}

bool RouteToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    if (message == WM_COMMAND)
        child = reinterpret_cast<HWND>(lParam);
    else if (message == WM_NOTIFY)
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        child = reinterpret_cast<HWND>(lParam);
    Win32ChildControl* control = child ? Win32ChildControl::Of(child) : nullptr;
    return control && control->Route(message, wParam, lParam, result);
}

HFONT CreateFontFor(const FontSpec& font) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    int height = -MulDiv(font.Size, dpi, 72);
    return CreateFontA(height, 0, font.Escapement, font.Escapement, font.Bold ? FW_BOLD : FW_NORMAL, font.Italic,
                       font.Underline, FALSE, static_cast<DWORD>(font.Charset),
                       font.TrueTypeOnly ? OUT_TT_ONLY_PRECIS : OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.Face.c_str());
}

FontSpec SpecOfFont(HFONT font) {
    FontSpec spec;
    LOGFONTA lf{};
    if (!font || !GetObjectA(font, sizeof lf, &lf))
        return spec;
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    spec.Face = lf.lfFaceName;
    spec.Size = lf.lfHeight < 0 ? MulDiv(-lf.lfHeight, 72, dpi) : -MulDiv(lf.lfHeight, 72, dpi);
    spec.Bold = lf.lfWeight >= FW_BOLD;
    spec.Italic = lf.lfItalic != 0;
    spec.Underline = lf.lfUnderline != 0;
    spec.Charset = lf.lfCharSet;
    spec.Escapement = lf.lfEscapement;
    spec.TrueTypeOnly = lf.lfOutPrecision == OUT_TT_ONLY_PRECIS;
    return spec;
}

} // namespace sw::win32
