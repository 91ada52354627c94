// The net install location against the fake internet service: loading the
// library, connecting, downloading by FTP and HTTP, every failure with its
// ENIL error, cancelling, and the local file never left partial.
#include "support/EngineFixture.h"
#include "support/ErrorOf.h"

#include "objects/NetErrors.h"
#include "objects/NetInstallLocation.h"

#include <cstring>

namespace sw::test {
namespace {

using fake::FakeInternet;
namespace inet = fake::inet;

const std::string kLocal = "C:\\WINDOWS\\TEMP\\files.1";

struct Received {
    std::string Name;
    int32_t Bytes, Total, Size;
};

class NetInstallLocationTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        location = new TNetInstallLocation(nullptr);
        location->SetName("NetLocation1");
        location->LoginInformation()->Hostname = "srv1";
        location->OnDataReceived =
            TDataReceivedEvent("Received", [this](TPersistent*, const std::string& name, int32_t n, int32_t total,
                                                  int32_t size, const char*) {
                received.push_back({name, n, total, size});
            });
        location->OnAfterDownload =
            TNotifyWithAbortFlag("After", [this](TPersistent*, bool& aborted) { afterDownload.push_back(aborted); });
    }
    void TearDown() override {
        delete location;
        SetDownloadAbort(false);
        EngineFixture::TearDown();
    }

    FakeInternet& Net() { return fake_.Internet(); }
    FakeInternet::Server& Server() { return Net().AddServer("srv1"); }
    // A changed login takes effect with the next connection.
    void UseFtp(const std::string& directory = "") {
        location->LoginInformation()->Protocol = TInternetProtocol::ipFTP;
        location->LoginInformation()->Directory = directory;
        location->Disconnect();
    }
    std::string LocalText() { return fake_.Files().FileText(kLocal); }
    bool LocalExists() { return fake_.Files().FileExists(kLocal); }
    // No temporary file of a download is left in the folder.
    size_t FilesInTemp() { return fake_.Files().ListDirectory("C:\\WINDOWS\\TEMP", "*.*").size(); }

    // The message of the error a download raises; fails unless it is an E.
    template <class E> std::string DownloadError(const std::string& remote = "files.1") {
        return ErrorOf<E>([&] { location->Download(remote, kLocal); });
    }

    TNetInstallLocation* location = nullptr;
    std::vector<Received> received;
    std::vector<bool> afterDownload;
};

TEST_F(NetInstallLocationTest, LoginInformationDefaultsCopiesAndValidity) {
    TLoginInformation login;
    EXPECT_TRUE(login.Anonymous);
    EXPECT_EQ(login.Protocol, TInternetProtocol::ipHTTP);
    EXPECT_TRUE(login.Directory.empty() && login.Hostname.empty() && login.Username.empty());
    EXPECT_FALSE(TCustomNetInstallLocation::IsValid(login));
    login.Hostname = "  ";
    EXPECT_FALSE(TCustomNetInstallLocation::IsValid(login));
    login.Hostname = "srv";
    EXPECT_TRUE(TCustomNetInstallLocation::IsValid(login));

    TLoginInformation named;
    named.Anonymous = false;
    EXPECT_FALSE(TCustomNetInstallLocation::IsValid(named));
    named.Username = "joe"; // a user name alone counts as valid
    EXPECT_TRUE(TCustomNetInstallLocation::IsValid(named));
    named.Username.clear();
    named.Password = "pw";
    EXPECT_TRUE(TCustomNetInstallLocation::IsValid(named));

    named.Hostname = "h";
    named.Directory = "d";
    named.Protocol = TInternetProtocol::ipFTP;
    location->SetLoginInformation(static_cast<TLoginInformation*>(&named));
    const TLoginInformation& copy = *location->LoginInformation();
    EXPECT_EQ(copy.Location(), location);
    EXPECT_FALSE(copy.Anonymous);
    EXPECT_EQ(copy.Hostname + copy.Directory + copy.Password, "hdpw");
    EXPECT_EQ(copy.Protocol, TInternetProtocol::ipFTP);
}

