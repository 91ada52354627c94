// The generic install of an object and its children, the parameter records,
// the identifier table and the download of an object's archive.
#include "TestObjects.h"
#include "support/EngineFixture.h"
#include "support/ErrorOf.h"

#include "objects/FileIdentifiers.h"
#include "objects/InstallMessages.h"
#include "objects/NetInstallLocation.h"
#include "system/InstallErrors.h"
#include "system/InstallRecord.h"

#include <functional>

namespace sw::test {
namespace {

using Log = std::vector<std::string>;

// An installable object that logs its steps into a shared log.
template <class Base, int Kind> class TLogged : public Base {
  public:
    TLogged(TComponent* owner, Log& log, const char* name) : Base(owner), log_(log) {
        this->installable_ = true;
        this->SetName(name);
        this->OnBeforeProcess = TInstallContainerNotifyEvent("B", [this](TInstallContainer*) {
            log_.push_back(this->Name() + ":before");
            if (AbortBefore)
                throw EAbort();
        });
        this->OnAfterProcess =
            TInstallContainerNotifyEvent("A", [this](TInstallContainer*) { log_.push_back(this->Name() + ":after"); });
    }
    int GetObjectKind() const override { return Kind; }
    void WriteUninstallInfo(const std::string& key) override { log_.push_back(this->Name() + ":uninstall " + key); }
    void DoInformationEventControl(TPersistent* sender, int code, TPersistent* parameter) override {
        Reports.push_back({sender, code, parameter});
    }
    struct Report {
        TPersistent* Sender;
        int Code;
        TPersistent* Parameter;
    };
    std::vector<Report> Reports;
    bool AbortBefore = false;

  private:
    Log& log_;
};
using TLoggedObject = TLogged<TInstallObject, kKindShellLinkGroup>;
using TLoggedFile = TLogged<TFileRelated, kKindFile>;

// A net location that serves a scripted download.
class TTestLocation : public TCustomNetInstallLocation {
  public:
    using TCustomNetInstallLocation::TCustomNetInstallLocation;
    bool LoginInformationValid() const override { return Valid; }
    void Download(const std::string& remoteName, const std::string& localPath) override {
        Remote = remoteName;
        Local = localPath;
        ReceiverAttached = static_cast<bool>(DownloadReceiver);
        GetPlatform().Files->OpenFile(localPath, FileMode::Create)->Write("abc", 3);
        DownloadReceiver(this, remoteName, 3, 3, 8, "abc");
        if (Fail)
            throw Exception("connection lost");
        SetDownloadAbort(CancelDuring);
    }
    bool Valid = true;
    bool Fail = false;
    bool CancelDuring = false;
    std::string Remote;
    std::string Local;
    bool ReceiverAttached = false;
};

class InstallPassTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        form_ = LoadForm(kBasicForm);
        install_ = static_cast<TInstall*>(form_->FindComponent("Install1"));
        install_->Information()->ProductName = "Tool";
    }
    TTestForm* form_ = nullptr;
    TInstall* install_ = nullptr;
    Log log_;
};

constexpr const char* kUninstall = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool";

TEST_F(InstallPassTest, InstallRunsItsStepsAndTheChildrenInListOrder) {
    auto* group = new TLoggedObject(form_, log_, "Group");
    auto* dialog = new TTestDialog(form_);
    dialog->SetContainer(group);
    auto* second = new TLoggedObject(form_, log_, "Second");
    auto* first = new TLoggedObject(form_, log_, "First");
    second->SetContainer(group);
    first->SetContainer(group);
    first->SetOrder(0);
    group->Install();
    EXPECT_EQ(log_, (Log{"Group:before", "First:before", "First:uninstall " + std::string(kUninstall), "First:after",
                         "Second:before", "Second:uninstall " + std::string(kUninstall), "Second:after",
                         "Group:uninstall " + std::string(kUninstall), "Group:after"}));
    EXPECT_EQ(dialog->Codes, (std::vector<int>{msg::AfterBeforeProcess, msg::Included, msg::AfterAfterProcess}));
    EXPECT_TRUE(group->Processed());
    EXPECT_TRUE(first->Processed());
    EXPECT_FALSE(dialog->Processed()) << "dialogs are not installed";
}

TEST_F(InstallPassTest, ExcludedAndOtherTypesStopEarly) {
    auto* group = new TLoggedObject(form_, log_, "Group");
    auto* dialog = new TTestDialog(form_);
    dialog->SetContainer(group);
    auto* child = new TLoggedObject(form_, log_, "Child");
    child->SetContainer(group);
    group->SetInclude(false);
    group->Install();
    EXPECT_EQ(log_, Log{"Group:before"});
    EXPECT_EQ(dialog->Codes, std::vector<int>{msg::AfterBeforeProcess});
    log_.clear();
    dialog->Codes.clear();
    group->SetInclude(true);
    group->SetInstallTypes(InstallTypeBit(TInstallType::itFull));
    group->SetCurrentInstallType(TInstallType::itCompact);
    group->Install();
    EXPECT_EQ(log_, Log{"Group:before"});
    EXPECT_EQ(dialog->Codes, (std::vector<int>{msg::AfterBeforeProcess, msg::Included}));
    EXPECT_FALSE(group->Processed());
    EXPECT_FALSE(child->Processed());
}

