// Internet access as a client of FTP and HTTP servers: the WinInet operations
// a net install location uses, with the library loaded at run time. Each
// operation returns the API's own success; the system's error code of the
// last failure is read with LastError.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sw {

// An open session, connection, remote file or request; 0 is none.
using InternetHandle = std::uintptr_t;

enum class InternetService : uint32_t { Ftp = 1, Http = 3 };

// The library's procedures, in the order they are resolved, with the name
// each is reported by ("InternetOpen" for "InternetOpenA").
inline constexpr const char* kInternetLibrary = "WININET.DLL";
inline constexpr const char* kInternetProcedures[] = {"InternetGetLastResponseInfoA",
                                                      "InternetOpenA",
                                                      "InternetConnectA",
                                                      "FtpSetCurrentDirectoryA",
                                                      "InternetCloseHandle",
                                                      "InternetQueryDataAvailable",
                                                      "InternetReadFile",
                                                      "FtpOpenFileA",
                                                      "HttpOpenRequestA",
                                                      "HttpSendRequestA",
                                                      "HttpQueryInfoA"};

// Not among them: looked up after them, and a library without it still loads
// (the session's timeouts are then the library's own).
inline constexpr const char* kInternetSetOptionProcedure = "InternetSetOptionA";

// HttpQueryInfo queries.
inline constexpr uint32_t kHttpQueryContentLength = 5;
inline constexpr uint32_t kHttpQueryStatusCode = 19;
inline constexpr uint32_t kHttpQueryStatusText = 20;
// The system error of a query for a header the reply does not have.
inline constexpr uint32_t kErrorHttpHeaderNotFound = 12150;

struct InternetLoadResult {
    bool LibraryLoaded = false;
    // The first procedure missing (its full name), empty when all resolved.
    std::string MissingProcedure;
    bool Loaded() const { return LibraryLoaded && MissingProcedure.empty(); }
};

class IInternet {
  public:
    virtual ~IInternet() = default;

    // Loads the library and resolves kInternetProcedures in order, stopping at
    // the first one missing. Each load that loaded the library is matched by
    // one Unload.
    virtual InternetLoadResult Load() = 0;
    virtual void Unload() = 0;

    // A session with preconfigured access, no proxy, no bypass list, no flags.
    virtual InternetHandle Open(const std::string& agent) = 0;
    // Bounds each connect, send and receive through a session or connection
    // and what is opened through it afterwards; false when the library cannot
    // (for that kind of handle).
    virtual bool SetTimeouts(InternetHandle handle, uint32_t milliseconds) = 0;
    // A connection to the host's port (0: the service's default port); a user
    // name and password left out are passed as absent.
    virtual InternetHandle Connect(InternetHandle session, const std::string& host, uint16_t port,
                                   InternetService service, const std::optional<std::string>& user,
                                   const std::optional<std::string>& password) = 0;
    virtual bool FtpSetCurrentDirectory(InternetHandle connection, const std::string& directory) = 0;
    // Opens a remote file for reading in binary transfer.
    virtual InternetHandle FtpOpenFile(InternetHandle connection, const std::string& name) = 0;
    // A request with the default HTTP version, no referrer and no accept
    // types, reloading past every cache and writing none, over the existing
    // connection.
    virtual InternetHandle HttpOpenRequest(InternetHandle connection, const std::string& verb,
                                           const std::string& object) = 0;
    virtual bool HttpSendRequest(InternetHandle request, const std::string& headers) = 0;
    // A header of the reply as text, into a buffer of 33 characters.
    virtual bool HttpQueryInfo(InternetHandle request, uint32_t query, std::string& value) = 0;
    virtual bool QueryDataAvailable(InternetHandle file, uint32_t& bytes) = 0;
    // Reads up to size bytes; 0 bytes read with success is the end.
    virtual bool ReadFile(InternetHandle file, char* buffer, uint32_t size, uint32_t& read) = 0;
    virtual bool CloseHandle(InternetHandle handle) = 0;
    // The server's last response text, up to 3000 characters.
    virtual bool LastResponseInfo(std::string& text) = 0;
    // The system error code of the last failed operation.
    virtual uint32_t LastError() = 0;
};

} // namespace sw
