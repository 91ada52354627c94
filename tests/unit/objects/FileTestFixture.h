// A driver with one file group, source files in the fake file system, and
// archives made by the archive engine through the group's compress pass.
#pragma once

#include "support/EngineFixture.h"
#include "support/ErrorOf.h"

#include "archive/MainArchiveEngine.h"
#include "objects/FileContainer.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "objects/InstallMessages.h"
#include "objects/InstallParameters.h"
#include "platform/FileSystem.h"
#include "system/InstallErrors.h"
#include "system/InstallRecord.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

#include <string>
#include <vector>

namespace sw::test {

inline constexpr const char* kProductKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool";

class FileTestFixture : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        form_ = LoadForm(kBasicForm);
        install_ = static_cast<TInstall*>(form_->FindComponent("Install1"));
        install_->Information()->ProductName = "Tool";
        group_ = new TInstallFileGroup(form_);
        group_->SetName("Group1");
        group_->SetContainer(install_);
        group_->SetDestDir("\\App");
        fake_.Files().ForceDirectories("C:\\Src");
    }

    // A source file of `size` bytes with its own contents.
    std::string PutSource(const std::string& name, size_t size, char fill = 'x') {
        const std::string path = "C:\\Src\\" + name;
        fake_.Files().PutFile(path, std::string(size, fill));
        return path;
    }
    TInstallFile* AddFile(const std::string& name, size_t size, char fill = 'x') {
        auto* file = new TInstallFile(form_, group_, PutSource(name, size, fill));
        file->SetName("File" + std::to_string(++files_));
        return file;
    }
    // Builds the group's archive from the sources.
    void Build() { group_->Compress(coForceNetFilesLocal | coIncludeExcluded); }
    std::string Archive() const { return group_->GetArchivePath(); }
    std::string Text(const std::string& path) { return fake_.Files().FileText(path); }
    bool Exists(const std::string& path) { return fake_.Files().FileExists(path); }
    std::string RegText(const std::string& key, const std::string& name) {
        return ReadRegString(RegistryRoot::LocalMachine, key, name, "<none>");
    }
    void UseWindowsNT() { fake_.System().SetVersion(OSVersion{4, 0, 1381, PlatformId::NT}); }

    TTestForm* form_ = nullptr;
    TInstall* install_ = nullptr;
    TInstallFileGroup* group_ = nullptr;
    int files_ = 0;
};

} // namespace sw::test
