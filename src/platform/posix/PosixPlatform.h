// The platform of the native tools and the benchmark: real Linux files (drive
// C: mapped onto "/") with the portable version reader over them, no GUI,
// and the fakes for the services the tools do not use.
#pragma once

#include "platform/Platform.h"
#include "platform/VersionResources.h"
#include "platform/fake/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"

namespace sw::posix {

class PosixPlatform {
  public:
    PosixPlatform() { files_.MapDrive('C', "/"); }
    PosixPlatform(const PosixPlatform&) = delete;
    PosixPlatform& operator=(const PosixPlatform&) = delete;

    PosixFileSystem& Files() { return files_; }

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
