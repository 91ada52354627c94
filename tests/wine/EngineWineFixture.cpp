#include "EngineWineFixture.h"

#include "controls/Forms.h"
#include "project/ClassRegistry.h"
#include "project/Reader.h"
#include "project/StreamRecord.h"
#include "project/TextForm.h"

namespace sw::test {

namespace {

// A 117 x 290, 16-colour BITMAP resource: the test program carries none.
std::vector<uint8_t> ThemeBitmap() {
    constexpr uint32_t width = 117, height = 290, rowBytes = 60;
    std::vector<uint8_t> dib;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            dib.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put32(40), put32(width), put32(height);
    dib.insert(dib.end(), {1, 0, 4, 0});
    put32(0), put32(rowBytes * height), put32(0), put32(0), put32(16), put32(0);
    for (uint32_t i = 0; i < 16; ++i)
        put32(i * 0x00111111u);
    dib.resize(dib.size() + rowBytes * height, 0);
    return dib;
}

} // namespace

void EngineWineTest::SetUp() {
    Platform p = real_.Get();
    p.System = &system_;
    p.Gui = &gui_;
    resources_.Add(ResourceType::Bitmap, "INSTALLTHEME1", ThemeBitmap());
    p.Resources = &resources_;
    platform_ = std::make_unique<ScopedPlatform>(p);
    RegisterClass<TForm>();
    RegisterClass<TDataModule>();
    RegisterInstallerClasses();
}

void EngineWineTest::TearDown() {
    Application().Reset();
    FreeRoots();
    ResetEngineGlobals();
    UnregisterAllClasses();
    platform_.reset();
}

void EngineWineTest::FreeRoots() {
    for (auto it = roots_.rbegin(); it != roots_.rend(); ++it)
        TComponent::Free(*it);
    roots_.clear();
}

TComponent* EngineWineTest::Load(std::string_view text) {
    TComponent* root = ReadComponentStream(WriteStreamRecords(TextToRecords(text, "wine.txt")), nullptr);
    roots_.push_back(root);
    return root;
}

TInstall* EngineWineTest::LoadDriver(std::vector<std::string> arguments) {
    system_.Set(std::move(arguments));
    return static_cast<TInstall*>(Load(kWineForm)->FindComponent("Install1"));
}

} // namespace sw::test
