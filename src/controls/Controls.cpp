#include "controls/Controls.h"

#include "controls/Forms.h"
#include "controls/StdCtrls.h"
#include "project/ClassRegistry.h"

namespace sw {

void RegisterControlClasses() {
    RegisterClass<TForm>();
    RegisterClass<TDataModule>();
    RegisterClass<TLabel>();
    RegisterClass<TButton>();
    RegisterClass<TBitBtn>();
}

} // namespace sw
