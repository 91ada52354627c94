#include "BuildPlatform.h"

#include "engine/InstallerTool.h"

TBuildPlatform::TBuildPlatform() { posix_.Files().MapDrive('Z', "/"); }

void TBuildPlatform::SetProgram(const std::string& path, const std::string& arguments, std::string image) {
    posix_.Others().System().SetModulePath(path);
    posix_.Others().System().SetCommandLine("\"" + path + "\" " + arguments);
    resources_ = sw::TPortableResources(std::move(image));
}

void TBuildPlatform::SetToolDirectory(const std::string& folder) {
    sw::fake::FakeRegistry& registry = posix_.Others().Registry();
    registry.CreateKey(sw::RegistryRoot::CurrentUser, sw::kLibrarySearchPathKey);
    registry.WriteString(sw::RegistryRoot::CurrentUser, sw::kLibrarySearchPathKey, sw::kLibrarySearchPathValue, folder);
}

std::vector<std::string> TBuildPlatform::MessageBoxTexts() {
    std::vector<std::string> texts;
    for (const auto& box : posix_.Others().Gui().Boxes())
        texts.push_back(box.Text);
    return texts;
}

sw::Platform TBuildPlatform::Get() {
    sw::Platform p = posix_.Get();
    // Message boxes are recorded; the resources are the program's own.
    p.Gui = &posix_.Others().Gui();
    p.Resources = &resources_;
    return p;
}
