// The one owner of the program-wide objects: parts made on request, torn down
// in the reverse order, one owner at a time.
#include "project/Errors.h"
#include "project/ProgramState.h"
#include "support/ProgramStateForTests.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sw {
namespace {

std::vector<std::string> log;

template <char Name> struct TLoggedPart {
    int Value = 0;
    ~TLoggedPart() { log.push_back(std::string(1, Name)); }
};

// Asks for part A while it is torn down, as a form freed by the application
// asks the application about itself.
struct TAsksWhileDying {
    ~TAsksWhileDying() {
        ProgramPart<TLoggedPart<'a'>>().Value = 1;
        log.push_back("asker");
    }
};

TEST(ProgramStateTest, PartsAreMadeOnceAndEndInTheReverseOrder) {
    log.clear();
    ProgramPart<TLoggedPart<'a'>>().Value = 7;
    ProgramPart<TLoggedPart<'b'>>();
    ProgramPart<TLoggedPart<'c'>>();
    EXPECT_EQ(ProgramPart<TLoggedPart<'a'>>().Value, 7) << "a second request finds the same part";
    EXPECT_EQ(CurrentProgramState().PartCount(), 3);
    test::RenewProgramState();
    EXPECT_EQ(log, (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(ProgramPart<TLoggedPart<'a'>>().Value, 0) << "a fresh state has fresh parts";
}

TEST(ProgramStateTest, APartAskedForWhileTornDownIsRemadeAndEnded) {
    log.clear();
    ProgramPart<TLoggedPart<'a'>>();
    ProgramPart<TAsksWhileDying>();
    test::RenewProgramState();
    EXPECT_EQ(log, (std::vector<std::string>{"asker", "a"}));
    log.clear();
    ProgramPart<TAsksWhileDying>();
    ProgramPart<TLoggedPart<'a'>>();
    test::RenewProgramState();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "asker", "a"})) << "the part asked for after its end is ended too";
}

TEST(ProgramStateTest, OneOwnerAtATime) {
    try {
        TProgramState second;
        FAIL() << "a second program state was made";
    } catch (const EProgramState& e) {
        EXPECT_STREQ(e.what(), "A program state exists already");
    }
    EXPECT_TRUE(HasProgramState()) << "the failed second owner leaves the first in place";
}

} // namespace
} // namespace sw
