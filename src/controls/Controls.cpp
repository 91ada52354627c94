#include "controls/Controls.h"

#include "controls/Forms.h"
#include "project/ClassRegistry.h"

namespace sw {

void RegisterControlClasses() {
    RegisterClass<TForm>();
    RegisterClass<TDataModule>();
}

} // namespace sw
