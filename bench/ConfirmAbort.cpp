// The corpus project's handlers: Cancel in the progress window asks the user to
// confirm (OnUserAbort = ConfirmAbort), as the demo's does.
#include "app/MainForm.h"

namespace sw {

void BindProjectHandlers(TForm1& form) { AddConfirmAbort(form); }

} // namespace sw
