// Fonts and colours as forms describe them: TFont with its published
// properties, and the names that colours and character sets go by in a stream.
#pragma once

#include "platform/Gui.h"
#include "project/Persistent.h"

#include <cstdint>
#include <functional>
#include <string>

namespace sw {

using TColor = int32_t;

// a × b / c with a 64-bit product, rounded to the nearest, halves away from
// zero; -1 when c is 0 (as Windows' MulDiv).
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBtnFace = static_cast<TColor>(kColorBtnFace);
inline constexpr TColor clWindow = static_cast<TColor>(kColorWindow);
inline constexpr TColor clWindowText = static_cast<TColor>(kColorWindowText);
inline constexpr TColor clHighlight = static_cast<TColor>(kColorHighlight);
inline constexpr TColor clHighlightText = static_cast<TColor>(kColorHighlightText);
inline constexpr TColor clNone = 0x1FFFFFFF;

// clBlack ... clWhite, clScrollBar ... clInfoBk, clNone, clDefault.
const TIdentMap& ColorIdents();
// ANSI_CHARSET ... OEM_CHARSET.
const TIdentMap& CharsetIdents();

inline constexpr int32_t kDefaultCharset = 1; // DEFAULT_CHARSET
inline constexpr const char* kDefaultFontName = "MS Sans Serif";

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
const TEnumInfo& FontStyleNames();

class TFont : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    // Screen resolution that converts between Size (points) and Height (pixels).
    static constexpr int kPixelsPerInch = 96;

    std::string Name() const { return name_; }
    void SetName(const std::string& name);
    // Negative: the character height in pixels; positive: the cell height.
    int32_t Height() const { return height_; }
    void SetHeight(int32_t height);
    int32_t Size() const;
    void SetSize(int32_t points);
    int32_t Charset() const { return charset_; }
    void SetCharset(int32_t charset);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // Bits of TFontStyle.
    uint32_t Style() const { return style_; }
    void SetStyle(uint32_t style);
    // The angle text is drawn at, counter-clockwise in tenths of a degree (not
    // kept in streams: a program turns a font to draw with it).
    int32_t Escapement() const { return escapement_; }
    void SetEscapement(int32_t tenths);
    // Chosen among TrueType fonts only (not kept in streams either).
    bool TrueTypeOnly() const { return trueTypeOnly_; }
    void SetTrueTypeOnly(bool on);

    void Assign(const TFont& other);
    bool operator==(const TFont& other) const;
    FontSpec Spec() const;

    // Called after every change.
    std::function<void()> OnChange;

  private:
    void Changed();

    std::string name_ = kDefaultFontName;
    int32_t height_ = -11;
    int32_t charset_ = kDefaultCharset;
    TColor color_ = clWindowText;
    uint32_t style_ = 0;
    int32_t escapement_ = 0;
    bool trueTypeOnly_ = false;
};

} // namespace sw