TEST_F(NetInstallLocationTest, ReadsFromAProjectStream) {
    TTestForm* form = LoadForm(R"(object Form1: TTestForm
  object NetLocation1: TNetInstallLocation
    LoginInformation.Anonymous = False
    LoginInformation.Directory = 'pub\setup'
    LoginInformation.Hostname = 'ftp.example.com'
    LoginInformation.Password = 'secret'
    LoginInformation.Protocol = ipFTP
    LoginInformation.Username = 'joe'
  end
  object Install1: TInstall
    NetLocation = NetLocation1
    RunAutomatic = False
  end
end
)");
    auto* read = dynamic_cast<TNetInstallLocation*>(form->FindComponent("NetLocation1"));
    ASSERT_NE(read, nullptr);
    const TLoginInformation& login = *read->LoginInformation();
    EXPECT_FALSE(login.Anonymous);
    EXPECT_EQ(login.Directory, "pub\\setup");
    EXPECT_EQ(login.Hostname, "ftp.example.com");
    EXPECT_EQ(login.Username + "/" + login.Password, "joe/secret");
    EXPECT_EQ(login.Protocol, TInternetProtocol::ipFTP);
    EXPECT_EQ(GlobalNetLocation(), read);
    FreeRoots();
    EXPECT_EQ(GlobalNetLocation(), nullptr);
}

TEST_F(NetInstallLocationTest, ServerFormOfPaths) {
    EXPECT_EQ(ServerPath(""), "/");
    EXPECT_EQ(ServerPath("   "), "/");
    EXPECT_EQ(ServerPath("pub\\setup"), "pub/setup");
    EXPECT_EQ(ServerPath("\\pub\\app\\"), "/pub/app/");
}

TEST_F(NetInstallLocationTest, LoadingTheLibraryReportsWhatIsMissing) {
    Net().SetLibraryMissing(true);
    EXPECT_EQ(ErrorOf<ENIL_FailLoadWININET>([&] { location->LoadWinInet(); }),
              "Failed to load the Wininet.dll. If this is a hybrid installation, you might want to include the "
              "WININET.DLL file in the PresetupFiles property of the TInstall component");
    Net().SetLibraryMissing(false);
    for (const char* name : {"InternetGetLastResponseInfoA", "InternetConnectA", "InternetCloseHandle",
                             "InternetQueryDataAvailable", "HttpQueryInfoA"}) {
        Net().SetMissingProcedure(name);
        std::string shortName = std::string(name).ends_with('A') ? std::string(name, strlen(name) - 1) : name;
        EXPECT_EQ(DownloadError<ENIL_FailLoadDLLProc>(),
                  "Failed to load the procedure " + shortName + " from WININET.DLL");
        EXPECT_FALSE(location->WinInetLoaded());
    }
    Net().SetMissingProcedure("");
    location->LoadWinInet();
    EXPECT_TRUE(location->WinInetLoaded());
    EXPECT_EQ(Net().LoadCount(), 1);
}

TEST_F(NetInstallLocationTest, DownloadsOverHttpInBlocksWithProgress) {
    std::string content(20000, 'x');
    content[0] = 'A';
    content[19999] = 'Z';
    Server().AddFile("/pub/setup/files.1", content);
    location->LoginInformation()->Directory = "pub\\setup";
    int receiverCalls = 0;
    location->DownloadReceiver = TDataReceivedEvent(
        "Receiver", [&](TPersistent* sender, const std::string&, int32_t, int32_t total, int32_t, const char* buffer) {
            EXPECT_EQ(sender, location);
            EXPECT_EQ(received.back().Total, total); // right after OnDataReceived
            EXPECT_NE(buffer, nullptr);
            ++receiverCalls;
        });
    location->Download("files.1", kLocal);

    EXPECT_EQ(LocalText(), content);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].Name, "files.1");
    EXPECT_EQ(received[0].Bytes, 8192);
    EXPECT_EQ(received[1].Total, 16384);
    EXPECT_EQ(received[2].Bytes, 20000 - 16384);
    EXPECT_EQ(received[2].Total, 20000);
    EXPECT_EQ(received[2].Size, 20000);
    EXPECT_EQ(receiverCalls, 3);
    EXPECT_EQ(afterDownload, std::vector<bool>{false});
    EXPECT_EQ(Net().Recorded().Objects, std::vector<std::string>{"GET /pub/setup/files.1"});
    EXPECT_EQ(Net().Recorded().Headers, std::vector<std::string>{"Accept: */*\r\n\r\n"});
    EXPECT_EQ(Net().OpenHandleCount(), 2u); // the session and the connection stay open
    EXPECT_EQ(ActiveNetLocation(), location);
    EXPECT_EQ(FilesInTemp(), 1u);
}

