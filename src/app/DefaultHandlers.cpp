// A project without C++ handlers of its own.
#include "app/MainForm.h"

namespace sw {

void BindProjectHandlers(TForm1&) {}

} // namespace sw
