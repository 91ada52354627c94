#include "support/EngineFixture.h"

#include "project/ClassRegistry.h"
#include "support/ProgramStateForTests.h"

namespace sw::test {

SW_CLASS_INFO(TTestForm, TForm)

std::any TTestForm::FindMethod(std::string_view name) const {
    if (name == "FormActivate")
        return TNotifyEvent::Handler([this](TPersistent* sender) {
            ++Activations;
            LastSender = sender;
        });
    return {};
}

void EngineFixture::SetUp() {
    platform_ = std::make_unique<ScopedPlatform>(fake_.Get());
    RegisterClass<TForm>();
    RegisterClass<TDataModule>();
    RegisterClass<TTestForm>();
    RegisterInstallerClasses();
    fake_.Resources().Add(ResourceType::Bitmap, "INSTALLTHEME1", ThemeBitmapResource());
    fake_.Files().ForceDirectories("C:\\SETUP");
    fake_.Files().PutFile("C:\\SETUP\\SETUP.EXE", std::string(1000, 'x'));
}

void EngineFixture::TearDown() {
    FreeRoots();
    EXPECT_EQ(InstallDriver(), nullptr) << "a driver outlived its form";
    RenewProgramState();
    platform_.reset();
}

void EngineFixture::FreeRoots() { roots_.FreeAll(); }

void EngineFixture::SetArguments(const std::string& arguments) {
    fake_.System().SetCommandLine("C:\\SETUP\\SETUP.EXE " + arguments);
}

TComponent* EngineFixture::Load(std::string_view text) { return roots_.Load(text, "test.txt"); }

TTestForm* EngineFixture::NewForm() { return roots_.Adopt(new TTestForm(nullptr)); }

} // namespace sw::test
