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

TYPED_TEST(ProcessesContract, CallingIntoAFileThatIsNoLibraryFailsToLoad) {
    const std::string path = this->backend.Scratch() + "\\text.dll";
    this->backend.Files().OpenFile(path, FileMode::Create)->Write("not a program", 13);
    auto result = this->backend.Processes().CallLibraryFunction(path, "DllRegisterServer");
    EXPECT_EQ(result.Result, LibraryCallResult::Outcome::NotLoaded);
    EXPECT_NE(result.LastError, 0u);
}

} // namespace

namespace {

TYPED_TEST(ProcessesContract, RunAndWaitGivesTheExitCodeOrNoneForAMissingProgram) {
    std::string self = this->backend.System().ModulePath();
    auto code = this->backend.Processes().RunAndWait("\"" + self + "\" --gtest_list_tests --gtest_filter=-*",
                                                     WindowState::Hidden, 60000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(this->backend.Processes()
                     .RunAndWait("\"" + this->backend.Scratch() + "\\nothere.exe\" /UNREGSERVER", WindowState::Hidden,
                                 60000)
                     .has_value());
}

TYPED_TEST(ProcessesContract, ALibraryFunctionIsCalledOnlyWhenLibraryAndExportExist) {
    // GetTickCount has the shape of a server function: no arguments, a 32-bit result.
    if constexpr (!TypeParam::Real)
        this->backend.platform.Processes().AddLibraryFunction("kernel32.dll", "GetTickCount", 7);
    IProcesses& processes = this->backend.Processes();
    auto called = processes.CallLibraryFunction("kernel32.dll", "GetTickCount");
    EXPECT_EQ(called.Result, LibraryCallResult::Outcome::Called);
    EXPECT_NE(called.Returned, 0);

    auto noExport = processes.CallLibraryFunction("kernel32.dll", "DllUnregisterServer");
    EXPECT_EQ(noExport.Result, LibraryCallResult::Outcome::NoExport);
    EXPECT_NE(noExport.LastError, 0u);

    auto missing = processes.CallLibraryFunction(this->backend.Scratch() + "\\nothere.dll", "DllUnregisterServer");
    EXPECT_EQ(missing.Result, LibraryCallResult::Outcome::NotLoaded);
    EXPECT_NE(missing.LastError, 0u);
}

} // namespace
