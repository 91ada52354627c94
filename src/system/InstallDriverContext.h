// What the install objects and path specifiers ask of the install driver. The
// driver implements it and makes itself the current context while it lives,
// so the layers below the engine never include the driver.
#pragma once

#include <cstdint>
#include <string>

namespace sw {

// Where the install takes its archives from: the distribution's own volumes,
// a server, or the volumes with net files fetched from a server.
enum class TDistributeType { dtTraditional, dtWeb, dtTraditionalNet };

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
    virtual TDistributeType DistributeType() const = 0;
    // Windows is to restart at the end of the install.
    virtual void RequestReboot() = 0;
    // Records work for the run after the next start of Windows in the install
    // record: kind 0 names an install object to finish, kind 1 a file to delete.
    virtual void AddUnfinished(const std::string& subject, int32_t kind) = 0;
};

// The driver's slot in the program state.
struct TDriverSlot {
    IInstallDriverContext* Driver = nullptr;
};

// The current driver, a part of the program state; none when no driver lives.
IInstallDriverContext* InstallDriverContext();
void SetInstallDriverContext(IInstallDriverContext* driver);
// The current driver's distribution type; dtTraditionalNet when no driver lives.
TDistributeType CurrentDistributeType();

} // namespace sw
