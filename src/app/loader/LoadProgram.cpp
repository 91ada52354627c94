// PellmoorLoadProgram.exe: the front of a distribution. It finds setup.1,
// unpacks it into a fresh folder of its own below the temporary folder,
// starts the setup program from there and passes its exit code on. Its own
// file is one of two forms:
//
//   self-extracting: setup.1 and files.1 follow the program, found through
//   the trailer at the end of the file;
//
//     setup.exe           -> <setup program> "-s<distribution folder>" "-e<own file name>" "-c<folder>"
//     setup.exe *TODISK   -> <setup program> "-s<distribution folder>" "-e<own file name>" -f
//
//   the first disk of a floppy set: the program alone, with setup.1 beside
//   it; the install reads files.1 from the same folder and asks for the
//   further disks itself;
//
//     setup.exe           -> <setup program> "-s<distribution folder>" "-c<folder>"
//
// When the setup program has ended the folder is removed, unless a restart
// registered in RunOnce still needs the program in it; -c names the folder,
// so that the setup program leaves its removal to this program. A damaged
// setup.exe or setup.1 gets a message box and leaves nothing behind.
//
// The program links no C run-time DLL and imports from KERNEL32 and ADVAPI32
// only, which Windows loads from the system folder whatever lies beside
// setup.exe; it loads USER32 itself, by its path in the system folder, only
// for a message box.
#include "LoaderText.h"
#include "SetupArchive.h"

#include "archive/ArchiveFormat.h"
#include "platform/win32/PhaseMarkLine.h"
#include "platform/win32/Win32LaterApi.h"

#include <windows.h>

