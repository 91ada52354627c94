// TRotate3DLabel: a caption drawn at any angle, flat, recessed, raised or
// with a drop shadow, optionally on an opaque rotated box. Its look is a
// TLabelStyle.
#pragma once

#include "controls/Canvas.h"
#include "controls/StdCtrls.h"
#include "visual/Backdrop.h"

#include <functional>

namespace sw {

// Flat, recessed, raised, drop shadow.
enum class T3DEffectShort { A3dNormal, A3dResit, A3dRaised, A3dShadowed };
const TEnumInfo& Effect3DNames();

inline constexpr TColor clGray = 0x808080;

class TLabelStyle : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    // While `owner` loads, the setters only store what they are given.
    explicit TLabelStyle(const TComponent* owner = nullptr) : owner_(owner) {}

    // Degrees, counter-clockwise; a value outside 0..359 is stored as 0.
    int32_t Angle() const { return angle_; }
    void SetAngle(int32_t degrees);
    T3DEffectShort AStyle3D() const { return style_; }
    void SetAStyle3D(T3DEffectShort style);
    // The shade, also the drop shadow's colour.
    TColor AShadeRightBottom() const { return shade_; }
    void SetAShadeRightBottom(TColor color);
    // The highlight; ignored while AShadeLTSet holds it white.
    TColor AShadeLeftTop() const { return highlight_; }
    void SetAShadeLeftTop(TColor color);
    // True forces the highlight to white, keeping the colour it had until
    // it is set to False again.
    bool AShadeLTSet() const { return ltSet_; }
    void SetAShadeLTSet(bool on);
    // The drop shadow's offsets.
    int32_t AHShadeOffSet() const { return hOffset_; }
    void SetAHShadeOffSet(int32_t offset);
    int32_t AVShadeOffSet() const { return vOffset_; }
    void SetAVShadeOffSet(int32_t offset);

    // Copies the seven values, then calls OnChange.
    void Assign(const TLabelStyle& other);
    // After its owner loaded: a highlight read while AShadeLTSet holds it
    // white is kept as the saved colour.
    void Loaded();

    // Called when a change alters the look; the label sets it to its
    // invalidation.
    std::function<void()> OnChange;

  private:
    bool Storing() const { return owner_ && owner_->IsLoading(); }
    void Changed() {
        if (OnChange)
            OnChange();
    }

    const TComponent* owner_;
    int32_t angle_ = 0;
    T3DEffectShort style_ = T3DEffectShort::A3dRaised;
    TColor shade_ = clGray;
    TColor highlight_ = clWhite;
    bool ltSet_ = true;
    int32_t hOffset_ = 5;
    int32_t vOffset_ = -5;
    TColor saved_ = clWhite;
};

class TRotate3DLabel : public TLabel {
    SW_DECLARE_CLASS()
  public:
    explicit TRotate3DLabel(TComponent* owner);
    ~TRotate3DLabel() override;

    TLabelStyle* LabelStyle() const { return style_.get(); }
    // Copies the values of `style`.
    void SetLabelStyle(TLabelStyle* style);
    // False: the caption stands on a box of Color, and is drawn flat.
    bool MyTransparent() const { return myTransparent_; }
    void SetMyTransparent(bool on);
    // -1 marks the main label (see VisualState.h).
    int32_t GetTag() const { return Tag; }
    void SetTag(int32_t tag);
    void SetAlignment(TAlignment a);

    // Copies caption, style, font, Align, position and size, MyTransparent.
    void Assign(const TRotate3DLabel& other);

    // The cosine and sine of the angle at the last paint.
    double Cosine() const { return cos_; }
    double Sine() const { return sin_; }

    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* menu);
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

  protected:
    ControlKind WindowKind() const override { return ControlKind::Painted; }
    void WindowPaint(ICanvas& target) override;
    virtual void Paint();

  private:
    // Draws the caption in the turned font, in `color`, at x,y.
    void DrawCaption(int x, int y, TColor color);

    std::unique_ptr<TLabelStyle> style_;
    TCanvas canvas_;
    bool myTransparent_ = true;
    double cos_ = 1;
    double sin_ = 0;
    TComponent* popupMenu_ = nullptr;
};

} // namespace sw
