// The net install location through Wine's real WININET.DLL, against the
// loopback HTTP and FTP servers that tests/wine/net-install.sh starts (their
// ports in SW_NET_HTTP, SW_NET_FTP and SW_NET_CLOSED). Without them the
// cases are skipped.
#include "EngineWineFixture.h"

#include "objects/NetErrors.h"
#include "objects/NetInstallLocation.h"
#include "platform/FileSystem.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32FileSystem.h"
#include "support/ErrorOf.h"
#include "support/NetServerFiles.h"

namespace sw::test {
namespace {

class NetInstallWineTest : public EngineWineTest {
  protected:
    void SetUp() override {
        EngineWineTest::SetUp();
        http = nettest::PortFromEnvironment("SW_NET_HTTP");
        ftp = nettest::PortFromEnvironment("SW_NET_FTP");
        closed = nettest::PortFromEnvironment("SW_NET_CLOSED");
        if (!http || !ftp || !closed)
            GTEST_SKIP() << "no loopback servers (run by tests/wine/net-install.sh)";
        IFileSystem& files = real_.Files();
        folder = files.TempDirectory() + "\\swnet" + std::to_string(GetCurrentProcessId());
        files.CreateDirectory(folder);
        local = folder + "\\download.1";
    }
    void TearDown() override {
        delete location;
        SetDownloadAbort(false);
        if (!folder.empty()) {
            IFileSystem& files = real_.Files();
            for (const auto& entry : files.ListDirectory(folder, "*.*"))
                files.DeleteFile(folder + "\\" + entry.Name);
            files.RemoveDirectory(folder);
        }
        EngineWineTest::TearDown();
    }

    TNetInstallLocation* Location(TInternetProtocol protocol, const std::string& directory = "pub\\setup",
                                  uint16_t port = 0) {
        delete location;
        location = new TNetInstallLocation(nullptr);
        location->SetName("NetLocation1");
        TLoginInformation& login = *location->LoginInformation();
        login.Protocol = protocol;
        login.Hostname = "127.0.0.1:" + std::to_string(port ? port : protocol == TInternetProtocol::ipFTP ? ftp : http);
        login.Directory = directory;
        location->OnAfterDownload =
            TNotifyWithAbortFlag("After", [this](TPersistent*, bool& aborted) { afterDownload.push_back(aborted); });
        return location;
    }
    void UseLogin(const std::string& password) {
        TLoginInformation& login = *location->LoginInformation();
        login.Anonymous = false;
        login.Username = nettest::kUser;
        login.Password = password;
    }
    std::string LocalContent() {
        auto file = real_.Files().OpenFile(local, FileMode::Read);
        if (!file)
            return "<no file>";
        std::string content(file->Size(), '\0');
        file->Read(content.data(), content.size());
        return content;
    }
    bool LocalExists() { return real_.Files().FileExists(local); }
    size_t FilesInFolder() { return real_.Files().ListDirectory(folder, "*.*").size(); }
    template <class E> std::string DownloadError(const std::string& remote) {
        return ErrorOf<E>([&] { location->Download(remote, local); });
    }
    static std::string Served(const std::string& path) { return nettest::ServedFiles().at(path); }