TEST_F(NetInstallLocationTest, AHostNameMayNameAPort) {
    Net().AddServer("srv1:8080").AddFile("/files.1", "on 8080");
    location->LoginInformation()->Hostname = "srv1:8080";
    location->Download("files.1", kLocal);
    EXPECT_EQ(Net().Recorded().Port, 8080);
    EXPECT_EQ(LocalText(), "on 8080");

    for (const char* odd : {"srv1:", "srv1:x", "srv1:70000", "srv1:0"}) {
        TNetInstallLocation other(nullptr);
        other.LoginInformation()->Hostname = odd;
        EXPECT_THROW(other.Download("files.1", kLocal), ENIL_HTTPSendRequest) << odd; // no such host
        EXPECT_EQ(Net().Recorded().Port, 0) << odd;
    }
}

TEST_F(NetInstallLocationTest, HttpObjectOfABlankDirectoryIsTheRoot) {
    Server().AddFile("/files.1", "data");
    location->Download("files.1", kLocal);
    EXPECT_EQ(Net().Recorded().Objects, std::vector<std::string>{"GET /files.1"});
    EXPECT_EQ(LocalText(), "data");
}

TEST_F(NetInstallLocationTest, HttpLoginIsEmptyTextWhenAnonymousAndTheNamesOtherwise) {
    Server().AddFile("/f", "1");
    Server().User = "joe";
    Server().Password = "pw";
    location->Download("f", kLocal);
    EXPECT_EQ(Net().Recorded().User, std::optional<std::string>(""));
    EXPECT_EQ(Net().Recorded().Password, std::optional<std::string>(""));
    EXPECT_EQ(Net().Recorded().Service, InternetService::Http);

    TNetInstallLocation other(nullptr);
    other.LoginInformation()->Hostname = "srv1";
    other.LoginInformation()->Anonymous = false;
    other.LoginInformation()->Username = "joe";
    other.LoginInformation()->Password = "pw";
    other.Download("f", kLocal);
    EXPECT_EQ(Net().Recorded().User, std::optional<std::string>("joe"));
    EXPECT_EQ(Net().Recorded().Password, std::optional<std::string>("pw"));
}

TEST_F(NetInstallLocationTest, FtpLogsInAndSetsTheDirectoryOncePerConnection) {
    UseFtp("pub\\setup");
    Server().AddFile("/pub/setup/files.1", "one");
    Server().AddFile("/pub/setup/filelist.lst", "two");
    std::vector<std::string> events;
    location->OnBeforeLogin = TLoginEvent("BL", [&](TPersistent*) { events.push_back("before login"); });
    location->OnAfterLogin = TLoginEvent("AL", [&](TPersistent*) { events.push_back("after login"); });
    location->OnBeforeDownload = TNotifyEvent("BD", [&](TPersistent*) { events.push_back("before download"); });

    location->Download("files.1", kLocal);
    EXPECT_EQ(LocalText(), "one");
    location->Download("filelist.lst", kLocal);
    EXPECT_EQ(LocalText(), "two");

    EXPECT_EQ(events, (std::vector<std::string>{"before login", "after login", "before download", "before download"}));
    EXPECT_EQ(Net().Recorded().Connects, 1);
    EXPECT_EQ(Net().Recorded().Opens, 1);
    EXPECT_FALSE(Net().Recorded().User.has_value()); // anonymous: no user name at all
    // Set once per connection: a relative directory set again would be taken
    // from the one set before.
    EXPECT_EQ(Net().Recorded().Directories, std::vector<std::string>{"pub/setup"});
    EXPECT_EQ(afterDownload, (std::vector<bool>{false, false}));
}

