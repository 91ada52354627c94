// Build settings stored with the project. The program keeps and streams them;
// the build mode takes its directory from BUILD.INF instead.
#pragma once

#include "project/Persistent.h"

#include <string>

namespace sw {

class TBuildInfo : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    void Assign(const TBuildInfo& other);

    std::string AppName;
    std::string AppURL;
    std::string BuildDirectory = "c:\\build";
    std::string CredentialsFile;
    std::string OCXName = "qxsetup";
    std::string PrivateKeyFile;
    bool SignCode = false;
    std::string URLPath;
};

} // namespace sw
