// Shortcuts: a shell link file made through the shell's link interface, an
// internet shortcut file, or a Program Manager item, by the shortcut's
// method, its name's extension and the Windows version.
#pragma once

#include "objects/InstallObject.h"
#include "paths/StandardSpecifiers.h"

#include <cstdint>
#include <string>

namespace sw {

enum class TMethodType { mtAutoDetect, mtShellLinkInterface, mtProgramManager };
const TEnumInfo& MethodTypeNames();

class TCustomInstallShellLink : public TInstallObject, public IObjectLinkShortcut {
    SW_DECLARE_CLASS()
  public:
    explicit TCustomInstallShellLink(TComponent* owner);
    ~TCustomInstallShellLink() override;

    TMethodType Method() const { return method_; }
    void SetMethod(TMethodType method) { method_ = method; }
    // The shell's encoding: virtual key in the low byte, modifiers in the high byte.
    int32_t HotKey() const { return hotKey_; }
    void SetHotKey(int32_t hotKey) { hotKey_ = static_cast<uint16_t>(hotKey); }
    std::string LinkName() const { return linkName_; }
    virtual void SetLinkName(const std::string& name);
    TInstallObject* ObjectLink() const { return objectLink_; }
    virtual void SetObjectLink(TInstallObject* object);
    std::string ObjectLocation() const { return objectLocation_; }
    virtual void SetObjectLocation(const std::string& location);
    TCustomPathSpecifier* ObjectLocationType() const { return objectLocationType_; }
    virtual void SetObjectLocationType(TCustomPathSpecifier* specifier);
    std::string Parameters() const { return parameters_; }
    void SetParameters(const std::string& parameters) { parameters_ = parameters; }

    // The target: the location type's path followed by ObjectLocation, or
    // ObjectLocation without a trailing backslash.
    virtual std::string ObjectPath() const;
    // The destination folder, a backslash and LinkName.
    std::string ShortcutFile() const;
    TInstallObject* LinkedObject() const override { return objectLink_; }

    int GetObjectKind() const override { return kKindShellLink; }
    void InstallObjects() override;
    // Adds the shortcut file to the uninstall list when this run made it.
    void WriteUninstallInfo(const std::string& key) override;
    void ContainerDestroyed(TInstallContainer* container) override;
    void Notification(TComponent* component, TOperation operation) override;

  protected:
    // Initializes COM once: IEInstallShellLink when it cannot be.
    virtual void PrepareCom();
    virtual void CreateProgramManagerItem();
    virtual void CreateShellLink();
    virtual void CreateInternetShortcut();

  private:
    std::string ExpandedParameters();
    // False, with a message to the shortcut's dialogs, when a file of that
    // name exists that the product did not make: it is kept, and no shortcut
    // is made over it.
    bool MayReplace(const std::string& file);
    void CheckPlacement() const;

    bool comReady_ = false;
    // Whether this run made the shortcut.
    bool made_ = false;
    TMethodType method_ = TMethodType::mtAutoDetect;
    uint16_t hotKey_ = 0;
    std::string linkName_;
    TInstallObject* objectLink_ = nullptr;
    std::string objectLocation_;
    TCustomPathSpecifier* objectLocationType_ = nullptr;
    std::string parameters_;
};

class TInstallShellLink : public TCustomInstallShellLink {
    SW_DECLARE_CLASS()
  public:
    using TCustomInstallShellLink::TCustomInstallShellLink;
};

// A shortcut in the main program folder, which is always its container.
class TInstallMainLink : public TCustomInstallShellLink {
    SW_DECLARE_CLASS()
  public:
    // Raises IEInstallShellLink without a main program folder.
    explicit TInstallMainLink(TComponent* owner);
    ~TInstallMainLink() override;

    // Only the main program folder; IEInstallShellLink otherwise.
    void SetContainer(TInstallContainer* container) override;
    // Always psContainerDestDir, whatever is asked.
    void SetDestDirType(TCustomPathSpecifier* specifier) override;
};

// Registers the shortcut classes with the stream reader.
void RegisterShortcutClasses();

} // namespace sw
