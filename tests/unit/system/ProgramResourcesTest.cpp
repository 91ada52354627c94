// Form streams and bitmaps found among the running program's resources.
#include "unit/project/TestComponents.h"

#include "platform/fake/FakePlatform.h"
#include "project/ClassRegistry.h"
#include "project/Errors.h"
#include "project/StreamRecord.h"
#include "system/ProgramResources.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

std::string Form1WithThing() {
    TObjectRecord thing;
    thing.ClassName = "TTestThing";
    thing.Name = "Thing1";
    TObjectRecord root;
    root.ClassName = "TTestRoot";
    root.Name = "Form1";
    root.Children.push_back(thing);
    return WriteStreamRecords(root);
}

TEST(ProgramResourcesTest, AMissingResourceIsNamed) {
    fake::FakePlatform fake;
    ScopedPlatform installed(fake.Get());
    try {
        ReadComponentResource("TFORM1", nullptr);
        FAIL() << "no resource, yet a form was read";
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource TFORM1 not found");
    }
    EXPECT_THROW(LoadResourceBytes(ResourceType::Bitmap, "TFORM1"), EResNotFound);
}

TEST(ProgramResourcesTest, AFormStreamIsFoundWithoutRegardToCase) {
    RegisterTestClasses();
    fake::FakePlatform fake;
    ScopedPlatform installed(fake.Get());
    std::string bytes = Form1WithThing();
    fake.Resources().Add(ResourceType::RCData, "TFORM1", std::vector<uint8_t>(bytes.begin(), bytes.end()));
    TOwned<TComponent> root(ReadComponentResource("tform1", nullptr));
    EXPECT_NE(root->FindComponent("Thing1"), nullptr);
    EXPECT_EQ(LoadResourceBytes(ResourceType::RCData, "TForm1"), bytes);
    EXPECT_THROW(LoadResourceBytes(ResourceType::Bitmap, "TFORM1"), EResNotFound) << "types are kept apart";
}

} // namespace
} // namespace sw::test
