#include "objects/NetInstallLocation.h"

#include "objects/InstallLists.h"
#include "objects/NetErrors.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/PlatformErrors.h"
#include "project/ProgramState.h"
#include "project/Text.h"
#include "system/MessagePump.h"

#include <charconv>
#include <limits>
#include <utility>

namespace sw {

namespace {

constexpr uint32_t kBlockSize = 8192;
// A server silent this long is taken as gone: a stalled transfer ends in
// ENIL_ReadFile instead of holding the install forever.
constexpr uint32_t kTimeoutMilliseconds = 30000;

TNetLocationState& NetState() { return ProgramPart<TNetLocationState>(); }

std::string WithoutTrailingA(const std::string& name) {
    return name.ends_with('A') ? name.substr(0, name.size() - 1) : name;
}

// A decimal number of at most int32 range; none for anything else.
std::optional<uint32_t> ParseLength(const std::string& text) {
    std::string trimmed = Trim(text);
    uint32_t value = 0;
    auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size() ||
        value > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return value;
}

// A host name may name a port after a colon ("srv:8080"); 0 is the default.
std::pair<std::string, uint16_t> HostAndPort(const std::string& hostname) {
    size_t colon = hostname.rfind(':');
    if (colon == std::string::npos)
        return {hostname, 0};
    uint16_t port = 0;
    const char* first = hostname.data() + colon + 1;
    const char* last = hostname.data() + hostname.size();
    auto [end, error] = std::from_chars(first, last, port);
    if (first == last || error != std::errc() || end != last || port == 0)
        return {hostname, 0};
    return {hostname.substr(0, colon), port};
}

// A name of a file in the server's directory: no control characters (they
// would end an FTP command or an HTTP request line) and no step out of it.
bool IsPlainRemoteName(const std::string& name) {
    if (Trim(name).empty())
        return false;
    for (unsigned char c : name)
        if (c < 32 || c == 127)
            return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = name.size();
        if (Trim(name.substr(start, end - start)) == "..")
            return false;
        start = end + 1;
    }
    return name[0] != '/' && name[0] != '\\';
}

// The object of an HTTP request: the server form of the directory, a
// separator, the remote name; always from the server's root.
std::string HttpObject(const std::string& directory, const std::string& remoteName) {
    std::string object = ServerPath(directory);
    if (!object.ends_with('/'))
        object += '/';
    if (!object.starts_with('/'))
        object.insert(0, "/");
    return object + remoteName;
}

} // namespace

const TEnumInfo& InternetProtocolNames() {
    static const TEnumInfo names{{"ipFTP", "ipHTTP"}};
    return names;
}

SW_CLASS_INFO(TCustomLoginInformation, TPersistent, prop::Boolean("Anonymous", &Self::Anonymous, true),
              prop::String("Directory", &Self::Directory), prop::String("Hostname", &Self::Hostname),
              prop::String("Password", &Self::Password),
              prop::Enumeration("Protocol", &Self::Protocol, InternetProtocolNames(),
                                std::optional(TInternetProtocol::ipHTTP)),
              prop::String("Username", &Self::Username))
SW_CLASS_INFO(TLoginInformation, TCustomLoginInformation)

void TCustomLoginInformation::Assign(const TCustomLoginInformation& other) {
    Anonymous = other.Anonymous;
    Directory = other.Directory;
    Hostname = other.Hostname;
    Password = other.Password;
    Protocol = other.Protocol;
    Username = other.Username;
}

std::string ServerPath(const std::string& path) {
    if (Trim(path).empty())
        return "/";
    std::string server = path;
    for (char& c : server)
        if (c == '\\')
            c = '/';
    return server;
}

SW_CLASS_INFO(TCustomNetInstallLocation, TComponent)
SW_CLASS_INFO(TNetInstallLocation, TCustomNetInstallLocation, prop::Object("LoginInformation", &Self::LoginInformation),
              prop::Event("OnAfterDownload", &Self::OnAfterDownload), prop::Event("OnAfterLogin", &Self::OnAfterLogin),
              prop::Event("OnBeforeDownload", &Self::OnBeforeDownload),
              prop::Event("OnBeforeLogin", &Self::OnBeforeLogin), prop::Event("OnDataReceived", &Self::OnDataReceived))

TCustomNetInstallLocation::TCustomNetInstallLocation(TComponent* owner)
    : TComponent(owner), login_(std::make_unique<TLoginInformation>(this)) {}

TCustomNetInstallLocation::~TCustomNetInstallLocation() {
    bool hasState = HasProgramState();
    if (hasState && NetState().Active == this)
        NetState().Active = nullptr;
    if (loaded_) {
        Disconnect();
        Internet().Unload();
    }
    if (hasState && GlobalNetLocation() == this)
        SetGlobalNetLocation(nullptr);
}

IInternet& TCustomNetInstallLocation::Internet() const {
    IInternet* internet = GetPlatform().Internet.get();
    if (!internet)
        throw ENIL_FailLoadWININET("The platform has no internet service");
    return *internet;
}

