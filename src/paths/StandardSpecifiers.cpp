#include "paths/StandardSpecifiers.h"

#include "objects/FileContainer.h"
#include "objects/InstallFile.h"
#include "paths/ShellFolders.h"
#include "project/ClassRegistry.h"
#include "project/Errors.h"
#include "project/Text.h"
#include "system/InstallDriverContext.h"
#include "system/InstallErrors.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

namespace sw {

namespace {

std::string NameOf(const TComponent* component) { return component ? component->Name() : std::string(); }

// The install object behind `component`, with its container checked.
TInstallObject* ContainedObject(const TComponent* component, const TCustomPathSpecifier& specifier,
                                const char* noContainerMessage) {
    auto* object = dynamic_cast<TInstallObject*>(const_cast<TComponent*>(component));
    if (!object)
        throw IEPathSpecifier("%s must be a %s to use the %s path specifier",
                              {NameOf(component), "TInstallObject", specifier.StandardName()});
    if (!object->Container())
        throw IEPathSpecifier(noContainerMessage, {object->Name()});
    return object;
}

IInstallDriverContext& RequireDriver(const TComponent* component) {
    IInstallDriverContext* driver = InstallDriverContext();
    if (!driver)
        throw IEPathSpecifier("There is no TInstall component so the path specifier could not be expanded for %s",
                              {NameOf(component)});
    return *driver;
}

} // namespace

#define SW_STANDARD_INFO(Class, Name, Description)                                                                     \
    SW_CLASS_INFO(Class, TStandardPathSpecifier)                                                                       \
    Class::Class(TComponent* owner) : TStandardPathSpecifier(owner, Name) {}                                           \
    std::string Class::GetDescription() const { return Description; }

SW_STANDARD_INFO(TpsBDEDLL, "psBDEDLL", "Borland Database Engine DLL Path")
SW_STANDARD_INFO(TpsCommonFiles, "psCommonFiles",
                 "Path of the common files directory under the program files directory")
SW_STANDARD_INFO(TpsContainerArchiveFile, "psContainerArchiveFile", "Path to the archive file of the container")
SW_STANDARD_INFO(TpsContainerDestDir, "psContainerDestDir", "Path of the group (container)")
SW_STANDARD_INFO(TpsDesktopMenu, "psDesktopMenu", "Path of the Desktop")
SW_STANDARD_INFO(TpsInstallSource, "psInstallSource", "Path from which the user ran the install")
SW_STANDARD_INFO(TpsMainInstall, "psMainInstall", "Path of the destination directory of the TInstall")
SW_STANDARD_INFO(TpsProgramFiles, "psProgramFiles", "Path of the program files directory")
SW_STANDARD_INFO(TpsProgramMenu, "psProgramMenu", "Path of the Programs folder under the Start Menu")
SW_STANDARD_INFO(TpsStartMenu, "psStartMenu", "Path of Start Menu")
SW_STANDARD_INFO(TpsStartupMenu, "psStartupMenu",
                 "Path of the Startup folder in the Programs folder under the Start Menu")
SW_STANDARD_INFO(TpsSystem, "psSystem", "Path of system directory")
SW_STANDARD_INFO(TpsMainArchiveFile, "psMainArchiveFile",
                 "Archive containing most or all non-internet installation files")
SW_STANDARD_INFO(TpsWindow, "psWindow", "Path of the Windows directory")
SW_STANDARD_INFO(TpsObjectLink, "psObjectLink", "Path of the file or file group in the ObjectLink property")

#undef SW_STANDARD_INFO

std::string TpsBDEDLL::GetPath(TComponent*) const {
    std::string path = ReadRegString(RegistryRoot::LocalMachine, "\\Software\\Borland\\Database Engine", "DLLPath", "");
    if (path.empty())
        path = IncludeTrailingBackslash(GetProgramFilesFolder()) + "Borland\\Common Files\\BDE";
    return path.substr(0, path.find(';'));
}
std::string TpsCommonFiles::GetPath(TComponent*) const { return GetCommonFilesFolder(); }
std::string TpsDesktopMenu::GetPath(TComponent*) const { return GetDesktopFolder(); }
std::string TpsProgramFiles::GetPath(TComponent*) const { return GetProgramFilesFolder(); }
std::string TpsProgramMenu::GetPath(TComponent*) const { return GetProgramsMenuFolder(); }
std::string TpsStartMenu::GetPath(TComponent*) const { return GetStartMenuFolder(); }
std::string TpsStartupMenu::GetPath(TComponent*) const { return GetStartupFolder(); }

void TpsContainerArchiveFile::ValidateComponent(TComponent* component) const {
    TInstallObject* object =
        ContainedObject(component, *this, "Cannot use ddContainerArchiveFile for %s unless you assign a Container");
    if (!dynamic_cast<TFileRelated*>(object->Container()))
        throw IEPathSpecifier("Cannot use the ddContainerArchiveFile path specifier for %s because the "
                              "Container is not a TFileRelated descendant",
                              {object->Name()});
}

std::string TpsContainerArchiveFile::GetPath(TComponent* component) const {
    ValidateComponent(component);
    auto* container = static_cast<TFileRelated*>(static_cast<TInstallObject*>(component)->Container());
    return ExcludeTrailingBackslash(container->GetArchivePath());
}

void TpsContainerDestDir::ValidateComponent(TComponent* component) const {
    ContainedObject(component, *this, "Cannot use ddContainerDestDir for %s unless you assign a Container");
}

std::string TpsContainerDestDir::GetComponentDescription(TComponent* component) const {
    TInstallObject* object = dynamic_cast<TInstallObject*>(component);
    if (!object || !object->Container())
        return GetDescription();
    TInstallContainer* container = object->Container();
    auto* group = dynamic_cast<TFileContainer*>(container);
    return Format("Path of the <%s> group", {group ? group->GroupName() : container->Name()});
}

std::string TpsContainerDestDir::GetPath(TComponent* component) const {
    ValidateComponent(component);
    return ExcludeTrailingBackslash(static_cast<TInstallObject*>(component)->Container()->GetDestPath());
}

void TpsInstallSource::ValidateComponent(TComponent* component) const { RequireDriver(component); }

std::string TpsInstallSource::GetPath(TComponent* component) const {
    ValidateComponent(component);
    return ExcludeTrailingBackslash(InstallDriverContext()->InstallSourceDirectory());
}

void TpsMainInstall::ValidateComponent(TComponent* component) const {
    if (component == RequireDriver(component).DriverComponent())
        throw IEPathSpecifier("Cannot use the ddMainInstallDir path specifier for a TInstall component");
}

std::string TpsMainInstall::GetPath(TComponent* component) const {
    ValidateComponent(component);
    return ExcludeTrailingBackslash(InstallDriverContext()->MainDestPath());
}

std::string TpsSystem::GetPath(TComponent*) const { return ExcludeTrailingBackslash(SystemDirectory()); }

std::string TpsWindow::GetPath(TComponent*) const { return ExcludeTrailingBackslash(WindowsDirectory()); }

void TpsMainArchiveFile::ValidateComponent(TComponent* component) const { RequireDriver(component); }

std::string TpsMainArchiveFile::GetPath(TComponent* component) const {
    ValidateComponent(component);
    const IInstallDriverContext& driver = *InstallDriverContext();
    std::string folder = IncludeTrailingBackslash(driver.InstallSourceDirectory());
    if (!driver.SwitchGiven('e'))
        return folder + "files.1";
    const std::string& setupName = driver.SwitchValue('e');
    if (Trim(setupName).empty())
        throw IEInstall("You forgot to pass in the name of the self-extracting executable. Usage example: "
                        "\"-eSetup.exe\"");
    return folder + setupName;
}

void TpsObjectLink::ValidateComponent(TComponent* component) const {
    auto* shortcut = dynamic_cast<const IObjectLinkShortcut*>(component);
    if (!shortcut)
        throw IEPathSpecifier("%s must be a %s to use the %s path specifier",
                              {NameOf(component), "TCustomInstallShellLink", standardName_});
    if (!shortcut->LinkedObject())
        throw IEPathSpecifier("Cannot use ddObjectLink for %s unless you assign a value to ObjectLink",
                              {component->Name()});
}

std::string TpsObjectLink::GetPath(TComponent* component) const {
    ValidateComponent(component);
    TInstallObject* linked = dynamic_cast<const IObjectLinkShortcut*>(component)->LinkedObject();
    if (auto* file = dynamic_cast<TCustomInstallFile*>(linked))
        return file->InstalledPath();
    return linked->GetDestPath();
}

namespace {

struct StandardClass {
    const TClassInfo& (*Info)();
    TComponent* (*Create)(TComponent* owner);
};

template <class T> StandardClass Standard() {
    return {&T::StaticClassInfo, [](TComponent* owner) -> TComponent* { return new T(owner); }};
}

const std::vector<StandardClass>& StandardClasses() {
    static const std::vector<StandardClass> classes{
        Standard<TpsBDEDLL>(),           Standard<TpsCommonFiles>(),  Standard<TpsContainerArchiveFile>(),
        Standard<TpsContainerDestDir>(), Standard<TpsDesktopMenu>(),  Standard<TpsInstallSource>(),
        Standard<TpsMainInstall>(),      Standard<TpsProgramFiles>(), Standard<TpsProgramMenu>(),
        Standard<TpsStartMenu>(),        Standard<TpsStartupMenu>(),  Standard<TpsSystem>(),
        Standard<TpsMainArchiveFile>(),  Standard<TpsWindow>(),
    };
    return classes;
}

} // namespace

void EnsureStandardSpecifiers(TComponent* owner) {
    for (const StandardClass& cls : StandardClasses()) {
        if (AllPathSpecifiers().HasClass(cls.Info()))
            continue;
        TComponent* created = cls.Create(owner);
        try {
            created->SetName(static_cast<TStandardPathSpecifier*>(created)->StandardName());
        } catch (...) {
            TComponent::Free(created);
            throw;
        }
    }
}

void RegisterPathSpecifierClasses() {
    RegisterClass<TPathSpecifier>();
    for (const StandardClass& cls : StandardClasses())
        RegisterClass(cls.Info(), cls.Create);
    RegisterClass<TpsObjectLink>();
}

} // namespace sw
