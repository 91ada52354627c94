// Registry helpers: defaults on reads, the install's error on writes, the
// recursive delete and unique RunOnce names.
#include "SystemFixture.h"

#include "system/InstallErrors.h"
#include "system/RegistryHelpers.h"

namespace sw::test {
namespace {

constexpr RegistryRoot kHklm = RegistryRoot::LocalMachine;

using RegistryHelpersTest = SystemFixture;

TEST_F(RegistryHelpersTest, ReadsGiveTheDefaultUnlessTheValueIsOfTheirType) {
    auto& reg = fake_.Registry();
    reg.WriteString(kHklm, "\\Software\\A", "Text", "");
    reg.WriteInteger(kHklm, "\\Software\\A", "Number", 7);
    EXPECT_EQ(ReadRegString(kHklm, "\\Software\\A", "Text", "d"), "");
    EXPECT_EQ(ReadRegString(kHklm, "\\Software\\A", "Number", "d"), "d");
    EXPECT_EQ(ReadRegString(kHklm, "\\Software\\Missing", "Text", "d"), "d");
    EXPECT_EQ(ReadRegInteger(kHklm, "\\Software\\A", "Number", -1), 7);
    EXPECT_EQ(ReadRegInteger(kHklm, "\\Software\\A", "Text", -1), -1);
    EXPECT_EQ(ReadRegIntegerValue(kHklm, "\\Software\\A", "Number"), 7);
    EXPECT_EQ(ReadRegIntegerValue(kHklm, "\\Software\\A", "Text"), std::nullopt);
    EXPECT_EQ(ReadRegIntegerValue(kHklm, "\\Software\\A", "None"), std::nullopt);
}

TEST_F(RegistryHelpersTest, WritesCreateTheKeyAndRaiseTheirOwnMessages) {
    WriteRegString(kHklm, "\\Software\\New\\Key", "Name", "Value");
    WriteRegInteger(kHklm, "\\Software\\New\\Key", "Count", 3);
    EXPECT_EQ(ReadRegString(kHklm, "\\Software\\New\\Key", "Name", ""), "Value");
    EXPECT_EQ(ReadRegInteger(kHklm, "\\Software\\New\\Key", "Count", 0), 3);
    fake_.Registry().FailNextWrites(2);
    EXPECT_EQ(ErrorOf<EIRCannotWriteValue>([] { WriteRegString(kHklm, "\\Software\\X", "Id", "V"); }),
              "Cannot install into registry. Key: \\Software\\X Ident: Id Value V");
    EXPECT_EQ(ErrorOf<EIRCannotWriteValue>([] { WriteRegInteger(kHklm, "\\Software\\X", "Id", 1); }), "\\Software\\X");
}

TEST_F(RegistryHelpersTest, DeleteKeyTreeGoesDepthFirstAndNeverTakesTheRoot) {
    auto& reg = fake_.Registry();
    reg.WriteString(kHklm, "\\Software\\Tree\\A\\B\\C", "v", "1");
    reg.WriteString(kHklm, "\\Software\\Tree\\D", "v", "1");
    reg.WriteString(kHklm, "\\Software\\Keep", "v", "1");
    DeleteRegKeyTree(kHklm, "\\Software\\Tree");
    EXPECT_FALSE(reg.KeyExists(kHklm, "\\Software\\Tree"));
    EXPECT_TRUE(reg.KeyExists(kHklm, "\\Software\\Keep"));
    DeleteRegKeyTree(kHklm, "\\Software\\Missing");
    DeleteRegKeyTree(kHklm, "");
    DeleteRegKeyTree(kHklm, "\\");
    EXPECT_TRUE(reg.KeyExists(kHklm, "\\Software\\Keep"));
}

TEST_F(RegistryHelpersTest, RunOnceNamesAreNumberedWhenUnique) {
    EXPECT_TRUE(AddRunOnce("PellmoorUnfinished", "a", true));
    EXPECT_TRUE(AddRunOnce("PellmoorUnfinished", "b", true));
    EXPECT_TRUE(AddRunOnce("PellmoorUnfinished", "c", true));
    auto& reg = fake_.Registry();
    EXPECT_EQ(reg.ReadString(kHklm, kRunOnceKey, "PellmoorUnfinished", ""), "a");
    EXPECT_EQ(reg.ReadString(kHklm, kRunOnceKey, "PellmoorUnfinished1", ""), "b");
    EXPECT_EQ(reg.ReadString(kHklm, kRunOnceKey, "PellmoorUnfinished2", ""), "c");
    EXPECT_TRUE(AddRunOnce("PellmoorUnfinished", "d", false));
    EXPECT_EQ(reg.ReadString(kHklm, kRunOnceKey, "PellmoorUnfinished", ""), "d");
    fake_.Registry().FailNextWrites(1);
    EXPECT_FALSE(AddRunOnce("PellmoorBatFile", "e", true));
    EXPECT_FALSE(reg.ValueExists(kHklm, kRunOnceKey, "PellmoorBatFile"));
}

TEST_F(RegistryHelpersTest, RootKeysMapBothWays) {
    EXPECT_EQ(RegistryRootOf(TRootKeys::hkCurrentConfig), RegistryRoot::CurrentConfig);
    EXPECT_EQ(RegistryRootOf(TRootKeys::hkUsers), RegistryRoot::Users);
    EXPECT_EQ(RootKeyOf(RegistryRoot::DynData, TRootKeys::hkUsers), TRootKeys::hkDynData);
    EXPECT_EQ(RootKeyOf(static_cast<RegistryRoot>(42), TRootKeys::hkCurrentUser), TRootKeys::hkCurrentUser);
    EXPECT_EQ(RootKeyNames().Names[static_cast<int>(TRootKeys::hkLocalMachine)], "hkLocalMachine");
}

} // namespace
} // namespace sw::test
