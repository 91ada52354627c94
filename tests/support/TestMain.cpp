// The main of every GoogleTest program: each test gets a fresh program state.
#include "support/ProgramStateForTests.h"

#include "project/ProgramState.h"

#include <gtest/gtest.h>

#include <memory>

namespace sw::test {

namespace {

std::unique_ptr<TProgramState> state;

class FreshProgramState : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { state = std::make_unique<TProgramState>(); }
    void OnTestEnd(const ::testing::TestInfo&) override { state.reset(); }
};

} // namespace

void RenewProgramState() {
    state.reset();
    state = std::make_unique<TProgramState>();
}

} // namespace sw::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new sw::test::FreshProgramState);
    return RUN_ALL_TESTS();
}
