#include "engine/Uninstaller.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/PlatformErrors.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "project/Text.h"
#include "system/RegistryHelpers.h"
#include "system/SystemHelpers.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

namespace sw {

namespace {

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr const char* kSharedDllsKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
// How long a server program may take to unregister itself.
constexpr uint32_t kServerTimeout = 60000;

std::string TrimLeft(const std::string& text) {
    const size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
}

// The end of an unquoted program path: after the first ".exe" that ends a word.
size_t UnquotedProgramEnd(const std::string& text) {
    const std::string upper = UpperCase(text);
    for (size_t at = upper.find(".EXE"); at != std::string::npos; at = upper.find(".EXE", at + 1)) {
        const size_t end = at + 4;
        if (end == text.size() || text[end] == ' ')
            return end;
    }
    const size_t blank = text.find(' ');
    return blank == std::string::npos ? text.size() : blank;
}

// The program part of a command line and the rest after it.
std::pair<std::string, std::string> SplitProgram(const std::string& commandLine) {
    const std::string text = TrimLeft(commandLine);
    if (!text.empty() && text[0] == '"') {
        const size_t close = text.find('"', 1);
        if (close == std::string::npos)
            return {text.substr(1), {}};
        return {text.substr(1, close - 1), text.substr(close + 1)};
    }
    const size_t end = UnquotedProgramEnd(text);
    return {text.substr(0, end), text.substr(end)};
}

// The number of a name made of `prefix` and decimal digits (none for the
// prefix alone: 0); none for other names.
std::optional<int> NumberAfter(const std::string& name, const std::string& prefix, bool bareAllowed) {
    if (name.size() < prefix.size() || !SameText(name.substr(0, prefix.size()), prefix))
        return std::nullopt;
    const std::string digits = name.substr(prefix.size());
    if (digits.empty())
        return bareAllowed ? std::optional<int>(0) : std::nullopt;
    if (digits.size() > 6 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(digits);
}

// The names of the form prefix + number, ordered by their numbers.
std::vector<std::string> NumberedNames(const std::vector<std::string>& names, const std::string& prefix,
                                       bool bareAllowed) {
    std::multimap<int, std::string> ordered;
    for (const std::string& name : names)
        if (std::optional<int> n = NumberAfter(name, prefix, bareAllowed))
            ordered.emplace(*n, name);
    std::vector<std::string> result;
    for (const auto& [n, name] : ordered)
        result.push_back(name);
    return result;
}

// A full path of a file: drive or UNC share, no relative parts, no
// characters a file name cannot hold, no folder.
bool IsFullFilePath(const std::string& path) {
    const char letter = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);
    const bool drive = path.size() > 3 && letter >= 'a' && letter <= 'z' && path[1] == ':' && path[2] == '\\';
    const bool unc = path.size() > 4 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
    if ((!drive && !unc) || path.back() == '\\' || path.find(':', 2) != std::string::npos)
        return false;
    if (std::any_of(path.begin(), path.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 32 || std::strchr("*?\"<>|/", c); }))
        return false;
    size_t start = drive ? 3 : 2;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('\\', start), path.size());
        const std::string part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = end + 1;
    }
    return true;
}

bool IsShortcutFile(const std::string& path) {
    const std::string upper = UpperCase(path);
    for (const char* ext : {".LNK", ".URL", ".PIF"})
        if (upper.size() > 4 && upper.compare(upper.size() - 4, 4, ext) == 0)
            return true;
    return false;
}

