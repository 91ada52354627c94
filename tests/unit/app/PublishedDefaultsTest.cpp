// Every class the setup program registers declares as published defaults
// what its constructor sets, so no value is lost between writer and reader.
#include "app/SetupProgram.h"
#include "app/MainForm.h"
#include "platform/fake/FakePlatform.h"
#include "project/ProgramState.h"
#include "project/PublishedDefaults.h"
#include "shortcuts/ShellLinkGroups.h"
#include "support/ProgramStateForTests.h"
#include "support/SourceFiles.h"

#include <gtest/gtest.h>

#include <vector>

namespace sw {
namespace {

std::string Describe(const std::vector<TDefaultMismatch>& found) {
    std::string text;
    for (const TDefaultMismatch& m : found)
        text += "\n  " + m.Class + "." + m.Property + ": declared " + m.Declared + ", constructed " + m.Constructed;
    return text;
}

struct PublishedDefaultsTest : ::testing::Test {
    fake::FakePlatform fake;
    ScopedPlatform installed{fake.Get()};
    void SetUp() override {
        // The driver loads its dialog theme when it is made.
        std::string bmp = test::ReadSourceFile("src/resources/installtheme1.bmp");
        ASSERT_GT(bmp.size(), 14u);
        fake.Resources().Add(ResourceType::Bitmap, "INSTALLTHEME1", {bmp.begin() + 14, bmp.end()});
    }
    void TearDown() override { test::RenewProgramState(); }
};

TEST_F(PublishedDefaultsTest, EveryRegisteredClassDeclaresWhatItsConstructorSets) {
    RegisterAllClasses();
    // A fresh owner for each class, the previous one gone: some classes allow
    // one instance per project.
    TForm1* owner = nullptr;
    const std::vector<TDefaultMismatch> found = FindRegisteredDefaultMismatches([&](const TRegisteredClass& c) {
        TComponent::Free(owner);
        owner = new TForm1(nullptr);
        // Main-folder shortcuts and sub-folders need the main folder.
        if (c.Info->Name == "TInstallMainLink" || c.Info->Name == "TSubLinkGroup")
            new TMainLinkGroup(owner);
        return c.Create(owner);
    });
    TComponent::Free(owner);
    EXPECT_GT(ProgramPart<TClassRegistry>().Classes.size(), 40u);
    EXPECT_TRUE(found.empty()) << Describe(found);
}

} // namespace
} // namespace sw
