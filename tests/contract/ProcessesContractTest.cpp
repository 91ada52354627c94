#include "ContractBackends.h"

using namespace sw;

namespace {

template <typename Backend> class ProcessesContract : public ::testing::Test {
  protected:
    Backend backend;
};

TYPED_TEST_SUITE(ProcessesContract, contract::Backends, contract::BackendNames);

TYPED_TEST(ProcessesContract, StartingAMissingProgramFailsWithACodeBelow32) {
    auto result = this->backend.Processes().Start("\"" + this->backend.Scratch() + "\\nothere.exe\" /REGSERVER",
                                                  WindowState::Hidden);
    EXPECT_FALSE(result.Started);
    EXPECT_LT(result.Code, 32u);
    EXPECT_NE(result.LastError, 0u);
}

TYPED_TEST(ProcessesContract, StartingAnExistingProgramSucceeds) {
    std::string self = this->backend.System().ModulePath();
    auto result =
        this->backend.Processes().Start("\"" + self + "\" --gtest_list_tests --gtest_filter=-*", WindowState::Hidden);
    EXPECT_TRUE(result.Started);
    EXPECT_GE(result.Code, 32u);
}

TYPED_TEST(ProcessesContract, RegisteringAServerFromAMissingFileFailsToLoad) {
    auto result = this->backend.Processes().RegisterServerLibrary(this->backend.Scratch() + "\\nothere.dll");
    EXPECT_EQ(result.Result, ServerRegistration::Outcome::LoadFailed);
    EXPECT_NE(result.LastError, 0u);
}

TYPED_TEST(ProcessesContract, RegisteringAServerFromAFileThatIsNoLibraryFailsToLoad) {
    const std::string path = this->backend.Scratch() + "\\text.dll";
    this->backend.Files().OpenFile(path, FileMode::Create)->Write("not a program", 13);
    auto result = this->backend.Processes().RegisterServerLibrary(path);
    EXPECT_EQ(result.Result, ServerRegistration::Outcome::LoadFailed);
    EXPECT_NE(result.LastError, 0u);
}

TYPED_TEST(ProcessesContract, ALibraryWithoutDllRegisterServerHasNoEntryPoint) {
    std::string path = this->backend.System().SystemDirectory() + "\\kernel32.dll";
    if constexpr (!TypeParam::Real) {
        path = this->backend.Scratch() + "\\plain.dll";
        this->backend.Files().OpenFile(path, FileMode::Create)->Write("MZ", 2);
        this->backend.platform.Processes().SetLibrary(path, std::nullopt);
    }
    auto result = this->backend.Processes().RegisterServerLibrary(path);
    EXPECT_EQ(result.Result, ServerRegistration::Outcome::NoEntryPoint);
    EXPECT_NE(result.LastError, 0u);
}

} // namespace