bool IsDecimal(const std::string& text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number of names in a key or folder path.
int KeyDepth(const std::string& key) {
    int depth = 0;
    for (size_t i = 0; i < key.size(); ++i)
        if (key[i] != '\\' && (i == 0 || key[i - 1] == '\\'))
            ++depth;
    return depth;
}

std::string ParentKey(const std::string& key) {
    const size_t slash = key.find_last_of('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

} // namespace

TUninstallCommand ParseUninstallCommand(const std::string& commandLine, const std::string& modulePath) {
    std::string rest;
    const std::string text = TrimLeft(commandLine);
    // The unquoted path of this very program may hold blanks and no ".exe".
    if (!modulePath.empty() && text.size() >= modulePath.size() &&
        SameText(text.substr(0, modulePath.size()), modulePath) &&
        (text.size() == modulePath.size() || text[modulePath.size()] == ' '))
        rest = text.substr(modulePath.size());
    else
        rest = SplitProgram(text).second;
    rest = TrimLeft(rest);
    TUninstallCommand command;
    if (rest.size() >= 2 && (rest[0] == '/' || rest[0] == '-') && (rest[1] == 's' || rest[1] == 'S') &&
        (rest.size() == 2 || rest[2] == ' ')) {
        command.Silent = true;
        rest = TrimLeft(rest.substr(2));
    }
    command.ProductName = Trim(rest);
    // A name given quoted, as a shell passes one with blanks.
    const std::string& name = command.ProductName;
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        command.ProductName = Trim(name.substr(1, name.size() - 2));
    return command;
}

std::string UninstallProgramPath(const std::string& uninstallString) { return SplitProgram(uninstallString).first; }

TUninstaller::TUninstaller(std::string productName, std::string productFolder)
    : product_(std::move(productName)), productFolder_(ExcludeTrailingBackslash(productFolder)),
      key_(kUninstallKeyRoot + product_) {}

TUninstallReport TUninstaller::Run() {
    IRegistry& reg = *GetPlatform().Registry;
    report_ = {};
    // A name with a backslash would reach beyond the product's own key.
    if (Trim(product_).empty() || product_.find('\\') != std::string::npos || !reg.KeyExists(kMachine, key_))
        return report_;
    report_.KeyFound = true;
    for (const FileEntry& file : ReadFileLists())
        RemoveFile(file);
    RemoveRegistryKeys();
    RemoveEmptyFolders();
    DeleteRegKeyTree(kMachine, key_);
    if (reg.KeyExists(kMachine, key_))
        report_.NotRemoved.push_back("The uninstall information " + key_ + ": could not be deleted");
    return report_;
}

std::vector<TUninstaller::FileEntry> TUninstaller::ReadFileLists() {
    IRegistry& reg = *GetPlatform().Registry;
    std::vector<FileEntry> files;
    const std::vector<std::string> subkeys = reg.SubKeyNames(kMachine, key_);
    // Servers are unregistered before any file goes.
    for (const std::string& name : subkeys)
        if (SameText(name, "ActiveX"))
            ReadFileList(key_ + "\\" + name, true, files);
    for (const std::string& name : NumberedNames(subkeys, "Files", true))
        ReadFileList(key_ + "\\" + name, false, files);
    return files;
}

void TUninstaller::ReadFileList(const std::string& key, bool activeX, std::vector<FileEntry>& files) {
    IRegistry& reg = *GetPlatform().Registry;
    const std::vector<std::string> names = NumberedNames(reg.ValueNames(kMachine, key), "File", false);
    const std::optional<std::string> entries = reg.FindString(kMachine, key, "Entries");
    const std::string last = names.empty() ? "0" : names.back().substr(4);
    if (!entries || !IsDecimal(Trim(*entries)) || std::stoi(Trim(*entries)) != std::stoi(last))
        report_.Malformed.push_back(key + ": \"Entries\" is " + (entries ? "\"" + *entries + "\"" : "missing") +
                                    ", the last entry is File" + last);
    for (const std::string& name : names) {
        const std::optional<std::string> value = reg.FindString(kMachine, key, name);
        if (!value) {
            report_.Malformed.push_back(key + "\\" + name + ": not a text");
            continue;
        }
        FileEntry file{*value, activeX, false};
        if (activeX) {
            const size_t semicolon = value->find_last_of(';');
            const std::string flag = semicolon == std::string::npos ? std::string() : value->substr(semicolon + 1);
            if (flag != "0" && flag != "1") {
                report_.Malformed.push_back(key + "\\" + name + ": \"" + *value + "\" does not end in ;0 or ;1");
                continue;
            }
            file.Path = value->substr(0, semicolon);
            file.Program = flag == "1";
        }
        files.push_back(file);
    }
}

void TUninstaller::RemoveFile(const FileEntry& file) {
    Platform& platform = GetPlatform();
    IRegistry& reg = *platform.Registry;
    if (!IsFullFilePath(file.Path) || platform.Files->DirectoryExists(file.Path)) {
        report_.Malformed.push_back("\"" + file.Path + "\": not the full path of a file; nothing removed");
        return;
    }
    // The running uninstaller goes after it has ended.
    if (SameText(file.Path, platform.System->ModulePath()))
        return;
    // A shared library's count: under the long name, or the short one.
    std::string counter = file.Path;
    std::optional<int32_t> count = reg.FindInteger(kMachine, kSharedDllsKey, counter);
    if (!count) {
        if (std::optional<std::string> shortName = platform.Files->ShortPathName(file.Path)) {
            counter = *shortName;
            count = reg.FindInteger(kMachine, kSharedDllsKey, counter);
        }
    }
    if (count && *count > 1) {
        // Other products still use it: one use less, and it stays.
        try {
            reg.WriteInteger(kMachine, kSharedDllsKey, counter, *count - 1);
        } catch (const ERegistryError&) {
            report_.NotRemoved.push_back(file.Path + ": its shared use count could not be lowered");
        }
        return;
    }
    if (!count && !InProductFolder(file.Path) && !IsShortcutFile(file.Path)) {
        report_.NotRemoved.push_back(file.Path + ": outside the product's folder " + productFolder_ +
                                     "; left in place");
        return;
    }
    if (platform.Files->FileExists(file.Path)) {
        if (file.ActiveX && !Unregister(file)) {
            report_.NotRemoved.push_back(file.Path + ": could not be unregistered; left in place");
            return;
        }
        DeleteFileNow(file.Path);
    }
    if (count)
        reg.DeleteValue(kMachine, kSharedDllsKey, counter);
}

bool TUninstaller::Unregister(const FileEntry& file) {
    Platform& platform = GetPlatform();
    if (file.Program) {
        std::optional<uint32_t> code =
            platform.Processes->RunAndWait("\"" + file.Path + "\" /UNREGSERVER", WindowState::Hidden, kServerTimeout);
        return code && *code == 0;
    }
    // A server finds the libraries beside it.
    const std::string previous = platform.System->CurrentDirectory();
    platform.System->SetCurrentDirectory(ExtractFileDir(file.Path));
    const LibraryCallResult result = platform.Processes->CallLibraryFunction(file.Path, "DllUnregisterServer");
    platform.System->SetCurrentDirectory(previous);
    return result.Result == LibraryCallResult::Outcome::Called && result.Returned >= 0;
}

void TUninstaller::DeleteFileNow(const std::string& path) {
    IFileSystem& files = *GetPlatform().Files;
    bool deleted = files.DeleteFile(path);
    if (!deleted) {
        const std::optional<uint32_t> attributes = files.GetAttributes(path);
        if (attributes && (*attributes & attr::ReadOnly) && files.SetAttributes(path, *attributes & ~attr::ReadOnly))
            deleted = files.DeleteFile(path);
    }
    if (deleted) {
        emptiedCandidates_.push_back(ExtractFileDir(path));
    } else if (files.MoveFileAtReboot(path, "")) {
        report_.AtRestart.push_back(path);
    } else {
        report_.NotRemoved.push_back(path + ": in use or access denied");
    }
}

void TUninstaller::RemoveRegistryKeys() {
    IRegistry& reg = *GetPlatform().Registry;
    const std::string list = key_ + "\\RegistryKeys";
    const std::vector<std::string> names = NumberedNames(reg.SubKeyNames(kMachine, list), "RegistryKey", false);
    for (const std::string& name : names)
        RemoveRegistryKey(list + "\\" + name);
}

void TUninstaller::RemoveRegistryKey(const std::string& listKey) {
    IRegistry& reg = *GetPlatform().Registry;
    const std::optional<std::string> key = reg.FindString(kMachine, listKey, "Key");
    const std::optional<int32_t> rootNumber = reg.FindInteger(kMachine, listKey, "Root");
    if (!key || KeyDepth(*key) == 0 || !rootNumber || *rootNumber < 0 ||
        *rootNumber > static_cast<int32_t>(TRootKeys::hkUsers)) {
        report_.Malformed.push_back(listKey + ": no valid \"Key\" and \"Root\"; nothing removed");
        return;
    }
    const RegistryRoot root = RegistryRootOf(static_cast<TRootKeys>(*rootNumber));
    for (const std::string& value : reg.ValueNames(kMachine, listKey + "\\Entries"))
        reg.DeleteValue(root, *key, value);
    // The key goes when nothing else is in it, and so do its empty parents;
    // the first level below the root always stays.
    std::string current = *key;
    while (KeyDepth(current) >= 2 && reg.KeyExists(root, current) && !reg.HasSubKeys(root, current) &&
           reg.ValueNames(root, current).empty()) {
        if (!reg.DeleteKey(root, current))
            break;
        current = ParentKey(current);
    }
}

bool TUninstaller::InProductFolder(const std::string& path) const {
    const std::string folder = IncludeTrailingBackslash(productFolder_);
    return !productFolder_.empty() && path.size() > folder.size() && SameText(path.substr(0, folder.size()), folder);
}

bool TUninstaller::IsProtectedFolder(const std::string& folder) {
    Platform& platform = GetPlatform();
    if (folder.size() <= 3 || KeyDepth(folder) <= 1)
        return true;
    std::vector<std::string> system = {platform.System->WindowsDirectory(), platform.System->SystemDirectory(),
                                       platform.Files->TempDirectory()};
    IRegistry& reg = *platform.Registry;
    const std::string shellFolders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    for (RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine})
        for (const std::string& name : reg.ValueNames(root, shellFolders))
            system.push_back(reg.ReadString(root, shellFolders, name, ""));
    for (const char* name : {"ProgramFilesDir", "CommonFilesDir"})
        system.push_back(reg.ReadString(kMachine, "\\Software\\Microsoft\\Windows\\CurrentVersion", name, ""));
    return std::any_of(system.begin(), system.end(), [&](const std::string& path) {
        return SameText(ExcludeTrailingBackslash(path), ExcludeTrailingBackslash(folder));
    });
}

void TUninstaller::RemoveEmptyFolders() {
    IFileSystem& files = *GetPlatform().Files;
    for (const std::string& candidate : emptiedCandidates_) {
        std::string folder = candidate;
        // Inside the product's folder every emptied level goes, up to the
        // product's folder itself; elsewhere only the file's own folder.
        const bool inside = InProductFolder(folder + "\\x");
        while (!IsProtectedFolder(folder) && files.DirectoryExists(folder) &&
               files.ListDirectory(folder, "*.*").empty() && files.RemoveDirectory(folder)) {
            if (!inside || SameText(folder, productFolder_))
                break;
            folder = ExtractFileDir(folder);
        }
    }
}

} // namespace sw
