#include "platform/win32/Win32Bitmaps.h"

#include "platform/BmpFile.h"
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
    HIMAGELIST list =
        ImageList_Create(spec.Width, spec.Height, ILC_COLOR24 | ILC_MASK, static_cast<int>(spec.Strips.size()), 4);
    if (!list)
        return nullptr;
    for (const auto& strip : spec.Strips) {
        HBITMAP bitmap = BitmapFromBmp(strip.Bmp);
        if (!bitmap)
            continue;
        if (strip.Mask)
            ImageList_AddMasked(list, bitmap, ResolveColor(*strip.Mask));
        else
            ImageList_Add(list, bitmap, nullptr);
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

void Win32Canvas::TextOut(int x, int y, const std::string& text, const FontSpec& font, ColorRef color) {
    HFONT handle = CreateFontFor(font);
    HGDIOBJ old = SelectObject(dc_, handle);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, ResolveColor(color));
    TextOutA(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc_, old);
    DeleteObject(handle);
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
    ImageList_Draw(list, 0, dc_, x, y, mask ? ILD_TRANSPARENT : ILD_NORMAL);
    ImageList_Destroy(list);
}

} // namespace sw::win32
