// The replace decision of an installed file under Wine: a library with a
// real version resource, extracted from an archive over real files of an
// older, equal and newer version and date, under every overwrite mode.
#include "FilesWineFixture.h"

#include "system/SystemHelpers.h"

#include <array>

namespace sw::test {
namespace {

// The packed library is version 2.0.0.0 of this date.
const FileDateTime kPacked{2002, 2, 2, 12, 0, 0};
const FileDateTime kEarlier{2001, 1, 1, 12, 0, 0};
const FileDateTime kLater{2003, 3, 3, 12, 0, 0};

// In the order of TOverwriteType: owAlways, owNever, owVersion, owDate, owVersionDate.
constexpr size_t kModes = 5;

// What stands at the destination, and whether each mode replaces it.
struct Existing {
    const char* What;
    const char* Library; // nullptr: nothing there
    FileDateTime Date;
    std::array<bool, kModes> Replaced;
};

const Existing kExisting[] = {
    {"nothing", nullptr, {}, {true, true, true, true, true}},
    {"an older version of a later date", kVersion1, kLater, {true, false, true, false, true}},
    {"the same version of an earlier date", kVersion2, kEarlier, {true, false, false, true, true}},
    {"the same version of the same date", kVersion2, kPacked, {true, false, false, false, false}},
    {"the same version of a later date", kVersion2, kLater, {true, false, false, false, false}},
    {"a newer version of an earlier date", kVersion2_10, kEarlier, {true, false, false, true, false}},
};

using FileReplaceWineTest = FilesWineTest;

TEST_F(FileReplaceWineTest, EachOverwriteModeKeepsOrReplacesRealFiles) {
    TInstallFile* file = AddCopy(kVersion2, "lib.dll");
    file->SetUpdateDLLCounter(true);
    Stamp(file->SourcePath(), kPacked);
    group_->Compress(coForceNetFilesLocal | coIncludeExcluded);
    const std::string packed = Text(file->SourcePath());
    int replacing = 0;
    group_->OnReplacing = TInstallFileNotifyEvent("", [&](TCustomInstallFile*) { ++replacing; });

    for (size_t e = 0; e < std::size(kExisting); ++e) {
        const Existing& existing = kExisting[e];
        for (size_t m = 0; m < kModes; ++m) {
            const std::string folder = scratch_ + "\\case" + std::to_string(e) + std::to_string(m);
            const std::string dest = folder + "\\lib.dll";
            Files().ForceDirectories(folder);
            std::string before;
            if (existing.Library) {
                // A mark at the end tells the file from the packed one of the same version and date.
                ASSERT_TRUE(Files().CopyFile(here_ + "\\" + existing.Library, dest, false));
                {
                    std::unique_ptr<IFile> f = Files().OpenFile(dest, FileMode::ReadWrite);
                    f->Seek(0, SeekOrigin::End);
                    f->Write("existing", 8);
                }
                Stamp(dest, existing.Date);
                before = Text(dest);
            }
            group_->SetDestDir(folder);
            file->SetOverwriteMode(static_cast<TOverwriteType>(m));
            replacing = 0;
            group_->Install();

            const bool replaced = existing.Replaced[m];
            const std::string on = std::string(OverwriteTypeNames().Names[m]) + " over " + existing.What;
            EXPECT_EQ(file->Replaced(), replaced) << on;
            EXPECT_EQ(replacing, replaced ? 1 : 0) << on;
            EXPECT_TRUE(Text(dest) == (replaced ? packed : before)) << on << ": not the expected bytes";
            EXPECT_EQ(Files().GetFileStamp(dest), EncodeFileStamp(replaced ? kPacked : existing.Date)) << on;
            // Kept or replaced, the library is counted.
            EXPECT_EQ(Counter(file), 1) << on;
            EXPECT_EQ(Files().ListDirectory(folder, "*.*").size(), 1u) << on << ": a stray file";
            Reg().DeleteValue(kHklm, kSharedDLLs, dest);
        }
    }
}

} // namespace
} // namespace sw::test
