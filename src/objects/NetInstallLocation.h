// The download location of a net install. Its transfer is built with the net
// install; install objects download their archives through Download and
// follow the bytes through the attached receiver.
#pragma once

#include "objects/InstallObject.h"
#include "project/Component.h"

namespace sw {

class TCustomNetInstallLocation : public TComponent {
    SW_DECLARE_CLASS()
  public:
    using TComponent::TComponent;
    ~TCustomNetInstallLocation() override;

    // Whether the login information names enough to connect.
    virtual bool LoginInformationValid() const;
    // Fetches RemoteName (relative to the server directory) into LocalPath.
    virtual void Download(const std::string& remoteName, const std::string& localPath);

    // The object downloading now, which hears of every block received;
    // none between downloads.
    void AttachReceiver(TFileRelated* receiver) { receiver_ = receiver; }
    TFileRelated* Receiver() const { return receiver_; }

  private:
    TFileRelated* receiver_ = nullptr;
};

// The program-wide net location; none until the driver names one.
TCustomNetInstallLocation* GlobalNetLocation();
void SetGlobalNetLocation(TCustomNetInstallLocation* location);

// Set when the user cancels a transfer; the downloads stop on it.
bool DownloadAbortFlag();
void SetDownloadAbortFlag(bool aborted);

} // namespace sw
