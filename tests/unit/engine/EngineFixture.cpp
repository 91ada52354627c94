#include "EngineFixture.h"

#include "project/ClassRegistry.h"
#include "project/Reader.h"
#include "project/StreamRecord.h"
#include "project/TextForm.h"

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

std::vector<uint8_t> ThemeBitmapResource() {
    constexpr uint32_t width = 117, height = 290, colours = 16;
    constexpr uint32_t rowBytes = ((width * 4 + 31) / 32) * 4;
    std::vector<uint8_t> dib;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            dib.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put32(40);
    put32(width);
    put32(height);
    dib.push_back(1), dib.push_back(0); // planes
    dib.push_back(4), dib.push_back(0); // bits per pixel
    put32(0);                           // no compression
    put32(rowBytes * height);
    put32(0), put32(0);
    put32(colours), put32(0);
    for (uint32_t i = 0; i < colours; ++i)
        put32(i * 0x00111111u);
    dib.resize(dib.size() + rowBytes * height, 0x12);
    return dib;
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
    Application().Reset();
    FreeRoots();
    EXPECT_EQ(InstallDriver(), nullptr) << "a driver outlived its form";
    ResetEngineGlobals();
    UnregisterAllClasses();
    platform_.reset();
}

void EngineFixture::FreeRoots() {
    for (auto it = roots_.rbegin(); it != roots_.rend(); ++it)
        TComponent::Free(*it);
    roots_.clear();
}

void EngineFixture::SetArguments(const std::string& arguments) {
    fake_.System().SetCommandLine("C:\\SETUP\\SETUP.EXE " + arguments);
}

TComponent* EngineFixture::Load(std::string_view text) {
    TComponent* root = ReadComponentStream(WriteStreamRecords(TextToRecords(text, "test.txt")), nullptr);
    roots_.push_back(root);
    return root;
}

TTestForm* EngineFixture::NewForm() {
    auto* form = new TTestForm(nullptr);
    roots_.push_back(form);
    return form;
}

} // namespace sw::test
