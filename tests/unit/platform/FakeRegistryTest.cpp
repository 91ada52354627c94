#include "platform/fake/FakeRegistry.h"

#include "platform/PlatformErrors.h"

#include <gtest/gtest.h>

using namespace sw;
using Names = std::vector<std::string>;

namespace {
constexpr RegistryRoot HKLM = RegistryRoot::LocalMachine;
}

TEST(FakeRegistry, FailsExactlyTheNextWrites) {
    fake::FakeRegistry reg;
    reg.WriteString(HKLM, "\\SOFTWARE\\Pellmoor\\Install", "Path", "old");
    reg.FailNextWrites(2);
    EXPECT_THROW(reg.WriteString(HKLM, "\\SOFTWARE\\Pellmoor\\Install", "Path", "new"), ERegistryError);
    EXPECT_THROW(reg.WriteInteger(HKLM, "\\SOFTWARE\\Pellmoor\\Install", "Size", 1), ERegistryError);
    EXPECT_EQ(reg.ReadString(HKLM, "\\SOFTWARE\\Pellmoor\\Install", "Path", ""), "old");
    EXPECT_FALSE(reg.ValueExists(HKLM, "\\SOFTWARE\\Pellmoor\\Install", "Size"));
    reg.WriteInteger(HKLM, "\\SOFTWARE\\Pellmoor\\Install", "Size", 1);
    EXPECT_EQ(reg.ReadInteger(HKLM, "\\SOFTWARE\\Pellmoor\\Install", "Size", 0), 1);
}

TEST(FakeRegistry, AFailedKeyCreationLeavesNoKey) {
    fake::FakeRegistry reg;
    reg.FailNextWrites(1);
    EXPECT_THROW(reg.WriteString(HKLM, "\\Software\\New\\Deep", "a", "b"), ERegistryError);
    EXPECT_FALSE(reg.KeyExists(HKLM, "\\Software"));
    reg.FailNextWrites(1);
    try {
        reg.CreateKey(HKLM, "\\Software");
        ADD_FAILURE() << "the key was created";
    } catch (const ERegistryError& e) {
        EXPECT_EQ(e.Code, 5u) << "the system's code (access denied) comes back with the failure";
    }
    reg.CreateKey(HKLM, "\\Software");
    EXPECT_TRUE(reg.KeyExists(HKLM, "\\Software"));
}

TEST(FakeRegistry, SubkeysListSortedAndValuesInWriteOrder) {
    fake::FakeRegistry reg;
    for (const char* name : {"Install2", "install1", "Install10", "Install0"})
        reg.CreateKey(HKLM, std::string("\\SOFTWARE\\Pellmoor\\Install\\") + name);
    EXPECT_EQ(reg.SubKeyNames(HKLM, "\\SOFTWARE\\Pellmoor\\Install"),
              (Names{"Install0", "install1", "Install10", "Install2"}));
    for (const char* name : {"Zeta", "alpha", "Mid"})
        reg.WriteString(HKLM, "\\Unfinished", name, "1");
    reg.WriteString(HKLM, "\\Unfinished", "ALPHA", "0");
    EXPECT_EQ(reg.ValueNames(HKLM, "\\Unfinished"), (Names{"Zeta", "alpha", "Mid"}));
}