TEST_F(InstallPassTest, AQuietAbortSkipsOnlyThatObject) {
    auto* group = new TLoggedObject(form_, log_, "Group");
    auto* skipped = new TLoggedObject(form_, log_, "Skipped");
    auto* next = new TLoggedObject(form_, log_, "Next");
    skipped->SetContainer(group);
    next->SetContainer(group);
    skipped->AbortBefore = true;
    group->Install();
    EXPECT_EQ(log_.front(), "Group:before");
    EXPECT_EQ(log_[1], "Skipped:before");
    EXPECT_EQ(log_[2], "Next:before");
    EXPECT_FALSE(skipped->Processed());
    EXPECT_TRUE(next->Processed());
    // Any other error ends the whole pass.
    log_.clear();
    skipped->OnBeforeProcess = TInstallContainerNotifyEvent("B", [](TInstallContainer*) { throw EAIUserAbort(); });
    EXPECT_THROW(group->Install(), EAIUserAbort);
    EXPECT_EQ(log_, Log{"Group:before"});
}

TEST_F(InstallPassTest, WithoutADriverNothingIsRecordedForTheUninstaller) {
    FreeRoots();
    TTestForm* form = NewForm();
    auto* object = new TLoggedObject(form, log_, "Alone");
    object->Install();
    EXPECT_EQ(log_, (Log{"Alone:before", "Alone:after"}));
}

TEST_F(InstallPassTest, DownloadPercentRoundsHalfToEven) {
    EXPECT_EQ(TDownloadStatusParameter(1, "f", 8, 1).PercentDone, 12);
    EXPECT_EQ(TDownloadStatusParameter(1, "f", 8, 3).PercentDone, 38);
    EXPECT_EQ(TDownloadStatusParameter(1, "f", 3, 2).PercentDone, 67);
    EXPECT_EQ(TDownloadStatusParameter(1, "f", 0, 5).PercentDone, 0);
    EXPECT_EQ(TDownloadStatusParameter(1, "f", 1, 2000000000).PercentDone, INT32_MAX);
    TDiskParameter disk(2, "A:\\");
    EXPECT_EQ(disk.DiskNumber, 2);
}

TEST_F(InstallPassTest, IdentifiersTakeTheLowestFreeSlot) {
    TFileIdentifierTable& ids = FileIdentifiers();
    EXPECT_EQ(ids.Acquire(), 0);
    EXPECT_EQ(ids.Acquire(), 1);
    ids.MarkUsed(2);
    EXPECT_EQ(ids.Acquire(), 3);
    ids.Release(1);
    EXPECT_EQ(ids.Acquire(), 1);
    ids.MarkUsed(-1);
    ids.MarkUsed(2000);
    EXPECT_FALSE(ids.IsUsed(2000));
    for (int i = 4; i < TFileIdentifierTable::kSlots; ++i)
        EXPECT_EQ(ids.Acquire(), i);
    EXPECT_EQ(ids.Acquire(), 0) << "a 2001st file shares the first identifier";
    ids.Clear();
    EXPECT_FALSE(ids.IsUsed(0));
}

class DownloadTest : public InstallPassTest {
  protected:
    void SetUp() override {
        InstallPassTest::SetUp();
        location_ = new TTestLocation(form_);
        location_->SetName("Net1");
        group_ = new TInstallFileGroup(form_);
        group_->SetName("Group1");
        group_->SetContainer(install_);
        file_ = new TLoggedFile(form_, log_, "File1");
        container_ = new TLoggedObject(form_, log_, "Holder");
        SetInstallRecordKeyPath("\\SOFTWARE\\Pellmoor\\Install\\Install0");
    }
    TTestLocation* location_ = nullptr;
    TInstallFileGroup* group_ = nullptr;
    TLoggedFile* file_ = nullptr;
    TLoggedObject* container_ = nullptr;
};

TEST_F(DownloadTest, TheLocationIsSearchedUpThroughFileContainers) {
    file_->SetContainer(group_);
    EXPECT_EQ(file_->FindNetLocation(), nullptr);
    install_->SetNetLocation(location_);
    EXPECT_EQ(file_->FindNetLocation(), location_);
    EXPECT_EQ(group_->FindNetLocation(), location_);
    auto* own = new TTestLocation(form_);
    group_->SetNetLocation(own);
    EXPECT_EQ(file_->FindNetLocation(), own);
    file_->SetContainer(container_);
    EXPECT_EQ(file_->FindNetLocation(), nullptr) << "its container is no file container";
    EXPECT_EQ(ErrorOf<IEFileRel_NoNetLocation>([&] { file_->DownloadArchive(); }),
              "Could not find a net install location for File1");
}

