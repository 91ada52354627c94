// FTP and HTTP servers held in memory, with fault injection: a missing
// library or procedure, the next call of any operation failing, a transfer
// that stalls (and times out) or ends early, a wrong Content-Length. Like
// WinInet, an HTTP connection is made lazily: a host that does not answer
// fails the sending of a request, an FTP one the connection.
#pragma once

#include "platform/Internet.h"

#include <map>
#include <set>
#include <vector>

namespace sw::fake {

// The system error codes the fake reports, as WinInet has them.
namespace inet {
inline constexpr uint32_t InvalidHandle = 6;
inline constexpr uint32_t InsufficientBuffer = 122;
inline constexpr uint32_t Timeout = 12002;
inline constexpr uint32_t ExtendedError = 12003;
inline constexpr uint32_t NameNotResolved = 12007;
inline constexpr uint32_t InvalidOption = 12009;
inline constexpr uint32_t LoginFailure = 12015;
inline constexpr uint32_t IncorrectHandleState = 12019;
inline constexpr uint32_t CannotConnect = 12029;
} // namespace inet

class FakeInternet : public IInternet {
  public:
    enum class Op {
        Open,
        SetTimeouts,
        Connect,
        FtpSetCurrentDirectory,
        FtpOpenFile,
        HttpOpenRequest,
        HttpSendRequest,
        HttpQueryInfo,
        QueryDataAvailable,
        ReadFile,
        CloseHandle,
        LastResponseInfo,
    };

    struct RemoteFile {
        std::string Content;
        // The Content-Length sent; the content's size when not set, none when
        // set to empty.
        std::optional<std::string> ContentLength;
        // The transfer ends, as if the server closed the connection, after
        // this many bytes; an FTP server then answers 426 when the file is
        // closed (226 after a whole transfer).
        std::optional<size_t> CutAfter;
        // Reading stalls after this many bytes until the session's timeout
        // (without one, reading it raises: it would never end).
        std::optional<size_t> StallAfter;
        // The HTTP reply; a missing file is answered 404.
        int Status = 200;
        std::string StatusText = "OK";
    };

    struct Server {
        bool Answers = true;
        // Logins accepted: anonymous ones (HTTP: without a user name) while
        // set, and this user with this password.
        bool AllowsAnonymous = true;
        std::optional<std::string> User, Password;
        // Files by absolute path ("/pub/setup/files.1"); folders are implied.
        std::map<std::string, RemoteFile> Files;
        RemoteFile& AddFile(const std::string& path, std::string content);
    };

    // What the location asked for, for tests to check.
    struct Calls {
        std::string Agent;
        std::vector<std::string> Directories; // FtpSetCurrentDirectory arguments
        std::vector<std::string> Objects;     // "VERB object" of each HTTP request
        std::vector<std::string> Headers;     // HttpSendRequest headers
        std::optional<std::string> User, Password;
        InternetService Service = InternetService::Http;
        uint16_t Port = 0;
        // The last SetTimeouts on a session or connection; none until then.
        std::optional<uint32_t> Timeout;
        int Connects = 0;
        int Opens = 0;
    };

    // A server at "host", or at "host:port" for one on another than the
    // default port.
    Server& AddServer(const std::string& host) { return servers_[host]; }
    void SetLibraryMissing(bool missing) { libraryMissing_ = missing; }
    // Resolving this procedure (its full name) fails.
    void SetMissingProcedure(const std::string& name) { missingProcedure_ = name; }
    // The next call of op fails with the error; the response becomes the
    // server's last response text.
    void FailNext(Op op, uint32_t error, const std::string& response = "");

    const Calls& Recorded() const { return calls_; }
    int LoadCount() const { return loads_; }
    size_t OpenHandleCount() const { return handles_.size(); }

    InternetLoadResult Load() override;
    void Unload() override;
    InternetHandle Open(const std::string& agent) override;
    bool SetTimeouts(InternetHandle handle, uint32_t milliseconds) override;
    InternetHandle Connect(InternetHandle session, const std::string& host, uint16_t port, InternetService service,
                           const std::optional<std::string>& user, const std::optional<std::string>& password) override;
    bool FtpSetCurrentDirectory(InternetHandle connection, const std::string& directory) override;
    InternetHandle FtpOpenFile(InternetHandle connection, const std::string& name) override;
    InternetHandle HttpOpenRequest(InternetHandle connection, const std::string& verb,
                                   const std::string& object) override;
    bool HttpSendRequest(InternetHandle request, const std::string& headers) override;
    bool HttpQueryInfo(InternetHandle request, uint32_t query, std::string& value) override;
    bool QueryDataAvailable(InternetHandle file, uint32_t& bytes) override;
    bool ReadFile(InternetHandle file, char* buffer, uint32_t size, uint32_t& read) override;
    bool CloseHandle(InternetHandle handle) override;
    bool LastResponseInfo(std::string& text) override;
    uint32_t LastError() override { return lastError_; }

  private:
    enum class Kind { Session, Connection, FtpFile, HttpRequest };
    struct Handle {
        Kind Type;
        std::string Host;
        InternetService Service = InternetService::Http;
        std::optional<std::string> User, Password;
        std::string Directory = "/"; // FTP: the current directory
        std::string Path;            // the file or request object
        bool Sent = false;
        const RemoteFile* File = nullptr;
        int Status = 0;
        std::string StatusText;
        size_t Position = 0;
        InternetHandle Parent = 0;
    };

    bool Fail(uint32_t error, const std::string& response = "");
    bool Injected(Op op);
    Handle* Find(InternetHandle h, Kind kind);
    InternetHandle Add(Handle handle);
    Server* ServerOf(const Handle& h);
    bool LoginAccepted(const Server& server, const Handle& connection) const;
    // The bytes a file can still give before its end, cut or stall.
    size_t Remaining(const Handle& file) const;
    bool Stalled(const Handle& file) const;

    std::map<std::string, Server> servers_;
    std::map<InternetHandle, Handle> handles_;
    std::map<Op, std::pair<uint32_t, std::string>> failNext_;
    InternetHandle nextHandle_ = 0x100;
    bool libraryMissing_ = false;
    std::string missingProcedure_;
    int loads_ = 0;
    uint32_t lastError_ = 0;
    std::optional<std::string> lastResponse_;
    Calls calls_;
};

} // namespace sw::fake
