// The restart test's handlers. The first run takes French, as a user would on
// the language page, and puts the restart off, as a user would on the reboot
// page (the test restarts Wine afterwards); the good end records the language
// it ends in, so that the test sees the saved language restored in the run
// after the restart. The notes file is skipped by its handler, so that the
// user's own notes of that name must survive the uninstall.
#include "app/MainForm.h"
#include "engine/CustomInstall.h"
#include "lang/Translator.h"
#include "objects/InstallFile.h"
#include "project/Errors.h"
#include "system/RegistryHelpers.h"

#include <string>

namespace sw {

namespace {
constexpr const char* kResultKey = "\\Software\\Setwright Tests\\Restart Test";
} // namespace

void BindProjectHandlers(TForm1& form) {
    form.AddMethod<TPersistent*>("ChooseFrench", [](TPersistent*) {
        if (TTranslator* translator = GlobalTranslator())
            translator->SetTranslateIntoLanguage(plFrench);
    });
    form.AddMethod<TCustomInstallFile*>("SkipNotes", [](TCustomInstallFile*) { throw EAbort(); });
    form.AddMethod<TCustomInstall*, bool&>("RestartLater", [](TCustomInstall*, bool& restart) { restart = false; });
    form.AddMethod<TPersistent*>("RecordGoodEnd", [](TPersistent*) {
        const TTranslator* translator = GlobalTranslator();
        WriteRegString(RegistryRoot::LocalMachine, kResultKey, "GoodEndLanguage",
                       translator ? std::to_string(static_cast<int>(translator->TranslateIntoLanguage())) : "none");
    });
}

} // namespace sw
