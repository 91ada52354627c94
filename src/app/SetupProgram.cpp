#include "app/SetupProgram.h"

#include "app/MainForm.h"
#include "controls/Controls.h"
#include "dialogs/RegisterDialogs.h"
#include "engine/Install.h"
#include "engine/SetupExit.h"
#include "lang/Translator.h"
#include "platform/PhaseProfile.h"
#include "platform/Platform.h"
#include "platform/Resources.h"
#include "project/ClassRegistry.h"
#include "project/ProgramState.h"
#include "project/Reader.h"
#include "project/Text.h"
#include "system/ProgramResources.h"
#include "visual/RegisterVisual.h"

namespace sw {

namespace {

const TObjectRecord* FindInstallRecord(const TObjectRecord& rec) {
    if (SameText(rec.ClassName, "TInstall"))
        return &rec;
    for (const auto& child : rec.Children)
        if (const TObjectRecord* found = FindInstallRecord(child))
            return found;
    return nullptr;
}

} // namespace

std::string ProjectTitle(const TObjectRecord& project) {
    std::string product = "My product";
    if (const TObjectRecord* install = FindInstallRecord(project))
        for (const auto& p : install->Properties)
            if (SameText(p.Path, "Information.ProductName"))
                if (std::optional<std::string> text = StringValue(p.Value))
                    product = *text;
    return product + " Installation";
}

void RegisterAllClasses() {
    RegisterControlClasses();
    RegisterInstallerClasses();
    RegisterLanguageClasses();
    RegisterDialogClasses();
    RegisterVisualClasses();
    RegisterClass<TForm1>();
}

int RunSetupProgram() {
    IGui& gui = *GetPlatform().Gui;
    CreateProgramWideObjects(CurrentProgramState());
    try {
        RegisterAllClasses();
        MarkPhase("setup: read the project");
        std::string stream = LoadResourceBytes(ResourceType::RCData, "TFORM1");
        try {
            Application().SetTitle(ProjectTitle(ReadStreamRecords(stream)));
        } catch (const EStreamError&) {
            Application().SetTitle(ProjectTitle({})); // the reader below reports the fault
        }

        auto* form = new TForm1(nullptr);
        Application().Adopt(form);
        BindProjectHandlers(*form);
        ReadComponentStream(stream, form);
        MarkPhase("setup: create the dialogs");
        CreateDialogInstances();
    } catch (const std::exception& e) {
        gui.MessageBox(e.what(), gui.Title(), mb::Ok | mb::IconError);
        return static_cast<int>(TSetupExit::NotStarted);
    }
    MarkPhase("setup: run");
    Application().Run();
    return static_cast<int>(SetupExitCode());
}

} // namespace sw
