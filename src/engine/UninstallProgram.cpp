// The uninstaller program around TUninstaller: its command line, the
// question to the user, the report, and the removal of the program itself.
#include "engine/Uninstaller.h"

#include "platform/FileSystem.h"
#include "platform/Gui.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/SystemHelpers.h"

namespace sw {

namespace {

// Attempts to delete the program while it may still be ending; each waits a
// second, so the batch gives up after five minutes.
constexpr int kDeleteAttempts = 300;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string ReportText(const std::string& product, const TUninstallReport& report) {
    if (report.NotRemoved.empty() && report.Malformed.empty() && report.AtRestart.empty())
        return product + " was removed from your computer.";
    std::string text = product + " was removed from your computer, except for the following.";
    for (const std::string& line : report.NotRemoved)
        text += "\r\n" + line;
    if (!report.AtRestart.empty())
        text += "\r\nThese files are removed when Windows restarts:";
    for (const std::string& line : report.AtRestart)
        text += "\r\n" + line;
    if (!report.Malformed.empty())
        text += "\r\nThe uninstall information held entries that were not understood:";
    for (const std::string& line : report.Malformed)
        text += "\r\n" + line;
    return text;
}

// Windows NT's command interpreter: deletes the program once it has ended,
// then the emptied folders, then the batch itself.
std::string DeletionBatch(const std::string& program, const std::string& productFolder, const std::string& batch) {
    std::string text = "@ECHO OFF\r\nSET N=0\r\n:AGAIN\r\nDEL " + Quoted(program) + " >NUL 2>&1\r\nIF NOT EXIST " +
                       Quoted(program) + " GOTO GONE\r\nSET /A N=N+1\r\nIF %N% GEQ " +
                       std::to_string(kDeleteAttempts) + " GOTO GONE\r\nPING -n 2 127.0.0.1 >NUL\r\nGOTO AGAIN\r\n" +
                       ":GONE\r\n";
    // RMDIR removes empty folders only.
    const std::string top = ExcludeTrailingBackslash(productFolder);
    for (std::string folder = ExtractFileDir(program); folder.size() >= top.size(); folder = ExtractFileDir(folder)) {
        text += "RMDIR " + Quoted(folder) + " >NUL 2>&1\r\n";
        if (SameText(folder, top) || folder.find('\\') == std::string::npos)
            break;
    }
    return text + "DEL " + Quoted(batch) + "\r\n";
}

} // namespace

void RemoveUninstallerAfterExit(const std::string& productFolder) {
    Platform& platform = GetPlatform();
    const std::string program = platform.System->ModulePath();
    int version = wvOther;
    try {
        version = WindowsVersion();
    } catch (const EAPIRoutines&) {
    }
    if (version == wvWindowsNT) {
        const std::string batch = ChangeFileExt(MakeTempFileName(false), ".bat");
        const std::string text = DeletionBatch(program, productFolder, batch);
        if (std::unique_ptr<IFile> file = platform.Files->OpenFile(batch, FileMode::Create)) {
            file->Write(text.data(), text.size());
            file.reset();
            if (platform.Processes->Start(Quoted(batch), WindowState::Hidden).Started)
                return;
            platform.Files->DeleteFile(batch);
        }
    }
    // Otherwise the program goes at the next start of Windows: Windows NT
    // renames by itself, the Windows 95 family through WININIT.INI.
    if (platform.Files->MoveFileAtReboot(program, ""))
        return;
    const std::string shortName = platform.Files->ShortPathName(program).value_or(program);
    platform.Files->WriteProfileString(IncludeTrailingBackslash(WindowsDirectory()) + "WININIT.INI", "Rename", "NUL",
                                       shortName);
}

int RunUninstallProgram() {
    Platform& platform = GetPlatform();
    const std::string program = platform.System->ModulePath();
    const TUninstallCommand command = ParseUninstallCommand(platform.System->CommandLine(), program);
    const std::string caption = "Uninstall " + command.ProductName;
    auto tell = [&](const std::string& text, unsigned icon) {
        if (!command.Silent)
            platform.Gui->MessageBox(text, caption, mb::Ok | icon);
    };
    if (command.ProductName.empty()) {
        tell("Start the uninstaller with the name of the product to remove.", mb::IconError);
        return 2;
    }
    const std::string key = kUninstallKeyRoot + command.ProductName;
    if (command.ProductName.find('\\') != std::string::npos ||
        !platform.Registry->KeyExists(RegistryRoot::LocalMachine, key)) {
        tell(command.ProductName + " is not installed on this computer: its uninstall information is missing.",
             mb::IconError);
        return 2;
    }
    if (!command.Silent &&
        platform.Gui->MessageBox("Are you sure you want to remove " + command.ProductName +
                                     " and all of its components?",
                                 caption, mb::YesNo | mb::IconQuestion) != id::Yes)
        return 2;
    const std::string uninstallString =
        platform.Registry->ReadString(RegistryRoot::LocalMachine, key, "UninstallString", "");
    std::string productFolder = ExtractFileDir(UninstallProgramPath(uninstallString));
    if (productFolder.empty())
        productFolder = ExtractFileDir(program);
    const TUninstallReport report = TUninstaller(command.ProductName, productFolder).Run();
    const std::string folder = IncludeTrailingBackslash(productFolder);
    if (program.size() > folder.size() && SameText(program.substr(0, folder.size()), folder))
        RemoveUninstallerAfterExit(productFolder);
    tell(ReportText(command.ProductName, report), mb::IconInformation);
    return report.NotRemoved.empty() && report.Malformed.empty() ? 0 : 1;
}

} // namespace sw
