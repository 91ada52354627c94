// A whole install under Wine: a project in text form with two groups, files
// of every file type, a shared DLL, a help file, two COM servers that register
// themselves, the uninstaller and a program to run afterwards, packed by the
// engine's build pass and installed with the real registry and files. Test
// handlers record the events and a dialog stand-in the stage codes.
#include "EngineWineFixture.h"

#include "engine/Uninstaller.h"
#include "objects/FileContainer.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "objects/InstallMessages.h"
#include "objects/InstallObject.h"
#include "objects/InstallParameters.h"
#include "paths/ShellFolders.h"
#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "project/ClassRegistry.h"
#include "project/Text.h"
#include "system/InstallErrors.h"
#include "system/InstallRecord.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

#include "platform/win32/Win32Api.h"
// Not the window class registration of <windows.h>: the class registry's.
#undef RegisterClass

#include <algorithm>
#include <functional>
#include <map>

namespace sw::test {

// Stands in for a dialog manager: logs the stage codes the driver sends its
// dialog children, except the many progress codes, which it counts.
class TStageRecorder : public TInstallObject {
    SW_DECLARE_CLASS()
  public:
    using TInstallObject::TInstallObject;
    int GetObjectKind() const override { return kKindDialog; }
    void HandleInstallMessage(TInstallContainer*, int code, TPersistent* parameter) override {
        if (code == msg::Progress) {
            ++Progress;
            return;
        }
        std::string line = std::to_string(code);
        if (auto* message = dynamic_cast<TMessageParameter*>(parameter))
            line += " " + message->Text;
        if (auto* file = dynamic_cast<TCustomInstallFile*>(parameter))
            line += " " + file->Name();
        Log->push_back(line);
    }
    std::vector<std::string>* Log = nullptr;
    int Progress = 0;
};
SW_CLASS_INFO(TStageRecorder, TInstallObject)

namespace {

constexpr const char* kProduct = "Setwright Whole Install";
// A second product with the same files, for the files they share.
constexpr const char* kSecondProduct = "Setwright Second Install";
constexpr const char* kSharedDLLs = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr const char* kHelpKey = "\\SOFTWARE\\Microsoft\\Windows\\Help";
constexpr const char* kDllClass = "CLSID\\{5E7A1C2B-3F4D-4E5F-8A9B-0C1D2E3F4A5B}";
constexpr const char* kExeClass = "CLSID\\{6F8B2D3C-4A5E-4F60-9BAC-1D2E3F4A5B6C}";

// The source folder stands for <SRC>. Every file type: normal (the program
// and the texts), just a DLL, application-specific, vendor-shared (counted),
// and system-wide (the two COM servers, counted, as an ActiveX file is).
constexpr std::string_view kProject = R"(object Form1: TForm
  Width = 400
  Height = 300
  object psBDEDLL: TpsBDEDLL
  end
  object psCommonFiles: TpsCommonFiles
  end
  object psContainerArchiveFile: TpsContainerArchiveFile
  end
  object psContainerDestDir: TpsContainerDestDir
  end
  object psDesktopMenu: TpsDesktopMenu
  end
  object psInstallSource: TpsInstallSource
  end
  object psMainInstall: TpsMainInstall
  end
  object psProgramFiles: TpsProgramFiles
  end
  object psProgramMenu: TpsProgramMenu
  end
  object psStartMenu: TpsStartMenu
  end
  object psStartupMenu: TpsStartupMenu
  end
  object psSystem: TpsSystem
  end
  object psMainArchiveFile: TpsMainArchiveFile
  end
  object psWindow: TpsWindow
  end
  object Install1: TInstall
    DestDir = '\Setwright Whole Install'
    DestDirType = psProgramFiles
    Information.CompanyName = 'Setwright Tests'
    Information.ProductName = 'Setwright Whole Install'
    Information.Version = '1.0'
    UseLoadingProgram = True
    HideMainForm = False
    Reboot = False
  end
  object ProgramGroup: TInstallFileGroup
    AllowChoice = False
    ArchiveFileType = psContainerArchiveFile
    Container = Install1
    DestDirType = psContainerDestDir
    GroupName = 'Program'
  end
  object Tool: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = ProgramGroup
    DestDirType = psContainerDestDir
    DestName = 'tool.exe'
    FileName = 'tool.exe'
    IncludeFromDir = '<SRC>'
    RunAfterInstall = True
    UniqueID = 1
  end
  object Readme: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = ProgramGroup
    DestDirType = psContainerDestDir
    DestName = 'README.TXT'
    FileName = 'README.TXT'
    IncludeFromDir = '<SRC>'
    UniqueID = 2
  end
  object PlainDll: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = ProgramGroup
    DestDirType = psContainerDestDir
    DestName = 'swplain.dll'
    FileName = 'swplain.dll'
    FileType = iftJustADLL
    IncludeFromDir = '<SRC>'
    OverwriteMode = owVersionDate
    UniqueID = 3
  end
  object AppDll: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = ProgramGroup
    DestDir = '\System'
    DestDirType = psMainInstall
    DestName = 'swapp.dll'
    FileName = 'swapp.dll'
    FileType = iftApplicationSpecificDLL
    IncludeFromDir = '<SRC>'
    OverwriteMode = owVersionDate
    UniqueID = 4
  end
  object VendorDll: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = ProgramGroup
    DestDir = '\System'
    DestDirType = psCommonFiles
    DestName = 'swvendor.dll'
    FileName = 'swvendor.dll'
    FileType = iftVendorSharedDLL
    IncludeFromDir = '<SRC>'
    OverwriteMode = owVersionDate
    UpdateDLLCounter = True
    UniqueID = 5
  end
  object ComDll: TInstallFile
    ActiveX = True
    ArchiveFileType = psContainerArchiveFile
    Container = ProgramGroup
    DestDirType = psSystem
    DestName = 'swcomdll.dll'
    FileName = 'swcomdll.dll'
    FileType = iftSystemWideDLL
    IncludeFromDir = '<SRC>'
    OverwriteMode = owVersionDate
    UpdateDLLCounter = True
    UniqueID = 6
  end
  object ComExe: TInstallFile
    ActiveX = True
    ArchiveFileType = psContainerArchiveFile
    Container = ProgramGroup
    DestDirType = psSystem
    DestName = 'swcomexe.exe'
    FileName = 'swcomexe.exe'
    FileType = iftSystemWideDLL
    IncludeFromDir = '<SRC>'
    OverwriteMode = owVersionDate
    UpdateDLLCounter = True
    UniqueID = 7
  end
  object Uninstaller: TUninstallEXE
    ArchiveFileType = psContainerArchiveFile
    Container = ProgramGroup
    DestDirType = psContainerDestDir
    DestName = 'uninstall.exe'
    FileName = 'uninstall.exe'
    IncludeFromDir = '<SRC>'
    Net = False
    UniqueID = 8
  end
  object DocsGroup: TInstallFileGroup
    ArchiveFileType = psContainerArchiveFile
    Container = Install1
    DestDir = '\Docs'
    DestDirType = psContainerDestDir
    GroupName = 'Documentation'
  end
  object Manual: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = DocsGroup
    DestDirType = psContainerDestDir
    DestName = 'MANUAL.HLP'
    FileName = 'MANUAL.HLP'
    IncludeFromDir = '<SRC>'
    RegisterAsHelp = True
    UniqueID = 9
  end
  object Guide: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = DocsGroup
    DestDirType = psContainerDestDir
    DestName = 'GUIDE.TXT'
    FileName = 'GUIDE.TXT'
    IncludeFromDir = '<SRC>'
    UniqueID = 10
  end
end
)";

// 3 February 2001, 04:05:06: not the day of any test run.
constexpr FileDateTime kSourceDate{2001, 2, 3, 4, 5, 6};

class InstallRunWineTest : public EngineWineTest {
  protected:
    void SetUp() override {
        EngineWineTest::SetUp();
        RegisterClass<TStageRecorder>();
        here_ = ExtractFileDir(GetPlatform().System->ModulePath());
        scratch_ = Files().TempDirectory() + "\\swrun" + std::to_string(GetCurrentProcessId());
        Clean();
        Files().ForceDirectories(scratch_ + "\\src");
        MakeSources();
    }
    void TearDown() override {
        FreeRoots();
        Clean();
        EngineWineTest::TearDown();
    }

