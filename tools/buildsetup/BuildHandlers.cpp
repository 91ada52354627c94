// The build reads the author's project without the author's handlers: the
// events it names keep their names and do nothing here.
#include "app/MainForm.h"

namespace sw {

void BindProjectHandlers(TForm1& form) { form.AcceptUnboundMethods(); }

} // namespace sw
