// The internet service against FTP and HTTP servers on the loopback: the fake
// with servers in memory, and under Wine WinInet against the real servers
// that tests/wine/net-install.sh starts (their ports in SW_NET_HTTP,
// SW_NET_FTP and SW_NET_CLOSED; without them the Win32 cases are skipped).
#include "ContractBackends.h"

#include "platform/Internet.h"
#include "support/NetServerFiles.h"

#include <cstdlib>

#ifdef _WIN32
#include "platform/win32/Win32Internet.h"
#endif

using namespace sw;

namespace {

struct Ports {
    uint16_t Http = 0, Ftp = 0, Closed = 0;
};

struct FakeInternetBackend {
    static constexpr bool Real = false;
    FakeInternetBackend() {
        auto& net = platform.Internet();
        auto& http = net.AddServer("127.0.0.1:" + std::to_string(ports.Http));
        auto& ftp = net.AddServer("127.0.0.1:" + std::to_string(ports.Ftp));
        for (const auto& [path, content] : nettest::ServedFiles()) {
            http.AddFile("/" + path, content);
            ftp.AddFile("/" + path, content);
        }
        // As the real servers do, both break cut.1 off after 9000 bytes.
        http.Files.at("/pub/setup/cut.1").CutAfter = nettest::kCutAfter;
        ftp.Files.at("/pub/setup/cut.1").CutAfter = nettest::kCutAfter;
        ftp.User = nettest::kUser;
        ftp.Password = nettest::kPassword;
        net.AddServer("127.0.0.1:" + std::to_string(ports.Closed)).Answers = false;
    }
    sw::IInternet& Internet() { return platform.Internet(); }
    bool Ready() const { return true; }

    fake::FakePlatform platform;
    Ports ports{8080, 2121, 9};
};

#ifdef _WIN32
struct Win32InternetBackend {
    static constexpr bool Real = true;
    Win32InternetBackend() {
        ports.Http = nettest::PortFromEnvironment("SW_NET_HTTP");
        ports.Ftp = nettest::PortFromEnvironment("SW_NET_FTP");
        ports.Closed = nettest::PortFromEnvironment("SW_NET_CLOSED");
    }
    sw::IInternet& Internet() { return platform.Internet(); }
    bool Ready() const { return ports.Http && ports.Ftp && ports.Closed; }

    sw::win32::Win32Platform platform;
    Ports ports;
};
using InternetBackends = ::testing::Types<FakeInternetBackend, Win32InternetBackend>;
#else
using InternetBackends = ::testing::Types<FakeInternetBackend>;
#endif

template <typename Backend> class InternetContract : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!backend.Ready())
            GTEST_SKIP() << "no loopback servers (run by tests/wine/net-install.sh)";
        ASSERT_TRUE(Net().Load().Loaded());
        session = Net().Open("Setwright contract");
        ASSERT_NE(session, 0u);
    }
    void TearDown() override {
        if (session) {
            EXPECT_TRUE(Net().CloseHandle(session));
            Net().Unload();
        }
    }

    sw::IInternet& Net() { return backend.Internet(); }
    InternetHandle ConnectFtp(const std::optional<std::string>& user = std::nullopt,
                              const std::optional<std::string>& password = std::nullopt) {
        return Net().Connect(session, "127.0.0.1", backend.ports.Ftp, InternetService::Ftp, user, password);
    }
    InternetHandle SendGet(const std::string& object) {
        InternetHandle connection =
            Net().Connect(session, "127.0.0.1", backend.ports.Http, InternetService::Http, "", "");
        EXPECT_NE(connection, 0u);
        InternetHandle request = Net().HttpOpenRequest(connection, "GET", object);
        EXPECT_NE(request, 0u);
        EXPECT_TRUE(Net().HttpSendRequest(request, "Accept: */*\r\n\r\n"));
        return request;
    }
    // Every byte until a read returns none, in blocks of at most 8192.
    std::string ReadAll(InternetHandle file) {
        std::string all;
        char block[8192];
        uint32_t n = 0;
        for (int reads = 0; reads < 1000; ++reads) {
            EXPECT_TRUE(Net().ReadFile(file, block, sizeof block, n));
            if (n == 0)
                break;
            EXPECT_LE(n, sizeof block);
            all.append(block, n);
        }
        return all;
    }
    std::string Response() {
        std::string text;
        EXPECT_TRUE(Net().LastResponseInfo(text));
        return text;
    }

    Backend backend;
    InternetHandle session = 0;
};

TYPED_TEST_SUITE(InternetContract, InternetBackends, contract::BackendNames);

TYPED_TEST(InternetContract, HttpGetGivesStatusLengthAndTheBytes) {
    InternetHandle request = this->SendGet("/pub/setup/files.1");
    std::string status, length;
    ASSERT_TRUE(this->Net().HttpQueryInfo(request, kHttpQueryStatusCode, status));
    EXPECT_EQ(status, "200");
    ASSERT_TRUE(this->Net().HttpQueryInfo(request, kHttpQueryContentLength, length));
    EXPECT_EQ(length, std::to_string(nettest::ServedFiles().at("pub/setup/files.1").size()));
    EXPECT_EQ(this->ReadAll(request), nettest::ServedFiles().at("pub/setup/files.1"));
    EXPECT_TRUE(this->Net().CloseHandle(request));
}