    void MakeSources() {
        for (auto [name, contents] :
             {std::pair{"README.TXT", std::string(4000, 'r')}, std::pair{"swplain.dll", std::string("just a library")},
              std::pair{"swapp.dll", std::string("the product's own library")},
              std::pair{"swvendor.dll", std::string(2500, 'v')}, std::pair{"MANUAL.HLP", std::string("help")},
              std::pair{"GUIDE.TXT", std::string(1200, 'g')}})
            Files().OpenFile(Source(name), FileMode::Create)->Write(contents.data(), contents.size());
        for (auto [built, name] :
             {std::pair{"sw_run_marker.exe", "tool.exe"}, std::pair{"sw_com_dll.dll", "swcomdll.dll"},
              std::pair{"sw_com_exe.exe", "swcomexe.exe"}, std::pair{"..\\src\\app\\uninstall.exe", "uninstall.exe"}})
            EXPECT_TRUE(Files().CopyFile(here_ + "\\" + built, Source(name), false)) << built;
        for (const auto& entry : Files().ListDirectory(scratch_ + "\\src", "*.*"))
            Files().SetFileStamp(Source(entry.Name), EncodeFileStamp(kSourceDate));
    }
    std::string Source(const std::string& name) const { return scratch_ + "\\src\\" + name; }
    std::string Dist(const std::string& product) const { return scratch_ + "\\" + product; }

