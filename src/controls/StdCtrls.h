// Labels and buttons.
#pragma once

#include "controls/Control.h"
#include "controls/Graphics.h"

namespace sw {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

// A caption drawn on its parent. With AutoSize it takes the size of its text
// (with WordWrap only its height follows, lines broken at its width).
class TLabel : public TControl {
    SW_DECLARE_CLASS()
  public:
    explicit TLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    bool Transparent = false;
    bool ShowAccelChar = true;
    TTextLayout Layout = TTextLayout::tlTop;
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* c) { focusControl_ = c; }

    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

  protected:
    ControlKind WindowKind() const override { return ControlKind::Static; }
    void ApplyTo(IControl& window) override;
    void TextChanged() override { AdjustSize(); }
    void FontChanged() override;

  private:
    // Sizes the label to its text when AutoSize is on.
    void AdjustSize();

    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    TWinControl* focusControl_ = nullptr;
};

inline constexpr int32_t mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                         mrNo = 7, mrAll = 8;

// A push button. Pressing it runs OnClick and hands its ModalResult to its form.
class TButton : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TButton(TComponent* owner);

    bool Default = false;
    bool Cancel = false;
    int32_t ModalResult = mrNone;

    void Click() override;

  protected:
    ControlKind WindowKind() const override { return ControlKind::Button; }
    void ApplyTo(IControl& window) override;
};

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// A push button with a picture beside its caption (its window draws the
// glyph left of the caption, the glyph's lower left colour transparent). A
// Kind other than bkCustom gives the button the modal result, default and
// cancel roles of that kind.
class TBitBtn : public TButton {
    SW_DECLARE_CLASS()
  public:
    explicit TBitBtn(TComponent* owner);

    TBitmap* Glyph() const { return glyph_.get(); }
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind kind);
    TButtonLayout Layout = TButtonLayout::blGlyphLeft;
    int32_t Margin = -1;
    int32_t Spacing = 4;
    int32_t NumGlyphs = 1;

  protected:
    void ApplyTo(IControl& window) override;

  private:
    std::unique_ptr<TBitmap> glyph_;
    TBitBtnKind kind_ = TBitBtnKind::bkCustom;
};

} // namespace sw