TEST_F(NetInstallLocationTest, FtpBlankDirectoryIsTheRoot) {
    UseFtp("  ");
    Server().AddFile("/files.1", "root");
    location->Download("files.1", kLocal);
    EXPECT_EQ(Net().Recorded().Directories, std::vector<std::string>{"/"});
    EXPECT_EQ(LocalText(), "root");
}

TEST_F(NetInstallLocationTest, AFileWhoseFirstBytesRead404DownloadsFine) {
    Server().AddFile("/files.1", "404 is only data here");
    location->Download("files.1", kLocal);
    EXPECT_EQ(LocalText(), "404 is only data here");
}

TEST_F(NetInstallLocationTest, HttpMissingFileIsNotFoundWithTheStatusLine) {
    Server();
    fake_.Files().PutFile(kLocal, "an older copy");
    std::string message = DownloadError<ENIL_FileNotFound>();
    EXPECT_EQ(message, "Could not find the file files.1 on the server. Error message Unregistered error code. "
                       "Server srv1. Response from server 404 Not Found");
    EXPECT_FALSE(LocalExists());
    EXPECT_TRUE(received.empty()); // nothing of the error page was taken
    EXPECT_TRUE(afterDownload.empty());
    EXPECT_EQ(Net().OpenHandleCount(), 2u);
}

TEST_F(NetInstallLocationTest, HttpErrorRepliesAreNeverSavedAsTheFile) {
    Server().AddFile("/files.1", "<html>Internal error</html>").Status = 500;
    Server().Files["/files.1"].StatusText = "Internal Server Error";
    Server().AddFile("/denied.1", "<html>no</html>").Status = 403;
    Server().Files["/denied.1"].StatusText = "Forbidden";
    EXPECT_NE(DownloadError<ENIL_HTTPOpenFile>().find("Response from server 500 Internal Server Error"),
              std::string::npos);
    EXPECT_NE(DownloadError<ENIL_HTTPOpenFile>("denied.1").find("Cannot open file denied.1 on server."),
              std::string::npos);
    EXPECT_FALSE(LocalExists());
    EXPECT_EQ(FilesInTemp(), 0u);
}

TEST_F(NetInstallLocationTest, AnEmptyFileIsNotFound) {
    Server().AddFile("/files.1", "");
    EXPECT_NE(DownloadError<ENIL_FileNotFound>().find("Could not find the file files.1 on the server"),
              std::string::npos);
    UseFtp();
    EXPECT_NE(DownloadError<ENIL_FileNotFound>().find("Could not find the file files.1 on the server"),
              std::string::npos);
    EXPECT_FALSE(LocalExists());
    EXPECT_EQ(FilesInTemp(), 0u);
}

TEST_F(NetInstallLocationTest, ATransferShortOfItsLengthIsAnError) {
    std::string content(10000, 'c');
    Server().AddFile("/cut.1", content).CutAfter = 9000;
    Server().AddFile("/long.1", content).ContentLength = "12000";
    Server().AddFile("/short.1", content).ContentLength = "5000";
    for (const char* name : {"cut.1", "long.1", "short.1"}) {
        EXPECT_EQ(DownloadError<ENIL_ReadFile>(name).rfind("Could not read from file " + std::string(name), 0), 0u)
            << name;
        EXPECT_FALSE(LocalExists()) << name;
    }
    EXPECT_EQ(FilesInTemp(), 0u);
    EXPECT_TRUE(afterDownload.empty());
}

