// File containers: the reports they accept and refuse, the compress and copy
// passes with their options, sizes, and the net folders of a build.
#include "FileTestFixture.h"
#include "TestObjects.h"

#include "objects/NetInstallLocation.h"
#include "paths/StandardSpecifiers.h"

namespace sw::test {
namespace {

class FileContainerTest : public FileTestFixture {
  protected:
    // Sends a report to the group while its install pass runs (from the
    // first file's OnBeforeInstall) and gives the error's message.
    std::string ReportError(int code, TPersistent* parameter) {
        if (!probe_) {
            probe_ = AddFile("probe.txt", 1);
            Build();
        }
        std::string message = "<no error>";
        probe_->OnBeforeInstall = TInstallFileNotifyEvent("Probe", [&](TCustomInstallFile* f) {
            try {
                group_->DoInformationEventControl(f, code, parameter);
            } catch (const IEFileContainer& e) {
                message = e.what();
            }
            throw EAbort();
        });
        group_->Install();
        return message;
    }
    TInstallFile* probe_ = nullptr;
};

TEST_F(FileContainerTest, AnIdleContainerIgnoresReportsAndPassesNothingOn) {
    TInstallFile* file = AddFile("a.txt", 10);
    std::vector<int32_t> totals;
    group_->OnStatus = TInstallFileStatusEvent(
        "Status", [&](TCustomInstallFile*, int32_t, int32_t total) { totals.push_back(total); });
    group_->DoInformationEventControl(file, msg::FileKept, file);
    group_->DoInformationEventControl(file, msg::InstallProgress, nullptr);
    EXPECT_TRUE(totals.empty());
    EXPECT_EQ(group_->BytesDone(), 0);
}

TEST_F(FileContainerTest, MalformedReportsAreRefusedWithTheirMessages) {
    TMessageParameter text("x");
    TFileStatusParameter status;
    TDiskParameter disk(2, "A:");
    TFileStatusList noFile(&text, &status);
    TFileStatusList empty(nullptr, nullptr);
    TFileDiskList diskList(nullptr, &disk);
    TFileDiskList wrongForStatus(nullptr, nullptr);
    EXPECT_EQ(ReportError(msg::InstallProgress, nullptr), "Group1 got a nil PO parameter");
    EXPECT_EQ(ReportError(msg::InstallProgress, &text), "DoInformationEventControl--PO is not a TList object");
    EXPECT_EQ(ReportError(msg::CopyProgress, &empty), "DoInformationEventControl--Not engouh parameters for status event");
    EXPECT_EQ(ReportError(msg::CompressProgress, &noFile), "DoInformationEventControl says bad first parameter");
    EXPECT_EQ(ReportError(msg::FileKept, &text), "DoInformationEventControl says bad first parameter");
    EXPECT_EQ(ReportError(msg::FileReplacing, &text), "DoInformationEventControl parameter is not TInstallFile");
    EXPECT_EQ(ReportError(msg::NewDiskNeeded, &diskList), "DoInformationEventControl says bad 1 parameter");
    EXPECT_EQ(ReportError(msg::NewDiskNeeded, &status), "DoInformationEventControl--PO is not a TList object");
    EXPECT_EQ(ReportError(msg::DownloadProgress, &text),
              "The PO object passed to Group1 is not a TDownloadStatusParameter object");
}

TEST_F(FileContainerTest, ABadSecondItemIsRefused) {
    TInstallFile* other = AddFile("other.txt", 1);
    TFileStatusList noStatus(other, nullptr);
    TFileDiskList noDisk(other, nullptr);
    EXPECT_EQ(ReportError(msg::InstallProgress, &noStatus), "DoInformationEventControl says bad second parameter");
    EXPECT_EQ(ReportError(msg::NewDiskNeeded, &noDisk), "DoInformationEventControl says bad 2 parameter");
}

TEST_F(FileContainerTest, DiskRequestsGoToTheContainersHandlerWhichMarksThemHandled) {
    TInstallFile* file = AddFile("a.txt", 100);
    Build();
    group_->ReadInfoFromArchive();
    const std::string archive = Archive();
    fake_.Files().AddDrive('D');
    fake_.Files().PutFile("D:\\files.1", Text(archive));
    fake_.Files().DeleteFile(archive);
    std::vector<int32_t> disks;
    group_->OnNewDisk = TInstallFileNewDiskEvent("Disk", [&](TCustomInstallFile*, int32_t disk, std::string& path) {
        disks.push_back(disk);
        path = "D:";
    });
    auto* dialog = new TTestDialog(form_);
    dialog->SetContainer(group_);
    group_->Install();
    EXPECT_EQ(disks, std::vector<int32_t>{1});
    EXPECT_TRUE(fake_.Gui().Boxes().empty()) << "a handled request shows no prompt";
    EXPECT_EQ(Text(file->DestPath()), std::string(100, 'x'));
    EXPECT_EQ(std::count(dialog->Codes.begin(), dialog->Codes.end(), msg::DiskNeeded), 1);
    EXPECT_EQ(file->Tag, 0);
}

TEST_F(FileContainerTest, CompressRefusesContradictoryOptionsBeforeAnyEvent) {
    bool fired = false;
    group_->OnBeforeProcess = TInstallContainerNotifyEvent("B", [&](TInstallContainer*) { fired = true; });
    EXPECT_EQ(ErrorOf<IEFileContainer>([&] { group_->Compress(coForceNetFilesLocal | coForceFilesNet); }),
              "Cannot pass both coForceNetFilesLocal and coForceFilesNet to Compress");
    EXPECT_FALSE(fired);
}

TEST_F(FileContainerTest, AnExcludedGroupCompressesOnlyWithIncludeExcluded) {
    TInstallFile* file = AddFile("a.txt", 10);
    file->SetInclude(false);
    int before = 0;
    group_->OnBeforeProcess = TInstallContainerNotifyEvent("B", [&](TInstallContainer*) { ++before; });
    group_->SetInclude(false);
    group_->Compress(coForceNetFilesLocal);
    EXPECT_EQ(before, 1);
    EXPECT_FALSE(Exists(Archive()));
    group_->SetInclude(true);
    group_->Compress(coForceNetFilesLocal);
    EXPECT_EQ(file->CompressedMark(), 0) << "an excluded file stays out";
    group_->Compress(coForceNetFilesLocal | coIncludeExcluded);
    EXPECT_EQ(file->CompressedMark(), 2);
    EXPECT_FALSE(file->Include()) << "excluded again afterwards";
    EXPECT_EQ(group_->TotalSize(), 10);
}

TEST_F(FileContainerTest, ABuildWithoutANetLocationNeedsForceNetFilesLocal) {
    AddFile("a.txt", 10);
    EXPECT_EQ(ErrorOf<IEFileRel_NoNetLocation>([&] { group_->Compress(coBuildRelocate | coIncludeExcluded); }),
              "Could not find a net install location for Group1");
    EXPECT_EQ(group_->ProcessingState(), TProcessingState::Idle);
}

TEST_F(FileContainerTest, NetFilesGoIntoTheArchiveOfTheirLocationsFolder) {
    auto* location = new TNetInstallLocation(form_);
    location->LoginInformation()->Hostname = "Srv1";
    location->LoginInformation()->Directory = "/pub/app/";
    EXPECT_EQ(NetFolderOf(*location), "Srv1\\-pub-app-");
    location->LoginInformation()->Directory = "";
    location->LoginInformation()->Protocol = TInternetProtocol::ipFTP;
    EXPECT_EQ(NetFolderOf(*location), "Srv1\\FTP Root directory");
    location->LoginInformation()->Directory = "/pub";
    group_->SetNetLocation(location);
    TInstallFile* net = AddFile("net.txt", 10, 'n');
    net->SetNet(true);
    TInstallFile* local = AddFile("local.txt", 10, 'l');
    group_->Compress(coBuildRelocate | coIncludeExcluded);
    const std::string netArchive = ExtractFileDir(Archive()) + "\\Srv1\\-pub\\Group1.1";
    EXPECT_EQ(group_->LocalArchivePath(), netArchive);
    EXPECT_EQ(net->WrittenArchive(), netArchive);
    EXPECT_EQ(local->WrittenArchive(), Archive());
    EXPECT_TRUE(Exists(netArchive));
    EXPECT_EQ(net->ArchiveFileType(), StandardPathSpecifiers().FindByClass<TpsContainerArchiveFile>())
        << "the archive settings come back after the build";
}

TEST_F(FileContainerTest, ALocationIsSearchedUpThroughNestedGroupsBeforeTheDrivers) {
    auto* driverLocation = new TNetInstallLocation(form_);
    driverLocation->LoginInformation()->Hostname = "Main";
    install_->SetNetLocation(driverLocation);
    auto* groupLocation = new TNetInstallLocation(form_);
    groupLocation->LoginInformation()->Hostname = "Srv1";
    groupLocation->LoginInformation()->Directory = "/pub";
    group_->SetNetLocation(groupLocation);
    auto* sub = new TInstallFileGroup(form_);
    sub->SetName("Sub");
    sub->SetContainer(group_);
    auto* net = new TInstallFile(form_, sub, PutSource("net.txt", 10, 'n'));
    net->SetName("Net1");
    net->SetNet(true);
    auto* other = new TInstallFileGroup(form_);
    other->SetContainer(install_);
    EXPECT_EQ(net->FindNetLocation(), groupLocation);
    EXPECT_EQ(sub->FindNetLocation(), groupLocation);
    EXPECT_EQ(other->FindNetLocation(), driverLocation) << "at the top, the driver's";
    group_->Compress(coBuildRelocate | coIncludeExcluded);
    const std::string netArchive = ExtractFileDir(Archive()) + "\\Srv1\\-pub\\Sub.1";
    EXPECT_EQ(sub->LocalArchivePath(), netArchive);
    EXPECT_EQ(net->WrittenArchive(), netArchive);
}

TEST_F(FileContainerTest, TheCopyPassCopiesFromTheSources) {
    TInstallFile* a = AddFile("a.txt", 10, 'c');
    std::vector<int32_t> totals;
    group_->OnStatus = TInstallFileStatusEvent(
        "Status", [&](TCustomInstallFile*, int32_t, int32_t total) { totals.push_back(total); });
    group_->Copy();
    EXPECT_EQ(Text(a->DestPath()), std::string(10, 'c'));
    ASSERT_FALSE(totals.empty());
    EXPECT_EQ(totals.back(), 100);
    EXPECT_EQ(group_->ProcessingState(), TProcessingState::Idle);
}

TEST_F(FileContainerTest, SizesCountIncludedFilesAndSubGroups) {
    AddFile("a.txt", 10);
    TInstallFile* b = AddFile("b.txt", 20);
    auto* sub = new TInstallFileGroup(form_);
    sub->SetContainer(group_);
    auto* c = new TInstallFile(form_, sub, PutSource("c.txt", 40));
    (void)c;
    group_->ReadInfoFromSource();
    b->SetInclude(false);
    EXPECT_EQ(group_->GetFilesSize(false), 10);
    EXPECT_EQ(group_->GetFilesSize(true), 30);
    EXPECT_EQ(group_->GetTotalSize(false), 50);
    EXPECT_EQ(group_->GetTotalSize(true), 70);
    EXPECT_EQ(group_->FindFileBySource("c:\\src\\B.TXT"), b);
    EXPECT_EQ(group_->FindFileBySource("C:\\Src\\c.txt"), nullptr) << "children only";
}

TEST_F(FileContainerTest, DestroyingAGroupDestroysItsFiles) {
    AddFile("a.txt", 10);
    AddFile("b.txt", 10);
    EXPECT_EQ(InstallFiles().Count(), 2);
    TComponent::Free(group_);
    EXPECT_EQ(InstallFiles().Count(), 0);
}

} // namespace
} // namespace sw::test