namespace loader {

namespace {

constexpr UINT kFailed = 1;

const char* Caption() { return "Setup"; }

// The phase marks of the install profile, with SW_PHASE_PROFILE naming the
// file, as the setup program's marks (platform/PhaseProfile.h).
void Mark(const char* phase) {
    static char path[MAX_PATH];
    static int state; // 0 not looked up, 1 on, 2 off
    if (state == 0) {
        const DWORD n = GetEnvironmentVariableA("SW_PHASE_PROFILE", path, sizeof path);
        state = n > 0 && n < sizeof path ? 1 : 2;
    }
    if (state != 1)
        return;
    sw::win32::AppendPhaseMark(path, phase);
}

// USER32 is loaded, from the system folder, only to tell of a failure: a
// program that imports it pays for its start (under Wine about a fifth of a
// second) on every run.
void Tell(const TText& text) {
    char folder[MAX_PATH];
    const UINT n = GetSystemDirectoryA(folder, sizeof folder);
    if (n == 0 || n >= sizeof folder)
        return;
    TText path;
    path += folder;
    path += "\\USER32.DLL";
    const HMODULE user32 = LoadLibraryA(path.c_str());
    using TMessageBox = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
    const auto box = sw::win32::LibraryExport<TMessageBox>(user32, "MessageBoxA");
    if (box)
        box(nullptr, text.c_str(), Caption(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void TellAbout(const char* before, const char* subject, const char* after) {
    TText text;
    text += before;
    text += subject;
    text += after;
    Tell(text);
}

// Whether the command line names *TODISK after the program's own name.
bool ToDiskAsked() {
    const char* p = GetCommandLineA();
    bool quoted = false;
    while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
        if (*p == '"')
            quoted = !quoted;
        ++p;
    }
    while (*p) {
        while (*p == ' ' || *p == '\t')
            ++p;
        TText arg;
        while (*p && *p != ' ' && *p != '\t') {
            if (*p != '"')
                arg.Add(*p);
            ++p;
        }
        if (SameText(arg.c_str(), "*TODISK"))
            return true;
    }
    return false;
}

// Every file in folder, then folder itself.
void RemoveFolderOnce(const char* folder) {
    TText pattern;
    pattern += folder;
    pattern += "\\*";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            TText path;
            path += folder;
            path += "\\";
            path += found.cFileName;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder);
}

// The system may hold a file or the folder of a program that has just ended
// for a moment longer: a few tries, a tenth of a second apart.
void RemoveFolder(const char* folder) {
    for (int attempt = 0; attempt < 30 && GetFileAttributesA(folder) != INVALID_FILE_ATTRIBUTES; ++attempt) {
        if (attempt)
            Sleep(100);
        RemoveFolderOnce(folder);
    }
}

// A new folder below the temporary folder; false when none can be made.
bool MakePrivateFolder(TText& folder) {
    char temp[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n > MAX_PATH)
        return false;
    const unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        folder = TText();
        folder += temp;
        if (folder.size() && folder.c_str()[folder.size() - 1] == '\\')
            folder.Cut(folder.size() - 1);
        folder += "\\PLD";
        folder.AddHex(seed + attempt * 7919);
        if (folder.ok() && CreateDirectoryA(folder.c_str(), nullptr))
            return true;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

// Whether a RunOnce command of the machine names the folder: a restart that
// completes the install from there.
bool RestartNeedsFolder(const char* folder) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    bool found = false;
    for (DWORD index = 0; !found; ++index) {
        char name[256];
        BYTE data[2048];
        DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
        const LONG status = RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            break;
        data[dataSize] = 0;
        found = type == REG_SZ && ContainsText(reinterpret_cast<const char*>(data), folder);
    }
    RegCloseKey(key);
    return found;
}

// Starts the setup program and waits for it; its exit code. carried: setup.1
// came from inside self, which then holds files.1 too.
UINT RunSetupProgram(const TText& program, const TText& folder, const char* self, bool carried, bool toDisk) {
    TText source;
    source += self;
    source.Cut(static_cast<size_t>(FileNamePart(self) - self));
    // The folder without its backslash, so that the quote after it stays a quote.
    if (source.size() && source.c_str()[source.size() - 1] == '\\')
        source.Cut(source.size() - 1);
    TText command;
    command += "\"";
    command += program;
    command += "\" \"-s";
    command += source;
    command += "\"";
    if (carried) {
        command += " \"-e";
        command += FileNamePart(self);
        command += "\"";
    }
    if (toDisk) {
        command += " -f";
    } else {
        command += " \"-c";
        command += folder;
        command += "\"";
    }
    if (!command.ok()) {
        TellAbout("The path of the setup program is too long: ", program.c_str(), "");
        return kFailed;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    static char commandLine[TText::kCapacity];
    for (size_t i = 0; i <= command.size(); ++i)
        commandLine[i] = command.c_str()[i];
    if (!CreateProcessA(program.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        TellAbout("Setup cannot start ", program.c_str(), ".");
        return kFailed;
    }
    CloseHandle(process.hThread);
    Mark("loader: wait for the setup program");
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = kFailed;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return code;
}

// Where setup.1 is: bytes First..Last (inclusive) of File, the file at Path.
struct TSetupSource {
    HANDLE File = INVALID_HANDLE_VALUE;
    DWORD First = 0;
    DWORD Last = 0;
    TText Path;
    // Inside the program's own file, after the trailer's offsets.
    bool Carried = false;

    ~TSetupSource() { Close(); }
    void Close() {
        if (File != INVALID_HANDLE_VALUE)
            CloseHandle(File);
        File = INVALID_HANDLE_VALUE;
    }
};

void TellDamaged(const char* path) {
    TellAbout("The setup file ", path, " is damaged and cannot be run. Please get a new copy of it.");
}

// The file offset where the program's own image ends: the end of its
// headers or of its last section's data, whichever lies further. Whatever a
// build appended comes after it.
DWORD ImageFileEnd() {
    const BYTE* base = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    DWORD end = nt->OptionalHeader.SizeOfHeaders;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
        if (section->SizeOfRawData && section->PointerToRawData + section->SizeOfRawData > end)
            end = section->PointerToRawData + section->SizeOfRawData;
    return end;
}

// setup.1 inside self, after the program's image, as its trailer places it.
bool FindCarriedSetup(const char* self, TSetupSource& source) {
    source.File =
        CreateFileA(self, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (source.File == INVALID_HANDLE_VALUE)
        return false;
    sw::archive::TSelfExtractTrailer trailer;
    DWORD read = 0;
    const DWORD size = GetFileSize(source.File, nullptr);
    const bool trailerRead = size != INVALID_FILE_SIZE && size >= sizeof trailer &&
                             SetFilePointer(source.File, static_cast<LONG>(size - sizeof trailer), nullptr,
                                            FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
                             ReadFile(source.File, &trailer, sizeof trailer, &read, nullptr) && read == sizeof trailer;
    if (!trailerRead || !sw::archive::TrailerFitsFile(trailer, size) || trailer.Setup1Start < ImageFileEnd()) {
        source.Close();
        return false;
    }
    source.First = trailer.Setup1Start;
    source.Last = trailer.Setup1End;
    source.Path += self;
    source.Carried = true;
    return true;
}

// A setup.1 of its own beside self: the first disk of a floppy set. False
// when there is none.
bool FindSetupBeside(const char* self, TSetupSource& source) {
    source.Path += self;
    source.Path.Cut(static_cast<size_t>(FileNamePart(self) - self));
    source.Path += "setup.1";
    const DWORD attributes = GetFileAttributesA(source.Path.c_str());
    if (!source.Path.ok() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    source.File = CreateFileA(source.Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    const DWORD size = source.File == INVALID_HANDLE_VALUE ? 0 : GetFileSize(source.File, nullptr);
    // An empty or unreadable setup.1 unpacks to nothing: damaged.
    source.Last = size == INVALID_FILE_SIZE || size == 0 ? 0 : size - 1;
    return true;
}

UINT Run() {
    Mark("loader: start");
    char self[MAX_PATH + 1];
    const DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
    if (n == 0 || n > MAX_PATH) {
        Tell(TText() += "Setup cannot find its own file.");
        return kFailed;
    }
    TSetupSource carried, beside;
    TSetupSource* source = &carried;
    if (!FindCarriedSetup(self, carried)) {
        if (!FindSetupBeside(self, beside)) {
            TellDamaged(self);
            return kFailed;
        }
        source = &beside;
    }
    TText folder;
    if (!MakePrivateFolder(folder)) {
        Tell(TText() += "Setup cannot create a folder for its files in the temporary folder.");
        return kFailed;
    }
    Mark("loader: unpack setup.1");
    TUnpacked unpacked;
    bool diskProblem = false;
    const bool whole =
        source->File != INVALID_HANDLE_VALUE &&
        UnpackSetupArchive(source->File, source->First, source->Last, folder.c_str(), unpacked, diskProblem);
    source->Close();
    if (!whole) {
        RemoveFolder(folder.c_str());
        if (diskProblem)
            TellAbout("Setup cannot unpack its files into ", folder.c_str(), ". The disk may be full.");
        else
            TellDamaged(source->Path.c_str());
        return kFailed;
    }
    TText program;
    program += folder;
    program += "\\";
    program += unpacked.SetupProgram;
    Mark("loader: start the setup program");
    const UINT code = RunSetupProgram(program, folder, self, source->Carried, ToDiskAsked());
    Mark("loader: remove the folder");
    if (!RestartNeedsFolder(folder.c_str()))
        RemoveFolder(folder.c_str());
    Mark("loader: end");
    return code;
}

} // namespace

} // namespace loader

extern "C" void __stdcall LoaderEntry() { ExitProcess(loader::Run()); }
