// Finding this setup program's install record and a recorded copy of its archive.
#include "support/EngineFixture.h"

#include "platform/FileStamp.h"
#include "system/InstallErrors.h"
#include "system/InstallRecord.h"
#include "system/RegistryHelpers.h"

#include <cstring>

namespace sw::test {
namespace {

constexpr const char* kRecords = "\\SOFTWARE\\Pellmoor\\Install";

class InstallRecordTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        // 17 May 2024 is day 45429 after 30 December 1899.
        fake_.Files().SetFileStamp("C:\\SETUP\\SETUP.EXE", EncodeFileStamp({2024, 5, 17, 13, 45, 30}));
    }
    static constexpr double kProgramDate = 45429.0 + (13 * 3600 + 45 * 60 + 30) / 86400.0;

    void PutRecord(const std::string& name, double date, int32_t size) {
        const std::string key = std::string(kRecords) + "\\" + name;
        std::vector<uint8_t> bytes(sizeof date);
        std::memcpy(bytes.data(), &date, sizeof date);
        auto& reg = fake_.Registry();
        reg.WriteString(RegistryRoot::LocalMachine, key, "Path", "D:\\OLD\\SETUP.EXE");
        reg.WriteBinary(RegistryRoot::LocalMachine, key, "CreationDate", bytes);
        reg.WriteInteger(RegistryRoot::LocalMachine, key, "Size", size);
    }
    TInstall* LoadDriver() { return static_cast<TInstall*>(Load(kBasicForm)->FindComponent("Install1")); }
};

TEST_F(InstallRecordTest, NoRecordsGiveAnEmptyPath) {
    LoadDriver();
    EXPECT_EQ(InstallRecordKeyPath(), "");
    EXPECT_TRUE(fake_.Registry().KeyExists(RegistryRoot::LocalMachine, kRecords));
    EXPECT_TRUE(fake_.Registry().SubKeyNames(RegistryRoot::LocalMachine, kRecords).empty());
}

TEST_F(InstallRecordTest, AFoundRecordTakesThePathAndStartOfThisRun) {
    // A copy of the program elsewhere has the same size and date.
    fake_.Files().CreateDirectory("C:\\COPY");
    fake_.Files().PutFile("C:\\COPY\\SETUP.EXE", std::string(1000, 'x'));
    fake_.Files().SetFileStamp("C:\\COPY\\SETUP.EXE", EncodeFileStamp({2024, 5, 17, 13, 45, 30}));
    fake_.System().SetModulePath("C:\\COPY\\SETUP.EXE");
    fake_.System().SetLocalTime({2026, 12, 8, 6, 0, 0});
    PutRecord("Install0", kProgramDate, 1000);
    LoadDriver();
    const std::string key = std::string(kRecords) + "\\Install0";
    EXPECT_EQ(InstallRecordKeyPath(), key);
    auto& reg = fake_.Registry();
    EXPECT_EQ(reg.ReadString(RegistryRoot::LocalMachine, key, "Path", ""), "C:\\COPY\\SETUP.EXE");
    std::vector<uint8_t> last = reg.ReadBinary(RegistryRoot::LocalMachine, key, "LastRunDate", {});
    ASSERT_EQ(last.size(), sizeof(double));
    double day;
    std::memcpy(&day, last.data(), sizeof day);
    EXPECT_NEAR(day, 46364.25, 1e-9); // 8 December 2026, 6:00
}

TEST_F(InstallRecordTest, AFailedWriteOnAMatchGivesNoRecord) {
    PutRecord("Install0", kProgramDate, 1000);
    fake_.Registry().FailNextWrites(5);
    LoadDriver();
    EXPECT_EQ(InstallRecordKeyPath(), "");
}

TEST_F(InstallRecordTest, CreatingTakesTheFirstFreeNumberAndWritesTheRecord) {
    PutRecord("Install0", kProgramDate + 1, 1000);
    PutRecord("INSTALL2", kProgramDate, 7);
    SetArguments("-eSetup.exe -sC:\\Dist");
    TInstall* install = LoadDriver();
    EXPECT_EQ(InstallRecordKeyPath(), "");
    const std::string key = install->FindInstallRecord(true);
    EXPECT_EQ(key, std::string(kRecords) + "\\Install1");
    auto& reg = fake_.Registry();
    EXPECT_EQ(reg.ReadString(RegistryRoot::LocalMachine, key, "Path", ""), "C:\\SETUP\\SETUP.EXE");
    EXPECT_EQ(reg.ReadInteger(RegistryRoot::LocalMachine, key, "Size", -1), 1000);
    EXPECT_EQ(reg.ReadString(RegistryRoot::LocalMachine, key, "SelfExtract", ""), "C:\\Dist\\Setup.exe");
    EXPECT_EQ(reg.ReadBinary(RegistryRoot::LocalMachine, key, "CreationDate", {}).size(), sizeof(double));
    EXPECT_EQ(reg.ReadBinary(RegistryRoot::LocalMachine, key, "LastRunDate", {}).size(), sizeof(double));
    // The same program finds it again instead of making another.
    EXPECT_EQ(install->FindInstallRecord(true), key);
    EXPECT_EQ(reg.SubKeyNames(RegistryRoot::LocalMachine, kRecords).size(), 3u);
}

