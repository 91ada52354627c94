#include "platform/win32/Win32Bitmaps.h"

#include "platform/BmpFile.h"
#include "platform/win32/Win32CodePages.h"
#include "platform/win32/Win32CommonControls.h"
#include "platform/win32/Win32Control.h"

#include <cstring>

namespace sw::win32 {

namespace {

constexpr size_t kFileHeader = 14;

// Where the pixels of a BMP file start, once they are known to lie inside it.
const char* CheckedPixels(const std::string& bmp) {
    if (!BmpDimensions(bmp))
        return nullptr;
    BITMAPINFOHEADER header;
    std::memcpy(&header, bmp.data() + kFileHeader, sizeof header);
    uint32_t offBits;
    std::memcpy(&offBits, bmp.data() + 10, 4);
    if (header.biSize < sizeof header || header.biSize > bmp.size() - kFileHeader || offBits >= bmp.size())
        return nullptr;
    uint64_t available = bmp.size() - offBits;
    uint64_t needed = header.biSizeImage;
    if (header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS) {
        uint64_t stride = (uint64_t{static_cast<uint32_t>(header.biWidth)} * header.biBitCount + 31) / 32 * 4;
        int64_t height = header.biHeight < 0 ? -int64_t{header.biHeight} : header.biHeight;
        needed = stride * static_cast<uint64_t>(height);
    }
    if (needed == 0 || needed > available)
        return nullptr;
    return bmp.data() + offBits;
}

struct ScreenDc {
    ScreenDc() : dc(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc); }
    HDC dc;
};

} // namespace

COLORREF ResolveColor(ColorRef c) { return (c & 0x80000000) ? GetSysColor(static_cast<int>(c & 0xFF)) : c & 0xFFFFFF; }

ColorRef Win32Canvas::Resolve(ColorRef color) { return ResolveColor(color); }

HBITMAP BitmapFromBmp(const std::string& bmp) {
    const char* pixels = CheckedPixels(bmp);
    if (!pixels)
        return nullptr;
    auto* info = reinterpret_cast<const BITMAPINFO*>(bmp.data() + kFileHeader);
    ScreenDc screen;
    return CreateDIBitmap(screen.dc, &info->bmiHeader, CBM_INIT, pixels, info, DIB_RGB_COLORS);
}

HIMAGELIST CreateImageList(const ImageListSpec& spec) {
    if (spec.Strips.empty() || spec.Width <= 0 || spec.Height <= 0)
        return nullptr;
    HIMAGELIST list = CommonControls().ImageListCreate(spec.Width, spec.Height, ILC_COLOR24 | ILC_MASK,
                                                       static_cast<int>(spec.Strips.size()), 4);
    if (!list)
        return nullptr;
    for (const auto& strip : spec.Strips) {
        HBITMAP bitmap = BitmapFromBmp(strip.Bmp);
        if (!bitmap)
            continue;
        if (strip.Mask)
            CommonControls().ImageListAddMasked(list, bitmap, ResolveColor(*strip.Mask));
        else
            CommonControls().ImageListAdd(list, bitmap, nullptr);
        DeleteObject(bitmap);
    }
    return list;
}

void Win32Canvas::FillRect(const Bounds& rect, ColorRef color) {
    RECT r{rect.Left, rect.Top, rect.Left + rect.Width, rect.Top + rect.Height};
    HBRUSH brush = CreateSolidBrush(ResolveColor(color));
    ::FillRect(dc_, &r, brush);
    DeleteObject(brush);
}

void Win32Canvas::TextOut(int x, int y, const std::string& text, const FontSpec& font, ColorRef color,
                          std::optional<ColorRef> background) {
    HFONT handle = CreateFontFor(font);
    HGDIOBJ old = SelectObject(dc_, handle);
    SetBkMode(dc_, background ? OPAQUE : TRANSPARENT);
    if (background)
        SetBkColor(dc_, ResolveColor(*background));
    SetTextColor(dc_, ResolveColor(color));
    TextOutIn(dc_, CharsetCodePage(font.Charset), x, y, text);
    SetBkMode(dc_, TRANSPARENT);
    SelectObject(dc_, old);
    DeleteObject(handle);
}

Bounds Win32Canvas::TextExtent(const std::string& text, const FontSpec& font) {
    FontSpec upright = font;
    upright.Escapement = 0;
    HFONT handle = CreateFontFor(upright);
    HGDIOBJ old = SelectObject(dc_, handle);
    SIZE size = TextExtentIn(dc_, CharsetCodePage(font.Charset), text);
    SelectObject(dc_, old);
    DeleteObject(handle);
    return {0, 0, size.cx, size.cy};
}

// Through a list of one image: comctl32 draws masked pictures on every
// Windows version.
void Win32Canvas::Draw(int x, int y, const std::string& bmp, std::optional<ColorRef> mask) {
    std::optional<BmpSize> size = BmpDimensions(bmp);
    if (!size || size->Width == 0 || size->Height == 0)
        return;
    HIMAGELIST list = CreateImageList({size->Width, size->Height, {{bmp, mask}}});
    if (!list)
        return;
    CommonControls().ImageListDraw(list, 0, dc_, x, y, mask ? ILD_TRANSPARENT : ILD_NORMAL);
    CommonControls().ImageListDestroy(list);
}

Win32Canvas::~Win32Canvas() {
    if (pen_) {
        SelectObject(dc_, oldPen_);
        DeleteObject(pen_);
    }
}

void Win32Canvas::SetPen(const PenSpec& pen) {
    penSpec_ = pen;
    UsePen();
}

// The pen last set (penSpec_), made the first time a line needs it.
void Win32Canvas::UsePen() {
    HPEN made = CreatePen(PS_SOLID, penSpec_.Width, ResolveColor(penSpec_.Color));
    HGDIOBJ old = SelectObject(dc_, made);
    if (pen_)
        DeleteObject(pen_);
    else
        oldPen_ = old;
    pen_ = made;
}

void Win32Canvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void Win32Canvas::LineTo(int x, int y) {
    if (!pen_)
        UsePen();
    ::LineTo(dc_, x, y);
}

Win32Canvas::Fill::Fill(HDC dc, std::optional<ColorRef> color)
    : dc_(dc), brush_(color ? CreateSolidBrush(ResolveColor(*color)) : nullptr),
      old_(SelectObject(dc, brush_ ? static_cast<HGDIOBJ>(brush_) : GetStockObject(NULL_BRUSH))) {}

Win32Canvas::Fill::~Fill() {
    SelectObject(dc_, old_);
    if (brush_)
        DeleteObject(brush_);
}

void Win32Canvas::Rectangle(const Bounds& rect, std::optional<ColorRef> fill) {
    if (!pen_)
        UsePen();
    Fill brush(dc_, fill);
    ::Rectangle(dc_, rect.Left, rect.Top, rect.Left + rect.Width, rect.Top + rect.Height);
}

void Win32Canvas::Polygon(const std::vector<Point>& points, std::optional<ColorRef> fill) {
    if (points.empty())
        return;
    if (!pen_)
        UsePen();
    std::vector<POINT> corners;
    for (const Point& p : points)
        corners.push_back({p.X, p.Y});
    Fill brush(dc_, fill);
    ::Polygon(dc_, corners.data(), static_cast<int>(corners.size()));
}

} // namespace sw::win32
