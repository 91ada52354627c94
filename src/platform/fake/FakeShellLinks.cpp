#include "platform/fake/FakeShellLinks.h"

#include "platform/fake/FakeFileSystem.h"
#include "project/Text.h"

#include <sstream>

namespace sw::fake {

namespace {

constexpr const char* kMagic = "FakeShellLink";
constexpr size_t kMaxPath = 260;
// What the shell answers for a folder that does not exist.
constexpr int32_t kPathNotFound = static_cast<int32_t>(0x80070003);

std::string FolderOf(const std::string& file) {
    const size_t slash = file.rfind('\\');
    return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

} // namespace

int32_t FakeShellLinks::InitializeCom() {
    if (comCode_ == hresult::Ok)
        ++comInitializations_;
    return comCode_;
}

ShellLinkResult FakeShellLinks::Save(const std::string& file, const ShellLink& link) {
    if (saveCode_ != hresult::Ok) {
        const int32_t code = saveCode_;
        saveCode_ = hresult::Ok;
        return {code};
    }
    // The name must fit the shell's buffer, its terminating zero included.
    if (file.size() >= kMaxPath)
        return {hresult::InvalidArgument};
    std::unique_ptr<IFile> out = files_.OpenFile(file, FileMode::Create);
    if (!out)
        return {files_.DirectoryExists(FolderOf(file)) ? hresult::AccessDenied : kPathNotFound};
    const std::string text = std::string(kMagic) + "\n" + link.Target + "\n" + link.Arguments + "\n" +
                             link.WorkingDirectory + "\n" + std::to_string(link.HotKey) + "\n";
    out->Write(text.data(), text.size());
    return {};
}

std::optional<ShellLink> FakeShellLinks::Load(const std::string& file) {
    if (!files_.FileExists(file))
        return std::nullopt;
    std::istringstream in(files_.FileText(file));
    std::string magic, hotKey;
    ShellLink link;
    if (!std::getline(in, magic) || magic != kMagic || !std::getline(in, link.Target) ||
        !std::getline(in, link.Arguments) || !std::getline(in, link.WorkingDirectory) || !std::getline(in, hotKey))
        return std::nullopt;
    if (hotKey.empty() || hotKey.find_first_not_of("0123456789") != std::string::npos || hotKey.size() > 5)
        return std::nullopt;
    link.HotKey = static_cast<uint16_t>(std::stoul(hotKey));
    return link;
}

std::string FakeShellLinks::ErrorMessage(int32_t code) {
    return Format("System error %d", {code});
}

} // namespace sw::fake
