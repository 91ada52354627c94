// Captions and the edits: one line, lines, and formatted lines (rich edit,
// or a plain multi-line edit where RICHED32.DLL is missing).
#include "platform/win32/Win32ChildControl.h"
#include "platform/win32/Win32CodePages.h"

#include <richedit.h>

namespace sw::win32 {

namespace {

const char* RichEditClass() {
    static const char* name = LoadLibraryA("RICHED32.DLL") ? "RICHEDIT" : "EDIT";
    return name;
}

class Win32Static : public Win32ChildControl {
  public:
    explicit Win32Static(const ChildSpec& spec) : Win32ChildControl(spec, {"STATIC", SS_LEFT, 0}) {}

    void SetAlignment(TextAlign align) override {
        align_ = align;
        LONG style = GetWindowLongA(hwnd_, GWL_STYLE) & ~0x1F;
        style |= align == TextAlign::Right    ? SS_RIGHT
                 : align == TextAlign::Center ? SS_CENTER
                 : wrap_                      ? SS_LEFT
                                              : SS_LEFTNOWORDWRAP;
        SetWindowLongA(hwnd_, GWL_STYLE, style);
        Invalidate();
    }

    void SetWordWrap(bool wrap) override {
        wrap_ = wrap;
        SetAlignment(align_);
    }
};

WindowStyle EditStyle(ControlKind kind) {
    constexpr DWORD lines = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP;
    switch (kind) {
    case ControlKind::Memo:
        return {"EDIT", lines, WS_EX_CLIENTEDGE};
    case ControlKind::RichEdit:
        return {RichEditClass(), lines, WS_EX_CLIENTEDGE};
    default:
        return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    }
}

class Win32Edit : public Win32ChildControl {
  public:
    explicit Win32Edit(const ChildSpec& spec) : Win32ChildControl(spec, EditStyle(spec.Kind)) {
        if (kind_ == ControlKind::RichEdit)
            SendMessageA(hwnd_, EM_SETEVENTMASK, 0, ENM_CHANGE);
    }

    void SetText(const std::string& text) override {
        if (kind_ == ControlKind::Edit) {
            // The text the user typed, echoed back, would put the caret at the start.
            if (Text() != text)
                Win32ChildControl::SetText(text);
            return;
        }
        // A multi-line edit does not report text set through WM_SETTEXT: report it here, once.
        {
            Quiet quiet(*this);
            SetWindowTextIn(hwnd_, codePage_, text);
        }
        Notify(&IControlEvents::OnChange);
    }

    void SetReadOnly(bool readOnly) override { SendMessageA(hwnd_, EM_SETREADONLY, readOnly, 0); }

  protected:
    bool Command(WORD code) override {
        if (code == EN_CHANGE)
            Notify(&IControlEvents::OnChange);
        return true;
    }
};

} // namespace

std::unique_ptr<Win32ChildControl> CreateTextControl(const ChildSpec& spec) {
    if (spec.Kind == ControlKind::Static)
        return std::make_unique<Win32Static>(spec);
    return std::make_unique<Win32Edit>(spec);
}

} // namespace sw::win32