    // The project under another product name (and folder), its distribution
    // in a folder of its own, started with `switches` after -s.
    void LoadProduct(const std::string& product, const std::vector<std::string>& switches = {}) {
        std::string text(kProject);
        auto replace = [&](const std::string& from, const std::string& to) {
            for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
                text.replace(at, from.size(), to);
        };
        replace("<SRC>", scratch_ + "\\src");
        replace(kProduct, product);
        Files().ForceDirectories(Dist(product));
        std::vector<std::string> arguments = {"-s" + Dist(product)};
        arguments.insert(arguments.end(), switches.begin(), switches.end());
        system_.Set(arguments);
        form_ = Load(text);
        install_ = static_cast<TInstall*>(form_->FindComponent("Install1"));
    }
    // The setup runs as the loading program leaves it: unpacked into a
    // folder of its own, which the cleanup at the end of a run removes.
    std::string UnpackSetup() {
        const std::string unpacked = scratch_ + "\\unpacked";
        Files().ForceDirectories(unpacked);
        Files().OpenFile(unpacked + "\\setup.exe", FileMode::Create)->Write("setup", 5);
        system_.SetModulePath(unpacked + "\\setup.exe");
        return unpacked;
    }
    // Packs the project's files into its files.1, as the build does.
    void Build() { install_->Compress(coBuildRelocate | coForceNetFilesLocal | coIncludeExcluded); }
    // Where each file component of a product lands.
    static std::map<std::string, std::string> Destinations(const std::string& product) {
        const std::string folder = ProductPath(product);
        return {{"Tool", folder + "\\tool.exe"},
                {"Readme", folder + "\\README.TXT"},
                {"PlainDll", folder + "\\swplain.dll"},
                {"AppDll", folder + "\\System\\swapp.dll"},
                {"VendorDll", CommonFilesPath() + "\\System\\swvendor.dll"},
                {"ComDll", SystemDirectory() + "\\swcomdll.dll"},
                {"ComExe", SystemDirectory() + "\\swcomexe.exe"},
                {"Uninstaller", folder + "\\uninstall.exe"},
                {"Manual", folder + "\\Docs\\MANUAL.HLP"},
                {"Guide", folder + "\\Docs\\GUIDE.TXT"}};
    }

