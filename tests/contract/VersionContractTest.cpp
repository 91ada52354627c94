// The version reader: the portable reader through each file system backend,
// and under Windows the portable reader and queries against the system's own
// version functions on the same files.
#include "platform/VersionResources.h"

#include "ContractBackends.h"
#include "unit/platform/PeVersionTestImage.h"

#ifdef _WIN32
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32VersionResources.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#undef GetFileVersionInfo
#endif

using namespace sw;

namespace {

using test::BuildBlock;
using test::BuildNe;
using test::BuildPe;
using test::StandardVersionInfo;

const std::string kCompany = "\\StringFileInfo\\040904E4\\CompanyName";

template <typename Backend> class VersionContract : public ::testing::Test {
  protected:
    std::string At(const std::string& name) { return backend.Scratch() + "\\" + name; }

    std::string Put(const std::string& name, const std::string& bytes) {
        const std::string path = At(name);
        auto f = backend.Files().OpenFile(path, FileMode::Create);
        EXPECT_TRUE(f) << path;
        if (f)
            f->Write(bytes.data(), bytes.size());
        return path;
    }

    Backend backend;
};

TYPED_TEST_SUITE(VersionContract, contract::FileBackends, contract::BackendNames);

TYPED_TEST(VersionContract, PortableReaderFindsTheBlockOfAFile) {
    TPortableVersionResources versions(this->backend.Files());
    const std::string block = BuildBlock(StandardVersionInfo());
    const auto found = versions.GetFileVersionInfo(this->Put("ver32.dll", BuildPe({{16, 1, 0x409, block}}).Bytes));
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, block);
    EXPECT_EQ(QueryStringValue(*found, kCompany), "Setwright Test Company");

    const std::string block16 = BuildBlock(StandardVersionInfo(), true);
    const auto found16 = versions.GetFileVersionInfo(this->Put("ver16.dll", BuildNe({{16, 1, 0, block16}}).Bytes));
    ASSERT_TRUE(found16);
    EXPECT_EQ(found16->substr(0, block16.size()), block16);
    ASSERT_TRUE(QueryFixedFileInfo(*found16));
    EXPECT_EQ(QueryFixedFileInfo(*found16)->FileVersionMS, 0x00010002u);
}

TYPED_TEST(VersionContract, PortableReaderFindsNothingWithoutABlock) {
    TPortableVersionResources versions(this->backend.Files());
    EXPECT_FALSE(versions.GetFileVersionInfo(this->At("missing.dll")));
    EXPECT_FALSE(versions.GetFileVersionInfo(this->backend.Scratch()));
    EXPECT_FALSE(versions.GetFileVersionInfo(this->Put("empty.dll", "")));
    EXPECT_FALSE(versions.GetFileVersionInfo(this->Put("plain.dll", BuildPe({}).Bytes)));
    EXPECT_FALSE(versions.GetFileVersionInfo(this->Put("readme.txt", std::string(200, 'x'))));
    const std::string cut = BuildPe({{16, 1, 0x409, BuildBlock(StandardVersionInfo())}}).Bytes.substr(0, 0x500);
    EXPECT_FALSE(versions.GetFileVersionInfo(this->Put("cut.dll", cut)));
}

#ifdef _WIN32

// The system's answers for a block from GetFileVersionInfoA. VerQueryValueA
// writes converted text into the block's spare room, so each takes a copy.
std::optional<TFixedFileInfo> SystemFixedInfo(std::string block) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    uint32_t f[13];
    std::memcpy(f, value, sizeof f);
    return TFixedFileInfo{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[11], f[12]};
}

std::optional<std::string> SystemString(std::string block, const std::string& path) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), &value, &length))
        return std::nullopt;
    const char* text = static_cast<const char*>(value);
    return std::string(text, strnlen(text, length));
}

std::optional<std::vector<uint32_t>> SystemTranslations(std::string block) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length))
        return std::nullopt;
    std::vector<uint32_t> list(length / 4);
    std::memcpy(list.data(), value, list.size() * 4);
    return list;
}

// The system converts text through the code page, which may give a
// character of its own where the portable reader has '?' (a code unit above
// 0xFF); every other byte must be the same.
bool SameText8(const std::optional<std::string>& mine, const std::optional<std::string>& system) {
    if (!mine || !system)
        return mine.has_value() == system.has_value();
    if (mine->size() != system->size())
        return false;
    for (size_t i = 0; i < mine->size(); ++i)
        if ((*mine)[i] != (*system)[i] && (*mine)[i] != '?')
            return false;
    return true;
}

std::string TablePath(uint32_t translation) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%04X%04X", translation & 0xFFFF, translation >> 16);
    return std::string("\\StringFileInfo\\") + hex + "\\";
}