TEST_F(NetInstallLocationTest, AnFtpTransferCutShortIsToldByTheServersReply) {
    UseFtp();
    std::string content(20000, 'f');
    Server().AddFile("/cut.1", content).CutAfter = 9000;
    Server().AddFile("/files.1", content);
    std::string message = DownloadError<ENIL_ReadFile>("cut.1");
    EXPECT_EQ(message.rfind("Could not read from file cut.1 on the server.", 0), 0u) << message;
    EXPECT_NE(message.find("Response from server 426"), std::string::npos) << message;
    EXPECT_FALSE(LocalExists());
    EXPECT_TRUE(afterDownload.empty());

    location->Download("files.1", kLocal);
    EXPECT_EQ(LocalText(), content);
    EXPECT_EQ(afterDownload, std::vector<bool>{false});
    EXPECT_EQ(FilesInTemp(), 1u);
}

TEST_F(NetInstallLocationTest, AMissingOrMalformedLengthIsAnUnknownSize) {
    Server().AddFile("/none.1", "abc").ContentLength = "";
    Server().AddFile("/odd.1", "abc").ContentLength = "12x";
    for (const char* name : {"none.1", "odd.1"}) {
        received.clear();
        location->Download(name, kLocal);
        EXPECT_EQ(LocalText(), "abc");
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].Size, 0);
    }
}

// The fake's stalled read raises unless the session was given timeouts.
TEST_F(NetInstallLocationTest, AStalledTransferTimesOut) {
    Server().AddFile("/files.1", std::string(20000, 's')).StallAfter = 8192;
    std::string message = DownloadError<ENIL_ReadFile>();
    EXPECT_NE(message.find("Error message ERROR_INTERNET_TIMEOUT."), std::string::npos) << message;
    EXPECT_FALSE(LocalExists());
}

// Wine's library, for one, takes receive timeouts only on a connection.
TEST_F(NetInstallLocationTest, TimeoutsTheSessionRefusesAreSetOnTheConnection) {
    Net().FailNext(FakeInternet::Op::SetTimeouts, inet::InvalidOption);
    Server().AddFile("/files.1", std::string(20000, 's')).StallAfter = 8192;
    std::string message = DownloadError<ENIL_ReadFile>();
    EXPECT_NE(message.find("Error message ERROR_INTERNET_TIMEOUT."), std::string::npos) << message;
}

TEST_F(NetInstallLocationTest, FtpMissingFileCarriesTheServersResponse) {
    UseFtp();
    Server().AddFile("/other.1", "x");
    EXPECT_EQ(DownloadError<ENIL_FTPOpenFile>(),
              "Cannot open file files.1 on server. Error message ERROR_INTERNET_EXTENDED_ERROR. Server srv1. "
              "Response from server 550 files.1: No such file or directory.");
}

TEST_F(NetInstallLocationTest, FtpMissingDirectoryAndWrongLogin) {
    UseFtp("pub\\none");
    Server().AddFile("/pub/setup/files.1", "x");
    EXPECT_EQ(DownloadError<ENIL_FTPSetDir>().rfind("Cannot set directory on server to pub/none. Error message "
                                                    "ERROR_INTERNET_EXTENDED_ERROR. Server srv1. Response from "
                                                    "server 550",
                                                    0),
              0u);

    TNetInstallLocation other(nullptr);
    other.LoginInformation()->Hostname = "srv1";
    other.LoginInformation()->Protocol = TInternetProtocol::ipFTP;
    other.LoginInformation()->Anonymous = false;
    other.LoginInformation()->Username = "joe";
    other.LoginInformation()->Password = "wrong";
    Server().User = "joe";
    Server().Password = "right";
    EXPECT_EQ(ErrorOf<ENIL_OpenService>([&] { other.Download("files.1", kLocal); }),
              "Cannot connect to host srv1. Error message ERROR_INTERNET_LOGIN_FAILURE. Server srv1. Response from "
              "server 530 Login incorrect.");
    // No connection was made: the next download logs in with the values it has then.
    other.LoginInformation()->Password = "right";
    other.LoginInformation()->Directory = "pub\\setup";
    other.Download("files.1", kLocal);
    EXPECT_EQ(LocalText(), "x");
}

