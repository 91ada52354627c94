#include "objects/InstallLists.h"

#include "objects/InstallContainer.h"
#include "project/ProgramState.h"
#include "project/Text.h"
#include "system/InstallErrors.h"

namespace sw {

void TInstallContainerList::Add(TInstallContainer* container) {
    if (!container)
        throw IEContainerList("Cannot add a blank entry to the TInstallContainerList object");
    items_.push_back(container);
}

TInstallContainer* TInstallContainerList::FindByName(std::string_view name) const {
    for (TInstallContainer* c : items_)
        if (SameText(c->Name(), name))
            return c;
    return nullptr;
}

void TCustomInstallFileList::Add(TCustomInstallFile* file) {
    if (!file)
        throw IECustomInstallFileList("Cannot add a blank entry to the TCustomInstallFileList object");
    items_.push_back(file);
}

void TInstallRegistryList::Add(TCustomInstallRegistry* registry) {
    if (!registry)
        throw IEInstallRegistryList("Cannot add blank entry to the registry list");
    items_.push_back(registry);
}

TInstallObjectsState& InstallObjectsState() { return ProgramPart<TInstallObjectsState>(); }

TInstallContainerList& InstallContainers() { return InstallObjectsState().Containers; }

TCustomInstallFileList& InstallFiles() { return InstallObjectsState().Files; }

TCustomInstallFileList& RetryRegistrationFiles() { return InstallObjectsState().RetryRegistrationFiles; }

TInstallRegistryList& InstallRegistries() { return InstallObjectsState().Registries; }

} // namespace sw
