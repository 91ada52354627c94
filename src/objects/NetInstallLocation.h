// The download location of a net install. Only its identity exists so far:
// install objects and the driver refer to it, and the program-wide location
// follows the driver's.
#pragma once

#include "project/Component.h"

namespace sw {

class TCustomNetInstallLocation : public TComponent {
    SW_DECLARE_CLASS()
  public:
    using TComponent::TComponent;
    ~TCustomNetInstallLocation() override;
};

// The program-wide net location; none until the driver names one.
TCustomNetInstallLocation* GlobalNetLocation();
void SetGlobalNetLocation(TCustomNetInstallLocation* location);

} // namespace sw