TEST_F(InstallRecordTest, CreatingWithoutSelfExtractWritesNoSelfExtractValue) {
    TInstall* install = LoadDriver();
    const std::string key = install->FindInstallRecord(true);
    EXPECT_EQ(key, std::string(kRecords) + "\\Install0");
    EXPECT_FALSE(fake_.Registry().ValueExists(RegistryRoot::LocalMachine, key, "SelfExtract"));
    fake_.Registry().FailNextWrites(1);
    fake_.Registry().DeleteKey(RegistryRoot::LocalMachine, key);
    EXPECT_EQ(install->FindInstallRecord(true), "");
}

TEST_F(InstallRecordTest, RecordMatchingSizeAndDateIsFound) {
    PutRecord("Install0", kProgramDate, 999);
    PutRecord("Install1", kProgramDate + 1.0 / 86400, 1000);
    PutRecord("Install2", kProgramDate + 0.5e-7, 1000);
    LoadDriver();
    EXPECT_EQ(InstallRecordKeyPath(), "\\SOFTWARE\\Pellmoor\\Install\\Install2");
}

TEST_F(InstallRecordTest, MalformedRecordsAreSkippedNotDeleted) {
    PutRecord("Install0", kProgramDate, 1000);
    fake_.Registry().WriteString(RegistryRoot::LocalMachine, std::string(kRecords) + "\\Install0", "Size", "1000");
    PutRecord("Install1", kProgramDate, 1000);
    fake_.Registry().WriteBinary(RegistryRoot::LocalMachine, std::string(kRecords) + "\\Install1", "CreationDate",
                                 {1, 2, 3});
    PutRecord("Install2", kProgramDate, 1000);
    fake_.Registry().DeleteValue(RegistryRoot::LocalMachine, std::string(kRecords) + "\\Install2", "Path");
    LoadDriver();
    EXPECT_EQ(InstallRecordKeyPath(), "");
    EXPECT_EQ(fake_.Registry().SubKeyNames(RegistryRoot::LocalMachine, kRecords).size(), 3u);
}

TEST_F(InstallRecordTest, RecordedLocalArchiveIsUsedWhenItsFileExists) {
    PutRecord("Install0", kProgramDate, 1000);
    const std::string sub = std::string(kRecords) + "\\Install0\\Install1";
    fake_.Registry().WriteString(RegistryRoot::LocalMachine, sub, "LocalFile", "C:\\WINDOWS\\TEMP\\bat1.1");
    EXPECT_EQ(LoadDriver()->DownloadedMainArchive(), "");
    FreeRoots();
    SetInstallRecordKeyPath("");
    fake_.Files().PutFile("C:\\WINDOWS\\TEMP\\bat1.1", "archive");
    TInstall* install = LoadDriver();
    EXPECT_EQ(install->DownloadedMainArchive(), "C:\\WINDOWS\\TEMP\\bat1.1");
    EXPECT_TRUE(install->HasLocalArchive());
    EXPECT_EQ(install->GetDownloadedArchivePath(), "C:\\WINDOWS\\TEMP\\bat1.1");
}

TEST_F(InstallRecordTest, StoredLocalArchiveIsWrittenUnderTheRecord) {
    PutRecord("Install0", kProgramDate, 1000);
    TInstall* install = LoadDriver();
    EXPECT_FALSE(install->HasLocalArchive());
    install->StoreLocalArchive("C:\\WINDOWS\\TEMP\\bat9.1");
    EXPECT_EQ(fake_.Registry().ReadString(RegistryRoot::LocalMachine, std::string(kRecords) + "\\Install0\\Install1",
                                          "LocalFile", ""),
              "C:\\WINDOWS\\TEMP\\bat9.1");
}

TEST_F(InstallRecordTest, NoDownloadedArchiveIsAnError) {
    try {
        LoadDriver()->GetDownloadedArchivePath();
        FAIL();
    } catch (const IEFileContainer& e) {
        EXPECT_STREQ(e.what(), "Install1 has not yet downloaded the archive file and therefore cannot retrieve the "
                               "path of the archive file");
    }
}

