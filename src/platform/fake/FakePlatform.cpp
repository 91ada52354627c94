#include "platform/fake/FakePlatform.h"

namespace sw::fake {

FakePlatform::FakePlatform() {
    files_.AddDrive('C');
    for (const char* dir : {"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\TEMP", "C:\\SETUP"})
        files_.CreateDirectory(dir);
    files_.PutFile(system_.ModulePath(), "");
    files_.SetTempDirectory("C:\\WINDOWS\\TEMP");
}

Platform FakePlatform::Get() {
    Platform p;
    p.Registry = &registry_;
    p.Files = &files_;
    p.System = &system_;
    p.Processes = &processes_;
    p.Resources = &resources_;
    p.Gui = &gui_;
    p.Versions = versions_;
    p.Internet = &internet_;
    p.CodePages = &codePages_;
    p.Dde = &dde_;
    p.ShellLinks = &shellLinks_;
    p.FolderBrowser = &folderBrowser_;
    return p;
}

} // namespace sw::fake
