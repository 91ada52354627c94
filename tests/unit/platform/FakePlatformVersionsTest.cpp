#include "unit/platform/PeVersionTestImage.h"

#include "platform/VersionResources.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

TEST(FakePlatformVersions, ReadsVersionBlocksOfFilesInTheFakeTree) {
    fake::FakePlatform fake;
    IVersionResources* versions = fake.Get().Versions.get();
    ASSERT_NE(versions, nullptr);
    fake.Files().PutFile("C:\\WINDOWS\\SYSTEM\\LIB.DLL",
                         BuildPe({{16, 1, 0x0409, BuildBlock(StandardVersionInfo())}}).Bytes);
    fake.Files().PutFile("C:\\WINDOWS\\SYSTEM\\PLAIN.DLL", BuildPe({}).Bytes);
    auto block = versions->GetFileVersionInfo("c:\\windows\\system\\lib.dll");
    ASSERT_TRUE(block);
    auto fixed = QueryFixedFileInfo(*block);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->FileVersionMS, 0x00010002u);
    EXPECT_FALSE(versions->GetFileVersionInfo("C:\\WINDOWS\\SYSTEM\\PLAIN.DLL"));
    EXPECT_FALSE(versions->GetFileVersionInfo("C:\\NOWHERE.DLL"));
}

} // namespace
} // namespace sw::test
