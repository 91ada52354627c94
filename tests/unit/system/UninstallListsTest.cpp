// The counted lists under a product's uninstall key: running numbers that
// continue across installs, the fall-over of the file list to the next key,
// and its bound.
#include "SystemFixture.h"

#include "system/InstallErrors.h"
#include "system/RegistryHelpers.h"
#include "system/UninstallLists.h"

namespace sw::test {
namespace {

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
const std::string kKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\My product";

class UninstallListsTest : public SystemFixture {
  protected:
    std::string Value(const std::string& subkey, const std::string& name) {
        return ReadRegString(kMachine, kKey + "\\" + subkey, name, "<none>");
    }
};

TEST_F(UninstallListsTest, EntriesNumberFromOneAndContinueAfterTheStoredCount) {
    EXPECT_EQ(AppendUninstallEntry(kKey, "ActiveX", "C:\\A\\one.ocx;0"), 1);
    EXPECT_EQ(AppendUninstallEntry(kKey, "ActiveX", "C:\\A\\two.exe;1"), 2);
    EXPECT_EQ(Value("ActiveX", "File1"), "C:\\A\\one.ocx;0");
    EXPECT_EQ(Value("ActiveX", "File2"), "C:\\A\\two.exe;1");
    EXPECT_EQ(Value("ActiveX", "Entries"), "2");
    // A later install of the product finds the count and goes on from it.
    fake_.Registry().WriteString(kMachine, kKey + "\\ActiveX", "Entries", "7");
    EXPECT_EQ(AppendUninstallEntry(kKey, "ActiveX", "C:\\A\\three.ocx;0"), 8);
    EXPECT_EQ(Value("ActiveX", "File8"), "C:\\A\\three.ocx;0");
    EXPECT_EQ(UninstallEntryCount(kKey, "ActiveX"), 8);
}

TEST_F(UninstallListsTest, AnEntriesValueThatIsNoNumberIsAnErrorForACountedList) {
    fake_.Registry().WriteString(kMachine, kKey + "\\ActiveX", "Entries", "many");
    EXPECT_EQ(ErrorOf<EConvertError>([] { AppendUninstallEntry(kKey, "ActiveX", "x;0"); }),
              "'many' is not a valid integer value");
    EXPECT_EQ(Value("ActiveX", "Entries"), "many");
}

TEST_F(UninstallListsTest, FilesAccumulateInTheFilesKey) {
    AppendUninstallFile(kKey, "C:\\App\\a.txt");
    AppendUninstallFile(kKey, "C:\\App\\b.txt");
    AppendUninstallFile(kKey, "C:\\Menu\\App.lnk");
    EXPECT_EQ(Value("Files", "Entries"), "3");
    EXPECT_EQ(Value("Files", "File1"), "C:\\App\\a.txt");
    EXPECT_EQ(Value("Files", "File3"), "C:\\Menu\\App.lnk");
    EXPECT_EQ(Value("Files1", "Entries"), "<none>");
}

TEST_F(UninstallListsTest, AFileListThatCannotBeReadOrWrittenFallsOverToTheNextKey) {
    // "Files" holds a count that is no number: the next key takes the file.
    fake_.Registry().WriteString(kMachine, kKey + "\\Files", "Entries", "broken");
    AppendUninstallFile(kKey, "C:\\App\\a.txt");
    EXPECT_EQ(Value("Files1", "File1"), "C:\\App\\a.txt");
    EXPECT_EQ(Value("Files1", "Entries"), "1");
    // A refused write moves on as well: Files and Files1 fail, Files2 takes it.
    fake_.Registry().WriteString(kMachine, kKey + "\\Files", "Entries", "0");
    fake_.Registry().FailNextWrites(2);
    AppendUninstallFile(kKey, "C:\\App\\b.txt");
    EXPECT_EQ(Value("Files", "File1"), "<none>");
    EXPECT_EQ(Value("Files1", "File2"), "<none>");
    EXPECT_EQ(Value("Files2", "File1"), "C:\\App\\b.txt");
    EXPECT_EQ(Value("Files2", "Entries"), "1");
}

TEST_F(UninstallListsTest, ARegistryThatRefusesEveryWriteEndsTheSearchWithTheWriteError) {
    fake_.Registry().FailNextWrites(1000);
    EXPECT_EQ(ErrorOf<EIRCannotWriteValue>([] { AppendUninstallFile(kKey, "C:\\App\\a.txt"); }),
              "Cannot install into registry. Key: " + kKey + "\\Files" + std::to_string(kUninstallFileKeyLimit - 1) +
                  " Ident: File1 Value C:\\App\\a.txt");
    fake_.Registry().FailNextWrites(0);
    EXPECT_TRUE(fake_.Registry().SubKeyNames(kMachine, kKey).empty());
}

} // namespace
} // namespace sw::test
