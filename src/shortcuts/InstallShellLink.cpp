#include "shortcuts/InstallShellLink.h"

#include "paths/MetaVariables.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/ShellLinks.h"
#include "project/ClassRegistry.h"
#include "project/Errors.h"
#include "project/Text.h"
#include "project/TranslateHook.h"
#include "shortcuts/LinkTargets.h"
#include "shortcuts/ShellLinkGroups.h"
#include "shortcuts/ShortcutPlacement.h"
#include "shortcuts/ShortcutsState.h"
#include "system/InstallDriverContext.h"
#include "system/InstallErrors.h"
#include "system/InstallInformation.h"
#include "system/SystemHelpers.h"
#include "system/UninstallLists.h"

#include <algorithm>

namespace sw {

const TEnumInfo& MethodTypeNames() {
    static const TEnumInfo names{{"mtAutoDetect", "mtShellLinkInterface", "mtProgramManager"}};
    return names;
}

SW_CLASS_INFO(TCustomInstallShellLink, TInstallObject)

#define SW_SHELL_LINK_PROPERTIES                                                                                       \
    prop::String("DestDir", &Self::DestDir, &Self::SetDestDir, std::nullopt),                                         \
        prop::Integer("HotKey", &Self::HotKey, &Self::SetHotKey),                                                     \
        prop::Boolean("Include", &Self::Include, &Self::SetInclude, true),                                            \
        prop::String("LinkName", &Self::LinkName, &Self::SetLinkName, std::nullopt),                                  \
        prop::Enumeration("Method", &Self::Method, &Self::SetMethod, MethodTypeNames(),                               \
                          std::optional(TMethodType::mtAutoDetect)),                                                  \
        prop::Reference("ObjectLink", &Self::ObjectLink, &Self::SetObjectLink),                                       \
        prop::String("ObjectLocation", &Self::ObjectLocation, &Self::SetObjectLocation, std::nullopt),                \
        prop::Reference("ObjectLocationType", &Self::ObjectLocationType, &Self::SetObjectLocationType),               \
        prop::String("Parameters", &Self::Parameters, &Self::SetParameters, std::nullopt),                            \
        prop::Event("OnAfterProcess", &Self::OnAfterProcess), prop::Event("OnBeforeProcess", &Self::OnBeforeProcess)

SW_CLASS_INFO(TInstallShellLink, TCustomInstallShellLink,
              prop::Reference("Container", &Self::Container, &Self::SetContainer),
              prop::Reference("DestDirType", &Self::DestDirType, &Self::SetDestDirType), SW_SHELL_LINK_PROPERTIES)
SW_CLASS_INFO(TInstallMainLink, TCustomInstallShellLink, SW_SHELL_LINK_PROPERTIES)

#undef SW_SHELL_LINK_PROPERTIES

namespace {

// The shortcut files go to the uninstall list through this one place.
void RecordShortcutFile(const std::string& uninstallKey, const std::string& file) {
    AppendUninstallFile(uninstallKey, file);
}

std::string ResultText(int32_t code) {
    switch (code) {
    case hresult::Ok:
        return {};
    case hresult::Unexpected:
        return TranslateEnglishMessage("Indicates an unexpected error occurred");
    case hresult::NoAggregation:
        return TranslateEnglishMessage("Indicates this class cannot be created as part of an aggregate");
    case hresult::ClassNotRegistered:
        return TranslateEnglishMessage(
            "Indicates that a specified class is not registered in the registration database");
    case hresult::OutOfMemory:
        return TranslateEnglishMessage("Out of memory");
    case hresult::InvalidArgument:
        return TranslateEnglishMessage("Indicates one or more arguments are invalid");
    default:
        return GetPlatform().ShellLinks->ErrorMessage(code);
    }
}

bool IsUrlName(const std::string& name) { return SameText(ExtractFileExt(name), ".URL"); }

} // namespace

TCustomInstallShellLink::TCustomInstallShellLink(TComponent* owner) : TInstallObject(owner) {
    installable_ = true;
    ShortcutsState().ShellLinks.push_back(this);
    EnsureObjectLinkSpecifier(owner);
}

TCustomInstallShellLink::~TCustomInstallShellLink() { std::erase(ShortcutsState().ShellLinks, this); }

void TCustomInstallShellLink::SetLinkName(const std::string& name) {
    const std::string previous = ExtractFileExt(linkName_);
    linkName_ = name;
    if (IsLoading() || Trim(name).empty())
        return;
    if (IsUrlName(name)) {
        if (objectLink_)
            SetObjectLink(nullptr);
        return;
    }
    if (SameText(ExtractFileExt(name), ".LNK"))
        return;
    // The previous extension carries over unless it was the link's own.
    linkName_ = ChangeFileExt(name, previous.empty() || SameText(previous, ".LNK") ? ".LNK" : previous);
}

void TCustomInstallShellLink::SetObjectLink(TInstallObject* object) {
    if (IsLoading()) {
        objectLink_ = object;
        if (object)
            FreeNotification(object);
        return;
    }
    if (!object) {
        objectLink_ = nullptr;
        objectLocationType_ = nullptr;
        return;
    }
    objectLink_ = object;
    FreeNotification(object);
    SetObjectLocationType(StandardPathSpecifiers().FindByClass<TpsObjectLink>());
    objectLocation_.clear();
    SetLinkName(LinkNameFor(*object));
    if (!Container())
        SetContainer(object);
}

void TCustomInstallShellLink::SetObjectLocation(const std::string& location) {
    objectLocation_ = location;
    if (IsLoading())
        return;
    if (dynamic_cast<TpsObjectLink*>(objectLocationType_)) {
        objectLocation_.clear();
        return;
    }
    if (!Trim(linkName_).empty() && linkName_ != ".LNK")
        return;
    const std::string upper = UpperCase(location);
    if (size_t http = upper.find("HTTP://"); http != std::string::npos)
        SetLinkName(location.substr(http + 7) + ".URL");
    else if (size_t ftp = upper.find("FTP://"); ftp != std::string::npos)
        SetLinkName(location.substr(ftp + 6) + ".URL");
    else
        SetLinkName(ChangeFileExt(ExtractFileName(location), ""));
}

void TCustomInstallShellLink::SetObjectLocationType(TCustomPathSpecifier* specifier) {
    if (specifier && !IsLoading())
        specifier->ValidateComponent(this);
    objectLocationType_ = specifier;
    if (specifier)
        FreeNotification(specifier);
    if (!IsLoading() && dynamic_cast<TpsObjectLink*>(specifier))
        objectLocation_.clear();
}

std::string TCustomInstallShellLink::ObjectPath() const {
    if (objectLocationType_)
        return objectLocationType_->GetPath(const_cast<TCustomInstallShellLink*>(this)) + objectLocation_;
    return ExcludeTrailingBackslash(objectLocation_);
}

std::string TCustomInstallShellLink::ShortcutFile() const { return GetDestPath() + "\\" + linkName_; }

std::string TCustomInstallShellLink::ExpandedParameters() { return ExpandMetaVariables(parameters_, this); }

void TCustomInstallShellLink::CheckPlacement() const {
    if (!IsPlainFileName(linkName_))
        throw IEInstallShellLink("The LinkName %s of %s is not a plain file name and could not be installed",
                                 {linkName_, Name()});
    if (DestDirType() && !StaysBelow(DestDir()))
        throw IEInstallShellLink("The folder %s of %s leaves the folder it belongs to and could not be installed",
                                 {DestDir(), Name()});
}

bool TCustomInstallShellLink::MayReplace(const std::string& file) {
    if (!GetPlatform().Files->FileExists(file))
        return true;
    IInstallDriverContext* driver = InstallDriverContext();
    if (driver && UninstallFileListed(UninstallKeyOf(*driver->Information()), file))
        return true;
    SendMessageText(Format(TranslateEnglishMessage("The shortcut file %s of %s exists already and was not made by "
                                                   "this product, so it was not replaced"),
                           {file, Name()}));
    return false;
}

void TCustomInstallShellLink::InstallObjects() {
    made_ = false;
    if (Trim(linkName_).empty())
        throw IEInstallShellLink("The LinkName is blank for %s and therefore could not be installed", {Name()});
    if (objectLink_) {
        if (!objectLink_->Processed()) {
            passSkipped_ = true;
            return;
        }
        if (IsUninstaller(*objectLink_)) {
            IInstallDriverContext* driver = InstallDriverContext();
            if (!driver)
                throw IEInstallShellLink("%s cannot perform operation because there is no TInstall component",
                                         {Name()});
            parameters_ = driver->Information()->ProductName;
        }
        if (auto* folder = dynamic_cast<TCustomShellLinkGroup*>(objectLink_))
            GetPlatform().Files->ForceDirectories(folder->GetDestPath());
    }
    CheckPlacement();
    if (IsUrlName(linkName_))
        CreateInternetShortcut();
    else if (method_ == TMethodType::mtShellLinkInterface)
        CreateShellLink();
    else if (method_ == TMethodType::mtProgramManager)
        CreateProgramManagerItem();
    else if (const int version = WindowsVersion(); version == wvWindows95 || version == wvWindowsNT)
        CreateShellLink();
    else
        CreateProgramManagerItem();
    TInstallObject::InstallObjects();
}

void TCustomInstallShellLink::PrepareCom() {
    if (comReady_)
        return;
    const int32_t code = GetPlatform().ShellLinks->InitializeCom();
    if (code < 0)
        throw IEInstallShellLink("Could not initialize IShellLink with following error code returned: %d", {code});
    comReady_ = true;
}

void TCustomInstallShellLink::CreateShellLink() {
    try {
        PrepareCom();
        const std::string folder = GetDestPath();
        GetPlatform().Files->ForceDirectories(folder);
        const std::string file = folder + "\\" + linkName_;
        if (!MayReplace(file))
            return;
        ShellLink link;
        link.Arguments = ExpandedParameters();
        link.Target = ObjectPath();
        link.HotKey = hotKey_;
        link.WorkingDirectory = ExtractFileDir(link.Target);
        const ShellLinkResult result = GetPlatform().ShellLinks->Save(file, link);
        if (result.Failed())
            throw IEInstallShellLink("The TCustomInstallShellLink %s name could not be installed. The following error "
                                     "was reported %s. Error code %d",
                                     {Name(), ResultText(result.Code), result.Code});
        made_ = true;
    } catch (const IEInstallShellLink&) {
        throw;
    } catch (const Exception& e) {
        throw IEInstallShellLink(
            "The TCustomInstallShellLink %s name could not be installed. The following error was reported %s",
            {Name(), e.what()});
    }
}

void TCustomInstallShellLink::CreateInternetShortcut() {
    const std::string folder = GetDestPath();
    IFileSystem& files = *GetPlatform().Files;
    files.ForceDirectories(folder);
    const std::string file = folder + "\\" + linkName_;
    if (!MayReplace(file))
        return;
    if (!files.WriteProfileString(file, "InternetShortcut", "URL", objectLocation_))
        throw IEInstallShellLink("The internet shortcut %s of %s could not be written", {file, Name()});
    made_ = true;
}

void TCustomInstallShellLink::CreateProgramManagerItem() {
    if (!dynamic_cast<TpsProgramMenu*>(DestDirType()))
        return;
    const std::string group = Trim(ExtractFileName(GetDestPath()));
    if (group.empty())
        throw IEInstallShellLink("The LinkName is blank for %s and therefore could not be installed", {Name()});
    TProgramManager& programManager = ProgramManager();
    programManager.CreateGroup(group);
    const std::string itemName = ChangeFileExt(linkName_, "");
    if (programManager.FindItem(itemName) >= 0)
        programManager.ReplaceItem(itemName);
    const std::string arguments = ExpandedParameters();
    const std::string target = ObjectPath();
    const std::string directory = "\"" + ExtractFileDir(target) + "\"";
    programManager.AddItem("\"" + target + "\" " + arguments, itemName, "", directory, 0, "");
    made_ = true;
}

void TCustomInstallShellLink::WriteUninstallInfo(const std::string& key) {
    if (made_)
        RecordShortcutFile(key, ShortcutFile());
}

void TCustomInstallShellLink::ContainerDestroyed(TInstallContainer* container) {
    const bool mine = container == Container();
    TInstallObject::ContainerDestroyed(container);
    if (mine && !IsDestroying())
        TComponent::Free(this);
}

void TCustomInstallShellLink::Notification(TComponent* component, TOperation operation) {
    TInstallObject::Notification(component, operation);
    if (operation != TOperation::opRemove || !component)
        return;
    if (component == objectLocationType_)
        objectLocationType_ = nullptr;
    if (component == objectLink_) {
        objectLink_ = nullptr;
        if (!IsDestroying())
            TComponent::Free(this);
    }
}

TInstallMainLink::TInstallMainLink(TComponent* owner) : TCustomInstallShellLink(owner) {
    TMainLinkGroup* main = ShortcutsState().MainLinkGroup;
    if (!main)
        throw IEInstallShellLink(
            "To create a TInstallMainLink you must first have a TMainLinkGroup component in your project");
    SetContainer(main);
    ShortcutsState().MainLinks.push_back(this);
}

TInstallMainLink::~TInstallMainLink() { std::erase(ShortcutsState().MainLinks, this); }

void TInstallMainLink::SetContainer(TInstallContainer* container) {
    if (!container || container != ShortcutsState().MainLinkGroup)
        throw IEInstallShellLink(kMainGroupMustContain);
    TCustomInstallShellLink::SetContainer(container);
}

void TInstallMainLink::SetDestDirType(TCustomPathSpecifier*) {
    TCustomInstallShellLink::SetDestDirType(FindStandardSpecifier<TpsContainerDestDir>());
}

void RegisterShortcutClasses() {
    RegisterClass<TInstallShellLink>();
    RegisterClass<TMainLinkGroup>();
    RegisterClass<TSubLinkGroup>();
    RegisterClass<TInstallMainLink>();
}

} // namespace sw
