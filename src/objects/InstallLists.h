// The program-wide lists of live install containers, file objects and
// registry objects, and the identifier table.
#pragma once

#include "objects/FileIdentifiers.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace sw {

class TInstallContainer;
class TCustomInstallFile;

// An ordered list of objects it does not own.
template <class T> class TReferenceList {
  public:
    int Count() const { return static_cast<int>(items_.size()); }
    T* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    void Remove(T* item) {
        std::erase(items_, item);
        ++removals_;
    }
    bool Contains(const T* item) const { return std::find(items_.begin(), items_.end(), item) != items_.end(); }
    const std::vector<T*>& ItemList() const { return items_; }
    void Clear() {
        items_.clear();
        ++removals_;
    }
    // Counts Remove and Clear calls: a copy of the items taken at one count
    // holds live items only while the count stays.
    uint32_t Removals() const { return removals_; }

  protected:
    std::vector<T*> items_;
    uint32_t removals_ = 0;
};

class TInstallContainerList : public TReferenceList<TInstallContainer> {
  public:
    // Raises IEContainerList for none.
    void Add(TInstallContainer* container);
    // The first container with that component name (without regard to case).
    TInstallContainer* FindByName(std::string_view name) const;
};

class TCustomInstallFileList : public TReferenceList<TCustomInstallFile> {
  public:
    // Raises IECustomInstallFileList for none.
    void Add(TCustomInstallFile* file);
};

class TCustomInstallRegistry;

class TInstallRegistryList : public TReferenceList<TCustomInstallRegistry> {
  public:
    // Raises IEInstallRegistryList for none.
    void Add(TCustomInstallRegistry* registry);
};

class TCustomNetInstallLocation;

// The install objects' part of the program state.
struct TInstallObjectsState {
    TInstallContainerList Containers;
    // Every live file object, in creation order.
    TCustomInstallFileList Files;
    // Files whose ActiveX registration is to be retried at the end of the install.
    TCustomInstallFileList RetryRegistrationFiles;
    // Set by the install run when it starts: from then on a failed ActiveX
    // registration goes onto the retry list instead of failing at once.
    bool InstallRunStarted = false;
    // The first file that finishes loading clears the identifier table once.
    bool IdentifiersReloaded = false;
    // The location of the driver, used by objects that name none.
    TCustomNetInstallLocation* DefaultNetLocation = nullptr;
    TFileIdentifierTable Identifiers;
    // Every live registry object, in creation order.
    TInstallRegistryList Registries;
};
TInstallObjectsState& InstallObjectsState();

TInstallContainerList& InstallContainers();
TCustomInstallFileList& InstallFiles();
TCustomInstallFileList& RetryRegistrationFiles();
TInstallRegistryList& InstallRegistries();

} // namespace sw
