// The platform of the native tools and the benchmark: real Linux files (drive
// C: mapped onto "/") with the portable version reader over them, no GUI,
// and the fakes for the services the tools do not use.
#pragma once

#include "platform/Platform.h"
#include "platform/VersionResources.h"
#include "platform/fake/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "project/Errors.h"

#include <string>

namespace sw::posix {

class PosixPlatform {
  public:
    PosixPlatform() { files_.MapDrive('C', "/"); }
    PosixPlatform(const PosixPlatform&) = delete;
    PosixPlatform& operator=(const PosixPlatform&) = delete;

    PosixFileSystem& Files() { return files_; }
    // The fakes behind the other services.
    fake::FakePlatform& Others() { return others_; }

    // The Windows form of a Linux path; raises Exception when it has none.
    std::string WindowsPath(const std::string& posixPath) const {
        if (auto path = files_.WindowsPath(posixPath))
            return *path;
        throw Exception("Cannot name the path " + posixPath);
    }

    Platform Get() {
        Platform p = others_.Get();
        p.Files = &files_;
        p.Versions = &versions_;
        p.Gui = nullptr;
        return p;
    }

  private:
    fake::FakePlatform others_;
    PosixFileSystem files_;
    TPortableVersionResources versions_{files_};
};

} // namespace sw::posix
