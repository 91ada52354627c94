#include "engine/BuildInfo.h"

namespace sw {

SW_CLASS_INFO(TBuildInfo, TPersistent, prop::String("AppName", &Self::AppName), prop::String("AppURL", &Self::AppURL),
              prop::String("BuildDirectory", &Self::BuildDirectory, std::nullopt),
              prop::String("CredentialsFile", &Self::CredentialsFile),
              prop::String("OCXName", &Self::OCXName, std::nullopt),
              prop::String("PrivateKeyFile", &Self::PrivateKeyFile), prop::Boolean("SignCode", &Self::SignCode, false),
              prop::String("URLPath", &Self::URLPath))

SW_CLASS_INFO(TInstallInformation, TPersistent, prop::String("CompanyName", &Self::CompanyName, std::nullopt),
              prop::String("ProductName", &Self::ProductName, std::nullopt),
              prop::String("Version", &Self::Version, std::nullopt))

void TBuildInfo::Assign(const TBuildInfo& other) {
    AppName = other.AppName;
    AppURL = other.AppURL;
    BuildDirectory = other.BuildDirectory;
    CredentialsFile = other.CredentialsFile;
    OCXName = other.OCXName;
    PrivateKeyFile = other.PrivateKeyFile;
    SignCode = other.SignCode;
    URLPath = other.URLPath;
}

} // namespace sw