void TCustomNetInstallLocation::SetLoginInformation(TLoginInformation* value) {
    if (value)
        login_->Assign(*value);
}

bool TCustomNetInstallLocation::IsValid(const TCustomLoginInformation& login) {
    if (login.Anonymous)
        return !Trim(login.Hostname).empty();
    return !Trim(login.Hostname).empty() || !Trim(login.Password).empty() || !Trim(login.Username).empty();
}

void TCustomNetInstallLocation::LoadWinInet() {
    InternetLoadResult result = Internet().Load();
    if (!result.LibraryLoaded)
        throw ENIL_FailLoadWININET(
            "Failed to load the Wininet.dll. If this is a hybrid installation, you might want to include the "
            "WININET.DLL file in the PresetupFiles property of the TInstall component");
    if (!result.MissingProcedure.empty())
        throw ENIL_FailLoadDLLProc(
            Format("Failed to load the procedure %s from WININET.DLL", {WithoutTrailingA(result.MissingProcedure)}));
    loaded_ = true;
}

void TCustomNetInstallLocation::Connect() {
    NetState().Active = this;
    if (!loaded_)
        LoadWinInet();
    IInternet& internet = Internet();
    if (!session_) {
        session_ = internet.Open(Application().Title());
        if (!session_)
            throw ENIL_OpenSession("Cannot open internet connection");
        // A library that cannot set them keeps its own.
        internet.SetTimeouts(session_, kTimeoutMilliseconds);
    }
    const TLoginInformation& login = *login_;
    bool ftp = login.Protocol == TInternetProtocol::ipFTP;
    if (!connection_) {
        OnBeforeLogin(this);
        std::optional<std::string> user, password;
        if (!login.Anonymous) {
            user = login.Username;
            password = login.Password;
        } else if (!ftp) {
            user = password = "";
        }
        auto [host, port] = HostAndPort(login.Hostname);
        connection_ =
            internet.Connect(session_, host, port, ftp ? InternetService::Ftp : InternetService::Http, user, password);
        if (!connection_)
            throw ENIL_OpenService(Format("Cannot connect to host %s", {login.Hostname}));
        // Some libraries take them only here.
        internet.SetTimeouts(connection_, kTimeoutMilliseconds);
        directorySet_ = false;
        OnAfterLogin(this);
    }
    // Once per connection: a relative directory set again would be taken
    // from the one set before.
    if (ftp && !directorySet_) {
        std::string directory = ServerPath(login.Directory);
        if (!internet.FtpSetCurrentDirectory(connection_, directory))
            throw ENIL_FTPSetDir(Format("Cannot set directory on server to %s", {directory}));
        directorySet_ = true;
    }
}

void TCustomNetInstallLocation::Disconnect() {
    if (!loaded_)
        return;
    IInternet& internet = Internet();
    if (connection_ && internet.CloseHandle(connection_))
        connection_ = 0;
    if (session_ && internet.CloseHandle(session_))
        session_ = 0;
}

void TCustomNetInstallLocation::Download(const std::string& remoteName, const std::string& localPath) {
    Connect();
    remoteName_ = remoteName;
    localPath_ = localPath;
    OnBeforeDownload(this);
    if (!IsPlainRemoteName(remoteName))
        throw ENIL(Format("The remote name %s is not the name of a file on the server", {remoteName}));
    // What was at the local path is replaced, also when this download fails.
    IFileSystem& files = *GetPlatform().Files;
    if (files.FileExists(localPath) && !files.DeleteFile(localPath))
        throw WriteError();
    IInternet& internet = Internet();
    if (login_->Protocol == TInternetProtocol::ipFTP) {
        remoteFile_ = internet.FtpOpenFile(connection_, remoteName);
        if (!remoteFile_)
            throw ENIL_FTPOpenFile(Format("Cannot open file %s on server", {remoteName}));
    } else {
        remoteFile_ = internet.HttpOpenRequest(connection_, "GET", HttpObject(login_->Directory, remoteName));
        if (!remoteFile_)
            throw ENIL_HTTPOpenFile(Format("Cannot open file %s on server", {remoteName}));
        if (!internet.HttpSendRequest(remoteFile_, "Accept: */*\r\n\r\n")) {
            ENIL_HTTPSendRequest error(Format("Cannot send request for file %s to the server", {remoteName}));
            AbandonRemote();
            throw error;
        }
    }
    bool aborted = !ReceiveFile();
    OnAfterDownload(this, aborted);
}

ENIL_WriteDestFile TCustomNetInstallLocation::WriteError() const {
    return ENIL_WriteDestFile(Format("%s could not write to the local dest file %s", {Name(), localPath_}));
}

void TCustomNetInstallLocation::CloseRemote() {
    InternetHandle file = std::exchange(remoteFile_, 0);
    if (file && !Internet().CloseHandle(file))
        throw ENIL_FTPCloseFile(Format("Cannot close the file %s on the server", {remoteName_}));
}

void TCustomNetInstallLocation::AbandonRemote() {
    if (InternetHandle file = std::exchange(remoteFile_, 0))
        Internet().CloseHandle(file);
}