    // Everything the install may have left, also after a failed run.
    void Clean() {
        for (const char* product : {kProduct, kSecondProduct}) {
            RemoveTree(ProductPath(product));
            DeleteRegKeyTree(kHklm, UninstallKey(product));
        }
        for (const char* name : {"\\swcomdll.dll", "\\swcomexe.exe"}) {
            Files().DeleteFile(SystemDirectory() + name);
            Reg().DeleteValue(kHklm, kSharedDLLs, SystemDirectory() + name);
        }
        const std::string vendor = CommonFilesPath() + "\\System\\swvendor.dll";
        Files().DeleteFile(vendor);
        Reg().DeleteValue(kHklm, kSharedDLLs, vendor);
        Reg().DeleteValue(kHklm, kHelpKey, "MANUAL.HLP");
        DeleteRegKeyTree(kHklm, kPellmoorKey);
        DeleteRegKeyTree(RegistryRoot::ClassesRoot, kDllClass);
        DeleteRegKeyTree(RegistryRoot::ClassesRoot, kExeClass);
        RemoveTree(scratch_);
    }
    static std::string ProductPath(const std::string& product) { return GetProgramFilesFolder() + "\\" + product; }
    static std::string UninstallKey(const std::string& product) { return kUninstallKeyRoot + product; }
    static std::string CommonFilesPath() { return GetCommonFilesFolder(); }
    static IRegistry& Reg() { return *GetPlatform().Registry; }
    static IFileSystem& Files() { return *GetPlatform().Files; }
    TInstallFile* File(const char* name) { return static_cast<TInstallFile*>(form_->FindComponent(name)); }
    std::string RegText(RegistryRoot root, const std::string& key, const std::string& name) {
        return ReadRegString(root, key, name, "<none>");
    }
    // Waits, a minute at most, for what a started program or batch does in
    // its own time.
    static bool WaitFor(const std::function<bool()>& done) {
        for (int i = 0; i < 600 && !done(); ++i)
            Sleep(100);
        return done();
    }

    // Logs the driver's, the groups' and the files' events.
    void RecordEvents() {
        stages_ = new TStageRecorder(form_);
        stages_->Log = &log_;
        stages_->SetContainer(install_);
        auto note = [this](const char* name) {
            return TNotifyEvent("", [this, name](TPersistent*) { log_.push_back(name); });
        };
        install_->OnBeforeReadArchiveInfo = note("OnBeforeReadArchiveInfo");
        install_->OnAfterReadArchiveInfo = note("OnAfterReadArchiveInfo");
        install_->OnAfterInitialized = TNotifyEvent("", [this](TPersistent*) {
            log_.push_back("OnAfterInitialized");
            recordDuringRun_ = InstallRecordKeyPath();
            recordExisted_ = Reg().KeyExists(kHklm, recordDuringRun_);
        });
        install_->OnBeforeNotifyGoodInstall = note("OnBeforeNotifyGoodInstall");
        install_->OnAfterNotifyGoodInstall = note("OnAfterNotifyGoodInstall");
        install_->OnBeforeNotifyBadInstall = note("OnBeforeNotifyBadInstall");
        install_->OnAfterNotifyBadInstall = note("OnAfterNotifyBadInstall");
        install_->OnBeforeProcess = TInstallContainerNotifyEvent(
            "", [this](TInstallContainer* c) { log_.push_back("OnBeforeProcess " + c->Name()); });
        install_->OnAfterProcess = TInstallContainerNotifyEvent(
            "", [this](TInstallContainer* c) { log_.push_back("OnAfterProcess " + c->Name()); });
        install_->OnBeforeReboot =
            TRebootWindowsEvent("", [this](TCustomInstall*, bool&) { log_.push_back("OnBeforeReboot"); });
        install_->OnBeforeCleanup =
            TCleanupEvent("", [this](TCustomInstall*, bool&) { log_.push_back("OnBeforeCleanup"); });
        install_->OnBeforeShutdown =
            TUserAbortEvent("", [this](TCustomInstall*, bool&) { log_.push_back("OnBeforeShutdown"); });
        install_->OnUserAbort = TUserAbortEvent("", [this](TCustomInstall*, bool&) { log_.push_back("OnUserAbort"); });
        install_->OnBeforeRunFile = TBeforeRunFileEvent("", [this](TCustomInstall*, TCustomInstallFile* file, bool&) {
            log_.push_back("OnBeforeRunFile " + file->Name());
            recordAtRunFile_ = Reg().KeyExists(kHklm, recordDuringRun_);
        });
        for (const char* name : {"ProgramGroup", "DocsGroup"}) {
            auto* group = static_cast<TInstallFileGroup*>(form_->FindComponent(name));
            group->OnBeforeInstallObjects = TInstallContainerNotifyEvent(
                "", [this](TInstallContainer* c) { log_.push_back("OnBeforeInstallObjects " + c->Name()); });
            group->OnAfterInstallObjects = TAfterInstallObjectsEvent("", [this](TInstallContainer* c, bool aborted) {
                log_.push_back("OnAfterInstallObjects " + c->Name() + (aborted ? " aborted" : ""));
            });
        }
        for (TCustomInstallFile* file : InstallFiles().ItemList()) {
            file->OnBeforeInstall = TInstallFileNotifyEvent(
                "", [this](TCustomInstallFile* f) { log_.push_back("OnBeforeInstall " + f->Name()); });
            file->OnAfterInstall = TInstallFileNotifyEvent(
                "", [this](TCustomInstallFile* f) { log_.push_back("OnAfterInstall " + f->Name()); });
        }
    }

