#include "ContractBackends.h"

#include "platform/Dde.h"

using namespace sw;

namespace {

template <typename Backend> class DdeContract : public ::testing::Test {
  protected:
    std::unique_ptr<IDdeConversation> Progman() {
        auto conversation = backend.Dde().Connect("PROGMAN", "PROGMAN");
        EXPECT_NE(conversation, nullptr) << "Program Manager did not answer";
        return conversation;
    }
    static bool HasLine(const std::string& text, const std::string& line) {
        return ("\r\n" + text).find("\r\n" + line + "\r\n") != std::string::npos ||
               ("\n" + text).find("\n" + line + "\n") != std::string::npos;
    }

    Backend backend;
};

TYPED_TEST_SUITE(DdeContract, contract::Backends, contract::BackendNames);

TYPED_TEST(DdeContract, NoServerAnswersAnUnknownService) {
    EXPECT_EQ(this->backend.Dde().Connect("SWNOSUCHSERVICE", "SWNOSUCHTOPIC"), nullptr);
}

TYPED_TEST(DdeContract, CreatedGroupsAreListedUnderGroups) {
    auto progman = this->Progman();
    ASSERT_NE(progman, nullptr);
    EXPECT_TRUE(progman->Execute("[CreateGroup(\"Sw Contract\")]"));
    EXPECT_TRUE(progman->Execute("[CreateGroup(\"Sw Contract\")]")) << "an existing group is opened";
    std::optional<std::string> groups = progman->Request("Groups");
    ASSERT_TRUE(groups.has_value());
    EXPECT_TRUE(this->HasLine(*groups, "Sw Contract")) << *groups;
}

TYPED_TEST(DdeContract, UnknownCommandsAreRefused) {
    auto progman = this->Progman();
    ASSERT_NE(progman, nullptr);
    EXPECT_FALSE(progman->Execute("[SwNoSuchCommand(1)]"));
}

TYPED_TEST(DdeContract, ItemsAreAddedToTheShownGroup) {
    auto progman = this->Progman();
    ASSERT_NE(progman, nullptr);
    ASSERT_TRUE(progman->Execute("[CreateGroup(\"Sw Items\")]"));
    ASSERT_TRUE(progman->Execute("[ShowGroup(Sw Items,8)]"));
    // Program Manager looks the program up: it must exist. Wine's takes no
    // arguments after a quoted program.
    const std::string target = this->backend.Scratch() + "\\tool.exe";
    this->backend.Files().OpenFile(target, FileMode::Create)->Write("MZ", 2);
    EXPECT_TRUE(progman->Execute("[AddItem(\"" + target + "\",Sw Tool,,0,,,\"" + this->backend.Scratch() + "\",)]"));
}

} // namespace
