#include "platform/fake/FakeInternet.h"

#include "platform/PlatformErrors.h"

#include <algorithm>
#include <cstring>

namespace sw::fake {

namespace {

// The absolute form of a folder or file path, relative ones taken from base.
std::string Absolute(const std::string& base, const std::string& path) {
    std::string full = !path.empty() && path[0] == '/' ? path : base + (base.ends_with('/') ? "" : "/") + path;
    while (full.size() > 1 && full.ends_with('/'))
        full.pop_back();
    return full;
}

bool FolderExists(const std::map<std::string, FakeInternet::RemoteFile>& files, const std::string& folder) {
    if (folder == "/")
        return true;
    return std::any_of(files.begin(), files.end(),
                       [&](const auto& entry) { return entry.first.starts_with(folder + "/"); });
}

FakeInternet::RemoteFile ErrorPage(int status, const std::string& text) {
    FakeInternet::RemoteFile page;
    page.Content = "<html><body><h1>" + std::to_string(status) + " " + text + "</h1></body></html>";
    page.Status = status;
    page.StatusText = text;
    return page;
}

} // namespace

FakeInternet::RemoteFile& FakeInternet::Server::AddFile(const std::string& path, std::string content) {
    RemoteFile& file = Files[path];
    file.Content = std::move(content);
    return file;
}

void FakeInternet::FailNext(Op op, uint32_t error, const std::string& response) { failNext_[op] = {error, response}; }

bool FakeInternet::Fail(uint32_t error, const std::string& response) {
    lastError_ = error;
    lastResponse_ = response;
    return false;
}

bool FakeInternet::Injected(Op op) {
    auto it = failNext_.find(op);
    if (it == failNext_.end())
        return false;
    auto [error, response] = it->second;
    failNext_.erase(it);
    Fail(error, response);
    return true;
}

FakeInternet::Handle* FakeInternet::Find(InternetHandle h, Kind kind) {
    auto it = handles_.find(h);
    if (it == handles_.end() || it->second.Type != kind) {
        Fail(inet::InvalidHandle);
        return nullptr;
    }
    return &it->second;
}

InternetHandle FakeInternet::Add(Handle handle) {
    InternetHandle h = ++nextHandle_;
    handles_.emplace(h, std::move(handle));
    return h;
}

FakeInternet::Server* FakeInternet::ServerOf(const Handle& h) {
    auto it = servers_.find(h.Host);
    return it == servers_.end() ? nullptr : &it->second;
}

bool FakeInternet::LoginAccepted(const Server& server, const Handle& connection) const {
    if (connection.User.value_or("").empty())
        return server.AllowsAnonymous;
    return connection.User == server.User && connection.Password.value_or("") == server.Password.value_or("");
}

size_t FakeInternet::Remaining(const Handle& file) const {
    size_t end = file.File ? file.File->Content.size() : 0;
    if (file.File && file.File->CutAfter)
        end = std::min(end, *file.File->CutAfter);
    if (file.File && file.File->StallAfter)
        end = std::min(end, *file.File->StallAfter);
    return end > file.Position ? end - file.Position : 0;
}

bool FakeInternet::Stalled(const Handle& file) const {
    bool stalled = file.File && file.File->StallAfter && file.Position >= *file.File->StallAfter &&
                   file.Position < file.File->Content.size();
    if (stalled && !calls_.Timeout)
        throw EPlatformError("A stalled transfer was read without a timeout: it would never end");
    return stalled;
}

InternetLoadResult FakeInternet::Load() {
    InternetLoadResult result;
    if (libraryMissing_)
        return result;
    result.LibraryLoaded = true;
    for (const char* name : kInternetProcedures) {
        if (missingProcedure_ == name) {
            result.MissingProcedure = name;
            return result;
        }
    }
    ++loads_;
    return result;
}

void FakeInternet::Unload() {
    if (loads_ > 0)
        --loads_;
}

InternetHandle FakeInternet::Open(const std::string& agent) {
    ++calls_.Opens;
    calls_.Agent = agent;
    if (Injected(Op::Open))
        return 0;
    Handle session;
    session.Type = Kind::Session;
    return Add(std::move(session));
}

bool FakeInternet::SetTimeouts(InternetHandle handle, uint32_t milliseconds) {
    if (Injected(Op::SetTimeouts))
        return false;
    auto it = handles_.find(handle);
    if (it == handles_.end() || (it->second.Type != Kind::Session && it->second.Type != Kind::Connection))
        return Fail(inet::InvalidHandle);
    calls_.Timeout = milliseconds;
    return true;
}

InternetHandle FakeInternet::Connect(InternetHandle session, const std::string& host, uint16_t port,
                                     InternetService service, const std::optional<std::string>& user,
                                     const std::optional<std::string>& password) {
    ++calls_.Connects;
    calls_.User = user;
    calls_.Password = password;
    calls_.Service = service;
    calls_.Port = port;
    if (Injected(Op::Connect) || !Find(session, Kind::Session))
        return 0;
    Handle connection;
    connection.Type = Kind::Connection;
    connection.Host = port ? host + ":" + std::to_string(port) : host;
    connection.Service = service;
    connection.User = user;
    connection.Password = password;
    connection.Parent = session;
    if (service == InternetService::Ftp) {
        Server* server = ServerOf(connection);
        if (!server)
            return Fail(inet::NameNotResolved), 0;
        if (!server->Answers)
            return Fail(inet::CannotConnect), 0;
        if (!LoginAccepted(*server, connection))
            return Fail(inet::LoginFailure, "530 Login incorrect."), 0;
    }
    return Add(std::move(connection));
}

bool FakeInternet::FtpSetCurrentDirectory(InternetHandle connection, const std::string& directory) {
    calls_.Directories.push_back(directory);
    if (Injected(Op::FtpSetCurrentDirectory))
        return false;
    Handle* c = Find(connection, Kind::Connection);
    if (!c)
        return false;
    if (c->Service != InternetService::Ftp)
        return Fail(inet::IncorrectHandleState);
    std::string folder = Absolute(c->Directory, directory);
    if (!FolderExists(ServerOf(*c)->Files, folder))
        return Fail(inet::ExtendedError, "550 " + directory + ": No such file or directory.");
    c->Directory = folder;
    return true;
}

InternetHandle FakeInternet::FtpOpenFile(InternetHandle connection, const std::string& name) {
    if (Injected(Op::FtpOpenFile))
        return 0;
    Handle* c = Find(connection, Kind::Connection);
    if (!c)
        return 0;
    if (c->Service != InternetService::Ftp)
        return Fail(inet::IncorrectHandleState), 0;
    // An FTP connection has a server: Connect checked it.
    Server& server = *ServerOf(*c);
    std::string path = Absolute(c->Directory, name);
    auto it = server.Files.find(path);
    if (it == server.Files.end())
        return Fail(inet::ExtendedError, "550 " + name + ": No such file or directory."), 0;
    Handle file = *c;
    file.Type = Kind::FtpFile;
    file.Path = path;
    file.File = &it->second;
    file.Parent = connection;
    return Add(std::move(file));
}

InternetHandle FakeInternet::HttpOpenRequest(InternetHandle connection, const std::string& verb,
                                             const std::string& object) {
    calls_.Objects.push_back(verb + " " + object);
    if (Injected(Op::HttpOpenRequest))
        return 0;
    Handle* c = Find(connection, Kind::Connection);
    if (!c)
        return 0;
    Handle request = *c;
    request.Type = Kind::HttpRequest;
    request.Path = object;
    request.Parent = connection;
    return Add(std::move(request));
}

bool FakeInternet::HttpSendRequest(InternetHandle request, const std::string& headers) {
    calls_.Headers.push_back(headers);
    if (Injected(Op::HttpSendRequest))
        return false;
    Handle* r = Find(request, Kind::HttpRequest);
    if (!r)
        return false;
    Server* server = ServerOf(*r);
    if (!server)
        return Fail(inet::NameNotResolved);
    if (!server->Answers)
        return Fail(inet::CannotConnect);
    static const RemoteFile notFound = ErrorPage(404, "Not Found");
    static const RemoteFile unauthorized = ErrorPage(401, "Unauthorized");
    auto it = server->Files.find(r->Path);
    r->File = !LoginAccepted(*server, *r) ? &unauthorized : it == server->Files.end() ? &notFound : &it->second;
    r->Status = r->File->Status;
    r->StatusText = r->File->StatusText;
    r->Sent = true;
    return true;
}

bool FakeInternet::HttpQueryInfo(InternetHandle request, uint32_t query, std::string& value) {
    if (Injected(Op::HttpQueryInfo))
        return false;
    Handle* r = Find(request, Kind::HttpRequest);
    if (!r)
        return false;
    if (!r->Sent)
        return Fail(inet::IncorrectHandleState);
    std::optional<std::string> header;
    if (query == kHttpQueryContentLength)
        header = r->File->ContentLength ? *r->File->ContentLength : std::to_string(r->File->Content.size());
    else if (query == kHttpQueryStatusCode)
        header = std::to_string(r->Status);
    else if (query == kHttpQueryStatusText)
        header = r->StatusText;
    if (!header || header->empty())
        return Fail(kErrorHttpHeaderNotFound);
    if (header->size() >= 33)
        return Fail(inet::InsufficientBuffer);
    value = *header;
    return true;
}

bool FakeInternet::QueryDataAvailable(InternetHandle file, uint32_t& bytes) {
    if (Injected(Op::QueryDataAvailable))
        return false;
    auto it = handles_.find(file);
    if (it == handles_.end() || (it->second.Type != Kind::FtpFile && it->second.Type != Kind::HttpRequest))
        return Fail(inet::InvalidHandle);
    if (Stalled(it->second))
        return Fail(inet::Timeout);
    bytes = static_cast<uint32_t>(Remaining(it->second));
    return true;
}

bool FakeInternet::ReadFile(InternetHandle file, char* buffer, uint32_t size, uint32_t& read) {
    read = 0;
    if (Injected(Op::ReadFile))
        return false;
    auto it = handles_.find(file);
    if (it == handles_.end() || (it->second.Type != Kind::FtpFile && it->second.Type != Kind::HttpRequest))
        return Fail(inet::InvalidHandle);
    Handle& h = it->second;
    if (h.Type == Kind::HttpRequest && !h.Sent)
        return Fail(inet::IncorrectHandleState);
    if (Stalled(h))
        return Fail(inet::Timeout);
    size_t n = std::min<size_t>(size, Remaining(h));
    if (n > 0)
        std::memcpy(buffer, h.File->Content.data() + h.Position, n);
    h.Position += n;
    read = static_cast<uint32_t>(n);
    return true;
}

bool FakeInternet::CloseHandle(InternetHandle handle) {
    if (Injected(Op::CloseHandle))
        return false;
    auto closed = handles_.find(handle);
    if (closed == handles_.end())
        return Fail(inet::InvalidHandle);
    // The server ends an FTP transfer with its reply: complete once every
    // byte was sent.
    if (closed->second.Type == Kind::FtpFile && closed->second.File)
        lastResponse_ = closed->second.Position >= closed->second.File->Content.size()
                            ? "226 Transfer complete."
                            : "426 Connection closed; transfer aborted.";
    handles_.erase(closed);
    // Closing a handle closes the handles opened through it.
    for (bool again = true; again;) {
        again = false;
        for (auto it = handles_.begin(); it != handles_.end(); ++it) {
            if (it->second.Parent && !handles_.contains(it->second.Parent)) {
                handles_.erase(it);
                again = true;
                break;
            }
        }
    }
    return true;
}

bool FakeInternet::LastResponseInfo(std::string& text) {
    if (Injected(Op::LastResponseInfo))
        return false;
    text = lastResponse_.value_or("").substr(0, 2999);
    return true;
}

} // namespace sw::fake
