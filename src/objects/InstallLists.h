// The program-wide lists of live install containers and of file objects.
#pragma once

#include <string_view>
#include <vector>

namespace sw {

class TInstallContainer;
class TCustomInstallFile;

class TInstallContainerList {
  public:
    // Raises IEContainerList for none.
    void Add(TInstallContainer* container);
    void Remove(TInstallContainer* container);
    int Count() const { return static_cast<int>(items_.size()); }
    TInstallContainer* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    // The first container with that component name (without regard to case).
    TInstallContainer* FindByName(std::string_view name) const;
    void Clear() { items_.clear(); }

  private:
    std::vector<TInstallContainer*> items_;
};

class TCustomInstallFileList {
  public:
    // Raises IECustomInstallFileList for none.
    void Add(TCustomInstallFile* file);
    void Remove(TCustomInstallFile* file);
    int Count() const { return static_cast<int>(items_.size()); }
    TCustomInstallFile* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    void Clear() { items_.clear(); }

  private:
    std::vector<TCustomInstallFile*> items_;
};

TInstallContainerList& InstallContainers();
// Every live file object, in creation order.
TCustomInstallFileList& InstallFiles();
// Files whose ActiveX registration is to be retried at the end of the install.
TCustomInstallFileList& RetryRegistrationFiles();
// Empties the three lists (between tests).
void ResetInstallLists();

} // namespace sw
