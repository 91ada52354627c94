// The progress test's handler: Cancel asks the user to confirm, as an
// install author's OnUserAbort would.
#include "app/MainForm.h"
#include "engine/CustomInstall.h"
#include "platform/Gui.h"
#include "platform/Platform.h"

namespace sw {

void BindProjectHandlers(TForm1& form) {
    form.AddMethod<TCustomInstall*, bool&>("ConfirmAbort", [](TCustomInstall*, bool& quit) {
        quit = GetPlatform().Gui->MessageBox("Do you want to cancel the installation?", "Progress Test Setup",
                                             mb::YesNo | mb::IconQuestion) == id::Yes;
    });
}

} // namespace sw
