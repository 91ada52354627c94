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

} // namespace