class VersionAgainstSystem : public ::testing::Test {
  protected:
    std::string Put(const std::string& name, const std::string& bytes) {
        const std::string path = backend.Scratch() + "\\" + name;
        auto f = backend.Files().OpenFile(path, FileMode::Create);
        EXPECT_TRUE(f) << path;
        if (f)
            f->Write(bytes.data(), bytes.size());
        return path;
    }

    // Both readers find a block or both find none; on a block, every query
    // answers the same. Returns how many string paths were found.
    int ExpectSameAnswers(const std::string& path) {
        SCOPED_TRACE(path);
        const auto mine = portable.GetFileVersionInfo(path);
        const auto theirs = system.GetFileVersionInfo(path);
        EXPECT_EQ(mine.has_value(), theirs.has_value());
        if (!mine || !theirs)
            return 0;
        if (mine->size() >= 2) {
            const size_t length = static_cast<uint8_t>((*mine)[0]) | static_cast<uint8_t>((*mine)[1]) << 8;
            EXPECT_EQ(theirs->substr(0, length), mine->substr(0, length));
        }
        const auto fixed = QueryFixedFileInfo(*mine);
        EXPECT_EQ(fixed, SystemFixedInfo(*theirs));
        EXPECT_EQ(fixed, QueryFixedFileInfo(*theirs));
        const auto translations = QueryTranslations(*mine);
        EXPECT_EQ(translations, SystemTranslations(*theirs));

        std::vector<uint32_t> tables = translations.value_or(std::vector<uint32_t>{});
        if (std::find(tables.begin(), tables.end(), 0x04E40409u) == tables.end())
            tables.push_back(0x04E40409);
        int found = 0;
        for (uint32_t t : tables)
            for (const char* name : {"Comments", "CompanyName", "FileDescription", "FileVersion", "InternalName",
                                     "LegalCopyright", "LegalTrademarks", "OriginalFilename", "PrivateBuild",
                                     "ProductName", "ProductVersion", "SpecialBuild", "NoSuchName", ""}) {
                const std::string key = TablePath(t) + name;
                const auto text = QueryStringValue(*mine, key);
                EXPECT_PRED2(SameText8, text, SystemString(*theirs, key)) << key;
                EXPECT_EQ(text, QueryStringValue(*theirs, key)) << key;
                found += text.has_value();
            }
        return found;
    }

    contract::Win32Backend backend;
    TPortableVersionResources portable{backend.Files()};
    win32::Win32VersionResources system;
};

TEST_F(VersionAgainstSystem, RunningProgramHasNoVersion) {
    char self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, self, sizeof self), 0u);
    EXPECT_FALSE(portable.GetFileVersionInfo(self));
    EXPECT_FALSE(system.GetFileVersionInfo(self));
}

TEST_F(VersionAgainstSystem, BuiltImages) {
    const std::string block = BuildBlock(StandardVersionInfo());
    EXPECT_EQ(ExpectSameAnswers(Put("pe32.dll", BuildPe({{10, 7, 0x409, "data"}, {16, 1, 0x409, block}}).Bytes)), 9);
    EXPECT_EQ(ExpectSameAnswers(Put("pe64.dll", BuildPe({{16, 1, 0, block}}, true).Bytes)), 9);
    const std::string block16 = BuildBlock(StandardVersionInfo(), true);
    EXPECT_EQ(ExpectSameAnswers(Put("ne.dll", BuildNe({{16, 1, 0, block16}}).Bytes)), 9);
    EXPECT_EQ(ExpectSameAnswers(Put("none.dll", BuildPe({}).Bytes)), 0);
    EXPECT_EQ(ExpectSameAnswers(Put("name2.dll", BuildPe({{16, 2, 0x409, block}}).Bytes)), 0);

    // Between languages both take US English.
    test::TFixedFields german;
    german.FileLS = 0x00030007;
    const std::string germanBlock = BuildBlock(StandardVersionInfo(german));
    const std::string both = Put("langs.dll", BuildPe({{16, 1, 0x407, germanBlock}, {16, 1, 0x409, block}}).Bytes);
    EXPECT_EQ(ExpectSameAnswers(both), 9);
    ASSERT_TRUE(portable.GetFileVersionInfo(both));
    EXPECT_EQ(QueryFixedFileInfo(*portable.GetFileVersionInfo(both))->FileVersionLS, 0x00030004u);
}

TEST_F(VersionAgainstSystem, SystemLibraries) {
    char folder[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryA(folder, sizeof folder), 0u);
    int found = 0;
    for (const char* name : {"kernel32.dll", "user32.dll", "comctl32.dll", "version.dll", "shell32.dll"})
        found += ExpectSameAnswers(std::string(folder) + "\\" + name);
    EXPECT_GT(found, 0);
    EXPECT_TRUE(portable.GetFileVersionInfo(std::string(folder) + "\\kernel32.dll"));
}

#endif

} // namespace
