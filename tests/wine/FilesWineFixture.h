// A file group under Wine, with its files made in a scratch folder and
// compressed into an archive by the engine; the real registry and files.
#pragma once

#include "EngineWineFixture.h"

#include "objects/FileContainer.h"
#include "objects/InstallFile.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

#include <string>
#include <vector>

namespace sw::test {

// The test servers built beside wine_tests.exe: a COM library, a COM
// program (which also holds a file open with /HOLD <file> <seconds>), and
// libraries that carry only a version resource.
inline constexpr const char* kComDll = "sw_com_dll.dll";
inline constexpr const char* kComExe = "sw_com_exe.exe";
inline constexpr const char* kComDllClass = "CLSID\\{5E7A1C2B-3F4D-4E5F-8A9B-0C1D2E3F4A5B}\\InprocServer32";
inline constexpr const char* kComExeClass = "CLSID\\{6F8B2D3C-4A5E-4F60-9BAC-1D2E3F4A5B6C}\\LocalServer32";
inline constexpr const char* kVersion1 = "versioned_1_0_0_0.dll";
inline constexpr const char* kVersion2 = "versioned_2_0_0_0.dll";
inline constexpr const char* kVersion2_10 = "versioned_2_0_0_10.dll";

inline constexpr const char* kFilesProduct =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\SetwrightFiles";
inline constexpr const char* kSharedDLLs = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

class FilesWineTest : public EngineWineTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    static IRegistry& Reg() { return *GetPlatform().Registry; }
    static IFileSystem& Files() { return *GetPlatform().Files; }

    // A source file with these contents, or a copy of a program built beside
    // the tests, added to the group.
    TInstallFile* AddFile(const std::string& name, const std::string& contents);
    TInstallFile* AddCopy(const std::string& built, const std::string& name);
    // A COM server stays beside the other files.
    void KeepInDest(TInstallFile* file);
    void Stamp(const std::string& path, const FileDateTime& when);

    std::string RegText(RegistryRoot root, const std::string& key, const std::string& name);
    // The EXE server registers itself in its own time.
    bool WaitForKey(RegistryRoot root, const std::string& key);
    std::optional<int32_t> Counter(const TInstallFile* file);

    TInstall* install_ = nullptr;
    TInstallFileGroup* group_ = nullptr;
    std::vector<TInstallFile*> files_;
    std::string here_, scratch_;
    bool keep_ = false;

  private:
    TInstallFile* AddSource(const std::string& path);
    void Clean();
    // What the files placed outside the scratch folder, and their counters.
    void RemovePlacedFiles();
};

} // namespace sw::test
