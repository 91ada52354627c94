// The folder a net location's archives take below a build folder.
#include "objects/FileContainer.h"
#include "objects/NetInstallLocation.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

std::string FolderOf(const std::string& host, const std::string& directory, TInternetProtocol protocol) {
    TOwned<TNetInstallLocation> location(new TNetInstallLocation(nullptr));
    location->LoginInformation()->Hostname = host;
    location->LoginInformation()->Directory = directory;
    location->LoginInformation()->Protocol = protocol;
    return NetFolderOf(*location);
}

TEST(NetFolderTest, CharactersAFolderCannotHoldAreLeftOut) {
    EXPECT_EQ(FolderOf("srv:8080", "a\\b*c?d\"e<f>g|h;i", TInternetProtocol::ipHTTP), "srv8080\\abcdefghi");
}

} // namespace
} // namespace sw::test
