#include "visual/RegisterVisual.h"

#include "project/ClassRegistry.h"
#include "visual/Backdrop.h"
#include "visual/Rotate3DLabel.h"

namespace sw {

void RegisterVisualClasses() {
    RegisterClass<TBackdrop>();
    RegisterClass<TRotate3DLabel>();
}

} // namespace sw
