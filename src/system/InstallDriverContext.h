// What the install objects and path specifiers ask of the install driver. The
// driver implements it and makes itself the current context while it lives,
// so the layers below the engine never include the driver.
#pragma once

#include <string>

namespace sw {

class TComponent;
class TInstallInformation;

class IInstallDriverContext {
  public:
    virtual ~IInstallDriverContext() = default;
    // The driver as a component, for identity checks.
    virtual TComponent* DriverComponent() = 0;
    // The folder the setup was run from.
    virtual const std::string& InstallSourceDirectory() const = 0;
    // A command-line switch, either case, and the value given with it.
    virtual bool SwitchGiven(char letter) const = 0;
    virtual const std::string& SwitchValue(char letter) const = 0;
    // The product's destination folder.
    virtual std::string MainDestPath() = 0;
    // The product: company, name and version.
    virtual TInstallInformation* Information() const = 0;
};

// The driver's slot in the program state.
struct TDriverSlot {
    IInstallDriverContext* Driver = nullptr;
};

// The current driver, a part of the program state; none when no driver lives.
IInstallDriverContext* InstallDriverContext();
void SetInstallDriverContext(IInstallDriverContext* driver);

} // namespace sw
