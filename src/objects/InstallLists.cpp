#include "objects/InstallLists.h"

#include "objects/InstallContainer.h"
#include "objects/InstallErrors.h"
#include "project/Text.h"

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

TInstallContainerList& InstallContainers() {
    static TInstallContainerList list;
    return list;
}

TCustomInstallFileList& InstallFiles() {
    static TCustomInstallFileList list;
    return list;
}

TCustomInstallFileList& RetryRegistrationFiles() {
    static TCustomInstallFileList list;
    return list;
}

void ResetInstallLists() {
    InstallContainers().Clear();
    InstallFiles().Clear();
    RetryRegistrationFiles().Clear();
}

} // namespace sw
