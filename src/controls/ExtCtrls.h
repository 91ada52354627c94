// Panels, bevels and images: windows that paint themselves.
#pragma once

#include "controls/Control.h"
#include "controls/Graphics.h"

namespace sw {

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
enum class TBorderStyle { bsNone, bsSingle };
const TEnumInfo& BorderStyleNames();

// A bevelled area that holds controls; its caption is centred unless Alignment
// says otherwise. Aligned children share the area inside border and bevels.
class TPanel : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TPanel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel b);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel b);
    int32_t BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int32_t w);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);
    int32_t BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int32_t w);
    bool Locked = false;

    Bounds AlignRect() const override;

  protected:
    ControlKind WindowKind() const override { return ControlKind::Panel; }
    void ApplyTo(IControl& window) override;

  private:
    void BevelChanged();

    TAlignment alignment_ = TAlignment::taCenter;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    int32_t bevelWidth_ = 1;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
    int32_t borderWidth_ = 0;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };

// A box, frame or line drawn on its parent (the separating line of a button bar).
class TBevel : public TControl {
    SW_DECLARE_CLASS()
  public:
    explicit TBevel(TComponent* owner);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape s);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle s);

  protected:
    ControlKind WindowKind() const override { return ControlKind::Panel; }
    void ApplyTo(IControl& window) override;

  private:
    BevelKind Kind() const;

    TBevelShape shape_ = TBevelShape::bsBox;
    TBevelStyle style_ = TBevelStyle::bsLowered;
};

// A picture. After changing Picture() in place, call PictureChanged.
class TImage : public TControl {
    SW_DECLARE_CLASS()
  public:
    explicit TImage(TComponent* owner);

    TPicture* Picture() const { return picture_.get(); }
    void PictureChanged();
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    bool Center = false;
    bool AutoSize = false;
    bool Transparent = false;

    void Loaded() override;

  protected:
    ControlKind WindowKind() const override { return ControlKind::Image; }
    void ApplyTo(IControl& window) override;

  private:
    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
};

} // namespace sw
