#include "EngineWineFixture.h"

#include "controls/Forms.h"
#include "platform/FileSystem.h"
#include "project/ClassRegistry.h"
#include "support/ProgramStateForTests.h"

namespace sw::test {

void EngineWineTest::SetUp() {
    Platform p = real_.Get();
    p.System = &system_;
    p.Gui = &gui_;
    resources_.Add(ResourceType::Bitmap, "INSTALLTHEME1", ThemeBitmapResource());
    p.Resources = &resources_;
    platform_ = std::make_unique<ScopedPlatform>(p);
    RegisterClass<TForm>();
    RegisterClass<TDataModule>();
    RegisterInstallerClasses();
}

void EngineWineTest::TearDown() {
    FreeRoots();
    RenewProgramState();
    platform_.reset();
}

void EngineWineTest::FreeRoots() { roots_.FreeAll(); }

void EngineWineTest::RemoveTree(const std::string& folder) {
    IFileSystem& files = *GetPlatform().Files;
    for (const auto& entry : files.ListDirectory(folder, "*.*")) {
        const std::string path = folder + "\\" + entry.Name;
        if (entry.Attributes & attr::Directory)
            RemoveTree(path);
        else
            files.DeleteFile(path);
    }
    files.RemoveDirectory(folder);
}

std::string EngineWineTest::Text(const std::string& path) {
    std::unique_ptr<IFile> file = GetPlatform().Files->OpenFile(path, FileMode::Read);
    if (!file)
        return "<missing>";
    std::vector<uint8_t> bytes = file->ReadAll();
    return std::string(bytes.begin(), bytes.end());
}

TComponent* EngineWineTest::Load(std::string_view text) { return roots_.Load(text, "wine.txt"); }

TInstall* EngineWineTest::LoadDriver(std::vector<std::string> arguments) {
    system_.Set(std::move(arguments));
    return static_cast<TInstall*>(Load(kWineForm)->FindComponent("Install1"));
}

} // namespace sw::test
