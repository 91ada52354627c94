// Install objects that belong to a container, and those among them that
// have an archive (files and file containers).
#pragma once

#include "objects/InstallContainer.h"

namespace sw {

class TCustomNetInstallLocation;

class TInstallObject : public TInstallContainer {
    SW_DECLARE_CLASS()
  public:
    using TInstallContainer::TInstallContainer;

    TInstallContainer* Container() const { return container_; }
    // Moves the object into the new container (added before it leaves the
    // old one); outside loading its destination follows the container.
    virtual void SetContainer(TInstallContainer* container);
    bool ContainerAssigned() const { return containerAssigned_; }

    void ContainerDestroyed(TInstallContainer* container) override;

  protected:
    TInstallContainer* ParentContainer() const override { return container_; }

  private:
    bool containerAssigned_ = false;
    TInstallContainer* container_ = nullptr;
};

using TDataReceivedEvent = TEvent<TPersistent*, const std::string&, int32_t, int32_t, int32_t, const char*>;

class TFileRelated : public TInstallObject {
    SW_DECLARE_CLASS()
  public:
    using TInstallObject::TInstallObject;

    TlzhCommand AddToArchive() const { return addToArchive_; }
    void SetAddToArchive(TlzhCommand command) { addToArchive_ = command; }
    std::string ArchiveFile() const { return archiveFile_; }
    virtual void SetArchiveFile(const std::string& file);
    TCustomPathSpecifier* ArchiveFileType() const { return archiveFileType_; }
    virtual void SetArchiveFileType(TCustomPathSpecifier* specifier);
    bool ArchiveFileTypeAssigned() const { return archiveTypeAssigned_; }
    bool Net() const { return net_; }
    virtual void SetNet(bool net) { net_ = net; }
    TCustomNetInstallLocation* NetLocation() const { return netLocation_; }
    virtual void SetNetLocation(TCustomNetInstallLocation* location);
    const std::string& LocalArchivePath() const { return localArchivePath_; }

    void SetContainer(TInstallContainer* container) override;

    // The full archive path: the archive specifier's path followed by
    // ArchiveFile, without a trailing backslash.
    virtual std::string GetArchivePath() const;
    virtual void DataReceived(const std::string& fileName, int32_t bytes, int32_t totalBytes, int32_t fileSize,
                              const char* buffer);
    // Fetches the object's archive ("<Name>.1") from its net install location
    // into a new temporary file, unless a recorded copy exists.
    virtual void DownloadArchive();
    virtual bool HasLocalArchive() const;
    // The object's own location; without one, that of its file container,
    // searched upwards; at the top, the driver's.
    TCustomNetInstallLocation* FindNetLocation() const;
    // Records a downloaded copy of the archive under the install record.
    virtual void StoreLocalArchive(const std::string& path);
    // The recorded downloaded copy of this object's archive when that file
    // exists; empty otherwise.
    std::string RecordedLocalArchive() const;

    TDataReceivedEvent OnDataReceived;

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

  protected:
    // Stores the archive specifier without validating it (for constructors).
    void AssignArchiveFileType(TCustomPathSpecifier* specifier);

    bool net_ = false;
    std::string localArchivePath_;

  private:
    bool archiveTypeAssigned_ = false;
    TlzhCommand addToArchive_ = TlzhCommand::lzcOverwrite;
    std::string archiveFile_;
    TCustomPathSpecifier* archiveFileType_ = nullptr;
    TCustomNetInstallLocation* netLocation_ = nullptr;
};

} // namespace sw
