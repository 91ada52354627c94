#include "app/MainForm.h"

#include "controls/Forms.h"
#include "engine/CustomInstall.h"
#include "platform/Gui.h"
#include "platform/Platform.h"
#include "project/Text.h"

namespace sw {

SW_CLASS_INFO(TForm1, TForm)

std::any TForm1::FindMethod(std::string_view name) const {
    auto it = methods_.find(UpperCase(name));
    if (it != methods_.end())
        return it->second;
    return acceptUnbound_ ? std::any(TUnboundMethod{}) : std::any();
}

void AddConfirmAbort(TForm1& form) {
    form.AddMethod<TCustomInstall*, bool&>("ConfirmAbort", [](TCustomInstall*, bool& quit) {
        quit = GetPlatform().Gui->MessageBox("Do you want to cancel the installation?", Application().Title(),
                                             mb::YesNo | mb::IconQuestion) == id::Yes;
    });
}

} // namespace sw
