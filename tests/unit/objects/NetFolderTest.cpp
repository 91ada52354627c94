// The folder a net location's archives take below a build folder.
#include "objects/NetFolder.h"
#include "objects/NetInstallLocation.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

std::string FolderOf(const std::string& host, const std::string& directory, TInternetProtocol protocol) {
    TOwned<TNetInstallLocation> location(new TNetInstallLocation(nullptr));
    location->LoginInformation()->Hostname = host;
    location->LoginInformation()->Directory = directory;
    location->LoginInformation()->Protocol = protocol;
    return NetFolder(*location);
}

TEST(NetFolderTest, SlashesBecomeDashesAndABlankDirectoryNamesTheProtocolsRoot) {
    EXPECT_EQ(FolderOf("Srv1", "/pub/app/", TInternetProtocol::ipHTTP), "Srv1\\-pub-app-");
    EXPECT_EQ(FolderOf("Srv1", "", TInternetProtocol::ipFTP), "Srv1\\FTP Root directory");
    EXPECT_EQ(FolderOf("Srv1", "  ", TInternetProtocol::ipHTTP), "Srv1\\HTTP Root directory");
}

TEST(NetFolderTest, CharactersAFolderCannotHoldAreLeftOut) {
    EXPECT_EQ(FolderOf("srv:8080", "a\\b*c?d\"e<f>g|h;i", TInternetProtocol::ipHTTP), "srv8080\\abcdefghi");
}

} // namespace
} // namespace sw::test
