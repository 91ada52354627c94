// The real Windows registry and files under Wine, with a scripted GUI (no
// window ever blocks) and the program arguments set by the test.
#pragma once

#include "engine/Install.h"
#include "platform/Registry.h"
#include "platform/fake/FakeGui.h"
#include "platform/fake/FakeResources.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SystemInfo.h"
#include "support/LoadedRoots.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sw::test {

inline constexpr RegistryRoot kHklm = RegistryRoot::LocalMachine;

// The real system facts, except the arguments, which the test gives, and
// the program's path, which a test may move to a copy of the program.
class ScriptedArguments : public win32::Win32SystemInfo {
  public:
    std::vector<std::string> Arguments() override { return arguments_; }
    void Set(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }
    std::string ModulePath() override { return module_.empty() ? Win32SystemInfo::ModulePath() : module_; }
    void SetModulePath(std::string path) { module_ = std::move(path); }

  private:
    std::vector<std::string> arguments_;
    std::string module_;
};

class EngineWineTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Reads a text form into a new root that the fixture frees.
    TComponent* Load(std::string_view text);
    TInstall* LoadDriver(std::vector<std::string> arguments);
    void FreeRoots();
    // Removes a folder with everything in it.
    static void RemoveTree(const std::string& folder);
    // A file's bytes, "<missing>" when it cannot be opened.
    static std::string Text(const std::string& path);

    win32::Win32Platform real_;
    ScriptedArguments system_;
    fake::FakeGui gui_;
    fake::FakeResources resources_;
    std::unique_ptr<ScopedPlatform> platform_;
    TLoadedRoots roots_;
};

inline constexpr std::string_view kWineForm = R"(object Form1: TForm
  Width = 400
  Height = 300
  object Install1: TInstall
    RunAutomatic = False
  end
end
)";

} // namespace sw::test
