#include "platform/win32/Win32Platform.h"

#include "platform/win32/Win32CodePages.h"
#include "platform/win32/Win32Dde.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FolderBrowser.h"
#include "platform/win32/Win32Gui.h"
#include "platform/win32/Win32Internet.h"
#include "platform/win32/Win32PhaseProfile.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Resources.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32VersionResources.h"

namespace sw::win32 {

Win32Platform::Win32Platform()
    : registry_(std::make_unique<Win32Registry>()), files_(std::make_unique<Win32FileSystem>()),
      system_(std::make_unique<Win32SystemInfo>()), processes_(std::make_unique<Win32Processes>()),
      resources_(std::make_unique<Win32Resources>()), gui_(std::make_unique<Win32Gui>()),
      systemVersions_(std::make_unique<Win32VersionResources>()), internet_(std::make_unique<Win32Internet>()),
      versions_(systemVersions_.get()), codePages_(std::make_unique<Win32CodePages>()),
      dde_(std::make_unique<Win32Dde>()), shellLinks_(std::make_unique<Win32ShellLinks>()),
      folderBrowser_(std::make_unique<Win32FolderBrowser>()) {
    StartPhaseProfileFromEnvironment();
}

Win32Platform::~Win32Platform() = default;

Platform Win32Platform::Get() {
    Platform p;
    p.Registry = registry_.get();
    p.Files = files_.get();
    p.System = system_.get();
    p.Processes = processes_.get();
    p.Resources = resources_.get();
    p.Gui = gui_.get();
    p.Versions = versions_;
    p.CodePages = codePages_.get();
    p.Internet = internet_.get();
    p.Dde = dde_.get();
    p.ShellLinks = shellLinks_.get();
    p.FolderBrowser = folderBrowser_.get();
    return p;
}

} // namespace sw::win32