TYPED_TEST(InternetContract, HttpMissingFileIsA404Reply) {
    InternetHandle request = this->SendGet("/pub/setup/missing.1");
    std::string status, text;
    ASSERT_TRUE(this->Net().HttpQueryInfo(request, kHttpQueryStatusCode, status));
    EXPECT_EQ(status, "404");
    ASSERT_TRUE(this->Net().HttpQueryInfo(request, kHttpQueryStatusText, text));
    EXPECT_FALSE(text.empty());
    EXPECT_TRUE(this->Net().CloseHandle(request));
}

TYPED_TEST(InternetContract, FtpDirectoryAndFile) {
    InternetHandle connection = this->ConnectFtp();
    ASSERT_NE(connection, 0u);
    ASSERT_TRUE(this->Net().FtpSetCurrentDirectory(connection, "pub/setup"));
    InternetHandle file = this->Net().FtpOpenFile(connection, "files.1");
    ASSERT_NE(file, 0u);
    uint32_t available = 0;
    EXPECT_TRUE(this->Net().QueryDataAvailable(file, available));
    EXPECT_GT(available, 0u);
    EXPECT_EQ(this->ReadAll(file), nettest::ServedFiles().at("pub/setup/files.1"));
    EXPECT_TRUE(this->Net().CloseHandle(file));

    EXPECT_EQ(this->Net().FtpOpenFile(connection, "missing.1"), 0u);
    EXPECT_EQ(this->Net().LastError(), 12003u); // ERROR_INTERNET_EXTENDED_ERROR
    EXPECT_EQ(this->Response().substr(0, 3), "550");
    EXPECT_FALSE(this->Net().FtpSetCurrentDirectory(connection, "/none"));
    EXPECT_EQ(this->Response().substr(0, 3), "550");
    EXPECT_TRUE(this->Net().CloseHandle(connection));
}

TYPED_TEST(InternetContract, AnFtpTransferEndsWithTheServersReplyWhenClosed) {
    InternetHandle connection = this->ConnectFtp();
    ASSERT_NE(connection, 0u);
    ASSERT_TRUE(this->Net().FtpSetCurrentDirectory(connection, "pub/setup"));
    InternetHandle file = this->Net().FtpOpenFile(connection, "files.1");
    ASSERT_NE(file, 0u);
    EXPECT_EQ(this->ReadAll(file).size(), 20000u);
    EXPECT_TRUE(this->Net().CloseHandle(file));
    EXPECT_EQ(this->Response().substr(0, 3), "226");

    // A transfer the server breaks off ends its data as a whole one would.
    file = this->Net().FtpOpenFile(connection, "cut.1");
    ASSERT_NE(file, 0u);
    EXPECT_EQ(this->ReadAll(file), nettest::ServedFiles().at("pub/setup/cut.1").substr(0, nettest::kCutAfter));
    EXPECT_TRUE(this->Net().CloseHandle(file));
    EXPECT_EQ(this->Response().substr(0, 3), "426");
    EXPECT_TRUE(this->Net().CloseHandle(connection));
}

TYPED_TEST(InternetContract, FtpLoginWithUserAndWrongPassword) {
    InternetHandle connection = this->ConnectFtp(nettest::kUser, nettest::kPassword);
    ASSERT_NE(connection, 0u);
    EXPECT_TRUE(this->Net().CloseHandle(connection));
    EXPECT_EQ(this->ConnectFtp(nettest::kUser, "wrong"), 0u);
    EXPECT_EQ(this->Response().substr(0, 3), "530");
}

TYPED_TEST(InternetContract, AClosedPortCannotBeReached) {
    EXPECT_EQ(this->Net().Connect(this->session, "127.0.0.1", this->backend.ports.Closed, InternetService::Ftp,
                                  std::nullopt, std::nullopt),
              0u);
    EXPECT_EQ(this->Net().LastError(), 12029u); // ERROR_INTERNET_CANNOT_CONNECT
    InternetHandle connection =
        this->Net().Connect(this->session, "127.0.0.1", this->backend.ports.Closed, InternetService::Http, "", "");
    ASSERT_NE(connection, 0u); // HTTP connects when the request is sent
    InternetHandle request = this->Net().HttpOpenRequest(connection, "GET", "/files.1");
    ASSERT_NE(request, 0u);
    EXPECT_FALSE(this->Net().HttpSendRequest(request, "Accept: */*\r\n\r\n"));
    EXPECT_EQ(this->Net().LastError(), 12029u);
    EXPECT_TRUE(this->Net().CloseHandle(request));
    EXPECT_TRUE(this->Net().CloseHandle(connection));
}

TYPED_TEST(InternetContract, AnHttpConnectionTakesTimeouts) {
    InternetHandle connection =
        this->Net().Connect(this->session, "127.0.0.1", this->backend.ports.Http, InternetService::Http, "", "");
    ASSERT_NE(connection, 0u);
    EXPECT_TRUE(this->Net().SetTimeouts(connection, 30000));
    EXPECT_TRUE(this->Net().CloseHandle(connection));
}

TYPED_TEST(InternetContract, ClosingNoHandleFails) { EXPECT_FALSE(this->Net().CloseHandle(0)); }

} // namespace
