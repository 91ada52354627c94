// The progress test's handlers: Cancel asks the user to confirm, as an
// install author's OnUserAbort would; and each progress step of the install
// takes a few milliseconds more, as on a slow disk, so that the window shows
// for seconds with a product small enough to build quickly.
#include "app/MainForm.h"
#include "engine/CustomInstall.h"
#include "objects/InstallFile.h"
#include "platform/Gui.h"
#include "platform/Platform.h"

#include <windows.h>
// windows.h names MessageBoxA so; the platform's MessageBox is meant.
#undef MessageBox

namespace sw {

void BindProjectHandlers(TForm1& form) {
    form.AddMethod<TCustomInstall*, bool&>("ConfirmAbort", [](TCustomInstall*, bool& quit) {
        quit = GetPlatform().Gui->MessageBox("Do you want to cancel the installation?", "Progress Test Setup",
                                             mb::YesNo | mb::IconQuestion) == id::Yes;
    });
    form.AddMethod<TCustomInstallFile*, int32_t, int32_t>("SlowDisk",
                                                          [](TCustomInstallFile*, int32_t, int32_t) { Sleep(8); });
}

} // namespace sw
