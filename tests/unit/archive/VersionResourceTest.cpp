// The version reader's texts and the replace decisions of every rule.
#include "ArchiveFixture.h"

#include "platform/FileStamp.h"
#include "project/Text.h"

using namespace sw;
using archive_test::ArchiveTest;
using archive_test::VersionedImage;

namespace {

int Compare(const std::string& a, const std::string& b) { return TVersionResource::CompareVersions(a, b); }

TEST(CompareVersions, PiecesCompareAsNumbersOrBytes) {
    EXPECT_LT(Compare("1.2", "1.2.0.0"), 0); // the second still has pieces
    EXPECT_GT(Compare("1.2.0.0", "1.2"), 0);
    EXPECT_GT(Compare("1.10", "1.9"), 0);
    EXPECT_LT(Compare("1.9", "1.10"), 0);
    EXPECT_GT(Compare("1.0b", "1.0a"), 0);
    EXPECT_LT(Compare("1.0A", "1.0a"), 0); // case-sensitive, ordinal
    EXPECT_EQ(Compare("1.2.3.4", "1.2.3.4"), 0);
    EXPECT_EQ(Compare("01.2", "1.02"), 0); // equal as integers
    EXPECT_EQ(Compare("", ""), 0);
    EXPECT_LT(Compare("", "0"), 0); // no version is older than any version
    EXPECT_GT(Compare("1", ""), 0);
    EXPECT_GT(Compare("2", "10a"), 0);     // "10a" is no integer: "2" > "10a" as bytes
    EXPECT_GT(Compare("\xE9", "z"), 0);    // bytes compare unsigned
    EXPECT_EQ(Compare("1..2", "1..3"), 0); // both pieces empty: equal from there on
}

class VersionResourceTest : public ArchiveTest {};

TEST_F(VersionResourceTest, ReadsFixedInformationAndTheStringTable) {
    Put("C:\\SRC\\A.DLL", VersionedImage(0x00020003, 0x00040005));
    TOwned<TVersionResource> reader(new TVersionResource(nullptr));
    reader->SetFileName("C:\\SRC\\A.DLL");
    const TVersionInfo& info = *reader->VersionInfo();
    EXPECT_EQ(info.FileVersion, "2.3.4.5");
    EXPECT_EQ(info.ProductVersion, "5.6 beta"); // the string replaces the numeric 5.6.7.8
    EXPECT_EQ(info.CompanyName, "Setwright Test Company");
    EXPECT_EQ(info.FileDescription, "Version test image");
    EXPECT_EQ(info.InternalName, "verimage");
    EXPECT_EQ(info.LegalCopyright, "\xA9 1999 ? Ltd");
    EXPECT_EQ(info.ProductName, "Setwright");
    EXPECT_EQ(info.Comment, "");
    EXPECT_EQ(info.FileOS, "Windows NT with 32 bit Windows");
    EXPECT_EQ(info.FileType, "Application");
    EXPECT_EQ(info.FileSubType, "");
    EXPECT_EQ(reader->StringTablePath(), "\\StringFileInfo\\040904E4\\");

    // Another language finds no strings; the fixed texts stay.
    reader->SetLanguage(TLanguage::lnGerman);
    EXPECT_EQ(reader->StringTablePath(), "\\StringFileInfo\\040704E4\\");
    EXPECT_EQ(info.CompanyName, "");
    EXPECT_EQ(info.FileVersion, "2.3.4.5");
    EXPECT_EQ(info.ProductVersion, "5.6.7.8");
    reader->SetCharacterSet(TCharacterSet::csUnicode);
    EXPECT_EQ(reader->StringTablePath(), "\\StringFileInfo\\040704B0\\");
    reader->SetLanguage(TLanguage::lnSwissFrench);
    reader->SetCharacterSet(TCharacterSet::csASCII);
    EXPECT_EQ(reader->StringTablePath(), "\\StringFileInfo\\100C0000\\");
}

TEST_F(VersionResourceTest, FileTypesSubtypesAndSystems) {
    struct Case {
        uint32_t os, type, subtype;
        const char *osText, *typeText, *subText;
    };
    const Case cases[] = {{1, 3, 1, "Windows 3.0 or later", "Device Driver", "Printer"},
                          {4, 3, 10, "32 bit Windows", "Device Driver", "Communications"},
                          {0x10000, 3, 11, "MS-Dos", "Device Driver", "Unknown"},
                          {0x30003, 4, 3, "32 bit OS/2 with Presentation Manager", "Font", "TrueType"},
                          {0x40000, 4, 0, "Windows NT", "Font", "Unknown"},
                          {0x20002, 7, 5, "16 bit OS/2 with Presentation Manager", "Static-Link Library", ""},
                          {99, 6, 1, "Unknown", "Unknown", ""}};
    for (const Case& c : cases) {
        test::TFixedFields fields;
        fields.OS = c.os, fields.Type = c.type, fields.Subtype = c.subtype;
        Put("C:\\SRC\\T.DLL",
            test::BuildPe({{16, 1, 0x409, test::BuildBlock(test::StandardVersionInfo(fields))}}).Bytes);
        TVersionResource& reader = SharedVersionResource();
        reader.SetFileName("C:\\SRC\\T.DLL");
        EXPECT_EQ(reader.VersionInfo()->FileOS, c.osText);
        EXPECT_EQ(reader.VersionInfo()->FileType, c.typeText);
        EXPECT_EQ(reader.VersionInfo()->FileSubType, c.subText);
    }
}

TEST_F(VersionResourceTest, FilesWithoutAResourceReadAsEmptyTexts) {
    Put("C:\\SRC\\PLAIN.EXE", test::BuildPe({}).Bytes);
    Put("C:\\SRC\\README.TXT", "hello");
    TOwned<TVersionResource> reader(new TVersionResource(nullptr));
    EXPECT_EQ(reader->FileName(), platform.System().ModulePath());
    for (const char* path : {"C:\\SRC\\PLAIN.EXE", "C:\\SRC\\README.TXT", "C:\\SRC\\MISSING.DLL", ""}) {
        reader->SetFileName(path);
        for (const TPropInfo& p : reader->VersionInfo()->ClassInfo().Properties) {
            EXPECT_EQ(p.GetString(*reader->VersionInfo()), "") << path << " " << p.Name;
            EXPECT_FALSE(p.Stored(*reader->VersionInfo())) << p.Name;
        }
        EXPECT_EQ(reader->VersionInfo()->ClassInfo().Properties.size(), 15u);
    }
}

TEST_F(VersionResourceTest, FileNameIsStoredOnlyWhenItIsNotTheProgram) {
    TOwned<TVersionResource> reader(new TVersionResource(nullptr));
    const TPropInfo* fileName = reader->ClassInfo().FindProperty("FileName");
    ASSERT_TRUE(fileName && fileName->Stored);
    EXPECT_FALSE(fileName->Stored(*reader));
    reader->SetFileName("C:\\SRC\\A.DLL");
    EXPECT_TRUE(fileName->Stored(*reader));
    reader->SetFileName(LowerCase(platform.System().ModulePath())); // compared exactly
    EXPECT_TRUE(fileName->Stored(*reader));
}

TEST_F(VersionResourceTest, SharedInstanceIsCreatedOnDemand) {
    TVersionResource& a = SharedVersionResource();
    EXPECT_EQ(&a, &SharedVersionResource());
    Put("C:\\SRC\\A.DLL", VersionedImage(0x00010000, 0));
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("2.0.0.0", "C:\\SRC\\A.DLL", TOverwriteType::owVersion, 0),
              TFileCompareResult::fcReplace);
    // After a decision the instance describes the destination.
    EXPECT_EQ(SharedVersionResource().VersionInfo()->FileVersion, "1.0.0.0");
}

