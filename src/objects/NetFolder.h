// The folder a net location's archives take below a build folder.
#pragma once

#include <string>

namespace sw {

class TCustomNetInstallLocation;

// The host name, "\", then the directory, or for a blank directory the root
// name of the protocol ("FTP Root directory", "HTTP Root directory"). In
// both, "/" becomes "-" and the characters " * : ; < > ? \ | are left out.
std::string NetFolder(const TCustomNetInstallLocation& location);

} // namespace sw
