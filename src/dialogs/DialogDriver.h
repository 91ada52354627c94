// What the dialogs ask of the install driver; the driver implements it.
#pragma once

namespace sw {

class TPicture;

class IDialogDriver {
  public:
    virtual ~IDialogDriver() = default;
    // Fires the driver's OnUserAbort: true when the user's cancel stands.
    virtual bool QueryUserAbort() = 0;
    // The picture pages show when their own theme image is empty.
    virtual TPicture* DialogThemeBitmap() const = 0;
    // The driver's Reboot: Windows restarts after the install when it is set.
    virtual bool GetReboot() const = 0;
    virtual void SetReboot(bool reboot) = 0;
};

// The current install driver's dialog side; none without a driver.
IDialogDriver* DialogDriver();

} // namespace sw
