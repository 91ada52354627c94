#include "ToolPlatform.h"

#include "platform/VersionResources.h"
#include "project/Errors.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"

struct TToolPlatform::TParts {
    sw::win32::Win32Platform system;
};

sw::Platform TToolPlatform::Get() {
    sw::Platform p = parts_->system.Get();
    p.Gui = nullptr;
    return p;
}

std::string TToolPlatform::EnginePath(const std::string& argument) const { return argument; }

#else
#include "platform/fake/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"

// Linux files through drive C: mapped onto "/"; the other services, which
// the archive engine does not use, are the fakes.
struct TToolPlatform::TParts {
    TParts() { files.MapDrive('C', "/"); }
    sw::fake::FakePlatform others;
    sw::posix::PosixFileSystem files;
    sw::TPortableVersionResources versions{files};
};

sw::Platform TToolPlatform::Get() {
    sw::Platform p = parts_->others.Get();
    p.Files = &parts_->files;
    p.Versions = &parts_->versions;
    p.Gui = nullptr;
    return p;
}

std::string TToolPlatform::EnginePath(const std::string& argument) const {
    if (auto path = parts_->files.WindowsPath(argument))
        return *path;
    throw sw::Exception("Cannot name the path " + argument);
}
#endif

TToolPlatform::TToolPlatform() : parts_(std::make_unique<TParts>()) {}
TToolPlatform::~TToolPlatform() = default;
