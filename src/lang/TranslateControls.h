// The label and the glyph button that carry a string id (GLID): a GLID
// greater than 0 takes the caption from the target table by id; any GLID
// other than 0 keeps the control from being translated by wording. The
// translator recognises them; they add no behaviour of their own.
#pragma once

#include "controls/StdCtrls.h"

#include <cstdint>

namespace sw {

class TTranslateLabel : public TLabel {
    SW_DECLARE_CLASS()
  public:
    using TLabel::TLabel;
    int32_t GLID = 0;
};

class TTranslateBitBtn : public TBitBtn {
    SW_DECLARE_CLASS()
  public:
    using TBitBtn::TBitBtn;
    int32_t GLID = 0;
};

// The GLID of a translated label or button; 0 for every other component.
int32_t GlidOf(const TComponent& component);

} // namespace sw
