// The process-wide set of platform services. Engine code reaches the
// operating system only through these interfaces; a program entry installs
// the real backends, a test fixture the fakes (or a mix of both).
#pragma once

namespace sw {

class IRegistry;
class IFileSystem;
class ISystemInfo;
class IProcesses;
class IResources;
class IGui;
class IVersionResources;
class IInternet;
class ICodePages;

// Composed per service, so a test may pair the real registry and files with a
// scripted GUI. The services are not owned.
struct Platform {
    IRegistry* Registry = nullptr;
    IFileSystem* Files = nullptr;
    ISystemInfo* System = nullptr;
    IProcesses* Processes = nullptr;
    IResources* Resources = nullptr;
    IGui* Gui = nullptr;
    IVersionResources* Versions = nullptr;
    IInternet* Internet = nullptr;
    ICodePages* CodePages = nullptr;
};

// The installed platform; raises sw::Exception when none is installed.
Platform& GetPlatform();
void SetPlatform(const Platform& p);

// Installs a platform for its lifetime and restores the previous one after.
class ScopedPlatform {
  public:
    explicit ScopedPlatform(const Platform& p);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

  private:
    Platform previous_;
    bool hadPrevious_;
};

} // namespace sw