class ReplaceDecisionTest : public ArchiveTest {
  protected:
    ReplaceDecisionTest() {
        PutAt("C:\\SRC\\OLD.DLL", VersionedImage(0x00010000, 0), {1999, 1, 1, 10, 0, 0});
        PutAt("C:\\SRC\\NEW.DLL", VersionedImage(0x00020000, 0), {2000, 1, 1, 10, 0, 0});
        PutAt("C:\\SRC\\NEW2.DLL", VersionedImage(0x00020000, 0), {1998, 1, 1, 10, 0, 0});
        PutAt("C:\\SRC\\NEW3.DLL", VersionedImage(0x00020000, 0), {2000, 1, 1, 10, 0, 0});
        PutAt("C:\\SRC\\PLAIN.TXT", "no version", {2005, 1, 1, 10, 0, 0});
    }
    void PutAt(const std::string& path, const std::string& bytes, const FileDateTime& when) {
        files().SetNow(EncodeFileStamp(when));
        Put(path, bytes);
    }
    static TFileCompareResult ByName(const std::string& s, const std::string& d, TOverwriteType rule) {
        return TVersionResource::IsFileNewerByName(s, d, rule);
    }
    static double Day(const FileDateTime& dt) { return DateTimeToDayCount(dt); }
};

using R = TFileCompareResult;
using O = TOverwriteType;

