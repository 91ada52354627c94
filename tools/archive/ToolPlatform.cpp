#include "ToolPlatform.h"

#include "platform/SizeLimitedFiles.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"

struct TToolPlatform::TParts {
    sw::win32::Win32Platform system;
    std::unique_ptr<sw::SizeLimitedFiles> limited;
};

sw::Platform TToolPlatform::Get() {
    sw::Platform p = parts_->system.Get();
    p.Gui = nullptr;
    if (parts_->limited)
        p.Files = parts_->limited.get();
    return p;
}

std::string TToolPlatform::EnginePath(const std::string& argument) const { return argument; }

#else
#include "platform/posix/PosixPlatform.h"

struct TToolPlatform::TParts {
    sw::posix::PosixPlatform system;
    std::unique_ptr<sw::SizeLimitedFiles> limited;
};

sw::Platform TToolPlatform::Get() {
    sw::Platform p = parts_->system.Get();
    if (parts_->limited)
        p.Files = parts_->limited.get();
    return p;
}

std::string TToolPlatform::EnginePath(const std::string& argument) const {
    return parts_->system.WindowsPath(argument);
}
#endif

void TToolPlatform::LimitFileSizes(uint64_t bytes) {
    parts_->limited = std::make_unique<sw::SizeLimitedFiles>(*parts_->system.Get().Files, bytes);
}

TToolPlatform::TToolPlatform() : parts_(std::make_unique<TParts>()) {}
TToolPlatform::~TToolPlatform() = default;
