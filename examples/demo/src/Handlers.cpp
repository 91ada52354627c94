// The demo's handlers: Cancel asks the user to confirm.
#include "app/MainForm.h"

namespace sw {

void BindProjectHandlers(TForm1& form) { AddConfirmAbort(form); }

} // namespace sw
