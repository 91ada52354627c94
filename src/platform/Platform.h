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
class IDde;
class IShellLinks;
class IFolderBrowser;

// Raised when code asks for a service the installed platform left out.
[[noreturn]] void RaiseMissingService(const char* service);

// One service of a platform: a pointer it does not own that refuses to be
// followed while none is set, naming the service instead of crashing.
template <class T> class PlatformService {
  public:
    explicit PlatformService(const char* name) : name_(name) {}
    PlatformService& operator=(T* service) {
        service_ = service;
        return *this;
    }
    T* get() const { return service_; }
    T* operator->() const { return &operator*(); }
    T& operator*() const {
        if (!service_)
            RaiseMissingService(name_);
        return *service_;
    }
    explicit operator bool() const { return service_ != nullptr; }
    friend bool operator==(const PlatformService& s, const T* p) { return s.service_ == p; }

  private:
    const char* name_;
    T* service_ = nullptr;
};

// Composed per service, so a test may pair the real registry and files with a
// scripted GUI. The services are not owned.
struct Platform {
    PlatformService<IRegistry> Registry{"registry"};
    PlatformService<IFileSystem> Files{"file system"};
    PlatformService<ISystemInfo> System{"system information"};
    PlatformService<IProcesses> Processes{"processes"};
    PlatformService<IResources> Resources{"resources"};
    PlatformService<IGui> Gui{"GUI"};
    PlatformService<IVersionResources> Versions{"version resources"};
    PlatformService<ICodePages> CodePages{"code pages"};
    PlatformService<IInternet> Internet{"internet"};
    PlatformService<IDde> Dde{"DDE"};
    PlatformService<IShellLinks> ShellLinks{"shell links"};
    PlatformService<IFolderBrowser> FolderBrowser{"folder browser"};
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
