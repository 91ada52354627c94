// The build mode: the distribution in a build folder, from this program.
#include "archive/ArchiveErrors.h"
#include "archive/CompressAhead.h"
#include "archive/MainArchiveEngine.h"
#include "archive/PlmrCompress.h"
#include "archive/SelfExtract.h"
#include "engine/CustomInstall.h"
#include "engine/InstallerTool.h"
#include "engine/PackedFiles.h"
#include "objects/FileContainer.h"
#include "objects/InstallLists.h"
#include "objects/NetInstallLocation.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "platform/Threads.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/SystemHelpers.h"

namespace sw {

namespace {

// The option bit every build passes besides those the container names.
constexpr uint32_t coBit4 = 4;

uint32_t CompressOptions(TDistributeType type) {
    const uint32_t always = coBuildRelocate | coBit4 | coIncludeExcluded;
    switch (type) {
    case TDistributeType::dtTraditional:
        return always | coForceNetFilesLocal;
    case TDistributeType::dtWeb:
        return always | coForceFilesNet;
    case TDistributeType::dtTraditionalNet:
        break;
    }
    return always;
}

// The lines of a text file, without their line ends.
std::vector<std::string> TextLines(const std::vector<uint8_t>& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// Whether a file object lies below the container, at any depth.
bool HoldsFiles(const TInstallContainer& container) {
    for (int i = 0; i < container.ObjectCount(); ++i) {
        const TInstallObject& child = *container.Objects(i);
        if (child.GetObjectKind() == kKindFile || (child.GetObjectKind() == kKindFileContainer && HoldsFiles(child)))
            return true;
    }
    return false;
}

// A file group without files would be offered to the user and install nothing: the project names a file's
// Container wrongly or keeps a group it no longer needs.
void CheckFileGroupsHoldFiles() {
    for (const TInstallContainer* container : InstallContainers().ItemList())
        if (dynamic_cast<const TInstallFileGroup*>(container) && !HoldsFiles(*container))
            throw IEFileContainer("The file group %s has no files: set the Container of a file to it, or remove it",
                                  {container->Name()});
}

} // namespace

void TCustomInstall::BuildFromBuildInf() {
    const std::string program = GetPlatform().System->ModulePath();
    const std::string buildInf = IncludeTrailingBackslash(ExtractFileDir(program)) + "BUILD.INF";
    const std::unique_ptr<IFile> file = GetPlatform().Files->OpenFile(buildInf, FileMode::Read);
    if (!file)
        throw IEInstall("Need to have a BUILD.INF file in this directory with the first line specifying the build "
                        "directory");
    const std::vector<std::string> lines = TextLines(file->ReadAll());
    if (lines.empty())
        throw IEInstall("Must be 1 line in BUILD.INF. This line should specify the build directory");
    Build(program, lines[0], true);
}

void TCustomInstall::Build(const std::string& executable, const std::string& buildDirectory, bool standAlone) {
    if (standAlone && !useLoadingProgram_)
        throw IEInstall("Cannot build a stand alone executable if the UseLoadingProgram property of the TInstall is "
                        "set to False");
    CheckFileGroupsHoldFiles();
    const std::string folder = IncludeTrailingBackslash(buildDirectory);
    const std::string setupExe = folder + "setup.exe", setup1 = folder + "setup.1", files1 = folder + "files.1";
    CopySetupProgram(buildDirectory, executable);
    TCustomPathSpecifier* const savedType = ArchiveFileType();
    const std::string savedFile = ArchiveFile();
    auto restore = [&] {
        SetArchiveFileType(nullptr);
        SetArchiveFile(savedFile);
        AssignArchiveFileType(savedType);
    };
    SetArchiveFileType(nullptr);
    SetArchiveFile(files1);
    try {
        Compress(CompressOptions(distributeType_));
        if (distributeType_ != TDistributeType::dtTraditional)
            WriteFileList();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (standAlone)
        JoinSelfExtractingSetup(setupExe, setup1, files1);
}

void TCustomInstall::Compress(uint32_t options) {
    ClearBuildMarks();
    // Each file adds itself to its archive in turn; the files are compressed
    // ahead of them on every processor.
    struct TAheadScope {
        TPlmrCompress& engine;
        ~TAheadScope() { engine.SetCompressAhead(nullptr); }
    } scope{MainArchiveEngine()};
    const int threads = ProcessorCount();
    if (threads > 1)
        scope.engine.SetCompressAhead(std::make_unique<TCompressAhead>(
            SourcesInPackingOrder(*this, options), ZlibLevel(scope.engine.CompressionLevel), threads));
    TFileContainer::Compress(options);
}

void TCustomInstall::CopySetupProgram(const std::string& buildDirectory, const std::string& executable) {
    IFileSystem& files = *GetPlatform().Files;
    if (!useLoadingProgram_) {
        const std::string target = IncludeTrailingBackslash(buildDirectory) + ExtractFileName(executable);
        if ((!buildDirectory.empty() && !files.ForceDirectories(buildDirectory)) ||
            !files.CopyFile(executable, target, false))
            throw IEInstall("Cannot copy the installation application from %s to %s", {executable, target});
        return;
    }
    try {
        CreateSetupArchive(buildDirectory, executable);
    } catch (const EpcDiskFull&) {
        throw IEInstall("The disk that you have specified has been determined to be either too full or is corrupt "
                        "while trying to copy the SETUP.1 archive file. You should probably clear all files off of "
                        "the drive. Minimally, you should leave enough space on the drive for the SETUP.1 archive "
                        "file.");
    }
    const std::string loader = FindInstallerToolDirectory() + "\\" + kLoadingProgramName;
    if (!files.FileExists(loader))
        throw IEInstall("The loader program %s was not found", {loader});
    const std::string target = IncludeTrailingBackslash(buildDirectory) + "setup.exe";
    if (!files.CopyFile(loader, target, false))
        throw IEInstall("Cannot copy the loading program from %s to %s", {loader, target});
}

void TCustomInstall::CreateSetupArchive(const std::string& buildDirectory, const std::string& executable) {
    if (Trim(executable).empty())
        throw IEInstall("Cannot create setup file. Executable is blank");
    if (!GetPlatform().Files->FileExists(executable))
        throw IEInstall("TInstall: Cannot find the executable file %s", {executable});
    TOwned<TPlmrCompress> engine(new TPlmrCompress(nullptr));
    engine->SetCompressedFile(IncludeTrailingBackslash(buildDirectory) + "setup.1");
    engine->SetFilesToProcess({executable});
    engine->AddFiles(TlzhCommand::lzcOverwrite, 0);
    for (const std::string& presetup : presetupFiles_->Lines) {
        engine->SetFilesToProcess({presetup});
        engine->AddFiles(TlzhCommand::lzcOnlyAdd, 0);
    }
}

void TCustomInstall::WriteFileList() {
    TCustomNetInstallLocation* location = NetLocation();
    if (!location)
        throw IEInstallNetLocNil("Must assign a net location via the NetLocation property before you can set the "
                                 "distribute type");
    const std::string folder = IncludeTrailingBackslash(ExtractFileDir(GetArchivePath())) + NetFolderOf(*location);
    IFileSystem& files = *GetPlatform().Files;
    const std::vector<TFileListEntry> entries = PackedFileEntries();
    const std::string path = folder + "\\filelist.lst";
    if (!files.ForceDirectories(folder))
        throw IEInstall("Cannot create the folder %s", {folder});
    const std::unique_ptr<IFile> file = files.OpenFile(path, FileMode::Create);
    if (!file)
        throw IEInstall("Cannot create the file list %s", {path});
    sw::WriteFileList(*file, entries);
}

} // namespace sw
