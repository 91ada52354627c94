// The kinds Windows has no control for, painted by a window class of our
// own: panels with their bevels, group boxes, images and grids.
#include "platform/GridCells.h"
#include "platform/PlatformErrors.h"
#include "platform/win32/Win32Bitmaps.h"
#include "platform/win32/Win32ChildControl.h"
#include "platform/win32/Win32CodePages.h"
#include "platform/win32/Win32Control.h"

#include <algorithm>
#include <cstring>

namespace sw::win32 {

namespace {

const char kPaintedClass[] = "SetwrightControl";

WindowStyle PaintedStyle(ControlKind kind) {
    switch (kind) {
    case ControlKind::Grid:
        return {kPaintedClass, WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::GroupBox:
    case ControlKind::Panel:
    case ControlKind::PaintedPanel:
        // Windows' own Tab navigation goes into the controls inside.
        return {kPaintedClass, 0, WS_EX_CONTROLPARENT};
    default:
        return {kPaintedClass, 0, 0};
    }
}

class Win32PaintedControl : public Win32ChildControl {
  public:
    explicit Win32PaintedControl(const ChildSpec& spec) : Win32ChildControl(spec, PaintedStyle(spec.Kind)) {}

    // The text is kept as given: a window of this class keeps its own in the system's code page.
    std::string Text() override { return text_; }
    void SetText(const std::string& text) override {
        text_ = text;
        Win32ChildControl::SetText(text);
        Invalidate();
    }

    void SetCellDrawing(CellDrawing drawing) override {
        drawing_ = drawing;
        Invalidate();
    }

    void SetPicture(const std::string& bmp, bool stretch) override {
        picture_ = bmp;
        stretch_ = stretch;
        Invalidate();
    }

    void SetBevel(BevelKind bevel) override {
        bevel_ = bevel;
        Invalidate();
    }

    // The window procedure of the class.
    LRESULT Painted(UINT message, WPARAM wParam, LPARAM lParam) {
        // About a child of a panel or group box.
        if (message == WM_COMMAND || message == WM_NOTIFY ||
            (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)) {
            LRESULT result = 0;
            if (RouteToControl(message, wParam, lParam, result))
                return result;
        }
        switch (message) {
        case WM_ERASEBKGND:
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            Paint(dc);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
            if (kind_ == ControlKind::Grid) {
                ::SetFocus(hwnd_);
                int col = 0, x = LOWORD(lParam), y = HIWORD(lParam), left = 0;
                while (col < static_cast<int>(columns_.size()) && x >= left + columns_[static_cast<size_t>(col)].Width)
                    left += columns_[static_cast<size_t>(col++)].Width;
                if (col < static_cast<int>(columns_.size()))
                    Choose(y / rowHeight_ * static_cast<int>(columns_.size()) + col);
                return 0;
            }
            break;
        case WM_GETDLGCODE:
            if (kind_ == ControlKind::Grid)
                return DLGC_WANTARROWS;
            break;
        case WM_KEYDOWN:
            if (kind_ == ControlKind::Grid && (wParam = OwnerKey(wParam)) == 0)
                return 0;
            if (kind_ == ControlKind::Grid && !columns_.empty()) {
                RECT client;
                GetClientRect(hwnd_, &client);
                int to = GridKeyTarget(index_, static_cast<int>(wParam), static_cast<int>(columns_.size()),
                                       static_cast<int>(items_.size()), client.bottom / rowHeight_);
                if (to >= 0 && to != index_)
                    Choose(to);
                return 0;
            }
            break;
        }
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }

  protected:
    int Count() const override {
        return kind_ == ControlKind::Grid ? static_cast<int>(items_.size() * columns_.size())
                                          : static_cast<int>(items_.size());
    }

  private:
    void Paint(HDC dc) {
        if (kind_ == ControlKind::PaintedPanel) {
            PaintByOwner(dc);
            return;
        }
        RECT r;
        GetClientRect(hwnd_, &r);
        HBRUSH back = brush_ ? brush_ : GetSysColorBrush(COLOR_BTNFACE);
        FillRect(dc, &r, back);
        HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ResolveColor(textColor_));
        std::string text = Text();
        switch (kind_) {
        case ControlKind::GroupBox: {
            TEXTMETRICA tm;
            GetTextMetricsA(dc, &tm);
            RECT frame = r;
            frame.top += tm.tmHeight / 2;
            DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
            SIZE size = TextExtentIn(dc, codePage_, text);
            RECT label{8, 0, 8 + size.cx + 4, tm.tmHeight};
            FillRect(dc, &label, back);
            TextOutIn(dc, codePage_, 10, 0, text);
            break;
        }
        case ControlKind::Image:
            PaintPicture(dc, r);
            break;
        case ControlKind::Grid:
            PaintGrid(dc);
            break;
        default: {
            PaintBevel(dc, r);
            UINT align = align_ == TextAlign::Left ? DT_LEFT : align_ == TextAlign::Right ? DT_RIGHT : DT_CENTER;
            DrawTextIn(dc, codePage_, text, r, align | DT_VCENTER | DT_SINGLELINE);
            break;
        }
        }
        SelectObject(dc, oldFont);
    }

    // The owner draws the whole panel; what it leaves is left as it was.
    void PaintByOwner(HDC dc) {
        int saved = SaveDC(dc);
        try {
            Win32Canvas canvas(dc);
            events_.OnPaint(canvas);
        } catch (...) {
            RaiseCurrent();
        }
        RestoreDC(dc, saved);
    }

    void PaintBevel(HDC dc, RECT r) {
        switch (bevel_) {
        case BevelKind::Lowered:
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
            break;
        case BevelKind::Raised:
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
            break;
        case BevelKind::Frame:
            DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
            break;
        case BevelKind::TopLine:
            DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
            break;
        case BevelKind::BottomLine:
            DrawEdge(dc, &r, EDGE_ETCHED, BF_BOTTOM);
            break;
        case BevelKind::LeftLine:
            DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT);
            break;
        case BevelKind::RightLine:
            DrawEdge(dc, &r, EDGE_ETCHED, BF_RIGHT);
            break;
        case BevelKind::None:
            break;
        }
    }

