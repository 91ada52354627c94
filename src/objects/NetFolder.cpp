#include "objects/NetFolder.h"

#include "objects/NetInstallLocation.h"
#include "project/Text.h"

#include <cstring>

namespace sw {

namespace {

std::string FolderText(const std::string& text) {
    std::string folder;
    for (char c : text) {
        if (c == '/')
            folder += '-';
        else if (!std::strchr("\"*:;<>?\\|", c))
            folder += c;
    }
    return folder;
}

} // namespace

std::string NetFolder(const TCustomNetInstallLocation& location) {
    const TCustomLoginInformation& login = *location.LoginInformation();
    const std::string directory =
        Trim(login.Directory).empty()
            ? (login.Protocol == TInternetProtocol::ipFTP ? "FTP Root directory" : "HTTP Root directory")
            : FolderText(login.Directory);
    return FolderText(login.Hostname) + "\\" + directory;
}

} // namespace sw