TEST_F(InstallRecordTest, RemovalDeletesTheLocalCopiesAndTheEmptyParents) {
    PutRecord("Install0", kProgramDate, 1000);
    auto& reg = fake_.Registry();
    const std::string key = std::string(kRecords) + "\\Install0";
    fake_.Files().PutFile("C:\\WINDOWS\\TEMP\\bat1.1", "archive");
    fake_.Files().PutFile("C:\\WINDOWS\\TEMP\\bat2.1", "archive");
    reg.WriteString(RegistryRoot::LocalMachine, key + "\\Install1", "LocalFile", "C:\\WINDOWS\\TEMP\\bat1.1");
    reg.WriteString(RegistryRoot::LocalMachine, key + "\\Group1", "LocalFile", "  C:\\WINDOWS\\TEMP\\bat2.1  ");
    reg.WriteString(RegistryRoot::LocalMachine, key + "\\Group2", "LocalFile", "   ");
    reg.WriteString(RegistryRoot::LocalMachine, key + "\\Unfinished\\Deeper", "x", "0");
    TInstall* install = LoadDriver();
    ASSERT_EQ(InstallRecordKeyPath(), key);
    install->RemoveInstallRecord();
    EXPECT_FALSE(fake_.Files().FileExists("C:\\WINDOWS\\TEMP\\bat1.1"));
    EXPECT_FALSE(fake_.Files().FileExists("C:\\WINDOWS\\TEMP\\bat2.1"));
    EXPECT_FALSE(reg.KeyExists(RegistryRoot::LocalMachine, kRecords));
    EXPECT_FALSE(reg.KeyExists(RegistryRoot::LocalMachine, "\\Software\\Pellmoor"));
    EXPECT_EQ(InstallRecordKeyPath(), "");
    install->StoreLocalArchive("C:\\x.1");
    EXPECT_FALSE(reg.KeyExists(RegistryRoot::LocalMachine, "\\Software\\Pellmoor"));
}

TEST_F(InstallRecordTest, RemovalKeepsOtherRecordsAndNeighbours) {
    PutRecord("Install0", kProgramDate, 1000);
    PutRecord("Install1", kProgramDate + 2, 1000);
    fake_.Registry().WriteString(RegistryRoot::LocalMachine, "\\Software\\Pellmoor\\Other", "x", "1");
    TInstall* install = LoadDriver();
    install->RemoveInstallRecord();
    auto& reg = fake_.Registry();
    EXPECT_FALSE(reg.KeyExists(RegistryRoot::LocalMachine, std::string(kRecords) + "\\Install0"));
    EXPECT_TRUE(reg.KeyExists(RegistryRoot::LocalMachine, std::string(kRecords) + "\\Install1"));
    // Without a record in use nothing more happens.
    install->RemoveInstallRecord();
    EXPECT_TRUE(reg.KeyExists(RegistryRoot::LocalMachine, std::string(kRecords) + "\\Install1"));
    DeleteRegKeyTree(RegistryRoot::LocalMachine, std::string(kRecords) + "\\Install1");
    SetInstallRecordKeyPath(std::string(kRecords) + "\\Gone");
    install->RemoveInstallRecord();
    EXPECT_TRUE(reg.KeyExists(RegistryRoot::LocalMachine, kRecords));
    SetInstallRecordKeyPath(std::string(kRecords) + "\\Install0");
    reg.CreateKey(RegistryRoot::LocalMachine, std::string(kRecords) + "\\Install0");
    install->RemoveInstallRecord();
    EXPECT_FALSE(reg.KeyExists(RegistryRoot::LocalMachine, kRecords));
    EXPECT_TRUE(reg.KeyExists(RegistryRoot::LocalMachine, "\\Software\\Pellmoor\\Other"));
}

TEST_F(InstallRecordTest, TheSavedLanguageLivesInTheRecord) {
    EXPECT_EQ(ReadSavedInstallLanguage(4), 4);
    try {
        SaveInstallLanguage(3);
        FAIL();
    } catch (const EIRCannotWriteValue& e) {
        EXPECT_STREQ(e.what(), "");
    }
    EXPECT_FALSE(fake_.Registry().ValueExists(RegistryRoot::LocalMachine, "", "Language"));
    PutRecord("Install0", kProgramDate, 1000);
    LoadDriver();
    const std::string key = std::string(kRecords) + "\\Install0";
    EXPECT_EQ(ReadSavedInstallLanguage(4), 4);
    SaveInstallLanguage(3);
    EXPECT_EQ(ReadSavedInstallLanguage(4), 3);
    fake_.Registry().WriteString(RegistryRoot::LocalMachine, key, "Language", "3");
    EXPECT_EQ(ReadSavedInstallLanguage(4), 4);
    fake_.Registry().FailNextWrites(1);
    try {
        SaveInstallLanguage(2);
        FAIL();
    } catch (const EIRCannotWriteValue& e) {
        EXPECT_EQ(e.what(), key);
    }
}

} // namespace
} // namespace sw::test