TEST_F(NetInstallLocationTest, HttpWrongPasswordIsRefused) {
    Server().User = "joe";
    Server().Password = "right";
    Server().AddFile("/files.1", "x");
    location->LoginInformation()->Anonymous = false;
    location->LoginInformation()->Username = "joe";
    location->LoginInformation()->Password = "wrong";
    EXPECT_NE(DownloadError<ENIL_HTTPOpenFile>().find("Response from server 401 Unauthorized"), std::string::npos);
    EXPECT_FALSE(LocalExists());
}

TEST_F(NetInstallLocationTest, AHostThatDoesNotAnswer) {
    Server().Answers = false;
    EXPECT_EQ(DownloadError<ENIL_HTTPSendRequest>(),
              "Cannot send request for file files.1 to the server. Error message ERROR_INTERNET_CANNOT_CONNECT. "
              "Server srv1. Response from server ");
    EXPECT_EQ(Net().OpenHandleCount(), 2u); // the request was closed

    TNetInstallLocation ftp(nullptr);
    ftp.LoginInformation()->Hostname = "srv1";
    ftp.LoginInformation()->Protocol = TInternetProtocol::ipFTP;
    EXPECT_THROW(ftp.Download("files.1", kLocal), ENIL_OpenService);
    EXPECT_EQ(ActiveNetLocation(), &ftp);
}

TEST_F(NetInstallLocationTest, EachFailingOperationRaisesItsError) {
    Server().AddFile("/files.1", "abc");
    Net().FailNext(FakeInternet::Op::Open, inet::Timeout);
    EXPECT_EQ(DownloadError<ENIL_OpenSession>().rfind("Cannot open internet connection. Error message "
                                                      "ERROR_INTERNET_TIMEOUT. Server srv1.",
                                                      0),
              0u);
    Net().FailNext(FakeInternet::Op::Connect, inet::NameNotResolved);
    EXPECT_NE(DownloadError<ENIL_OpenService>().find("Cannot connect to host srv1"), std::string::npos);
    Net().FailNext(FakeInternet::Op::HttpOpenRequest, inet::InvalidHandle);
    EXPECT_NE(DownloadError<ENIL_HTTPOpenFile>().find("Error message ERROR_INVALID_HANDLE."), std::string::npos);
    Net().FailNext(FakeInternet::Op::HttpQueryInfo, inet::IncorrectHandleState);
    EXPECT_NE(DownloadError<ENIL_FailDataQuery>().find("Could not query file files.1 on server"), std::string::npos);
    Net().FailNext(FakeInternet::Op::ReadFile, 12031);
    EXPECT_NE(DownloadError<ENIL_ReadFile>().find("ERROR_INTERNET_CONNECTION_RESET"), std::string::npos);
    Net().FailNext(FakeInternet::Op::CloseHandle, inet::InvalidHandle);
    EXPECT_EQ(DownloadError<ENIL_FTPCloseFile>().rfind("Cannot close the file files.1 on the server.", 0), 0u);
    EXPECT_FALSE(LocalExists());
    Net().FailNext(FakeInternet::Op::LastResponseInfo, 0);
    Net().FailNext(FakeInternet::Op::ReadFile, 12030);
    EXPECT_NE(DownloadError<ENIL_ReadFile>().find("Response from server No server response"), std::string::npos);

    UseFtp();
    Net().FailNext(FakeInternet::Op::QueryDataAvailable, 12111);
    EXPECT_NE(DownloadError<ENIL_FailDataQuery>().find("ERROR_FTP_DROPPED"), std::string::npos);
    EXPECT_FALSE(LocalExists());
    EXPECT_EQ(FilesInTemp(), 0u);

    location->Download("files.1", kLocal); // the handles were kept: the next download works
    EXPECT_EQ(LocalText(), "abc");
}

TEST_F(NetInstallLocationTest, ALocalFileThatCannotBeWrittenIsAnError) {
    Server().AddFile("/files.1", std::string(100, 'w'));
    fake_.Files().SetFreeSpace('C', 10);
    EXPECT_EQ(DownloadError<ENIL_WriteDestFile>(),
              "NetLocation1 could not write to the local dest file C:\\WINDOWS\\TEMP\\files.1");
    EXPECT_FALSE(LocalExists());
}