TEST_F(DownloadTest, ADownloadReportsProgressAndRecordsTheCopy) {
    auto* dialog = new TTestDialog(form_);
    dialog->SetContainer(file_);
    file_->SetContainer(container_);
    file_->SetNetLocation(location_);
    std::vector<std::string> events;
    file_->OnDataReceived = TDataReceivedEvent("D", [&](TPersistent* sender, const std::string& name, int32_t bytes,
                                                        int32_t total, int32_t size, const char* buffer) {
        EXPECT_EQ(sender, file_);
        events.push_back(name + " " + std::to_string(bytes) + "/" + std::to_string(total) + "/" + std::to_string(size) +
                         " " + std::string(buffer, 3));
    });
    file_->DownloadArchive();
    EXPECT_EQ(location_->Remote, "File1.1");
    EXPECT_EQ(location_->Local.rfind("C:\\WINDOWS\\TEMP\\bat", 0), 0u) << location_->Local;
    EXPECT_EQ(location_->Local.substr(location_->Local.size() - 2), ".1");
    EXPECT_TRUE(location_->ReceiverAttached);
    EXPECT_FALSE(location_->DownloadReceiver);
    EXPECT_EQ(events, std::vector<std::string>{"File1.1 3/3/8 abc"});
    ASSERT_EQ(dialog->Codes, std::vector<int>{msg::DownloadProgressShown});
    ASSERT_EQ(container_->Reports.size(), 1u);
    EXPECT_EQ(container_->Reports[0].Code, msg::DownloadProgress);
    EXPECT_EQ(container_->Reports[0].Sender, file_);
    EXPECT_EQ(file_->LocalArchivePath(), location_->Local);
    EXPECT_TRUE(file_->HasLocalArchive());
    EXPECT_EQ(fake_.Registry().ReadString(RegistryRoot::LocalMachine, "\\SOFTWARE\\Pellmoor\\Install\\Install0\\File1",
                                          "LocalFile", ""),
              location_->Local);
    // A recorded copy that exists is taken without another download.
    location_->Remote.clear();
    auto* again = new TLoggedFile(form_, log_, "Again");
    again->SetNetLocation(location_);
    fake_.Registry().WriteString(RegistryRoot::LocalMachine, "\\SOFTWARE\\Pellmoor\\Install\\Install0\\Again",
                                 "LocalFile", location_->Local);
    again->DownloadArchive();
    EXPECT_EQ(location_->Remote, "");
    EXPECT_EQ(again->LocalArchivePath(), location_->Local);
}

TEST_F(DownloadTest, IncompleteLoginsNameWhoseLocationItIs) {
    location_->Valid = false;
    install_->SetNetLocation(location_);
    file_->SetContainer(group_);
    EXPECT_EQ(ErrorOf<IEFileRelated>([&] { file_->DownloadArchive(); }),
              "File1 could not install itself because the LoginInformation property of the TInstall component has not "
              "been properly filled in");
    file_->SetNetLocation(location_);
    EXPECT_EQ(ErrorOf<IEFileRelated>([&] { file_->DownloadArchive(); }),
              "File1 could not install itself because the TNetLocation component's properties, in the NetLocation "
              "property, have not been filled in");
    EXPECT_EQ(location_->Remote, "");
    EXPECT_FALSE(file_->HasLocalArchive());
}

TEST_F(DownloadTest, ACancelledOrFailedDownloadLeavesNoArchive) {
    file_->SetNetLocation(location_);
    location_->CancelDuring = true;
    EXPECT_THROW(file_->DownloadArchive(), EAIUserAbort);
    EXPECT_FALSE(fake_.Files().FileExists(location_->Local));
    EXPECT_EQ(file_->LocalArchivePath(), "");
    EXPECT_FALSE(location_->DownloadReceiver);
    SetDownloadAbort(false);
    location_->CancelDuring = false;
    location_->Fail = true;
    EXPECT_EQ(ErrorOf<Exception>([&] { file_->DownloadArchive(); }), "connection lost");
    EXPECT_FALSE(fake_.Files().FileExists(location_->Local));
    EXPECT_FALSE(file_->HasLocalArchive());
    EXPECT_FALSE(location_->DownloadReceiver);
    EXPECT_FALSE(
        fake_.Registry().KeyExists(RegistryRoot::LocalMachine, "\\SOFTWARE\\Pellmoor\\Install\\Install0\\File1"));
}

TEST_F(DownloadTest, ALocationWithoutAHostIsRefusedBeforeAnyTransfer) {
    TCustomNetInstallLocation plain(nullptr);
    file_->SetNetLocation(&plain);
    EXPECT_EQ(ErrorOf<IEFileRelated>([&] { file_->DownloadArchive(); }),
              "File1 could not install itself because the TNetLocation component's properties, in the NetLocation "
              "property, have not been filled in");
    EXPECT_FALSE(file_->HasLocalArchive());
    file_->SetNetLocation(nullptr);
}

} // namespace
} // namespace sw::test
