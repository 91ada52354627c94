// The progress test's handlers: Cancel asks the user to confirm, as an
// install author's OnUserAbort would; and each progress step of the install
// takes a few milliseconds more, as on a slow disk, so that the window shows
// for seconds with a product small enough to build quickly.
#include "app/MainForm.h"
#include "objects/InstallFile.h"

#include <windows.h>

namespace sw {

void BindProjectHandlers(TForm1& form) {
    AddConfirmAbort(form);
    form.AddMethod<TCustomInstallFile*, int32_t, int32_t>("SlowDisk",
                                                          [](TCustomInstallFile*, int32_t, int32_t) { Sleep(8); });
}

} // namespace sw