    // A BMP file: the info header and palette follow the 14-byte file header.
    void PaintPicture(HDC dc, RECT r) {
        if (picture_.size() < 14 + sizeof(BITMAPINFOHEADER))
            return;
        const char* data = picture_.data();
        uint32_t offBits;
        std::memcpy(&offBits, data + 10, 4);
        BITMAPINFOHEADER header;
        std::memcpy(&header, data + 14, sizeof header);
        if (offBits >= picture_.size())
            return;
        auto* info = reinterpret_cast<const BITMAPINFO*>(data + 14);
        int w = header.biWidth, h = header.biHeight < 0 ? -header.biHeight : header.biHeight;
        int dw = stretch_ ? r.right : w, dh = stretch_ ? r.bottom : h;
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, 0, 0, dw, dh, 0, 0, w, h, data + offBits, info, DIB_RGB_COLORS, SRCCOPY);
    }

    // The window's own drawing fills each cell and writes its text; the
    // owner's follows. An exception of the owner's ends the drawing and goes
    // to the application.
    void PaintGrid(HDC dc) {
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        try {
            PaintCells(dc);
        } catch (...) {
            RaiseCurrent();
        }
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }

    void PaintCells(HDC dc) {
        Win32Canvas canvas(dc);
        int cols = static_cast<int>(columns_.size());
        for (const GridCell& cell : GridCells(columns_, static_cast<int>(items_.size()), rowHeight_)) {
            bool selected = cell.Row * cols + cell.Col == index_;
            if (drawing_ != CellDrawing::Owner) {
                canvas.FillRect(cell.Rect, selected ? kColorHighlight : color_);
                std::vector<std::string> cells = RowCells(items_[static_cast<size_t>(cell.Row)]);
                if (static_cast<size_t>(cell.Col) < cells.size()) {
                    RECT text{cell.Rect.Left + 2, cell.Rect.Top, cell.Rect.Left + cell.Rect.Width,
                              cell.Rect.Top + cell.Rect.Height};
                    SetTextColor(dc, ResolveColor(selected ? kColorHighlightText : textColor_));
                    DrawTextIn(dc, codePage_, cells[static_cast<size_t>(cell.Col)], text,
                               DT_LEFT | DT_VCENTER | DT_SINGLELINE);
                }
            }
            if (drawing_ != CellDrawing::Default)
                events_.OnDrawCell(cell.Col, cell.Row, cell.Rect, selected, canvas);
            int right = cell.Rect.Left + cell.Rect.Width, bottom = cell.Rect.Top + cell.Rect.Height;
            MoveToEx(dc, right, cell.Rect.Top, nullptr);
            LineTo(dc, right, bottom);
            LineTo(dc, cell.Rect.Left - 1, bottom);
        }
    }

    std::string text_;
    CellDrawing drawing_ = CellDrawing::Default;
    std::string picture_;
    bool stretch_ = false;
    BevelKind bevel_ = BevelKind::None;
};

LRESULT CALLBACK PaintedProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* control = static_cast<Win32PaintedControl*>(Win32ChildControl::Of(hwnd)))
        return control->Painted(message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

void RegisterPaintedClass() {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = &PaintedProcedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kPaintedClass;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EPlatformError("Cannot register the control class (error " + std::to_string(GetLastError()) + ")");
}

std::unique_ptr<Win32ChildControl> CreatePaintedControl(const ChildSpec& spec) {
    return std::make_unique<Win32PaintedControl>(spec);
}

} // namespace sw::win32