    uint16_t http = 0, ftp = 0, closed = 0;
    std::string folder, local;
    TNetInstallLocation* location = nullptr;
    std::vector<bool> afterDownload;
};

TEST_F(NetInstallWineTest, FetchesByHttpAndFtpAnonymouslyFromABackslashedDirectory) {
    for (auto protocol : {TInternetProtocol::ipHTTP, TInternetProtocol::ipFTP}) {
        Location(protocol)->Download("files.1", local);
        EXPECT_EQ(LocalContent(), Served("pub/setup/files.1"));
        location->Download("has404.txt", local); // "404" in the first bytes is data
        EXPECT_EQ(LocalContent(), Served("pub/setup/has404.txt"));
    }
    EXPECT_EQ(afterDownload, (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(NetInstallWineTest, FetchesWithAUserNameAndPassword) {
    Location(TInternetProtocol::ipFTP, "private");
    UseLogin(nettest::kPassword);
    location->Download("secret.1", local);
    EXPECT_EQ(LocalContent(), Served("private/secret.1"));

    Location(TInternetProtocol::ipHTTP, "private");
    UseLogin(nettest::kPassword);
    location->Download("secret.1", local);
    EXPECT_EQ(LocalContent(), Served("private/secret.1"));
}

TEST_F(NetInstallWineTest, AWrongPasswordIsRefused) {
    Location(TInternetProtocol::ipFTP);
    UseLogin("wrong");
    std::string message = DownloadError<ENIL_OpenService>("files.1");
    EXPECT_NE(message.find("Cannot connect to host 127.0.0.1"), std::string::npos) << message;
    EXPECT_NE(message.find("Response from server 530"), std::string::npos) << message;

    Location(TInternetProtocol::ipHTTP, "private");
    UseLogin("wrong");
    message = DownloadError<ENIL_HTTPOpenFile>("secret.1");
    EXPECT_NE(message.find("Response from server 401"), std::string::npos) << message;
    EXPECT_FALSE(LocalExists());
}

TEST_F(NetInstallWineTest, AMissingFileIsAnErrorWithTheServersResponse) {
    Location(TInternetProtocol::ipHTTP);
    std::string message = DownloadError<ENIL_FileNotFound>("missing.1");
    EXPECT_EQ(message.rfind("Could not find the file missing.1 on the server.", 0), 0u) << message;
    EXPECT_NE(message.find("Response from server 404"), std::string::npos) << message;

    Location(TInternetProtocol::ipFTP);
    message = DownloadError<ENIL_FTPOpenFile>("missing.1");
    EXPECT_EQ(message.rfind("Cannot open file missing.1 on server. Error message ERROR_INTERNET_EXTENDED_ERROR.", 0),
              0u)
        << message;
    EXPECT_NE(message.find("Response from server 550"), std::string::npos) << message;
    EXPECT_FALSE(LocalExists());
    EXPECT_TRUE(afterDownload.empty());
}

TEST_F(NetInstallWineTest, AnEmptyFileIsNotFound) {
    for (auto protocol : {TInternetProtocol::ipHTTP, TInternetProtocol::ipFTP}) {
        Location(protocol);
        std::string message = DownloadError<ENIL_FileNotFound>("empty.1");
        EXPECT_EQ(message.rfind("Could not find the file empty.1 on the server.", 0), 0u) << message;
    }
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(NetInstallWineTest, AConnectionClosedMidTransferLeavesNoFile) {
    Location(TInternetProtocol::ipHTTP); // cut after 9000 of 20000 announced bytes
    std::string message = DownloadError<ENIL_ReadFile>("cut.1");
    EXPECT_EQ(message.rfind("Could not read from file cut.1 on the server.", 0), 0u) << message;
    EXPECT_FALSE(LocalExists());

    Location(TInternetProtocol::ipFTP); // the data connection reset after 9000 bytes
    message = DownloadError<ENIL_ReadFile>("cut.1");
    EXPECT_EQ(message.rfind("Could not read from file cut.1 on the server.", 0), 0u) << message;
    EXPECT_FALSE(LocalExists());
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(NetInstallWineTest, AServerThatFallsSilentTimesOut) {
    Location(TInternetProtocol::ipHTTP); // silent after 9000 of 20000 announced bytes
    // Wine's read fails with a system error code of its own, not ERROR_INTERNET_TIMEOUT.
    std::string message = DownloadError<ENIL_ReadFile>("stall.1");
    EXPECT_EQ(message.rfind("Could not read from file stall.1 on the server.", 0), 0u) << message;
    EXPECT_FALSE(LocalExists());
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(NetInstallWineTest, AHostThatDoesNotAnswer) {
    Location(TInternetProtocol::ipHTTP, "", closed);
    std::string message = DownloadError<ENIL_HTTPSendRequest>("files.1");
    EXPECT_NE(message.find("Error message ERROR_INTERNET_CANNOT_CONNECT."), std::string::npos) << message;

    Location(TInternetProtocol::ipFTP, "", closed);
    message = DownloadError<ENIL_OpenService>("files.1");
    EXPECT_NE(message.find("Error message ERROR_INTERNET_CANNOT_CONNECT."), std::string::npos) << message;
    EXPECT_FALSE(LocalExists());
}

TEST_F(NetInstallWineTest, CancellingEndsQuietlyAfterTheBlockInHand) {
    for (auto protocol : {TInternetProtocol::ipHTTP, TInternetProtocol::ipFTP}) {
        Location(protocol);
        int blocks = 0;
        location->OnDataReceived =
            TDataReceivedEvent("Cancel", [&](TPersistent*, const std::string&, int32_t, int32_t, int32_t, const char*) {
                ++blocks;
                SetDownloadAbort(true);
            });
        location->Download("files.1", local);
        EXPECT_EQ(blocks, 1);
        SetDownloadAbort(false);
    }
    EXPECT_EQ(afterDownload, (std::vector<bool>{true, true}));
    EXPECT_FALSE(LocalExists());
    EXPECT_EQ(FilesInFolder(), 0u);
}

} // namespace
} // namespace sw::test
