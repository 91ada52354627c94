#include "ContractBackends.h"

#include "platform/PlatformErrors.h"

#include <algorithm>
#include <memory>

using namespace sw;
using contract::kTestKey;

namespace {

template <typename Backend> class RegistryContract : public ::testing::Test {
  protected:
    IRegistry& reg() { return backend.Registry(); }
    static constexpr RegistryRoot HKCU = RegistryRoot::CurrentUser;

    std::vector<std::string> Sorted(std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    }

    Backend backend;
};

TYPED_TEST_SUITE(RegistryContract, contract::Backends, contract::BackendNames);

TYPED_TEST(RegistryContract, FindsSayMissingApartFromAnyStoredValue) {
    auto& r = this->reg();
    EXPECT_EQ(r.FindString(this->HKCU, kTestKey, "Name"), std::nullopt) << "no key";
    r.WriteString(this->HKCU, kTestKey, "Name", "");
    r.WriteInteger(this->HKCU, kTestKey, "Zero", 0);
    r.WriteBinary(this->HKCU, kTestKey, "None", {});
    EXPECT_EQ(r.FindString(this->HKCU, kTestKey, "Name"), std::optional<std::string>(""));
    EXPECT_EQ(r.FindInteger(this->HKCU, kTestKey, "Zero"), std::optional<int32_t>(0));
    EXPECT_EQ(r.FindBinary(this->HKCU, kTestKey, "None"), std::optional<std::vector<uint8_t>>(std::vector<uint8_t>{}));
    EXPECT_EQ(r.FindString(this->HKCU, kTestKey, "Missing"), std::nullopt) << "no value";
    EXPECT_EQ(r.FindInteger(this->HKCU, kTestKey, "Missing"), std::nullopt);
    EXPECT_EQ(r.FindBinary(this->HKCU, kTestKey, "Missing"), std::nullopt);
    EXPECT_EQ(r.FindString(this->HKCU, kTestKey, "Zero"), std::nullopt) << "a value of another kind";
    EXPECT_EQ(r.FindInteger(this->HKCU, kTestKey, "Name"), std::nullopt);
    EXPECT_EQ(r.FindBinary(this->HKCU, kTestKey, "Zero"), std::nullopt);
}

TYPED_TEST(RegistryContract, ValuesOfEachKindReadBackAsWritten) {
    auto& r = this->reg();
    r.WriteString(this->HKCU, kTestKey, "Path", "C:\\Program Files\\Caf\xE9");
    r.WriteInteger(this->HKCU, kTestKey, "Size", 123456);
    r.WriteInteger(this->HKCU, kTestKey, "Negative", -2);
    std::vector<uint8_t> bytes = {0, 1, 2, 0xFF, 0x80, 0};
    r.WriteBinary(this->HKCU, kTestKey, "Date", bytes);

    EXPECT_EQ(r.ReadString(this->HKCU, kTestKey, "Path", "none"), "C:\\Program Files\\Caf\xE9");
    EXPECT_EQ(r.ReadInteger(this->HKCU, kTestKey, "Size", -1), 123456);
    EXPECT_EQ(r.ReadInteger(this->HKCU, kTestKey, "Negative", 0), -2);
    EXPECT_EQ(r.ReadBinary(this->HKCU, kTestKey, "Date", {9}), bytes);
    EXPECT_EQ(r.ReadString(this->HKCU, kTestKey, "Empty", "dflt"), "dflt");
    r.WriteString(this->HKCU, kTestKey, "Empty", "");
    EXPECT_EQ(r.ReadString(this->HKCU, kTestKey, "Empty", "dflt"), "");
    // Values about and beyond the size of a first read.
    for (const size_t size : {255u, 256u, 257u, 5000u}) {
        const std::string text(size, 'L');
        const std::vector<uint8_t> data(size, 0xA5);
        r.WriteString(this->HKCU, kTestKey, "Long", text);
        EXPECT_EQ(r.FindString(this->HKCU, kTestKey, "Long"), text) << size;
        r.WriteBinary(this->HKCU, kTestKey, "LongData", data);
        EXPECT_EQ(r.FindBinary(this->HKCU, kTestKey, "LongData"), data) << size;
    }
}

TYPED_TEST(RegistryContract, AKeyHeldOpenIsCreatedAndSharesItsValuesWithThePathCalls) {
    auto& r = this->reg();
    const std::string sub = std::string(kTestKey) + "\\Held\\Open";
    std::unique_ptr<IRegistryKey> key = r.CreateOpenKey(this->HKCU, sub);
    EXPECT_TRUE(r.KeyExists(this->HKCU, sub));
    EXPECT_EQ(key->FindString("Entries"), std::nullopt);
    r.WriteString(this->HKCU, sub, "Entries", "7");
    r.WriteInteger(this->HKCU, sub, "Number", 7);
    EXPECT_EQ(key->FindString("Entries"), std::optional<std::string>("7")) << "a value written by path";
    EXPECT_EQ(key->FindString("Number"), std::nullopt) << "a value of another kind";
    key->WriteString("File8", std::string(300, 'x'));
    key->WriteString("Entries", "8");
    EXPECT_EQ(key->FindString("File8"), std::optional<std::string>(std::string(300, 'x')));
    key.reset();
    EXPECT_EQ(r.ReadString(this->HKCU, sub, "Entries", ""), "8");
    EXPECT_EQ(r.ReadString(this->HKCU, sub, "File8", ""), std::string(300, 'x'));
}

TYPED_TEST(RegistryContract, DefaultValueIsTheEmptyName) {
    auto& r = this->reg();
    r.WriteString(this->HKCU, kTestKey, "", "default text");
    EXPECT_EQ(r.ReadString(this->HKCU, kTestKey, "", "x"), "default text");
    EXPECT_TRUE(r.ValueExists(this->HKCU, kTestKey, ""));
}

TYPED_TEST(RegistryContract, ReadsReturnTheDefaultForMissingKeysValuesAndOtherKinds) {
    auto& r = this->reg();
    EXPECT_EQ(r.ReadString(this->HKCU, kTestKey + "\\Missing", "Path", "d"), "d");
    EXPECT_EQ(r.ReadInteger(this->HKCU, kTestKey + "\\Missing", "Size", 7), 7);
    r.WriteInteger(this->HKCU, kTestKey, "Number", 5);
    r.WriteString(this->HKCU, kTestKey, "Text", "5");
    EXPECT_EQ(r.ReadString(this->HKCU, kTestKey, "Number", "d"), "d");
    EXPECT_EQ(r.ReadInteger(this->HKCU, kTestKey, "Text", 9), 9);
    EXPECT_EQ(r.ReadBinary(this->HKCU, kTestKey, "Text", {1, 2}), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(r.ReadInteger(this->HKCU, kTestKey, "Nothing", 3), 3);
}

TYPED_TEST(RegistryContract, RewritingAValueReplacesItsKind) {
    auto& r = this->reg();
    r.WriteString(this->HKCU, kTestKey, "V", "text");
    r.WriteInteger(this->HKCU, kTestKey, "V", 12);
    EXPECT_EQ(r.ReadInteger(this->HKCU, kTestKey, "V", 0), 12);
    EXPECT_EQ(r.ReadString(this->HKCU, kTestKey, "V", "gone"), "gone");
    EXPECT_EQ(r.ValueNames(this->HKCU, kTestKey).size(), 1u);
}

TYPED_TEST(RegistryContract, PathsWithAndWithoutLeadingBackslashAndAnyCaseNameTheSameKey) {
    auto& r = this->reg();
    r.WriteString(this->HKCU, kTestKey + "\\Install\\Install0", "Path", "a");
    std::string bare = "software\\SETWRIGHTCONTRACT\\install\\INSTALL0";
    EXPECT_TRUE(r.KeyExists(this->HKCU, bare));
    EXPECT_EQ(r.ReadString(this->HKCU, bare, "PATH", ""), "a");
    r.WriteString(this->HKCU, bare + "\\", "path", "b");
    EXPECT_EQ(r.ReadString(this->HKCU, kTestKey + "\\Install\\Install0", "Path", ""), "b");
    EXPECT_EQ(r.ValueNames(this->HKCU, bare), std::vector<std::string>{"Path"});
}

TYPED_TEST(RegistryContract, CreateKeyMakesEveryLevelAndListsKeepTheNamesAsCreated) {
    auto& r = this->reg();
    EXPECT_FALSE(r.KeyExists(this->HKCU, kTestKey));
    r.CreateKey(this->HKCU, kTestKey + "\\A\\Deep\\Key");
    r.CreateKey(this->HKCU, kTestKey + "\\beta");
    r.CreateKey(this->HKCU, kTestKey + "\\a");
    EXPECT_TRUE(r.KeyExists(this->HKCU, kTestKey + "\\A\\Deep"));
    EXPECT_TRUE(r.HasSubKeys(this->HKCU, kTestKey));
    EXPECT_FALSE(r.HasSubKeys(this->HKCU, kTestKey + "\\beta"));
    EXPECT_FALSE(r.HasSubKeys(this->HKCU, kTestKey + "\\Missing"));
    EXPECT_EQ(this->Sorted(r.SubKeyNames(this->HKCU, kTestKey)), (std::vector<std::string>{"A", "beta"}));
    EXPECT_TRUE(r.SubKeyNames(this->HKCU, kTestKey + "\\Missing").empty());
    EXPECT_TRUE(r.ValueNames(this->HKCU, kTestKey + "\\Missing").empty());
}

TYPED_TEST(RegistryContract, ValueNamesListEveryValue) {
    auto& r = this->reg();
    r.WriteString(this->HKCU, kTestKey + "\\Unfinished", "Zeta", "0");
    r.WriteString(this->HKCU, kTestKey + "\\Unfinished", "C:\\TEMP\\BAT1.BAT", "1");
    r.WriteInteger(this->HKCU, kTestKey + "\\Unfinished", "alpha", 1);
    EXPECT_EQ(this->Sorted(r.ValueNames(this->HKCU, kTestKey + "\\Unfinished")),
              (std::vector<std::string>{"C:\\TEMP\\BAT1.BAT", "Zeta", "alpha"}));
}

TYPED_TEST(RegistryContract, DeleteKeyRemovesOnlyKeysWithoutSubkeys) {
    auto& r = this->reg();
    r.WriteString(this->HKCU, kTestKey + "\\Parent\\Child", "x", "y");
    EXPECT_FALSE(r.DeleteKey(this->HKCU, kTestKey + "\\Parent"));
    EXPECT_TRUE(r.KeyExists(this->HKCU, kTestKey + "\\Parent\\Child"));
    EXPECT_TRUE(r.DeleteKey(this->HKCU, kTestKey + "\\parent\\CHILD"));
    EXPECT_FALSE(r.KeyExists(this->HKCU, kTestKey + "\\Parent\\Child"));
    EXPECT_TRUE(r.DeleteKey(this->HKCU, kTestKey + "\\Parent"));
    EXPECT_FALSE(r.DeleteKey(this->HKCU, kTestKey + "\\Parent"));
    EXPECT_TRUE(r.KeyExists(this->HKCU, kTestKey));
}

TYPED_TEST(RegistryContract, DeleteValueReportsWhetherItExisted) {
    auto& r = this->reg();
    r.WriteInteger(this->HKCU, kTestKey, "Language", 4);
    EXPECT_TRUE(r.DeleteValue(this->HKCU, kTestKey, "LANGUAGE"));
    EXPECT_FALSE(r.ValueExists(this->HKCU, kTestKey, "Language"));
    EXPECT_FALSE(r.DeleteValue(this->HKCU, kTestKey, "Language"));
    EXPECT_FALSE(r.DeleteValue(this->HKCU, kTestKey + "\\Missing", "Language"));
}

TYPED_TEST(RegistryContract, RootsAreSeparateTrees) {
    auto& r = this->reg();
    r.WriteString(this->HKCU, kTestKey, "Where", "user");
    EXPECT_FALSE(r.ValueExists(RegistryRoot::ClassesRoot, kTestKey, "Where"));
    EXPECT_FALSE(r.DeleteKey(this->HKCU, ""));
}

} // namespace