TEST_F(NetInstallLocationTest, RemoteNamesOutsideTheDirectoryAreRefused) {
    Server().AddFile("/files.1", "x");
    for (const char* name : {"..\\files.1", "a/../../b", "files.1\r\nDELE x", "/etc/passwd", " "}) {
        std::string message = DownloadError<ENIL>(name);
        EXPECT_EQ(message.rfind("The remote name ", 0), 0u) << message;
    }
    EXPECT_TRUE(Net().Recorded().Objects.empty());
    EXPECT_FALSE(LocalExists());
}

TEST_F(NetInstallLocationTest, CancellingEndsQuietlyAfterTheBlockInHand) {
    Server().AddFile("/files.1", std::string(30000, 'a'));
    fake_.Files().PutFile(kLocal, "an older copy");
    location->OnDataReceived = TDataReceivedEvent(
        "Cancel", [this](TPersistent*, const std::string&, int32_t n, int32_t total, int32_t, const char*) {
            received.push_back({"", n, total, 0});
            SetDownloadAbort(true);
        });
    location->Download("files.1", kLocal);
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(afterDownload, std::vector<bool>{true});
    EXPECT_FALSE(LocalExists()); // neither the partial file nor the older copy is taken
    EXPECT_EQ(FilesInTemp(), 0u);
    EXPECT_EQ(Net().OpenHandleCount(), 2u);
}

TEST_F(NetInstallLocationTest, DestructionClosesEverythingAndClearsTheGlobals) {
    Server().AddFile("/files.1", "x");
    location->Download("files.1", kLocal);
    SetGlobalNetLocation(location);
    EXPECT_EQ(Net().LoadCount(), 1);
    delete location;
    location = nullptr;
    EXPECT_EQ(Net().LoadCount(), 0);
    EXPECT_EQ(Net().OpenHandleCount(), 0u);
    EXPECT_EQ(ActiveNetLocation(), nullptr);
    EXPECT_EQ(GlobalNetLocation(), nullptr);
}

TEST(InternetErrorNames, NamesTheCodesOfTheHeader) {
    EXPECT_EQ(InternetErrorName(6), "ERROR_INVALID_HANDLE");
    EXPECT_EQ(InternetErrorName(12001), "ERROR_INTERNET_OUT_OF_HANDLES");
    EXPECT_EQ(InternetErrorName(12002), "ERROR_INTERNET_TIMEOUT");
    EXPECT_EQ(InternetErrorName(12029), "ERROR_INTERNET_CANNOT_CONNECT");
    EXPECT_EQ(InternetErrorName(12032), "ERROR_INTERNET_FORCE_RETRY");
    EXPECT_EQ(InternetErrorName(12036), "ERROR_INTERNET_HANDLE_EXISTS");
    EXPECT_EQ(InternetErrorName(12041), "ERROR_INTERNET_MIXED_SECURITY");
    EXPECT_EQ(InternetErrorName(12110), "ERROR_FTP_TRANSFER_IN_PROGRESS");
    EXPECT_EQ(InternetErrorName(12111), "ERROR_FTP_DROPPED");
    EXPECT_EQ(InternetErrorName(12130), "ERROR_GOPHER_PROTOCOL_ERROR");
    EXPECT_EQ(InternetErrorName(12138), "ERROR_GOPHER_UNKNOWN_LOCATOR");
    EXPECT_EQ(InternetErrorName(12150), "ERROR_HTTP_HEADER_NOT_FOUND");
    EXPECT_EQ(InternetErrorName(12155), "ERROR_HTTP_HEADER_ALREADY_EXISTS");
    for (uint32_t unnamed : {0u, 5u, 7u, 12000u, 12033u, 12035u, 12037u, 12112u, 12139u, 12149u, 12156u})
        EXPECT_EQ(InternetErrorName(unnamed), "Unregistered error code") << unnamed;
}

} // namespace
} // namespace sw::test
