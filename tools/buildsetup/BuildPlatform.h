// The platform a setup program's build mode runs on under Linux: the native
// tools' platform (real files, the portable version reader, fakes for the
// rest) with drive Z: also mapped onto "/", as Wine maps Z: (paths without a
// drive start from the working folder); in memory the program's path and
// command line, a registry holding the library search path, and message
// boxes that are recorded instead of shown. The resources are those of the
// setup program's file.
#pragma once

#include "platform/Platform.h"
#include "platform/PortableResources.h"
#include "platform/posix/PosixPlatform.h"

#include <string>
#include <vector>

class TBuildPlatform {
  public:
    TBuildPlatform();
    TBuildPlatform(const TBuildPlatform&) = delete;
    TBuildPlatform& operator=(const TBuildPlatform&) = delete;

    // The Windows form of a Linux path; raises sw::Exception when it has none.
    std::string WindowsPath(const std::string& posixPath) const { return posix_.WindowsPath(posixPath); }
    // The program that runs: its path (Windows form), its arguments after it,
    // and the bytes of its file, which hold its resources.
    void SetProgram(const std::string& path, const std::string& arguments, std::string image);
    // The installer tool folder (Windows form) as the only library search path.
    void SetToolDirectory(const std::string& folder);
    // The texts of the message boxes the program showed, in order.
    std::vector<std::string> MessageBoxTexts();

    sw::Platform Get();

  private:
    sw::posix::PosixPlatform posix_;
    sw::TPortableResources resources_{""};
};
