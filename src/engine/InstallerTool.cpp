#include "engine/InstallerTool.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

#include <vector>

namespace sw {

namespace {

std::vector<std::string> SearchPathFolders(const std::string& path) {
    std::vector<std::string> folders;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find(';', start), path.size());
        const std::string folder = Trim(path.substr(start, end - start));
        if (!folder.empty())
            folders.push_back(ExcludeTrailingBackslash(folder));
        start = end + 1;
    }
    return folders;
}

} // namespace

std::string FindInstallerToolDirectory() {
    const std::optional<std::string> path =
        ReadRegStringValue(RegistryRoot::CurrentUser, kLibrarySearchPathKey, kLibrarySearchPathValue);
    if (path)
        for (const std::string& folder : SearchPathFolders(*path))
            if (GetPlatform().Files->FileExists(folder + "\\" + kInstallerToolMarker))
                return folder;
    throw IEInstall("The HKEY_LOCAL_MACHINE | %s key in the registry is either missing or points to an invalid "
                    "Pellmoor directory",
                    {"\\Software\\Norvale\\M41R08"});
}

} // namespace sw
