#include "paths/MetaVariables.h"

#include "objects/InstallObject.h"
#include "paths/ShellFolders.h"
#include "system/InstallDriverContext.h"
#include "system/InstallErrors.h"
#include "system/StringHelpers.h"
#include "system/SystemHelpers.h"

#include <cctype>
#include <optional>

namespace sw {

namespace {

std::string ComponentFolder(TInstallObject* component) {
    if (!component)
        throw EAICannotExpandContainerDirMV("Cannot expand the %a meta variable because the component is Nil");
    return component->GetDestPath();
}

std::string ContainerFolder(TInstallObject* component) {
    if (!component)
        throw EAICannotExpandContainerDirMV("Cannot expand the %c meta variable because the component is Nil");
    if (!component->Container())
        throw EAICannotExpandContainerDirMV("Cannot expand the %c meta variable because the Container property is Nil");
    return component->Container()->GetDestPath();
}

std::string InstallFolder() {
    IInstallDriverContext* driver = InstallDriverContext();
    if (!driver)
        throw EAICannotExpandInstallDirMV("Cannot expand the %i meta variable because there is no TInstall component");
    return driver->MainDestPath();
}

// The replacement of a meta variable letter; none for an unknown one.
std::optional<std::string> Replacement(char letter, TInstallObject* component) {
    switch (std::tolower(static_cast<unsigned char>(letter))) {
    case 'a':
        return ComponentFolder(component);
    case 'b':
        return GetProgramsMenuFolder();
    case 'c':
        return ContainerFolder(component);
    case 'd':
        return GetDesktopFolder();
    case 'f':
        return GetCommonFilesFolder();
    case 'i':
        return InstallFolder();
    case 'm':
        return GetStartMenuFolder();
    case 'p':
        return GetProgramFilesFolder();
    case 's':
        return SystemDirectory();
    case 'w':
        return WindowsDirectory();
    default:
        return std::nullopt;
    }
}

} // namespace

std::string ExpandMetaVariables(const std::string& text, TInstallObject* component) {
    return ExpandPercents(
        text,
        [component](char letter) -> std::optional<std::string> {
            std::optional<std::string> folder = Replacement(letter, component);
            if (folder)
                return ExcludeTrailingBackslash(*folder);
            return folder;
        },
        false);
}

} // namespace sw
