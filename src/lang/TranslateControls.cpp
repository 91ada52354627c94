#include "lang/TranslateControls.h"

namespace sw {

// GLID is written even when 0.
SW_CLASS_INFO(TTranslateLabel, TLabel, prop::Integer<TTranslateLabel>("GLID", &Self::GLID, std::nullopt))
SW_CLASS_INFO(TTranslateBitBtn, TBitBtn, prop::Integer<TTranslateBitBtn>("GLID", &Self::GLID, std::nullopt))

int32_t GlidOf(const TComponent& component) {
    if (const auto* label = dynamic_cast<const TTranslateLabel*>(&component))
        return label->GLID;
    if (const auto* button = dynamic_cast<const TTranslateBitBtn*>(&component))
        return button->GLID;
    return 0;
}

} // namespace sw
