#include "controls/Font.h"

#include <cstdlib>

namespace sw {

namespace {
const TEnumInfo& kFontStyles = FontStyleNames();
} // namespace

const TEnumInfo& FontStyleNames() {
    static const TEnumInfo names{{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
    return names;
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0)
        return -1;
    int64_t p = int64_t{a} * b, d = c;
    // |p| / |d| rounded: (2|p| + |d|) / 2|d|.
    int64_t q = (2 * std::llabs(p) + std::llabs(d)) / (2 * std::llabs(d));
    return static_cast<int32_t>((p < 0) != (d < 0) ? -q : q);
}

const TIdentMap& ColorIdents() {
    static const TIdentMap idents{{
        {"clBlack", 0x000000},
        {"clMaroon", 0x000080},
        {"clGreen", 0x008000},
        {"clOlive", 0x008080},
        {"clNavy", 0x800000},
        {"clPurple", 0x800080},
        {"clTeal", 0x808000},
        {"clGray", 0x808080},
        {"clSilver", 0xC0C0C0},
        {"clRed", 0x0000FF},
        {"clLime", 0x00FF00},
        {"clYellow", 0x00FFFF},
        {"clBlue", 0xFF0000},
        {"clFuchsia", 0xFF00FF},
        {"clAqua", 0xFFFF00},
        {"clWhite", 0xFFFFFF},
        {"clScrollBar", static_cast<int32_t>(0x80000000)},
        {"clBackground", static_cast<int32_t>(0x80000001)},
        {"clActiveCaption", static_cast<int32_t>(0x80000002)},
        {"clInactiveCaption", static_cast<int32_t>(0x80000003)},
        {"clMenu", static_cast<int32_t>(0x80000004)},
        {"clWindow", static_cast<int32_t>(0x80000005)},
        {"clWindowFrame", static_cast<int32_t>(0x80000006)},
        {"clMenuText", static_cast<int32_t>(0x80000007)},
        {"clWindowText", static_cast<int32_t>(0x80000008)},
        {"clCaptionText", static_cast<int32_t>(0x80000009)},
        {"clActiveBorder", static_cast<int32_t>(0x8000000A)},
        {"clInactiveBorder", static_cast<int32_t>(0x8000000B)},
        {"clAppWorkSpace", static_cast<int32_t>(0x8000000C)},
        {"clHighlight", static_cast<int32_t>(0x8000000D)},
        {"clHighlightText", static_cast<int32_t>(0x8000000E)},
        {"clBtnFace", static_cast<int32_t>(0x8000000F)},
        {"clBtnShadow", static_cast<int32_t>(0x80000010)},
        {"clGrayText", static_cast<int32_t>(0x80000011)},
        {"clBtnText", static_cast<int32_t>(0x80000012)},
        {"clInactiveCaptionText", static_cast<int32_t>(0x80000013)},
        {"clBtnHighlight", static_cast<int32_t>(0x80000014)},
        {"cl3DDkShadow", static_cast<int32_t>(0x80000015)},
        {"cl3DLight", static_cast<int32_t>(0x80000016)},
        {"clInfoText", static_cast<int32_t>(0x80000017)},
        {"clInfoBk", static_cast<int32_t>(0x80000018)},
        {"clNone", 0x1FFFFFFF},
        {"clDefault", 0x20000000},
    }};
    return idents;
}

const TIdentMap& CharsetIdents() {
    static const TIdentMap idents{{
        {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
        {"MAC_CHARSET", 77},      {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
        {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},   {"CHINESEBIG5_CHARSET", 136},
        {"GREEK_CHARSET", 161},   {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
        {"HEBREW_CHARSET", 177},  {"ARABIC_CHARSET", 178},   {"BALTIC_CHARSET", 186},
        {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},     {"EASTEUROPE_CHARSET", 238},
        {"OEM_CHARSET", 255},
    }};
    return idents;
}

SW_CLASS_INFO(TFont, TPersistent,
              prop::Integer("Charset", &Self::Charset, &Self::SetCharset, kDefaultCharset, &CharsetIdents()),
              prop::Integer("Color", &Self::Color, &Self::SetColor, clWindowText, &ColorIdents()),
              prop::Integer("Height", &Self::Height, &Self::SetHeight, std::nullopt),
              prop::String("Name", &Self::Name, &Self::SetName, std::string(kDefaultFontName)),
              prop::WithStored(prop::Integer("Size", &Self::Size, &Self::SetSize, std::nullopt),
                               [](const TPersistent&) { return false; }),
              prop::Set("Style", &Self::Style, &Self::SetStyle, kFontStyles, 0u))

void TFont::Changed() {
    if (OnChange)
        OnChange();
}

void TFont::SetName(const std::string& name) {
    name_ = name;
    Changed();
}

void TFont::SetHeight(int32_t height) {
    height_ = height;
    Changed();
}

int32_t TFont::Size() const { return -MulDiv(height_, 72, kPixelsPerInch); }

void TFont::SetSize(int32_t points) { SetHeight(-MulDiv(points, kPixelsPerInch, 72)); }

void TFont::SetCharset(int32_t charset) {
    charset_ = charset & 0xFF;
    Changed();
}

void TFont::SetColor(TColor color) {
    color_ = color;
    Changed();
}

void TFont::SetStyle(uint32_t style) {
    style_ = style & 0xF;
    Changed();
}

void TFont::Assign(const TFont& other) {
    name_ = other.name_;
    height_ = other.height_;
    charset_ = other.charset_;
    color_ = other.color_;
    style_ = other.style_;
    escapement_ = other.escapement_;
    trueTypeOnly_ = other.trueTypeOnly_;
    Changed();
}

bool TFont::operator==(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && charset_ == o.charset_ && color_ == o.color_ &&
           style_ == o.style_ && escapement_ == o.escapement_ && trueTypeOnly_ == o.trueTypeOnly_;
}

FontSpec TFont::Spec() const {
    FontSpec spec;
    spec.Face = name_;
    spec.Size = Size();
    spec.Bold = (style_ & (1u << fsBold)) != 0;
    spec.Italic = (style_ & (1u << fsItalic)) != 0;
    spec.Underline = (style_ & (1u << fsUnderline)) != 0;
    spec.Charset = charset_;
    spec.Escapement = escapement_;
    spec.TrueTypeOnly = trueTypeOnly_;
    return spec;
}

void TFont::SetEscapement(int32_t tenths) {
    if (tenths == escapement_)
        return;
    escapement_ = tenths;
    Changed();
}

void TFont::SetTrueTypeOnly(bool on) {
    if (on == trueTypeOnly_)
        return;
    trueTypeOnly_ = on;
    Changed();
}

} // namespace sw
