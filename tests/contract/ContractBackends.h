// The backends every contract suite runs against: the fake everywhere, and in
// the Windows build also the real Win32 services. Each backend gives a fresh
// scratch folder and a registry test key, both removed again afterwards.
#pragma once

#include "platform/FileSystem.h"
#include "platform/FolderBrowser.h"
#include "platform/Registry.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32CodePages.h"
#include "platform/win32/Win32Dde.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FolderBrowser.h"
#include "platform/win32/Win32Gui.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Resources.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32SystemInfo.h"
#else
#include "platform/posix/PosixFileSystem.h"

#include <cstdlib>
#include <filesystem>
#endif

namespace contract {

inline const std::string kTestKey = "\\Software\\SetwrightContract";

// Removes a folder and everything below it through the interface.
inline void RemoveTree(sw::IFileSystem& files, const std::string& folder) {
    for (const auto& entry : files.ListDirectory(folder, "*.*")) {
        std::string path = folder + "\\" + entry.Name;
        if (entry.Attributes & sw::attr::Directory) {
            RemoveTree(files, path);
        } else {
            files.SetAttributes(path, 0);
            files.DeleteFile(path);
        }
    }
    files.RemoveDirectory(folder);
}

inline void RemoveKeyTree(sw::IRegistry& registry, sw::RegistryRoot root, const std::string& key) {
    for (const auto& name : registry.SubKeyNames(root, key))
        RemoveKeyTree(registry, root, key + "\\" + name);
    registry.DeleteKey(root, key);
}

struct FakeBackend {
    static constexpr bool Real = false;

    FakeBackend() { platform.Files().ForceDirectories(scratch); }

    sw::IRegistry& Registry() { return platform.Registry(); }
    sw::IFileSystem& Files() { return platform.Files(); }
    sw::ISystemInfo& System() { return platform.System(); }
    sw::IProcesses& Processes() { return platform.Processes(); }
    sw::IGui& Gui() { return platform.Gui(); }
    sw::ICodePages& CodePages() { return platform.CodePages(); }
    sw::IDde& Dde() { return platform.Dde(); }
    sw::IShellLinks& ShellLinks() { return platform.ShellLinks(); }
    sw::IFolderBrowser& FolderBrowser() { return platform.FolderBrowser(); }
    const std::string& Scratch() const { return scratch; }
    // The folder paths without a drive are relative to.
    std::string CurrentDirectory() { return platform.System().CurrentDirectory(); }
    bool SetCurrentDirectory(const std::string& path) { return platform.System().SetCurrentDirectory(path); }

    sw::fake::FakePlatform platform;
    std::string scratch = "C:\\Scratch";
};

#ifdef _WIN32
struct Win32Backend {
    static constexpr bool Real = true;

    Win32Backend() {
        static int counter = 0;
        scratch = platform.Files().TempDirectory() + "\\swcontract" + std::to_string(GetCurrentProcessId()) + "_" +
                  std::to_string(++counter);
        RemoveTree(platform.Files(), scratch);
        platform.Files().CreateDirectory(scratch);
        RemoveKeyTree(platform.Registry(), sw::RegistryRoot::CurrentUser, kTestKey);
    }
    ~Win32Backend() {
        RemoveTree(platform.Files(), scratch);
        RemoveKeyTree(platform.Registry(), sw::RegistryRoot::CurrentUser, kTestKey);
    }

    sw::IRegistry& Registry() { return platform.Registry(); }
    sw::IFileSystem& Files() { return platform.Files(); }
    sw::ISystemInfo& System() { return platform.System(); }
    sw::IProcesses& Processes() { return platform.Processes(); }
    sw::IGui& Gui() { return platform.Gui(); }
    sw::ICodePages& CodePages() { return platform.CodePages(); }
    sw::IDde& Dde() { return platform.Dde(); }
    sw::IShellLinks& ShellLinks() { return platform.ShellLinks(); }
    sw::IFolderBrowser& FolderBrowser() { return platform.FolderBrowser(); }
    const std::string& Scratch() const { return scratch; }
    std::string CurrentDirectory() { return platform.System().CurrentDirectory(); }
    bool SetCurrentDirectory(const std::string& path) { return platform.System().SetCurrentDirectory(path); }

    sw::win32::Win32Platform platform;
    std::string scratch;
};

using Backends = ::testing::Types<FakeBackend, Win32Backend>;
using FileBackends = Backends;
#else
// Real Linux files under a fresh folder mapped as drive C:; the other
// services are the fake's.
struct PosixBackend {
    static constexpr bool Real = true;

    PosixBackend() {
        char pattern[] = "/tmp/swcontract.XXXXXX";
        root = ::mkdtemp(pattern);
        files.MapDrive('C', root);
        files.CreateDirectory(scratch);
        files.CreateDirectory("C:\\TEMP");
        files.SetTempDirectory("C:\\TEMP");
        files.SetCurrentDirectory(current);
    }
    ~PosixBackend() { std::filesystem::remove_all(root); }

    sw::IRegistry& Registry() { return platform.Registry(); }
    sw::IFileSystem& Files() { return files; }
    sw::ISystemInfo& System() { return platform.System(); }
    sw::IProcesses& Processes() { return platform.Processes(); }
    sw::IGui& Gui() { return platform.Gui(); }
    const std::string& Scratch() const { return scratch; }
    std::string CurrentDirectory() { return current; }
    bool SetCurrentDirectory(const std::string& path) {
        if (!files.DirectoryExists(path))
            return false;
        files.SetCurrentDirectory(current = path);
        return true;
    }

    sw::fake::FakePlatform platform;
    sw::posix::PosixFileSystem files;
    std::string current = "C:\\";
    std::string root;
    std::string scratch = "C:\\Scratch";
};

using Backends = ::testing::Types<FakeBackend>;
// The files interface also has the POSIX backend of the native tools.
using FileBackends = ::testing::Types<FakeBackend, PosixBackend>;
#endif

struct BackendNames {
    template <typename T> static std::string GetName(int) {
#ifdef _WIN32
        return T::Real ? "Win32" : "Fake";
#else
        return T::Real ? "Posix" : "Fake";
#endif
    }
};

} // namespace contract
