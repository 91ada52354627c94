// Under Windows (Wine in the test tier): the version reader and the replace
// rules on real DLLs with real version resources, built beside this program,
// read through the system's version functions and through the portable
// reader.
#ifdef _WIN32
#include "archive/PlmrCompress.h"
#include "archive/VersionResource.h"
#include "platform/FileSystem.h"
#include "platform/VersionResources.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace sw;

namespace {

const char* const kDlls[] = {"versioned_1_0_0_0.dll", "versioned_2_0_0_0.dll", "versioned_2_0_0_10.dll"};

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.rfind('\\'));
}

class Win32ArchiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Platform p = real_.Get();
        p.Gui = nullptr;
        scoped_ = std::make_unique<ScopedPlatform>(p);
        scratch_ = files().TempDirectory() + "\\swarchive" + std::to_string(GetCurrentProcessId());
        files().ForceDirectories(scratch_);
        for (const char* dll : kDlls)
            ASSERT_TRUE(files().CopyFile(ProgramFolder() + "\\" + dll, At(dll), false)) << dll;
    }
    void TearDown() override {
        for (const auto& e : files().ListDirectory(scratch_, "*.*"))
            files().DeleteFile(At(e.Name));
        files().RemoveDirectory(scratch_);
    }

    IFileSystem& files() { return *GetPlatform().Files; }
    std::string At(const std::string& name) const { return scratch_ + "\\" + name; }
    void Stamp(const std::string& name, const FileDateTime& when) {
        ASSERT_TRUE(files().SetFileStamp(At(name), EncodeFileStamp(when)));
    }
    static TFileCompareResult ByName(const std::string& s, const std::string& d, TOverwriteType rule) {
        return TVersionResource::IsFileNewerByName(s, d, rule);
    }

    win32::Win32Platform real_;
    std::unique_ptr<ScopedPlatform> scoped_;
    std::string scratch_;
};

// Every text read through the given version functions.
std::vector<std::string> Texts(const std::string& path) {
    TOwned<TVersionResource> reader(new TVersionResource(nullptr));
    reader->SetFileName(path);
    std::vector<std::string> texts;
    for (const TPropInfo& p : reader->VersionInfo()->ClassInfo().Properties)
        texts.push_back(p.Name + "=" + p.GetString(*reader->VersionInfo()));
    return texts;
}

TEST_F(Win32ArchiveTest, PortableReaderAgreesWithTheSystem) {
    for (const char* dll : kDlls) {
        const std::vector<std::string> system = Texts(At(dll));
        TPortableVersionResources portable(files());
        real_.SetVersions(&portable);
        Platform p = real_.Get();
        p.Gui = nullptr;
        ScopedPlatform scoped(p);
        EXPECT_EQ(Texts(At(dll)), system) << dll;
        real_.SetVersions(nullptr);
    }
    TOwned<TVersionResource> reader(new TVersionResource(nullptr));
    reader->SetFileName(At("versioned_2_0_0_10.dll"));
    EXPECT_EQ(reader->VersionInfo()->FileVersion, "2.0.0.10");
    EXPECT_EQ(reader->VersionInfo()->ProductVersion, "2.0.0.10 beta");
    EXPECT_EQ(reader->VersionInfo()->CompanyName, "Setwright Tests");
    EXPECT_EQ(reader->VersionInfo()->FileType, "Dynamic-Link Library");
    EXPECT_EQ(reader->VersionInfo()->FileOS, "Windows NT with 32 bit Windows");
}

TEST_F(Win32ArchiveTest, ReplaceDecisionsOnRealFiles) {
    const std::string v1 = At("versioned_1_0_0_0.dll"), v2 = At("versioned_2_0_0_0.dll"),
                      v210 = At("versioned_2_0_0_10.dll");
    EXPECT_EQ(ByName(v2, v1, TOverwriteType::owVersion), TFileCompareResult::fcReplace);
    EXPECT_EQ(ByName(v1, v2, TOverwriteType::owVersion), TFileCompareResult::fcKeep);
    EXPECT_EQ(ByName(v210, v2, TOverwriteType::owVersion), TFileCompareResult::fcReplace);
    EXPECT_EQ(ByName(v2, v2, TOverwriteType::owVersion), TFileCompareResult::fcSame);
    EXPECT_EQ(ByName(v1, v2, TOverwriteType::owNever), TFileCompareResult::fcKeep);
    EXPECT_EQ(ByName(v1, v2, TOverwriteType::owAlways), TFileCompareResult::fcReplace);

    Stamp("versioned_1_0_0_0.dll", {2001, 1, 1, 12, 0, 0});
    Stamp("versioned_2_0_0_0.dll", {1999, 1, 1, 12, 0, 0});
    EXPECT_EQ(ByName(v1, v2, TOverwriteType::owDate), TFileCompareResult::fcReplace);
    EXPECT_EQ(ByName(v2, v1, TOverwriteType::owDate), TFileCompareResult::fcKeep);
    EXPECT_EQ(ByName(v1, v2, TOverwriteType::owVersionDate), TFileCompareResult::fcKeep); // the version decides
    EXPECT_EQ(ByName(v2, At("missing.dll"), TOverwriteType::owDate), TFileCompareResult::fcError);

    ASSERT_TRUE(files().CopyFile(v2, At("copy.dll"), false));
    Stamp("copy.dll", {2005, 5, 5, 5, 5, 4});
    EXPECT_EQ(ByName(At("copy.dll"), v2, TOverwriteType::owVersionDate), TFileCompareResult::fcReplace);
    EXPECT_EQ(ByName(v2, At("copy.dll"), TOverwriteType::owVersionDate), TFileCompareResult::fcKeep);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("2.0.0.0", At("copy.dll"), TOverwriteType::owVersionDate,
                                                     DateTimeToDayCount({2005, 5, 5, 5, 5, 4})),
              TFileCompareResult::fcSame);
}

TEST_F(Win32ArchiveTest, ExtractionKeepsANewerInstalledLibrary) {
    TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
    engine->SetCompressedFile(At("files.1"));
    engine->SetFilesToProcess({At("versioned_1_0_0_0.dll")});
    engine->AddFiles(TlzhCommand::lzcOverwrite, 3);
    files().CreateDirectory(At("app"));
    ASSERT_TRUE(files().CopyFile(At("versioned_2_0_0_0.dll"), At("app\\lib.dll"), false));

    engine->Overwrite = TOverwriteType::owVersion;
    engine->ExtractDirectory = At("app");
    engine->ExtractName = "lib.dll";
    engine->SetFilesToProcess({At("versioned_1_0_0_0.dll")});
    engine->ExtractFiles();
    TOwned<TVersionResource> reader(new TVersionResource(nullptr));
    reader->SetFileName(At("app\\lib.dll"));
    EXPECT_EQ(reader->VersionInfo()->FileVersion, "2.0.0.0");

    engine->Overwrite = TOverwriteType::owAlways;
    engine->ExtractName = "lib.dll";
    engine->SetFilesToProcess({At("versioned_1_0_0_0.dll")});
    engine->ExtractFiles();
    reader->SetFileName(At("app\\lib.dll"));
    EXPECT_EQ(reader->VersionInfo()->FileVersion, "1.0.0.0");
    EXPECT_EQ(files().GetFileStamp(At("app\\lib.dll")), files().GetFileStamp(At("versioned_1_0_0_0.dll")));
    files().DeleteFile(At("app\\lib.dll"));
    files().RemoveDirectory(At("app"));
}

} // namespace
#endif
