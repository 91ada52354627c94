// The download location of a net install: an FTP or HTTP server, a directory
// on it and the login to use. It downloads single files into local files
// through the platform's internet service (WinInet, loaded at run time).
#pragma once

#include "controls/Forms.h"
#include "objects/InstallObject.h"
#include "objects/NetErrors.h"
#include "platform/Internet.h"
#include "project/Component.h"

namespace sw {

enum class TInternetProtocol { ipFTP, ipHTTP };
const TEnumInfo& InternetProtocolNames();

class TCustomNetInstallLocation;

class TCustomLoginInformation : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    explicit TCustomLoginInformation(TCustomNetInstallLocation* location = nullptr) : location_(location) {}
    TCustomLoginInformation(const TCustomLoginInformation&) = delete;
    TCustomLoginInformation& operator=(const TCustomLoginInformation&) = delete;

    // The location that owns it.
    TCustomNetInstallLocation* Location() const { return location_; }
    // Copies the six values.
    void Assign(const TCustomLoginInformation& other);

    bool Anonymous = true;
    // Backslashes allowed: the server form turns them into slashes.
    std::string Directory;
    // A port other than the default follows a colon ("srv:8080").
    std::string Hostname;
    std::string Password;
    TInternetProtocol Protocol = TInternetProtocol::ipHTTP;
    std::string Username;

  private:
    TCustomNetInstallLocation* location_;
};

class TLoginInformation : public TCustomLoginInformation {
    SW_DECLARE_CLASS()
  public:
    using TCustomLoginInformation::TCustomLoginInformation;
};

using TLoginEvent = TEvent<TPersistent*>;
using TNotifyWithAbortFlag = TEvent<TPersistent*, bool&>;

// The form a path takes on the server: "/" for a blank one, otherwise every
// backslash a slash.
std::string ServerPath(const std::string& path);

class TCustomNetInstallLocation : public TComponent {
    SW_DECLARE_CLASS()
  public:
    explicit TCustomNetInstallLocation(TComponent* owner);
    ~TCustomNetInstallLocation() override;

    // Loads the library and resolves its procedures.
    virtual void LoadWinInet();
    TLoginInformation* LoginInformation() const { return login_.get(); }
    // Copies the values; an open connection stays as it is.
    virtual void SetLoginInformation(TLoginInformation* value);
    // Makes library, session, connection and (FTP) directory ready.
    virtual void Connect();
    // Fetches the remote file (relative to the directory) into localPath. A
    // failed or cancelled download leaves no file at localPath.
    virtual void Download(const std::string& remoteName, const std::string& localPath);
    // Closes the connection, then the session.
    void Disconnect();
    // True when the login names enough to connect with.
    static bool IsValid(const TCustomLoginInformation& login);
    // Whether this location's login names enough to connect with.
    virtual bool LoginInformationValid() const { return IsValid(*login_); }

    bool WinInetLoaded() const { return loaded_; }
    const std::string& RemoteName() const { return remoteName_; }
    const std::string& LocalPath() const { return localPath_; }

    TLoginEvent OnBeforeLogin, OnAfterLogin;
    TNotifyEvent OnBeforeDownload;
    TNotifyWithAbortFlag OnAfterDownload;
    TDataReceivedEvent OnDataReceived;
    // Called right after OnDataReceived, with the same arguments: the object
    // that is downloading attaches its handler here and removes it after.
    TDataReceivedEvent DownloadReceiver;

  private:
    // Receives the open remote file into localPath (through a temporary file
    // beside it) and closes the remote handle, also on failure. False when
    // the download was cancelled.
    bool ReceiveFile();
    bool ReceiveInto(const std::string& tempPath);
    // The size the server announces; checks an HTTP reply's status first.
    uint32_t RemoteSize();
    // Closes the remote file; a failed close raises ENIL_FTPCloseFile.
    void CloseRemote();
    // Closes it after an error, which is the one reported.
    void AbandonRemote();
    // An FTP transfer cut short ends its data like a whole one: the server's
    // reply after the close tells; a failure reply raises ENIL_ReadFile.
    void CheckFtpTransferReply();
    IInternet& Internet() const;
    ENIL_WriteDestFile WriteError() const;

    std::unique_ptr<TLoginInformation> login_;
    bool loaded_ = false;
    InternetHandle session_ = 0;
    InternetHandle connection_ = 0;
    // The FTP directory is set on the open connection.
    bool directorySet_ = false;
    InternetHandle remoteFile_ = 0;
    std::string remoteName_;
    std::string localPath_;
};

class TNetInstallLocation : public TCustomNetInstallLocation {
    SW_DECLARE_CLASS()
  public:
    using TCustomNetInstallLocation::TCustomNetInstallLocation;
};

// The module-wide values of the net locations, a part of the program state.
struct TNetLocationState {
    // The location that connected last; its host name goes into the ENIL errors.
    TCustomNetInstallLocation* Active = nullptr;
    // Set by the copy-progress window's Cancel; downloads end after the block
    // in hand when it is set.
    bool DownloadAbort = false;
};

// The program-wide net location; none until the driver names one.
TCustomNetInstallLocation* GlobalNetLocation();
void SetGlobalNetLocation(TCustomNetInstallLocation* location);
TCustomNetInstallLocation* ActiveNetLocation();
bool DownloadAborted();
void SetDownloadAbort(bool abort);

} // namespace sw