TEST_F(ReplaceDecisionTest, AlwaysAndNever) {
    EXPECT_EQ(ByName("C:\\SRC\\OLD.DLL", "C:\\SRC\\NEW.DLL", O::owAlways), R::fcReplace);
    EXPECT_EQ(ByName("C:\\SRC\\MISSING", "C:\\SRC\\MISSING2", O::owAlways), R::fcReplace);
    EXPECT_EQ(ByName("C:\\SRC\\NEW.DLL", "C:\\SRC\\OLD.DLL", O::owNever), R::fcKeep);
    EXPECT_EQ(ByName("C:\\SRC\\NEW.DLL", "C:\\SRC\\GONE.DLL", O::owNever), R::fcReplace);
    EXPECT_EQ(ByName("C:\\SRC\\NEW.DLL", "   ", O::owNever), R::fcReplace);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("1.0", "   ", O::owNever, 0), R::fcReplace);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("1.0", "C:\\SRC\\OLD.DLL", O::owNever, 0), R::fcKeep);
}

TEST_F(ReplaceDecisionTest, ByVersion) {
    EXPECT_EQ(ByName("C:\\SRC\\NEW.DLL", "C:\\SRC\\OLD.DLL", O::owVersion), R::fcReplace);
    EXPECT_EQ(ByName("C:\\SRC\\OLD.DLL", "C:\\SRC\\NEW.DLL", O::owVersion), R::fcKeep);
    EXPECT_EQ(ByName("C:\\SRC\\NEW2.DLL", "C:\\SRC\\NEW.DLL", O::owVersion), R::fcSame); // dates do not count
    EXPECT_EQ(ByName("C:\\SRC\\PLAIN.TXT", "C:\\SRC\\OLD.DLL", O::owVersion), R::fcKeep);
    EXPECT_EQ(ByName("C:\\SRC\\OLD.DLL", "C:\\SRC\\PLAIN.TXT", O::owVersion), R::fcReplace);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("1.0.0.0", "C:\\SRC\\OLD.DLL", O::owVersion, 0), R::fcSame);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("1.0.0.1", "C:\\SRC\\OLD.DLL", O::owVersion, 0), R::fcReplace);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("", "C:\\SRC\\OLD.DLL", O::owVersion, 0), R::fcKeep);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("", "C:\\SRC\\PLAIN.TXT", O::owVersion, 0), R::fcSame);
}

TEST_F(ReplaceDecisionTest, ByDate) {
    EXPECT_EQ(ByName("C:\\SRC\\NEW.DLL", "C:\\SRC\\OLD.DLL", O::owDate), R::fcReplace);
    EXPECT_EQ(ByName("C:\\SRC\\NEW2.DLL", "C:\\SRC\\OLD.DLL", O::owDate), R::fcKeep);
    EXPECT_EQ(ByName("C:\\SRC\\NEW3.DLL", "C:\\SRC\\NEW.DLL", O::owDate), R::fcSame);
    EXPECT_EQ(ByName("C:\\SRC\\MISSING.DLL", "C:\\SRC\\NEW.DLL", O::owDate), R::fcError);
    EXPECT_EQ(ByName("C:\\SRC\\NEW.DLL", "C:\\SRC\\MISSING.DLL", O::owDate), R::fcError);
    const std::string dest = "C:\\SRC\\OLD.DLL";
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("", dest, O::owDate, Day({1999, 1, 1, 10, 0, 2})), R::fcReplace);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("", dest, O::owDate, Day({1999, 1, 1, 10, 0, 0})), R::fcSame);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("", dest, O::owDate, Day({1998, 12, 31, 10, 0, 0})), R::fcKeep);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("", "C:\\SRC\\NONE", O::owDate, 0), R::fcError);
    // A destination open for writing elsewhere can still be read.
    auto writer = files().OpenFile(dest, FileMode::ReadWrite);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("", dest, O::owDate, Day({2010, 1, 1, 0, 0, 0})), R::fcReplace);
}

TEST_F(ReplaceDecisionTest, ByVersionThenDate) {
    EXPECT_EQ(ByName("C:\\SRC\\NEW2.DLL", "C:\\SRC\\OLD.DLL", O::owVersionDate), R::fcReplace); // version wins
    EXPECT_EQ(ByName("C:\\SRC\\OLD.DLL", "C:\\SRC\\NEW2.DLL", O::owVersionDate), R::fcKeep);
    EXPECT_EQ(ByName("C:\\SRC\\NEW.DLL", "C:\\SRC\\NEW2.DLL", O::owVersionDate), R::fcReplace); // equal: later
    EXPECT_EQ(ByName("C:\\SRC\\NEW2.DLL", "C:\\SRC\\NEW.DLL", O::owVersionDate), R::fcKeep);
    EXPECT_EQ(ByName("C:\\SRC\\NEW3.DLL", "C:\\SRC\\NEW.DLL", O::owVersionDate), R::fcSame);
    // Equal versions and a destination that cannot be opened.
    files().SetInUse("C:\\SRC\\NEW.DLL", true);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("9", "C:\\SRC\\NOFILE", O::owVersionDate, 0), R::fcReplace);
    EXPECT_EQ(TVersionResource::IsFileNewerByVersion("", "C:\\SRC\\NOFILE", O::owVersionDate, 0), R::fcError);
}

} // namespace
