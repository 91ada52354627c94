#include "ToolPlatform.h"

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
#include "platform/posix/PosixPlatform.h"

struct TToolPlatform::TParts {
    sw::posix::PosixPlatform system;
};

sw::Platform TToolPlatform::Get() { return parts_->system.Get(); }

std::string TToolPlatform::EnginePath(const std::string& argument) const {
    if (auto path = parts_->system.Files().WindowsPath(argument))
        return *path;
    throw sw::Exception("Cannot name the path " + argument);
}
#endif

TToolPlatform::TToolPlatform() : parts_(std::make_unique<TParts>()) {}
TToolPlatform::~TToolPlatform() = default;
