// Bytes → live components: the component reader over every registered class
// of the engine and the control set, with a fake platform; a form is shown. Whatever the bytes, the read either
// succeeds or raises one of the program's own errors, and leaves nothing behind.
#include "controls/Controls.h"
#include "controls/Forms.h"
#include "engine/Install.h"
#include "platform/fake/FakePlatform.h"
#include "project/ProgramState.h"
#include "project/Reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// A 2 x 2, 16-colour BITMAP resource: info header, palette, pixels.
std::vector<uint8_t> ThemeBitmap() {
    std::vector<uint8_t> dib(40 + 64 + 8, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            dib[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, 2);
    put32(8, 2);
    dib[12] = 1;
    dib[14] = 4;
    put32(20, 8);
    put32(32, 16);
    return dib;
}

sw::fake::FakePlatform& Fake() {
    static sw::fake::FakePlatform* fake = [] {
        auto* f = new sw::fake::FakePlatform;
        f->Resources().Add(sw::ResourceType::Bitmap, "INSTALLTHEME1", ThemeBitmap());
        sw::SetPlatform(f->Get());
        return f;
    }();
    return *fake;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fake();
    // Each input starts from a fresh program.
    sw::TProgramState state;
    sw::CreateProgramWideObjects(state);
    sw::RegisterControlClasses();
    sw::RegisterInstallerClasses();
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        sw::TOwned<sw::TComponent> root(sw::ReadComponentStream(bytes, nullptr));
        // A form read is also shown: its controls are laid out and realized headless.
        if (auto* form = dynamic_cast<sw::TCustomForm*>(root.get()))
            form->Show();
    } catch (const sw::Exception&) {
    }
    if (sw::InstallDriver() != nullptr)
        std::abort(); // a driver outlived its form
    return 0;
}
