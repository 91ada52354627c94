#include "BuildPlatform.h"

#include "engine/InstallerTool.h"
#include "project/Errors.h"

TBuildPlatform::TBuildPlatform() {
    files_.MapDrive('C', "/");
    files_.MapDrive('Z', "/");
}

std::string TBuildPlatform::WindowsPath(const std::string& posixPath) const {
    if (auto path = files_.WindowsPath(posixPath))
        return *path;
    throw sw::Exception("Cannot name the path " + posixPath);
}

void TBuildPlatform::SetProgram(const std::string& path, const std::string& arguments, std::string image) {
    others_.System().SetModulePath(path);
    others_.System().SetCommandLine("\"" + path + "\" " + arguments);
    resources_ = sw::TPortableResources(std::move(image));
}

void TBuildPlatform::SetToolDirectory(const std::string& folder) {
    others_.Registry().CreateKey(sw::RegistryRoot::CurrentUser, sw::kLibrarySearchPathKey);
    others_.Registry().WriteString(sw::RegistryRoot::CurrentUser, sw::kLibrarySearchPathKey,
                                   sw::kLibrarySearchPathValue, folder);
}

std::vector<std::string> TBuildPlatform::MessageBoxTexts() {
    std::vector<std::string> texts;
    for (const auto& box : others_.Gui().Boxes())
        texts.push_back(box.Text);
    return texts;
}

sw::Platform TBuildPlatform::Get() {
    sw::Platform p = others_.Get();
    p.Files = &files_;
    p.Versions = &versions_;
    p.Resources = &resources_;
    return p;
}
