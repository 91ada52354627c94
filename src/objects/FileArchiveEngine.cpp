#include "objects/FileArchiveEngine.h"

#include "archive/MainArchiveEngine.h"
#include "objects/InstallObject.h"
#include "project/Text.h"
#include "system/InstallDriverContext.h"

namespace sw {

std::string DriverArchivePath() {
    IInstallDriverContext* driver = InstallDriverContext();
    auto* container = driver ? dynamic_cast<TFileRelated*>(driver->DriverComponent()) : nullptr;
    return container ? container->GetArchivePath() : std::string();
}

TFileArchiveEngine::TFileArchiveEngine(const std::string& archivePath, bool mayUseMain)
    : temporary_(mayUseMain && SameText(archivePath, DriverArchivePath()) ? nullptr : new TPlmrCompress(nullptr)),
      engine_(temporary_.get() ? temporary_.get() : &MainArchiveEngine()) {}

} // namespace sw
