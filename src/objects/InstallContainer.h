// The base of every install object: a node of the install tree with an
// ordered list of children, install types, a destination and the two message
// channels (reports upward, broadcasts downward to dialogs).
#pragma once

#include "objects/InstallTypes.h"
#include "project/Component.h"

#include <string>
#include <vector>

namespace sw {

class TCustomPathSpecifier;
class TInstallContainer;
class TInstallObject;

using TInstallContainerNotifyEvent = TEvent<TInstallContainer*>;

// Object kinds: they order the children and select the broadcast recipients.
inline constexpr int kKindFileContainer = 1000;
inline constexpr int kKindFile = 2000;
inline constexpr int kKindShellLinkGroup = 7000;
inline constexpr int kKindShellLink = 8000;
inline constexpr int kKindRegistry = 8500;
inline constexpr int kKindDialog = 9000;

class TInstallContainer : public TComponent {
    SW_DECLARE_CLASS()
  public:
    explicit TInstallContainer(TComponent* owner);
    ~TInstallContainer() override;

    // Children, in install order.
    int ObjectCount() const { return static_cast<int>(children_.size()); }
    // Raises IEInstallContainer for an index outside 0..count-1.
    TInstallObject* Objects(int index) const;
    int ObjectCountOfClass(const TClassInfo& cls) const;
    // The index-th child of that class (counted among them only).
    TInstallObject* ObjectOfClass(int index, const TClassInfo& cls) const;
    void FreeObjectsOfClass(const TClassInfo& cls);

    virtual int GetFileContainerCount() const;
    virtual TInstallContainer* GetFileContainer(int index) const;

    std::string DestDir() const { return destDir_; }
    virtual void SetDestDir(const std::string& dir);
    TCustomPathSpecifier* DestDirType() const { return destDirType_; }
    virtual void SetDestDirType(TCustomPathSpecifier* specifier);
    bool DestDirTypeAssigned() const { return destDirTypeAssigned_; }

    // Another container is being destroyed: forget it.
    virtual void ContainerDestroyed(TInstallContainer* container);
    virtual void SendMessageText(const std::string& text);
    virtual void DoInformationEventControl(TPersistent* sender, int code, TPersistent* parameter);
    virtual void HandleInstallMessage(TInstallContainer* sender, int code, TPersistent* parameter);
    // The full destination folder, without a trailing backslash.
    virtual std::string GetDestPath() const;
    // Raises IEInstallContainer on the classes that are no concrete install class.
    virtual int GetObjectKind() const;
    virtual void AddObject(TInstallObject* object);
    virtual void Install();
    virtual void InstallObjects();
    virtual bool IsIncluded() const;
    virtual void FinishAfterRestart() {}
    virtual void LanguageChanged() {}
    virtual void RemoveObject(TInstallObject* object);
    virtual void WriteUninstallInfo(const std::string& key) { (void)key; }

    // Calls HandleInstallMessage on every dialog child, in list order.
    void Broadcast(int code, TPersistent* parameter);
    void SetCurrentInstallType(TInstallType type);
    TInstallType CurrentInstallType() const { return currentInstallType_; }

    bool Installable() const { return installable_; }
    // Whether the object was installed (or kept) in this install; an object
    // its own pass skipped is not.
    bool Processed() const { return processed_; }
    void SetProcessed(bool processed) { processed_ = processed; }
    bool Include() const { return include_; }
    void SetInclude(bool include) { include_ = include; }
    TInstallTypeSet InstallTypes() const { return installTypes_; }
    // itAlways is never combined with another type.
    void SetInstallTypes(TInstallTypeSet types);
    int32_t Order() const { return order_; }
    void SetOrder(int32_t order);

    TInstallContainerNotifyEvent OnAfterProcess;
    TInstallContainerNotifyEvent OnBeforeProcess;

    void Notification(TComponent* component, TOperation operation) override;

  protected:
    // The container this one belongs to; none above the install objects.
    virtual TInstallContainer* ParentContainer() const { return nullptr; }
    void Renumber();

    bool installable_ = false;
    // Set by InstallObjects when it skipped the object: Install then leaves
    // it unprocessed and records nothing for the uninstaller.
    bool passSkipped_ = false;

  private:
    bool processed_ = false;
    std::vector<TInstallObject*> children_;
    bool include_ = true;
    TInstallTypeSet installTypes_ = InstallTypeBit(TInstallType::itAlways);
    TInstallType currentInstallType_ = TInstallType::itAlways;
    std::string destDir_;
    TCustomPathSpecifier* destDirType_ = nullptr;
    int32_t order_ = -1;
    bool destDirTypeAssigned_ = false;
};

} // namespace sw