void TCustomNetInstallLocation::CheckFtpTransferReply() {
    std::string reply;
    if (Internet().LastResponseInfo(reply) && (reply.starts_with('4') || reply.starts_with('5')))
        throw ENIL_ReadFile(Format("Could not read from file %s on the server", {remoteName_}));
}

uint32_t TCustomNetInstallLocation::RemoteSize() {
    IInternet& internet = Internet();
    InternetHandle file = remoteFile_;
    std::string failed = Format("Could not query file %s on server", {remoteName_});
    if (login_->Protocol == TInternetProtocol::ipFTP) {
        uint32_t available = 0;
        if (!internet.QueryDataAvailable(file, available))
            throw ENIL_FailDataQuery(failed);
        return available;
    }
    // The reply is judged by its status: an error page is never the file.
    std::string status, statusText;
    if (!internet.HttpQueryInfo(file, kHttpQueryStatusCode, status))
        throw ENIL_FailDataQuery(failed);
    if (!status.starts_with('2') || status.size() != 3) {
        internet.HttpQueryInfo(file, kHttpQueryStatusText, statusText);
        std::string reply = Trim(status + " " + statusText);
        if (status == "404" || status == "410")
            throw ENIL_FileNotFound(Format("Could not find the file %s on the server", {remoteName_}), reply);
        throw ENIL_HTTPOpenFile(Format("Cannot open file %s on server", {remoteName_}), reply);
    }
    std::string length;
    if (!internet.HttpQueryInfo(file, kHttpQueryContentLength, length)) {
        if (internet.LastError() != kErrorHttpHeaderNotFound)
            throw ENIL_FailDataQuery(failed);
        return 0;
    }
    return ParseLength(length).value_or(0);
}

bool TCustomNetInstallLocation::ReceiveFile() {
    IFileSystem& files = *GetPlatform().Files;
    std::string folder = localPath_.substr(0, localPath_.find_last_of('\\') + 1);
    std::optional<std::string> temp;
    bool complete = false;
    try {
        temp = files.MakeTempFile(folder.empty() ? "." : folder.substr(0, folder.size() - 1), "swd");
        if (!temp)
            throw WriteError();
        complete = ReceiveInto(*temp);
        CloseRemote();
        if (complete && login_->Protocol == TInternetProtocol::ipFTP)
            CheckFtpTransferReply();
        if (complete && !files.MoveFile(*temp, localPath_))
            throw WriteError();
    } catch (...) {
        // The first error is the one reported.
        AbandonRemote();
        if (temp)
            files.DeleteFile(*temp);
        throw;
    }
    if (!complete)
        files.DeleteFile(*temp);
    return complete;
}

bool TCustomNetInstallLocation::ReceiveInto(const std::string& tempPath) {
    IInternet& internet = Internet();
    InternetHandle file = remoteFile_;
    uint32_t size = RemoteSize();
    bool http = login_->Protocol == TInternetProtocol::ipHTTP;
    std::string readFailed = Format("Could not read from file %s on the server", {remoteName_});
    std::unique_ptr<IFile> local = GetPlatform().Files->OpenFile(tempPath, FileMode::Create);
    if (!local)
        throw WriteError();
    std::vector<char> block(kBlockSize);
    uint64_t total = 0;
    uint32_t n = 0;
    if (!internet.ReadFile(file, block.data(), kBlockSize, n))
        throw ENIL_ReadFile(readFailed);
    while (n > 0) {
        total += n;
        // A server sending more than it announced, or more than the events
        // can count, is not sending this file.
        if ((http && size > 0 && total > size) || total > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
            throw ENIL_ReadFile(readFailed);
        OnDataReceived(this, remoteName_, static_cast<int32_t>(n), static_cast<int32_t>(total),
                       static_cast<int32_t>(size), block.data());
        DownloadReceiver(this, remoteName_, static_cast<int32_t>(n), static_cast<int32_t>(total),
                         static_cast<int32_t>(size), block.data());
        LetPendingMessagesRunWhenDue();
        if (NetState().DownloadAbort)
            return false;
        try {
            local->Write(block.data(), n);
        } catch (const EFileIOError&) {
            throw WriteError();
        }
        if (!internet.ReadFile(file, block.data(), kBlockSize, n))
            throw ENIL_ReadFile(readFailed);
    }
    if (total == 0)
        throw ENIL_FileNotFound(Format("Could not find the file %s on the server", {remoteName_}));
    // A transfer that ends before the announced length was cut short.
    if (http && size > 0 && total != size)
        throw ENIL_ReadFile(readFailed);
    return true;
}

TCustomNetInstallLocation* GlobalNetLocation() { return InstallObjectsState().DefaultNetLocation; }
void SetGlobalNetLocation(TCustomNetInstallLocation* location) { InstallObjectsState().DefaultNetLocation = location; }
TCustomNetInstallLocation* ActiveNetLocation() { return HasProgramState() ? NetState().Active : nullptr; }
bool DownloadAborted() { return NetState().DownloadAbort; }
void SetDownloadAbort(bool abort) { NetState().DownloadAbort = abort; }

} // namespace sw