    // Runs the install as the form's first activation does: an error goes to
    // the application's handler.
    void RunInstall() {
        try {
            install_->Install();
        } catch (...) {
            Application().HandleException(std::current_exception());
        }
    }

    TComponent* form_ = nullptr;
    TInstall* install_ = nullptr;
    TStageRecorder* stages_ = nullptr;
    std::string here_, scratch_;
    std::vector<std::string> log_;
    std::string recordDuringRun_;
    bool recordExisted_ = false;
    bool recordAtRunFile_ = true;
};

// Install order within a group: the files in list order.
const char* const kProgramFiles[] = {"Tool",      "Readme", "PlainDll", "AppDll",
                                     "VendorDll", "ComDll", "ComExe",   "Uninstaller"};
const char* const kDocsFiles[] = {"Manual", "Guide"};

std::vector<std::string> ExpectedLog() {
    std::vector<std::string> log;
    auto add = [&](std::initializer_list<const char*> lines) { log.insert(log.end(), lines.begin(), lines.end()); };
    // The archive information, read once.
    add({"OnBeforeReadArchiveInfo", "-984", "-974 Reading file information...", "-973", "OnAfterReadArchiveInfo",
         "-983"});
    // The start stages, the wizard's last.
    add({"OnAfterInitialized", "-986", "-976", "-975", "-982", "-981", "-977", "-980"});
    // The driver's own pass over its groups.
    add({"OnBeforeProcess Install1", "-990", "-999", "-992"});
    // Each group's files: the install starts, the destination is replaced
    // (a missing one too), the install ends.
    auto group = [&](const std::string& name, const auto& files) {
        log.push_back("OnBeforeInstallObjects " + name);
        for (const char* file : files)
            for (const std::string& line : {"OnBeforeInstall " + std::string(file), "-997 " + std::string(file),
                                            "OnAfterInstall " + std::string(file)})
                log.push_back(line);
        log.push_back("OnAfterInstallObjects " + name);
    };
    group("ProgramGroup", kProgramFiles);
    group("DocsGroup", kDocsFiles);
    add({"-996", "OnAfterProcess Install1", "-989"});
    // The good end.
    add({"OnBeforeNotifyGoodInstall", "-995", "-979", "OnAfterNotifyGoodInstall", "OnBeforeCleanup", "OnBeforeShutdown",
         "OnBeforeRunFile Tool"});
    return log;
}

TEST_F(InstallRunWineTest, AWholeInstallRunsItsStagesInOrderAndLeavesWhatTheUninstallerNeeds) {
    const std::string unpacked = UnpackSetup();
    LoadProduct(kProduct, {"-c"});
    Build();
    ASSERT_TRUE(Files().FileExists(Dist(kProduct) + "\\files.1"));
    // The install reads the archive only.
    for (const auto& entry : Files().ListDirectory(scratch_ + "\\src", "*.*"))
        Files().DeleteFile(Source(entry.Name));

    RecordEvents();
    RunInstall();
    EXPECT_EQ(gui_.Boxes().size(), 0u) << gui_.Boxes().front().Text;

    // The events and stage codes in the order of the run.
    EXPECT_EQ(log_, ExpectedLog());
    EXPECT_GT(stages_->Progress, 0);

    // Every file in its folder, with the source's date.
    const std::string product = ProductPath(kProduct);
    const std::map<std::string, std::string> destinations = Destinations(kProduct);
    for (const auto& [name, path] : destinations) {
        EXPECT_TRUE(SameText(File(name.c_str())->DestPath(), path)) << File(name.c_str())->DestPath();
        EXPECT_EQ(Files().GetFileStamp(path), EncodeFileStamp(kSourceDate)) << path;
        EXPECT_EQ(Files().FileSize(path), static_cast<uint64_t>(File(name.c_str())->Size())) << path;
    }
    EXPECT_EQ(Text(product + "\\README.TXT"), std::string(4000, 'r'));
    EXPECT_EQ(Files().FileSize(product + "\\uninstall.exe"), Files().FileSize(here_ + "\\..\\src\\app\\uninstall.exe"));

    // Registrations: shared-DLL counters, the help file, both servers.
    for (const char* name : {"VendorDll", "ComDll", "ComExe"})
        EXPECT_EQ(ReadRegIntegerValue(kHklm, kSharedDLLs, destinations.at(name)), 1) << name;
    EXPECT_FALSE(Reg().ValueExists(kHklm, kSharedDLLs, destinations.at("AppDll")));
    EXPECT_EQ(RegText(kHklm, kHelpKey, "MANUAL.HLP"), product + "\\Docs");
    EXPECT_TRUE(SameText(RegText(RegistryRoot::ClassesRoot, std::string(kDllClass) + "\\InprocServer32", ""),
                         destinations.at("ComDll")));
    // The EXE server registers itself in its own time.
    const std::string exeServer = std::string(kExeClass) + "\\LocalServer32";
    ASSERT_TRUE(WaitFor([&] { return Reg().KeyExists(RegistryRoot::ClassesRoot, exeServer); }));
    EXPECT_TRUE(SameText(RegText(RegistryRoot::ClassesRoot, exeServer, ""), destinations.at("ComExe")));

    // The uninstall key: the uninstaller's values and the lists in install order.
    const std::string key = UninstallKey(kProduct);
    EXPECT_EQ(RegText(kHklm, key, "DisplayName"), kProduct);
    EXPECT_EQ(RegText(kHklm, key, "UninstallString"), "\"" + product + "\\uninstall.exe\" Setwright Whole Install");
    EXPECT_EQ(RegText(kHklm, key + "\\ActiveX", "Entries"), "2");
    EXPECT_EQ(RegText(kHklm, key + "\\ActiveX", "File1"), destinations.at("ComDll") + ";0");
    EXPECT_EQ(RegText(kHklm, key + "\\ActiveX", "File2"), destinations.at("ComExe") + ";1");
    const char* const listed[] = {"Tool", "Readme", "PlainDll", "AppDll", "VendorDll", "Manual", "Guide"};
    EXPECT_EQ(RegText(kHklm, key + "\\Files", "Entries"), std::to_string(std::size(listed)));
    for (size_t i = 0; i < std::size(listed); ++i)
        EXPECT_EQ(RegText(kHklm, key + "\\Files", "File" + std::to_string(i + 1)), destinations.at(listed[i]));
    EXPECT_FALSE(Reg().KeyExists(kHklm, key + "\\Files1"));

    // The record lived through the run and is gone before the files run.
    EXPECT_EQ(recordDuringRun_, std::string(kInstallRecordRoot) + "\\Install0");
    EXPECT_TRUE(recordExisted_);
    EXPECT_FALSE(recordAtRunFile_);
    EXPECT_FALSE(Reg().KeyExists(kHklm, kPellmoorKey));
    EXPECT_FALSE(install_->Running());
    EXPECT_TRUE(gui_.Terminated());

    // The program marked to run was started from its installed place.
    ASSERT_TRUE(WaitFor([&] { return Files().FileExists(product + "\\ran.txt"); }));
    EXPECT_TRUE(WaitFor([&] { return SameText(Text(product + "\\ran.txt"), "\"" + product + "\\tool.exe\""); }))
        << Text(product + "\\ran.txt");

    // The cleanup batch starts when the driver goes and removes the unpacked setup.
    FreeRoots();
    EXPECT_TRUE(WaitFor([&] { return !Files().DirectoryExists(unpacked); }));
}

// Two products share the vendor's library and the two servers; each one's
// uninstaller is started as its "UninstallString" says, silently.
TEST_F(InstallRunWineTest, TheUninstallerUndoesAnInstallAndSharedFilesGoWithTheirLastProduct) {
    // Wine keeps libraries of its own in the vendors' folder.
    const bool vendorFolderBefore = Files().DirectoryExists(CommonFilesPath() + "\\System");
    for (const char* product : {kProduct, kSecondProduct}) {
        LoadProduct(product);
        Build();
        // Nothing is started after the install: the folders must empty.
        install_->OnBeforeRunFile =
            TBeforeRunFileEvent("", [](TCustomInstall*, TCustomInstallFile*, bool& run) { run = false; });
        RunInstall();
        ASSERT_EQ(gui_.Boxes().size(), 0u) << gui_.Boxes().front().Text;
        FreeRoots();
    }
    const std::map<std::string, std::string> first = Destinations(kProduct), second = Destinations(kSecondProduct);
    const std::string exeServer = std::string(kExeClass) + "\\LocalServer32";
    ASSERT_TRUE(WaitFor([&] { return Reg().KeyExists(RegistryRoot::ClassesRoot, exeServer); }));
    for (const char* name : {"VendorDll", "ComDll", "ComExe"})
        EXPECT_EQ(ReadRegIntegerValue(kHklm, kSharedDLLs, first.at(name)), 2) << name;
    const std::string notes = ProductPath(kProduct) + "\\notes.txt";
    Files().OpenFile(notes, FileMode::Create)->Write("mine", 4);

    // The command of the key, with the silent switch before the product name.
    auto uninstall = [&](const std::string& product) -> std::optional<uint32_t> {
        const std::string command = RegText(kHklm, UninstallKey(product), "UninstallString");
        const std::string program = UninstallProgramPath(command);
        EXPECT_TRUE(SameText(command, "\"" + program + "\" " + product)) << command;
        std::optional<uint32_t> code =
            GetPlatform().Processes->RunAndWait("\"" + program + "\" /S " + product, WindowState::Hidden, 120000);
        // The uninstaller goes after it has ended.
        EXPECT_TRUE(WaitFor([&] { return !Files().FileExists(program); })) << program;
        return code;
    };
    EXPECT_EQ(uninstall(kProduct), 0u);
    for (const auto& [name, path] : first) {
        const bool shared = name == "VendorDll" || name == "ComDll" || name == "ComExe";
        EXPECT_EQ(Files().FileExists(path), shared) << path;
    }
    for (const char* name : {"VendorDll", "ComDll", "ComExe"})
        EXPECT_EQ(ReadRegIntegerValue(kHklm, kSharedDLLs, first.at(name)), 1) << name;
    EXPECT_TRUE(Reg().KeyExists(RegistryRoot::ClassesRoot, std::string(kDllClass) + "\\InprocServer32"));
    EXPECT_TRUE(Reg().KeyExists(RegistryRoot::ClassesRoot, exeServer));
    // The user's file stays, and so does its folder; the emptied ones go.
    EXPECT_EQ(Text(notes), "mine");
    EXPECT_FALSE(Files().DirectoryExists(ProductPath(kProduct) + "\\Docs"));
    EXPECT_FALSE(Files().DirectoryExists(ProductPath(kProduct) + "\\System"));
    EXPECT_FALSE(Reg().KeyExists(kHklm, UninstallKey(kProduct)));
    EXPECT_TRUE(Reg().KeyExists(kHklm, UninstallKey(kSecondProduct)));

    EXPECT_EQ(uninstall(kSecondProduct), 0u);
    for (const auto& [name, path] : second)
        EXPECT_FALSE(Files().FileExists(path)) << path;
    for (const char* name : {"VendorDll", "ComDll", "ComExe"})
        EXPECT_FALSE(Reg().ValueExists(kHklm, kSharedDLLs, first.at(name))) << name;
    EXPECT_FALSE(Reg().KeyExists(RegistryRoot::ClassesRoot, kDllClass));
    EXPECT_FALSE(Reg().KeyExists(RegistryRoot::ClassesRoot, kExeClass));
    EXPECT_FALSE(Files().DirectoryExists(ProductPath(kSecondProduct)));
    EXPECT_EQ(Files().DirectoryExists(CommonFilesPath() + "\\System"), vendorFolderBefore);
    EXPECT_FALSE(Reg().KeyExists(kHklm, UninstallKey(kSecondProduct)));
    EXPECT_EQ(Text(notes), "mine");
}

// A user's abort from a handler ends the run badly, with the cleanup, and
// removes the record. An error ends it badly too, with its box, and keeps the
// record, which the next run takes up again.
TEST_F(InstallRunWineTest, AnAbortRemovesTheRecordAndAnErrorKeepsItForTheNextRun) {
    const std::string unpacked = UnpackSetup();
    LoadProduct(kProduct, {"-c"});
    Build();
    RecordEvents();
    File("Manual")->OnBeforeInstall =
        TInstallFileNotifyEvent("", [this](TCustomInstallFile*) { log_.push_back("abort"), throw EAIUserAbort(); });
    RunInstall();
    EXPECT_EQ(gui_.Boxes().size(), 0u);
    ASSERT_NE(std::find(log_.begin(), log_.end(), "abort"), log_.end());
    const std::vector<std::string> badEnd = {"OnBeforeNotifyBadInstall", "-994", "-978", "OnAfterNotifyBadInstall"};
    // The passes end before the bad end.
    std::vector<std::string> expected = {"OnAfterInstallObjects DocsGroup", "-996"};
    expected.insert(expected.end(), badEnd.begin(), badEnd.end());
    expected.insert(expected.end(), {"OnBeforeCleanup", "OnBeforeShutdown"});
    EXPECT_EQ(std::vector<std::string>(std::find(log_.begin(), log_.end(), "abort") + 1, log_.end()), expected);
    EXPECT_FALSE(Reg().KeyExists(kHklm, kPellmoorKey));
    EXPECT_TRUE(Files().FileExists(Destinations(kProduct).at("Tool")));
    EXPECT_FALSE(Files().FileExists(Destinations(kProduct).at("Manual")));
    FreeRoots();
    EXPECT_TRUE(WaitFor([&] { return !Files().DirectoryExists(unpacked); }));
    EXPECT_FALSE(Files().FileExists(ProductPath(kProduct) + "\\ran.txt"));

    // The last entry of the archive ends in a wrong checksum.
    const std::string archive = Dist(kProduct) + "\\files.1";
    {
        std::unique_ptr<IFile> file = Files().OpenFile(archive, FileMode::ReadWrite);
        ASSERT_TRUE(file);
        file->Seek(-2, SeekOrigin::End);
        file->Write("\xA5\x5A", 2);
    }
    log_.clear();
    UnpackSetup();
    LoadProduct(kProduct);
    RecordEvents();
    RunInstall();
    ASSERT_EQ(gui_.Boxes().size(), 1u);
    // zlib's refusal, in the archive engine's words; what the entry wrote is gone.
    EXPECT_EQ(gui_.Boxes()[0].Text, "error");
    EXPECT_TRUE(Files().FileExists(Destinations(kProduct).at("Manual")));
    EXPECT_FALSE(Files().FileExists(Destinations(kProduct).at("Guide")));
    expected = badEnd;
    expected.push_back("OnBeforeShutdown");
    EXPECT_EQ(std::vector<std::string>(log_.end() - static_cast<std::ptrdiff_t>(expected.size()), log_.end()),
              expected);
    EXPECT_EQ(recordDuringRun_, std::string(kInstallRecordRoot) + "\\Install0");
    EXPECT_TRUE(Reg().KeyExists(kHklm, recordDuringRun_));
    FreeRoots();

    // The next run, from a whole archive, takes up the same record and ends well.
    LoadProduct(kProduct);
    Build();
    RecordEvents();
    RunInstall();
    EXPECT_EQ(gui_.Boxes().size(), 1u);
    EXPECT_EQ(recordDuringRun_, std::string(kInstallRecordRoot) + "\\Install0");
    EXPECT_EQ(log_.back(), "OnBeforeRunFile Tool");
    EXPECT_FALSE(Reg().KeyExists(kHklm, kPellmoorKey));
    EXPECT_EQ(Text(Destinations(kProduct).at("Guide")), std::string(1200, 'g'));
}

} // namespace
} // namespace sw::test
